#pragma once
// Four doubles side by side (GCC/Clang vector extensions), for the float32
// pass of the transfer matrix method over four samples at a time. Each lane's
// add, subtract, multiply, divide and conversion is the IEEE operation a
// scalar double would do, so a lane gives the scalar's bits and raises the
// same floating-point flags. The compiler uses SSE2 pairs or one AVX register.
// (Eight lanes, as two AVX registers or one AVX-512 register, measured no
// faster: the pass is bound by the conversions' throughput, not by latency.)
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

constexpr int kLanes = 4;

TOVALK_LANE D4 Splat(double x) { return D4{} + x; }

// The instruction sets the pass is built for: SSE2, which every x86-64 has
// (elsewhere the compiler's own), and AVX2 with FMA, chosen when the
// processor has both.
struct Baseline {
  static constexpr bool kFma = false;
};
struct Avx2 {
  static constexpr bool kFma = true;
};

// Rounded to float32 and back, as a scalar store and reload. (The compiler's
// generic conversion of the lanes goes through the stack.) The functions of
// an instruction set are not forced inline: the functions between them and
// the pass have no target of their own; the pass built for that set takes
// them in (flatten).
template <class Isa>
D4 Single(D4 x);
// a * b + c rounded once, for the kernels only (never the float32 steps).
template <class Isa>
D4 Fma(D4 a, D4 b, D4 c);

#if defined(__x86_64__)
template <>
TOVALK_LANE D4 Single<Baseline>(D4 x) {
  using D2 = double __attribute__((vector_size(16)));
  D2 lo = __builtin_shufflevector(x, x, 0, 1), hi = __builtin_shufflevector(x, x, 2, 3);
  lo = (D2)_mm_cvtps_pd(_mm_cvtpd_ps((__m128d)lo));
  hi = (D2)_mm_cvtps_pd(_mm_cvtpd_ps((__m128d)hi));
  return __builtin_shufflevector(lo, hi, 0, 1, 2, 3);
}
template <>
[[gnu::target("avx2,fma")]] inline D4 Single<Avx2>(D4 x) {
  return (D4)_mm256_cvtps_pd(_mm256_cvtpd_ps((__m256d)x));
}
template <>
[[gnu::target("avx2,fma")]] inline D4 Fma<Avx2>(D4 a, D4 b, D4 c) {
  return (D4)_mm256_fmadd_pd((__m256d)a, (__m256d)b, (__m256d)c);
}
#else
template <>
TOVALK_LANE D4 Single<Baseline>(D4 x) {
  return __builtin_convertvector(__builtin_convertvector(x, F4), D4);
}
#endif

