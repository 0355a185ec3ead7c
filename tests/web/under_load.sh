#!/usr/bin/env bash
# The browser tests, ROUNDS times in a row (3 by default), while two other
# processes keep both cores busy: a test that depends on timing rather than
# on conditions fails here.  The busy processes end with the script,
# however it ends.  Exits 1 when any round fails.
#
#   bash tests/web/under_load.sh [BUILD_DIR] [TESTS_REGEX] [ROUNDS]
#
# TESTS_REGEX picks the tests by name (ctest -R), all of label "web" when
# it is empty.  The long comparisons against the program check their fixed
# sample of cases, or all of them with ZELVORN_WEB_SAMPLE=all.
set -u
build=${1:-build}
tests=${2:-}
rounds=${3:-3}

busy=()
stop_busy() {
  if [ ${#busy[@]} -gt 0 ]; then
    kill "${busy[@]}" 2> /dev/null
    wait "${busy[@]}" 2> /dev/null
    busy=()
  fi
}
trap stop_busy EXIT
trap 'stop_busy; exit 130' INT
trap 'stop_busy; exit 143' TERM

for _ in 1 2; do
  yes > /dev/null &
  busy+=($!)
done

status=0
for round in $(seq 1 "$rounds"); do
  start=$(date +%s)
  if ctest --test-dir "$build" -L web ${tests:+-R "$tests"} --output-on-failure; then
    result=passed
  else
    result=FAILED
    status=1
  fi
  echo "under load: round $round of $rounds $result in $(( $(date +%s) - start )) s" \
       "(load average $(cut -d ' ' -f 1 /proc/loadavg))"
done
exit $status
