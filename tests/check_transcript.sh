#!/bin/sh
# Runs the calculator on BASE.in and compares its whole standard output with
# BASE.out and its exit status with BASE.status (0 when absent).  The
# options in BASE.args, when there is one, are given to the calculator,
# which then runs in the top folder of the sources (so that they can name
# files such as examples/roster.json).
program=$1
base=$2
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
if [ -f "$base.args" ]; then
  top=$(cd "$(dirname "$0")/.." && pwd)
  # shellcheck disable=SC2046  # the options are words, split on purpose
  (cd "$top" && "$program" $(cat "$base.args")) < "$base.in" > "$actual" 2>/dev/null
else
  "$program" < "$base.in" > "$actual" 2>/dev/null
fi
status=$?
expected_status=0
[ -f "$base.status" ] && expected_status=$(cat "$base.status")
failed=0
if ! cmp -s "$actual" "$base.out"; then
  echo "standard output differs from $base.out:"
  diff "$base.out" "$actual" | head -n 40
  failed=1
fi
if [ "$status" != "$expected_status" ]; then
  echo "exit status $status, expected $expected_status"
  failed=1
fi
exit $failed
