#!/bin/sh
# Installs the Debian packages that zelvorn-odds needs, those that are
# missing only.
#
#   sh scripts/setup.sh           to build the calculator
#   sh scripts/setup.sh --tests   to build it and run its tests
#   sh scripts/setup.sh --web     to build the web page and serve it
#   sh scripts/setup.sh --all     also the optional parts: line editing, the
#                                 web page and its browser tests, and what
#                                 the continuous integration runs (sanitizers,
#                                 fuzzing, the package check, the benchmark)
#                                 and, from npm, the accessibility checker
#                                 of the browser tests (tests/web/node_modules)
#
# Without the optional packages those parts are skipped with a message.
# Installing needs root (or sudo); otherwise the missing packages are named.
set -eu

build="cmake g++ make nlohmann-json3-dev"
tests="libgtest-dev python3 python3-jsonschema groff-base"
web="emscripten node-acorn python3"
optional="libedit-dev emscripten node-acorn chromium chromium-driver
python3-selenium lintian clang libclang-rt-14-dev valgrind strace time
dpkg-dev file ccache"

case "${1:-}" in
  "") wanted=$build ;;
  --tests) wanted="$build $tests" ;;
  --web) wanted="$build $web" ;;
  --all) wanted="$build $tests $optional" ;;
  *) echo "usage: sh scripts/setup.sh [--tests|--web|--all]" >&2; exit 2 ;;
esac

missing=""
for package in $wanted; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  case "$status" in
    *" installed") ;;
    *) missing="$missing $package" ;;
  esac
done
if [ -z "$missing" ]; then
  echo "setup: every package needed is installed"
else
  echo "setup: installing$missing"
  if [ "$(id -u)" -eq 0 ]; then
    run=""
  elif command -v sudo > /dev/null 2>&1; then
    run="sudo"
  else
    echo "setup: run as root: apt-get install$missing" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  $run apt-get update -q
  # shellcheck disable=SC2086  # the package names are words of their own
  $run apt-get install -y -q $missing
fi

# The accessibility test injects axe-core into the page: the version that
# tests/web/package-lock.json pins, installed beside it.
if [ "${1:-}" = "--all" ]; then
  web_tests="$(dirname "$0")/../tests/web"
  if [ -f "$web_tests/node_modules/axe-core/axe.min.js" ] &&
     grep -q '"version": "'"$(sed -n 's/.*"axe-core": "\(.*\)".*/\1/p' "$web_tests/package.json")"'"' \
       "$web_tests/node_modules/axe-core/package.json"; then
    echo "setup: axe-core is installed"
  elif ! command -v npm > /dev/null 2>&1; then
    echo "setup: npm not found (Debian: npm): axe-core is not installed," \
         "the accessibility test will be skipped" >&2
  else
    echo "setup: installing axe-core from npm into tests/web/node_modules"
    npm ci --prefix "$web_tests" --no-audit --no-fund
  fi
fi
