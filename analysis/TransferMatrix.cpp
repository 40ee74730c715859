// The transfer matrix method: up- and down-going shear waves carried from the
// free surface down through the layer interfaces, in double, four samples at
// a time, every value rounded once to float32 when it is stored.
//
// With θ = iωH/V* of a layer and α its impedance over that of the record
// below, the layer carries (E, F) from its top to the top of the next record
// by ½[(1+α)e^θ, (1−α)e^−θ; (1−α)e^θ, (1+α)e^−θ]. The kernel takes the growth
// e^Re θ of every layer out and rescales the pair by a power of two after
// every layer, so no site overflows however deep, soft or damped it is; the
// ratios of the motions E + F get the scales back as a product from the base
// up, where the small values it may reach are the answers themselves.
//
// The lanes' vector values never cross a call of another file: their calling
// convention does not matter.
#pragma GCC diagnostic ignored "-Wpsabi"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

#include "analysis/Calculators.h"
#include "analysis/Lanes.h"
#include "analysis/LumpedMassModel.h"
#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kMax = 20;
constexpr int kLanes = lanes::kLanes;

using lanes::Complex4;
using lanes::D4;
using lanes::I4;
using lanes::Splat;

// What the kernel reads of the profile, in double.
struct ColumnValues {
  int n = 0;
  std::array<double, kMax + 1> vs{}, density{}, damping{};
  std::array<double, kMax> thickness{};
};

// What each layer's waves depend on besides ω, per lane: the same in every
// lane for hysteretic damping, each lane's own loss for viscous damping.
struct LaneColumn {
  std::array<Complex4, kMax> halfAlpha;  // α_m / 2
  std::array<Complex4, kMax> slowness;   // θ_m / ω = i·H_m / V*_m
};

// The kernel's results for four samples, layer by layer and lane by lane:
// |u(top of layer m) / u(top of the base)|, and the complex ratio itself.
struct GroupOut {
  alignas(32) D4 value[kMax];
  alignas(32) D4 ratioRe[kMax];
  alignas(32) D4 ratioIm[kMax];
};

#define TOVALK_KERNEL [[gnu::always_inline]] inline

// V*_r = Vs_r·√(1 + i·loss·h_r), the impedances ρ_r·V*_r and from them the
// layers' α and slowness. False when a velocity or an impedance below a
// layer is zero: a ratio by it would be 0/0.
template <class Isa>
TOVALK_KERNEL bool SetColumn(const ColumnValues& c, const double* lossOverH, LaneColumn& out) {
  using lanes::MulAdd;
  const D4 loss = {lossOverH[0], lossOverH[1], lossOverH[2], lossOverH[3]};
  std::array<Complex4, kMax + 1> vstar, impedance;
  for (int r = 0; r <= c.n; ++r) {
    const D4 b = loss * c.damping[r];
    // √(1 + ib) with |1 + ib| = √(1 + b²): real part √((1 + |.|)/2), never 0.
    const D4 re = lanes::Sqrt<Isa>(0.5 + 0.5 * lanes::Sqrt<Isa>(MulAdd<Isa>(b, b, Splat(1.0))));
    const D4 im = b / (2.0 * re);
    vstar[r] = {c.vs[r] * re, c.vs[r] * im};
    impedance[r] = Splat(c.density[r]) * vstar[r];
  }
  I4 zero = I4{};
  for (int m = 0; m < c.n; ++m) {
    const D4 below = lanes::Norm<Isa>(impedance[m + 1]);
    const D4 speed = lanes::Norm<Isa>(vstar[m]);
    zero |= (below == 0.0) | (speed == 0.0);
    out.halfAlpha[m] = (0.5 / below) * lanes::MulConj<Isa>(impedance[m], impedance[m + 1]);
    // i·H·conj(V*) / |V*|²
    const D4 h = c.thickness[m] / speed;
    out.slowness[m] = {h * vstar[m].im, h * vstar[m].re};
  }
  return !lanes::Any(zero);
}

