#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>

#include "desktop_entry.h"
#include "environment.h"
#include "errors.h"
#include "user_folders.h"
#include "zel_version.h"

namespace {
const QString kZel = QStringLiteral("::ZEL32");
const QString kShellFolders =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
}  // namespace

QString ExpandZelPrefix(const QString& text) {
  QString s = text;
  const qsizetype at = s.indexOf(kZel);
  if (at >= 0) s.replace(at, kZel.size(), Environment::ProgramFolder());
  return s;
}

QString ShellFolderPath(const QString& text) {
  if (!text.contains(QLatin1String("::R:"))) return {};
  const QString name = StripTrailingBackslash(text).mid(4);
  if (name.isEmpty()) return {};
  return ReadRegistryString(HKEY_CURRENT_USER, QLatin1Char('\\') + kShellFolders, name);
}

QString ExpandVirtualPath(const QString& text) {
  if (!text.contains(QLatin1String("::"))) return text;
  if (text.contains(kZel)) return ExpandZelPrefix(text);
  if (text.contains(QLatin1String("::R:"))) return ShellFolderPath(text);
  return text;
}

QString ContractVirtualPath(const QString& path) {
  QString s = path;
  const QString folder = Environment::ProgramFolder();
  const qsizetype at = folder.isEmpty() ? -1 : s.indexOf(folder);
  if (at >= 0) s.replace(at, folder.size(), kZel);
  return s;
}

int CsidlFromName(const QString& text) {
  static const struct {
    const char* Name;
    int Number;
  } table[] = {
      {"::CSIDL_DESKTOP", 0},          {"::CSIDL_INTERNET", 1},
      {"::CSIDL_PROGRAMS", 2},         {"::CSIDL_CONTROLS", 3},
      {"::CSIDL_PRINTERS", 4},         {"::CSIDL_PERSONAL", 5},
      {"::CSIDL_FAVORITES", 6},        {"::CSIDL_STARTUP", 7},
      {"::CSIDL_RECENT", 8},           {"::CSIDL_SENDTO", 9},
      {"::CSIDL_BITBUCKET", 10},       {"::CSIDL_STARTMENU", 11},
      {"::CSIDL_DESKTOPDIRECTORY", 16}, {"::CSIDL_DRIVES", 17},
      {"::CSIDL_NETWORK", 18},         {"::CSIDL_NETHOOD", 19},
      {"::CSIDL_FONTS", 20},           {"::CSIDL_TEMPLATES", 21},
      {"::CSIDL_COMMON_STARTMENU", 22}, {"::CSIDL_COMMON_PROGRAMS", 23},
      {"::CSIDL_COMMON_STARTUP", 24},  {"::CSIDL_COMMON_DESKTOPDIRECTORY", 25},
      {"::CSIDL_APPDATA", 26},         {"::CSIDL_PRINTHOOD", 27},
      {"::CSIDL_ALTSTARTUP", 29},      {"::CSIDL_COMMON_ALTSTARTUP", 30},
      {"::CSIDL_COMMON_FAVORITES", 31}, {"::CSIDL_INTERNET_CACHE", 32},
      {"::CSIDL_COOKIES", 33},         {"::CSIDL_HISTORY", 34},
  };
  const QString name = StripTrailingBackslash(text);
  for (const auto& e : table)
    if (name == QLatin1String(e.Name)) return e.Number;
  return CSIDL_NONE;
}

QString IdListToText(const QByteArray& idList) {
  return QStringLiteral(":::") + QString::fromLatin1(idList.toHex().toUpper());
}

void TextToIdList(const QString& text, const std::function<void(const QByteArray&)>& use) {
  if (!text.contains(QLatin1String(":::"))) return;
  const QString digits = StripTrailingBackslash(text.mid(3));
  const qsizetype n = digits.size() / 2;
  if (n <= 4) return;
  QByteArray block(n, '\0');
  auto hex = [](QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return int(u - '0');
    if (u >= 'a' && u <= 'f') return int(u - 'a' + 10);
    if (u >= 'A' && u <= 'F') return int(u - 'A' + 10);
    return -1;
  };
  for (qsizetype k = 0; k < n; ++k) {
    const int hi = hex(digits[2 * k]), lo = hex(digits[2 * k + 1]);
    if (hi < 0 || lo < 0)
      throw EConvertError(QStringLiteral("'%1' is not a valid hexadecimal value").arg(digits.mid(2 * k, 2)));
    block[k] = char(hi * 16 + lo);
  }
  use(block);
}

QString StripTrailingBackslash(const QString& text) {
  return text.endsWith(u'/') ? text.left(text.size() - 1) : text;
}

