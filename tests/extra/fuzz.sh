#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) and runs each one
# briefly over its seed corpus; builds the XM tests in the same sanitized build and runs them (the loader
# and the replayer on truncated and broken modules). Fails when a target or a test finds a crash, a leak
# or an out-of-bounds access, or a test fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${VORTA5_FUZZ_SECONDS:-20}
shopt -s nullglob
sources=(tests/fuzz/*_fuzz.cpp)
[ ${#sources[@]} -gt 0 ] || exit 0

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DVORTA5_FUZZ=ON -DVORTA5_BUILD_TESTS=ON -DVORTA5_SANITIZE="address,undefined" \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
targets=()
for source in "${sources[@]}"; do
    name=$(basename "$source" _fuzz.cpp)
    targets+=("fuzz_$name")
done
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}" test_xm vorta5-xm

echo "test_xm under the address and undefined-behaviour sanitizers"
UBSAN_OPTIONS="halt_on_error=1 print_stacktrace=1" VORTA5_HEADLESS=1 SDL_AUDIODRIVER=dummy \
    build-fuzz/tests/xm/test_xm --gtest_brief=1

for source in "${sources[@]}"; do
    name=$(basename "$source" _fuzz.cpp)
    corpus=$(mktemp -d)
    [ -d "tests/fuzz/corpus/$name" ] && cp -r "tests/fuzz/corpus/$name/." "$corpus/"
    echo "fuzz_$name: ${seconds}s"
    set +e
    UBSAN_OPTIONS=halt_on_error=1 build-fuzz/fuzz/"fuzz_$name" -max_total_time="$seconds" -max_len=65536 \
        -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
    status=${PIPESTATUS[0]}
    set -e
    rm -rf "$corpus"
    [ "$status" -eq 0 ] || { echo "fuzz_$name failed"; exit 1; }
done
