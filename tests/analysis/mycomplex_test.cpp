#include "analysis/Mycomplex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/Errors.h"

namespace {

using Kind = FloatingPointFault::Kind;

template <typename F>
Kind FaultOf(F&& f) {
  try {
    f();
  } catch (const FloatingPointFault& e) {
    return e.kind();
  }
  ADD_FAILURE() << "no floating-point fault";
  return Kind::InvalidOperation;
}

void ExpectComplex(Complex z, float re, float im) {
  EXPECT_EQ(z.re, re);
  EXPECT_EQ(z.im, im);
}

TEST(ComplexArithmetic, ProductsRoundOnceFromDouble) {
  // (1+2^-12)² − (1+2^-11) is 2^-24 exactly; a float32 product would first
  // round (1+2^-12)² to 1+2^-11 and give 0.
  const Complex a{1.0f + 0x1p-12f, 1.0f + 0x1p-11f};
  const Complex b{1.0f + 0x1p-12f, 1.0f};
  // Imaginary part 2 + 2^-10 + 2^-23 is a tie in float32 and rounds to even.
  ExpectComplex(ComplexMul(a, b), 0x1p-24f, 2.0f + 0x1p-10f);
  ExpectComplex(ComplexMul(b, a), 0x1p-24f, 2.0f + 0x1p-10f);

  // Sums and differences: 1 + 2^-24 rounds to 1, 1 + 2^-23 stays.
  ExpectComplex(ComplexAdd({1.0f, 1.0f}, {0x1p-24f, 0x1p-23f}), 1.0f, 1.0f + 0x1p-23f);
  ExpectComplex(ComplexSub({1.0f, 0.5f}, {0x1p-25f, 0.5f}), 1.0f, 0.0f);
  ExpectComplex(ComplexScale(3.0f, {0.5f, -2.0f}), 1.5f, -6.0f);
  ExpectComplex(ComplexNeg({1.5f, -0.0f}), -1.5f, 0.0f);
  EXPECT_FALSE(std::signbit(ComplexNeg({1.0f, -0.0f}).im));

  EXPECT_EQ(FaultOf([] { ComplexAdd({3e38f, 0.0f}, {3e38f, 0.0f}); }), Kind::Overflow);
  EXPECT_EQ(FaultOf([] { ComplexMul({2e19f, 0.0f}, {2e19f, 0.0f}); }), Kind::Overflow);
}

TEST(ComplexArithmetic, DivisionUsesThePlainFormula) {
  ExpectComplex(ComplexDiv({1.0f, 0.0f}, {0.0f, 1.0f}), 0.0f, -1.0f);
  ExpectComplex(ComplexDiv({3.0f, 4.0f}, {3.0f, 4.0f}), 1.0f, 0.0f);
  ExpectComplex(ComplexDiv({2.0f, 0.0f}, {0.0f, -4.0f}), 0.0f, 0.5f);

  // 7 / (0.1 + 0.3i) is 7 − 21i; p, q and d are each rounded to float32
  // before dividing, which leaves the real part two units below the value an
  // unrounded p or d would give.
  const Complex q = ComplexDiv({7.0f, 0.0f}, {0.1f, 0.3f});
  const float p = static_cast<float>(7.0 * 0.1f);
  const float qi = static_cast<float>(-7.0 * 0.3f);
  const float d = static_cast<float>(static_cast<double>(0.1f) * 0.1f + static_cast<double>(0.3f) * 0.3f);
  EXPECT_EQ(q.re, 0x1.bffffcp+2f);
  EXPECT_EQ(q.re, static_cast<float>(static_cast<double>(p) / d));
  EXPECT_EQ(q.im, static_cast<float>(static_cast<double>(qi) / d));

  // No scaling: a divisor beyond about 1.8e19 overflows in d.
  EXPECT_EQ(FaultOf([] { ComplexDiv({1.0f, 0.0f}, {2e19f, 0.0f}); }), Kind::Overflow);
  // A zero divisor makes p and q zero as well: 0/0, whatever the dividend.
  EXPECT_EQ(FaultOf([] { ComplexDiv({1.0f, 2.0f}, {0.0f, 0.0f}); }), Kind::InvalidOperation);
  EXPECT_EQ(FaultOf([] { ComplexDiv({0.0f, 0.0f}, {0.0f, 0.0f}); }), Kind::InvalidOperation);
  // A divisor whose squared modulus underflows to 0 divides a nonzero p by 0;
  // the real part is divided first.
  EXPECT_EQ(FaultOf([] { ComplexDiv({1.0f, 0.0f}, {1e-30f, 0.0f}); }), Kind::DivideByZero);
  EXPECT_EQ(FaultOf([] { ComplexDiv({0.0f, 1.0f}, {1e-30f, 0.0f}); }), Kind::InvalidOperation);
}

TEST(ComplexArithmetic, ModulusRoundsTheSumOfSquaresToSingle) {
  EXPECT_EQ(ComplexAbs({3.0f, 4.0f}), 5.0);
  EXPECT_EQ(ComplexAbs({0.0f, 0.0f}), 0.0);
  EXPECT_EQ(ComplexAbs({-3.0f, -4.0f}), 5.0);
  // 1 + 2^-24 rounds to 1 before the root: exactly 1, not 1.00000003.
  EXPECT_EQ(ComplexAbs({1.0f, 0x1p-12f}), 1.0);
  EXPECT_EQ(ComplexAbs({1.8e19f, 0.0f}),
            std::sqrt(static_cast<double>(static_cast<float>(static_cast<double>(1.8e19f) * 1.8e19f))));
  EXPECT_EQ(FaultOf([] { ComplexAbs({1.9e19f, 0.0f}); }), Kind::Overflow);
  EXPECT_EQ(FaultOf([] { ComplexAbs({0.0f, -1.9e19f}); }), Kind::Overflow);
}

TEST(ComplexArithmetic, ExponentialRoundsTheMagnitudeFirst) {
  ExpectComplex(ComplexExp({0.0f, 0.0f}), 1.0f, 0.0f);
  ExpectComplex(ComplexExp({1.0f, 0.0f}), static_cast<float>(std::exp(1.0)), 0.0f);

  const float halfPi = static_cast<float>(M_PI / 2);
  const Complex i = ComplexExp({0.0f, halfPi});
  EXPECT_EQ(i.re, static_cast<float>(std::cos(static_cast<double>(halfPi))));
  EXPECT_NEAR(i.re, -4.371139e-8f, 1e-14f);
  EXPECT_EQ(i.im, 1.0f);

  // e^1 is rounded to float32 before it scales cos 1: the product with the
  // unrounded e would end one unit higher.
  const float e = static_cast<float>(std::exp(1.0));
  const Complex z = ComplexExp({1.0f, 1.0f});
  EXPECT_EQ(z.re, 0x1.77fc52p+0f);
  EXPECT_EQ(z.re, static_cast<float>(std::cos(1.0) * e));
  EXPECT_EQ(z.im, static_cast<float>(std::sin(1.0) * e));

  EXPECT_EQ(FaultOf([] { ComplexExp({89.0f, 0.0f}); }), Kind::Overflow);
  ExpectComplex(ComplexExp({-200.0f, 1.0f}), 0.0f, 0.0f);  // underflow passes
}

TEST(ComplexArithmetic, SquareRootBranchRule) {
  ExpectComplex(ComplexSqrt({3.0f, 4.0f}), 2.0f, 1.0f);
  ExpectComplex(ComplexSqrt({-3.0f, 4.0f}), 1.0f, 2.0f);
  ExpectComplex(ComplexSqrt({-3.0f, -4.0f}), 1.0f, -2.0f);
  ExpectComplex(ComplexSqrt({4.0f, 0.0f}), 2.0f, 0.0f);
  // The closed negative real axis gives the lower root.
  ExpectComplex(ComplexSqrt({-4.0f, 0.0f}), 0.0f, -2.0f);
  ExpectComplex(ComplexSqrt({-4.0f, -0.0f}), 0.0f, -2.0f);
  ExpectComplex(ComplexSqrt({0.0f, 2.0f}), 1.0f, 1.0f);
  ExpectComplex(ComplexSqrt({0.0f, -2.0f}), 1.0f, -1.0f);

  // The damping argument of the analysis has real part 1; squared, its root
  // gives it back to single precision.
  const Complex r = ComplexSqrt({1.0f, 0.1f});
  const Complex back = ComplexMul(r, r);
  EXPECT_FLOAT_EQ(back.re, 1.0f);
  EXPECT_FLOAT_EQ(back.im, 0.1f);

  // r and w are each rounded to float32: without either rounding these
  // would end a unit away in one part or the other.
  ExpectComplex(ComplexSqrt({1.0f, 0.4f}), 0x1.04e22ep+0f, 0x1.91eec2p-3f);
  ExpectComplex(ComplexSqrt({-2.7f, 3.0f}), 0x1.a27a4cp-1f, 0x1.d5d13p+0f);

  // (0, 0) leaves w = 0 in the denominator: 0/0.
  EXPECT_EQ(FaultOf([] { ComplexSqrt({0.0f, 0.0f}); }), Kind::InvalidOperation);
}

TEST(ComplexZeroMatrix, ClearsTheLeadingRowsWithStrideCols) {
  const Complex mark{7.0f, -7.0f};
  std::vector<Complex> m(440, mark);
  EXPECT_EQ(ComplexZeroMatrix(m.data(), 20, 21), 1);
  for (size_t i = 0; i < 420; ++i) ASSERT_EQ(m[i], (Complex{0.0f, 0.0f})) << i;
  for (size_t i = 420; i < 440; ++i) ASSERT_EQ(m[i], mark) << i;

  std::vector<Complex> small(8, mark);
  EXPECT_EQ(ComplexZeroMatrix(small.data(), 2, 3), 1);
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(small[i], (Complex{0.0f, 0.0f}));
  EXPECT_EQ(small[6], mark);

  std::vector<Complex> untouched(8, mark);
  EXPECT_EQ(ComplexZeroMatrix(untouched.data(), 0, 21), 1);
  EXPECT_EQ(ComplexZeroMatrix(untouched.data(), 20, 0), 1);
  EXPECT_EQ(ComplexZeroMatrix(untouched.data(), -1, 3), 1);
  EXPECT_EQ(untouched, std::vector<Complex>(8, mark));
}

}  // namespace
