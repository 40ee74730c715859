#include "analysis/Mymath.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "analysis/TridiagonalEigen.h"
#include "platform/CheckedFloat.h"
#include "platform/Errors.h"
#include "platform/Printf.h"

namespace {

// Room for the work arrays of the lumped-mass model (20 layers) and more
// without touching the heap; larger systems fall back to a vector.
constexpr int32_t kInlineOrder = 64;

template <typename T>
class WorkArray {
 public:
  explicit WorkArray(int32_t n) {
    if (n > kInlineOrder) {
      heap_.resize(static_cast<size_t>(n));
      data_ = heap_.data();
    }
  }
  WorkArray(const WorkArray&) = delete;
  WorkArray& operator=(const WorkArray&) = delete;
  T& operator[](int32_t i) { return data_[i]; }
  T* data() { return data_; }

 private:
  T inline_[kInlineOrder];
  std::vector<T> heap_;
  T* data_ = inline_;
};

// Householder reduction of the symmetric n × n matrix s (row stride n) to
// tridiagonal form, accumulating the reflections into z (initially the
// identity): afterwards zᵀ·S·z is the tridiagonal s.
void ReduceToTridiagonal(double* s, double* z, int32_t n) {
  std::vector<double> x(static_cast<size_t>(n));
  std::vector<double> p(static_cast<size_t>(n));
  for (int32_t k = 0; k + 2 < n; ++k) {
    double norm2 = 0.0;
    for (int32_t i = k + 1; i < n; ++i) norm2 += s[i * n + k] * s[i * n + k];
    const double tail = norm2 - s[(k + 1) * n + k] * s[(k + 1) * n + k];
    if (tail == 0.0) continue;  // column k is tridiagonal already
    const double alpha = s[(k + 1) * n + k] > 0.0 ? -std::sqrt(norm2) : std::sqrt(norm2);
    for (int32_t i = 0; i < n; ++i) x[i] = i > k ? s[i * n + k] : 0.0;
    x[k + 1] -= alpha;
    double xx = 0.0;
    for (int32_t i = k + 1; i < n; ++i) xx += x[i] * x[i];
    const double beta = 2.0 / xx;
    // S ← H·S·H with H = I − β·x·xᵀ: right, then left; z ← z·H.
    for (double* m : {s, z}) {
      for (int32_t r = 0; r < n; ++r) {
        double dot = 0.0;
        for (int32_t c = k + 1; c < n; ++c) dot += m[r * n + c] * x[c];
        p[r] = beta * dot;
      }
      for (int32_t r = 0; r < n; ++r) {
        for (int32_t c = k + 1; c < n; ++c) m[r * n + c] -= p[r] * x[c];
      }
    }
    for (int32_t c = 0; c < n; ++c) {
      double dot = 0.0;
      for (int32_t r = k + 1; r < n; ++r) dot += x[r] * s[r * n + c];
      p[c] = beta * dot;
    }
    for (int32_t r = k + 1; r < n; ++r) {
      for (int32_t c = 0; c < n; ++c) s[r * n + c] -= x[r] * p[c];
    }
  }
}

}  // namespace

int32_t EigenSolve(float* a, const float* m, float* eig, float* v, int32_t stride, int32_t n, int32_t& maxRotations,
                   float /*eps*/) {
  WorkArray<double> w(n);
  WorkArray<double> d(n);
  WorkArray<double> e(n);
  WorkArray<int32_t> index(n);

  // A zero mass divides by zero here and ends the analysis with that fault.
  for (int32_t i = 0; i < n; ++i) w[i] = checked::Sqrt(checked::Divide(1.0, m[i]));

  // M^(-1/2)·K·M^(-1/2) from the upper triangle, in double: float32 would
  // lose the small eigenvalues beside the large entries of stiff layers.
  std::vector<double> s(static_cast<size_t>(n) * n);
  std::vector<double> z(static_cast<size_t>(n) * n, 0.0);
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = i; j < n; ++j) {
      s[i * n + j] = s[j * n + i] = static_cast<double>(a[i * stride + j]) * w[i] * w[j];
    }
    z[i * n + i] = 1.0;
  }
  ReduceToTridiagonal(s.data(), z.data(), n);
  for (int32_t i = 0; i < n; ++i) {
    d[i] = s[i * n + i];
    e[i] = i + 1 < n ? s[i * n + i + 1] : 0.0;
  }
  const int32_t code = TridiagonalQL(n, d.data(), e.data(), z.data(), n, maxRotations);
  if (code != 0) {
    throw ReportedFailure(
        MessageBox{Printf("jacobi error Code = %d", code), kEigenErrorCaption, MessageIcon::None, MessageButtons::Ok});
  }

  // Ascending eigenvalues; the first of equal values keeps its place.
  for (int32_t i = 0; i < n; ++i) index[i] = i;
  std::stable_sort(index.data(), index.data() + n, [&](int32_t x, int32_t y) { return d[x] < d[y]; });

  // φ = M^(-1/2)·ψ, columns in eigenvalue order. A keeps these vectors
  // before normalisation.
  for (int32_t j = 0; j < n; ++j) {
    const int32_t from = index[j];
    eig[j] = checked::StoreSingle(d[from]);
    // Unit Euclidean length; the first nonzero entry (mass 0 for a soil
    // column) is made positive, so the tables do not flip sign at random.
    double sign = 1.0;
    for (int32_t i = 0; i < n; ++i) {
      if (z[i * n + from] != 0.0) {
        sign = z[i * n + from] < 0.0 ? -1.0 : 1.0;
        break;
      }
    }
    double length2 = 0.0;
    for (int32_t i = 0; i < n; ++i) {
      const double phi = sign * z[i * n + from] * w[i];
      a[i * stride + j] = checked::StoreSingle(phi);
      length2 += phi * phi;
    }
    const double length = std::sqrt(length2);
    for (int32_t i = 0; i < n; ++i) {
      v[i * stride + j] = checked::StoreSingle(sign * z[i * n + from] * w[i] / length);
    }
  }
  return 0;
}

