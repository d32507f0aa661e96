#!/bin/bash
# Builds the project with AddressSanitizer and UndefinedBehaviorSanitizer (clang) in
# build/sanitize, runs all its CTest tests there, then fuzzes the converter for SECONDS
# (default 60) from the committed corpus in fuzz/corpus.
#
#   scripts/sanitize-and-fuzz.sh [SECONDS]
#
# Inputs the fuzzer finds go to build/sanitize/fuzz-found, never into the committed
# corpus; an input that breaks a promise is saved under build/sanitize/fuzz-artifacts/
# and the script fails. Replay one with: build/sanitize/fuzz/settings-fuzzer FILE
set -euo pipefail

seconds=${1:-60}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds == 0)); then
    echo "usage: $0 [SECONDS]   (a whole number of seconds, default 60)" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/sanitize
jobs=$(nproc 2>/dev/null || echo 2)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

echo "== sanitized build (ASan + UBSan) in $build"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSETTINGS_SANITIZE=ON -DSETTINGS_FUZZ=ON >/dev/null
cmake --build "$build" -j "$jobs"

echo "== sanitized tests"
(cd "$build" && ctest --output-on-failure)

echo "== fuzzing for $seconds s"
mkdir -p "$build/fuzz-found" "$build/fuzz-artifacts"
"$build/fuzz/settings-fuzzer" \
    -max_total_time="$seconds" -max_len=65536 -timeout=20 -print_final_stats=1 \
    -dict="$root/fuzz/settings.dict" -artifact_prefix="$build/fuzz-artifacts/" \
    "$build/fuzz-found" "$root/fuzz/corpus" 2>"$build/fuzz.log" || {
    status=$?
    tail -n 60 "$build/fuzz.log" >&2
    echo "fuzzing FAILED (exit $status); the failing input is in $build/fuzz-artifacts/" >&2
    exit 1
}
grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added|stat::peak_rss_mb)' \
    "$build/fuzz.log" || true
echo "fuzzing passed: no promise broken in $seconds s"
