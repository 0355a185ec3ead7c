#!/bin/sh
# Builds the Debian package in the build folder BUILD_DIR (configured and
# built beforehand), checks its fields and contents (the stripped program,
# the compressed manual page, the copyright file, the changelog and the bash
# completion, each with its permissions and owned by root), and runs lintian
# on it, which must report no error and no warning.
# Usage: sh cmake/check_package.sh BUILD_DIR
set -eu
if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
package_dir=$build_dir/package

rm -rf "$package_dir"
(cd "$build_dir" && cpack -G DEB -B "$package_dir" > "$build_dir/cpack.log" 2>&1) || {
  cat "$build_dir/cpack.log"
  echo "cpack failed" >&2
  exit 1
}
set -- "$package_dir"/zelvorn-odds_*.deb
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "expected exactly one zelvorn-odds package in $package_dir" >&2
  exit 1
fi
deb=$1
echo "package: $deb"

failed=0
contents=$(dpkg -c "$deb")
# Each file with its permissions and owner, as dpkg -c lists them.
for entry in \
    '-rwxr-xr-x root/root ./usr/bin/zelvorn-odds' \
    '-rw-r--r-- root/root ./usr/share/man/man1/zelvorn-odds.1.gz' \
    '-rw-r--r-- root/root ./usr/share/doc/zelvorn-odds/copyright' \
    '-rw-r--r-- root/root ./usr/share/doc/zelvorn-odds/changelog.gz' \
    '-rw-r--r-- root/root ./usr/share/bash-completion/completions/zelvorn-odds'; do
  if printf '%s\n' "$contents" | awk '{ print $1, $2, $6 }' | grep -qxF -- "$entry"; then
    echo "contains $entry"
  else
    echo "missing $entry" >&2
    failed=1
  fi
done
unexpected=$(printf '%s\n' "$contents" | awk '$2 != "root/root" ||
  ($1 ~ /^d/ && $1 != "drwxr-xr-x") { print }')
if [ -n "$unexpected" ]; then
  printf 'unexpected owner or directory permissions:\n%s\n' "$unexpected" >&2
  failed=1
fi

check_field() {
  value=$(dpkg-deb -f "$deb" "$1")
  if [ "$value" = "$2" ]; then
    echo "$1: $value"
  else
    echo "$1 is '$value', expected '$2'" >&2
    failed=1
  fi
}
check_field Package zelvorn-odds
# The package's version is the project's, as configured in BUILD_DIR.
check_field Version "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")"
check_field Section utils
check_field Priority optional
check_field Architecture "$(dpkg --print-architecture)"
for field in Maintainer Description Depends; do
  if [ -z "$(dpkg-deb -f "$deb" "$field")" ]; then
    echo "the $field field is empty" >&2
    failed=1
  fi
done

# The packaged program is stripped, and the changelog names this version.
unpacked=$package_dir/unpacked
rm -rf "$unpacked"
dpkg-deb -x "$deb" "$unpacked"
if command -v file > /dev/null 2>&1; then
  description=$(file -b "$unpacked/usr/bin/zelvorn-odds")
  case $description in
    *"not stripped"*|*", with debug_info"*)
      echo "the packaged program is not stripped: $description" >&2
      failed=1 ;;
    *) echo "program: $description" ;;
  esac
fi
changelog=$unpacked/usr/share/doc/zelvorn-odds/changelog.gz
if [ -f "$changelog" ]; then
  top=$(gzip -dc "$changelog" | head -n 1)
  case $top in
    "zelvorn-odds ($(dpkg-deb -f "$deb" Version)) "*) echo "changelog: $top" ;;
    *) echo "the changelog does not start with this version: $top" >&2
       failed=1 ;;
  esac
fi
rm -rf "$unpacked"

if command -v lintian > /dev/null 2>&1; then
  # Info and pedantic tags are shown but do not fail the check.
  if lintian_output=$(lintian --fail-on error,warning --display-info --pedantic \
                        "$deb" 2>&1); then
    echo "lintian: no errors or warnings"
    [ -z "$lintian_output" ] || printf '%s\n' "$lintian_output"
  else
    printf '%s\n' "$lintian_output" >&2
    echo "lintian reports errors or warnings" >&2
    failed=1
  fi
else
  echo "lintian is not installed: the lintian check is skipped"
fi
exit $failed
