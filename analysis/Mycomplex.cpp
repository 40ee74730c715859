#include "analysis/Mycomplex.h"

#include <cmath>

Complex ComplexExp(Complex z) {
  const float m = checked::StoreSingle(checked::Exp(z.re));
  return {checked::StoreSingle(std::cos(static_cast<double>(z.im)) * m),
          checked::StoreSingle(std::sin(static_cast<double>(z.im)) * m)};
}

Complex ComplexSqrt(Complex z) {
  constexpr double K = 0.7071067811865476;
  const float r = checked::StoreSingle(ComplexAbs(z));
  const float w = checked::StoreSingle(checked::Sqrt(std::fabs(static_cast<double>(z.re)) + r));
  if (z.re > 0.0f) {
    return {checked::StoreSingle(K * w), checked::StoreSingle(checked::Divide(K * z.im, w))};
  }
  const float re = checked::StoreSingle(checked::Divide(std::fabs(static_cast<double>(z.im)) * K, w));
  const float im = checked::StoreSingle(z.im > 0.0f ? K * w : -K * w);
  return {re, im};
}

int32_t ComplexZeroMatrix(Complex* m, int32_t rows, int32_t cols) {
  for (int32_t r = 0; r < rows; ++r) {
    for (int32_t c = 0; c < cols; ++c) m[r * cols + c] = {0.0f, 0.0f};
  }
  return 1;
}
