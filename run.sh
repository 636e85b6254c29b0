#!/usr/bin/env bash
# Sets up a Debian 12 machine for Kestrova Reboot (installs the missing packages listed in deps/*.txt),
# builds it, then either starts the game ("play", the default) or runs every test headless ("test").
set -euo pipefail
cd "$(dirname "$0")"
mode=${1:-play}

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
mapfile -t packages < <(cat deps/*.txt | grep -v -E '^\s*(#|$)' | sort -u)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    "${sudo_cmd[@]}" apt-get update
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"

case "$mode" in
play)
    exec build/bin/kestrova
    ;;
test)
    # Every package of deps/ is installed now, so nothing a test needs of the machine may be missing: a
    # test that would skip for want of a display or a tool fails instead (see tests/support/requirements.h).
    export VORTA5_REQUIRE_ALL=1
    # A virtual X display stands in for the desktop: real windows, OpenGL on Mesa's llvmpipe.
    # VORTA5_XVFB_SERVER_NUM picks the first display number to try (for several runs side by side).
    # -noreset: an X server resets when its last client leaves and drops connections made meanwhile, which
    # would fail tests that open their windows at that moment.
    ctest_log=$(mktemp) # what ctest, then the conformance score, wrote
    trap 'rm -f "$ctest_log"' EXIT
    xvfb-run -a ${VORTA5_XVFB_SERVER_NUM:+-n "$VORTA5_XVFB_SERVER_NUM"} -s "-screen 0 1920x1080x24 -noreset" \
        ctest --test-dir build --output-on-failure -j"$jobs" | tee "$ctest_log"
    # And a skip that went round the helpers (a plain GTEST_SKIP) fails the run too.
    if grep -q "(Skipped)$" "$ctest_log"; then
        echo "Skipped tests fail the test command: every package it needs is installed." >&2
        exit 1
    fi
    # The XM player against the conformance modules kept beside the checkout (../shared, or
    # VORTA5_SHARED_DIR), when they are there; fails below the score the player has reached (raise the
    # floor as the score rises).
    xm_floor=32
    shared=${VORTA5_SHARED_DIR:-../shared}
    if [ -x "$shared/tools/xm-conformance" ]; then
        echo "== $shared/tools/xm-conformance"
        "$shared/tools/xm-conformance" build/bin/vorta5-xm | tee "$ctest_log"
        score=$(awk '/^== this project/ { mine = 1; next } mine && / passed, / { print $1, $1 + $3; mine = 0 }' \
            "$ctest_log")
        read -r passed total <<<"${score:-0 0}"
        echo "XM conformance: $passed of $total pass (the floor is $xm_floor)"
        [ "$passed" -ge "$xm_floor" ] || { echo "XM conformance below its floor of $xm_floor" >&2; exit 1; }
    fi
    # Builds of their own (sanitizers, fuzzers) and their runs, each a script taking the main build folder.
    for extra in tests/extra/*.sh; do
        [ -e "$extra" ] || continue
        echo "== $extra"
        bash "$extra" build
    done
    ;;
*)
    echo "usage: $0 [play|test]" >&2
    exit 2
    ;;
esac
