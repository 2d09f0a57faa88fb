#!/usr/bin/env bash
# Sets up the machine, builds what the main job needs and runs it on the bundled sample
# document (samples/*.json packed with the password "sampel2024"): it lists the
# document's data sets, then starts the viewer on it, which asks for the password.
# Without a display it says so and exports the sample to PDF reports instead.
# BUILD_DIR chooses the build directory (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target sample-document run
"$build/bin/vardotool" open -p sampel2024 --list "$build/samples/sample.vardo"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/bin/run" "$build/samples/sample.vardo"
fi
out="$build/samples/sample-pdf"
echo "run-sample: no display to show the viewer on; exporting the sample to PDF in $out instead"
"$build/bin/vardotool" export -p sampel2024 --pdf "$out" "$build/samples/sample.vardo"
