// The solvers of the lumped-mass analysis at its largest: one 20 × 21 complex
// system per sample for 400 samples, and the 20-mass eigenproblem.
#include <benchmark/benchmark.h>

#include <vector>

#include "analysis/Mycomplex.h"
#include "analysis/Mymath.h"

namespace {

constexpr int kMasses = 20;

float Mass(int p) { return 1.5f + 0.05f * p; }
float Spring(int p) { return 1800.0f + 30.0f * p; }

void FillSystem(Complex* a, float omega2, float eta) {
  ComplexZeroMatrix(a, kMasses, kMasses + 1);
  for (int p = 0; p < kMasses; ++p) {
    const float above = p == 0 ? 0.0f : Spring(p - 1);
    const float diag = above + Spring(p);
    a[p * 21 + p] = {diag - omega2 * Mass(p), eta * diag};
    if (p + 1 < kMasses) {
      a[p * 21 + p + 1] = a[(p + 1) * 21 + p] = {-Spring(p), -eta * Spring(p)};
    }
    a[p * 21 + kMasses] = {omega2 * Mass(p), 0.0f};
  }
}

// One whole frequency response: 400 samples, as the analysis solves them.
void BM_ComplexSolve400Samples(benchmark::State& state) {
  Complex a[20 * 21];
  for (auto _ : state) {
    for (int j = 0; j < 400; ++j) {
      const float omega = 0.5f + 0.25f * j;
      FillSystem(a, omega * omega, 0.1f);
      benchmark::DoNotOptimize(ComplexSolve(a, 21, kMasses, kMasses + 1, 1e-6f));
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ComplexSolve400Samples)->Unit(benchmark::kMillisecond);

void BM_EigenSolve20Masses(benchmark::State& state) {
  std::vector<float> k(400, 0.0f), a(400), v(400), m(kMasses);
  for (int p = 0; p < kMasses; ++p) {
    const float above = p == 0 ? 0.0f : Spring(p - 1);
    k[p * 20 + p] = above + Spring(p);
    if (p + 1 < kMasses) k[p * 20 + p + 1] = k[(p + 1) * 20 + p] = -Spring(p);
    m[p] = Mass(p);
  }
  float eig[kMasses];
  for (auto _ : state) {
    a = k;
    int32_t rotations = 1000;
    benchmark::DoNotOptimize(EigenSolve(a.data(), m.data(), eig, v.data(), 20, kMasses, rotations, 1e-6f));
  }
}
BENCHMARK(BM_EigenSolve20Masses)->Unit(benchmark::kMicrosecond);

}  // namespace
