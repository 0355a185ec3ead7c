#!/bin/sh
# Installs the build into a fresh prefix, as `cmake --install --strip` does,
# and checks that it holds the program (executable, stripped, at most 1 MiB),
# the manual page (readable by man), the copyright file, the changelog and
# the bash completion (which registers the completion of zelvorn-odds).
# Usage: sh cmake/check_install.sh CMAKE BUILD_DIR CONFIG PREFIX PROGRAM
#          MAN_PAGE DOC_DIR COMPLETION
# where PROGRAM, MAN_PAGE, DOC_DIR and COMPLETION are relative to PREFIX.
set -u
if [ $# -ne 8 ]; then
  echo "usage: $0 CMAKE BUILD_DIR CONFIG PREFIX PROGRAM MAN_PAGE DOC_DIR" \
    "COMPLETION" >&2
  exit 2
fi
cmake=$1 build_dir=$2 config=$3 prefix=$4
program=$prefix/$5 man_page=$prefix/$6 doc_dir=$prefix/$7 completion=$prefix/$8

rm -rf "$prefix"
"$cmake" --install "$build_dir" --config "$config" --prefix "$prefix" --strip \
  > /dev/null || exit 1

failed=0
for file in "$program" "$man_page" "$doc_dir/copyright" "$doc_dir"/changelog* \
    "$completion"; do
  if [ -f "$file" ]; then
    echo "installed $file"
  else
    echo "missing: $file"
    failed=1
  fi
done
if [ ! -x "$program" ]; then
  echo "not executable: $program"
  failed=1
fi
# The stripped program carries the C++ runtime; it stays within 1 MiB.
size_limit=1048576
# A sanitized build carries its checks' runtime and is not what is shipped:
# its size is not held to the limit.
if [ -f "$program" ] && grep -q __asan_init "$program"; then
  echo "installed program: a sanitized build, its size is not checked"
elif [ -f "$program" ]; then
  size=$(wc -c < "$program")
  echo "installed program: $size bytes (limit $size_limit)"
  if [ "$size" -gt "$size_limit" ]; then
    echo "the installed program is larger than $size_limit bytes"
    failed=1
  fi
fi
if command -v file > /dev/null 2>&1; then
  description=$(file -b "$program")
  case $description in
    *"not stripped"*|*", with debug_info"*)
      echo "not stripped: $program: $description"
      failed=1 ;;
  esac
fi
if command -v man > /dev/null 2>&1; then
  if MANWIDTH=80 man -l "$man_page" 2> /dev/null | grep -q 'zelvorn-odds'; then
    echo "man -l reads $man_page"
  else
    echo "man -l cannot read $man_page"
    failed=1
  fi
fi
if command -v bash > /dev/null 2>&1 && [ -f "$completion" ]; then
  if bash --norc --noprofile -c ". '$completion' && complete -p zelvorn-odds" \
      > /dev/null 2>&1; then
    echo "bash completes zelvorn-odds with $completion"
  else
    echo "$completion does not register a completion of zelvorn-odds"
    failed=1
  fi
fi
[ $failed -eq 0 ] && rm -rf "$prefix"
exit $failed
