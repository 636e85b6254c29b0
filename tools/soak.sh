#!/usr/bin/env bash
# Soak run: the game headless on random input (a million frames unless told otherwise), in a scratch copy
# of the build's program folder. Fails on a crash, on a hang (no end within the time limit), on a run that
# does not reach its last frame, and when the resident memory after the last frame is more than 1 MB above
# or below what it was after frame 10 000.
#   tools/soak.sh [build folder] [frames] [seed]        (defaults: build, 1000000, 1)
# VORTA5_SOAK_HOURS sets the time limit (default 6).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
frames=${2:-1000000}
seed=${3:-1}
hours=${VORTA5_SOAK_HOURS:-6}
[ "$frames" -gt 10000 ] || { echo "soak: needs more than 10000 frames" >&2; exit 2; }

scratch=$(mktemp -d /tmp/kestrova-soak.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
cp "$build/bin/kestrova" "$build/bin/config.txt" "$scratch/"
cp -r "$build/bin/data" "$scratch/"

start=$(date +%s)
set +e
timeout "$((hours * 3600))" "$scratch/kestrova" --headless --replay "random:$seed" --frames "$frames" \
    --memory-at "10000,$((frames - 1))" >"$scratch/memory.txt" 2>"$scratch/output.txt"
status=$?
set -e
seconds=$(($(date +%s) - start))
cat "$scratch/memory.txt"
if [ "$status" -ne 0 ]; then
    echo "soak: the run ended with code $status after ${seconds}s (124: it did not end within ${hours}h)"
    tail -n 20 "$scratch/output.txt"
    exit 1
fi
early=$(sed -n 's/^frame 10000: resident memory \([0-9]*\) kB$/\1/p' "$scratch/memory.txt")
late=$(sed -n "s/^frame $((frames - 1)): resident memory \([0-9]*\) kB\$/\1/p" "$scratch/memory.txt")
[ -n "$early" ] && [ -n "$late" ] || { echo "soak: no memory figures"; exit 1; }
growth=$((late - early))
echo "soak: $frames frames of random input (seed $seed) in ${seconds}s; resident memory $early kB after" \
    "frame 10000, $late kB after frame $((frames - 1)) ($growth kB)"
if [ "${growth#-}" -gt 1024 ]; then
    echo "soak: the resident memory moved by more than 1 MB"
    exit 1
fi
