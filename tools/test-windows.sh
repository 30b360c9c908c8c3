#!/usr/bin/env bash
# Builds the Windows preset and tests what only it produces: velmor.exe and
# velmor-setup.exe under Wine, the editor grammar and the extension package.
# Prints one PASS/FAIL line per check and closes with "N passed, N failed";
# exits 1 on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/windows
tools=$build/node-tools
log=$build/test-windows.log

passed=0
failed=0
pass() { echo "PASS $1"; passed=$((passed + 1)); }
fail() {
    echo "FAIL $1"
    shift
    (($#)) && printf '    %s\n' "$@"
    failed=$((failed + 1))
}
finish() {
    echo "$passed passed, $failed failed"
    ((failed == 0))
    exit
}

# The build.
mkdir -p "$build"
if timeout 120 cmake --preset windows >"$log" 2>&1 &&
    timeout 900 cmake --build --preset windows -j2 >>"$log" 2>&1; then
    pass "windows build"
else
    fail "windows build" "$(tail -20 "$log")"
    finish
fi
for program in velmor.exe velmor-setup.exe; do
    # Self-contained: nothing beyond the system DLLs that every Windows has.
    dlls=$(x86_64-w64-mingw32-objdump -p "$build/$program" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort)
    extra=$(grep -v -x -E 'KERNEL32.DLL|MSVCRT.DLL|ADVAPI32.DLL|SHELL32.DLL|USER32.DLL' <<<"$dlls" || true)
    if [[ -z $extra ]]; then pass "$program needs no extra DLLs"; else fail "$program needs no extra DLLs" $dlls; fi
done
# An exception passing through a GCC function that keeps a frame pointer and
# saves vector registers comes out with those registers wrong (the caller's
# locals held there are garbage), so none of our functions may have both.
both=$(find "$build" -path "$build/node-tools" -prune -o -name '*.obj' -print | sort | while read -r object; do
    x86_64-w64-mingw32-objdump -x "$object" |
        awk -v object="${object#"$build"/}" '/\(rva: /{range=$0} /Frame reg:/{framed=($NF!="none")}
            /save xmm/{if (framed && !seen[range]++) print object ":" range}'
done)
if [[ -z $both ]]; then pass "no frame-pointer function saves vector registers"; else
    fail "no frame-pointer function saves vector registers" $both; fi

# The programs under Wine, bounded as a whole on top of each step's own bound.
timeout 600 tests/wine/run.sh "$build" >"$build/wine-tests.log" 2>&1
wine_status=$?
grep -E '^(PASS|FAIL) |^    |seconds|s; whole run' "$build/wine-tests.log" | grep -a -v '^PASS' || true
wine_passed=$(grep -c '^PASS ' "$build/wine-tests.log")
wine_failed=$(grep -c '^FAIL ' "$build/wine-tests.log")
passed=$((passed + wine_passed))
failed=$((failed + wine_failed))
if ((wine_status != 0 && wine_failed == 0)); then
    fail "wine tests ran to the end" "$(tail -5 "$build/wine-tests.log")"
fi
echo "wine: $wine_passed passed, $wine_failed failed ($(grep -o 'whole run: [0-9]* s' "$build/wine-tests.log"))"

# The language server in velmor.exe: the protocol sessions of the Linux tests,
# in the Wine prefix that the scenarios above left, with diagnostics timed.
sessions=$(WINEDEBUG=-all WINEPREFIX=$build/wine-tests/prefix WINEDLLOVERRIDES="mscoree,mshtml=" \
    timeout 600 tests/lsp/run.sh "$build/lsp-node" --latency wine "$build/velmor.exe" 2>&1)
case $? in
0) pass "language server sessions under Wine"; grep '^latency' <<<"$sessions" ;;
77) echo "SKIP language server sessions under Wine (no node)" ;;
*) fail "language server sessions under Wine" "$(tail -20 <<<"$sessions")" ;;
esac

