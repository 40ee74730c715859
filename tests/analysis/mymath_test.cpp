#include "analysis/Mymath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "platform/Errors.h"

namespace {

constexpr float kEps = 1e-6f;
constexpr float kMark = -99.0f;  // fills what a routine must leave alone

MessageBox BoxOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ReportedFailure& e) {
    return e.Box();
  }
  ADD_FAILURE() << "no reported failure";
  return {};
}

// A stride-s matrix filled with kMark, with the given n × n values at its corner.
std::vector<float> Matrix(int stride, int n, std::initializer_list<float> values) {
  std::vector<float> m(static_cast<size_t>(stride) * stride, kMark);
  auto it = values.begin();
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) m[r * stride + c] = *it++;
  }
  return m;
}

// Largest |K·φ − λ·M·φ| over all modes, relative to the largest |K_ij|.
double Residual(const std::vector<float>& k, const std::vector<float>& m, const float* eig, const float* v, int stride,
                int n) {
  double scale = 0.0;
  for (float x : k) scale = std::max(scale, std::fabs(static_cast<double>(x)));
  double worst = 0.0;
  for (int s = 0; s < n; ++s) {
    for (int i = 0; i < n; ++i) {
      double kv = 0.0;
      for (int j = 0; j < n; ++j) kv += static_cast<double>(k[i * stride + j]) * v[j * stride + s];
      worst = std::max(worst, std::fabs(kv - static_cast<double>(eig[s]) * m[i] * v[i * stride + s]));
    }
  }
  return worst / scale;
}

double ColumnLength(const float* v, int stride, int n, int col) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) s += static_cast<double>(v[i * stride + col]) * v[i * stride + col];
  return std::sqrt(s);
}

TEST(EigenSolve, TwoByTwoGivesGoldenRatioModes) {
  auto a = Matrix(3, 2, {2, -1, -1, 1});
  const std::vector<float> k = a;
  const std::vector<float> m{1, 1};
  float eig[2];
  auto v = Matrix(3, 2, {kMark, kMark, kMark, kMark});
  int32_t rotations = 1000;
  EXPECT_EQ(EigenSolve(a.data(), m.data(), eig, v.data(), 3, 2, rotations, kEps), 0);
  EXPECT_EQ(rotations, 1);
  EXPECT_FLOAT_EQ(eig[0], static_cast<float>((3 - std::sqrt(5.0)) / 2));
  EXPECT_FLOAT_EQ(eig[1], static_cast<float>((3 + std::sqrt(5.0)) / 2));
  EXPECT_NEAR(ColumnLength(v.data(), 3, 2, 0), 1.0, 1e-7);
  EXPECT_NEAR(ColumnLength(v.data(), 3, 2, 1), 1.0, 1e-7);
  EXPECT_LT(Residual(k, m, eig, v.data(), 3, 2), 1e-6);
  // The first mode moves both masses the same way, the second against.
  EXPECT_GT(v[0] * v[3], 0.0f);
  EXPECT_LT(v[1] * v[4], 0.0f);
  // Nothing outside the 2 × 2 corner is written.
  EXPECT_EQ(v[2], kMark);
  EXPECT_EQ(v[5], kMark);
  EXPECT_EQ(v[6], kMark);

  // Masses (2, 2) halve the eigenvalues and keep the vectors up to sign.
  auto a2 = Matrix(3, 2, {2, -1, -1, 1});
  const std::vector<float> m2{2, 2};
  float eig2[2];
  std::vector<float> v2(9);
  rotations = 1000;
  EigenSolve(a2.data(), m2.data(), eig2, v2.data(), 3, 2, rotations, kEps);
  EXPECT_FLOAT_EQ(eig2[0], eig[0] / 2);
  EXPECT_FLOAT_EQ(eig2[1], eig[1] / 2);
  for (int i : {0, 1, 3, 4}) EXPECT_NEAR(std::fabs(v2[i]), std::fabs(v[i]), 1e-6f) << i;
}

