#!/usr/bin/env bash
# Builds and runs every benchmark program; each prints its figures and ratios.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >/dev/null
for b in build/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=offscreen "$b" "$@"
done