// The lanes' float32 values in float form, and back: narrowing rounds as a
// scalar store does (and raises its flags); widening is exact. A float32
// add, subtract, multiply or divide of two float32 values gives exactly the
// double operation's result rounded to float32 (double has more than twice
// float32's precision), with the same overflow, division-by-zero and
// invalid flags: those steps can stay in float form, without converting
// each result back.
template <class Isa>
F4 Narrow(D4 x);
template <class Isa>
D4 Widen(F4 x);
#if defined(__x86_64__)
template <>
TOVALK_LANE F4 Narrow<Baseline>(D4 x) {
  using D2 = double __attribute__((vector_size(16)));
  const D2 lo = __builtin_shufflevector(x, x, 0, 1), hi = __builtin_shufflevector(x, x, 2, 3);
  return (F4)_mm_movelh_ps(_mm_cvtpd_ps((__m128d)lo), _mm_cvtpd_ps((__m128d)hi));
}
template <>
TOVALK_LANE D4 Widen<Baseline>(F4 x) {
  using D2 = double __attribute__((vector_size(16)));
  const D2 lo = (D2)_mm_cvtps_pd((__m128)x), hi = (D2)_mm_cvtps_pd(_mm_movehl_ps((__m128)x, (__m128)x));
  return __builtin_shufflevector(lo, hi, 0, 1, 2, 3);
}
template <>
[[gnu::target("avx2,fma")]] inline F4 Narrow<Avx2>(D4 x) {
  return (F4)_mm256_cvtpd_ps((__m256d)x);
}
template <>
[[gnu::target("avx2,fma")]] inline D4 Widen<Avx2>(F4 x) {
  return (D4)_mm256_cvtps_pd((__m128)x);
}
#else
template <>
TOVALK_LANE F4 Narrow<Baseline>(D4 x) {
  return __builtin_convertvector(x, F4);
}
template <>
TOVALK_LANE D4 Widen<Baseline>(F4 x) {
  return __builtin_convertvector(x, D4);
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

// e^x for |x| <= 80: x = k ln 2 + r with |r| <= ln2 / 2 (ln 2 in two parts,
// k ln2hi exact), e^r by its Taylor series to r^13 (the rest below 2^-57).
// Without FMA by Horner's rule, relative error a few units of the last place.
// With FMA by Estrin's scheme: the seven pairs c_i + c_(i+1) r, then powers
// r^2, r^4, r^8 joining them, 5 dependent steps instead of 14. Its error:
// every partial sum stays below 1.5 times the result (the terms of e^r with
// r >= -0.35 shrink by 3 or more from the second on), so each of the 14
// roundings adds at most 1.5 * 2^-53, with the coefficients' own roundings
// and the reduction's (2^-55 absolute in r) below 2^-48.5 in all; measured
// below 2^-51 against the long double library.
template <class Isa = Baseline>
TOVALK_LANE D4 Exp(D4 x) {
  constexpr double kInvLn2 = 0x1.71547652b82fep0;
  constexpr double kLn2Hi = 0x1.62e42fee00000p-1;
  constexpr double kLn2Lo = 0x1.a39ef35793c76p-33;
  const auto& c = kInverseFactorial;
  D4 t, k, r, p;
  if constexpr (Isa::kFma) {
    t = Fma<Isa>(x, Splat(kInvLn2), Splat(kShifter));
    k = t - kShifter;
    r = Fma<Isa>(-k, Splat(kLn2Hi), x);
    r = Fma<Isa>(-k, Splat(kLn2Lo), r);
    // No lambda here: a vector must never cross a call that is not inlined.
    const D4 r2 = r * r, r4 = r2 * r2, r8 = r4 * r4;
    const D4 q0 = Fma<Isa>(Splat(c[1]), r, Splat(c[0])), q1 = Fma<Isa>(Splat(c[3]), r, Splat(c[2]));
    const D4 q2 = Fma<Isa>(Splat(c[5]), r, Splat(c[4])), q3 = Fma<Isa>(Splat(c[7]), r, Splat(c[6]));
    const D4 q4 = Fma<Isa>(Splat(c[9]), r, Splat(c[8])), q5 = Fma<Isa>(Splat(c[11]), r, Splat(c[10]));
    const D4 q6 = Fma<Isa>(Splat(c[13]), r, Splat(c[12]));
    const D4 s0 = Fma<Isa>(q1, r2, q0), s1 = Fma<Isa>(q3, r2, q2), s2 = Fma<Isa>(q5, r2, q4);
    const D4 u0 = Fma<Isa>(s1, r4, s0), u1 = Fma<Isa>(q6, r4, s2);
    p = Fma<Isa>(u1, r8, u0);
  } else {
    t = x * kInvLn2 + kShifter;
    k = t - kShifter;
    r = (x - k * kLn2Hi) - k * kLn2Lo;
    p = Splat(c[13]);
    for (int i = 12; i >= 0; --i) p = p * r + c[i];
  }
  const I4 power = (Bits(t) - Bits(Splat(kShifter)) + 1023) << 52;  // 2^k
  return p * Bits(power);
}

// sin y and cos y for |y| <= 1e5: y = k π/2 + r (π/2 in three parts, the
// first two short enough that k times them is exact), then the Taylor series
// of sin r to r^17 and of cos r to r^16 for |r| <= π/4, and the quadrant
// k mod 4. Without FMA by Horner's rule in r^2; with FMA by Estrin's scheme
// in z = r^2 (pairs, then z^2 and z^4 joining them: 4 dependent steps
// instead of 8), each partial sum below 1.1 times its result (the series
// alternate with terms shrinking by 6 or more), so the roundings add below
// 2^-49 together; measured below 2^-51 against the long double library.
template <class Isa = Baseline>
TOVALK_LANE void SinCos(D4 y, D4& sine, D4& cosine) {
  constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
  constexpr double kPio2_1 = 0x1.921fb54400000p0;
  constexpr double kPio2_2 = 0x1.0b4611a600000p-34;
  constexpr double kPio2_3 = 0x1.3198a2e037073p-69;
  const auto& f = kInverseFactorial;
  const D4 t = y * kTwoOverPi + kShifter;
  const D4 k = t - kShifter;
  const D4 r = ((y - k * kPio2_1) - k * kPio2_2) - k * kPio2_3;
  const D4 r2 = r * r;
  D4 s, c;
  if constexpr (Isa::kFma) {
    // sin r = r + r^3 (a0 + a1 z + ... + a7 z^7), a_i = (-1)^(i+1) / (2i+3)!;
    // cos r = 1 + z (b0 + b1 z + ... + b7 z^7), b_i = (-1)^(i+1) / (2i+2)!.
    // The lambdas give scalars only: a vector must never cross a call.
    auto a = [&](int i) { return i % 2 ? f[2 * i + 3] : -f[2 * i + 3]; };
    auto b = [&](int i) { return i % 2 ? f[2 * i + 2] : -f[2 * i + 2]; };
    const D4 z = r2, z2 = z * z, z4 = z2 * z2;
    const D4 s01 = Fma<Isa>(Splat(a(1)), z, Splat(a(0))), s23 = Fma<Isa>(Splat(a(3)), z, Splat(a(2)));
    const D4 s45 = Fma<Isa>(Splat(a(5)), z, Splat(a(4))), s67 = Fma<Isa>(Splat(a(7)), z, Splat(a(6)));
    const D4 c01 = Fma<Isa>(Splat(b(1)), z, Splat(b(0))), c23 = Fma<Isa>(Splat(b(3)), z, Splat(b(2)));
    const D4 c45 = Fma<Isa>(Splat(b(5)), z, Splat(b(4))), c67 = Fma<Isa>(Splat(b(7)), z, Splat(b(6)));
    const D4 sLow = Fma<Isa>(s23, z2, s01), sHigh = Fma<Isa>(s67, z2, s45);
    const D4 cLow = Fma<Isa>(c23, z2, c01), cHigh = Fma<Isa>(c67, z2, c45);
    s = Fma<Isa>(r * z, Fma<Isa>(sHigh, z4, sLow), r);
    c = Fma<Isa>(z, Fma<Isa>(cHigh, z4, cLow), Splat(1.0));
  } else {
    // The terms alternate in sign (adding -t is subtracting t, bit for bit).
    s = Splat(f[17]);
    c = Splat(f[16]);
    for (int i = 15, sign = -1; i >= 3; i -= 2, sign = -sign) {
      s = s * r2 + sign * f[i];
      c = c * r2 + sign * f[i - 1];
    }
    s = r + r * r2 * s;
    c = 1.0 + r2 * c;
  }
  using M = I4;
  const M q = Bits(t) - Bits(Splat(kShifter));
  const M swap = -(q & 1);
  const M sineSign = (q & 2) << 62;
  const M cosineSign = ((q + 1) & 2) << 62;
  sine = Bits(Bits(Select(swap, c, s)) ^ sineSign);
  cosine = Bits(Bits(Select(swap, s, c)) ^ cosineSign);
}

// Lanes whose float32 roundings of a and b differ: Single(a) != Single(b).
template <class Isa>
TOVALK_LANE I4 RoundDifferently(D4 a, D4 b) {
  return Single<Isa>(a) != Single<Isa>(b);
}
#if defined(__x86_64__)
// The same compared as float32 values (widening is exact, so the same
// lanes), without the conversions back.
template <>
[[gnu::target("avx2,fma")]] inline I4 RoundDifferently<Avx2>(D4 a, D4 b) {
  const __m128 differ = _mm_cmp_ps(_mm256_cvtpd_ps((__m256d)a), _mm256_cvtpd_ps((__m256d)b), _CMP_NEQ_UQ);
  return (I4)_mm256_cvtepi32_epi64(_mm_castps_si128(differ));
}
#endif

// Lanes where the float32 rounding of v might differ from that of a value
// within a relative 2^-44 of it: far more than the kernels' error and the
// library's together, so elsewhere both round to the same float.
template <class Isa>
TOVALK_LANE I4 Ambiguous(D4 v) {
  constexpr double kSlack = 0x1p-44;
  return RoundDifferently<Isa>(v * (1.0 - kSlack), v * (1.0 + kSlack));
}

template <class V>
struct ComplexOf {
  V re, im;
};
using Complex4 = ComplexOf<D4>;

// e^θ and e^-θ of four θ whose parts are float32 values: lane for lane
// the bits FastExpPair gives, and its floating-point flags. The kernels serve
// |Re θ| <= 80 (e^±Re θ a normal float32), 0 < |Im θ| <= 1e5, and products
// whose rounding the kernels' error cannot change; any other lane is handed
// to FastExpPair itself.
template <class Isa>
TOVALK_LANE void ExpPairs(Complex4 theta, Complex4& plus, Complex4& minus) {
  using M = I4;
  const M inRange = (Abs(theta.re) <= 80.0) & (Abs(theta.im) <= 1e5) & (theta.im != 0.0);
  // Out-of-range lanes compute harmless values, so they raise no flag here.
  const D4 x = Select(inRange, theta.re, Splat(0.0));
  const D4 y = Select(inRange, theta.im, Splat(1.0));
  const D4 ePlus = Exp<Isa>(x);
  const D4 eMinus = 1.0 / ePlus;
  D4 sine, cosine;
  SinCos<Isa>(y, sine, cosine);
  const D4 mPlus = Single<Isa>(ePlus);
  const D4 mMinus = Single<Isa>(eMinus);
  const D4 cPlus = cosine * mPlus, sPlus = sine * mPlus;
  const D4 cMinus = cosine * mMinus, sMinus = -sine * mMinus;
  const M fallback = ~inRange | Ambiguous<Isa>(ePlus) | Ambiguous<Isa>(eMinus) | Ambiguous<Isa>(cPlus) |
                     Ambiguous<Isa>(sPlus) | Ambiguous<Isa>(cMinus) | Ambiguous<Isa>(sMinus);
  plus = {Single<Isa>(cPlus), Single<Isa>(sPlus)};
  minus = {Single<Isa>(cMinus), Single<Isa>(sMinus)};
  if (!Any(fallback)) return;
  for (int k = 0; k < kLanes; ++k) {
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