// The arguments the kernels do not serve, lane by lane through the library.
TOVALK_KERNEL void LibrarySinCos(I4 lanesFor, D4 y, D4& sine, D4& cosine) {
  for (int k = 0; k < kLanes; ++k) {
    if (!lanesFor[k]) continue;
    sine[k] = std::sin(y[k]);
    cosine[k] = std::cos(y[k]);
  }
}
TOVALK_KERNEL void LibraryExp(I4 lanesFor, D4 x, D4& e) {
  for (int k = 0; k < kLanes; ++k) {
    if (lanesFor[k]) e[k] = std::exp(x[k]);
  }
}

template <class Isa>
TOVALK_KERNEL void Group(const ColumnValues& c, const LaneColumn& col, const double* omegas, GroupOut& out) {
  using lanes::MulAdd;
  const int n = c.n;
  const D4 omega = {omegas[0], omegas[1], omegas[2], omegas[3]};
  // E_0 = F_0 = 1: the surface moves by 2.
  Complex4 e = Splat(1.0, 0.0), f = Splat(1.0, 0.0);
  std::array<Complex4, kMax + 1> motion;  // (E + F) at the top of record r, scaled
  // What the scale of record m+1 is over that of record m, inverted:
  // e^-Re θ_m (the square root of e^{-2 Re θ}) times the power of two.
  std::array<D4, kMax> shrink;
  motion[0] = Splat(2.0, 0.0);
  for (int m = 0; m < n; ++m) {
    const D4 re = omega * col.slowness[m].re, im = omega * col.slowness[m].im;
    // e^θ = e^re·e^{i im}: e^re goes into the scale, e^−θ keeps e^{−2 re}.
    D4 sine, cosine;
    I4 unsure;
    lanes::SinCos<Isa>(im, sine, cosine, unsure);
    const D4 x = -2.0 * re;
    D4 decay = lanes::Exp<Isa>(x);
    const I4 badSine = unsure | lanes::SinCosOutOfRange(im), badExp = lanes::ExpOutOfRange(x);
    if (lanes::Any(badSine | badExp)) [[unlikely]] {
      LibrarySinCos(badSine, im, sine, cosine);
      LibraryExp(badExp, x, decay);
    }
    const Complex4 up = lanes::Mul<Isa>(e, Complex4{cosine, sine});
    const Complex4 down = lanes::Mul<Isa>(f, Complex4{decay * cosine, -(decay * sine)});
    // E' = ½(U + D) + ½α(U − D), F' = ½(U + D) − ½α(U − D)
    const Complex4 mean = Splat(0.5) * (up + down);
    const Complex4 odd = lanes::Mul<Isa>(col.halfAlpha[m], up - down);
    e = mean + odd;
    f = mean - odd;
    // Scaled by the power of two that brings the largest part near 1 (exact).
    const D4 largest =
        lanes::Max(lanes::Max(lanes::Abs(e.re), lanes::Abs(e.im)), lanes::Max(lanes::Abs(f.re), lanes::Abs(f.im)));
    const I4 exponent = lanes::ExponentField(largest);
    const I4 normal = (exponent >= 1) & (exponent <= 2045);
    const D4 scale = lanes::Select(normal, lanes::Bits((2046 - exponent) << 52), Splat(1.0));
    e = scale * e;
    f = scale * f;
    motion[m + 1] = e + f;
    shrink[m] = lanes::Sqrt<Isa>(decay) * scale;
  }
  // u(top of record m) / u(top of the base), the scales' ratio built up from
  // the base.
  const Complex4 base = motion[n];
  D4 factor = 1.0 / lanes::Norm<Isa>(base);
  for (int m = n - 1; m >= 0; --m) {
    factor = factor * shrink[m];
    const Complex4 ratio = factor * lanes::MulConj<Isa>(motion[m], base);
    out.value[m] = lanes::Sqrt<Isa>(lanes::Norm<Isa>(ratio));
    out.ratioRe[m] = ratio.re;
    out.ratioIm[m] = ratio.im;
  }
}

