#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <vector>

#include "analysis/Mycomplex.h"
#include "platform/Errors.h"

namespace {

constexpr float kEps = 1e-6f;
constexpr Complex kMark{-99.0f, 99.0f};

using Matrix = std::vector<Complex>;

// rows × stride elements, all kMark except the given leading rows.
Matrix Make(int stride, int rows, std::initializer_list<std::initializer_list<Complex>> values) {
  Matrix m(static_cast<size_t>(stride) * rows, kMark);
  int r = 0;
  for (const auto& row : values) {
    int c = 0;
    for (const Complex& z : row) m[r * stride + c++] = z;
    ++r;
  }
  return m;
}

// Largest |A·x − b| over all right-hand sides, relative to the largest |b|,
// with A and b from the input and x from the output.
double Residual(const Matrix& in, const Matrix& out, int stride, int n, int ncols) {
  double worst = 0.0;
  double scale = 0.0;
  for (int col = n; col < ncols; ++col) {
    for (int r = 0; r < n; ++r) {
      std::complex<double> sum = 0.0;
      for (int c = 0; c < n; ++c) {
        const Complex a = in[r * stride + c];
        const Complex x = out[c * stride + col];
        sum += std::complex<double>(a.re, a.im) * std::complex<double>(x.re, x.im);
      }
      const Complex b = in[r * stride + col];
      worst = std::max(worst, std::abs(sum - std::complex<double>(b.re, b.im)));
      scale = std::max(scale, std::abs(std::complex<double>(b.re, b.im)));
    }
  }
  return worst / scale;
}

FloatingPointFault::Kind FaultOf(Matrix& a, int stride, int n, int ncols) {
  try {
    ComplexSolve(a.data(), stride, n, ncols, kEps);
  } catch (const FloatingPointFault& e) {
    return e.kind();
  }
  ADD_FAILURE() << "no floating-point fault";
  return FloatingPointFault::Kind::InvalidOperation;
}

TEST(ComplexSolve, WritesOnlyTheSolutionColumns) {
  // ((0, 1), (1, 0))·x = (1, 2) in a wider array: x = (2, 1).
  Matrix a = Make(5, 3, {{{0, 0}, {1, 0}, {1, 0}}, {{1, 0}, {0, 0}, {2, 0}}});
  Matrix expected = a;
  expected[2] = {2, 0};
  expected[7] = {1, 0};
  EXPECT_EQ(ComplexSolve(a.data(), 5, 2, 3, kEps), 0);
  EXPECT_EQ(a, expected);
}

TEST(ComplexSolve, PivotsAnywhereAndPutsTheUnknownsBack) {
  // Row r reads c_r·x_σ(r) = b_r with σ = (2, 0, 3, 1) and unit pivots
  // (i, 1, −1, −i), so every step is exact; two right-hand sides.
  const Complex z{0, 0};
  Matrix a = Make(6, 4,
                  {{z, z, {0, 1}, z, {1, 1}, {10, 0}},
                   {{1, 0}, z, z, z, {2, 0}, {20, 0}},
                   {z, z, z, {-1, 0}, {3, -1}, {30, 0}},
                   {z, {0, -1}, z, z, {0, 4}, {40, 0}}});
  const Matrix in = a;
  EXPECT_EQ(ComplexSolve(a.data(), 6, 4, 6, kEps), 0);
  const Complex x[4][2] = {{{2, 0}, {20, 0}}, {{-4, 0}, {0, 40}}, {{1, -1}, {0, -10}}, {{-3, 1}, {-30, 0}}};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) EXPECT_EQ(a[r * 6 + c], in[r * 6 + c]);
    for (int k = 0; k < 2; ++k) {
      EXPECT_EQ(a[r * 6 + 4 + k].re, x[r][k].re) << r << "," << k;
      EXPECT_EQ(a[r * 6 + 4 + k].im, x[r][k].im) << r << "," << k;
    }
  }
}

TEST(ComplexSolve, RoundsTheProductBeforeTheDifference) {
  // Step 0 leaves (1+2^-11) − (1+2^-12)·(1+2^-12) in the second right-hand
  // side. The product rounds to 1+2^-11 (a tie, to even), so the difference is
  // 0 and x_1 = 0 exactly; one rounding of the whole would leave −2^-24.
  const float u = 1.0f + 0x1p-12f;
  Matrix a = Make(3, 2, {{{2, 0}, {0, 0}, {2 * u, 0}}, {{u, 0}, {1.5f, 0}, {1.0f + 0x1p-11f, 0}}});
  EXPECT_EQ(ComplexSolve(a.data(), 3, 2, 3, kEps), 0);
  EXPECT_EQ(a[2].re, u);
  EXPECT_EQ(a[2].im, 0.0f);
  EXPECT_EQ(a[5].re, 0.0f);
  EXPECT_EQ(a[5].im, 0.0f);
}

