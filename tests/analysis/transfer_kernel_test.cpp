// The transfer matrix kernel in both of its builds (SSE2, AVX2 with FMA): its
// exponential, sine and cosine against the long double library, its tables
// against the long double reference of the same model, and its faults.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "analysis/Calculators.h"
#include "analysis/Lanes.h"
#include "analysis/LumpedMassModel.h"
#include "tests/TestProfiles.h"
#include "tests/analysis/ReferenceModels.h"

// The lanes' vector values stay inside this file's inlined helpers.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

constexpr double kTwoPi = 6.283185307179586;
const LanePath kPaths[] = {LanePath::kSse2, LanePath::kAvx2};

std::string Name(LanePath path) { return path == LanePath::kSse2 ? "SSE2" : "AVX2"; }

// By reference: a vector value must not cross into another instruction set.
template <class Isa>
[[gnu::always_inline]] inline void KernelsOf(const lanes::D4& x, const lanes::D4& y, lanes::D4& e, lanes::D4& s,
                                             lanes::D4& c, lanes::I4& unsure) {
  e = lanes::Exp<Isa>(x);
  lanes::SinCos<Isa>(y, s, c, unsure);
}
void Sse2Kernels(const lanes::D4& x, const lanes::D4& y, lanes::D4& e, lanes::D4& s, lanes::D4& c, lanes::I4& u) {
  KernelsOf<lanes::Baseline>(x, y, e, s, c, u);
}
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target("avx2,fma"), gnu::flatten]] void Avx2Kernels(const lanes::D4& x, const lanes::D4& y, lanes::D4& e,
                                                           lanes::D4& s, lanes::D4& c, lanes::I4& u) {
  KernelsOf<lanes::Avx2>(x, y, e, s, c, u);
}
#else
void Avx2Kernels(const lanes::D4& x, const lanes::D4& y, lanes::D4& e, lanes::D4& s, lanes::D4& c, lanes::I4& u) {
  KernelsOf<lanes::Baseline>(x, y, e, s, c, u);
}
#endif

// |got - want| in units of the last place of want rounded to double.
long double Ulps(double got, long double want) {
  const double rounded = static_cast<double>(want);
  if (rounded == 0.0) return got == 0.0 ? 0.0L : INFINITY;
  const long double ulp = std::ldexp(1.0L, std::ilogb(rounded) - 52);
  return std::fabs(static_cast<long double>(got) - want) / ulp;
}

TEST(TransferKernel, ExpSineAndCosineStayWithinTheirBoundsOfTheLibrary) {
  // The kernel's arguments: -2 Re θ and the ratios' logarithms within
  // ±708, Im θ = ω H Re V*/|V*|² within 1e5; many small, some next to a
  // multiple of π/2.
  for (const LanePath path : kPaths) {
    if (!LanePathRuns(path)) continue;
    std::mt19937_64 random(20);
    std::uniform_real_distribution<double> wideX(-708.0, 708.0), nearX(-40.0, 1.0), wideY(0.0, 1e5), nearY(-4.0, 4.0);
    std::uniform_int_distribution<int> quarter(1, 63000);
    long double worstExp = 0, worstSin = 0, worstCos = 0;
    int unsure = 0;
    for (int i = 0; i < 250000; ++i) {  // four lanes each: 10^6 arguments
      lanes::D4 x, y, e, s, c;
      lanes::I4 u;
      for (int k = 0; k < 4; ++k) {
        x[k] = k % 2 ? wideX(random) : nearX(random);
        switch ((i + k) % 4) {
          case 0: y[k] = nearY(random); break;
          case 1: y[k] = quarter(random) * (std::numbers::pi / 2) * (1.0 + 1e-9 * nearY(random)); break;
          default: y[k] = wideY(random);
        }
      }
      (path == LanePath::kSse2 ? Sse2Kernels : Avx2Kernels)(x, y, e, s, c, u);
      for (int k = 0; k < 4; ++k) {
        worstExp = std::max(worstExp, Ulps(e[k], std::exp(static_cast<long double>(x[k]))));
        if (u[k]) {
          ++unsure;  // handed to the library by the kernel's caller
          continue;
        }
        worstSin = std::max(worstSin, Ulps(s[k], std::sin(static_cast<long double>(y[k]))));
        worstCos = std::max(worstCos, Ulps(c[k], std::cos(static_cast<long double>(y[k]))));
      }
    }
    EXPECT_LT(worstExp, 1.5L) << Name(path);
    EXPECT_LT(worstSin, 2.0L) << Name(path);
    EXPECT_LT(worstCos, 2.0L) << Name(path);
    EXPECT_LT(unsure, 1000) << Name(path);
    // Exactly: e^0 = 1, sin 0 = 0, cos 0 = 1, the zero frequency's values.
    lanes::D4 e, s, c;
    lanes::I4 u;
    (path == LanePath::kSse2 ? Sse2Kernels : Avx2Kernels)(lanes::D4{}, lanes::D4{}, e, s, c, u);
    EXPECT_EQ(e[0], 1.0);
    EXPECT_EQ(s[0], 0.0);
    EXPECT_EQ(c[0], 1.0);
  }
}