// Each kernel built for each instruction set, chosen only where the
// processor has it.
using SetColumnFn = bool (*)(const ColumnValues&, const double*, LaneColumn&);
using GroupFn = void (*)(const ColumnValues&, const LaneColumn&, const double*, GroupOut&);
struct Kernels {
  SetColumnFn setColumn;
  GroupFn group;
};

bool SetColumnSse2(const ColumnValues& c, const double* loss, LaneColumn& out) {
  return SetColumn<lanes::Baseline>(c, loss, out);
}
void GroupSse2(const ColumnValues& c, const LaneColumn& col, const double* omega, GroupOut& out) {
  Group<lanes::Baseline>(c, col, omega, out);
}
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target("avx2,fma"), gnu::flatten]] bool SetColumnAvx2(const ColumnValues& c, const double* loss,
                                                             LaneColumn& out) {
  return SetColumn<lanes::Avx2>(c, loss, out);
}
[[gnu::target("avx2,fma"), gnu::flatten]] void GroupAvx2(const ColumnValues& c, const LaneColumn& col,
                                                         const double* omega, GroupOut& out) {
  Group<lanes::Avx2>(c, col, omega, out);
}
bool Runs(LanePath path) {
  static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return path == LanePath::kSse2 || avx2;
}
Kernels KernelsFor(LanePath path) {
  if (path == LanePath::kAvx2) return {SetColumnAvx2, GroupAvx2};
  return {SetColumnSse2, GroupSse2};
}
#else
bool Runs(LanePath path) { return path == LanePath::kSse2; }
Kernels KernelsFor(LanePath) { return {SetColumnSse2, GroupSse2}; }
#endif
LanePath Fastest() {
  static const LanePath path = Runs(LanePath::kAvx2) ? LanePath::kAvx2 : LanePath::kSse2;
  return path;
}

ColumnValues ValuesOf(const SoilProfile& profile, int n) {
  ColumnValues c;
  c.n = n;
  for (int r = 0; r <= n; ++r) {
    const SoilLayer& layer = profile.layers[r];
    c.vs[r] = layer.vs;
    c.density[r] = layer.density;
    c.damping[r] = layer.dampingRatio;
    if (r < n) c.thickness[r] = layer.thickness;
  }
  return c;
}

// The column of a run: its values, the kernels, and for hysteretic damping
// the lanes' column, the same for every sample.
class Run {
 public:
  // n: the layers of the profile's lumped-mass model, whose faults (no
  // layers, too many) come first.
  Run(const SoilProfile& profile, int n, const AnalysisSettings& settings, const NaturalModes& modes, LanePath path)
      : values_(ValuesOf(profile, n)), kernels_(KernelsFor(path)) {
    viscous_ = settings.dampingForm != DampingForm::Hysteretic;
    if (viscous_) {
      // Viscous loss grows with ω relative to the first natural circular
      // frequency; the lumped-mass damping constant 2h/ω₁ is checked as that
      // method checks it, so both methods meet the same fault.
      omega1_ = checked::Sqrt(modes.eigenValues[0]);
      checked::Divide(2.0 * StrToSingle(settings.dampingText), omega1_);
    } else {
      const double loss[kLanes] = {2.0, 2.0, 2.0, 2.0};
      SetColumnChecked(loss, fixed_);
    }
  }

  int Layers() const { return values_.n; }

  // Four samples, every lane a valid ω.
  void Compute(const double* omega, GroupOut& out) {
    const LaneColumn* col = &fixed_;
    if (viscous_) {
      double loss[kLanes];
      for (int k = 0; k < kLanes; ++k) loss[k] = 2.0 * omega[k] / omega1_;
      SetColumnChecked(loss, own_);
      col = &own_;
    }
    kernels_.group(values_, *col, omega, out);
  }

 private:
  void SetColumnChecked(const double* loss, LaneColumn& col) {
    if (!kernels_.setColumn(values_, loss, col)) checked::Raise(FloatingPointFault::Kind::InvalidOperation);
  }