TEST(ComplexSolve, FirstOfEqualPivotsAndARoundedReciprocal) {
  // |−4 + 3i| = |4 − 3i| = 5: the first in row order, (0, 1), is the pivot.
  // The walk below follows the elimination by hand with the complex helpers;
  // the reciprocal (x / W, −y / W) is rounded to float32 like any stored value.
  Matrix a = Make(3, 2, {{{-1, 0}, {-4, 3}, {-4, -2}}, {{1, -1}, {4, -3}, {-4, -4}}});
  EXPECT_EQ(ComplexSolve(a.data(), 3, 2, 3, kEps), 0);

  auto reciprocal = [](Complex p) {
    const float w = static_cast<float>(static_cast<double>(p.re) * p.re + static_cast<double>(p.im) * p.im);
    return Complex{static_cast<float>(p.re / static_cast<double>(w)),
                   static_cast<float>(-p.im / static_cast<double>(w))};
  };
  // Step 0, columns swapped: row 0 is ((−4, 3), (−1, 0) | (−4, −2)).
  const Complex r0 = reciprocal({-4, 3});
  const Complex a01 = ComplexMul({-1, 0}, r0);
  const Complex b0 = ComplexMul({-4, -2}, r0);
  const Complex f1{4, -3};
  const Complex a11 = ComplexSub({1, -1}, ComplexMul(f1, a01));
  const Complex b1 = ComplexSub({-4, -4}, ComplexMul(f1, b0));
  // Step 1. Row 1 now holds the unknown of the original column 0, row 0 that
  // of column 1; the exchange is undone on the way out.
  const Complex x0 = ComplexMul(b1, reciprocal(a11));
  const Complex x1 = ComplexSub(b0, ComplexMul(a01, x0));
  EXPECT_EQ(a[2], x0);
  EXPECT_EQ(a[5], x1);
  // And it is the solution: (−1)·x0 + (−4+3i)·x1 = −4−2i.
  const std::complex<double> y0(a[2].re, a[2].im), y1(a[5].re, a[5].im);
  EXPECT_LT(
      std::abs(std::complex<double>(-1, 0) * y0 + std::complex<double>(-4, 3) * y1 - std::complex<double>(-4, -2)),
      1e-6);
}

TEST(ComplexSolve, SolvesTheLumpedMassSystemAndLargerOnes) {
  // A 20-mass chain at a sample near resonance with hysteretic damping, in the
  // 20 × 21 array of the lumped-mass method.
  Matrix a(420, {0, 0});
  const float omega2 = 150.0f;
  const float eta = 0.1f;
  for (int p = 0; p < 20; ++p) {
    const float m = 2.0f + 0.1f * p;
    const float k = 2000.0f - 40.0f * p;
    const float kAbove = p == 0 ? 0.0f : 2000.0f - 40.0f * (p - 1);
    a[p * 21 + p] = {kAbove + k - omega2 * m, eta * (kAbove + k)};
    if (p + 1 < 20) {
      a[p * 21 + p + 1] = {-k, -eta * k};
      a[(p + 1) * 21 + p] = {-k, -eta * k};
    }
    a[p * 21 + 20] = {omega2 * m, 0};
  }
  Matrix in = a;
  EXPECT_EQ(ComplexSolve(a.data(), 21, 20, 21, kEps), 0);
  EXPECT_LT(Residual(in, a, 21, 20, 21), 1e-4);
  for (int r = 0; r < 20; ++r) {
    for (int c = 0; c < 20; ++c) ASSERT_EQ(a[r * 21 + c], in[r * 21 + c]);
  }

  // 200 unknowns and three right-hand sides need more than the stack buffers.
  const int n = 200;
  const int stride = 205;
  Matrix big(static_cast<size_t>(n) * stride, kMark);
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n + 3; ++c) {
      const float re = std::sin(0.37f * r + 1.3f * c);
      const float im = std::cos(0.11f * r * c);
      big[r * stride + c] = {c == r ? re + 300.0f : re, im};
    }
  }
  in = big;
  EXPECT_EQ(ComplexSolve(big.data(), stride, n, n + 3, kEps), 0);
  EXPECT_LT(Residual(in, big, stride, n, n + 3), 1e-5);
  for (int r = 0; r < n; ++r) {
    EXPECT_EQ(big[r * stride + n + 3], kMark);
    EXPECT_EQ(big[r * stride + n + 4], kMark);
  }
}

