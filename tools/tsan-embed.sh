#!/usr/bin/env bash
# Builds the embedding API's unit tests under ThreadSanitizer (build/tsan) and
# runs the ones where interpreters work on several threads at once. Exits
# with the tests' status; ThreadSanitizer fails them on any data race.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMOR_DEV_TOOLS=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=thread" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
cmake --build build/tsan --target unit_embed -j "${JOBS:-2}"
TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}" build/tsan/tests/unit_embed \
    --gtest_filter='EmbedThreads.*:EmbedLimits.InterruptReachesOnlyItsInterpreter'
