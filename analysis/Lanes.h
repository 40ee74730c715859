#pragma once
// Four doubles side by side (GCC/Clang vector extensions), for the transfer
// matrix kernel's four samples at a time, and the exponential, sine and cosine
// of four arguments. The compiler uses SSE2 pairs or one AVX register.
//
// Error bounds, in units of the last place of the correctly rounded double
// result, over the range each kernel serves (the test measures them against
// the long double library on 10^6 arguments):
//   Exp      |x| <= 708             below 1.5 ulp (measured 1.0)
//   SinCos   |y| <= 1e5             below 2 ulp (measured 1.52 without FMA,
//                                   1.36 with)
// Elsewhere, and for a reduced argument too close to a zero of sine or cosine
// for the reduction's precision, a lane is marked for the library instead.
#include <cmath>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// Everything here is inlined into the kernel, so the calling convention of
// vector arguments never matters.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace lanes {

#define TOVALK_LANE [[gnu::always_inline]] inline

using D4 = double __attribute__((vector_size(32)));
using I4 = int64_t __attribute__((vector_size(32)));  // lane masks: 0 or -1
using U4 = uint64_t __attribute__((vector_size(32)));

constexpr int kLanes = 4;

TOVALK_LANE D4 Splat(double x) { return D4{} + x; }

// The instruction sets the kernel is built for: SSE2, which every x86-64 has
// (elsewhere the compiler's own), and AVX2 with FMA, chosen when the
// processor has both.
struct Baseline {};
struct Avx2 {};

// a * b + c: rounded once with FMA, twice without. The kernels' error bounds
// hold either way.
template <class Isa>
TOVALK_LANE D4 MulAdd(D4 a, D4 b, D4 c) {
  return a * b + c;
}
template <class Isa>
TOVALK_LANE D4 Sqrt(D4 x) {
  D4 r;
  for (int k = 0; k < kLanes; ++k) r[k] = std::sqrt(x[k]);
  return r;
}
#if defined(__x86_64__)
template <>
[[gnu::target("avx2,fma")]] inline D4 MulAdd<Avx2>(D4 a, D4 b, D4 c) {
  return (D4)_mm256_fmadd_pd((__m256d)a, (__m256d)b, (__m256d)c);
}
template <>
[[gnu::target("avx2,fma")]] inline D4 Sqrt<Avx2>(D4 x) {
  return (D4)_mm256_sqrt_pd((__m256d)x);
}
template <>
TOVALK_LANE D4 Sqrt<Baseline>(D4 x) {
  using D2 = double __attribute__((vector_size(16)));
  const D2 lo = __builtin_shufflevector(x, x, 0, 1), hi = __builtin_shufflevector(x, x, 2, 3);
  return __builtin_shufflevector((D2)_mm_sqrt_pd((__m128d)lo), (D2)_mm_sqrt_pd((__m128d)hi), 0, 1, 2, 3);
}
#endif

TOVALK_LANE D4 Bits(I4 x) { return (D4)x; }
TOVALK_LANE I4 Bits(D4 x) { return (I4)x; }
TOVALK_LANE D4 Select(I4 mask, D4 a, D4 b) { return Bits((Bits(a) & mask) | (Bits(b) & ~mask)); }
TOVALK_LANE D4 Abs(D4 x) { return Bits(Bits(x) & (I4{} + INT64_MAX)); }
// std::max(a, b) lane by lane: b where a < b, else a.
TOVALK_LANE D4 Max(D4 a, D4 b) { return a < b ? b : a; }
// The biased exponent field of x >= 0.
TOVALK_LANE I4 ExponentField(D4 x) { return (I4)((U4)x >> 52); }
TOVALK_LANE bool Any(I4 mask) { return (mask[0] | mask[1] | mask[2] | mask[3]) != 0; }

// Round-to-nearest integer of |x| < 2^51, as an exact double and as an integer.
constexpr double kShifter = 0x1.8p52;

// The Taylor coefficients 1/i! of e^r, rounded to double.
constexpr double kInverseFactorial[] = {1.0,
                                        1.0,
                                        0.5,
                                        1.0 / 6.0,
                                        1.0 / 24.0,
                                        1.0 / 120.0,
                                        1.0 / 720.0,
                                        1.0 / 5040.0,
                                        1.0 / 40320.0,
                                        1.0 / 362880.0,
                                        1.0 / 3628800.0,
                                        1.0 / 39916800.0,
                                        1.0 / 479001600.0,
                                        1.0 / 6227020800.0,
                                        1.0 / 87178291200.0,
                                        1.0 / 1307674368000.0,
                                        1.0 / 20922789888000.0,
                                        1.0 / 355687428096000.0};

