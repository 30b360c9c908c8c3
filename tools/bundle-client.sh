#!/usr/bin/env bash
# Bundles the extension's language client (editor-client/) with its one
# dependency, vscode-languageclient, into editor/out/extension.js, which is
# committed so that the CMake build and the extension package need no network.
# The packages come from editor-client/package-lock.json (npm ci), installed
# into a work folder, never into the source tree.
#
# Usage: tools/bundle-client.sh            rebuild editor/out/extension.js
#        tools/bundle-client.sh --check DIR rebuild in DIR and compare with the committed bundle
# Exits 77 (a skip for ctest) when node or npm is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mode=write
work=$root/build/editor-client
if [[ ${1:-} == --check ]]; then
    mode=check
    work=${2:?usage: $0 --check DIR}
    mkdir -p "$work" && work=$(cd "$work" && pwd)
fi
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "node and npm are needed to bundle the client; skipped"
    exit 77
fi

mkdir -p "$work"
cp editor-client/package.json editor-client/package-lock.json "$work/"
rm -rf "$work/src" && cp -r editor-client/src "$work/src"
# npm ci only when the lock file changed since the last install here.
if ! cmp -s "$work/package-lock.json" "$work/node_modules/.installed-lock" 2>/dev/null; then
    (cd "$work" && timeout 300 npm ci --no-audit --no-fund --loglevel=error >"$work/npm.log" 2>&1) ||
        { cat "$work/npm.log"; exit 1; }
    cp "$work/package-lock.json" "$work/node_modules/.installed-lock"
fi
(cd "$work" && ./node_modules/.bin/esbuild src/extension.js --bundle --platform=node --format=cjs \
    --external:vscode --minify --target=node16 --log-level=warning --outfile=out/extension.js)

if [[ $mode == write ]]; then
    mkdir -p editor/out
    cp "$work/out/extension.js" editor/out/extension.js
    echo "wrote editor/out/extension.js ($(wc -c <editor/out/extension.js) bytes)"
elif cmp -s "$work/out/extension.js" editor/out/extension.js; then
    echo "editor/out/extension.js matches a rebuild from editor-client/"
else
    echo "editor/out/extension.js differs from a rebuild from editor-client/: run tools/bundle-client.sh"
    exit 1
fi
