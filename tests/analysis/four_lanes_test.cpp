// The transfer matrix method's four-lane pass against the one-sample pass it
// stands for: the same float32 bits, the same floating-point flags, the same
// faults, over many inputs.
#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "analysis/Calculators.h"
#include "analysis/Lanes.h"
#include "platform/Printf.h"
#include "tests/TestProfiles.h"

// The lanes' vector values stay inside this file's inlined helpers.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

constexpr int kFaults = FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID;

// Forced inline, so the lanes' functions of an instruction set are taken in
// by the caller built for it even unoptimised: a vector must never cross a
// call between code built for different instruction sets.
template <class Isa>
[[gnu::always_inline]] inline void LaneExpPairs(const Complex* theta, ExpPair* out) {
  lanes::Complex4 z{{theta[0].re, theta[1].re, theta[2].re, theta[3].re},
                    {theta[0].im, theta[1].im, theta[2].im, theta[3].im}};
  lanes::Complex4 plus, minus;
  lanes::ExpPairs<Isa>(z, plus, minus);
  for (int k = 0; k < 4; ++k) {
    out[k] = {MakeComplex(static_cast<float>(plus.re[k]), static_cast<float>(plus.im[k])),
              MakeComplex(static_cast<float>(minus.re[k]), static_cast<float>(minus.im[k]))};
  }
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target("avx2,fma"), gnu::flatten]] void WideExpPairs(const Complex* theta, ExpPair* out) {
  LaneExpPairs<lanes::Avx2>(theta, out);
}
// By reference: a vector value must not cross into another instruction set.
[[gnu::target("avx2,fma"), gnu::flatten]] void FmaKernels(const lanes::D4& x, const lanes::D4& y, lanes::D4& e,
                                                          lanes::D4& s, lanes::D4& c) {
  e = lanes::Exp<lanes::Avx2>(x);
  lanes::SinCos<lanes::Avx2>(y, s, c);
}
[[gnu::target("avx2,fma"), gnu::flatten]] void WideAmbiguous(const lanes::D4& v, lanes::I4& out) {
  out = lanes::Ambiguous<lanes::Avx2>(v);
}
#else
void WideAmbiguous(const lanes::D4& v, lanes::I4& out) { out = lanes::Ambiguous<lanes::Baseline>(v); }
void WideExpPairs(const Complex* theta, ExpPair* out) { LaneExpPairs<lanes::Baseline>(theta, out); }
void FmaKernels(const lanes::D4&, const lanes::D4&, lanes::D4&, lanes::D4&, lanes::D4&) {}
#endif
bool HasWideLanes() { return LanePathRuns(LanePath::kAvx2); }

uint64_t Bits(Complex z) { return (uint64_t{std::bit_cast<uint32_t>(z.re)} << 32) | std::bit_cast<uint32_t>(z.im); }

std::string Show(Complex z) { return Printf("(%a, %a)", static_cast<double>(z.re), static_cast<double>(z.im)); }

// Four θ through the lanes (both builds) and one by one through FastExpPair:
// every component bit for bit (signed zeros and NaNs included), and the
// fault flags raised.
void ExpectSameAsOneByOne(const Complex* theta) {
  ExpPair want[4];
  std::feclearexcept(FE_ALL_EXCEPT);
  for (int k = 0; k < 4; ++k) want[k] = FastExpPair(theta[k]);
  const int wantFlags = std::fetestexcept(kFaults);
  for (bool wide : {false, true}) {
    if (wide && !HasWideLanes()) continue;
    ExpPair got[4];
    std::feclearexcept(FE_ALL_EXCEPT);
    if (wide) {
      WideExpPairs(theta, got);
    } else {
      LaneExpPairs<lanes::Baseline>(theta, got);
    }
    const int gotFlags = std::fetestexcept(kFaults);
    for (int k = 0; k < 4; ++k) {
      ASSERT_EQ(Bits(got[k].plus), Bits(want[k].plus))
          << "e^θ of " << Show(theta[k]) << ": " << Show(got[k].plus) << " for " << Show(want[k].plus);
      ASSERT_EQ(Bits(got[k].minus), Bits(want[k].minus))
          << "e^-θ of " << Show(theta[k]) << ": " << Show(got[k].minus) << " for " << Show(want[k].minus);
    }
    ASSERT_EQ(gotFlags, wantFlags) << Show(theta[0]) << " " << Show(theta[1]) << " " << Show(theta[2]) << " "
                                   << Show(theta[3]);
  }
  std::feclearexcept(FE_ALL_EXCEPT);
}

