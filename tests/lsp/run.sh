#!/usr/bin/env bash
# Runs the scripted protocol sessions (session.js) against a velmor program.
# Usage: tests/lsp/run.sh WORK_DIR [--latency] COMMAND [ARGS...]
# The pinned packages of tests/lsp/package-lock.json are installed with npm ci
# into WORK_DIR (again only when the lock file changes). Exits 77, a skip for
# ctest, when node or npm is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=${1:?usage: $0 WORK_DIR [--latency] COMMAND [ARGS...]}
mkdir -p "$work" && work=$(cd "$work" && pwd)
shift
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "node and npm are needed for the protocol sessions; skipped"
    exit 77
fi
mkdir -p "$work"
if ! cmp -s "$here/package-lock.json" "$work/node_modules/.installed-lock" 2>/dev/null; then
    cp "$here/package.json" "$here/package-lock.json" "$work/"
    (cd "$work" && timeout 300 npm ci --no-audit --no-fund --loglevel=error >"$work/npm.log" 2>&1) ||
        { cat "$work/npm.log"; exit 1; }
    cp "$here/package-lock.json" "$work/node_modules/.installed-lock"
fi
NODE_PATH=$work/node_modules exec node "$here/session.js" "$@"
