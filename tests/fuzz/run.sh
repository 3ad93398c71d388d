#!/usr/bin/env bash
# Runs one fuzz harness: run.sh BINARY NAME SECONDS WORKDIR
# The seeds (corpus/NAME) and the inputs that once failed (regressions/NAME) are read, never
# written; new inputs and any crash go to WORKDIR. FUZZ_SECONDS overrides SECONDS.
set -euo pipefail
bin=$1 name=$2 seconds=${FUZZ_SECONDS:-$3} work=$4
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work/corpus/$name" "$work/artifacts"
dirs=("$work/corpus/$name" "$here/corpus/$name")
[ -d "$here/regressions/$name" ] && dirs+=("$here/regressions/$name")
exec "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/$name-" "${dirs[@]}"
