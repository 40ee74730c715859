// The transfer matrix method: up- and down-going shear waves carried from the
// free surface down through the layer interfaces by 2 × 2 complex matrices.
//
// Each sample runs first in the float32 arithmetic of Mycomplex without its
// per-operation checks; the processor's floating-point flags tell afterwards
// whether anything overflowed, divided by zero or was invalid. Only such a
// sample is repeated with the checked operations, which raise the fault the
// input has, and where that fault is an overflow of the growing products, the
// sample is computed by the wave amplitudes in double with renormalisation.
// So is a sample near a sharp resonance, where the motion sums cancel and
// float32 would lose printed digits; every other value stays the float32 one.
// The lanes' vector values never cross a call of another file: their calling
// convention does not matter.
#pragma GCC diagnostic ignored "-Wpsabi"

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <complex>
#include <limits>
#include <optional>

#include "analysis/Calculators.h"
#include "analysis/ExpPair.h"
#include "analysis/Lanes.h"
#include "analysis/LumpedMassModel.h"
#include "analysis/Mycomplex.h"
#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kMax = 20;
constexpr int kFaultFlags = FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID;
// The cancellation float32 carries to the printed digits.
constexpr double kMostCancellation = 8.0;

struct Matrix2 {
  Complex a, b, c, d;  // rows (a, b) and (c, d)
};

struct DoubleColumn {
  double lossOverH = std::numeric_limits<double>::quiet_NaN();
  std::array<std::complex<double>, kMax + 1> vstar{};
  std::array<std::complex<double>, kMax> alpha{};
};

// The per-record values shared by every way of computing a sample.
struct Column {
  int n = 0;
  std::array<Complex, kMax + 1> vstar{};  // complex S-wave velocity per record
  std::array<Complex, kMax> alpha{};      // impedance ratio of a layer to the record below
  std::array<float, kMax> thickness{};
  const SoilProfile* profile = nullptr;
  double lossOverH = 0.0;  // 2, or 2ω/ω₁ for viscous damping
  // What every sample of the float32 pass would work out again, each by the
  // same operation: 1 + α, 1 - α and |v*|² as fast::Div's denominator.
  // Used only when all are finite, for then computing them raised no flag.
  std::array<Complex, kMax> onePlusAlpha{}, oneMinusAlpha{};
  std::array<float, kMax> vstarNorm{};
  bool constantsFinite = false;
  // The sample in double's own velocities and impedance ratios, for the
  // loss they were worked out for (NaN: none yet).
  mutable DoubleColumn inDouble;
};

void SetConstants(Column& col);

void SetVelocities(Column& col, const SoilProfile& profile, double lossOverH) {
  const auto& rec = profile.layers;
  col.lossOverH = lossOverH;
  for (int r = 0; r <= col.n; ++r) {
    const float loss = checked::StoreSingle(lossOverH * rec[r].dampingRatio);
    col.vstar[r] = ComplexScale(rec[r].vs, ComplexSqrt(MakeComplex(1.0f, loss)));
  }
  for (int m = 0; m < col.n; ++m) {
    col.alpha[m] = ComplexDiv(ComplexScale(rec[m].density, col.vstar[m]),
                              ComplexScale(rec[m + 1].density, col.vstar[m + 1]));
  }
  SetConstants(col);
}

