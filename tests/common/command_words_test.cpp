#include <gtest/gtest.h>

#include "command_words.h"

TEST(CommandText, RendersEveryBlock) {
  struct Case {
    uint32_t word;
    const char* text;
  } cases[] = {
      {0x00000000, "\t\tMBDAT_BINARY \r\n"},
      {0x4080806E, "\tMBSYS_COMMON\r\n\tMBTAR_DIRECTORY [MBCMD_READ ]\r\n\tMBDAT_TEXT \r\n"},
      {0x21800000, "\tMBFLG_TEST \tMBDAT_BINARY \r\n"},
      {0x40400007, "\tMBSYS_COMMON\r\n\tMBTAR_FILE [7]\r\n\tMBDAT_BINARY \r\n"},
      {0x40C0E065, "\tMBSYS_COMMON\r\n\tMBTAR_DIRECTORY MBTAR_FILE [MBCMD_SELECT ]\r\n"
                   "\tMBDAT_TEXT MBDAT_ENUM MBDAT_PARTIAL \r\n"},
      {0x41C0D000, "\tMBFLG_TEST MBSYS_COMMON\r\n\tMBTAR_DIRECTORY MBTAR_FILE [0]\r\n\tMBDAT_TEXT MBDAT_ENUM "
                   "MBDAT_COMPLETE \r\n"},
      {0x80800034, "\tMBSYS_HOST\r\n\tMBTAR_PROJECT [52 ]\r\n\tMBDAT_BINARY \r\n"},
      {0x80800032, "\tMBSYS_HOST\r\n\tMBTAR_PROJECT [MBDAT_SAVE  ]\r\n\tMBDAT_BINARY \r\n"},
      {0xC0408033, "\tMBSYS_HOST\r\nERROR\r\nMBSYS_COMMON\r\n\tMBTAR_FILE [MBCMD_OPEN ]\r\n\tMBDAT_TEXT \r\nERROR"},
      {0x80008033, "\tMBSYS_HOST\r\nERROR\r\n\tMBDAT_TEXT \r\n"},
      {0xC0C08033, "\tMBSYS_HOST\r\n\tMBTAR_PROJECT [MBDAT_LOAD  ]\r\nMBSYS_COMMON\r\n\tMBTAR_DIRECTORY MBTAR_FILE [MBCMD_OPEN ]\r\n"
                   "\tMBDAT_TEXT \r\nERROR"},
      {0x20808034, "\t\tMBDAT_TEXT \r\n"},
      {0x40C00068, "\tMBSYS_COMMON\r\n\tMBTAR_DIRECTORY MBTAR_FILE [MBCMD_UNSELALL ]\r\n\tMBDAT_BINARY \r\n"},
      {0x4000000A, "\tMBSYS_COMMON\r\n\t[10]\r\n\tMBDAT_BINARY \r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CommandText(c.word), QString::fromLatin1(c.text)) << std::hex << c.word;
}
