#!/usr/bin/env bash
# Builds the whole product and its test suite with AddressSanitizer and UBSan in
# build-asan and runs every test; any report fails the test that made it. The same
# build hides every symbol the library does not export, as a Windows DLL does, so
# that a program using an unexported class fails to link here too.
# Extra arguments go to ctest (for example -R decoder).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --test
build=${SANITIZE_BUILD_DIR:-build-asan}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDO_SANITIZE=ON \
    -DVARDO_HIDDEN_VISIBILITY=ON \
    -DVARDO_BUILD_BENCH=OFF
nice -n 19 cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
# Leaks are not checked: the graphics and font libraries keep their caches to the end.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
nice -n 19 ctest --test-dir "$build" --output-on-failure -j2 "$@"
