// Gauss-Jordan elimination with full pivoting on two float32 copies of the
// matrix (real and imaginary parts). Every complex product is rounded to
// float32 per component as ComplexMul rounds it, and each difference once more
// where it is stored, so the results follow the single-precision arithmetic of
// the rest of the analysis.
#include <bit>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "analysis/Mycomplex.h"
#include "platform/CheckedFloat.h"

namespace {

constexpr int32_t kMaxOrder = 200;
// The lumped-mass system (20 × 21) and somewhat larger ones stay on the stack.
constexpr size_t kInlineCells = 1024;
constexpr size_t kInlineCols = 256;

// A value that is not finite: a NaN is an invalid operation, an infinity an
// overflow. The first one in storage order decides.
[[noreturn]] void RaiseFirstFault(const float* re, const float* im, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i) {
    for (float x : {re[i], im[i]}) {
      if (std::isnan(x)) checked::Raise(FloatingPointFault::Kind::InvalidOperation);
      if (std::isinf(x)) checked::Raise(FloatingPointFault::Kind::Overflow);
    }
  }
  checked::Raise(FloatingPointFault::Kind::Overflow);
}

// Folded into `bad |= ...` without a branch, one value a line: no short
// circuit in the inner loops.
inline bool NotFinite(float x) { return !(std::fabs(x) <= 3.40282347e38f); }

}  // namespace

