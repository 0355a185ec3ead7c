#!/bin/sh
# Builds the Debian package in the build folder BUILD_DIR (configured and
# built beforehand) and checks its fields and that it holds the program and
# its manual page.
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
for file in ./usr/bin/zelvorn-odds ./usr/share/man/man1/zelvorn-odds.1; do
  if printf '%s\n' "$contents" | awk '{ print $6 }' | grep -qx "$file"; then
    echo "contains $file"
  else
    echo "missing $file" >&2
    failed=1
  fi
done
if ! printf '%s\n' "$contents" | grep -q '^-rwxr-xr-x .* \./usr/bin/zelvorn-odds$'; then
  echo "./usr/bin/zelvorn-odds is not executable by everyone" >&2
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
check_field Version 1.1.0
check_field Section games
check_field Architecture "$(dpkg --print-architecture)"
for field in Maintainer Description; do
  if [ -z "$(dpkg-deb -f "$deb" "$field")" ]; then
    echo "the $field field is empty" >&2
    failed=1
  fi
done
exit $failed
