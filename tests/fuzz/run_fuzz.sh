#!/usr/bin/env bash
# Builds the calculator's fuzz targets with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for a bounded time: the whole
# dialogue on arbitrary answers (seeded with every transcript's answers), and
# the scenario reader on arbitrary files (seeded with saved scenarios).
# Fails on any crash, sanitizer report or timeout.
#
#   tests/fuzz/run_fuzz.sh [SECONDS]        (or FUZZ_SECONDS=... in the env)
#
# SECONDS is the time of each target (default 60).  FUZZ_BUILD_DIR chooses
# the build folder (default build-fuzz beside the sources); the corpora grown
# by earlier runs are kept there and reused.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-${FUZZ_SECONDS:-60}}
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
mkdir -p "$build/artifacts"

# Every source file of the program except its entry, and not the tool that
# writes the file formats (a program of its own).
mapfile -t sources < <(find "$root/src" -name '*.cc' ! -path "$root/src/main.cc" \
                         ! -path "$root/src/formats/*" | sort)
# The version that CMake otherwise gives the command line.
version=$(sed -n 's/^project(zelvorn-odds VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

flags=(-std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined
       -fno-sanitize-recover=all)
# ccache keeps the objects between runs when it is there.
compiler=(clang++)
if command -v ccache > /dev/null; then compiler=(ccache clang++); fi
object_of() { local name=${1#"$root"/}; echo "$build/objects/${name//\//_}.o"; }
compile() {  # SOURCES...: each to its object, as many at once as there are cores
  local source
  for source in "$@"; do
    printf '%s\0%s\0' "$source" "$(object_of "$source")"
  done | xargs -0 -n 2 -P "$(nproc)" bash -c \
           'set -e; "${@:1:$#-2}" -c "${@: -2:1}" -o "${@: -1}"' compile \
           "${compiler[@]}" "${flags[@]}" -fsanitize=fuzzer-no-link \
           -DZELVORN_VERSION="\"$version\"" -I "$root/src"
}

# The program's sources are compiled once for both targets.
mkdir -p "$build/objects"
echo "== compiling the program's sources in $build/objects"
compile "${sources[@]}"
objects=()
for source in "${sources[@]}"; do objects+=("$(object_of "$source")"); done

fuzz() {  # TARGET SEEDS...: builds the target and runs it on its corpus
  local target=$1
  shift
  echo "== building $target in $build"
  compile "$root/tests/fuzz/$target.cc"
  clang++ "${flags[@]}" -fsanitize=fuzzer "${objects[@]}" "$(object_of "$root/tests/fuzz/$target.cc")" \
    -o "$build/$target"

  local seeds=$build/seeds-$target
  rm -rf "$seeds"
  mkdir -p "$seeds" "$build/corpus-$target"
  cp "$@" "$seeds/"
  echo "== seeds: $(ls "$seeds" | wc -l) files"

  local log=$build/$target.log
  echo "== fuzzing $target for $seconds s (log in $log)"
  set +e
  "$build/$target" "$build/corpus-$target" "$seeds" \
    -max_total_time="$seconds" -max_len=4096 -timeout=5 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
    >"$log" 2>&1
  local status=$?
  set -e

  grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' "$log" || true
  grep -E '^#[0-9]+.*(DONE|cov:)' "$log" | tail -n 1 || true
  if [ "$status" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|libFuzzer|UndefinedBehaviorSanitizer)|runtime error:|==ERROR' "$log"; then
    echo "fuzzing $target FAILED (status $status); the last lines of $log:"
    tail -n 60 "$log"
    ls "$build/artifacts"
    exit 1
  fi
  echo "fuzzing $target passed"
}

shopt -s nullglob
fuzz odds_fuzzer "$root"/tests/transcripts/*.in
fuzz scenario_fuzzer "$root"/tests/fuzz/scenario_seeds/*.json
