// tovalk-batch throughput: profiles per second through RunBatch, in process,
// reading and writing real (temporary) files.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

void BM_BatchProfiles(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0));
  const int points = static_cast<int>(state.range(1));
  std::string folder = (std::filesystem::temp_directory_path() / "tovalk-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string input = folder + "/profile.csv";
  std::ofstream(input, std::ios::binary) << ProfileFile(layers);
  const std::vector<std::string> args = {"--points", std::to_string(points), "--output-dir", folder + "/out",
                                         input};
  for (auto _ : state) {
    std::ostringstream out, err;
    if (RunBatch(args, folder, out, err, false) != 0) {
      state.SkipWithError(err.str().c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("profiles");
  std::filesystem::remove_all(folder);
}

BENCHMARK(BM_BatchProfiles)
    ->ArgNames({"layers", "points"})
    ->Args({5, 200})
    ->Args({5, 400})
    ->Args({20, 200})
    ->Args({20, 400})
    ->Unit(benchmark::kMillisecond);

}  // namespace
