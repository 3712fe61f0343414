#pragma once

#include <QString>
#include <QStringList>

// The program's string list. Every line-oriented text (the data file, project
// lines, object records, settings) goes through it, so its rules for
// name=value lines and for comma text are the stored format.
//
// An empty value or a trailing empty comma-text item is kept in memory as
// EmptyMarker so that it is not lost; every read path removes it again.
class TStringListEx {
public:
  static const QString EmptyMarker;  // "$(EMPTY);"

  TStringListEx() = default;
  explicit TStringListEx(const QStringList& lines) : FLines(lines) {}

  // Line i with the first marker removed.
  QString Get(int i) const;
  // Raw line i, markers included.
  const QString& Raw(int i) const { return FLines.at(i); }
  int Count() const { return int(FLines.size()); }
  bool IsEmpty() const { return FLines.isEmpty(); }

  void Add(const QString& s) { FLines.append(s); }
  void Insert(int i, const QString& s) { FLines.insert(i, s); }
  void Delete(int i) { FLines.removeAt(i); }
  void Put(int i, const QString& s) { FLines[i] = s; }
  void Clear() { FLines.clear(); }
  const QStringList& Lines() const { return FLines; }

  int IndexOfName(const QString& name) const;
  QString Names(int i) const;
  QString Values(const QString& name) const;
  void SetValue(const QString& name, const QString& value);

  QString CommaText() const;
  void SetCommaText(const QString& text);

  QString Text() const;
  void SetText(const QString& text);

  // Reads the whole file as UTF-8 and assigns it as Text. Returns false when
  // the file cannot be read (the list is then empty).
  bool LoadFromFile(const QString& fileName);
  // Writes Text to a temporary file beside fileName and renames it over the
  // old file, so the file is never left half written. Returns false (and
  // leaves the old file as it was) on any error; errorText says why.
  bool SaveToFile(const QString& fileName, QString* errorText = nullptr) const;

  bool operator==(const TStringListEx& o) const { return FLines == o.FLines; }

private:
  QStringList FLines;
};

// Convenience: the items of a comma text, markers removed.
QStringList SplitCommaText(const QString& text);
// Convenience: the comma text of a list of items.
QString JoinCommaText(const QStringList& items);

// Words used by stored switches.
bool IsTrueWord(const QString& text);
bool IsYesWord(const QString& text);
QString TrueFalseWord(bool flag);
QString YesNoWord(bool flag);

// Integer conversion as stored values use it: optional blanks and sign, then
// decimal digits or "$"/"0x" and up to 8 hexadecimal digits (hexadecimal
// values fill all 32 bits). False when the text is no such number.
bool TryStrToInt(const QString& text, qint32& out);
qint32 StrToIntDef(const QString& text, qint32 def);
