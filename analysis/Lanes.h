#pragma once
// Four doubles side by side (GCC/Clang vector extensions), for the float32
// pass of the transfer matrix method over four samples at a time. Each lane's
// add, subtract, multiply, divide and conversion is the IEEE operation a
// scalar double would do, so a lane gives the scalar's bits and raises the
// same floating-point flags. The compiler uses SSE2 pairs or one AVX register.
#include <cstdint>
#include <cstring>

#include "analysis/ExpPair.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// Everything here is inlined into the pass, so the calling convention of
// vector arguments never matters.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace lanes {

#define TOVALK_LANE [[gnu::always_inline]] inline

using D4 = double __attribute__((vector_size(32)));
using F4 = float __attribute__((vector_size(16)));
using I4 = int64_t __attribute__((vector_size(32)));  // lane masks: 0 or -1

TOVALK_LANE D4 Splat(double x) { return D4{x, x, x, x}; }

// The instruction sets the pass is built for: SSE2, which every x86-64 has
// (elsewhere the compiler's own), and AVX2, chosen when the processor has it.
struct Baseline {};
struct Avx2 {};

// Rounded to float32 and back, as a scalar store and reload. (The compiler's
// generic conversion of four lanes goes through the stack.)
template <class Isa>
D4 Single(D4 x);
#if defined(__x86_64__)
template <>
TOVALK_LANE D4 Single<Baseline>(D4 x) {
  using D2 = double __attribute__((vector_size(16)));
  D2 lo = __builtin_shufflevector(x, x, 0, 1), hi = __builtin_shufflevector(x, x, 2, 3);
  lo = (D2)_mm_cvtps_pd(_mm_cvtpd_ps((__m128d)lo));
  hi = (D2)_mm_cvtps_pd(_mm_cvtpd_ps((__m128d)hi));
  return __builtin_shufflevector(lo, hi, 0, 1, 2, 3);
}
// Not forced inline: the functions between it and the pass have no target
// of their own; the pass built for AVX2 takes it in (flatten).
template <>
[[gnu::target("avx2")]] inline D4 Single<Avx2>(D4 x) {
  return (D4)_mm256_cvtps_pd(_mm256_cvtpd_ps((__m256d)x));
}
#else
template <>
TOVALK_LANE D4 Single<Baseline>(D4 x) {
  return __builtin_convertvector(__builtin_convertvector(x, F4), D4);
}
#endif

TOVALK_LANE D4 Bits(I4 x) { return (D4)x; }
TOVALK_LANE I4 Bits(D4 x) { return (I4)x; }
TOVALK_LANE D4 Select(I4 mask, D4 a, D4 b) { return Bits((Bits(a) & mask) | (Bits(b) & ~mask)); }
TOVALK_LANE D4 Abs(D4 x) { return Bits(Bits(x) & (I4{} + INT64_MAX)); }
// std::max(a, b) lane by lane: b where a < b, else a.
TOVALK_LANE D4 Max(D4 a, D4 b) { return Select(a < b, b, a); }
TOVALK_LANE bool Any(I4 mask) { return (mask[0] | mask[1] | mask[2] | mask[3]) != 0; }

// Round-to-nearest integer of |x| < 2^51, as an exact double and as an integer.
constexpr double kShifter = 0x1.8p52;

// e^x for |x| <= 80: relative error a few units of the last place.
// x = k ln 2 + r with |r| <= ln2 / 2 (ln 2 in two parts, k ln2hi exact),
// e^r by its Taylor series to r^13 (the rest below 2^-57).
TOVALK_LANE D4 Exp(D4 x) {
  constexpr double kInvLn2 = 0x1.71547652b82fep0;
  constexpr double kLn2Hi = 0x1.62e42fee00000p-1;
  constexpr double kLn2Lo = 0x1.a39ef35793c76p-33;
  const D4 t = x * kInvLn2 + kShifter;
  const D4 k = t - kShifter;
  const D4 r = (x - k * kLn2Hi) - k * kLn2Lo;
  D4 p = Splat(1.0 / 6227020800.0);
  p = p * r + 1.0 / 479001600.0;
  p = p * r + 1.0 / 39916800.0;
  p = p * r + 1.0 / 3628800.0;
  p = p * r + 1.0 / 362880.0;
  p = p * r + 1.0 / 40320.0;
  p = p * r + 1.0 / 5040.0;
  p = p * r + 1.0 / 720.0;
  p = p * r + 1.0 / 120.0;
  p = p * r + 1.0 / 24.0;
  p = p * r + 1.0 / 6.0;
  p = p * r + 0.5;
  p = p * r + 1.0;
  p = p * r + 1.0;
  const I4 power = (Bits(t) - Bits(Splat(kShifter)) + 1023) << 52;  // 2^k
  return p * Bits(power);
}