// Mycomplex's operations, each component rounded to float32 once, without
// the checks; a fault shows in the floating-point flags instead.
namespace fast {
inline float Store(double x) { return static_cast<float>(x); }
inline Complex Add(Complex a, Complex b) {
  return {Store(static_cast<double>(a.re) + b.re), Store(static_cast<double>(a.im) + b.im)};
}
inline Complex Sub(Complex a, Complex b) {
  return {Store(static_cast<double>(a.re) - b.re), Store(static_cast<double>(a.im) - b.im)};
}
inline Complex Mul(Complex a, Complex b) {
  return {Store(static_cast<double>(a.re) * b.re - static_cast<double>(a.im) * b.im),
          Store(static_cast<double>(a.im) * b.re + static_cast<double>(a.re) * b.im)};
}
inline Complex Half(Complex z) { return {Store(0.5 * z.re), Store(0.5 * z.im)}; }
// a / b with d = |b|² as Div works it out.
inline Complex DivByNorm(Complex a, Complex b, float d) {
  const float p = Store(static_cast<double>(a.re) * b.re + static_cast<double>(a.im) * b.im);
  const float q = Store(static_cast<double>(a.im) * b.re - static_cast<double>(a.re) * b.im);
  return {Store(static_cast<double>(p) / d), Store(static_cast<double>(q) / d)};
}
inline Complex Div(Complex a, Complex b) {
  return DivByNorm(a, b, Store(static_cast<double>(b.re) * b.re + static_cast<double>(b.im) * b.im));
}
inline double Abs(Complex z) {
  return std::sqrt(Store(static_cast<double>(z.re) * z.re + static_cast<double>(z.im) * z.im));
}
inline ExpPair ExpOf(Complex z) { return FastExpPair(z); }
}  // namespace fast

void SetConstants(Column& col) {
  const Complex one = MakeComplex(1.0f, 0.0f);
  bool finite = true;
  auto isFinite = [](Complex z) { return std::isfinite(z.re) && std::isfinite(z.im); };
  for (int m = 0; m < col.n; ++m) {
    col.onePlusAlpha[m] = fast::Add(one, col.alpha[m]);
    col.oneMinusAlpha[m] = fast::Sub(one, col.alpha[m]);
    const Complex b = col.vstar[m];
    col.vstarNorm[m] = fast::Store(static_cast<double>(b.re) * b.re + static_cast<double>(b.im) * b.im);
    finite = finite && isFinite(col.onePlusAlpha[m]) && isFinite(col.oneMinusAlpha[m]) &&
             std::isfinite(col.vstarNorm[m]);
  }
  col.constantsFinite = finite;
}

// One sample in float32, the steps of the method in their order. Ops is the
// set of operations: checked (Mycomplex) or fast.
// Returns how much the motion sums A + B + C + D cancelled: the largest
// ratio of the sum of their sizes to the size of their sum.
template <bool kChecked>
double Float32Sample(const Column& col, float omega, std::array<float, kMax>& values) {
  const int n = col.n;
  auto add = [](Complex a, Complex b) { return kChecked ? ComplexAdd(a, b) : fast::Add(a, b); };
  auto sub = [](Complex a, Complex b) { return kChecked ? ComplexSub(a, b) : fast::Sub(a, b); };
  auto mul = [](Complex a, Complex b) { return kChecked ? ComplexMul(a, b) : fast::Mul(a, b); };
  auto half = [](Complex z) { return kChecked ? ComplexScale(0.5f, z) : fast::Half(z); };
  auto div = [](Complex a, Complex b) { return kChecked ? ComplexDiv(a, b) : fast::Div(a, b); };
  auto abs = [](Complex z) { return kChecked ? ComplexAbs(z) : fast::Abs(z); };
  auto store = [](double x) { return kChecked ? checked::StoreSingle(x) : fast::Store(x); };
  const Complex one = MakeComplex(1.0f, 0.0f);

  Matrix2 product{};
  double cancellation = 1.0;
  std::array<Complex, kMax> surfaceOver{};  // S_m: surface motion / motion at the top of record m+1
  for (int m = 0; m < n; ++m) {
    const float omegaH = store(static_cast<double>(omega) * col.thickness[m]);
    const bool known = !kChecked && col.constantsFinite;
    const Complex theta = known ? fast::DivByNorm(MakeComplex(0.0f, omegaH), col.vstar[m], col.vstarNorm[m])
                                : div(MakeComplex(0.0f, omegaH), col.vstar[m]);
    const auto [ePlus, eMinus] = kChecked ? ComplexExpPair(theta) : fast::ExpOf(theta);
    const Complex sPlus = known ? col.onePlusAlpha[m] : add(one, col.alpha[m]);
    const Complex sMinus = known ? col.oneMinusAlpha[m] : sub(one, col.alpha[m]);
    const Matrix2 t{half(mul(sPlus, ePlus)), half(mul(sMinus, eMinus)), half(mul(sMinus, ePlus)),
                    half(mul(sPlus, eMinus))};
    if (m == 0) {
      product = t;
    } else {
      const Matrix2 p = product;
      product = {add(mul(t.a, p.a), mul(t.b, p.c)), add(mul(t.a, p.b), mul(t.b, p.d)),
                 add(mul(t.c, p.a), mul(t.d, p.c)), add(mul(t.c, p.b), mul(t.d, p.d))};
    }
    // With E_0 = F_0 = 1 the surface moves by 2 and the top of record m+1
    // by A + B + C + D of P_m.
    const Complex motion = add(add(product.a, product.b), add(product.c, product.d));
    surfaceOver[m] = div(MakeComplex(2.0f, 0.0f), motion);
    const double sizes = std::fabs(product.a.re) + std::fabs(product.a.im) + std::fabs(product.b.re) +
                         std::fabs(product.b.im) + std::fabs(product.c.re) + std::fabs(product.c.im) +
                         std::fabs(product.d.re) + std::fabs(product.d.im);
    cancellation = std::max(cancellation, sizes / (std::fabs(motion.re) + std::fabs(motion.im)));
  }
  const Complex surfaceOverBase = surfaceOver[n - 1];
  values[0] = store(abs(surfaceOverBase));
  for (int m = 1; m < n; ++m) values[m] = store(abs(div(surfaceOverBase, surfaceOver[m - 1])));
  return cancellation;
}

