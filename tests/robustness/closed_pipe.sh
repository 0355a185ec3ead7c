#!/bin/sh
# A reader that goes away ends the program promptly, as it ends any
# command-line tool: by SIGPIPE, or, where SIGPIPE is ignored, with status 2
# and one line on standard error.  The answers are endless (0 is never a
# valid class), so only the closed pipe can end the program.
program=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

yes 0 | { timeout 20 "$program" 2> "$tmp/err"; echo $? > "$tmp/status"; } |
  head -c 10 > /dev/null
status=$(cat "$tmp/status")
case $status in
  141) ;;  # ended by SIGPIPE
  2) [ "$(wc -l < "$tmp/err")" = 1 ] || { echo "status 2 without one line on stderr"; failed=1; } ;;
  *) echo "closed pipe: exit status $status, expected SIGPIPE (141) or 2"; cat "$tmp/err"; failed=1 ;;
esac

# With SIGPIPE ignored the write error itself must end the program.
(
  trap '' PIPE
  yes 0 | { timeout 20 "$program" 2> "$tmp/err"; echo $? > "$tmp/status"; } |
    head -c 10 > /dev/null
)
status=$(cat "$tmp/status")
lines=$(wc -l < "$tmp/err")
if [ "$status" != 2 ] || [ "$lines" != 1 ]; then
  echo "closed pipe, SIGPIPE ignored: exit status $status (expected 2), $lines lines on stderr (expected 1)"
  cat "$tmp/err"
  failed=1
fi
exit $failed
