#!/usr/bin/env bash
# Builds the calculator's fuzz target with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, seeds it with every transcript's answers and
# runs it for a bounded time.  Fails on any crash, sanitizer report or
# timeout.
#
#   tests/fuzz/run_fuzz.sh [SECONDS]        (or FUZZ_SECONDS=... in the env)
#
# FUZZ_BUILD_DIR chooses the build folder (default build-fuzz beside the
# sources); the corpus grown by earlier runs is kept there and reused.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-${FUZZ_SECONDS:-120}}
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
mkdir -p "$build/corpus" "$build/artifacts"

# Every source file of the program except its entry.
mapfile -t sources < <(find "$root/src" -name '*.cc' ! -path "$root/src/main.cc" | sort)

echo "== building the fuzz target in $build"
clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I "$root/src" "${sources[@]}" "$root/tests/fuzz/odds_fuzzer.cc" \
  -o "$build/odds_fuzzer"

seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"
shopt -s nullglob
for answers in "$root"/tests/transcripts/*.in; do
  cp "$answers" "$seeds/"
done
echo "== seeds: $(ls "$seeds" | wc -l) answer files"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

log=$build/fuzz.log
echo "== fuzzing for $seconds s (log in $log)"
set +e
"$build/odds_fuzzer" "$build/corpus" "$seeds" \
  -max_total_time="$seconds" -max_len=4096 -timeout=5 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$build/artifacts/" >"$log" 2>&1
status=$?
set -e

grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' "$log" || true
grep -E '^#[0-9]+.*(DONE|cov:)' "$log" | tail -n 1 || true
if [ "$status" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|libFuzzer|UndefinedBehaviorSanitizer)|runtime error:|==ERROR' "$log"; then
  echo "fuzzing FAILED (status $status); the last lines of $log:"
  tail -n 60 "$log"
  ls "$build/artifacts"
  exit 1
fi
echo "fuzzing passed"
