#!/usr/bin/env bash
# Benchmark of the calculator on answer files of N varied combats.
#
# Usage: bench/run_bench.sh PROGRAM [N...]
#   PROGRAM  path to the zelvorn-odds binary
#   N        numbers of combats (default: 1000 and 100000)
# Environment:
#   CALLGRIND_MAX_N  largest N that is run under callgrind (default 10000);
#                    a larger N is measured on an answer file of this many
#                    combats instead, and the output says so
#   BENCH_SEED       seed of the answer files (default 1)
#
# For each N it prints combats per second (best of three runs), write calls
# per combat (strace; write and writev alike), user-space instructions per
# combat (callgrind, with and without the start-up of the program) and the
# peak memory (maximum resident set size). The output of the calculator goes
# to /dev/null; before measuring, one run checks that it printed exactly the
# combats, reports and re-asked answers that the answer file calls for.
# Under callgrind 100000 combats take about half a minute; set
# CALLGRIND_MAX_N=100000 to measure them in full.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM [N...]" >&2
  exit 2
fi
program=$1
shift
if [ ! -x "$program" ]; then
  echo "$program is not an executable program" >&2
  exit 2
fi
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 100000)
callgrind_max=${CALLGRIND_MAX_N:-10000}
seed=${BENCH_SEED:-1}
here=$(cd "$(dirname "$0")" && pwd)

for needed in python3 strace valgrind /usr/bin/time; do
  command -v "$needed" > /dev/null || { echo "$needed is needed" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_answers() {  # N FILE: writes the answer file, returns its expectations
  python3 "$here/make_answers.py" "$1" "$seed" > "$2" 2> "$2.expected"
}

instructions() {  # FILE: instructions of one run under callgrind
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
    "$program" < "$1" > /dev/null 2> "$work/callgrind.log" || true
  awk '/^(summary|totals):/ { print $2; exit }' "$work/callgrind.out"
}

now_ns() { date +%s%N; }

# The start-up of the program: the banner and the first question, then the
# end of the input.
startup=$(instructions /dev/null)
echo "zelvorn-odds benchmark: $program"
echo "start-up (empty input): $startup instructions"

for n in "${sizes[@]}"; do
  answers=$work/answers.$n
  make_answers "$n" "$answers"
  read -r _ combats _ reports _ asked_again < "$answers.expected"

  # The run must follow the answer file exactly.
  seen=$({ "$program" < "$answers" || echo "exit status $?" >&2; } | awk '
    /Zelvorn Odds Calculator version 1\.1\./ { combats++ }
    /The odds are/ { reports++ }
    /must be/ { asked++ }
    END { printf "%d %d %d", combats, reports, asked }')
  if [ "$seen" != "$combats $reports $asked_again" ]; then
    echo "the output does not follow the answer file for N=$n:" >&2
    echo "  expected combats, reports, asked again: $combats $reports $asked_again" >&2
    echo "  seen: $seen" >&2
    exit 1
  fi

  best=
  for _ in 1 2 3; do
    start=$(now_ns)
    "$program" < "$answers" > /dev/null
    elapsed=$(( $(now_ns) - start ))
    if [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; then best=$elapsed; fi
  done

  # The C++ library writes a full buffer together with the next piece of
  # text in one writev call, so every call of the write family counts.
  strace -f -c -e trace=write,writev,pwrite64,pwritev,pwritev2 \
    -o "$work/strace.out" "$program" < "$answers" > /dev/null
  writes=$(awk '$NF ~ /^p?writev?(64|2)?$/ && $4 ~ /^[0-9]+$/ {
                  calls += $4; kinds = kinds sep $NF " " $4; sep = ", " }
                END { printf "%d|%s", calls, kinds }' "$work/strace.out")
  write_kinds=${writes#*|}
  writes=${writes%%|*}

  cg_n=$n
  cg_answers=$answers
  if [ "$n" -gt "$callgrind_max" ]; then
    cg_n=$callgrind_max
    cg_answers=$work/answers.callgrind
    make_answers "$cg_n" "$cg_answers"
  fi
  ir=$(instructions "$cg_answers")

  /usr/bin/time -v "$program" < "$answers" > /dev/null 2> "$work/time.out"
  rss=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' \
    "$work/time.out")

  echo
  echo "N = $n combats ($reports reports of odds, $asked_again answers asked again, seed $seed)"
  awk -v n="$n" -v ns="$best" 'BEGIN {
    printf "  combats per second:       %.0f  (best of 3 runs: %.3f s)\n",
           n / (ns / 1e9), ns / 1e9 }'
  awk -v n="$n" -v w="$writes" -v k="${write_kinds:-none}" 'BEGIN {
    printf "  write calls per combat:   %.3f  (%d calls: %s)\n", w / n, w, k }'
  note=""
  [ "$cg_n" -ne "$n" ] && note=", callgrind run on N = $cg_n only"
  awk -v n="$cg_n" -v ir="$ir" -v s="$startup" -v note="$note" 'BEGIN {
    printf "  instructions per combat:  %.0f  (%.0f without start-up; Ir total %d%s)\n",
           ir / n, (ir - s) / n, ir, note }'
  echo "  peak memory:              $rss kB maximum resident set"
done