// Float32Sample<false> for four samples at once, one per lane: the same
// operations in the same order, so each lane has that sample's bits and
// raises its flags. Needs the column's constants finite.
namespace lane_pass {
using lanes::Complex4;
using lanes::D4;
using lanes::F4;
using lanes::Splat;

[[gnu::always_inline]] inline Complex4 Splat(Complex z) { return {Splat(z.re), Splat(z.im)}; }
template <class Isa>
[[gnu::always_inline]] inline Complex4 DivByNorm(Complex4 a, Complex4 b, D4 d) {
  const D4 p = lanes::Single<Isa>(a.re * b.re + a.im * b.im);
  const D4 q = lanes::Single<Isa>(a.im * b.re - a.re * b.im);
  return {lanes::Single<Isa>(p / d), lanes::Single<Isa>(q / d)};
}
template <class Isa>
[[gnu::always_inline]] inline Complex4 Div(Complex4 a, Complex4 b) {
  return DivByNorm<Isa>(a, b, lanes::Single<Isa>(b.re * b.re + b.im * b.im));
}
template <class Isa>
[[gnu::always_inline]] inline D4 SquaredAbs(Complex4 z) {
  return lanes::Single<Isa>(z.re * z.re + z.im * z.im);
}

// The steps whose result is only added or halved next leave the float32
// value in float form (see lanes::Narrow); the add and the halving then run
// in float32 itself, which gives the double steps' rounded results exactly.
using Float4 = lanes::ComplexOf<F4>;
template <class Isa>
[[gnu::always_inline]] inline Float4 MulToFloat(Complex4 a, Complex4 b) {
  return {lanes::Narrow<Isa>(a.re * b.re - a.im * b.im), lanes::Narrow<Isa>(a.im * b.re + a.re * b.im)};
}
[[gnu::always_inline]] inline Float4 AddFloat(Float4 a, Float4 b) { return {a.re + b.re, a.im + b.im}; }
[[gnu::always_inline]] inline Float4 HalfFloat(Float4 z) { return {0.5f * z.re, 0.5f * z.im}; }
template <class Isa>
[[gnu::always_inline]] inline Float4 ToFloat(Complex4 z) {
  return {lanes::Narrow<Isa>(z.re), lanes::Narrow<Isa>(z.im)};
}
template <class Isa>
[[gnu::always_inline]] inline Complex4 ToDouble(Float4 z) {
  return {lanes::Widen<Isa>(z.re), lanes::Widen<Isa>(z.im)};
}
// DivByNorm with the two last divisions in float32.
template <class Isa>
[[gnu::always_inline]] inline Complex4 DivByNormFloat(Complex4 a, Complex4 b, F4 d) {
  const F4 p = lanes::Narrow<Isa>(a.re * b.re + a.im * b.im);
  const F4 q = lanes::Narrow<Isa>(a.im * b.re - a.re * b.im);
  return {lanes::Widen<Isa>(p / d), lanes::Widen<Isa>(q / d)};
}

struct Out {
  double cancellation[4];
  float values[4][kMax];
};

template <class Isa>
[[gnu::always_inline]] inline void Samples(const Column& col, const float* omega, Out& out) {
  const int n = col.n;
  const D4 w = {omega[0], omega[1], omega[2], omega[3]};
  // The layer matrices T_m depend on ω alone: all of them first, so the
  // chain of products below waits for nothing else.
  std::array<Complex4, kMax> ta, tb, tc, td;
  for (int m = 0; m < n; ++m) {
    const D4 omegaH = lanes::Single<Isa>(w * static_cast<double>(col.thickness[m]));
    const Complex4 vstar = Splat(col.vstar[m]);
    const Complex4 theta = DivByNormFloat<Isa>(Complex4{Splat(0.0), omegaH}, vstar, F4{} + col.vstarNorm[m]);
    Complex4 ePlus, eMinus;
    lanes::ExpPairs<Isa>(theta, ePlus, eMinus);
    const Complex4 sPlus = Splat(col.onePlusAlpha[m]);
    const Complex4 sMinus = Splat(col.oneMinusAlpha[m]);
    ta[m] = ToDouble<Isa>(HalfFloat(MulToFloat<Isa>(sPlus, ePlus)));
    tb[m] = ToDouble<Isa>(HalfFloat(MulToFloat<Isa>(sMinus, eMinus)));
    tc[m] = ToDouble<Isa>(HalfFloat(MulToFloat<Isa>(sMinus, ePlus)));
    td[m] = ToDouble<Isa>(HalfFloat(MulToFloat<Isa>(sPlus, eMinus)));
  }
  // The product P_m, in double for the next products and the sizes, in
  // float form for the sums.
  Complex4 pa{}, pb{}, pc{}, pd{};
  Float4 fa{}, fb{}, fc{}, fd{};
  D4 cancellation = Splat(1.0);
  std::array<Complex4, kMax> surfaceOver;
  for (int m = 0; m < n; ++m) {
    if (m == 0) {
      pa = ta[0], pb = tb[0], pc = tc[0], pd = td[0];
      fa = ToFloat<Isa>(pa), fb = ToFloat<Isa>(pb), fc = ToFloat<Isa>(pc), fd = ToFloat<Isa>(pd);
    } else {
      fa = AddFloat(MulToFloat<Isa>(ta[m], pa), MulToFloat<Isa>(tb[m], pc));
      fb = AddFloat(MulToFloat<Isa>(ta[m], pb), MulToFloat<Isa>(tb[m], pd));
      fc = AddFloat(MulToFloat<Isa>(tc[m], pa), MulToFloat<Isa>(td[m], pc));
      fd = AddFloat(MulToFloat<Isa>(tc[m], pb), MulToFloat<Isa>(td[m], pd));
      pa = ToDouble<Isa>(fa), pb = ToDouble<Isa>(fb), pc = ToDouble<Isa>(fc), pd = ToDouble<Isa>(fd);
    }
    const Complex4 motion = ToDouble<Isa>(AddFloat(AddFloat(fa, fb), AddFloat(fc, fd)));
    surfaceOver[m] =
        DivByNormFloat<Isa>(Complex4{Splat(2.0), Splat(0.0)}, motion,
                            lanes::Narrow<Isa>(motion.re * motion.re + motion.im * motion.im));
    using lanes::Abs;
    const D4 sizes =
        Abs(pa.re) + Abs(pa.im) + Abs(pb.re) + Abs(pb.im) + Abs(pc.re) + Abs(pc.im) + Abs(pd.re) + Abs(pd.im);
    cancellation = lanes::Max(cancellation, sizes / (Abs(motion.re) + Abs(motion.im)));
  }
  const Complex4 base = surfaceOver[n - 1];
  // No lambda here: a vector argument must never cross a call.
  for (int m = 0; m < n; ++m) {
    const D4 squared = SquaredAbs<Isa>(m == 0 ? base : Div<Isa>(base, surfaceOver[m - 1]));
    for (int k = 0; k < lanes::kLanes; ++k) out.values[k][m] = static_cast<float>(std::sqrt(squared[k]));
  }
  for (int k = 0; k < lanes::kLanes; ++k) out.cancellation[k] = cancellation[k];
}

// The instruction sets the pass is built for, each chosen only where the
// processor has it. Every one gives the same bits and flags.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target("avx2,fma"), gnu::flatten]] void SamplesAvx2(const Column& col, const float* omega, Out& out) {
  Samples<lanes::Avx2>(col, omega, out);
}
void SamplesSse2(const Column& col, const float* omega, Out& out) {
  Samples<lanes::Baseline>(col, omega, out);
}
bool Runs(LanePath path) {
  static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return path == LanePath::kSse2 || avx2;
}
void FourSamples(LanePath path, const Column& col, const float* omega, Out& out) {
  if (path == LanePath::kAvx2) {
    SamplesAvx2(col, omega, out);
  } else {
    SamplesSse2(col, omega, out);
  }
}
#else
bool Runs(LanePath path) { return path == LanePath::kSse2; }
void FourSamples(LanePath, const Column& col, const float* omega, Out& out) {
  Samples<lanes::Baseline>(col, omega, out);
}
#endif
LanePath Fastest() {
  static const LanePath path = Runs(LanePath::kAvx2) ? LanePath::kAvx2 : LanePath::kSse2;
  return path;
}
}  // namespace lane_pass