TEST(EigenSolve, DiagonalStiffnessIsOnlySortedAndScaled) {
  // No iteration: eig_i = K_ii / m_i, the columns follow the ascending
  // eigenvalues, and each is a unit vector.
  auto a = Matrix(3, 3, {5, 0, 0, 0, 1, 0, 0, 0, 3});
  const float m[3] = {3.0f, 7.5f, 0.3f};
  float eig[3];
  std::vector<float> v(9, kMark);
  int32_t rotations = 1000;
  EXPECT_EQ(EigenSolve(a.data(), m, eig, v.data(), 3, 3, rotations, kEps), 0);
  EXPECT_EQ(rotations, 0);
  // 1/7.5 < 5/3 < 10: the order is mass 1, mass 0, mass 2.
  EXPECT_FLOAT_EQ(eig[0], 1.0f / 7.5f);
  EXPECT_FLOAT_EQ(eig[1], 5.0f / 3.0f);
  EXPECT_FLOAT_EQ(eig[2], 10.0f);
  EXPECT_EQ(v, (std::vector<float>{0, 1, 0, 1, 0, 0, 0, 0, 1}));
}

TEST(EigenSolve, TwoMassesMatchTheirClosedForm) {
  // det(K − λM) = 0 is a quadratic: m0·m1·λ² − (k00·m1 + k11·m0)·λ + k00·k11 − k01².
  const long double k00 = 2.0f, k01 = -1.0f, k11 = 1.3f;
  const float m[2] = {3.0f, 0.7f};
  auto a = Matrix(2, 2, {2.0f, -1.0f, kMark, 1.3f});  // the lower triangle is not read
  float eig[2];
  std::vector<float> v(4);
  int32_t rotations = 1000;
  EigenSolve(a.data(), m, eig, v.data(), 2, 2, rotations, kEps);
  const long double qa = static_cast<long double>(m[0]) * m[1];
  const long double qb = -(k00 * m[1] + k11 * m[0]);
  const long double qc = k00 * k11 - k01 * k01;
  const long double root = std::sqrt(qb * qb - 4 * qa * qc);
  const float expected[2] = {static_cast<float>((-qb - root) / (2 * qa)), static_cast<float>((-qb + root) / (2 * qa))};
  for (int s = 0; s < 2; ++s) {
    EXPECT_EQ(eig[s], expected[s]) << s;  // float32 rounding of the true value
    // (k00 − λ·m0)·φ0 + k01·φ1 = 0, φ0 > 0, unit length.
    const long double lambda = (s == 0 ? -qb - root : -qb + root) / (2 * qa);
    const long double ratio = -(k00 - lambda * m[0]) / k01;
    const long double phi0 = 1 / std::sqrt(1 + ratio * ratio);
    EXPECT_EQ(v[0 * 2 + s], static_cast<float>(phi0)) << s;
    EXPECT_NEAR(v[1 * 2 + s], static_cast<float>(phi0 * ratio), 1e-7f) << s;
  }
}

TEST(EigenSolve, TwoEqualLayersHaveTheClosedFormPeriods) {
  // Masses (ρH/2, ρH) and springs ρVs²/H with ρ = H = Vs = 1: (2 ∓ √2).
  std::vector<float> a(400, 0.0f);
  a[0] = 1;
  a[1] = -1;
  a[20] = -1;
  a[21] = 2;
  const std::vector<float> k = a;
  const float m[2] = {0.5f, 1.0f};
  float eig[2];
  std::vector<float> v(400, kMark);
  int32_t rotations = 1000;
  EigenSolve(a.data(), m, eig, v.data(), 20, 2, rotations, kEps);
  EXPECT_FLOAT_EQ(eig[0], static_cast<float>(2 - std::sqrt(2.0)));
  EXPECT_FLOAT_EQ(eig[1], static_cast<float>(2 + std::sqrt(2.0)));
  EXPECT_LT(Residual(k, {0.5f, 1.0f}, eig, v.data(), 20, 2), 1e-6);
}

