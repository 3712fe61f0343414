#pragma once

#include <cstdint>

#include <QString>

// Command words: 32-bit values objects (and add-on modules) pass along their
// relations. Bytes, most significant first: system (with the test flag),
// target, data form, command.

constexpr uint32_t MBSYS_HOST = 0x80000000u;
constexpr uint32_t MBSYS_COMMON = 0x40000000u;
constexpr uint32_t MBFLG_TEST = 0x01000000u;

constexpr uint32_t MBTAR_PROJECT = 0x80800000u;
constexpr uint32_t MBTAR_DIRECTORY = 0x40800000u;
constexpr uint32_t MBTAR_FILE = 0x40400000u;

constexpr uint32_t MBDAT_TEXT = 0x8000u;
constexpr uint32_t MBDAT_BINARY = 0x0000u;
constexpr uint32_t MBDAT_ENUM = 0x4000u;
constexpr uint32_t MBDAT_PARTIAL = 0x2000u;
constexpr uint32_t MBDAT_COMPLETE = 0x1000u;

// Host-system commands under MBTAR_PROJECT.
constexpr uint32_t MBDAT_SAVE = 0x32u;
constexpr uint32_t MBDAT_LOAD = 0x33u;

constexpr uint32_t MBCMD_INITIALIZE = 0x32u;
constexpr uint32_t MBCMD_OPEN = 0x33u;
constexpr uint32_t MBCMD_UPDATE = 0x34u;
constexpr uint32_t MBCMD_CLOSE = 0x35u;
constexpr uint32_t MBCMD_UP = 0x3Cu;
constexpr uint32_t MBCMD_DOWN = 0x3Du;
constexpr uint32_t MBCMD_UP_LARGE = 0x3Eu;
constexpr uint32_t MBCMD_DOWN_LARGE = 0x3Fu;
constexpr uint32_t MBCMD_FIRST = 0x47u;
constexpr uint32_t MBCMD_PREVIOUS = 0x48u;
constexpr uint32_t MBCMD_STOP = 0x49u;
constexpr uint32_t MBCMD_SLOW = 0x4Au;
constexpr uint32_t MBCMD_PLAY = 0x4Bu;
constexpr uint32_t MBCMD_FAST = 0x4Cu;
constexpr uint32_t MBCMD_FORWARD = 0x4Du;
constexpr uint32_t MBCMD_LAST = 0x4Eu;
constexpr uint32_t MBCMD_DETAILS = 0x51u;
constexpr uint32_t MBCMD_OPTION = 0x52u;
constexpr uint32_t MBCMD_DEVICE = 0x53u;
constexpr uint32_t MBCMD_EXECUTE = 0x5Eu;
constexpr uint32_t MBCMD_RETRY = 0x5Fu;
constexpr uint32_t MBCMD_TERMINATE = 0x60u;
constexpr uint32_t MBCMD_NOTICE = 0x61u;
constexpr uint32_t MBCMD_SELECT = 0x65u;
constexpr uint32_t MBCMD_UNSELECT = 0x66u;
constexpr uint32_t MBCMD_SELALL = 0x67u;
constexpr uint32_t MBCMD_UNSELALL = 0x68u;
constexpr uint32_t MBCMD_READ = 0x6Eu;
constexpr uint32_t MBCMD_WRITE = 0x6Fu;
constexpr uint32_t MBCMD_DELETE = 0x70u;
constexpr uint32_t MBCMD_COPY = 0x71u;
constexpr uint32_t MBCMD_CUT = 0x72u;
constexpr uint32_t MBCMD_PASTE = 0x73u;

// The name of a command byte ("MBCMD_READ"), empty for a value without one.
const char* CommandName(uint32_t commandByte);

// The readable rendering of a word used by the command trace.
QString CommandText(uint32_t word);
