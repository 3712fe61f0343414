#include "desktop_entry.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "string_list_ex.h"

namespace {

// String escapes of desktop entry values: \s \n \t \r \\ .
QString Unescape(const QString& v) {
  QString out;
  out.reserve(v.size());
  for (qsizetype i = 0; i < v.size(); ++i) {
    if (v[i] == u'\\' && i + 1 < v.size()) {
      const QChar c = v[++i];
      switch (c.unicode()) {
        case 's': out += u' '; break;
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        case 'r': out += u'\r'; break;
        case '\\': out += u'\\'; break;
        default: out += u'\\'; out += c; break;
      }
    } else {
      out += v[i];
    }
  }
  return out;
}

}  // namespace

bool TDesktopEntry::Load(const QString& fileName) {
  FValues.clear();
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly)) return false;
  // A launcher is small; refuse to read anything large as one.
  if (f.size() > 1024 * 1024) return false;
  TStringListEx lines;
  lines.SetText(QString::fromUtf8(f.readAll()));
  bool inEntry = false, sawEntry = false;
  for (const QString& raw : lines.Lines()) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[')) {
      if (!sawEntry && line != QLatin1String("[Desktop Entry]")) return false;
      inEntry = line == QLatin1String("[Desktop Entry]");
      sawEntry = sawEntry || inEntry;
      continue;
    }
    if (!sawEntry) return false;
    if (!inEntry) continue;
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0) continue;
    const QString key = line.left(eq).trimmed();
    if (!FValues.contains(key)) FValues.insert(key, Unescape(line.mid(eq + 1).trimmed()));
  }
  return sawEntry;
}

QStringList TDesktopEntry::SplitExec(const QString& exec) {
  QStringList args;
  QString cur;
  bool inArg = false, quoted = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (quoted) {
      if (c == u'\\' && i + 1 < exec.size()) {
        cur += exec[++i];
      } else if (c == u'"') {
        quoted = false;
      } else {
        cur += c;
      }
      continue;
    }
    if (c == u'"') {
      quoted = true;
      inArg = true;
    } else if (c == u' ' || c == u'\t') {
      if (inArg) args.append(cur);
      cur.clear();
      inArg = false;
    } else {
      cur += c;
      inArg = true;
    }
  }
  if (inArg) args.append(cur);
  return args;
}

QStringList TDesktopEntry::ExecArguments() const {
  QStringList out;
  for (const QString& a : SplitExec(Value(QStringLiteral("Exec")))) {
    if (a.size() == 2 && a[0] == u'%') {
      if (a[1] == u'%') out.append(QStringLiteral("%"));
      continue;  // %f %F %u %U %i %c %k and the deprecated codes
    }
    QString b = a;
    b.replace(QLatin1String("%%"), QLatin1String("%"));
    out.append(b);
  }
  return out;
}

QString TDesktopEntry::ExecProgram() const {
  const QStringList args = ExecArguments();
  if (args.isEmpty()) return {};
  const QString program = args.first();
  if (program.startsWith(u'/')) return QFileInfo(program).isFile() ? program : QString();
  return QStandardPaths::findExecutable(program);
}
