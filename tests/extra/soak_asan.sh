#!/usr/bin/env bash
# The game headless on 100 000 frames of random input, built with the address and undefined-behaviour
# sanitizers. It uses fuzz.sh's build folder (build-fuzz/, configured the same way here), so that only the
# game's executable is added to what the fuzz targets built; the data comes from the main build folder.
# Fails on any sanitizer report (leaks at exit included), a crash, or a run that does not reach its end.
#   tests/extra/soak_asan.sh [main build folder]        (VORTA5_SOAK_FRAMES: another number of frames)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
frames=${VORTA5_SOAK_FRAMES:-100000}

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DVORTA5_FUZZ=ON -DVORTA5_BUILD_TESTS=ON -DVORTA5_SANITIZE="address,undefined" \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target kestrova

scratch=$(mktemp -d /tmp/kestrova-asan-soak.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
cp build-fuzz/bin/kestrova "$scratch/"
cp "$build/bin/config.txt" "$scratch/"
cp -r "$build/bin/data" "$scratch/"
# What the system's own libraries keep until the process ends is theirs, not ours. The GL driver is loaded
# from the start (LD_PRELOAD) so that it is still there at the leak check: unloaded, its memory would show
# as leaks from no known module, which no suppression can name.
cat >"$scratch/leaks.supp" <<'SUPP'
leak:libGLX_mesa.so
leak:libEGL_mesa.so
leak:libgallium
leak:swrast_dri.so
leak:libLLVM
leak:libSDL2
leak:libdbus
leak:libfontconfig
leak:libX11.so
leak:libopenal.so
SUPP

driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1 || true)

echo "soak under ASan and UBSan: $frames frames of random input"
start=$(date +%s)
set +e
LD_PRELOAD="$driver" ASAN_OPTIONS="detect_leaks=1:exitcode=99" LSAN_OPTIONS="suppressions=$scratch/leaks.supp" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=98" \
    timeout 1800 "$scratch/kestrova" --headless --replay random:2103 --frames "$frames" \
    --memory-at "10000,$((frames - 1))" >"$scratch/memory.txt" 2>"$scratch/output.txt"
status=$?
set -e
cat "$scratch/memory.txt"
if [ "$status" -ne 0 ] || grep -q -E "ERROR: (Address|Leak)Sanitizer|runtime error:" "$scratch/output.txt"; then
    echo "soak_asan: failed with code $status after $(($(date +%s) - start))s"
    grep -A 30 -E "ERROR: (Address|Leak)Sanitizer|runtime error:" "$scratch/output.txt" | head -n 80 || tail -n 30 "$scratch/output.txt"
    exit 1
fi
echo "soak_asan: $frames frames clean in $(($(date +%s) - start))s"
