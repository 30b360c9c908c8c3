#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for a bounded time, seeded
# from the script tests. Any crash, leak of the harness, timeout or
# sanitizer report fails the run and leaves the input in build/fuzz/findings;
# copy such an input into tests/fuzz/regressions once it is fixed.
#
# Usage: tools/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build/fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DVELMOR_FUZZ=ON -DVELMOR_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_parse fuzz_vm fuzz_tree fuzz_fastpaths fuzz_lsp fuzz_embed

corpus="$build/corpus"
mkdir -p "$corpus" "$build/findings"
# Seeds: every script test and example (copied, so the fuzzer's additions stay out of the tree).
find tests/scripts examples -name '*.vlm' -exec cp {} "$corpus/" \; 2>/dev/null || true
# The language server starts from protocol messages: one body (an even first
# byte) and a framed stream holding an edit and every request.
mkdir -p "$corpus/lsp"
printf '%s' '0{"jsonrpc":"2.0","id":2,"method":"textDocument/hover","params":{"textDocument":{"uri":"u"},"position":{"line":0,"character":4}}}' \
    >"$corpus/lsp/seed-body"
python3 - "$corpus/lsp/seed-stream" <<'PYTHON'
import json, sys
def frame(obj):
    body = json.dumps(obj).encode()
    return b"Content-Length: %d\r\n\r\n" % len(body) + body
at = {"textDocument": {"uri": "u"}, "position": {"line": 1, "character": 9}}
messages = [{"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {}},
            {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
                "uri": "u", "text": "let x = 1 +\nfunction f(a) return a + x end\nprint(f(2), \"${x}\")\n"}}}]
for id, method in enumerate(["hover", "completion", "signatureHelp", "definition", "references", "documentSymbol"]):
    messages.append({"jsonrpc": "2.0", "id": id + 2, "method": "textDocument/" + method, "params": at})
open(sys.argv[1], "wb").write(b"1" + b"".join(frame(m) for m in messages))
PYTHON

# Leaks of reference cycles that a program builds (a list holding itself)
# are expected: the language has no cycle collector.
export ASAN_OPTIONS="detect_leaks=0:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

status=0
for target in parse vm tree fastpaths lsp embed; do
    # Every input that once failed a fuzzer, run once each before fuzzing anew.
    if ! "$build/tests/fuzz/fuzz_$target" -timeout=10 -rss_limit_mb=2048 tests/fuzz/regressions/* \
            >"$build/regressions_$target.log" 2>&1; then
        status=1
        echo "fuzz_$target FAILED on a past finding; see $build/regressions_$target.log"
        tail -40 "$build/regressions_$target.log"
        continue
    fi
    echo "fuzz_$target: ${seconds}s"
    mkdir -p "$corpus/$target"
    if ! "$build/tests/fuzz/fuzz_$target" "$corpus/$target" "$corpus" -dict=tests/fuzz/velmor.dict \
            -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
            -artifact_prefix="$build/findings/${target}-" -print_final_stats=1 2>"$build/fuzz_$target.log"; then
        status=1
        echo "fuzz_$target FAILED; see $build/fuzz_$target.log and $build/findings"
        tail -40 "$build/fuzz_$target.log"
    else
        grep -E "^stat::number_of_executed_units|^stat::average_exec_per_sec" "$build/fuzz_$target.log" || true
    fi
done
exit $status