// A random column: 1 to 20 layers, thin to deep, soft to stiff.
SoilProfile RandomColumn(std::mt19937& random, float damping) {
  std::uniform_int_distribution<int> count(1, 20);
  std::uniform_real_distribution<float> thickness(0.5f, 60.0f), density(1.3f, 2.3f), vs(60.0f, 900.0f);
  std::vector<LayerValues> layers(count(random));
  for (auto& layer : layers) layer = {thickness(random), density(random), vs(random)};
  SoilProfile profile = MakeProfile(layers, density(random), vs(random) + 300.0f);
  for (int r = 0; r <= profile.layerCount; ++r) profile.layers[r].dampingRatio = damping;
  return profile;
}

AmplificationResult Samples(int points, float highest) {
  AmplificationResult samples;
  samples.pointCount = points;
  for (int j = 0; j < points; ++j) samples.frequency[j] = highest * static_cast<float>(j) / static_cast<float>(points);
  return samples;
}

// Every value the float32 rounding of the long double reference of the same
// model (ω in float32, the stored ω₁ for viscous damping); where the
// reference lies within a relative 2^-30 of a rounding boundary, either
// neighbour. Returns the number of values compared.
int ExpectReferencesRounded(const SoilProfile& profile, DampingForm form, const AmplificationResult& samples,
                            const std::string& what) {
  AnalysisSettings settings;
  settings.dampingForm = form;
  settings.dampingText = "0.05";
  const NaturalModes modes = SolveNaturalModes(profile);
  const double h = profile.layers[0].dampingRatio;
  const long double omega1 = std::sqrt(static_cast<long double>(modes.eigenValues[0]));
  const int n = profile.layerCount;
  std::vector<std::vector<reference::Real>> want(samples.pointCount);
  for (int j = 0; j < samples.pointCount; ++j) {
    const reference::Real omega = static_cast<float>(kTwoPi * samples.frequency[j]);
    want[j] =
        reference::TransferResponse(profile, omega, form == DampingForm::Viscous ? 2 * h * omega / omega1 : 2 * h);
  }
  int compared = 0;
  for (const LanePath path : kPaths) {
    if (!LanePathRuns(path)) continue;
    LayerAmplifications got;
    TransferMatrixAmplificationInLanes(profile, settings, samples, modes, path, got);
    for (int m = 0; m < n; ++m) {
      for (int j = 0; j < samples.pointCount; ++j) {
        const reference::Real v = want[j][m];
        const float low = static_cast<float>(v * (1 - 0x1p-30L)), high = static_cast<float>(v * (1 + 0x1p-30L));
        const float value = got[m][j];
        if (low == high) {
          EXPECT_EQ(std::bit_cast<uint32_t>(value), std::bit_cast<uint32_t>(low))
              << what << " " << Name(path) << " layer " << m << " sample " << j << ": " << value << " for "
              << static_cast<double>(v);
        } else {
          EXPECT_TRUE(value == low || value == high) << what << " " << Name(path) << " layer " << m << " sample " << j;
        }
        if (::testing::Test::HasFailure()) return compared;
        ++compared;
      }
    }
  }
  return compared;
}

