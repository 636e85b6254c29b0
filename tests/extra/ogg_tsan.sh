#!/usr/bin/env bash
# Builds the audio tests with the thread sanitizer (build-tsan/) and runs the Ogg stream player's tests:
# play/stop/play churn, restarts, tracks that end on their own, a worker that Stop gives up on, and a
# stream closed while its worker decodes into a half.
# Fails on any reported data race.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORTA5_SANITIZE=thread -DVORTA5_BUILD_TESTS=ON >/dev/null
cmake --build build-tsan -j"$(nproc)" --target test_audio
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" VORTA5_HEADLESS=1 ALSOFT_DRIVERS=null \
    build-tsan/tests/audio/test_audio --gtest_filter='OggStream*'
