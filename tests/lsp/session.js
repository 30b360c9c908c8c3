#!/usr/bin/env node
// Scripted protocol sessions against `velmor --lsp`, as an editor would hold
// them: the lifecycle, then every fixture in fixtures/ with the expectations
// written beside its code, and a file that must be analysed without running.
//
// Usage: node session.js [--latency] COMMAND [ARGS...]
//   COMMAND ARGS start the server without "--lsp" (e.g. build/debug/velmor,
//   or wine build/windows/velmor.exe). --latency also times diagnostics on a
//   5,000-line file and prints the figures.
//
// Expectations are comment lines under the line they test (several may
// follow one line). Carets mark columns (UTF-16 units) of that line:
//   #      ^^^ error: MESSAGE        a diagnostic with exactly that range
//   #      ^ warning: MESSAGE
//   #      ^ hover: TEXT             the hover there contains TEXT
//   #      ^ definition: LINE:COL    the definition starts there (1-based)
//   #      ^ references: N           N references, declaration included
//   #      ^ completion: +a -b       offered and not offered
//   #      ^ signature: LABEL | PARAM  the active signature and parameter
//   # <--- KIND: TEXT                 the same for columns 0 to 2 (one per dash)
// and a line "# symbols: NAME(CHILD CHILD) NAME" gives the outline.
'use strict';

const fs = require('fs');
const path = require('path');
const { spawn, spawnSync } = require('child_process');
const rpc = require('vscode-jsonrpc/node');

const args = process.argv.slice(2);
const latency = args[0] === '--latency';
if (latency) args.shift();
if (args.length === 0) {
    console.error('usage: session.js [--latency] COMMAND [ARGS...]');
    process.exit(2);
}
const timeoutMs = 30000;
let failures = 0;
let checks = 0;

function check(condition, what, detail) {
    checks += 1;
    if (!condition) {
        failures += 1;
        console.log(`FAIL ${what}${detail === undefined ? '' : `\n    ${detail}`}`);
    }
}

function withTimeout(promise, what) {
    let timer;
    const limit = new Promise((_, reject) => {
        timer = setTimeout(() => reject(new Error(`timed out: ${what}`)), timeoutMs);
    });
    return Promise.race([promise, limit]).finally(() => clearTimeout(timer));
}

// A server process with a connection; `diagnostics` waits for the next publication for a uri.
function startServer() {
    const child = spawn(args[0], [...args.slice(1), '--lsp', '--stdio'], { stdio: ['pipe', 'pipe', 'pipe'] });
    let stderr = '';
    child.stderr.on('data', (data) => { stderr += data; });
    const exited = new Promise((resolve) => child.on('exit', (code) => resolve(code)));
    const connection = rpc.createMessageConnection(
        new rpc.StreamMessageReader(child.stdout), new rpc.StreamMessageWriter(child.stdin));
    const waiting = new Map();
    connection.onNotification('textDocument/publishDiagnostics', (params) => {
        const resolve = waiting.get(params.uri);
        if (resolve) {
            waiting.delete(params.uri);
            resolve(params.diagnostics);
        }
    });
    connection.listen();
    const server = {
        child, connection, exited, stderr: () => stderr,
        diagnostics: (uri) => new Promise((resolve) => waiting.set(uri, resolve)),
        request: (method, params) => withTimeout(connection.sendRequest(method, params), method),
        notify: (method, params) => connection.sendNotification(method, params),
        async open(uri, text) {
            const published = server.diagnostics(uri);
            server.notify('textDocument/didOpen', { textDocument: { uri, languageId: 'velmor', version: 1, text } });
            return withTimeout(published, `diagnostics for ${uri}`);
        },
    };
    return server;
}

async function initialize(server) {
    return server.request('initialize', { processId: process.pid, rootUri: null, capabilities: {} });
}