TEST(ComplexSolve, RefusesBadArgumentsAndLeavesAUntouched) {
  Matrix a = Make(4, 2, {{{1, 0}, {2, 0}, {3, 0}, {4, 0}}, {{5, 0}, {6, 0}, {7, 0}, {8, 0}}});
  const Matrix before = a;
  EXPECT_EQ(ComplexSolve(a.data(), 4, 1, 2, kEps), 0);  // one unknown
  EXPECT_EQ(ComplexSolve(a.data(), 4, 2, 2, kEps), 0);  // no right-hand side
  EXPECT_EQ(ComplexSolve(a.data(), 2, 2, 3, kEps), 0);  // more columns than the stride
  EXPECT_EQ(ComplexSolve(a.data(), 4, 2, 3, 0.0f), 0);
  EXPECT_EQ(ComplexSolve(a.data(), 4, 2, 3, -1e-6f), 0);
  EXPECT_EQ(ComplexSolve(a.data(), 4, 2, 3, std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(a, before);

  Matrix big(201 * 202, {1, 0});
  const Matrix bigBefore = big;
  EXPECT_EQ(ComplexSolve(big.data(), 202, 201, 202, kEps), 0);
  EXPECT_EQ(big, bigBefore);
}

TEST(ComplexSolve, SingularSystemsLeaveAUntouched) {
  Matrix zero = Make(3, 2, {{{0, 0}, {0, 0}, {1, 0}}, {{0, 0}, {0, 0}, {2, 0}}});
  const Matrix zeroBefore = zero;
  EXPECT_EQ(ComplexSolve(zero.data(), 3, 2, 3, kEps), 1);
  EXPECT_EQ(zero, zeroBefore);

  // The second pivot has squared modulus 9e-8 + 1e-8 = 1e-7, below eps, after
  // the first step has already changed the working copy.
  Matrix tiny = Make(3, 2, {{{1, 0}, {0, 0}, {1, 0}}, {{0.5f, 0}, {3e-4f, 1e-4f}, {2, 0}}});
  const Matrix tinyBefore = tiny;
  EXPECT_EQ(ComplexSolve(tiny.data(), 3, 2, 3, kEps), 1);
  EXPECT_EQ(tiny, tinyBefore);

  // A pivot whose squared modulus equals eps is singular too.
  Matrix edge = Make(3, 2, {{{1, 0}, {0, 0}, {1, 0}}, {{0, 0}, {0.5f, 0}, {1, 0}}});
  const Matrix edgeBefore = edge;
  EXPECT_EQ(ComplexSolve(edge.data(), 3, 2, 3, 0.25f), 1);
  EXPECT_EQ(edge, edgeBefore);
  EXPECT_EQ(ComplexSolve(edge.data(), 3, 2, 3, std::nextafter(0.25f, 0.0f)), 0);
  EXPECT_EQ(edge[5], (Complex{2, 0}));
}

TEST(ComplexSolve, FaultsLeaveAUntouched) {
  using Kind = FloatingPointFault::Kind;
  // The squared modulus of 2e19 overflows in the pivot search.
  Matrix huge = Make(3, 2, {{{2e19f, 0}, {0, 0}, {1, 0}}, {{0, 0}, {1, 0}, {1, 0}}});
  Matrix before = huge;
  EXPECT_EQ(FaultOf(huge, 3, 2, 3), Kind::Overflow);
  EXPECT_EQ(huge, before);

  // 3e38 − (−1)·3e38 overflows while eliminating.
  Matrix rhs = Make(3, 2, {{{1, 0}, {0, 0}, {3e38f, 0}}, {{-1, 0}, {1, 0}, {3e38f, 0}}});
  before = rhs;
  EXPECT_EQ(FaultOf(rhs, 3, 2, 3), Kind::Overflow);
  EXPECT_EQ(rhs, before);

  // A small pivot scales a large right-hand side beyond the range.
  Matrix scaled = Make(3, 2, {{{2e-3f, 0}, {0, 0}, {1e36f, 0}}, {{0, 0}, {2e-3f, 0}, {1, 0}}});
  before = scaled;
  EXPECT_EQ(FaultOf(scaled, 3, 2, 3), Kind::Overflow);
  EXPECT_EQ(scaled, before);

  // A value that is not a number is an invalid operation, never a result.
  Matrix nan = Make(3, 2, {{{1, 0}, {0, 0}, {std::numeric_limits<float>::quiet_NaN(), 0}}, {{0, 0}, {1, 0}, {1, 0}}});
  EXPECT_EQ(FaultOf(nan, 3, 2, 3), Kind::InvalidOperation);
  EXPECT_TRUE(std::isnan(nan[2].re));
  EXPECT_EQ(nan[5], (Complex{1, 0}));
}

}  // namespace
