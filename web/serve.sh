#!/bin/sh
# Builds the web page and serves it on this machine only:
#   sh web/serve.sh [PORT]     (then open http://127.0.0.1:PORT/, 8000 by default)
# The build folder is "build" beside the sources, or $BUILD.
set -e
cd "$(dirname "$0")/.."
build=${BUILD:-build}
port=${1:-8000}
cmake -S . -B "$build" > /dev/null
cmake --build "$build" --target web
site="$build/web/site"
if [ ! -f "$site/zelvorn.wasm" ]; then
  echo "serve.sh: the page is not built: emcc was not found (Debian: emscripten node-acorn)" >&2
  exit 1
fi
echo "Serving the page on http://127.0.0.1:$port/ (Ctrl-C stops it)"
exec /usr/bin/python3 web/serve.py "$site" "$port"
