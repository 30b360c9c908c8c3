#!/usr/bin/env bash
# Builds everything and runs the whole test suite. Installs what the tests
# need on a fresh machine first.
set -euo pipefail
cd "$(dirname "$0")/.."

# Packages the tests need beyond the base machine.
need=()
for pkg in g++-mingw-w64-x86-64 wine64 clang libclang-rt-14-dev unzip zip; do
    dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if ((${#need[@]})); then
    echo "installing: ${need[*]}"
    apt-get update -qq
    apt-get install -y -qq "${need[@]}" >/dev/null
fi

cmake --preset debug
cmake --build --preset debug
ctest --preset debug -j2

# The Windows programs, tested under Wine, and the editor extension.
if [[ -x tools/test-windows.sh ]]; then
    tools/test-windows.sh
fi