  ColumnValues values_;
  Kernels kernels_;
  bool viscous_ = false;
  double omega1_ = 0.0;
  LaneColumn fixed_, own_;
};

void Amplification(const SoilProfile& profile, const AnalysisSettings& settings, const AmplificationResult& samples,
                   const NaturalModes& modes, LanePath path, LayerAmplifications& table) {
  const int n = BuildLumpedMassModel(profile).n;
  const int points = std::clamp(samples.pointCount, 0, kMaxPoints);
  for (int m = 0; m < n; ++m) {
    if (static_cast<int>(table[m].size()) != points) table[m].assign(points, 0.0f);
  }
  Run run(profile, n, settings, modes, path);
  GroupOut out;
  for (int g = 0; g < points; g += kLanes) {
    // ω in float32, as the method stores it. Samples are stored in order: a
    // fault leaves those before it in the table, as one sample at a time
    // would. The lanes beyond the last sample or a bad ω repeat a good one.
    double omega[kLanes];
    const int count = std::min(kLanes, points - g);
    int good = 0;
    for (; good < count; ++good) {
      const double wide = kTwoPi * samples.frequency[g + good];
      if (std::isnan(wide) || std::isinf(static_cast<float>(wide))) break;
      omega[good] = static_cast<float>(wide);
    }
    for (int k = good; k < kLanes; ++k) omega[k] = good > 0 ? omega[0] : 0.0;
    run.Compute(omega, out);
    for (int k = 0; k < good; ++k) {
      float stored[kMax];
      bool finite = true;
      for (int m = 0; m < n; ++m) {
        stored[m] = static_cast<float>(out.value[m][k]);
        finite = finite && std::isfinite(stored[m]);
      }
      // NaN or beyond float32: the fault of the first such value.
      if (!finite) {
        for (int m = 0; m < n; ++m) checked::StoreSingle(out.value[m][k]);
      }
      for (int m = 0; m < n; ++m) table[m][g + k] = stored[m];
    }
    if (good < count) checked::StoreSingle(kTwoPi * samples.frequency[g + good]);  // raises its fault
  }
}

}  // namespace

void TransferMatrixAmplification(const SoilProfile& profile, const AnalysisSettings& settings,
                                 const AmplificationResult& samples, const NaturalModes& modes,
                                 LayerAmplifications& table) {
  Amplification(profile, settings, samples, modes, Fastest(), table);
}

bool LanePathRuns(LanePath path) { return Runs(path); }

void TransferMatrixAmplificationInLanes(const SoilProfile& profile, const AnalysisSettings& settings,
                                        const AmplificationResult& samples, const NaturalModes& modes, LanePath path,
                                        LayerAmplifications& table) {
  Amplification(profile, settings, samples, modes, path, table);
}

std::vector<LayerTransfer> ColumnTransferFunctions(const SoilProfile& profile, const AnalysisSettings& settings,
                                                   const NaturalModes& modes, const std::vector<double>& omega) {
  Run run(profile, BuildLumpedMassModel(profile).n, settings, modes, Fastest());
  std::vector<LayerTransfer> result(omega.size());
  GroupOut out;
  const int count = static_cast<int>(omega.size());
  for (int g = 0; g < count; g += kLanes) {
    double lanesOmega[kLanes];
    for (int k = 0; k < kLanes; ++k) lanesOmega[k] = omega[std::min(g + k, count - 1)];
    run.Compute(lanesOmega, out);
    for (int k = 0; k < kLanes && g + k < count; ++k) {
      for (int m = 0; m < run.Layers(); ++m) result[g + k][m] = {out.ratioRe[m][k], out.ratioIm[m][k]};
    }
  }
  return result;
}

MethodResult CalculateTransferMatrix(const SoilProfile& profile, const AnalysisSettings& settings,
                                     const AmplificationResult& samples) {
  MethodResult result;
  result.modes = SolveNaturalModes(profile);
  TransferMatrixAmplification(profile, settings, samples, result.modes, result.amplification);
  return result;
}
