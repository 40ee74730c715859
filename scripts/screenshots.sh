#!/usr/bin/env bash
# Screenshots for the documentation: the main window after reading the
# five-layer example, the profile editor and the settings window, drawn on a
# virtual X display (xvfb-run) into docs/images/. Usage: scripts/screenshots.sh
# [BUILD_DIR] (default build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

command -v xvfb-run >/dev/null || { echo "xvfb-run is needed (package xvfb)" >&2; exit 1; }
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target tovalk

mkdir -p "$root/docs/images"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A fresh working folder holds no tovalk.ini: the settings window's defaults.
cd "$work"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/tovalk" --screenshots "$root/docs/images" "$root/examples/five-layers.csv"
ls -l "$root/docs/images/main-window.png" "$root/docs/images/editor.png" "$root/docs/images/settings.png"
