// tovalk-batch throughput: profiles per second through RunBatch, in process,
// reading and writing real (temporary) files: transfer matrix method,
// hysteretic damping 0.05, 400 frequencies from 0 to 20 Hz, result files
// written, at one job and at every core, into a fresh folder and over the
// results of the run before.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "app/BatchRun.h"

namespace {

// A profile file of random layers: thickness 0.5–10 m, Vs 80–600 m/s (ASCII
// site name, so no codec is needed to write it).
std::string RandomProfileFile(std::mt19937& random, int n) {
  std::uniform_real_distribution<double> thickness(0.5, 10.0), vs(80.0, 600.0), density(1.5, 2.0);
  std::ostringstream text;
  text << "\x83\x54\x83\x43\x83\x67\x96\xbc,bench\r\n\x91\x77\x90\x94," << n << "\r\nheader\r\n";
  text.precision(4);
  for (int k = 1; k <= n; ++k)
    text << k << "," << thickness(random) << "," << density(random) << "," << vs(random) << "\r\n";
  text << ",,2.10,700\r\n";
  return text.str();
}

constexpr int kFiles = 400;
constexpr int kLayers = 20;

// range(0): jobs (0: one per core); range(1): 1 to write over the result
// files of the previous run, 0 for a fresh output folder every run.
void BM_BatchProfiles(benchmark::State& state) {
  const int jobs = state.range(0) == 0 ? static_cast<int>(std::max(1u, std::thread::hardware_concurrency()))
                                       : static_cast<int>(state.range(0));
  const bool overwrite = state.range(1) != 0;
  std::string folder = (std::filesystem::temp_directory_path() / "tovalk-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string out = folder + "/out";
  std::vector<std::string> args = {"--method",  "transfer", "--damping",          "hysteretic",   "--ratio",
                                   "0.05",      "--x",      "frequency",          "--x-scale",    "linear",
                                   "--x-lower", "0",        "--x-upper",          "20",           "--points",
                                   "400",       "--jobs",   std::to_string(jobs), "--output-dir", out};
  std::mt19937 random(20);
  for (int f = 0; f < kFiles; ++f) {
    const std::string input = folder + "/profile" + std::to_string(f) + ".csv";
    std::ofstream(input, std::ios::binary) << RandomProfileFile(random, kLayers);
    args.push_back(input);
  }
  auto run = [&] {
    std::ostringstream log, err;
    if (RunBatch(args, folder, log, err, false) != 0) state.SkipWithError(err.str().c_str());
  };
  if (overwrite) run();
  for (auto _ : state) {
    if (!overwrite) {
      state.PauseTiming();
      std::filesystem::remove_all(out);
      state.ResumeTiming();
    }
    run();
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
  state.SetLabel(std::string("profiles, jobs ") + std::to_string(jobs) + (overwrite ? ", overwriting" : ", fresh"));
  std::filesystem::remove_all(folder);
}

BENCHMARK(BM_BatchProfiles)
    ->ArgNames({"jobs", "overwrite"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