// std::max(|a|, |b|) with one hypot where the squared sizes already tell
// which is larger: a relative 2^-30 between them is far beyond the squares'
// rounding and the library's error of below an ulp, so the other's |.| can
// only be the smaller one. Near a tie, with a square too small to be exact
// to that margin (below the normal range) or not finite, both as ever.
double LargerAbs(std::complex<double> a, std::complex<double> b) {
  constexpr double kMargin = 1.0 + 0x1p-30;
  constexpr double kSmallest = std::numeric_limits<double>::min();
  const double a2 = a.real() * a.real() + a.imag() * a.imag();
  const double b2 = b.real() * b.real() + b.imag() * b.imag();
  const bool normal = a2 >= kSmallest && b2 >= kSmallest && std::isfinite(a2) && std::isfinite(b2);
  if (normal && a2 > b2 * kMargin) return std::abs(a);
  if (normal && b2 > a2 * kMargin) return std::abs(b);
  return std::max(std::abs(a), std::abs(b));
}

// One sample by the wave amplitudes in double: (E, F) carried down with the
// growth e^Re θ taken out into a logarithm, so nothing overflows; ratios
// below the float32 range become 0.
void RenormalisedSample(const Column& col, float omega, std::array<float, kMax>& values) {
  using C = std::complex<double>;
  const int n = col.n;
  std::array<C, kMax + 1> motion{};    // (E + F) at the top of record r, scaled
  std::array<double, kMax + 1> logScale{};  // ln of that scale
  C e(1.0, 0.0), f(1.0, 0.0);
  double logE = 0.0;
  motion[0] = 2.0;
  const auto& rec = col.profile->layers;
  // The velocities and ratios depend on the loss alone: worked out once for
  // all the samples that share it.
  DoubleColumn& dc = col.inDouble;
  if (!(dc.lossOverH == col.lossOverH)) {
    auto velocity = [&](int r) {
      return static_cast<double>(rec[r].vs) * std::sqrt(C(1.0, col.lossOverH * rec[r].dampingRatio));
    };
    for (int m = 0; m <= n; ++m) dc.vstar[m] = velocity(m);
    for (int m = 0; m < n; ++m) {
      dc.alpha[m] = (static_cast<double>(rec[m].density) * dc.vstar[m]) /
                    (static_cast<double>(rec[m + 1].density) * dc.vstar[m + 1]);
    }
    dc.lossOverH = col.lossOverH;
  }
  for (int m = 0; m < n; ++m) {
    const C vstar = dc.vstar[m];
    const C alpha = dc.alpha[m];
    const C theta = C(0.0, static_cast<double>(omega) * col.thickness[m]) / vstar;
    // e^θ = e^r·e^{iy}; the factor e^r goes into the logarithm, e^-θ keeps e^-2r.
    const double r = theta.real();
    const C up = std::polar(1.0, theta.imag());
    const C down = std::exp(-2.0 * r) * std::polar(1.0, -theta.imag());
    const C nextE = 0.5 * ((1.0 + alpha) * up * e + (1.0 - alpha) * down * f);
    const C nextF = 0.5 * ((1.0 - alpha) * up * e + (1.0 + alpha) * down * f);
    const double size = LargerAbs(nextE, nextF);
    const double norm = size > 0.0 ? size : 1.0;
    e = nextE / norm;
    f = nextF / norm;
    logE += r + std::log(norm);
    motion[m + 1] = e + f;
    logScale[m + 1] = logE;
  }
  auto ratio = [&](int top) {
    // |motion at the top of record `top` / motion at the top of the base|
    const double q = std::abs(motion[top]) / std::abs(motion[n]) * std::exp(logScale[top] - logScale[n]);
    return checked::StoreSingle(q);
  };
  for (int m = 0; m < n; ++m) values[m] = ratio(m);
}

