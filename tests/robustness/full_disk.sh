#!/bin/sh
# An output that cannot be written (/dev/full) must end the program with
# status 2 and exactly one line on standard error, both for a complete combat
# and for an endless stream of answers (the program must stop reading).
program=$1
[ -w /dev/full ] || { echo "no /dev/full here"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

check() {  # $1: what was run; the status is in $tmp/status, stderr in $tmp/err
  status=$(cat "$tmp/status")
  lines=$(wc -l < "$tmp/err")
  if [ "$status" != 2 ] || [ "$lines" != 1 ] || [ "$(wc -c < "$tmp/err")" -le 1 ]; then
    echo "$1: exit status $status (expected 2), $lines lines on stderr (expected 1):"
    cat "$tmp/err"
    failed=1
  fi
}

# An artillery piece firing at a tank, then no other combat.
printf '6\nn\nn\n5\n0\n10\nn\n7\n3\n0\n10\n0\nn\nn\n6\nn\n' > "$tmp/answers"
"$program" < "$tmp/answers" > "$tmp/check.out" 2>/dev/null
if [ $? != 0 ] || ! grep -q 'The odds are 0 against the attacker' "$tmp/check.out"; then
  echo "the sample answers do not make a complete combat:"; cat "$tmp/check.out"
  exit 1
fi

"$program" < "$tmp/answers" > /dev/full 2> "$tmp/err"
echo $? > "$tmp/status"
check "complete combat > /dev/full"

yes 0 | { timeout 20 "$program" > /dev/full 2> "$tmp/err"; echo $? > "$tmp/status"; }
check "endless answers > /dev/full"
exit $failed