TPathMask SplitPathMask(const QString& text) {
  TPathMask r;
  if (text.endsWith(u'/')) {
    r = {text, QStringLiteral("*.*")};
  } else {
    const qsizetype slash = text.lastIndexOf(u'/');
    if (slash < 0) {
      r = {text, QStringLiteral("*.*")};
    } else {
      r.Folder = text.left(slash);
      r.Mask = text.mid(slash + 1);
      if (!r.Mask.contains(u'?') && !r.Mask.contains(u'*')) r = {text, QStringLiteral("*.*")};
    }
  }
  if (!r.Folder.endsWith(u'/')) r.Folder += u'/';
  return r;
}

QString TempFileIn(const QString& folder, const QString& prefix) {
  if (!QDir().mkpath(folder)) return {};
  const QString base = QDir(folder).absolutePath() + u'/' + prefix.left(3);
  quint32 number = QRandomGenerator::global()->bounded(1u, 0x10000u);
  for (int attempt = 0; attempt < 0x10000; ++attempt) {
    const QString name = base + QString::number(number, 16).toUpper() + QLatin1String(".TMP");
    QFile f(name);
    if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return name;
    if (QFileInfo::exists(name)) {
      number = number % 0xFFFF + 1;
      continue;
    }
    return {};  // the folder refuses new files
  }
  return {};
}

void ProgramVersion(int out[4]) {
  out[0] = ZEL_VERSION_MAJOR;
  out[1] = ZEL_VERSION_MINOR;
  out[2] = ZEL_VERSION_PATCH;
  out[3] = ZEL_VERSION_TWEAK;
}

QString FileVersionText(const QString& file, const QString& pattern) {
  if (!QCoreApplication::instance()) return {};
  const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
  if (self.isEmpty() || QFileInfo(file).canonicalFilePath() != self) return {};
  int v[4];
  ProgramVersion(v);
  // Only "%d" and "%%" are honoured: the pattern is formatted with four numbers.
  QString out;
  int next = 0;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == u'd') {
        out += QString::number(next < 4 ? v[next] : 0);
        ++next;
        ++i;
        continue;
      }
      if (pattern[i + 1] == u'%') {
        out += u'%';
        ++i;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

QString PathFromDisplayName(const QString& name) {
  if (name.isEmpty()) return {};
  const QFileInfo fi(name);
  const QString canonical = fi.canonicalFilePath();
  if (!canonical.isEmpty()) return canonical;
  return QDir::cleanPath(fi.absoluteFilePath());
}

TShellLink ReadShellLink(const QString& file) {
  TShellLink link;
  const QFileInfo fi(file);
  if (fi.isSymLink()) {
    const QString target = fi.canonicalFilePath();
    if (target.isEmpty()) return link;  // dangling
    link.Ok = true;
    link.Target = target;
    const QFileInfo ti(target);
    link.WorkingFolder = ti.isDir() ? target : ti.absolutePath();
    return link;
  }
  TDesktopEntry entry;
  if (!entry.Load(file)) return link;
  const QString type = entry.Type();
  if (type == QLatin1String("Application")) {
    link.Target = entry.ExecProgram();
  } else if (type == QLatin1String("Link")) {
    const QUrl url(entry.Value(QStringLiteral("URL")));
    if (url.isLocalFile()) link.Target = url.toLocalFile();
  }
  if (link.Target.isEmpty()) return link;
  link.WorkingFolder = entry.Value(QStringLiteral("Path"));
  link.IconFile = entry.Value(QStringLiteral("Icon"));
  link.IconIndex = 0;
  link.Ok = true;
  return link;
}

bool IsShortcutFile(const QString& file) {
  const QString ext = QFileInfo(file).suffix().toLower();
  return ext == QLatin1String("lnk") || ext == QLatin1String("desktop");
}

bool IsApplicationLauncher(const QString& file) {
  TDesktopEntry entry;
  return IsShortcutFile(file) && entry.Load(file) && entry.Type() == QLatin1String("Application");
}

bool IsProgramFile(const QString& file) {
  const QFileInfo fi(file);
  if (!fi.isFile() || !fi.isExecutable()) return false;
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray head = f.read(4);
  return head == QByteArray("\x7F" "ELF", 4) || head.startsWith("#!");
}

QString ReadRegistryString(quint32 root, const QString& key, const QString& valueName) {
  if (root != HKEY_CURRENT_USER) return {};
  QString k = key;
  while (k.startsWith(u'\\')) k.remove(0, 1);
  while (k.endsWith(u'\\')) k.chop(1);
  if (k.compare(kShellFolders, Qt::CaseInsensitive) != 0 &&
      k.compare(QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"),
                Qt::CaseInsensitive) != 0)
    return {};
  return UserFolderPath(valueName);
}
