#include "string_list_ex.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

const QString TStringListEx::EmptyMarker = QStringLiteral("$(EMPTY);");

namespace {

QString RemoveFirstMarker(QString s) {
  const qsizetype at = s.indexOf(TStringListEx::EmptyMarker);
  if (at >= 0) s.remove(at, TStringListEx::EmptyMarker.size());
  return s;
}

bool IsBlankOrControl(QChar c) { return c.unicode() >= 1 && c.unicode() <= 32; }
bool IsSeparatorOrControl(QChar c) { return c.unicode() <= 32; }

}  // namespace

QString TStringListEx::Get(int i) const { return RemoveFirstMarker(FLines.at(i)); }

int TStringListEx::IndexOfName(const QString& name) const {
  for (int i = 0; i < Count(); ++i) {
    const QString line = Get(i);
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) continue;
    if (QStringView(line).left(eq).compare(name, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

QString TStringListEx::Names(int i) const {
  const QString line = Get(i);
  const qsizetype eq = line.indexOf(u'=');
  return eq < 0 ? QString() : line.left(eq);
}

QString TStringListEx::Values(const QString& name) const {
  const int i = IndexOfName(name);
  if (i < 0) return {};
  return RemoveFirstMarker(Get(i).mid(name.size() + 1));
}

void TStringListEx::SetValue(const QString& name, const QString& value) {
  const QString line = name + u'=' + (value.isEmpty() ? EmptyMarker : value);
  const int i = IndexOfName(name);
  if (i >= 0)
    FLines[i] = line;
  else
    FLines.append(line);
}

QString TStringListEx::CommaText() const {
  if (Count() == 1 && Get(0).isEmpty()) return QStringLiteral("\"\"");
  QString result;
  for (int i = 0; i < Count(); ++i) {
    const QString item = Get(i);
    if (i > 0) result += u',';
    bool quote = false;
    for (QChar c : item) {
      if (IsBlankOrControl(c) || c == u'"' || c == u',') {
        quote = true;
        break;
      }
    }
    if (quote) {
      QString q = item;
      q.replace(u'"', QStringLiteral("\"\""));
      result += u'"' + q + u'"';
    } else {
      result += item;
    }
  }
  return RemoveFirstMarker(result);
}

void TStringListEx::SetCommaText(const QString& text) {
  FLines.clear();
  // The text ends at a NUL, as a C string would.
  const qsizetype nul = text.indexOf(QChar(0));
  const qsizetype n = nul >= 0 ? nul : text.size();
  qsizetype p = 0;
  while (p < n && IsBlankOrControl(text[p])) ++p;
  while (p < n) {
    QString item;
    if (text[p] == u'"') {
      ++p;
      while (p < n) {
        if (text[p] == u'"') {
          if (p + 1 < n && text[p + 1] == u'"') {
            item += u'"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += text[p++];
      }
    } else {
      const qsizetype start = p;
      while (p < n && !IsSeparatorOrControl(text[p]) && text[p] != u',') ++p;
      item = text.mid(start, p - start);
    }
    FLines.append(item);
    while (p < n && IsBlankOrControl(text[p])) ++p;
    if (p < n && text[p] == u',') {
      ++p;
      while (p < n && IsBlankOrControl(text[p])) ++p;
    }
  }
  if (n > 0 && text[n - 1] == u',') FLines.append(EmptyMarker);
}

QString TStringListEx::Text() const {
  QString result;
  for (int i = 0; i < Count(); ++i) {
    result += Get(i);
    result += QStringLiteral("\r\n");
  }
  return RemoveFirstMarker(result);
}

void TStringListEx::SetText(const QString& text) {
  FLines.clear();
  const qsizetype n = text.size();
  qsizetype start = 0;
  for (qsizetype p = 0; p < n; ++p) {
    const QChar c = text[p];
    if (c == u'\r' || c == u'\n') {
      FLines.append(text.mid(start, p - start));
      if (c == u'\r' && p + 1 < n && text[p + 1] == u'\n') ++p;
      start = p + 1;
    }
  }
  if (start < n) FLines.append(text.mid(start));
}

bool TStringListEx::LoadFromFile(const QString& fileName) {
  FLines.clear();
  QFile f(fileName);
  if (!f.open(QIODevice::ReadOnly)) return false;
  SetText(QString::fromUtf8(f.readAll()));
  return true;
}

bool TStringListEx::SaveToFile(const QString& fileName, QString* errorText) const {
  QSaveFile f(fileName);
  auto fail = [&](const QString& why) {
    if (errorText) *errorText = why;
    f.cancelWriting();
    return false;
  };
  if (!f.open(QIODevice::WriteOnly)) return fail(f.errorString());
  const QByteArray bytes = Text().toUtf8();
  if (f.write(bytes) != bytes.size()) return fail(f.errorString());
  if (!f.commit()) {
    if (errorText) *errorText = f.errorString();
    return false;
  }
  return true;
}

QStringList SplitCommaText(const QString& text) {
  TStringListEx l;
  l.SetCommaText(text);
  QStringList out;
  out.reserve(l.Count());
  for (int i = 0; i < l.Count(); ++i) out.append(l.Get(i));
  return out;
}

QString JoinCommaText(const QStringList& items) { return TStringListEx(items).CommaText(); }

bool IsTrueWord(const QString& text) { return text.toLower() == QLatin1String("true"); }
bool IsYesWord(const QString& text) { return text.toLower() == QLatin1String("yes"); }
QString TrueFalseWord(bool flag) { return flag ? QStringLiteral("True") : QStringLiteral("False"); }
QString YesNoWord(bool flag) { return flag ? QStringLiteral("Yes") : QStringLiteral("No"); }

bool TryStrToInt(const QString& text, qint32& out) {
  QStringView s(text);
  while (!s.isEmpty() && s.front() == u' ') s = s.mid(1);
  bool negative = false;
  if (!s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
    negative = s.front() == u'-';
    s = s.mid(1);
  }
  bool hex = false;
  if (s.startsWith(u'$') || s.startsWith(u'x', Qt::CaseInsensitive)) {
    hex = true;
    s = s.mid(1);
  } else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    hex = true;
    s = s.mid(2);
  }
  if (s.isEmpty()) return false;
  quint64 v = 0;
  for (QChar c : s) {
    int d;
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') d = u - '0';
    else if (hex && u >= 'a' && u <= 'f') d = u - 'a' + 10;
    else if (hex && u >= 'A' && u <= 'F') d = u - 'A' + 10;
    else return false;
    v = v * (hex ? 16 : 10) + quint64(d);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (!hex && v > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
  const quint32 bits = quint32(v);
  out = qint32(negative ? quint32(0u - bits) : bits);
  return true;
}

qint32 StrToIntDef(const QString& text, qint32 def) {
  qint32 v;
  return TryStrToInt(text, v) ? v : def;
}