// The float form's premise: a float32 add, multiply or divide of float32
// values gives the double step rounded to float32, bits and fault flags
// alike, over random bit patterns (overflow, zeros, subnormals, infinities).
TEST(FourLanes, Float32StepsAreTheDoubleStepsRounded) {
  std::mt19937 random(20261209);
  auto anyFloat = [&] {
    float v;
    do {
      v = std::bit_cast<float>(static_cast<uint32_t>(random()));
    } while (std::isnan(v));
    return v;
  };
  // Volatile: each step is the one instruction written, never folded.
  for (int i = 0; i < 300000; ++i) {
    volatile float a = anyFloat(), b = i % 3 == 0 ? anyFloat() : a * std::ldexp(1.0f, static_cast<int>(random() % 60) - 30);
    for (int op = 0; op < 3; ++op) {
      std::feclearexcept(FE_ALL_EXCEPT);
      const volatile float single = op == 0 ? a + b : op == 1 ? 0.5f * a : a / b;
      const int singleFlags = std::fetestexcept(kFaults);
      std::feclearexcept(FE_ALL_EXCEPT);
      const volatile double wide = op == 0 ? static_cast<double>(a) + b : op == 1 ? 0.5 * a : static_cast<double>(a) / b;
      const volatile float rounded = static_cast<float>(wide);
      const int doubleFlags = std::fetestexcept(kFaults);
      ASSERT_EQ(std::bit_cast<uint32_t>(static_cast<float>(single)), std::bit_cast<uint32_t>(static_cast<float>(rounded)))
          << a << " op " << op << " " << b;
      ASSERT_EQ(singleFlags, doubleFlags) << a << " op " << op << " " << b;
    }
  }
  std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(FourLanes, KernelsStayFarWithinTheRoundingSlack) {
  // The fallback decision allows a relative 2^-44 between the kernels and the
  // library; the kernels must be well inside it everywhere they serve.
  std::mt19937 generator(11);
  std::uniform_real_distribution<float> x(-80.0f, 80.0f), y(-1e5f, 1e5f), small(-4.0f, 4.0f);
  double worstExp = 0.0, worstSin = 0.0, worstCos = 0.0;
  for (int i = 0; i < 250000; ++i) {
    lanes::D4 xs, ys;
    for (int k = 0; k < 4; ++k) {
      xs[k] = x(generator);
      ys[k] = k % 2 ? y(generator) : small(generator);
    }
    const lanes::D4 e = lanes::Exp(xs);
    lanes::D4 s, c;
    lanes::SinCos(ys, s, c);
    for (int k = 0; k < 4; ++k) {
      worstExp = std::max(worstExp, std::fabs(e[k] / std::exp(xs[k]) - 1.0));
      worstSin = std::max(worstSin, std::fabs(s[k] / std::sin(ys[k]) - 1.0));
      worstCos = std::max(worstCos, std::fabs(c[k] / std::cos(ys[k]) - 1.0));
    }
  }
  EXPECT_LT(worstExp, 0x1p-49);
  EXPECT_LT(worstSin, 0x1p-49);
  EXPECT_LT(worstCos, 0x1p-49);
}

TEST(FourLanes, FmaKernelsStayFarWithinTheRoundingSlack) {
  // Estrin's scheme against the long double library, over the whole range
  // the kernels serve, the ends of the reduced arguments included.
  if (!HasWideLanes()) GTEST_SKIP() << "no AVX2 with FMA";
  std::mt19937 generator(13);
  std::uniform_real_distribution<float> x(-80.0f, 80.0f), y(-1e5f, 1e5f), small(-4.0f, 4.0f);
  long double worstExp = 0.0L, worstSin = 0.0L, worstCos = 0.0L;
  const double ln2 = std::numbers::ln2, halfPi = std::numbers::pi / 2;
  for (int i = 0; i < 250000; ++i) {
    lanes::D4 xs, ys;
    for (int k = 0; k < 4; ++k) {
      xs[k] = x(generator);
      ys[k] = k % 2 ? y(generator) : small(generator);
    }
    if (i < 400) {
      // Halfway between multiples of ln 2 and of π/2: |r| at its largest.
      xs[0] = static_cast<float>((i - 200 + 0.5) * ln2 * 0.575);
      ys[0] = static_cast<float>((i - 200 + 0.5) * halfPi * 0.3);
    }
    lanes::D4 e, s, c;
    FmaKernels(xs, ys, e, s, c);
    for (int k = 0; k < 4; ++k) {
      const long double xl = xs[k], yl = ys[k];
      worstExp = std::max(worstExp, std::fabs(e[k] / std::exp(xl) - 1.0L));
      worstSin = std::max(worstSin, std::fabs(s[k] / std::sin(yl) - 1.0L));
      worstCos = std::max(worstCos, std::fabs(c[k] / std::cos(yl) - 1.0L));
    }
  }
  EXPECT_LT(worstExp, 0x1p-50L);
  EXPECT_LT(worstSin, 0x1p-50L);
  EXPECT_LT(worstCos, 0x1p-50L);
}

TEST(FourLanes, RoundingsNearAHalfwayPointAreUnsure) {
  // Halfway between two float32 values (normal, subnormal, either sign), and
  // within the slack of it: unsure. Just outside the slack: sure.
  const double half = 1.0 + 0x1p-24, tiny = 1.5 * 0x1p-149;
  const lanes::I4 unsure =
      lanes::Ambiguous<lanes::Baseline>(lanes::D4{half, -half * 0x1p100, tiny, 0.5 * 0x1p-149});
  const lanes::I4 near = lanes::Ambiguous<lanes::Baseline>(
      lanes::D4{half + 0x1p-46, half - 0x1p-46, -(half + 0x1p-46) * 0x1p-90, tiny * (1.0 + 0x1p-46)});
  const lanes::I4 sure = lanes::Ambiguous<lanes::Baseline>(
      lanes::D4{half + 0x1p-42, half - 0x1p-42, 1.0, tiny * (1.0 + 0x1p-42)});
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(unsure[k], -1) << k;
    EXPECT_EQ(near[k], -1) << k;
    EXPECT_EQ(sure[k], 0) << k;
  }
  // The AVX2 build compares the float32 values themselves: the same lanes.
  if (!HasWideLanes()) return;
  const lanes::D4 cases[] = {{half, -half * 0x1p100, tiny, 0.5 * 0x1p-149},
                             {half + 0x1p-46, half - 0x1p-46, -(half + 0x1p-46) * 0x1p-90, tiny * (1.0 + 0x1p-46)},
                             {half + 0x1p-42, half - 0x1p-42, 1.0, tiny * (1.0 + 0x1p-42)}};
  const int64_t want[] = {-1, -1, 0};
  for (int c = 0; c < 3; ++c) {
    lanes::I4 got;
    WideAmbiguous(cases[c], got);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(got[k], want[c]) << c << " " << k;
  }
}

