#!/usr/bin/env bash
# Builds the XM tests with the thread sanitizer (build-tsan/) and runs the ones where the audio device's
# callback mixes while the main thread loads, plays and stops songs. Fails on any reported data race.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORTA5_SANITIZE=thread -DVORTA5_BUILD_TESTS=ON >/dev/null
cmake --build build-tsan -j"$(nproc)" --target test_xm vorta5-xm
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" VORTA5_HEADLESS=1 SDL_AUDIODRIVER=dummy \
    build-tsan/tests/xm/test_xm --gtest_filter='Xm_Device_Test.*'
