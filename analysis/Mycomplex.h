#pragma once
// Single-precision complex arithmetic. Each result component is computed from
// the float32 operands in double and rounded to float32 once, when stored.
// Faults (division by zero, invalid operation, overflow) throw a
// FloatingPointFault before anything is stored.
#include <cstdint>

#include "platform/CheckedFloat.h"

struct Complex {
  float re;
  float im;
  bool operator==(const Complex&) const = default;
};

inline Complex MakeComplex(float re, float im) { return {re, im}; }

inline Complex ComplexAdd(Complex a, Complex b) {
  return {checked::StoreSingle(static_cast<double>(a.re) + b.re),
          checked::StoreSingle(static_cast<double>(a.im) + b.im)};
}

inline Complex ComplexSub(Complex a, Complex b) {
  return {checked::StoreSingle(static_cast<double>(a.re) - b.re),
          checked::StoreSingle(static_cast<double>(a.im) - b.im)};
}

inline Complex ComplexMul(Complex a, Complex b) {
  return {checked::StoreSingle(static_cast<double>(a.re) * b.re - static_cast<double>(a.im) * b.im),
          checked::StoreSingle(static_cast<double>(a.im) * b.re + static_cast<double>(a.re) * b.im)};
}

inline Complex ComplexScale(float s, Complex z) {
  return {checked::StoreSingle(static_cast<double>(s) * z.re), checked::StoreSingle(static_cast<double>(s) * z.im)};
}

// The plain formula without scaling; p, q and d are each rounded to float32.
inline Complex ComplexDiv(Complex a, Complex b) {
  const float p = checked::StoreSingle(static_cast<double>(a.re) * b.re + static_cast<double>(a.im) * b.im);
  const float q = checked::StoreSingle(static_cast<double>(a.im) * b.re - static_cast<double>(a.re) * b.im);
  const float d = checked::StoreSingle(static_cast<double>(b.re) * b.re + static_cast<double>(b.im) * b.im);
  return {checked::StoreSingle(checked::Divide(p, d)), checked::StoreSingle(checked::Divide(q, d))};
}

// The modulus in double; the sum of squares is rounded to float32 first, so it
// overflows once a component exceeds about 1.8e19.
inline double ComplexAbs(Complex z) {
  const float s = checked::StoreSingle(static_cast<double>(z.re) * z.re + static_cast<double>(z.im) * z.im);
  return checked::Sqrt(s);
}

inline Complex ComplexNeg(Complex z) { return {-z.re, -z.im}; }

Complex ComplexExp(Complex z);

// Principal root with a non-negative real part; on the closed negative real
// axis the imaginary part comes out negative: the root of (-4, 0) is (0, -2).
Complex ComplexSqrt(Complex z);

// Sets elements (r, c), r < rows, c < cols, row stride cols, to (0, 0).
// Returns 1 in every case.
int32_t ComplexZeroMatrix(Complex* m, int32_t rows, int32_t cols);

// Gauss-Jordan elimination with full pivoting on the row-major matrix A
// (coefficients in columns 0..n-1, right-hand sides in columns n..ncols-1).
// The solutions replace the right-hand sides. Returns 0 when solved, or when
// the arguments are refused (A untouched): n outside 2..200, ncols <= n,
// ncols > stride, eps not above 0. Returns 1 when singular, the largest
// pivot's squared modulus not above eps (A untouched). An overflow, or a value
// in A that is not finite, throws a FloatingPointFault with A untouched.
int32_t ComplexSolve(Complex* a, int32_t stride, int32_t n, int32_t ncols, float eps);
