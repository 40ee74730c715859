#pragma once
// Arithmetic with the floating-point faults raised as errors, as the analysis
// requires: an invalid operation, a division by zero or an overflow throws a
// FloatingPointFault at the operation, before anything is stored. Underflow and
// inexact results pass silently. Intermediates are double; values are rounded
// to float32 once, where they are stored (StoreSingle).
#include <cmath>
#include <limits>

#include "platform/Errors.h"

namespace checked {

[[noreturn]] inline void Raise(FloatingPointFault::Kind kind) { throw FloatingPointFault(kind); }

// Rounds a double to float32 as a store would: a NaN is an invalid operation,
// a value beyond the float32 range an overflow.
inline float StoreSingle(double value) {
  if (std::isnan(value)) Raise(FloatingPointFault::Kind::InvalidOperation);
  const float stored = static_cast<float>(value);
  if (std::isinf(stored)) Raise(FloatingPointFault::Kind::Overflow);
  return stored;
}

// a / b: 0/0 is an invalid operation, x/0 a division by zero.
inline double Divide(double a, double b) {
  if (b == 0.0) {
    Raise(a == 0.0 || std::isnan(a) ? FloatingPointFault::Kind::InvalidOperation
                                    : FloatingPointFault::Kind::DivideByZero);
  }
  const double q = a / b;
  if (std::isnan(q)) Raise(FloatingPointFault::Kind::InvalidOperation);
  if (std::isinf(q)) Raise(FloatingPointFault::Kind::Overflow);
  return q;
}

inline double Sqrt(double x) {
  if (x < 0.0 || std::isnan(x)) Raise(FloatingPointFault::Kind::InvalidOperation);
  return std::sqrt(x);
}

// Natural logarithm: ln 0 is a division by zero, ln of a negative number invalid.
inline double Ln(double x) {
  if (x == 0.0) Raise(FloatingPointFault::Kind::DivideByZero);
  if (x < 0.0 || std::isnan(x)) Raise(FloatingPointFault::Kind::InvalidOperation);
  return std::log(x);
}

inline double Exp(double x) {
  if (std::isnan(x)) Raise(FloatingPointFault::Kind::InvalidOperation);
  const double e = std::exp(x);
  if (std::isinf(e)) Raise(FloatingPointFault::Kind::Overflow);
  return e;
}

}  // namespace checked
