#!/usr/bin/env bash
# Sets up the machine, builds what the main job needs and runs it on the bundled sample
# document (samples/*.json packed with the password "sampel2024"): it opens the
# document the way the viewer does and lists its data sets.
# BUILD_DIR chooses the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target sample-document
"$build/bin/vardotool" open -p sampel2024 --list "$build/samples/sample.vardo"
