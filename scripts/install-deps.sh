#!/usr/bin/env bash
# Installs the Debian packages that are missing, for one purpose:
#   scripts/install-deps.sh run      building and running the two programs (./run)
#   scripts/install-deps.sh package  the above and the Debian package tools (./package)
#   scripts/install-deps.sh test     the above and the test, sanitizer, fuzz and
#                                    window-manager tools (./test)
# Further package names may follow the purpose. apt's output goes into a log
# file and is shown only when the installation fails.
set -euo pipefail

# Building and running tovalk and tovalk-batch: compiler, Qt with its Japanese
# translation (file dialogs, buttons), the IPA Gothic fonts that stand in for
# the two fonts the pictures name ("ＭＳゴシック", "MS Pゴシック").
run_packages=(
  cmake
  ninja-build
  g++
  qt6-base-dev
  qt6-svg-dev
  qt6-translations-l10n
  libgl-dev
  fonts-ipafont-gothic
  fontconfig
)

# CPack's Debian generator: dpkg-shlibdeps for the library dependencies and
# file for telling the programs from the data.
package_packages=(
  dpkg-dev
  file
)

# The test suite, the sanitizer and fuzz builds, the benchmarks, and the
# virtual display with a real window manager for the desktop tests.
test_packages=(
  clang
  libclang-rt-14-dev
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  xvfb
  xauth
  openbox
  xdotool
  x11-utils
  poppler-utils
  librsvg2-bin
)

purpose=${1:-test}
[ $# -gt 0 ] && shift
case "$purpose" in
  run) packages=("${run_packages[@]}") ;;
  package) packages=("${run_packages[@]}" "${package_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 run|package|test [PACKAGE...]" >&2; exit 2 ;;
esac
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Installing packages needs root: run this as root or install sudo (missing: ${missing[*]})" >&2
    exit 1
  fi
  sudo="sudo"
fi

log=${TMPDIR:-/tmp}/tovalk-install-deps.log
echo "Installing ${#missing[@]} Debian packages for '$purpose': ${missing[*]} (details in $log)" >&2
export DEBIAN_FRONTEND=noninteractive
# Another apt run (an update notifier, say) may hold the lock for a while.
apt_options=(-y -q -o DPkg::Lock::Timeout=600 --no-install-recommends)
if ! { $sudo apt-get update -q -o DPkg::Lock::Timeout=600 &&
       $sudo apt-get install "${apt_options[@]}" "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "Installing the packages failed; the output above is also in $log" >&2
  exit 1
fi