TEST(TransferKernel, TablesAreTheLongDoubleReferencesRoundedOnce) {
  std::mt19937 random(3);
  const float dampings[] = {0.001f, 0.01f, 0.05f, 0.2f, 0.6f};
  const float highest[] = {2.0f, 10.0f, 50.0f};
  const int points[] = {400, 397, 5, 1, 200};
  int compared = 0;
  for (int i = 0; i < 40; ++i) {
    for (DampingForm form : {DampingForm::Hysteretic, DampingForm::Viscous}) {
      const float damping = dampings[i % 5];
      const SoilProfile profile = RandomColumn(random, damping);
      compared += ExpectReferencesRounded(profile, form, Samples(points[i % 5], highest[i % 3]),
                                          "column " + std::to_string(i) + " form " + std::to_string(ChoiceIndex(form)) +
                                              " damping " + std::to_string(damping));
      if (HasFailure()) return;
    }
  }
  // Deep soft columns, strongly damped, up to 50 Hz: values down to 0, no
  // overflow on the way.
  SoilProfile deep = MakeProfile({{400.0f, 1.5f, 60.0f}, {300.0f, 1.6f, 80.0f}}, 2.0f, 800.0f);
  for (int r = 0; r <= deep.layerCount; ++r) deep.layers[r].dampingRatio = 0.3f;
  compared += ExpectReferencesRounded(deep, DampingForm::Hysteretic, Samples(400, 50.0f), "deep");
  SoilProfile twentySoft = MakeProfile(std::vector<LayerValues>(20, {60.0f, 1.7f, 80.0f}), 2.0f, 600.0f);
  for (int r = 0; r <= 20; ++r) twentySoft.layers[r].dampingRatio = 0.05f;
  compared += ExpectReferencesRounded(twentySoft, DampingForm::Viscous, Samples(400, 50.0f), "twenty soft");
  EXPECT_GT(compared, 200000);

  // The transfer functions are the same kernel's: their moduli rounded are
  // the table.
  AnalysisSettings settings;
  const NaturalModes modes = SolveNaturalModes(twentySoft);
  const AmplificationResult samples = Samples(7, 20.0f);
  LayerAmplifications table;
  TransferMatrixAmplification(twentySoft, settings, samples, modes, table);
  std::vector<double> omega;
  for (int j = 0; j < 7; ++j) omega.push_back(static_cast<float>(kTwoPi * samples.frequency[j]));
  const std::vector<LayerTransfer> transfer = ColumnTransferFunctions(twentySoft, settings, modes, omega);
  ASSERT_EQ(transfer.size(), 7u);
  for (int j = 0; j < 7; ++j) {
    for (int m = 0; m < 20; ++m) EXPECT_EQ(static_cast<float>(std::abs(transfer[j][m])), table[m][j]) << m << " " << j;
  }
}

// The fault of one run, or "(none)".
std::string FaultOf(auto run) {
  try {
    run();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(none)";
}

TEST(TransferKernel, MeaninglessInputFaultsWithTheTableAsFarAsItGot) {
  AnalysisSettings settings;
  std::mt19937 random(9);
  const SoilProfile column = RandomColumn(random, 0.05f);
  const NaturalModes modes = SolveNaturalModes(column);
  const AmplificationResult samples = Samples(400, 10.0f);
  for (const LanePath path : kPaths) {
    if (!LanePathRuns(path)) continue;
    LayerAmplifications whole;
    TransferMatrixAmplificationInLanes(column, settings, samples, modes, path, whole);
    // A base or layer without density, a layer without velocity: a ratio
    // 0/0 before any sample, the table all 0.
    for (int spoil = 0; spoil < 3; ++spoil) {
      SoilProfile bad = column;
      if (spoil == 0) bad.base().density = 0.0f;
      if (spoil == 1) bad.layers[bad.layerCount - 1].vs = 0.0f;
      if (spoil == 2) bad.base().vs = 0.0f;
      LayerAmplifications table;
      EXPECT_EQ(FaultOf([&] { TransferMatrixAmplificationInLanes(bad, settings, samples, modes, path, table); }),
                "不正な浮動小数点数演算命令")
          << Name(path) << " " << spoil;
      for (int m = 0; m < bad.layerCount; ++m) {
        EXPECT_EQ(table[m], std::vector<float>(400, 0.0f)) << Name(path) << " " << spoil;
      }
    }
    // A frequency beyond float32 once multiplied by 2π: the samples before
    // it are stored, the rest stay 0. Both inside a group and at its start.
    for (const int at : {201, 200}) {
      AmplificationResult huge = samples;
      huge.frequency[at] = 3e38f;
      LayerAmplifications table;
      EXPECT_EQ(FaultOf([&] { TransferMatrixAmplificationInLanes(column, settings, huge, modes, path, table); }),
                "浮動小数点数のオーバーフロー")
          << Name(path);
      for (int m = 0; m < column.layerCount; ++m) {
        ASSERT_EQ(table[m].size(), 400u);
        EXPECT_TRUE(std::equal(table[m].begin(), table[m].begin() + at, whole[m].begin())) << Name(path) << " " << m;
        EXPECT_TRUE(std::all_of(table[m].begin() + at, table[m].end(), [](float v) { return v == 0.0f; }))
            << Name(path) << " " << m;
      }
    }
  }
}

}  // namespace
