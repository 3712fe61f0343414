// A picture plug-in for the loader's tests. What it does depends on the
// data it is shown: "ZTST" at offset 0, then a command byte at offset 4.
//   'S' a picture: width at 5, height at 6, rows of blue, green, red from 8
//   'W' the same, recognised only after a second look at offset 16 ("WIND")
//   'L' keeps asking for a window and never answers
//   'H' asks for a window far larger than any data
//   'X' throws from the stream test
//   'G' delivers a handle the host never gave out
//   'N' delivers nothing
//   'B' asks for a bitmap too large to allocate
//   'T' throws from DrawBitmap
// It accepts the names *.zts and *.zt2, throws for names containing
// "throw", and answers 0x100 (low byte 0: no) for everything else.
#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <string>
#include <vector>

#include "zel_picture_plugin.h"

namespace {
int Prepared = 0;
int LoadTestCalls = 0;
std::string LastName;
int Garbage = 42;
std::atomic<int> InCall{0}, MaxInCall{0};

// Counts how many calls run at once; the host promises one at a time.
struct TCallScope {
  TCallScope() {
    const int now = ++InCall;
    int seen = MaxInCall.load();
    while (now > seen && !MaxInCall.compare_exchange_weak(seen, now)) {
    }
  }
  ~TCallScope() { --InCall; }
};

bool EndsWith(const std::string& s, const char* suffix) {
  const size_t n = std::strlen(suffix);
  return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}
}  // namespace

extern "C" {

ZEL_PICTURE_PLUGIN_EXPORT void PreparePlugin(void) { ++Prepared; }
ZEL_PICTURE_PLUGIN_EXPORT void UnPreparePlugin(void) { --Prepared; }

ZEL_PICTURE_PLUGIN_EXPORT const char* GetFileExtentions(void) {
  return "\"zts:Scripted test picture\",zt2:Second png";
}

ZEL_PICTURE_PLUGIN_EXPORT ZelBool32 FileNameNotify(const char* file_name) {
  LastName = file_name ? file_name : "";
  if (LastName.find("throw") != std::string::npos) throw std::runtime_error("name refused");
  if (EndsWith(LastName, ".zts") || EndsWith(LastName, ".zt2")) return 1;
  return 0x100;
}

ZEL_PICTURE_PLUGIN_EXPORT ZelBool32 LoadTestEx(const uint8_t* buffer, int32_t* offset, int32_t* size,
                                               uint8_t* continue_test) {
  TCallScope scope;
  ++LoadTestCalls;
  if (*offset == 0 && *size >= 8 && std::memcmp(buffer, "ZTST", 4) == 0) {
    switch (buffer[4]) {
      case 'W':
        *offset = 16;
        *size = 4;
        return 0;
      case 'L':
        *offset = 8;
        *size = 4;
        return 0;
      case 'H':
        *offset = 0;
        *size = 0x7FFFFFFF;
        return 0;
      case 'X':
        throw std::runtime_error("test refused");
      default:
        *continue_test = 0;
        return 1;
    }
  }
  if (*offset == 16 && *size == 4 && std::memcmp(buffer, "WIND", 4) == 0) return 1;
  if (*offset == 8) return 0;  // 'L': ask again, forever
  *continue_test = 0;
  return 0;
}

ZEL_PICTURE_PLUGIN_EXPORT void DrawBitmap(ZelBitmap** bitmap, ZelHostStream* stream) {
  TCallScope scope;
  std::this_thread::sleep_for(std::chrono::microseconds(200));
  const int64_t n = stream->size(stream);
  std::vector<uint8_t> data(size_t(n > 0 ? n : 0));
  if (stream->read(stream, data.data(), n) != n || n < 8) return;
  switch (data[4]) {
    case 'G':
      *bitmap = reinterpret_cast<ZelBitmap*>(&Garbage);
      return;
    case 'N':
      return;
    case 'B': {
      ZelBitmapRows rows;
      *bitmap = stream->new_bitmap(stream, 100000, 100000, &rows);
      return;
    }
    case 'T':
      throw std::runtime_error("cannot decode");
    default:
      break;
  }
  const int w = data[5], h = data[6];
  ZelBitmapRows rows;
  ZelBitmap* b = stream->new_bitmap(stream, w, h, &rows);
  if (!b) return;
  const size_t start = data[4] == 'W' ? 20 : 8;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w * 3; ++x) {
      const size_t k = start + size_t(y) * size_t(w) * 3 + size_t(x);
      rows.bits[y * rows.bytes_per_line + x] = k < data.size() ? data[k] : 0;
    }
  *bitmap = b;
}

// For the tests: what the plug-in has seen.
ZEL_PICTURE_PLUGIN_EXPORT int ZelTestPrepared(void) { return Prepared; }
ZEL_PICTURE_PLUGIN_EXPORT int ZelTestLoadTestCalls(void) { return LoadTestCalls; }
ZEL_PICTURE_PLUGIN_EXPORT const char* ZelTestLastName(void) { return LastName.c_str(); }
ZEL_PICTURE_PLUGIN_EXPORT int ZelTestMaxConcurrentCalls(void) { return MaxInCall.load(); }
}