# The embedding package of the Windows build: installed, then the example
# host built against that copy alone with the cross compiler, and run.
embed=$build/embed-example
rm -rf "$embed"
if timeout 300 cmake --install "$build" --prefix "$embed/prefix" >"$embed.log" 2>&1 &&
    timeout 120 cmake -S examples/embed -B "$embed/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$embed/prefix" \
        -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >>"$embed.log" 2>&1 &&
    timeout 300 cmake --build "$embed/build" >>"$embed.log" 2>&1; then
    output=$(cd examples/embed && WINEDEBUG=-all WINEPREFIX=$build/wine-tests/prefix \
        timeout 120 wine "$embed/build/velmor-embed-example.exe" 2>&1 | tr -d '\r')
    if [[ "$output" == "$(cat examples/embed/expected-output.txt)" ]]; then
        pass "embedding example against the installed Windows package"
    else
        fail "embedding example against the installed Windows package" "$(diff <(echo "$output") examples/embed/expected-output.txt | head -20)"
    fi
else
    fail "embedding example against the installed Windows package" "$(tail -20 "$embed.log")"
fi
# Interpreters on Windows threads, against the same installed package.
if timeout 120 cmake -S tests/wine/embed_threads -B "$embed/threads" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$embed/prefix" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >>"$embed.log" 2>&1 &&
    timeout 300 cmake --build "$embed/threads" >>"$embed.log" 2>&1; then
    if output=$(WINEDEBUG=-all WINEPREFIX=$build/wine-tests/prefix \
        timeout 300 wine "$embed/threads/velmor-embed-threads.exe" 2>&1 | tr -d '\r'); then
        pass "embedding API on Windows threads"
        grep 'memory' <<<"$output" || true
    else
        fail "embedding API on Windows threads" "$output"
    fi
else
    fail "embedding API on Windows threads" "$(tail -20 "$embed.log")"
fi

WINEPREFIX=$build/wine-tests/prefix wineserver -k >/dev/null 2>&1 || true

# The extension package: entries at the root of the archive, in the layout the editor expects.
package=$build/velmor-extension.vsix
entries=$(unzip -Z1 "$package" 2>&1 | grep -v '/$' | sort)
expected_entries=$(sort <<'EOF'
[Content_Types].xml
extension.vsixmanifest
extension/README.md
extension/language-configuration.json
extension/out/extension.js
extension/package.json
extension/snippets/velmor.json
extension/syntaxes/velmor.tmLanguage.json
EOF
)
if [[ $entries == "$expected_entries" ]] && unzip -l "$package" >/dev/null && unzip -tq "$package" >/dev/null; then
    pass "unzip -l: package entries"
else
    fail "unzip -l: package entries" "$entries"
fi
if out=$(python3 tests/editor/check_package.py "$package" editor 2>&1); then
    pass "package manifests"
else
    fail "package manifests" "$out"
fi

# Node tools, installed into the build folder (never into the source tree).
if [[ ! -x $tools/node_modules/.bin/vscode-tmgrammar-test || ! -x $tools/node_modules/.bin/vsce ]]; then
    mkdir -p "$tools"
    [[ -f $tools/package.json ]] || echo '{"private": true}' >"$tools/package.json"
    if ! (cd "$tools" && timeout 300 npm install --no-audit --no-fund --silent \
        vscode-tmgrammar-test@0.1.3 @vscode/vsce@3 >"$tools/npm.log" 2>&1); then
        fail "npm install of the grammar and package tools" "$(tail -5 "$tools/npm.log")"
        finish
    fi
fi

if out=$(timeout 120 "$tools/node_modules/.bin/vscode-tmgrammar-test" -c -g editor/syntaxes/velmor.tmLanguage.json \
    'tests/editor/grammar/*.test.velmor' 2>&1); then
    pass "grammar scope tests"
else
    fail "grammar scope tests" "$out"
fi
if out=$(NODE_PATH=$tools/node_modules timeout 120 node tests/editor/grammar_tokens.js \
    editor/syntaxes/velmor.tmLanguage.json 2>&1); then
    pass "grammar token boundaries"
else
    fail "grammar token boundaries" "$out"
fi

# vsce validates package.json and lists what it would pack; run it on the staged
# extension folder, which must list exactly the files under extension/.
stage=$build/setup/vsix-stage/extension
if listed=$(cd "$stage" && timeout 120 "$tools/node_modules/.bin/vsce" ls --no-dependencies </dev/null 2>&1); then
    listed=$(sed 's/^/extension\//' <<<"$listed" | sort)
    packed=$(grep '^extension/' <<<"$expected_entries")
    if [[ $listed == "$packed" ]]; then pass "vsce ls accepts package.json"; else
        fail "vsce ls lists the packed files" "$listed"; fi
else
    fail "vsce ls accepts package.json" "$listed"
fi

finish
