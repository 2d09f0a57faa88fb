#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan in build-fuzz and
# runs each for a bounded time, one after the other, at the lowest priority.
#   scripts/fuzz.sh [target...]      targets: the names after fuzz_ (default: all)
# FUZZ_SECONDS sets the time per target (default 60); FUZZ_RUNS, if set, ends a target
# earlier, once it has run that many inputs. FUZZ_CPU_SECONDS, if set, counts processor
# time instead of the clock (Linux), so that a target shares a busy machine and still
# gets its full time; the clock limit then only stops a target that never gets to run.
# New inputs collect in build-fuzz/corpus/<target>, seeded from fuzz/corpus/<target>;
# crashes are written to build-fuzz/crashes/<target>/, the whole output to
# build-fuzz/logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --test
build=${BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}
runs=${FUZZ_RUNS:--1}
all=(documentplain documentraw valuecipher template dataset updateheader status)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARDO_FUZZ=ON -DVARDO_SANITIZE=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    -DVARDO_BUILD_TESTS=OFF -DVARDO_BUILD_BENCH=OFF
nice -n 19 cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

# Larger inputs only for the targets whose seeds are whole documents or data sets.
max_len() {
    case "$1" in
        documentplain | documentraw | dataset) echo 65536 ;;
        template) echo 16384 ;;
        *) echo 4096 ;;
    esac
}

# Inputs take milliseconds; the time-out is generous because the fuzzers run at the
# lowest priority and a build beside them can hold them off the processors for seconds.
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
status=0
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    crashes="$build/crashes/$t"
    mkdir -p "$corpus" "$crashes"
    [ -d "fuzz/corpus/$t" ] && cp -n fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null || true
    log="$build/logs/$t.log"
    mkdir -p "$build/logs"
    limit=$seconds
    [ -n "${FUZZ_CPU_SECONDS:-}" ] && limit=$((FUZZ_CPU_SECONDS * 100))
    echo "== fuzz_$t for ${FUZZ_CPU_SECONDS:-$seconds}s${FUZZ_CPU_SECONDS:+ of processor time}"
    nice -n 19 "$build/bin/fuzz_$t" -max_total_time="$limit" -runs="$runs" -max_len="$(max_len "$t")" \
        -timeout=120 -rss_limit_mb=3072 -print_final_stats=1 -artifact_prefix="$crashes/" \
        "$corpus" >"$log" 2>&1 &
    pid=$!
    if [ -n "${FUZZ_CPU_SECONDS:-}" ]; then
        # Fields 14 and 15 of /proc/PID/stat are user and system time in clock ticks.
        ticks_per_second=$(getconf CLK_TCK)
        while kill -0 "$pid" 2>/dev/null; do
            sleep 5
            used=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null) || break
            if [ "$used" -ge $((FUZZ_CPU_SECONDS * ticks_per_second)) ]; then
                kill -INT "$pid" # libFuzzer prints its final figures on an interrupt
                break
            fi
        done
    fi
    fuzz_status=0
    wait "$pid" || fuzz_status=$?
    # 72 is libFuzzer's exit code for the interrupt above.
    if [ "$fuzz_status" -ne 0 ] && ! { [ -n "${FUZZ_CPU_SECONDS:-}" ] && [ "$fuzz_status" -eq 72 ]; }; then
        status=1
    fi
    grep -E '^(Done |stat::number_of_executed_units|stat::peak_rss|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" || true
    if ls "$crashes"/* >/dev/null 2>&1; then
        echo "fuzz_$t: findings in $crashes"
        status=1
    fi
done
exit $status
