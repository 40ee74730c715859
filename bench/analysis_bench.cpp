// Time of one method run for 1, 5 and 20 layers at 100, 200 and 400 samples,
// and of the natural modes of 20 layers.
#include <benchmark/benchmark.h>

#include "analysis/Analysis.h"
#include "analysis/LumpedMassModel.h"

namespace {

class QuietMessages : public MessagePort {
 public:
  MessageResult Show(const MessageBox&) override { return MessageResult::Ok; }
};

// Soft soil stiffening with depth over engineering bedrock.
SoilProfile Site(int layers) {
  SoilProfile p;
  p.layerCount = layers;
  for (int i = 0; i < layers; ++i) {
    p.layers[i].thickness = 1.5f + 0.25f * static_cast<float>(i % 7);
    p.layers[i].density = 1.6f + 0.02f * static_cast<float>(i);
    p.layers[i].vs = 110.0f + 15.0f * static_cast<float>(i);
  }
  p.base().density = 2.1f;
  p.base().vs = 600.0f;
  ComputeDerivedValues(p);
  return p;
}

struct Rig {
  SoilProfile profile;
  AmplificationResult result;
  AnalysisSettings settings;

  Rig(int layers, int points) : profile(Site(layers)) {
    result.pointCount = points;
    // Slots and eigenvalues in place; the layers take the analysed ratio.
    const AnalysisOutcome outcome = Analyse(profile, settings, result);
    result = outcome.result;
    if (outcome.dampingRatio) profile = WithDampingRatio(profile, *outcome.dampingRatio);
  }
};

// Each method's calculator whole: natural modes, then the method's table.
void BM_TransferMatrix(benchmark::State& state) {
  Rig rig(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    const MethodResult result = CalculateTransferMatrix(rig.profile, rig.settings, rig.result);
    benchmark::DoNotOptimize(result.amplification[0].data());
  }
}

// The transfer matrix table alone, by each side-by-side pass the processor
// runs (0 SSE2, 1 AVX2 with FMA).
void BM_TransferMatrixLanes(benchmark::State& state) {
  Rig rig(20, 400);
  const auto path = static_cast<LanePath>(state.range(0));
  if (!LanePathRuns(path)) {
    state.SkipWithError("not on this processor");
    return;
  }
  const NaturalModes modes = SolveNaturalModes(rig.profile);
  LayerAmplifications table;
  for (auto _ : state) {
    TransferMatrixAmplificationInLanes(rig.profile, rig.settings, rig.result, modes, path, table);
    benchmark::DoNotOptimize(table[0].data());
  }
}
BENCHMARK(BM_TransferMatrixLanes)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

void BM_LumpedMass(benchmark::State& state) {
  Rig rig(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    const MethodResult result = CalculateLumpedMass(rig.profile, rig.settings, rig.result);
    benchmark::DoNotOptimize(result.amplification[0].data());
  }
}

void BM_NaturalModes(benchmark::State& state) {
  const SoilProfile profile = Site(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(SolveNaturalModes(profile));
}
BENCHMARK(BM_NaturalModes)->Arg(20)->Unit(benchmark::kMicrosecond);

void Sizes(benchmark::internal::Benchmark* b) {
  for (int layers : {1, 5, 20}) {
    for (int points : {100, 200, 400}) b->Args({layers, points});
  }
  b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_TransferMatrix)->Apply(Sizes);
BENCHMARK(BM_LumpedMass)->Apply(Sizes);

}  // namespace