int32_t ComplexSolve(Complex* a, int32_t stride, int32_t n, int32_t ncols, float eps) {
  // Columns beyond the row stride would run into the next row (and past the
  // last one), so such a call is refused like the others.
  if (n < 2 || n > kMaxOrder || ncols <= n || ncols > stride || !(eps > 0.0f)) return 0;

  // Only columns 0..ncols-1 take part, so the copies use ncols as their stride.
  const size_t nc = static_cast<size_t>(ncols);
  const size_t cells = static_cast<size_t>(n) * nc;
  float inlineRe[kInlineCells];
  float inlineIm[kInlineCells];
  std::vector<float> heap;
  float* re = inlineRe;
  float* im = inlineIm;
  if (cells > kInlineCells) {
    heap.resize(2 * cells);
    re = heap.data();
    im = re + cells;
  }
  bool bad = false;
  for (int32_t r = 0; r < n; ++r) {
    const Complex* row = a + static_cast<ptrdiff_t>(r) * stride;
    for (size_t c = 0; c < nc; ++c) {
      re[r * nc + c] = row[c].re;
      im[r * nc + c] = row[c].im;
      bad |= NotFinite(row[c].re);
      bad |= NotFinite(row[c].im);
    }
  }
  // Values that are not finite never come from the analysis, which stores
  // only checked values; should one arrive it is refused here. From finite
  // values the only fault left is an overflow, and every loop below checks
  // for it once per row rather than once per value.
  if (bad) RaiseFirstFault(re, im, 0, cells);
  size_t inlineCols[kInlineCols];
  std::vector<size_t> heapCols;
  size_t* cols = inlineCols;
  if (nc > kInlineCols) {
    heapCols.resize(nc);
    cols = heapCols.data();
  }
  int32_t perm[kMaxOrder];
  int32_t modulus[kMaxOrder];
  for (int32_t i = 0; i < n; ++i) perm[i] = i;

  for (int32_t step = 0; step < n; ++step) {
    const size_t I = static_cast<size_t>(step);

    // Full pivot search; the first strict maximum of re² + im² (float32) wins.
    // The squares are never negative nor NaN, so their bit patterns order as
    // the values do: each row's maximum is taken on the bits (a loop the
    // compiler vectorises), and only a row that beats the best so far is
    // scanned for the first place of its maximum. An overflowed square is
    // infinite and so becomes the maximum.
    int32_t bestBits = 0;
    size_t Q = 0;
    size_t R = 0;
    bool found = false;
    for (size_t r = I; r < static_cast<size_t>(n); ++r) {
      const float* rowRe = re + r * nc;
      const float* rowIm = im + r * nc;
      int32_t rowBits = 0;
      for (size_t c = I; c < static_cast<size_t>(n); ++c) {
        const double x = rowRe[c];
        const double y = rowIm[c];
        const int32_t bits = std::bit_cast<int32_t>(static_cast<float>(x * x + y * y));
        modulus[c] = bits;
        rowBits = bits > rowBits ? bits : rowBits;
      }
      if (rowBits > bestBits) {
        size_t c = I;
        while (modulus[c] != rowBits) ++c;
        bestBits = rowBits;
        Q = r;
        R = c;
        found = true;
      }
    }
    const float best = std::bit_cast<float>(bestBits);
    if (std::isinf(best)) checked::Raise(FloatingPointFault::Kind::Overflow);
    if (!found || best <= eps) return 1;  // singular; A keeps its values

    if (R != I) {
      std::swap(perm[I], perm[R]);
      for (size_t r = 0; r < static_cast<size_t>(n); ++r) {
        std::swap(re[r * nc + I], re[r * nc + R]);
        std::swap(im[r * nc + I], im[r * nc + R]);
      }
    }
    if (Q != I) {
      for (size_t c = I; c < nc; ++c) {
        std::swap(re[I * nc + c], re[Q * nc + c]);
        std::swap(im[I * nc + c], im[Q * nc + c]);
      }
    }

    // The pivot row times the reciprocal (x / W, −y / W) of the pivot.
    float* pr = re + I * nc;
    float* pi = im + I * nc;
    const double W = best;
    const double recipRe = static_cast<float>(pr[I] / W);
    const double recipIm = static_cast<float>(-pi[I] / W);
    for (size_t c = I; c < nc; ++c) {
      const double x = pr[c];
      const double y = pi[c];
      pr[c] = static_cast<float>(x * recipRe - y * recipIm);
      pi[c] = static_cast<float>(y * recipRe + x * recipIm);
      bad |= NotFinite(pr[c]);
      bad |= NotFinite(pi[c]);
    }
    if (bad) checked::Raise(FloatingPointFault::Kind::Overflow);

    // A zero in the pivot row or a zero multiplier f changes no value (at
    // most the sign of a zero), so only the nonzero columns of the pivot row
    // are visited and rows with f = 0 are passed over. The lumped-mass system
    // is tridiagonal, which makes this most of the work saved.
    size_t used = 0;
    for (size_t c = I; c < nc; ++c) {
      if (pr[c] != 0.0f || pi[c] != 0.0f) cols[used++] = c;
    }

    // element(E, F) − f·element(I, F): product rounded per component, then
    // the difference rounded.
    for (size_t e = 0; e < static_cast<size_t>(n); ++e) {
      if (e == I) continue;
      float* er = re + e * nc;
      float* ei = im + e * nc;
      if (er[I] == 0.0f && ei[I] == 0.0f) continue;
      const double fr = er[I];
      const double fi = ei[I];
      for (size_t k = 0; k < used; ++k) {
        const size_t c = cols[k];
        const double x = pr[c];
        const double y = pi[c];
        const float mr = static_cast<float>(fr * x - fi * y);
        const float mi = static_cast<float>(fi * x + fr * y);
        er[c] = static_cast<float>(static_cast<double>(er[c]) - mr);
        ei[c] = static_cast<float>(static_cast<double>(ei[c]) - mi);
        // An overflowed product leaves an infinite difference behind.
        bad |= NotFinite(er[c]);
        bad |= NotFinite(ei[c]);
      }
      if (bad) checked::Raise(FloatingPointFault::Kind::Overflow);
    }
  }

  // The column exchanges permuted the unknowns; put the solution rows back.
  for (int32_t e = 0; e < n - 1; ++e) {
    while (perm[e] != e) {
      const int32_t v = perm[e];
      std::swap(perm[v], perm[e]);
      for (size_t c = static_cast<size_t>(n); c < nc; ++c) {
        std::swap(re[static_cast<size_t>(v) * nc + c], re[static_cast<size_t>(e) * nc + c]);
        std::swap(im[static_cast<size_t>(v) * nc + c], im[static_cast<size_t>(e) * nc + c]);
      }
    }
  }

  for (int32_t r = 0; r < n; ++r) {
    Complex* row = a + static_cast<ptrdiff_t>(r) * stride;
    for (size_t c = static_cast<size_t>(n); c < nc; ++c) {
      row[c] = {re[r * nc + c], im[r * nc + c]};
    }
  }
  return 0;
}