async function lifecycle() {
    let server = startServer();
    const early = await server.request('textDocument/hover', { textDocument: { uri: 'file:///x.vlm' }, position: { line: 0, character: 0 } })
        .then(() => null, (error) => error.code);
    check(early === -32002, 'a request before initialize is refused', early);
    const result = await initialize(server);
    const caps = result.capabilities;
    check(caps.hoverProvider && caps.definitionProvider && caps.referencesProvider && caps.documentSymbolProvider &&
          caps.completionProvider && caps.signatureHelpProvider && caps.textDocumentSync.change === 1 &&
          caps.documentFormattingProvider && caps.documentRangeFormattingProvider,
          'initialize announces every feature', JSON.stringify(caps));
    server.notify('initialized', {});
    const unknown = await server.request('velmor/none', {}).then(() => null, (error) => error.code);
    check(unknown === -32601, 'an unknown method is answered with -32601', unknown);
    const badParams = await server.request('textDocument/hover', { position: 3 }).then(() => null, (error) => error.code);
    check(badParams === -32602, 'malformed parameters are answered with -32602', badParams);
    check(await server.request('shutdown', null) === null, 'shutdown answers null');
    const after = await server.request('textDocument/documentSymbol', { textDocument: { uri: 'file:///x.vlm' } })
        .then(() => null, (error) => error.code);
    check(after === -32600, 'a request after shutdown is refused', after);
    server.notify('exit');
    check(await withTimeout(server.exited, 'exit') === 0, 'exit after shutdown ends with status 0');

    server = startServer();
    await initialize(server);
    server.notify('exit');
    check(await withTimeout(server.exited, 'exit') === 1, 'exit without shutdown ends with status 1');
}

