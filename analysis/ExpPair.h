#pragma once
// e^z and e^-z together, as ComplexExp gives each of them, for the inner loop
// of the transfer matrix method: the cosine and sine of -y are those of y
// (the sine negated), so one pair of them serves both exponentials.
#include <cmath>

#include "analysis/Mycomplex.h"
#include "platform/CheckedFloat.h"

struct ExpPair {
  Complex plus;   // e^z
  Complex minus;  // e^-z
};

inline ExpPair ComplexExpPair(Complex z) {
  const float mPlus = checked::StoreSingle(checked::Exp(z.re));
  const float mMinus = checked::StoreSingle(checked::Exp(-static_cast<double>(z.re)));
  const double y = z.im;
  const double c = std::cos(y);
  const double s = std::sin(y);
  return {{checked::StoreSingle(c * mPlus), checked::StoreSingle(s * mPlus)},
          {checked::StoreSingle(c * mMinus), checked::StoreSingle(-s * mMinus)}};
}

// The same values without the checks: a fault shows in the floating-point
// flags instead (the transfer matrix method's unchecked pass).
inline ExpPair FastExpPair(Complex z) {
  const float mPlus = static_cast<float>(std::exp(static_cast<double>(z.re)));
  const float mMinus = static_cast<float>(std::exp(-static_cast<double>(z.re)));
  const double y = z.im;
  const double c = std::cos(y);
  const double s = std::sin(y);
  return {{static_cast<float>(c * mPlus), static_cast<float>(s * mPlus)},
          {static_cast<float>(c * mMinus), static_cast<float>(-s * mMinus)}};
}
