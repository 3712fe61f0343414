#pragma once

// Readable gtest output for Qt values; force-included into every test.
#include <ostream>

#include <QByteArray>
#include <QString>
#include <QStringList>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << b.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << "{\n";
  for (const QString& s : l) *os << "  \"" << s.toStdString() << "\"\n";
  *os << "}";
}