// Caret lines: [{line, start, end, kind, text}] in UTF-16 units of the line above.
function expectations(text) {
    const lines = text.split(/\r\n|\r|\n/);
    const found = [];
    let symbols = null;
    let code = -1;  // the line that expectations under it refer to
    lines.forEach((line, index) => {
        const caret = /^(#\s*)(\^+)\s+([a-z]+):\s?(.*)$/.exec(line);
        // "# <--- kind: text" marks columns from 0, one per dash.
        const arrow = /^#\s*<(-+)\s+([a-z]+):\s?(.*)$/.exec(line);
        if (caret) {
            found.push({ line: code, start: caret[1].length, end: caret[1].length + caret[2].length,
                kind: caret[3], text: caret[4] });
        } else if (arrow) {
            found.push({ line: code, start: 0, end: arrow[1].length, kind: arrow[2], text: arrow[3] });
        } else {
            code = index;
        }
        const outline = /^# symbols: (.*)$/.exec(line);
        if (outline) symbols = outline[1];
    });
    return { found, symbols };
}

function outline(symbols) {
    return symbols.map((symbol) =>
        symbol.children && symbol.children.length ? `${symbol.name}(${outline(symbol.children)})` : symbol.name).join(' ');
}

async function fixture(server, file) {
    const name = path.basename(file);
    const text = fs.readFileSync(file, 'utf8');
    const uri = `file:///fixtures/${name}`;
    const diagnostics = await server.open(uri, text);
    const { found, symbols } = expectations(text);
    const textDocument = { uri };
    const wanted = found.filter((item) => item.kind === 'error' || item.kind === 'warning');
    const describe = (d) => `${d.range.start.line + 1}:${d.range.start.character}-${d.range.end.line + 1}:${d.range.end.character} ${d.message}`;
    const got = diagnostics.map(describe).sort();
    const expected = wanted.map((item) => `${item.line + 1}:${item.start}-${item.line + 1}:${item.end} ${item.text}`).sort();
    check(JSON.stringify(got) === JSON.stringify(expected), `${name}: diagnostics`,
        `expected ${JSON.stringify(expected)}\n    got      ${JSON.stringify(got)}`);
    for (const item of found) {
        const position = { line: item.line, character: item.start };
        const where = `${name}:${item.line + 1}:${item.start} ${item.kind}`;
        if (item.kind === 'hover') {
            const hover = await server.request('textDocument/hover', { textDocument, position });
            const value = hover ? hover.contents.value : '';
            check(value.includes(item.text.replace(/\\n/g, '\n')), where, `${JSON.stringify(item.text)} not in ${JSON.stringify(value)}`);
        } else if (item.kind === 'definition') {
            const locations = await server.request('textDocument/definition', { textDocument, position });
            const starts = locations.map((l) => `${l.range.start.line + 1}:${l.range.start.character + 1}`);
            check(starts.join(' ') === item.text, where, `expected ${item.text}, got ${starts.join(' ')}`);
        } else if (item.kind === 'references') {
            const locations = await server.request('textDocument/references',
                { textDocument, position, context: { includeDeclaration: true } });
            check(locations.length === Number(item.text), where, `expected ${item.text}, got ${locations.length}`);
        } else if (item.kind === 'completion') {
            const items = await server.request('textDocument/completion', { textDocument, position });
            const labels = new Set((Array.isArray(items) ? items : items.items).map((entry) => entry.label));
            for (const word of item.text.split(/\s+/).filter(Boolean)) {
                const present = labels.has(word.slice(1));
                check(word[0] === '+' ? present : !present, `${where} ${word}`);
            }
        } else if (item.kind === 'signature') {
            const help = await server.request('textDocument/signatureHelp', { textDocument, position });
            let shown = 'none';
            if (help) {
                const signature = help.signatures[help.activeSignature];
                const parameter = signature.parameters[help.activeParameter];
                const label = parameter ? signature.label.slice(parameter.label[0], parameter.label[1]) : '';
                shown = `${signature.label} | ${label}`;
            }
            check(shown === item.text, where, `expected ${item.text}, got ${shown}`);
        }
    }
    if (symbols !== null) {
        const shown = outline(await server.request('textDocument/documentSymbol', { textDocument }));
        check(shown === symbols, `${name}: symbols`, `expected ${symbols}, got ${shown}`);
    }
}

// The server analyses a program without running it: no output of its own
// corrupts the stream, and an endless loop does not hold it up.
async function neverRuns(server) {
    const uri = 'file:///runs.vlm';
    const diagnostics = await server.open(uri, 'print("stray output")\nlet name = input("? ")\nwhile true do end\n');
    check(diagnostics.length === 0, 'a program that prints, reads and loops is analysed, not run', JSON.stringify(diagnostics));
    const symbols = await server.request('textDocument/documentSymbol', { textDocument: { uri } });
    check(symbols.length === 1 && symbols[0].name === 'name', 'the stream stays intact after it');
}

// Edits through incremental and full changes reach the analysis.
async function edits(server) {
    const uri = 'file:///edits.vlm';
    await server.open(uri, 'let a = 1\n');
    let published = server.diagnostics(uri);
    server.notify('textDocument/didChange', { textDocument: { uri, version: 2 },
        contentChanges: [{ range: { start: { line: 0, character: 8 }, end: { line: 0, character: 9 } }, text: '(' }] });
    let diagnostics = await withTimeout(published, 'incremental change');
    check(diagnostics.length === 1 && diagnostics[0].message === "unexpected end of line in expression" ||
          diagnostics.length === 1, 'an incremental change is applied', JSON.stringify(diagnostics));
    published = server.diagnostics(uri);
    server.notify('textDocument/didChange', { textDocument: { uri, version: 3 }, contentChanges: [{ text: 'let a = 2\n' }] });
    diagnostics = await withTimeout(published, 'full change');
    check(diagnostics.length === 0, 'a full change is applied', JSON.stringify(diagnostics));
    published = server.diagnostics(uri);
    server.notify('textDocument/didClose', { textDocument: { uri } });
    check((await withTimeout(published, 'close')).length === 0, 'closing clears the diagnostics');
}

// Editor lines end at "\r\n" and at a lone "\r" too, where Velmor sees blank space.
async function lineBreaks(server) {
    const diagnostics = await server.open('file:///breaks.vlm', 'let a = 1\r\nlet b = (\rlet c = 3\n');
    const shown = diagnostics.map((d) => `${d.range.start.line}:${d.range.start.character}-${d.range.end.line}:${d.range.end.character} ${d.message}`);
    check(shown.join() === "2:0-2:3 unexpected 'let' in expression", 'positions after CR LF and a lone CR', shown.join());
}

// Applies LSP text edits (sorted, not overlapping) to a text of "\n" lines.
function applyEdits(text, edits) {
    const lines = text.split('\n');
    const offset = (p) => lines.slice(0, p.line).reduce((n, l) => n + l.length + 1, 0) + p.character;
    const sorted = [...edits].sort((a, b) => offset(b.range.start) - offset(a.range.start));
    for (const edit of sorted) {
        text = text.slice(0, offset(edit.range.start)) + edit.newText + text.slice(offset(edit.range.end));
    }
    return text;
}

// Formatting gives what `velmor --format -` gives; a range touches only its
// lines; a document that does not parse gets no edits.
async function formatting(server) {
    const messy = 'let xs=[1,\n2]\nfunction f( a )\nif a>0 then\nreturn -a   # negate\nend\n\n\nreturn a\nend\n';
    const cli = spawnSync(args[0], [...args.slice(1), '--format', '-'], { input: messy });
    const expected = cli.stdout.toString();
    check(cli.status === 0 && expected !== messy, 'the command line formats the sample', cli.stderr.toString());
    const uri = 'file:///format.vlm';
    await server.open(uri, messy);
    const options = { tabSize: 4, insertSpaces: true };
    const whole = await server.request('textDocument/formatting', { textDocument: { uri }, options });
    check(applyEdits(messy, whole) === expected, 'formatting a document gives the layout of --format',
        JSON.stringify(whole));
    const range = { start: { line: 3, character: 0 }, end: { line: 5, character: 0 } };
    const part = await server.request('textDocument/rangeFormatting', { textDocument: { uri }, range, options });
    const wanted = messy.split('\n').map((line, n) => (n >= 3 && n <= 4 ? expected.split('\n')[n] : line)).join('\n');
    check(applyEdits(messy, part) === wanted, 'formatting lines 4 and 5 changes only them', JSON.stringify(part));
    await server.open('file:///broken.vlm', 'if x then\n  y(\n');
    const none = await server.request('textDocument/formatting', { textDocument: { uri: 'file:///broken.vlm' }, options });
    check(Array.isArray(none) && none.length === 0, 'a document that does not parse gets no edits', JSON.stringify(none));
    const done = await server.request('textDocument/formatting', { textDocument: { uri: 'file:///none.vlm' }, options });
    check(Array.isArray(done) && done.length === 0, 'an unknown document gets no edits');
}

async function measureLatency(server) {
    const lines = [];
    for (let i = 0; lines.length < 5000; i += 1) {
        lines.push(`function f${i}(a, b)`, `  let total = a + b * ${i}`, `  if total > 10 then return total end`,
            `  return [a, b, "n${i}: \${total}"]`, 'end');
    }
    const uri = 'file:///big.vlm';
    const base = lines.join('\n') + '\n';
    await server.open(uri, base);
    const times = [];
    for (let round = 0; round < 21; round += 1) {
        // Alternately a parse error on the last line and a clean file.
        const text = round % 2 ? base + 'let broken = (1 +\n' : base + `let fine = ${round}\n`;
        const published = server.diagnostics(uri);
        const start = process.hrtime.bigint();
        server.notify('textDocument/didChange', { textDocument: { uri, version: round + 2 }, contentChanges: [{ text }] });
        await withTimeout(published, 'latency');
        times.push(Number(process.hrtime.bigint() - start) / 1e6);
    }
    times.sort((a, b) => a - b);
    console.log(`latency: ${lines.length} lines, ${base.length} bytes: median ${times[10].toFixed(1)} ms, ` +
        `min ${times[0].toFixed(1)} ms, max ${times[times.length - 1].toFixed(1)} ms over ${times.length} full changes`);
}

async function main() {
    const started = Date.now();
    await lifecycle();
    const server = startServer();
    await initialize(server);
    server.notify('initialized', {});
    const folder = path.join(__dirname, 'fixtures');
    for (const file of fs.readdirSync(folder).filter((f) => f.endsWith('.vlm')).sort()) {
        await fixture(server, path.join(folder, file));
    }
    await neverRuns(server);
    await edits(server);
    await lineBreaks(server);
    await formatting(server);
    if (latency) await measureLatency(server);
    await server.request('shutdown', null);
    server.notify('exit');
    check(await withTimeout(server.exited, 'exit') === 0, 'the session ends with status 0', server.stderr());
    console.log(`${checks - failures} passed, ${failures} failed (${((Date.now() - started) / 1000).toFixed(1)} s)`);
    process.exit(failures ? 1 : 0);
}

main().catch((error) => {
    console.log(`FAIL ${error.stack || error}`);
    process.exit(1);
});