// Lanes outside |x| <= 708, where Exp is not valid.
TOVALK_LANE I4 ExpOutOfRange(D4 x) { return ~(Abs(x) <= 708.0); }

// e^x for |x| <= 708: x = k ln 2 + r with |r| <= ln2 / 2 (ln 2 in two parts,
// k ln2hi exact, x - k ln2hi exact by Sterbenz), then
// e^r = 1 + (r + r^2 P(r)), P the Taylor series from 1/2! to 1/13! (the rest
// below 2^-58) by Estrin's scheme: 4 dependent steps instead of 12. The inner
// sum is below 0.42 and off by at most 2^-54 (its roundings and r's), so the
// last add makes the result within 0.5 + 0.5 ulp of e^r for e^r < 1, less
// above; 2^k scales it exactly.
template <class Isa>
TOVALK_LANE D4 Exp(D4 x) {
  constexpr double kInvLn2 = 0x1.71547652b82fep0;
  constexpr double kLn2Hi = 0x1.62e42fee00000p-1;
  constexpr double kLn2Lo = 0x1.a39ef35793c76p-33;
  const auto& c = kInverseFactorial;
  const D4 t = MulAdd<Isa>(x, Splat(kInvLn2), Splat(kShifter));
  const D4 k = t - kShifter;
  const D4 r = (x - k * kLn2Hi) - k * kLn2Lo;
  const D4 r2 = r * r, r4 = r2 * r2, r8 = r4 * r4;
  // No lambda here: a vector must never cross a call that is not inlined.
  const D4 q0 = MulAdd<Isa>(Splat(c[3]), r, Splat(c[2])), q1 = MulAdd<Isa>(Splat(c[5]), r, Splat(c[4]));
  const D4 q2 = MulAdd<Isa>(Splat(c[7]), r, Splat(c[6])), q3 = MulAdd<Isa>(Splat(c[9]), r, Splat(c[8]));
  const D4 q4 = MulAdd<Isa>(Splat(c[11]), r, Splat(c[10])), q5 = MulAdd<Isa>(Splat(c[13]), r, Splat(c[12]));
  const D4 s0 = MulAdd<Isa>(q1, r2, q0), s1 = MulAdd<Isa>(q3, r2, q2);
  const D4 u0 = MulAdd<Isa>(s1, r4, s0), u1 = MulAdd<Isa>(q5, r2, q4);
  const D4 p = MulAdd<Isa>(u1, r8, u0);
  const D4 e = 1.0 + MulAdd<Isa>(r2, p, r);
  const I4 power = (Bits(t) - Bits(Splat(kShifter)) + 1023) << 52;  // 2^k
  return e * Bits(power);
}