TEST(FourLanes, ExpPairsAreThoseOfFastExpPairBitForBit) {
  std::mt19937 generator(5);
  std::uniform_real_distribution<float> re(-80.0f, 80.0f), im(-1e5f, 1e5f), small(-3.0f, 3.0f);
  std::uniform_int_distribution<int> quarter(-60000, 60000);
  for (int i = 0; i < 150000; ++i) {
    Complex theta[4];
    for (int k = 0; k < 4; ++k) {
      switch ((i + k) % 4) {
        case 0: theta[k] = MakeComplex(re(generator), im(generator)); break;
        case 1: theta[k] = MakeComplex(small(generator), small(generator)); break;
        case 2:
          // Next to a multiple of π/2: a tiny sine or cosine, products
          // that round to subnormal float32 values with e^-80.
          theta[k] = MakeComplex(-80.0f + small(generator) * 0.1f,
                                 static_cast<float>(quarter(generator) * (std::numbers::pi / 2)));
          break;
        default: theta[k] = MakeComplex(re(generator), small(generator) * 1e-6f); break;
      }
    }
    ExpectSameAsOneByOne(theta);
    if (HasFailure()) return;
  }
}

TEST(FourLanes, ArgumentsBeyondTheKernelsGoToTheLibraryWithTheirFlags) {
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  const Complex cases[][4] = {
      // e^100 overflows float32: the overflow flag, whichever lane it is in.
      {{1.0f, 1.0f}, {100.0f, 1.0f}, {0.5f, 2.0f}, {-0.25f, 3.0f}},
      {{-100.0f, 0.5f}, {1.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 1.0f}},
      // e^-87.5 and e^-100 are subnormal float32 values or 0.
      {{87.5f, 1.0f}, {-87.5f, -1.0f}, {95.0f, 1e-3f}, {-88.0f, 4.0f}},
      // A zero imaginary part of either sign; an argument beyond 1e5.
      {{0.0f, 0.0f}, {1.0f, -0.0f}, {-2.0f, 0.0f}, {3.0f, 2e5f}},
      {{0.0f, 1e5f}, {0.0f, -1e5f}, {0.0f, 100001.0f}, {80.0f, 1e-30f}},
      // Not finite.
      {{nan, 1.0f}, {1.0f, nan}, {inf, 1.0f}, {1.0f, inf}},
      {{-inf, 1.0f}, {0.0f, -inf}, {0.0f, 1.0f}, {0.0f, 1.0f}},
      // The smallest parts there are.
      {{0x1p-149f, 0x1p-149f}, {-0x1p-149f, -0x1p-149f}, {0x1p-126f, 0x1p-126f}, {1e-20f, 1e-20f}},
  };
  for (const auto& theta : cases) {
    ExpectSameAsOneByOne(theta);
    if (HasFailure()) return;
  }
}

