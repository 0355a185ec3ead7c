#!/usr/bin/env bash
# Benchmark of the calculator on answer files of N varied combats.
#
# Usage: bench/run_bench.sh PROGRAM [N...]
#   PROGRAM  path to the zelvorn-odds binary
#   N        numbers of combats (default: 1000 and 100000)
# Environment:
#   BENCH_PRESETS    presets of the rosters read and compared (default 10000)
#   JSON_BASELINE    the JSON library's parse alone (default: zelvorn-json-baseline
#                    beside PROGRAM, built by `cmake --build BUILD --target bench`)
#   CALLGRIND_MAX_N  largest N that is run under callgrind (default 10000);
#                    a larger N is measured on an answer file of this many
#                    combats instead, and the output says so
#   BENCH_SEED       seed of the answer files (default 1)
#   BENCH_PRESETS    presets of the roster that one combat is compared
#                    against (default 10000)
#
# First the start-up of the program (--version) and one saved scenario
# computed with --scenario, each the whole process under callgrind, the
# dynamic loader included.  For each N it then prints combats per second (best of three runs), write calls
# per combat (strace; write and writev alike), user-space instructions per
# combat (callgrind, with and without the start-up of the program) and the
# peak memory (maximum resident set size).  Then the same for scenario
# files: N scenarios saved by the dialogue and computed again with
# --scenario (instructions per scenario, JSON reading and text output
# included), what --scenario adds per scenario beyond the JSON library's own
# parse of the same lines (zelvorn-json-baseline with a handler that keeps
# nothing, measured in the same run), and sweeps of N values with --vary
# (instructions per value), each with its peak memory; reading a roster
# against the JSON library's parse of it, and a scenario that names two
# presets, the whole process. The output of the calculator goes
# to /dev/null; before measuring, one run checks that it printed exactly the
# combats, reports and re-asked answers that the answer file calls for.
# Last, one combat compared against every preset of a made-up roster with
# --compare (instructions per row beyond reading the files, as a table and
# as JSON Lines); a row of JSON Lines over its target fails the run.
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
baseline=${JSON_BASELINE:-$(dirname "$program")/zelvorn-json-baseline}

for needed in python3 strace valgrind /usr/bin/time; do
  command -v "$needed" > /dev/null || { echo "$needed is needed" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_answers() {  # N FILE: writes the answer file, returns its expectations
  python3 "$here/make_answers.py" "$1" "$seed" > "$2" 2> "$2.expected"
}

instructions_of() {  # PROGRAM FILE [ARGUMENT...]: instructions of one run
  local run=$1 input=$2
  shift 2
  valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
    "$run" "$@" < "$input" > /dev/null 2> "$work/callgrind.log" || true
  awk '/^(summary|totals):/ { print $2; exit }' "$work/callgrind.out"
}

instructions() {  # FILE [ARGUMENT...]: instructions of one run of PROGRAM
  instructions_of "$program" "$@"
}

peak_memory() {  # ARGUMENT...: kilobytes of the largest resident set of a run
  /usr/bin/time -v "$program" "$@" < /dev/null > /dev/null 2> "$work/time.out"
  awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' \
    "$work/time.out"
}

now_ns() { date +%s%N; }

# The start-up of the program: the banner and the first question, then the
# end of the input.
startup=$(instructions /dev/null)
version=$(instructions /dev/null --version)
echo "zelvorn-odds benchmark: $program"
echo "start-up (--version, whole process): $version instructions (target: at most 250000)"
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
    printf "  instructions per combat:  %.0f  (%.0f without start-up; Ir total %.0f%s)\n",
           ir / n, (ir - s) / n, ir, note }'
  echo "  peak memory:              $rss kB maximum resident set"
done

# --- Scenario files and sweeps ------------------------------------------

saved_scenarios() {  # N FILE: N scenarios that the dialogue saved
  local answers=$work/saved-answers
  # Each combat is saved once, and once more for each recomputation: about
  # two scenarios a combat.
  python3 "$here/make_answers.py" $(( $1 / 2 + 10 )) "$seed" > "$answers" 2> /dev/null
  rm -f "$work/saved.jsonl"
  "$program" --save "$work/saved.jsonl" < "$answers" > /dev/null
  head -n "$1" "$work/saved.jsonl" > "$2"
  [ "$(wc -l < "$2")" -eq "$1" ] || { echo "fewer than $1 scenarios saved" >&2; exit 1; }
}

echo
echo "Scenario files (--scenario, text output) and sweeps (--vary, table)"
saved_scenarios 1 "$work/first.json"
one=$(instructions /dev/null --scenario "$work/first.json")
echo "one scenario (--scenario, whole process): $one instructions (target: at most 400000)"
if [ -x "$baseline" ]; then
  baseline_one=$(instructions_of "$baseline" /dev/null "$work/first.json")
