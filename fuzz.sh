#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/*_fuzz.cpp) with clang and runs each for
# the given number of seconds (default 60) on a corpus seeded from examples/
# (and fuzz/seeds/<target>/ where present). The corpora grow in fuzz-corpus/;
# a crashing input is kept in build-fuzz/artifacts/<target>/. Non-zero when a
# target finds a fault.
set -euo pipefail
cd "$(dirname "$0")"
seconds="${1:-60}"

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is needed" >&2
  exit 1
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DTOVALK_FUZZ=ON -DTOVALK_GUI=OFF -DTOVALK_TESTS=OFF -DTOVALK_BENCH=OFF >/dev/null
targets=()
for src in fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" .cpp)"); done
cmake --build build-fuzz --target "${targets[@]}" -j "$(nproc)"

status=0
for target in "${targets[@]}"; do
  corpus="fuzz-corpus/$target"
  artifacts="build-fuzz/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  cp -n examples/*.csv "$corpus/" 2>/dev/null || true
  if [ -d "fuzz/seeds/$target" ]; then cp -n "fuzz/seeds/$target"/* "$corpus/" 2>/dev/null || true; fi
  echo "== $target for ${seconds}s"
  if ! "build-fuzz/fuzz/$target" -max_total_time="$seconds" -max_len=4096 \
         -artifact_prefix="$artifacts/" -print_final_stats=1 "$corpus" 2>"build-fuzz/$target.log"; then
    status=1
    tail -n 40 "build-fuzz/$target.log" >&2
    echo "fuzz: $target found a fault; the input is in $artifacts/" >&2
  else
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "build-fuzz/$target.log" || true
  fi
done
exit $status