// sin y and cos y for |y| <= 1e5: y = k π/2 + r, π/2 in three parts of which
// the first two are short enough that k times them is exact; the rounding of
// the second subtraction is carried into the third (TwoSum), so r is within
// about 0.5 ulp plus 2^-104. Then sin r = r + r^3 A(r^2) and
// cos r = 1 + r^2 B(r^2) for |r| <= π/4, their Taylor series to r^17 and r^16
// by Estrin's scheme in z = r^2 (4 dependent steps instead of 8), and the
// quadrant k mod 4. Lanes where k != 0 and |r| < 2^-30, whose relative error
// the 2^-104 could spoil, are set in `unsure` for the library.
template <class Isa>
TOVALK_LANE void SinCos(D4 y, D4& sine, D4& cosine, I4& unsure) {
  constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
  constexpr double kPio2_1 = 0x1.921fb54400000p0;
  constexpr double kPio2_2 = 0x1.0b4611a600000p-34;
  constexpr double kPio2_3 = 0x1.3198a2e037073p-69;
  const auto& f = kInverseFactorial;
  const D4 t = MulAdd<Isa>(y, Splat(kTwoOverPi), Splat(kShifter));
  const D4 k = t - kShifter;
  const D4 a = y - k * kPio2_1;  // exact
  const D4 b = -(k * kPio2_2);   // exact
  // high + lost = a + b exactly (TwoSum: either may be the larger).
  const D4 high = a + b;
  const D4 bPart = high - a;
  const D4 lost = (a - (high - bPart)) + (b - bPart);
  const D4 low = lost - k * kPio2_3;
  const D4 r = high + low;
  const D4 rLow = (high - r) + low;  // what r lost of high + low
  unsure = (k != 0.0) & (Abs(r) < 0x1p-30);
  // sin r = r + r^3 (a0 + a1 z + ... + a7 z^7), a_i = (-1)^(i+1) / (2i+3)!;
  // cos r = 1 + z (b0 + b1 z + ... + b7 z^7), b_i = (-1)^(i+1) / (2i+2)!.
  // The lambdas give scalars only: a vector must never cross a call.
  auto sa = [&](int i) { return i % 2 ? f[2 * i + 3] : -f[2 * i + 3]; };
  auto sb = [&](int i) { return i % 2 ? f[2 * i + 2] : -f[2 * i + 2]; };
  const D4 z = r * r, z2 = z * z, z4 = z2 * z2;
  const D4 s01 = MulAdd<Isa>(Splat(sa(1)), z, Splat(sa(0))), s23 = MulAdd<Isa>(Splat(sa(3)), z, Splat(sa(2)));
  const D4 s45 = MulAdd<Isa>(Splat(sa(5)), z, Splat(sa(4))), s67 = MulAdd<Isa>(Splat(sa(7)), z, Splat(sa(6)));
  const D4 c01 = MulAdd<Isa>(Splat(sb(1)), z, Splat(sb(0))), c23 = MulAdd<Isa>(Splat(sb(3)), z, Splat(sb(2)));
  const D4 c45 = MulAdd<Isa>(Splat(sb(5)), z, Splat(sb(4))), c67 = MulAdd<Isa>(Splat(sb(7)), z, Splat(sb(6)));
  const D4 sLow = MulAdd<Isa>(s23, z2, s01), sHigh = MulAdd<Isa>(s67, z2, s45);
  const D4 cLow = MulAdd<Isa>(c23, z2, c01), cHigh = MulAdd<Isa>(c67, z2, c45);
  // r's lost part enters sine once (d sin = cos dr, cos r ≈ 1) and cosine
  // as -r dr.
  const D4 s = r + MulAdd<Isa>(r * z, MulAdd<Isa>(sHigh, z4, sLow), rLow);
  const D4 c = 1.0 + MulAdd<Isa>(z, MulAdd<Isa>(cHigh, z4, cLow), -r * rLow);
  using M = I4;
  const M q = Bits(t) - Bits(Splat(kShifter));
  const M swap = -(q & 1);
  const M sineSign = (q & 2) << 62;
  const M cosineSign = ((q + 1) & 2) << 62;
  sine = Bits(Bits(Select(swap, c, s)) ^ sineSign);
  cosine = Bits(Bits(Select(swap, s, c)) ^ cosineSign);
}

// Lanes outside |y| <= 1e5, where SinCos is not valid.
TOVALK_LANE I4 SinCosOutOfRange(D4 y) { return ~(Abs(y) <= 1e5); }

template <class V>
struct ComplexOf {
  V re, im;
};
using Complex4 = ComplexOf<D4>;

TOVALK_LANE Complex4 Splat(double re, double im) { return {Splat(re), Splat(im)}; }
TOVALK_LANE Complex4 operator+(Complex4 a, Complex4 b) { return {a.re + b.re, a.im + b.im}; }
TOVALK_LANE Complex4 operator-(Complex4 a, Complex4 b) { return {a.re - b.re, a.im - b.im}; }
TOVALK_LANE Complex4 operator*(D4 s, Complex4 z) { return {s * z.re, s * z.im}; }
template <class Isa>
TOVALK_LANE Complex4 Mul(Complex4 a, Complex4 b) {
  return {MulAdd<Isa>(a.re, b.re, -(a.im * b.im)), MulAdd<Isa>(a.re, b.im, a.im * b.re)};
}
// a times the conjugate of b.
template <class Isa>
TOVALK_LANE Complex4 MulConj(Complex4 a, Complex4 b) {
  return {MulAdd<Isa>(a.re, b.re, a.im * b.im), MulAdd<Isa>(a.im, b.re, -(a.re * b.im))};
}
template <class Isa>
TOVALK_LANE D4 Norm(Complex4 z) {
  return MulAdd<Isa>(z.re, z.re, z.im * z.im);
}

}  // namespace lanes

#undef TOVALK_LANE
#pragma GCC diagnostic pop