TEST(EigenSolve, TwentyMassChainComesOutSortedAndUnitLength) {
  constexpr int n = 20;
  std::vector<float> a(400, 0.0f);
  std::vector<float> m(n);
  for (int p = 0; p < n; ++p) {
    const float kp = 1000.0f + 37.0f * p;
    const float kAbove = p == 0 ? 0.0f : 1000.0f + 37.0f * (p - 1);
    a[p * n + p] = kAbove + kp;
    if (p + 1 < n) a[p * n + p + 1] = a[(p + 1) * n + p] = -kp;
    m[p] = 1.0f + 0.25f * (p % 3);
  }
  const std::vector<float> k = a;
  float eig[n];
  std::vector<float> v(400);
  int32_t rotations = 1000;
  EXPECT_EQ(EigenSolve(a.data(), m.data(), eig, v.data(), n, n, rotations, kEps), 0);
  EXPECT_GT(rotations, 0);
  EXPECT_LT(rotations, 1000);
  for (int s = 1; s < n; ++s) EXPECT_LE(eig[s - 1], eig[s]);
  for (int s = 0; s < n; ++s) EXPECT_NEAR(ColumnLength(v.data(), n, n, s), 1.0, 1e-6) << s;
  // Columns must travel with their eigenvalues through the sort.
  EXPECT_LT(Residual(k, m, eig, v.data(), n, n), 1e-4);
  // A is left holding the reordered vectors before normalisation: parallel to V.
  for (int s = 0; s < n; ++s) {
    const double len = ColumnLength(a.data(), n, n, s);
    for (int i = 0; i < n; ++i) EXPECT_NEAR(a[i * n + s] / len, v[i * n + s], 1e-6);
  }
}

TEST(EigenSolve, FailuresEndTheAnalysisWithTheirOwnBox) {
  // The rotation limit: the box carries Jacobi's code.
  auto a = Matrix(3, 3, {4, 1, 2, 1, 3, 2, 2, 2, 1});
  const float m[3] = {1, 1, 1};
  float eig[3] = {kMark, kMark, kMark};
  std::vector<float> v(9);
  int32_t rotations = 1;
  EXPECT_EQ(BoxOf([&] { EigenSolve(a.data(), m, eig, v.data(), 3, 3, rotations, kEps); }),
            (MessageBox{"jacobi error Code = 1", "Eigen Error", MessageIcon::None, MessageButtons::Ok}));
  EXPECT_EQ(eig[0], kMark);  // nothing computed after the failure

  // A zero mass divides by zero before anything else.
  auto b = Matrix(2, 2, {2, -1, -1, 1});
  const auto before = b;
  const float zeroMass[2] = {0.0f, 1.0f};
  rotations = 1000;
  try {
    EigenSolve(b.data(), zeroMass, eig, v.data(), 2, 2, rotations, kEps);
    ADD_FAILURE() << "no fault";
  } catch (const FloatingPointFault& e) {
    EXPECT_EQ(e.kind(), FloatingPointFault::Kind::DivideByZero);
    EXPECT_STREQ(e.what(), "0 による浮動小数点数除算");
  }
  EXPECT_EQ(b, before);
}

