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
    # A virtual X display stands in for the desktop: real windows, OpenGL on Mesa's llvmpipe.
    # VORTA5_XVFB_SERVER_NUM picks the first display number to try (for several runs side by side).
    # -noreset: an X server resets when its last client leaves and drops connections made meanwhile, which
    # would fail tests that open their windows at that moment.
    xvfb-run -a ${VORTA5_XVFB_SERVER_NUM:+-n "$VORTA5_XVFB_SERVER_NUM"} -s "-screen 0 1920x1080x24 -noreset" ctest --test-dir build --output-on-failure -j"$jobs"
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
