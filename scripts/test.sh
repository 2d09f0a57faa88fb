#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite with CTest, then
# runs it again built with AddressSanitizer and UBSan (scripts/sanitize.sh; about ten
# minutes more on two cores, SANITIZE=0 leaves it out).
# BUILD_DIR chooses the build directory (default: build); extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --test
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
ctest --test-dir "$build" --output-on-failure -j2 "$@"
if [ "${SANITIZE:-1}" != 0 ]; then
    bash scripts/sanitize.sh "$@"
fi
