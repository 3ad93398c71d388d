#!/usr/bin/env bash
# Installs the build tree into a temporary prefix, checks what the desktop program installs, draws
# a chart with the installed command line, then configures, builds and runs tests/consumer
# against the installed umbrix::core alone.
set -euo pipefail
build="$1"
src="$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --prefix "$tmp/prefix" > "$tmp/install.log"
# the installed headers are the public ones only
if find "$tmp/prefix/include" -type f | grep -v '/include/umbrix/[a-z_]*\.h$'; then
    echo "FAIL: files other than the public headers were installed"; exit 1
fi
# the desktop program with its icon, menu entry and manual, when this tree builds them
if [ -x "$build/umbrix-gui" ]; then
    for f in bin/umbrix-gui share/icons/hicolor/scalable/apps/umbrix.svg \
             share/applications/umbrix.desktop; do
        [ -f "$tmp/prefix/$f" ] || { echo "FAIL: $f was not installed"; exit 1; }
    done
    if [ -f "$build/manual.html" ] && ! grep -q "<h2>Project files</h2>" \
            "$tmp/prefix/share/doc/umbrix/manual.html" 2>/dev/null; then
        echo "FAIL: share/doc/umbrix/manual.html was not installed"; exit 1
    fi
    if command -v desktop-file-validate > /dev/null; then
        desktop-file-validate "$tmp/prefix/share/applications/umbrix.desktop"
    fi
fi
# the command line finds its modules in the prefix it was installed in
if [ -f "$build/umbrix-charts.so" ]; then
    "$tmp/prefix/bin/umbrix" --locations "$src/data/locations.lst" --now "21.6.2026 9:00" --quiet \
        --datafile "$src/examples/summer_days.txt" --columns date,time,Ta,RH,v,G \
        --set ChkUeberschriften=1 --output "$tmp/days.txt" --plot "heatmap:UTCI=$tmp/u.svg"
    grep -q '<svg' "$tmp/u.svg" || { echo "FAIL: the installed umbrix drew no chart"; exit 1; }
fi
cmake -S "$src/tests/consumer" -B "$tmp/build" -DCMAKE_PREFIX_PATH="$tmp/prefix" \
      -DCMAKE_BUILD_TYPE=Release > "$tmp/configure.log" || { cat "$tmp/configure.log"; exit 1; }
cmake --build "$tmp/build" > "$tmp/build.log" 2>&1 || { cat "$tmp/build.log"; exit 1; }
"$tmp/build/consumer"