void ComputeSample(const Column& col, float omega, std::array<float, kMax>& values) {
  std::feclearexcept(kFaultFlags);
  const double cancellation = Float32Sample<false>(col, omega, values);
  bool clean = std::fetestexcept(kFaultFlags) == 0;
  for (int m = 0; m < col.n; ++m) clean = clean && std::isfinite(values[m]);
  if (clean) {
    // Near a sharp resonance the motion sums cancel and float32 loses the
    // last printed digits; such a sample is computed in double.
    if (!(cancellation > kMostCancellation)) return;
    RenormalisedSample(col, omega, values);
    return;
  }
  try {
    Float32Sample<true>(col, omega, values);
  } catch (const FloatingPointFault& fault) {
    if (fault.kind() != FloatingPointFault::Kind::Overflow) throw;
    RenormalisedSample(col, omega, values);
  }
}

// The float32 pass of every sample with one look at the floating-point flags
// instead of one per sample. False, with the table untouched, when any
// sample may need more than that pass (a flag, a value that is not finite, a
// check that would fail): the samples are then computed one by one, each
// meeting its fault in its place. Otherwise the table is filled sample after
// sample as one by one would, a sharp resonance again in double, so a fault
// there leaves the table as that would too.
bool AllSamplesAtOnce(Column& col, const SoilProfile& profile, const AmplificationResult& samples, bool viscous,
                      double omega1, const std::optional<LanePath>& lanes, LayerAmplifications& table) {
  const int n = col.n;
  const int points = samples.pointCount;
  if (points < 0 || points > kMaxPoints) return false;
  struct Sample {
    float omega;
    double lossOverH;
    double cancellation;
    std::array<float, kMax> values;
  };
  // Uninitialised: every sample used is written first.
  thread_local std::array<Sample, kMaxPoints> pass;
  try {
    std::feclearexcept(kFaultFlags);
    if (!viscous && col.constantsFinite && lanes) {
      // One column for every sample: four samples side by side. The last
      // group repeats its last sample in the lanes left over.
      for (int j = 0; j < points; ++j) {
        pass[j].omega = checked::StoreSingle(kTwoPi * samples.frequency[j]);
        pass[j].lossOverH = col.lossOverH;
      }
      lane_pass::Out out;
      for (int j = 0; j < points; j += 4) {
        float omega[4];
        for (int k = 0; k < 4; ++k) omega[k] = pass[std::min(j + k, points - 1)].omega;
        lane_pass::FourSamples(*lanes, col, omega, out);
        for (int k = 0; k < 4 && j + k < points; ++k) {
          pass[j + k].cancellation = out.cancellation[k];
          std::copy_n(out.values[k], n, pass[j + k].values.begin());
        }
      }
    } else {
      for (int j = 0; j < points; ++j) {
        Sample& sample = pass[j];
        sample.omega = checked::StoreSingle(kTwoPi * samples.frequency[j]);
        if (viscous) SetVelocities(col, profile, checked::Divide(2.0 * sample.omega, omega1));
        sample.lossOverH = col.lossOverH;
        sample.cancellation = Float32Sample<false>(col, sample.omega, sample.values);
      }
    }
  } catch (...) {
    return false;
  }
  bool clean = std::fetestexcept(kFaultFlags) == 0;
  for (int j = 0; j < points && clean; ++j) {
    for (int m = 0; m < n; ++m) clean = clean && std::isfinite(pass[j].values[m]);
  }
  if (!clean) return false;
  for (int j = 0; j < points; ++j) {
    Sample& sample = pass[j];
    if (sample.cancellation > kMostCancellation) {
      col.lossOverH = sample.lossOverH;
      RenormalisedSample(col, sample.omega, sample.values);
    }
    for (int m = 0; m < n; ++m) table[m][j] = sample.values[m];
  }
  return true;
}

