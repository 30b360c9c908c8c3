#!/usr/bin/env bash
# Builds everything and runs the whole test suite:
#   1. the debug build: unit, script (both engines), documentation, watch-mode
#      and differential tests, the installer's logic, the editor checks and
#      the source format; warnings are errors in this build and the next two;
#   2. the VM with its portable switch dispatch instead of computed goto,
#      built and run through the tests not labelled slow;
#   3. the same suite built with AddressSanitizer, UndefinedBehaviorSanitizer
#      and LeakSanitizer;
#   4. the differential tester on more random programs (fast VM, plain VM
#      and tree-walker);
#   5. each fuzzer for a bounded time;
#   6. the Windows build under Wine (installer, velmor.exe, extension package).
# Installs what the tests need on a fresh machine first.
#
# Environment: VELMOR_FUZZ_SECONDS (default 60), VELMOR_DIFFTEST_PROGRAMS
# (default 20000), VELMOR_SKIP_WINDOWS=1, VELMOR_SKIP_SANITIZERS=1.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
for pkg in $(grep -v '^#' tools/test-packages.txt); do
    dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if ((${#need[@]})); then
    echo "installing: ${need[*]}"
    apt-get update -qq
    apt-get install -y -qq "${need[@]}" >/dev/null
fi

step() { printf '\n==== %s (%s)\n' "$1" "$(date +%H:%M:%S)"; }

step "debug build and test suite"
cmake --preset debug >/dev/null
cmake --build --preset debug
ctest --preset debug -j2

step "VM dispatch by switch"
cmake --preset switch >/dev/null
cmake --build --preset switch
ctest --preset switch -j2

if [[ "${VELMOR_SKIP_SANITIZERS:-0}" != 1 ]]; then
    step "test suite under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer"
    cmake --preset asan >/dev/null
    cmake --build --preset asan
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --preset asan -j2
fi

step "embedding API: interpreters on several threads under ThreadSanitizer"
tools/tsan-embed.sh

step "differential test of the fast VM, the plain VM and the tree-walker"
python3 tests/difftest/difftest.py --velmor build/debug/velmor --plain build/debug/velmor-plain --seed 11 \
    --count "${VELMOR_DIFFTEST_PROGRAMS:-20000}" -j 2

step "fuzzing"
tools/fuzz.sh "${VELMOR_FUZZ_SECONDS:-60}"

if [[ "${VELMOR_SKIP_WINDOWS:-0}" != 1 && -x tools/test-windows.sh ]]; then
    step "Windows build under Wine"
    tools/test-windows.sh
fi
step "all passed"
