#!/usr/bin/env bash
# Sets up, builds, installs the bundle into ~/.vst3 and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVEXBIT_TESTS=OFF -DVEXBIT_BENCHMARKS=OFF
cmake --build build/release -j"${JOBS:-2}"
cmake --install build/release

bundle="$HOME/.vst3/Vexbit Glitch.vst3"
echo "Installed: $bundle"
build/release/tools/vexbit/vexbit info "$bundle"