int32_t Jacobi(float* a, float* v, int32_t stride, float eps, int32_t& maxRotations, int32_t n) {
  // There is no pivot position below two rows, so nothing may rotate. A NaN
  // eps would never be reached and is refused alike.
  if (n < 2 || maxRotations < 1 || !(eps > 0.0f)) {
    throw ReportedFailure(
        MessageBox{"jacobi parameter error", kJacobiErrorCaption, MessageIcon::None, MessageButtons::Ok});
  }

  for (int32_t j = 0; j < n; ++j) {
    for (int32_t k = j + 1; k < n; ++k) {
      if (a[j * stride + k] != a[k * stride + j]) return 999;
    }
  }

  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = 0; j < n; ++j) v[i * stride + j] = i == j ? 1.0f : 0.0f;
  }

  int32_t count = 0;
  for (;;) {
    // Largest off-diagonal magnitude; the first of equal maxima wins.
    float largest = 0.0f;
    int32_t p = 0;
    int32_t q = 0;
    for (int32_t r = 0; r < n; ++r) {
      for (int32_t c = r + 1; c < n; ++c) {
        const float x = std::fabs(a[r * stride + c]);
        if (x > largest) {
          largest = x;
          p = r;
          q = c;
        }
      }
    }
    if (largest <= eps) {
      maxRotations = count;
      return 0;
    }
    if (count >= maxRotations) {
      maxRotations = count;
      return 1;
    }
    ++count;

    const float app = a[p * stride + p];
    const float aqq = a[q * stride + q];
    const float apq = a[p * stride + q];
    const float d = checked::StoreSingle(std::fabs(static_cast<double>(app) - aqq));
    const float d2 = checked::StoreSingle(static_cast<double>(d) * d);
    const float apq4 = checked::StoreSingle(4.0 * apq * apq);
    float t = checked::StoreSingle(checked::Divide(2.0 * apq, d + checked::Sqrt(static_cast<double>(d2) + apq4)));
    if (app < aqq) t = -t;
    const float t21 = checked::StoreSingle(static_cast<double>(t) * t + 1.0);
    const float c = checked::StoreSingle(checked::Sqrt(checked::Divide(1.0, t21)));
    const float s = checked::StoreSingle(static_cast<double>(t) * c);

    for (int32_t k = 0; k < n; ++k) {
      float& vkp = v[k * stride + p];
      float& vkq = v[k * stride + q];
      const double oldP = vkp;
      const double oldQ = vkq;
      vkp = checked::StoreSingle(oldP * c + oldQ * s);
      vkq = checked::StoreSingle(-(oldP * s) + oldQ * c);
      if (k != p && k != q) {
        float& akp = a[k * stride + p];
        float& akq = a[k * stride + q];
        const double aP = akp;
        const double aQ = akq;
        akp = checked::StoreSingle(aP * c + aQ * s);
        akq = checked::StoreSingle(-(aP * s) + aQ * c);
        a[p * stride + k] = akp;
        a[q * stride + k] = akq;
      }
    }
    const float newApp =
        checked::StoreSingle(static_cast<double>(app) * c * c + static_cast<double>(aqq) * s * s + 2.0 * apq * c * s);
    a[p * stride + p] = newApp;
    a[q * stride + q] = checked::StoreSingle(static_cast<double>(app) + aqq - newApp);
    a[p * stride + q] = 0.0f;
    a[q * stride + p] = 0.0f;
  }
}

int32_t SortWithIndex(int32_t n, float* values, int32_t* index, int32_t descending) {
  for (int32_t i = 0; i < n; ++i) index[i] = i;
  for (int32_t i = 0; i < n - 1; ++i) {
    for (int32_t j = i + 1; j < n; ++j) {
      if (values[i] > values[j]) {
        std::swap(values[i], values[j]);
        std::swap(index[i], index[j]);
      }
    }
  }
  if (descending != 0) {
    for (int32_t i = 0; i < n / 2; ++i) {
      std::swap(values[i], values[n - 1 - i]);
      std::swap(index[i], index[n - 1 - i]);
    }
  }
  return 0;
}