else
  baseline=
  echo "no JSON baseline at ${JSON_BASELINE:-$(dirname "$program")/zelvorn-json-baseline}" \
       "(cmake --build BUILD --target bench): the figure beyond JSON is left out"
fi
echo "targets: at most 20000 instructions a scenario beyond the JSON library's parse," \
     "6000 a swept value; peak memory under 8 MiB"
for n in "${sizes[@]}"; do
  scenarios=$work/scenarios.$n
  saved_scenarios "$n" "$scenarios"
  bytes=$(wc -c < "$scenarios")
  printed=$("$program" --scenario "$scenarios" | grep -c 'The odds are')
  [ "$printed" -eq "$n" ] || { echo "$printed predictions for $n scenarios" >&2; exit 1; }
  cg_n=$n
  cg_scenarios=$scenarios
  if [ "$n" -gt "$callgrind_max" ]; then
    cg_n=$callgrind_max
    cg_scenarios=$work/scenarios.callgrind
    head -n "$cg_n" "$scenarios" > "$cg_scenarios"
  fi
  ir=$(instructions /dev/null --scenario "$cg_scenarios")
  rss=$(peak_memory --scenario "$scenarios")
  note=""
  [ "$cg_n" -ne "$n" ] && note=", callgrind run on $cg_n scenarios only"
  echo
  echo "$n scenarios ($((bytes / n)) bytes each on average)"
  awk -v n="$cg_n" -v ir="$ir" -v note="$note" 'BEGIN {
    printf "  instructions per scenario:  %.0f  (Ir total %.0f%s)\n", ir / n, ir, note }'
  if [ -n "$baseline" ] && [ "$cg_n" -gt 1 ]; then
    # Per scenario beyond the first, so that neither start-up counts.
    parse=$(instructions_of "$baseline" /dev/null "$cg_scenarios")
    awk -v n="$cg_n" -v ir="$ir" -v one="$one" -v parse="$parse" \
        -v parse_one="$baseline_one" 'BEGIN {
      own = (ir - one) / (n - 1); json = (parse - parse_one) / (n - 1)
      if (own <= json)
        printf "  beyond the JSON parse:      none  (%.0f a scenario, reading included: less than the JSON library'"'"'s parse alone, %.0f)\n",
               own, json
      else
        printf "  beyond the JSON parse:      %.0f  (%.0f a scenario, reading included; the JSON library'"'"'s parse alone %.0f)\n",
               own - json, own, json }'
  fi
  echo "  peak memory:                $rss kB maximum resident set"

  # One scenario with defensive artillery, swept over the attacker's
  # strength (every value checked and computed anew), and over the number
  # of times attacked (the combat prepared once, a pass a value).
  grep -m 1 '"artillery":\[{' "$scenarios" > "$work/one.json"
  for sweep in "attacker.strength=1..$n" "timesAttacked=0..$((n - 1))"; do
    cg_sweep=$sweep
    cg_values=$n
    if [ "$n" -gt "$callgrind_max" ]; then
      cg_values=$callgrind_max
      from=${sweep#*=}
      from=${from%%..*}
      cg_sweep="${sweep%=*}=$from..$((from + cg_values - 1))"
    fi
    ir=$(instructions /dev/null --scenario "$work/one.json" --vary "$cg_sweep")
    rss=$(peak_memory --scenario "$work/one.json" --vary "$sweep")
    note=""
    [ "$cg_values" -ne "$n" ] && note=", callgrind run on $cg_values values only"
    echo "  sweep ${sweep%%=*} over $n values:"
    awk -v n="$cg_values" -v ir="$ir" -v note="$note" 'BEGIN {
      printf "    instructions per value:   %.0f  (Ir total %.0f%s)\n", ir / n, ir, note }'
    echo "    peak memory:              $rss kB maximum resident set"
  done
done

# --- Reading rosters ------------------------------------------------------

# What reading a roster costs: the run that reads a scenario with the
# roster less the run that reads it without, against the JSON library's own
# parse of the same roster (zelvorn-json-baseline --whole, less its parse of
# an empty roster), measured in the same run.  Then a scenario that names
# two presets of a roster of six, the whole process.
within() {  # FIGURE LIMIT: says whether FIGURE is at most LIMIT
  awk -v f="$1" -v l="$2" 'BEGIN { print (f <= l ? "within target" : "BEYOND TARGET") }'
}
echo
echo "Reading rosters (--roster with --scenario)"
python3 "$here/make_roster.py" "${BENCH_PRESETS:-10000}" "$seed" > "$work/read-roster.json"
echo '{"presets": []}' > "$work/empty-roster.json"
without=$(instructions /dev/null --scenario "$work/first.json")
with=$(instructions /dev/null --scenario "$work/first.json" --roster "$work/read-roster.json")
if [ -n "$baseline" ]; then
  parse=$(instructions_of "$baseline" /dev/null --whole "$work/read-roster.json")
  parse_empty=$(instructions_of "$baseline" /dev/null --whole "$work/empty-roster.json")
  ratio=$(awk -v r="$((with - without))" -v p="$((parse - parse_empty))" \
    'BEGIN { printf "%.2f", r / p }')
  echo "reading a roster of ${BENCH_PRESETS:-10000} presets: $((with - without)) instructions," \
       "the JSON library's parse $((parse - parse_empty)): $ratio times" \
       "(target: at most 1.5; $(within "$ratio" 1.5))"