TEST(Jacobi, DiagonalMatrixNeedsNoRotation) {
  auto a = Matrix(3, 3, {5, 0, 0, 0, -2, 0, 0, 0, 7});
  const auto before = a;
  std::vector<float> v(9, kMark);
  int32_t rotations = 1000;
  EXPECT_EQ(Jacobi(a.data(), v.data(), 3, kEps, rotations, 3), 0);
  EXPECT_EQ(rotations, 0);
  EXPECT_EQ(a, before);
  EXPECT_EQ(v, (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
}

TEST(Jacobi, OneRotationFollowsTheStatedRoundings) {
  // Each case below comes out differently if one of d², 4·apq², t or t² + 1
  // is not rounded to float32 where it is stored.
  struct Case {
    float app, aqq, apq;
  };
  for (const Case& k : {Case{1.0f, 5.0f, 0.3f}, Case{0.1f, 4.9f, 0.2f}, Case{4.9f, 0.1f, 0.2f}, Case{0.1f, 0.2f, 1.7f},
                        Case{0.1f, 0.2f, 0.7f}}) {
    auto a = Matrix(2, 2, {k.app, k.apq, k.apq, k.aqq});
    std::vector<float> v(4);
    int32_t rotations = 10;
    EXPECT_EQ(Jacobi(a.data(), v.data(), 2, kEps, rotations, 2), 0);
    EXPECT_EQ(rotations, 1);

    const float d = std::fabs(k.app - k.aqq);  // exact for these values
    const float d2 = static_cast<float>(static_cast<double>(d) * d);
    const float apq4 = static_cast<float>(4.0 * k.apq * k.apq);
    float t = static_cast<float>(2.0 * k.apq / (d + std::sqrt(static_cast<double>(d2) + apq4)));
    if (k.app < k.aqq) t = -t;
    const float t21 = static_cast<float>(static_cast<double>(t) * t + 1.0);
    const float c = static_cast<float>(std::sqrt(1.0 / t21));
    const float s = static_cast<float>(static_cast<double>(t) * c);
    const float newApp = static_cast<float>(static_cast<double>(k.app) * c * c + static_cast<double>(k.aqq) * s * s +
                                            2.0 * k.apq * c * s);
    EXPECT_EQ(a[0], newApp) << k.app << " " << k.aqq << " " << k.apq;
    EXPECT_EQ(a[3], static_cast<float>(static_cast<double>(k.app) + k.aqq - newApp));
    EXPECT_EQ(a[1], 0.0f);
    EXPECT_EQ(a[2], 0.0f);
    EXPECT_EQ(v, (std::vector<float>{c, -s, s, c}));
    // And the diagonal holds the eigenvalues (m ∓ r, m the mean, r the radius).
    const double mean = (static_cast<double>(k.app) + k.aqq) / 2;
    const double radius = std::hypot((static_cast<double>(k.app) - k.aqq) / 2, static_cast<double>(k.apq));
    EXPECT_NEAR(std::min(a[0], a[3]), mean - radius, 1e-6 * (std::fabs(mean) + radius));
    EXPECT_NEAR(std::max(a[0], a[3]), mean + radius, 1e-6 * (std::fabs(mean) + radius));
  }
}

TEST(Jacobi, RotationLimitAndFirstLargestPivot) {
  // |A02| = |A12| = 2 are the largest; the first one in row order is rotated.
  auto a = Matrix(3, 3, {4, 1, 2, 1, 3, 2, 2, 2, 1});
  std::vector<float> v(9);
  int32_t rotations = 1;
  EXPECT_EQ(Jacobi(a.data(), v.data(), 3, kEps, rotations, 3), 1);
  EXPECT_EQ(rotations, 1);
  EXPECT_EQ(a[2], 0.0f);
  EXPECT_EQ(a[6], 0.0f);
  EXPECT_NE(a[5], 0.0f);
  EXPECT_EQ(a[5], a[7]);
  EXPECT_EQ(a[1], a[3]);
  EXPECT_EQ(v[4], 1.0f);  // row and column 1 untouched in V

  // Without the limit it converges; V is orthogonal and diagonalises A.
  const auto full = Matrix(3, 3, {4, 1, 2, 1, 3, 2, 2, 2, 1});
  a = full;
  rotations = 1000;
  EXPECT_EQ(Jacobi(a.data(), v.data(), 3, kEps, rotations, 3), 0);
  EXPECT_GT(rotations, 1);
  for (int p = 0; p < 3; ++p) {
    for (int q = 0; q < 3; ++q) {
      double vtav = 0.0;
      double vtv = 0.0;
      for (int i = 0; i < 3; ++i) {
        vtv += static_cast<double>(v[i * 3 + p]) * v[i * 3 + q];
        for (int j = 0; j < 3; ++j) vtav += static_cast<double>(v[i * 3 + p]) * full[i * 3 + j] * v[j * 3 + q];
      }
      EXPECT_NEAR(vtv, p == q ? 1.0 : 0.0, 1e-6);
      EXPECT_NEAR(vtav, p == q ? a[p * 3 + p] : 0.0, 1e-5);
    }
  }
  // The trace survives the rotations.
  EXPECT_NEAR(a[0] + a[4] + a[8], 8.0f, 1e-5f);
}

TEST(Jacobi, AsymmetryAndBadParametersLeaveEverythingAsItWas) {
  auto a = Matrix(3, 2, {1, 1, std::nextafter(1.0f, 2.0f), 1});
  const auto before = a;
  std::vector<float> v(9, kMark);
  int32_t rotations = 1000;
  EXPECT_EQ(Jacobi(a.data(), v.data(), 3, kEps, rotations, 2), 999);
  EXPECT_EQ(rotations, 1000);
  EXPECT_EQ(a, before);
  EXPECT_EQ(v, std::vector<float>(9, kMark));

  const MessageBox box{"jacobi parameter error", "Jacobi Error", MessageIcon::None, MessageButtons::Ok};
  auto sym = Matrix(3, 2, {2, 1, 1, 2});
  const auto symBefore = sym;
  struct Case {
    int32_t n;
    int32_t rotations;
    float eps;
  };
  for (const Case& c :
       {Case{1, 1000, kEps}, Case{0, 1000, kEps}, Case{2, 0, kEps}, Case{2, -5, kEps}, Case{2, 1000, 0.0f},
        Case{2, 1000, -1e-6f}, Case{2, 1000, std::numeric_limits<float>::quiet_NaN()}}) {
    int32_t r = c.rotations;
    EXPECT_EQ(BoxOf([&] { Jacobi(sym.data(), v.data(), 3, c.eps, r, c.n); }), box) << c.n << " " << c.eps;
    EXPECT_EQ(r, c.rotations);
    EXPECT_EQ(sym, symBefore);
    EXPECT_EQ(v, std::vector<float>(9, kMark));
  }
}

TEST(SortWithIndex, ExchangeSortWithPermutation) {
  float values[] = {3, 1, 2};
  int32_t index[3];
  EXPECT_EQ(SortWithIndex(3, values, index, 0), 0);
  EXPECT_EQ(std::vector<float>(values, values + 3), (std::vector<float>{1, 2, 3}));
  EXPECT_EQ(std::vector<int32_t>(index, index + 3), (std::vector<int32_t>{1, 2, 0}));

  float down[] = {3, 1, 2};
  EXPECT_EQ(SortWithIndex(3, down, index, 1), 0);
  EXPECT_EQ(std::vector<float>(down, down + 3), (std::vector<float>{3, 2, 1}));
  EXPECT_EQ(std::vector<int32_t>(index, index + 3), (std::vector<int32_t>{0, 2, 1}));

  // Equal values are not kept in order: the exchanges decide.
  float ties[] = {2, 1, 2, 1};
  int32_t tieIndex[4];
  SortWithIndex(4, ties, tieIndex, 0);
  EXPECT_EQ(std::vector<float>(ties, ties + 4), (std::vector<float>{1, 1, 2, 2}));
  EXPECT_EQ(std::vector<int32_t>(tieIndex, tieIndex + 4), (std::vector<int32_t>{1, 3, 2, 0}));
  float tiesDown[] = {2, 1, 2, 1};
  SortWithIndex(4, tiesDown, tieIndex, -1);
  EXPECT_EQ(std::vector<float>(tiesDown, tiesDown + 4), (std::vector<float>{2, 2, 1, 1}));
  EXPECT_EQ(std::vector<int32_t>(tieIndex, tieIndex + 4), (std::vector<int32_t>{0, 2, 3, 1}));

  float one[] = {5};
  int32_t oneIndex[1] = {-1};
  EXPECT_EQ(SortWithIndex(1, one, oneIndex, 1), 0);
  EXPECT_EQ(one[0], 5.0f);
  EXPECT_EQ(oneIndex[0], 0);
  EXPECT_EQ(SortWithIndex(0, one, oneIndex, 1), 0);
}

}  // namespace
