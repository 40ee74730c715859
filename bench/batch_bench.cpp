// tovalk-batch throughput: profiles per second through RunBatch, in process,
// reading and writing real (temporary) files: transfer matrix method,
// hysteretic damping, result files written, at one job and at every core.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "app/BatchRun.h"

namespace {

// A profile file of n layers with realistic values (ASCII site name, so no
// codec is needed to write it).
std::string ProfileFile(int n) {
  std::ostringstream text;
  text << "\x83\x54\x83\x43\x83\x67\x96\xbc,bench\r\n\x91\x77\x90\x94," << n << "\r\nheader\r\n";
  for (int k = 1; k <= n; ++k) {
    text << k << "," << 1.5 + 0.25 * k << ",1.70," << 100 + 15 * k << "\r\n";
  }
  text << ",,2.10,700\r\n";
  return text.str();
}

// Files per run: enough for every job to have work.
constexpr int kFiles = 64;

void BM_BatchProfiles(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0));
  const int points = static_cast<int>(state.range(1));
  const int jobs = state.range(2) == 0 ? static_cast<int>(std::max(1u, std::thread::hardware_concurrency()))
                                       : static_cast<int>(state.range(2));
  std::string folder = (std::filesystem::temp_directory_path() / "tovalk-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  std::vector<std::string> args = {"--method", "transfer", "--damping", "hysteretic", "--points",
                                    std::to_string(points), "--jobs", std::to_string(jobs), "--output-dir",
                                    folder + "/out"};
  for (int f = 0; f < kFiles; ++f) {
    const std::string input = folder + "/profile" + std::to_string(f) + ".csv";
    std::ofstream(input, std::ios::binary) << ProfileFile(layers);
    args.push_back(input);
  }
  for (auto _ : state) {
    std::ostringstream out, err;
    if (RunBatch(args, folder, out, err, false) != 0) {
      state.SkipWithError(err.str().c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
  state.SetLabel("profiles, jobs " + std::to_string(jobs));
  std::filesystem::remove_all(folder);
}

// jobs 0: one per core.
BENCHMARK(BM_BatchProfiles)
    ->ArgNames({"layers", "points", "jobs"})
    ->Args({5, 200, 1})
    ->Args({20, 400, 1})
    ->Args({20, 400, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