fi
cat > "$work/six.json" <<'JSON'
{"presets": [
 {"name": "Reed Pikes", "sides": ["attacker", "defender"], "class": 1, "infantryLeader": true,
  "attackValue": 6, "initiative": 4, "defenseValue": 7, "rangedDefense": 6, "experience": 1,
  "firingRange": 1, "strength": 10, "entrenchment": 0, "leaderChoice": 4},
 {"name": "Slag Mortar", "sides": ["attacker"], "class": 6, "attackValue": 9, "initiative": 3,
  "defenseValue": 3, "rangedDefense": 4, "experience": 2, "firingRange": 3, "strength": 8,
  "entrenchment": 0, "canMoveAfter": false, "leaderChoice": 2},
 {"name": "Iron Boar", "sides": ["attacker"], "class": "tank", "attackValue": 11, "initiative": 6,
  "defenseValue": 9, "rangedDefense": 8, "experience": 1, "firingRange": 1, "strength": 10,
  "entrenchment": 0, "canMoveAfter": true, "combatSupport": [1, 2], "leaderChoice": 7},
 {"name": "Moss Wall", "sides": ["defender"], "class": 5, "isInfantry": false, "attackValue": 5,
  "initiative": 1, "defenseValue": 12, "rangedDefense": 11, "experience": 0, "firingRange": 1,
  "strength": 10, "entrenchment": 3, "leaderChoice": 6},
 {"name": "Ox Carts", "sides": ["defender"], "class": "ground transport", "isInfantry": false,
  "attackValue": 1, "initiative": 0, "defenseValue": 2, "rangedDefense": 2, "experience": 0,
  "firingRange": 1, "strength": 7, "entrenchment": 0, "leaderChoice": 6},
 {"name": "Fen Rangers", "sides": ["attacker", "defender"], "class": 3, "infantryLeader": false,
  "attackValue": 7, "initiative": 7, "defenseValue": 5, "rangedDefense": 6, "experience": 3,
  "firingRange": 2, "strength": 9, "entrenchment": 1, "combatSupport": [0], "leaderChoice": 3}
]}
JSON
cat > "$work/named.json" <<'JSON'
{"general": {"snowOrRain": false}, "attacker": {"preset": "Iron Boar", "inRiver": false}, "defender": {"preset": "Moss Wall", "inRiver": false, "outOfAmmo": false}, "terrain": {"clearOrSandy": false, "roughBocageOrHills": true}, "timesAttacked": 0}
JSON
"$program" --scenario "$work/named.json" --roster "$work/six.json" | grep -q 'The odds are' ||
  { echo "the scenario that names two presets was not computed" >&2; exit 1; }
named=$(instructions /dev/null --scenario "$work/named.json" --roster "$work/six.json")
echo "a scenario naming two presets of a roster of 6 (whole process): $named instructions" \
     "(target: at most 400000; $(within "$named" 400000))"

# --- Comparing one combat against a roster ---------------------------------

# One combat (infantry defending in rough terrain, with an artillery piece
# behind it) against every attacker preset of a made-up roster.  What the
# comparison costs beyond reading the files is the run with --compare less
# the run that reads the same scenario and roster and computes the scenario
# once; per row, as a table and as JSON Lines.  A row of JSON Lines that
# costs more than its target fails the benchmark.
echo
echo "Comparing one combat against a roster (--compare attacker)"
echo "targets: at most 15000 instructions a row of the table and 20000 a row of JSON Lines" \
     "beyond reading the files; peak memory under 16 MiB"
