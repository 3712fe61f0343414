#pragma once

#include "errors.h"

// Arithmetic failures of the filters. Division by zero and invalid
// floating-point operations raise instead of turning into infinities.
class EMathError : public EZelError {
public:
  using EZelError::EZelError;
};

// A floating-point division of a non-zero value by zero.
class EZeroDivide : public EMathError {
public:
  EZeroDivide() : EMathError(QStringLiteral("Floating point division by zero")) {}
};

// An invalid floating-point operation: zero divided by zero, or a value
// that does not fit the integer it is truncated or rounded to.
class EInvalidOp : public EMathError {
public:
  EInvalidOp() : EMathError(QStringLiteral("Invalid floating point operation")) {}
};

// An integer division by zero.
class EDivByZero : public EMathError {
public:
  EDivByZero() : EMathError(QStringLiteral("Division by zero")) {}
};

// A bitmap operation that cannot be carried out: a bitmap too large to
// allocate, or rows asked of a bitmap that has none.
class EInvalidGraphicOperation : public EZelError {
public:
  using EZelError::EZelError;
};
