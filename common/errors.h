#pragma once

#include <stdexcept>
#include <string>

#include <QString>

// The program's exception types. Failures raise; the edge the user sees
// catches them (a message box), the shell and picture layers turn them into
// "no answer".
class EZelError : public std::runtime_error {
public:
  explicit EZelError(const QString& message) : std::runtime_error(message.toStdString()) {}
  QString Message() const { return QString::fromUtf8(what()); }
};

// A text that should have been a number (or hexadecimal digits) was not.
class EConvertError : public EZelError {
public:
  using EZelError::EZelError;
};