json_row_target=20000
presets=${BENCH_PRESETS:-10000}
python3 "$here/make_roster.py" "$presets" "$seed" > "$work/roster.json"
cat > "$work/combat.json" <<'JSON'
{"general":{"attackerClass":2,"defenderClass":1,"isAssault":false,"defenderInfantryLeader":true},"attacker":{"attackValue":10,"initiative":5,"defenseValue":7,"rangedDefense":6,"experience":1,"firingRange":1,"strength":10,"entrenchment":0,"leaderChoice":7},"defender":{"attackValue":6,"initiative":4,"defenseValue":8,"rangedDefense":7,"experience":2,"firingRange":1,"strength":12,"entrenchment":2,"inCityForestMountain":false,"leaderChoice":6},"combatRange":1,"terrain":{"clearOrSandy":false,"roughBocageOrHills":true},"attackerCloseDefense":5,"artillery":[{"attackValue":7,"experience":1,"strength":8,"adjacent":true,"leaderChoice":3}],"attackerGroundDefense":4,"timesAttacked":1}
JSON
files=(--scenario "$work/combat.json" --roster "$work/roster.json")
rows=$("$program" "${files[@]}" --compare attacker --csv | tail -n +2 | wc -l)
[ "$rows" -eq "$presets" ] || { echo "$rows rows for $presets presets" >&2; exit 1; }
json_rows=$("$program" "${files[@]}" --compare attacker --json | grep -c '^{"preset":')
[ "$json_rows" -eq "$presets" ] || { echo "$json_rows JSON rows for $presets presets" >&2; exit 1; }
errors=$("$program" "${files[@]}" --compare attacker --csv | awk -F, 'NR > 1 && $NF != ""' | wc -l)
reading=$(instructions /dev/null "${files[@]}")
comparing=$(instructions /dev/null "${files[@]}" --compare attacker)
comparing_json=$(instructions /dev/null "${files[@]}" --compare attacker --json)
rss=$(peak_memory "${files[@]}" --compare attacker)
rss_json=$(peak_memory "${files[@]}" --compare attacker --json)
echo
echo "$presets presets ($(($(wc -c < "$work/roster.json") / presets)) bytes each on average; $errors rows with an error)"
awk -v n="$presets" -v r="$reading" -v c="$comparing" -v j="$comparing_json" 'BEGIN {
  printf "  reading the files:          %.0f instructions (%.0f a preset)\n", r, r / n
  printf "  instructions per row:       %.0f  beyond reading (Ir total %.0f)\n", (c - r) / n, c
  printf "  per row of JSON Lines:      %.0f  beyond reading (Ir total %.0f)\n", (j - r) / n, j }'
echo "  peak memory:                $rss kB maximum resident set ($rss_json kB with --json)"
json_row=$(awk -v n="$presets" -v r="$reading" -v j="$comparing_json" \
  'BEGIN { printf "%.0f", (j - r) / n }')
if [ "$json_row" -gt "$json_row_target" ]; then
  echo "a row of --compare --json costs $json_row instructions beyond reading:" \
       "more than the target of $json_row_target" >&2
  exit 1
fi

# --- What would help ----------------------------------------------------

# One combat with six changes that apply (softening, the artillery piece,
# the river, the weather): what --advise costs beyond reading the combat,
# against what its one prediction costs beyond the same.
echo
echo "What would help (--advise, table)"
echo "target: advice at most 15 times the instructions of the scenario's one prediction beyond reading"
advised=$here/../examples/river_crossing.json
# The combat on one line and twice: the second line costs reading and
# predicting it (its questions settled, the model, the report); the
# calculator's reader alone (the baseline's --read) tells what reading costs.
python3 -c 'import json, sys; print(json.dumps(json.load(open(sys.argv[1]))))' \
  "$advised" > "$work/advised.json"
cat "$work/advised.json" "$work/advised.json" > "$work/advised-twice.json"
changes=$("$program" --scenario "$work/advised.json" --advise --csv | tail -n +3 | wc -l)
once=$(instructions /dev/null --scenario "$work/advised.json")
twice=$(instructions /dev/null --scenario "$work/advised-twice.json")
advising=$(instructions /dev/null --scenario "$work/advised.json" --advise)
rss=$(peak_memory --scenario "$work/advised.json" --advise)
if [ -n "$baseline" ]; then
  read_once=$(instructions_of "$baseline" /dev/null --read "$work/advised.json")
  read_twice=$(instructions_of "$baseline" /dev/null --read "$work/advised-twice.json")
else
  read_once=0
  read_twice=0
  echo "  (no baseline: one prediction counts its reading)"
fi
awk -v c="$changes" -v once="$once" -v twice="$twice" -v a="$advising" \
    -v r1="$read_once" -v r2="$read_twice" 'BEGIN {
  prediction = (twice - once) - (r2 - r1); advice = a - once + prediction
  printf "  one prediction:             %.0f instructions beyond reading\n", prediction
  printf "  advice:                     %.0f instructions beyond reading, %d changes (%.1f times one prediction)\n",
         advice, c, advice / prediction }'
advice_met=$(awk -v once="$once" -v twice="$twice" -v a="$advising" \
  -v r1="$read_once" -v r2="$read_twice" \
  'BEGIN { p = (twice - once) - (r2 - r1); print (a - once + p <= 15 * p) ? 1 : 0 }')
echo "  peak memory:                $rss kB maximum resident set"
if [ "$advice_met" != 1 ]; then
  echo "advice costs more than 15 times one prediction beyond reading" >&2
  exit 1
fi
