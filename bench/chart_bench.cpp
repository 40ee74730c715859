// Drawing the main window's two pictures: the amplification chart with 20
// curves of 400 samples, and the 20-layer stratum diagram, on the Qt canvas
// (what the user waits for after every analysis) and on the recording canvas
// (the drawing logic alone). Saving a chart as PNG shows what the batch adds.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "../tests/RecordingCanvas.h"
#include "graphics/qt/PictureExport.h"
#include "platform/qt/QtCanvas.h"

namespace {

// Twenty layers and 400 samples of smooth resonance curves; the values only
// need to be realistic in range and shape, not computed.
struct TwentyLayerChart {
  TwentyLayerChart() {
    profile.siteName = "ベンチマーク地点";
    profile.layerCount = 20;
    for (int i = 0; i < 20; ++i) {
      profile.layers[i].thickness = 1.5f + 0.25f * i;
      profile.layers[i].density = 1.6f + 0.02f * i;
      profile.layers[i].vs = 95.0f + 17.5f * i;
    }
    profile.base().density = 2.2f;
    profile.base().vs = 700.0f;
    ComputeDerivedValues(profile);

    result.pointCount = 400;
    for (int j = 0; j < 400; ++j) result.xValue[j] = 0.0125f * (j + 1);
    for (int m = 0; m < 20; ++m) {
      result.amplification[m].resize(400);
      for (int j = 0; j < 400; ++j) {
        const double t = result.xValue[j];
        const double detune = t / (1.2 - 0.04 * m) - 1.0;
        result.amplification[m][j] = static_cast<float>(1.0 + (14.0 - 0.5 * m) / (1.0 + 400.0 * detune * detune));
      }
    }
    settings.displayLayers.fill(true);
  }
  ChartPictureSources Sources() const { return {profile, result, settings}; }

  SoilProfile profile;
  AmplificationResult result;
  AnalysisSettings settings;
};

const TwentyLayerChart& Chart() {
  static const TwentyLayerChart chart;
  return chart;
}

bool GraphicsReady(benchmark::State& state) {
  const std::string error = EnsurePictureGraphics();
  if (!error.empty()) state.SkipWithError(error.c_str());
  return error.empty();
}

void BM_ChartQt(benchmark::State& state) {
  if (!GraphicsReady(state)) return;
  QtCanvas canvas(kChartPictureWidth, kChartPictureHeight);
  for (auto _ : state) {
    const std::string error = RenderChartPicture(canvas, Chart().Sources());
    benchmark::DoNotOptimize(error);
  }
}
BENCHMARK(BM_ChartQt)->Unit(benchmark::kMillisecond);

void BM_ChartRecording(benchmark::State& state) {
  RecordingCanvas canvas(kChartPictureWidth, kChartPictureHeight);
  for (auto _ : state) {
    canvas.ClearLog();
    const std::string error = RenderChartPicture(canvas, Chart().Sources());
    benchmark::DoNotOptimize(error);
  }
  state.counters["ops"] = static_cast<double>(canvas.ops().size());
}
BENCHMARK(BM_ChartRecording)->Unit(benchmark::kMicrosecond);

void BM_StratumQt(benchmark::State& state) {
  if (!GraphicsReady(state)) return;
  QtCanvas canvas(kStratumPictureWidth, kStratumPictureHeight);
  for (auto _ : state) {
    RenderStratumPicture(canvas, Chart().profile);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StratumQt)->Unit(benchmark::kMillisecond);

void BM_StratumRecording(benchmark::State& state) {
  RecordingCanvas canvas(kStratumPictureWidth, kStratumPictureHeight);
  for (auto _ : state) {
    canvas.ClearLog();
    RenderStratumPicture(canvas, Chart().profile);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StratumRecording)->Unit(benchmark::kMicrosecond);

void BM_SaveChartPng(benchmark::State& state) {
  if (!GraphicsReady(state)) return;
  char path[] = "/tmp/tovalk-chart-bench-XXXXXX.png";
  const int fd = mkstemps(path, 4);
  if (fd < 0) {
    state.SkipWithError("no temporary file");
    return;
  }
  close(fd);
  for (auto _ : state) {
    const std::string error = SaveChartPicture(path, Chart().Sources());
    if (!error.empty()) {
      state.SkipWithError(error.c_str());
      break;
    }
  }
  std::remove(path);
}
BENCHMARK(BM_SaveChartPng)->Unit(benchmark::kMillisecond);

}  // namespace