void Amplification(const SoilProfile& profile, const AnalysisSettings& settings, const AmplificationResult& samples,
                   const NaturalModes& modes, const std::optional<LanePath>& lanes, LayerAmplifications& table) {
  // The faults of a profile with no layers or too many come with the model.
  const int n = BuildLumpedMassModel(profile).n;
  const int points = samples.pointCount;
  for (int m = 0; m < n; ++m) {
    if (static_cast<int>(table[m].size()) != points) table[m].assign(points, 0.0f);
  }
  Column col;
  col.n = n;
  col.profile = &profile;
  for (int m = 0; m < n; ++m) col.thickness[m] = profile.layers[m].thickness;
  const bool viscous = settings.dampingForm != DampingForm::Hysteretic;
  double omega1 = 0.0;
  if (viscous) {
    // Viscous loss grows with ω relative to the first natural circular
    // frequency; the lumped-mass damping constant 2h/ω₁ is checked as that
    // method checks it, so both methods meet the same fault.
    omega1 = checked::Sqrt(modes.eigenValues[0]);
    checked::Divide(2.0 * StrToSingle(settings.dampingText), omega1);
  } else {
    SetVelocities(col, profile, 2.0);
  }

  if (!AllSamplesAtOnce(col, profile, samples, viscous, omega1, lanes, table)) {
    std::array<float, kMax> values{};
    for (int j = 0; j < points; ++j) {
      const float omega = checked::StoreSingle(kTwoPi * samples.frequency[j]);
      if (viscous) SetVelocities(col, profile, checked::Divide(2.0 * omega, omega1));
      ComputeSample(col, omega, values);
      for (int m = 0; m < n; ++m) table[m][j] = values[m];
    }
  }
  std::feclearexcept(kFaultFlags);
}

}  // namespace

void TransferMatrixAmplification(const SoilProfile& profile, const AnalysisSettings& settings,
                                 const AmplificationResult& samples, const NaturalModes& modes,
                                 LayerAmplifications& table) {
  Amplification(profile, settings, samples, modes, lane_pass::Fastest(), table);
}

void TransferMatrixAmplificationOneByOne(const SoilProfile& profile, const AnalysisSettings& settings,
                                         const AmplificationResult& samples, const NaturalModes& modes,
                                         LayerAmplifications& table) {
  Amplification(profile, settings, samples, modes, std::nullopt, table);
}

bool LanePathRuns(LanePath path) { return lane_pass::Runs(path); }

void TransferMatrixAmplificationInLanes(const SoilProfile& profile, const AnalysisSettings& settings,
                                        const AmplificationResult& samples, const NaturalModes& modes, LanePath path,
                                        LayerAmplifications& table) {
  Amplification(profile, settings, samples, modes, path, table);
}

MethodResult CalculateTransferMatrix(const SoilProfile& profile, const AnalysisSettings& settings,
                                     const AmplificationResult& samples) {
  MethodResult result;
  result.modes = SolveNaturalModes(profile);
  TransferMatrixAmplification(profile, settings, samples, result.modes, result.amplification);
  return result;
}
