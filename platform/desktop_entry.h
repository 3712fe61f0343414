#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// A freedesktop .desktop launcher: the keys of its [Desktop Entry] group.
class TDesktopEntry {
public:
  // Reads fileName; false when it is not a desktop entry.
  bool Load(const QString& fileName);

  QString Value(const QString& key) const { return FValues.value(key); }
  QString Type() const { return Value(QStringLiteral("Type")); }
  // The Exec line split into arguments with quoting and escapes resolved and
  // the field codes (%f, %u, ...) left out.
  QStringList ExecArguments() const;
  // The program the Exec line names, as an absolute path (searched in PATH
  // when the line names a bare program); empty when it cannot be found.
  QString ExecProgram() const;

  // Splits an Exec value (string escapes already resolved) into arguments.
  static QStringList SplitExec(const QString& exec);

private:
  QHash<QString, QString> FValues;
};