// A random column: 1 to 20 layers, soft to stiff, with damping from none
// (sharp resonances, cancelling sums) to strong.
SoilProfile RandomColumn(std::mt19937& generator, float damping) {
  std::uniform_int_distribution<int> count(1, 20);
  std::uniform_real_distribution<float> thickness(0.5f, 30.0f), density(1.3f, 2.3f), vs(60.0f, 900.0f);
  std::vector<LayerValues> layers(count(generator));
  for (auto& layer : layers) layer = {thickness(generator), density(generator), vs(generator)};
  SoilProfile profile = MakeProfile(layers, density(generator), vs(generator) + 300.0f);
  for (int r = 0; r <= profile.layerCount; ++r) profile.layers[r].dampingRatio = damping;
  return profile;
}

AmplificationResult Samples(int points, float highest) {
  AmplificationResult samples;
  samples.pointCount = points;
  for (int j = 0; j < points; ++j) {
    samples.frequency[j] = points == 1 ? highest : highest * static_cast<float>(j) / static_cast<float>(points - 1);
  }
  return samples;
}

// Both passes over one column: the same table bit for bit, or the same fault.
void ExpectSamePasses(const SoilProfile& profile, const AmplificationResult& samples, const std::string& what) {
  AnalysisSettings settings;
  settings.dampingForm = DampingForm::Hysteretic;
  const NaturalModes modes;
  LayerAmplifications want, got;
  const std::string wantFault = [&] {
    try {
      TransferMatrixAmplificationOneByOne(profile, settings, samples, modes, want);
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string("(none)");
  }();
  for (const LanePath path : {LanePath::kSse2, LanePath::kAvx2}) {
    if (!LanePathRuns(path)) continue;
    const std::string where = what + (path == LanePath::kSse2 ? " (SSE2)" : " (AVX2)");
    got = LayerAmplifications{};
    const std::string gotFault = [&] {
      try {
        TransferMatrixAmplificationInLanes(profile, settings, samples, modes, path, got);
      } catch (const std::exception& e) {
        return std::string(e.what());
      }
      return std::string("(none)");
    }();
    ASSERT_EQ(gotFault, wantFault) << where;
    for (int m = 0; m < profile.layerCount; ++m) {
      ASSERT_EQ(got[m].size(), want[m].size()) << where;
      for (size_t j = 0; j < want[m].size(); ++j) {
        ASSERT_EQ(std::bit_cast<uint32_t>(got[m][j]), std::bit_cast<uint32_t>(want[m][j]))
            << where << " layer " << m << " sample " << j << ": " << got[m][j] << " for " << want[m][j];
      }
    }
  }
  // The path the program takes is one of them.
  const std::string defaultFault = [&] {
    try {
      TransferMatrixAmplification(profile, settings, samples, modes, got);
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string("(none)");
  }();
  ASSERT_EQ(defaultFault, wantFault) << what;
  if (wantFault == "(none)") {
    ASSERT_EQ(got[0], want[0]) << what;
  }
}

TEST(FourLanes, TablesAreThoseOfTheOneSamplePass) {
  std::mt19937 generator(3);
  const float dampings[] = {0.0f, 1e-4f, 0.01f, 0.05f, 0.2f, 0.6f};
  const int pointCounts[] = {1, 3, 100, 200, 399, 400, 2, 5, 6, 7, 397, 398};
  const float highest[] = {0.5f, 10.0f, 50.0f, 1000.0f};
  int runs = 0;
  for (int i = 0; i < 60; ++i) {
    for (float damping : dampings) {
      const SoilProfile profile = RandomColumn(generator, damping);
      const int points = pointCounts[(i + runs) % 12];
      const float top = highest[(i / 6 + runs) % 4];
      ExpectSamePasses(profile, Samples(points, top),
                       "column " + std::to_string(i) + " damping " + std::to_string(damping) + " points " +
                           std::to_string(points) + " up to " + std::to_string(top) + " Hz");
      if (HasFailure()) return;
      ++runs;
    }
  }
}

TEST(FourLanes, FaultsAndRecomputedSamplesAreThoseOfTheOneSamplePass) {
  std::mt19937 generator(9);
  // Thick soft layers with strong damping at high frequencies: e^Re θ beyond
  // float32, computed again by the wave amplitudes in double.
  SoilProfile thick = MakeProfile({{400.0f, 1.5f, 60.0f}, {300.0f, 1.6f, 80.0f}}, 2.0f, 800.0f);
  for (int r = 0; r <= thick.layerCount; ++r) thick.layers[r].dampingRatio = 0.3f;
  ExpectSamePasses(thick, Samples(400, 100.0f), "thick layers");
  // No damping: the sums cancel near every natural frequency.
  SoilProfile sharp = MakeProfile({{5.0f, 1.8f, 100.0f}, {5.0f, 1.8f, 100.0f}}, 2.0f, 1000.0f);
  ExpectSamePasses(sharp, Samples(400, 30.0f), "no damping");
  // A base without density: the impedance ratio 0/0, the same fault.
  SoilProfile noBase = RandomColumn(generator, 0.05f);
  noBase.base().density = 0.0f;
  ExpectSamePasses(noBase, Samples(400, 10.0f), "no base density");
  // A frequency beyond float32 once multiplied by 2π: the same overflow.
  AmplificationResult huge = Samples(400, 10.0f);
  huge.frequency[201] = 3e38f;
  ExpectSamePasses(RandomColumn(generator, 0.05f), huge, "huge frequency");
  // A negative damping ratio that grows the waves instead.
  ExpectSamePasses(RandomColumn(generator, -0.4f), Samples(400, 200.0f), "negative damping");
}

}  // namespace
