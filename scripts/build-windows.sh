#!/usr/bin/env bash
# Cross-builds the plug-in for Windows x86-64 with MinGW-w64 and runs its tests
# under Wine. Leaves the bundle in
#   build/windows/Vexbit Glitch.vst3/Contents/x86_64-win/Vexbit Glitch.vst3
# Options: --no-tests builds only. VEXBIT_LINUX_BUILD names the Linux build the
# Windows bundle is compared with (default build/linux; built here as needed).
set -euo pipefail
cd "$(dirname "$0")/.."

run_tests=1
if [ "${1:-}" = "--no-tests" ]; then run_tests=0; fi

./scripts/setup.sh --windows

jobs=${JOBS:-2}
linux_dir=${VEXBIT_LINUX_BUILD:-build/linux}
windows_dir=build/windows

# The Linux side of the comparison: its bundle, the program that plays the
# same scene through it, and the vexbit tool that pictures its editor.
reference=""
if [ "$run_tests" = 1 ]; then
  echo "== Linux reference ($linux_dir) =="
  if [ ! -f "$linux_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$linux_dir" -DCMAKE_BUILD_TYPE=Release -DVEXBIT_BENCHMARKS=OFF -DVEXBIT_WARNINGS_AS_ERRORS=ON
  fi
  cmake --build "$linux_dir" -j"$jobs" --target vexbit_module cross_platform_reference vexbit
  reference="$PWD/$linux_dir/tests/windows/cross_platform_reference"
fi

echo "== cairo, pixman, libpng, zlib for MinGW =="
# Shown as it goes; its last line is the prefix. (Not through tee /dev/stderr:
# that reopens a log file the output is redirected to and truncates it.)
deps_log="$(mktemp)"
JOBS=$jobs ./scripts/build-windows-deps.sh | tee "$deps_log"
deps_prefix="$(tail -n1 "$deps_log")"
rm -f "$deps_log"

echo "== Windows build ($windows_dir) =="
cmake -S . -B "$windows_dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/MinGW-w64-x86_64.cmake" \
  -DVEXBIT_WINDOWS_DEPS="$deps_prefix" \
  -DCMAKE_BUILD_TYPE=Release -DVEXBIT_WARNINGS_AS_ERRORS=ON -DVEXBIT_TESTS=$([ "$run_tests" = 1 ] && echo ON || echo OFF) \
  -DVEXBIT_LINUX_REFERENCE="$reference"
if [ "$run_tests" = 1 ]; then
  cmake --build "$windows_dir" -j"$jobs"
else
  cmake --build "$windows_dir" -j"$jobs" --target vexbit_module
fi

module="$windows_dir/Vexbit Glitch.vst3/Contents/x86_64-win/Vexbit Glitch.vst3"
echo "== $module =="
x86_64-w64-mingw32-objdump -p "$module" | grep -E 'DLL Name:|^\s+\[ *[0-9]+\] [A-Za-z]' || true

if [ "$run_tests" = 0 ]; then exit 0; fi

echo "== Windows tests under Wine =="
# Wine draws windows through X11: the editor's tests need a display, a virtual
# one when there is none. ctest waits for its whole timeout when Wine's server
# is not running before the first test, so start it (and the prefix) first,
# and stop it at the end.
export WINEPREFIX="$PWD/$windows_dir/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
run_under_wine() {
  trap 'wineserver -k 2>/dev/null || true' EXIT
  mkdir -p "$WINEPREFIX"
  wineserver -p
  wine cmd /c exit
  ctest --test-dir "$windows_dir" --output-on-failure -j"$jobs"
}
if [ -z "${DISPLAY:-}" ]; then
  # xvfb-run starts its command through sh, which drops exported functions: hand the function over as text.
  export windows_dir jobs
  xvfb-run -a -s "-screen 0 1600x1000x24 -noreset" bash -c "set -euo pipefail; $(declare -f run_under_wine); run_under_wine"
else
  run_under_wine
fi
