#!/usr/bin/env bash
# Screenshots of the seven windows for the documentation, drawn on a virtual X
# display (xvfb-run) into docs/images/: the main window after reading the
# five-layer example, the profile editor, the settings window, the
# amplification list, the usage window, the version window, the
# instruction note, the chart alone, the open dialog and the exit question. Usage: scripts/screenshots.sh [BUILD_DIR] (default build).
# With TOVALK set to a program (an installed /usr/bin/tovalk, say) nothing is
# built and that program draws the windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
out=${TOVALK_SCREENSHOTS:-$root/docs/images}

command -v xvfb-run >/dev/null || { echo "xvfb-run is needed (package xvfb)" >&2; exit 1; }
program=${TOVALK:-}
if [ -z "$program" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" --target tovalk
  program="$build/tovalk"
fi

names=(main-window editor settings amplist howto version datainput chart file-dialog question)
mkdir -p "$out"
for name in "${names[@]}"; do rm -f "$out/$name.png"; done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A fresh working folder holds no tovalk.ini: the settings window's defaults.
cd "$work"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$program" --screenshots "$out" "$root/examples/five-layers.csv"
status=0
for name in "${names[@]}"; do
  if [ -s "$out/$name.png" ]; then ls -l "$out/$name.png"; else echo "missing: $out/$name.png" >&2; status=1; fi
done
exit $status
