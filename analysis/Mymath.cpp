#include "analysis/Mymath.h"

#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/CheckedFloat.h"
#include "platform/Errors.h"

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

}  // namespace

int32_t EigenSolve(float* a, const float* m, float* eig, float* v, int32_t stride, int32_t n,
                   int32_t& maxRotations, float eps) {
  WorkArray<float> w(n);
  WorkArray<int32_t> index(n);

  // A zero mass divides by zero here and ends the analysis with that fault.
  for (int32_t i = 0; i < n; ++i) {
    w[i] = checked::StoreSingle(checked::Sqrt(checked::Divide(1.0, m[i])));
  }

  // M^(-1/2)·K·M^(-1/2) from the upper triangle, then mirrored.
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = i; j < n; ++j) {
      float& aij = a[i * stride + j];
      aij = checked::StoreSingle(static_cast<double>(aij) * w[i] * w[j]);
    }
  }
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = i + 1; j < n; ++j) a[j * stride + i] = a[i * stride + j];
  }

  const int32_t code = Jacobi(a, v, stride, eps, maxRotations, n);
  if (code != 0) {
    char text[64];
    std::snprintf(text, sizeof text, "jacobi error Code = %d", code);
    throw ReportedFailure(MessageBox{text, "Eigen Error", MessageIcon::None, MessageButtons::Ok});
  }

  // φ = M^(-1/2)·ψ
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = 0; j < n; ++j) {
      float& vij = v[i * stride + j];
      vij = checked::StoreSingle(static_cast<double>(vij) * w[i]);
    }
  }
  for (int32_t i = 0; i < n; ++i) eig[i] = a[i * stride + i];
  SortWithIndex(n, eig, index.data(), 0);

  // Columns follow their eigenvalues; A keeps the reordered vectors.
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = 0; j < n; ++j) a[i * stride + j] = v[i * stride + index[j]];
  }
  for (int32_t i = 0; i < n; ++i) {
    for (int32_t j = 0; j < n; ++j) v[i * stride + j] = a[i * stride + j];
  }

  // Unit Euclidean length; the sum of squares is kept in float32.
  for (int32_t j = 0; j < n; ++j) {
    float s = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
      const double vij = v[i * stride + j];
      s = checked::StoreSingle(s + vij * vij);
    }
    const double length = checked::Sqrt(s);
    for (int32_t i = 0; i < n; ++i) {
      float& vij = v[i * stride + j];
      vij = checked::StoreSingle(checked::Divide(vij, length));
    }
  }
  return 0;
}

int32_t Jacobi(float* a, float* v, int32_t stride, float eps, int32_t& maxRotations, int32_t n) {
  // There is no pivot position below two rows, so nothing may rotate. A NaN
  // eps would never be reached and is refused alike.
  if (n < 2 || maxRotations < 1 || !(eps > 0.0f)) {
    throw ReportedFailure(
        MessageBox{"jacobi parameter error", "Jacobi Error", MessageIcon::None, MessageButtons::Ok});
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
    float t = checked::StoreSingle(
        checked::Divide(2.0 * apq, d + checked::Sqrt(static_cast<double>(d2) + apq4)));
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
    const float newApp = checked::StoreSingle(static_cast<double>(app) * c * c +
                                              static_cast<double>(aqq) * s * s +
                                              2.0 * apq * c * s);
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