// sin y and cos y for |y| <= 1e5: y = k π/2 + r (π/2 in three parts, the
// first two short enough that k times them is exact), then the Taylor series
// of sin r and cos r for |r| <= π/4 and the quadrant k mod 4.
TOVALK_LANE void SinCos(D4 y, D4& sine, D4& cosine) {
  constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
  constexpr double kPio2_1 = 0x1.921fb54400000p0;
  constexpr double kPio2_2 = 0x1.0b4611a600000p-34;
  constexpr double kPio2_3 = 0x1.3198a2e037073p-69;
  const D4 t = y * kTwoOverPi + kShifter;
  const D4 k = t - kShifter;
  const D4 r = ((y - k * kPio2_1) - k * kPio2_2) - k * kPio2_3;
  const D4 r2 = r * r;
  D4 s = Splat(1.0 / 355687428096000.0);
  s = s * r2 - 1.0 / 1307674368000.0;
  s = s * r2 + 1.0 / 6227020800.0;
  s = s * r2 - 1.0 / 39916800.0;
  s = s * r2 + 1.0 / 362880.0;
  s = s * r2 - 1.0 / 5040.0;
  s = s * r2 + 1.0 / 120.0;
  s = s * r2 - 1.0 / 6.0;
  s = r + r * r2 * s;
  D4 c = Splat(1.0 / 20922789888000.0);
  c = c * r2 - 1.0 / 87178291200.0;
  c = c * r2 + 1.0 / 479001600.0;
  c = c * r2 - 1.0 / 3628800.0;
  c = c * r2 + 1.0 / 40320.0;
  c = c * r2 - 1.0 / 720.0;
  c = c * r2 + 1.0 / 24.0;
  c = c * r2 - 0.5;
  c = 1.0 + r2 * c;
  const I4 q = Bits(t) - Bits(Splat(kShifter));
  const I4 swap = -(q & 1);
  const I4 sineSign = (q & 2) << 62;
  const I4 cosineSign = ((q + 1) & 2) << 62;
  sine = Bits(Bits(Select(swap, c, s)) ^ sineSign);
  cosine = Bits(Bits(Select(swap, s, c)) ^ cosineSign);
}

// Lanes where the float32 rounding of v might differ from that of a value
// within a relative 2^-44 of it: far more than the kernels' error and the
// library's together, so elsewhere both round to the same float.
template <class Isa>
TOVALK_LANE I4 Ambiguous(D4 v) {
  constexpr double kSlack = 0x1p-44;
  return Single<Isa>(v * (1.0 - kSlack)) != Single<Isa>(v * (1.0 + kSlack));
}

struct Complex4 {
  D4 re, im;
};

// e^θ and e^-θ of four θ whose parts are float32 values: lane for lane the
// bits FastExpPair gives, and its floating-point flags. The kernels serve
// |Re θ| <= 80 (e^±Re θ a normal float32), 0 < |Im θ| <= 1e5, and products
// whose rounding the kernels' error cannot change; any other lane is handed
// to FastExpPair itself.
template <class Isa>
TOVALK_LANE void ExpPairs(Complex4 theta, Complex4& plus, Complex4& minus) {
  const I4 inRange = (Abs(theta.re) <= 80.0) & (Abs(theta.im) <= 1e5) & (theta.im != 0.0);
  // Out-of-range lanes compute harmless values, so they raise no flag here.
  const D4 x = Select(inRange, theta.re, Splat(0.0));
  const D4 y = Select(inRange, theta.im, Splat(1.0));
  const D4 ePlus = Exp(x);
  const D4 eMinus = 1.0 / ePlus;
  D4 sine, cosine;
  SinCos(y, sine, cosine);
  const D4 mPlus = Single<Isa>(ePlus);
  const D4 mMinus = Single<Isa>(eMinus);
  const D4 cPlus = cosine * mPlus, sPlus = sine * mPlus;
  const D4 cMinus = cosine * mMinus, sMinus = -sine * mMinus;
  const I4 fallback = ~inRange | Ambiguous<Isa>(ePlus) | Ambiguous<Isa>(eMinus) | Ambiguous<Isa>(cPlus) |
                      Ambiguous<Isa>(sPlus) | Ambiguous<Isa>(cMinus) | Ambiguous<Isa>(sMinus);
  plus = {Single<Isa>(cPlus), Single<Isa>(sPlus)};
  minus = {Single<Isa>(cMinus), Single<Isa>(sMinus)};
  if (!Any(fallback)) return;
  for (int k = 0; k < 4; ++k) {
    if (!fallback[k]) continue;
    const ExpPair pair = FastExpPair(MakeComplex(static_cast<float>(theta.re[k]), static_cast<float>(theta.im[k])));
    plus.re[k] = pair.plus.re;
    plus.im[k] = pair.plus.im;
    minus.re[k] = pair.minus.re;
    minus.im[k] = pair.minus.im;
  }
}

}  // namespace lanes

#undef TOVALK_LANE
#pragma GCC diagnostic pop
