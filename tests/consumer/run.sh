#!/usr/bin/env bash
# Installs the build tree's umbrix::core into a temporary prefix, then configures, builds and
# runs tests/consumer against that copy alone.
set -euo pipefail
build="$1"
src="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/prefix" > "$tmp/install.log"
# the installed headers are the public ones only
if find "$tmp/prefix/include" -type f | grep -v '/include/umbrix/[a-z_]*\.h$'; then
    echo "FAIL: files other than the public headers were installed"; exit 1
fi
cmake -S "$src/tests/consumer" -B "$tmp/build" -DCMAKE_PREFIX_PATH="$tmp/prefix" \
      -DCMAKE_BUILD_TYPE=Release > "$tmp/configure.log" || { cat "$tmp/configure.log"; exit 1; }
cmake --build "$tmp/build" > "$tmp/build.log" 2>&1 || { cat "$tmp/build.log"; exit 1; }
"$tmp/build/consumer"
