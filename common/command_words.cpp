#include "command_words.h"

const char* CommandName(uint32_t c) {
  switch (c) {
    case MBCMD_INITIALIZE: return "MBCMD_INITIALIZE";
    case MBCMD_OPEN: return "MBCMD_OPEN";
    case MBCMD_UPDATE: return "MBCMD_UPDATE";
    case MBCMD_CLOSE: return "MBCMD_CLOSE";
    case MBCMD_UP: return "MBCMD_UP";
    case MBCMD_DOWN: return "MBCMD_DOWN";
    case MBCMD_UP_LARGE: return "MBCMD_UP_LARGE";
    case MBCMD_DOWN_LARGE: return "MBCMD_DOWN_LARGE";
    case MBCMD_FIRST: return "MBCMD_FIRST";
    case MBCMD_PREVIOUS: return "MBCMD_PREVIOUS";
    case MBCMD_STOP: return "MBCMD_STOP";
    case MBCMD_SLOW: return "MBCMD_SLOW";
    case MBCMD_PLAY: return "MBCMD_PLAY";
    case MBCMD_FAST: return "MBCMD_FAST";
    case MBCMD_FORWARD: return "MBCMD_FORWARD";
    case MBCMD_LAST: return "MBCMD_LAST";
    case MBCMD_DETAILS: return "MBCMD_DETAILS";
    case MBCMD_OPTION: return "MBCMD_OPTION";
    case MBCMD_DEVICE: return "MBCMD_DEVICE";
    case MBCMD_EXECUTE: return "MBCMD_EXECUTE";
    case MBCMD_RETRY: return "MBCMD_RETRY";
    case MBCMD_TERMINATE: return "MBCMD_TERMINATE";
    case MBCMD_NOTICE: return "MBCMD_NOTICE";
    case MBCMD_SELECT: return "MBCMD_SELECT";
    case MBCMD_UNSELECT: return "MBCMD_UNSELECT";
    case MBCMD_SELALL: return "MBCMD_SELALL";
    case MBCMD_UNSELALL: return "MBCMD_UNSELALL";
    case MBCMD_READ: return "MBCMD_READ";
    case MBCMD_WRITE: return "MBCMD_WRITE";
    case MBCMD_DELETE: return "MBCMD_DELETE";
    case MBCMD_COPY: return "MBCMD_COPY";
    case MBCMD_CUT: return "MBCMD_CUT";
    case MBCMD_PASTE: return "MBCMD_PASTE";
    default: return "";
  }
}

QString CommandText(uint32_t word) {
  const auto all = [word](uint32_t bits) { return (word & bits) == bits; };
  const uint32_t command = word & 0xFFu;
  QString s = QStringLiteral("\t");
  if (word & MBFLG_TEST) s += QLatin1String("MBFLG_TEST ");
  if (word & MBSYS_HOST) {
    s += QLatin1String("MBSYS_HOST\r\n");
    if (all(MBTAR_PROJECT)) {
      s += QLatin1String("\tMBTAR_PROJECT [");
      if (command == MBDAT_SAVE)
        s += QLatin1String("MBDAT_SAVE ");
      else if (command == MBDAT_LOAD)
        s += QLatin1String("MBDAT_LOAD ");
      else
        s += QString::number(command);
      s += QLatin1String(" ]");
    } else {
      s += QLatin1String("ERROR");
    }
    s += QLatin1String("\r\n");
  }
  if (word & MBSYS_COMMON) {
    s += QLatin1String("MBSYS_COMMON\r\n\t");
    if (all(MBTAR_DIRECTORY)) s += QLatin1String("MBTAR_DIRECTORY ");
    if (all(MBTAR_FILE)) s += QLatin1String("MBTAR_FILE ");
    s += u'[';
    const char* name = CommandName(command);
    if (*name)
      s += QLatin1String(name) + u' ';
    else
      s += QString::number(command);
    s += QLatin1String("]\r\n");
  }
  s += QLatin1String(word & MBDAT_TEXT ? "\tMBDAT_TEXT " : "\tMBDAT_BINARY ");
  if (word & MBDAT_ENUM) s += QLatin1String("MBDAT_ENUM ");
  if (word & MBDAT_PARTIAL) s += QLatin1String("MBDAT_PARTIAL ");
  if (word & MBDAT_COMPLETE) s += QLatin1String("MBDAT_COMPLETE ");
  s += QLatin1String("\r\n");
  if ((word & MBSYS_HOST) && (word & MBSYS_COMMON)) s += QLatin1String("ERROR");
  return s;
}
