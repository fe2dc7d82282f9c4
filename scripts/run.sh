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
echo "Factory presets, installed where hosts look for them:"
build/release/tools/vexbit/vexbit presets --plugin "$bundle"

# The main job: a drum loop made on the spot, glitched by AutoPlay.
demo="$PWD/build/demo"
build/release/tools/vexbit/vexbit demo --plugin "$bundle" -o "$demo"
echo "Listen to $demo/demo.wav (the dry loop is demo-dry.wav); $demo/demo.png shows which effect played when."
