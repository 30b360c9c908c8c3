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
//   #      ^ warning: [CODE] MESSAGE     a lint warning, with its code
//   #      ^ hover: TEXT             the hover there contains TEXT
//   #      ^ definition: LINE:COL    the definition starts there (1-based)
//   #      ^ references: N           N references, declaration included
//   #      ^ completion: +a -b       offered and not offered
//   #      ^ signature: LABEL | PARAM  the active signature and parameter
//   # <--- KIND: TEXT                 the same for columns 0 to 2 (one per dash)
// and a line "# symbols: NAME(CHILD CHILD) NAME" gives the outline.
// workspace/tour.vlm drives rename, highlights, folding, semantic tokens and
// workspace symbols (editorFeatures below), with workspace/ as the folder.
'use strict';

const fs = require('fs');
const path = require('path');
const url = require('url');
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
const lintCodes = ['undefined-name', 'builtin-arity', 'unused-local', 'unreachable-code', 'undeclared-assignment'];
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
    const publications = [];
    connection.onNotification('textDocument/publishDiagnostics', (params) => {
        publications.push(params);
        const resolve = waiting.get(params.uri);
        if (resolve) {
            waiting.delete(params.uri);
            resolve(params.diagnostics);
        }
    });
    connection.listen();
    const server = {
        child, connection, exited, publications, stderr: () => stderr,
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
          caps.completionProvider && caps.signatureHelpProvider && caps.textDocumentSync.change === 2 &&
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
    const describe = (d) => `${d.range.start.line + 1}:${d.range.start.character}-${d.range.end.line + 1}:${d.range.end.character} ` +
        `${lintCodes.includes(d.code) ? `[${d.code}] ` : ''}${d.message}`;
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

// Lint settings from initializationOptions and from a settings change, and
// the quick fixes, on the lint fixture.
async function lintFixes() {
    const text = fs.readFileSync(path.join(__dirname, 'fixtures', 'lint.vlm'), 'utf8');
    const server = startServer();
    const init = await server.request('initialize', { processId: process.pid, rootUri: null, capabilities: {},
        initializationOptions: { velmor: { lint: { disabled: ['unused-local'] } } } });
    server.notify('initialized', {});
    const actionCaps = init.capabilities.codeActionProvider;
    check(actionCaps && JSON.stringify(actionCaps.codeActionKinds) === '["quickfix"]', 'initialize announces quick fixes',
        JSON.stringify(actionCaps));
    const uri = 'file:///lint.vlm';
    const codes = (diagnostics) => [...new Set(diagnostics.filter((d) => d.severity === 2 && d.source === 'velmor')
        .map((d) => d.code))].sort().join(' ');
    let diagnostics = await server.open(uri, text);
    check(codes(diagnostics) === 'builtin-arity undeclared-assignment undefined-name unreachable-code',
        'initializationOptions turn one code off', codes(diagnostics));
    const configure = async (lint) => {
        const published = server.diagnostics(uri);
        server.notify('workspace/didChangeConfiguration', { settings: { velmor: { lint } } });
        return withTimeout(published, 'diagnostics after a settings change');
    };
    diagnostics = await configure({ enabled: false });
    check(diagnostics.length === 0, 'a settings change turns the warnings off', JSON.stringify(diagnostics));
    diagnostics = await configure({ enabled: true, disabled: [] });
    check(codes(diagnostics) === [...lintCodes].sort().join(' '), 'and on again', codes(diagnostics));
    const faded = diagnostics.filter((d) => JSON.stringify(d.tags) === '[1]').map((d) => d.code);
    check(faded.length === 6 && faded.every((code) => code === 'unused-local' || code === 'unreachable-code'),
        'unused locals and unreachable code are tagged unnecessary', JSON.stringify(faded));

    // [what, line of the warning (1-based), code, the text the fix gives, or null for no fix]
    const lines = text.split('\n');
    const lineOf = (code) => lines.indexOf(code) + 1;
    const without = (line) => text.replace(`${line}\n`, '');
    const fixes = [
        ['removing an unused local', lineOf('    let spare = item * 2'), 'unused-local', without('    let spare = item * 2')],
        ['no removal of a local whose initialiser calls', lineOf('  let called = print + helper(2)'), 'unused-local', null],
        ['declaring an undeclared name', lineOf('  tally = 1'), 'undeclared-assignment',
            text.replace('  tally = 1\n', '  let tally = 1\n')],
        ['no let before a compound assignment', lineOf('  tally += 1'), 'undeclared-assignment', null],
    ];
    for (const [what, line, code, expected] of fixes) {
        const diagnostic = diagnostics.find((d) => d.range.start.line === line - 1 && d.code === code);
        const actions = await server.request('textDocument/codeAction', { textDocument: { uri }, range: diagnostic.range,
            context: { diagnostics: [diagnostic] } });
        const fixed = actions.filter((a) => a.kind === 'quickfix' && a.diagnostics.some((d) => d.code === code));
        if (expected === null) {
            check(fixed.length === 0, `code action: ${what}`, JSON.stringify(actions));
        } else {
            const edits = fixed.length === 1 ? fixed[0].edit.changes[uri] : [];
            check(fixed.length === 1 && applyEdits(text, edits) === expected, `code action: ${what}`,
                JSON.stringify(actions));
        }
    }
    // elseif is an error of the parser; the fix turns the program into one without diagnostics.
    const elseUri = 'file:///elseif.vlm';
    const elseText = 'let a = 1\nif a > 1 then\n  print(1)\nelseif a > 0 then\n  print(2)\nend\n';
    const errors = await server.open(elseUri, elseText);
    const error = errors.find((d) => d.severity === 1 && d.range.start.line === 3);
    const actions = error ? await server.request('textDocument/codeAction', { textDocument: { uri: elseUri },
        range: error.range, context: { diagnostics: [error] } }) : [];
    const elifText = elseText.replace('elseif', 'elif');
    check(actions.length === 1 && applyEdits(elseText, actions[0].edit.changes[elseUri]) === elifText &&
          actions[0].diagnostics[0].message === error.message, 'code action: elseif becomes elif', JSON.stringify(actions));
    const published = server.diagnostics(elseUri);
    server.notify('textDocument/didChange', { textDocument: { uri: elseUri, version: 2 }, contentChanges: [{ text: elifText }] });
    const after = await withTimeout(published, 'diagnostics after the elif fix');
    check(after.length === 0, 'the fixed program has no diagnostics', JSON.stringify(after));
    await server.request('shutdown', null);
    server.notify('exit');
    check(await withTimeout(server.exited, 'exit') === 0, 'the lint session ends with status 0', server.stderr());
}

// The tour program, with the workspace folder as root: every check names
// its positions by the words of the program (line, word, which one on it).
async function editorFeatures() {
    const folder = path.join(__dirname, 'workspace');
    const server = startServer();
    const init = await server.request('initialize',
        { processId: process.pid, rootUri: url.pathToFileURL(folder).href, capabilities: {} });
    server.notify('initialized', {});
    const caps = init.capabilities;
    check(caps.renameProvider && caps.renameProvider.prepareProvider && caps.documentHighlightProvider &&
          caps.foldingRangeProvider && caps.workspaceSymbolProvider && caps.semanticTokensProvider &&
          caps.semanticTokensProvider.full.delta, 'initialize announces the editing features', JSON.stringify(caps));
    const file = path.join(folder, 'tour.vlm');
    const text = fs.readFileSync(file, 'utf8');
    const lines = text.split('\n');
    const uri = url.pathToFileURL(file).href;
    const other = 'file:///other.vlm';
    await server.open(uri, text);
    await server.open(other, 'print(count)\nfunction local_count()\n  let count = 1\n  return count\nend\n');
    const textDocument = { uri };
    const at = (line, word, nth = 0) => {
        const pattern = new RegExp(`\\b${word}\\b`, 'g');
        const found = [...lines[line - 1].matchAll(pattern)][nth];
        if (!found) throw new Error(`no ${word} #${nth} on line ${line}`);
        return { line: line - 1, character: found.index };
    };
    const spot = (p) => `${p.line + 1}:${p.character + 1}`;
    const attempt = (method, params) =>
        server.request(method, params).then((result) => ({ result }), (error) => ({ error }));
    const shown = (outcome) => JSON.stringify(outcome.error ? { code: outcome.error.code, message: outcome.error.message } : outcome.result);

    // Rename: [line, word, nth, new name, expected edits as [uri, line, word, nth]].
    const renames = [
        ['the outer of two shadowing locals', 9, 'total', 0, 'sum',
            [[9, 'total'], [14, 'total'], [19, 'total'], [20, 'total'], [25, 'total']]],
        ['the inner one, used in an interpolation', 12, 'total', 1, 'sum', [[11, 'total'], [12, 'total', 1]]],
        ['a loop variable (not the longer name holding it)', 33, 'item', 0, 'entry', [[31, 'item'], [33, 'item']]],
        ['a catch variable', 35, 'err', 0, 'problem', [[34, 'err'], [35, 'err']]],
        ['a global, in every open document where it is global', 5, 'count', 0, 'tally',
            [[3, 'count'], [5, 'count'], [6, 'count'], [other, 1, 7]]],
    ];
    for (const [what, line, word, nth, newName, expected] of renames) {
        const outcome = await attempt('textDocument/rename', { textDocument, position: at(line, word, nth), newName });
        const got = [];
        for (const [target, edits] of Object.entries((outcome.result && outcome.result.changes) || {})) {
            for (const edit of edits) {
                const length = edit.range.end.character - edit.range.start.character;
                got.push(`${target === other ? 'other ' : ''}${spot(edit.range.start)}+${length}=${edit.newText}`);
            }
        }
        const wanted = expected.map(([a, b, c]) => (a === other ? `other ${b}:${c}+${word.length}=${newName}`
            : `${spot(at(a, b, c))}+${word.length}=${newName}`));
        check(JSON.stringify(got.sort()) === JSON.stringify(wanted.sort()), `rename ${what}`,
            `expected ${JSON.stringify(wanted)}\n    got      ${shown(outcome)}`);
    }
    // Refusals: [what, request, line, word, nth, new name, text in the message].
    const refusals = [
        ['a new name that captures a later use', 'rename', 9, 'total', 0, 'n', "'n' on line 10"],
        ['a new name captured by an outer use', 'rename', 18, 'x', 0, 'total', "'total' on line 19"],
        ['a loop variable renamed over the function it calls', 'rename', 23, 'i', 0, 'add', "'add' on line 23"],
        ['a global renamed to a builtin', 'rename', 3, 'count', 0, 'len', 'builtin'],
        ['a global renamed to another global', 'rename', 3, 'count', 0, 'outer', "global 'outer'"],
        ['a new name that is no identifier', 'rename', 9, 'total', 0, '9lives', 'not a name'],
        ['a keyword as the new name', 'rename', 9, 'total', 0, 'while', 'not a name'],
        ['a builtin', 'prepareRename', 38, 'print', 0, '', 'builtin'],
        ['a keyword', 'prepareRename', 10, 'if', 0, '', 'keyword'],
        ['a word in a string', 'prepareRename', 16, 'total', 0, '', 'no name'],
    ];
    for (const [what, method, line, word, nth, newName, message] of refusals) {
        const outcome = await attempt(`textDocument/${method}`, { textDocument, position: at(line, word, nth), newName });
        check(outcome.error && outcome.error.code === -32803 && outcome.error.message.includes(message),
            `${method} refuses ${what}`, shown(outcome));
    }
    const prepared = await attempt('textDocument/prepareRename', { textDocument, position: at(9, 'total') });
    check(prepared.result && prepared.result.placeholder === 'total' && spot(prepared.result.range.start) === spot(at(9, 'total')) &&
          prepared.result.range.end.character === at(9, 'total').character + 5, 'prepareRename gives the name and its range',
          shown(prepared));
    const hover = await attempt('textDocument/hover', { textDocument, position: at(35, 'err') });
    check(hover.result && hover.result.contents.value.includes('declared on line 34'),
        'a catch variable is declared on the catch line', shown(hover));

    // Highlights: writes (declaration, assignment, compound assignment) and reads.
    const highlight = await attempt('textDocument/documentHighlight', { textDocument, position: at(19, 'total') });
    const marks = ((highlight.result) || []).map((h) => `${spot(h.range.start)}${h.kind === 3 ? 'w' : h.kind === 2 ? 'r' : '?'}`);
    const wantedMarks = [[9, 'w'], [14, 'w'], [19, 'w'], [20, 'r'], [25, 'r']].map(([l, k]) => `${spot(at(l, 'total'))}${k}`);
    check(JSON.stringify(marks.sort()) === JSON.stringify(wantedMarks.sort()), 'highlights of a captured local',
        `expected ${wantedMarks}\n    got      ${shown(highlight)}`);

    // Folding: [first line, last line] (1-based), "c" for a comment run.
    const folding = await attempt('textDocument/foldingRange', { textDocument });
    const folds = ((folding.result) || []).map((f) => `${f.startLine + 1}-${f.endLine + 1}${f.kind === 'comment' ? 'c' : ''}`);
    const wantedFolds = ['1-2c', '4-6', '8-25', '10-12', '13-14', '15-16', '18-20', '22-23', '27-29', '31-36', '32-33', '34-35'];
    check(JSON.stringify(folds.sort()) === JSON.stringify(wantedFolds.sort()), 'folding ranges',
        `expected ${wantedFolds}\n    got      ${folds}`);

    // Semantic tokens, decoded with the legend.
    const legend = caps.semanticTokensProvider ? caps.semanticTokensProvider.legend : { tokenTypes: [], tokenModifiers: [] };
    const decode = (data) => {
        const tokens = [];
        let line = 0;
        let character = 0;
        for (let i = 0; i + 4 < data.length; i += 5) {
            line += data[i];
            character = data[i] ? data[i + 1] : character + data[i + 1];
            const modifiers = legend.tokenModifiers.filter((_, bit) => data[i + 4] & (1 << bit));
            tokens.push({ line, character, length: data[i + 2], type: legend.tokenTypes[data[i + 3]], modifiers });
        }
        return tokens;
    };
    const full = await attempt('textDocument/semanticTokens/full', { textDocument });
    const tokens = decode((full.result && full.result.data) || []);
    const tokenAt = new Map(tokens.map((t) => [`${t.line}:${t.character}`, t]));
    const ordered = tokens.every((t, i) => t.length > 0 && (i === 0 || t.line > tokens[i - 1].line ||
        t.character >= tokens[i - 1].character + tokens[i - 1].length));
    check(tokens.length > 0 && ordered, 'semantic tokens are ordered and do not overlap');
    const string12 = lines[11].indexOf('"');
    const string16 = lines[15].indexOf('"');
    const wantedTokens = [
        [3, 'count', 0, 'variable declaration global'], [4, 'bump', 0, 'function declaration global'],
        [4, 'step', 0, 'parameter declaration'], [5, 'count', 0, 'variable global'], [5, 'step', 0, 'parameter'],
        [9, 'total', 0, 'variable declaration'], [12, 'print', 0, 'function defaultLibrary'],
        [12, 'total', 1, 'variable'], [19, 'total', 0, 'variable upvalue'], [19, 'x', 0, 'parameter'],
        [23, 'add', 0, 'function'], [23, 'i', 0, 'variable'], [34, 'err', 0, 'variable declaration'],
        [35, 'err', 0, 'variable'], [38, 'PI', 0, 'variable defaultLibrary readonly'], [10, 'if', 0, 'keyword'],
        [10, 'then', 0, 'keyword'], [3, '0', 0, 'number'],
    ].map(([l, w, n, kind]) => [at(l, w, n), w.length, kind]);
    wantedTokens.push([{ line: 0, character: 0 }, lines[0].length, 'comment']);
    wantedTokens.push([{ line: 11, character: string12 }, '"total is ${'.length, 'string']);
    wantedTokens.push([{ line: 11, character: lines[11].lastIndexOf('}') }, 2, 'string']);
    wantedTokens.push([{ line: 15, character: string16 }, '"no total here"'.length, 'string']);
    for (const [position, length, kind] of wantedTokens) {
        const token = tokenAt.get(`${position.line}:${position.character}`);
        const got = token ? [token.type, ...token.modifiers.sort()].join(' ') + `/${token.length}` : 'none';
        const [type, ...modifiers] = kind.split(' ');
        check(got === [type, ...modifiers.sort()].join(' ') + `/${length}`, `semantic token at ${spot(position)}`,
            `expected ${kind}/${length}, got ${got}`);
    }
    // A delta against the last result, applied to it, gives the full tokens of the new text.
    const tokensUri = 'file:///tokens.vlm';
    await server.open(tokensUri, text);
    const before = await attempt('textDocument/semanticTokens/full', { textDocument: { uri: tokensUri } });
    server.notify('textDocument/didChange', { textDocument: { uri: tokensUri, version: 2 }, contentChanges: [{
        range: { start: { line: 26, character: 0 }, end: { line: 26, character: 0 } }, text: 'let extra = items\n' }] });
    const delta = await attempt('textDocument/semanticTokens/full/delta',
        { textDocument: { uri: tokensUri }, previousResultId: before.result ? before.result.resultId : '' });
    const fresh = await attempt('textDocument/semanticTokens/full', { textDocument: { uri: tokensUri } });
    let patched = before.result ? [...before.result.data] : [];
    const deltaEdits = (delta.result && delta.result.edits) || [];
    for (const edit of [...deltaEdits].sort((a, b) => b.start - a.start)) {
        patched.splice(edit.start, edit.deleteCount, ...(edit.data || []));
    }
    const freshData = (fresh.result && fresh.result.data) || [];
    check(deltaEdits.length === 1 && deltaEdits[0].data.length < freshData.length && freshData.length > 0 &&
          JSON.stringify(patched) === JSON.stringify(freshData), 'a semantic token delta applies to the last result',
          shown(delta));
    server.notify('textDocument/didClose', { textDocument: { uri: tokensUri } });

    // Workspace symbols: open documents, and the workspace's files that are not open.
    const symbols = async (query) => {
        const outcome = await attempt('workspace/symbol', { query });
        return ((outcome.result) || []).map((s) =>
            `${s.name}${s.containerName ? `<${s.containerName}` : ''}@${path.basename(s.location.uri)}:${spot(s.location.range.start)}`).sort();
    };
    const elsewhere = fs.readFileSync(path.join(folder, 'elsewhere.vlm'), 'utf8').split('\n');
    const spotIn = (source, line, word) => `${line}:${source[line - 1].search(new RegExp(`\\b${word}\\b`)) + 1}`;
    const queries = [
        ['otr', [`outer@tour.vlm:${spot(at(8, 'outer'))}`]],
        ['WLK', [`walker@elsewhere.vlm:${spotIn(elsewhere, 2, 'walker')}`]],
        ['er', [`outer@tour.vlm:${spot(at(8, 'outer'))}`, `walker@elsewhere.vlm:${spotIn(elsewhere, 2, 'walker')}`,
            `wanderer@elsewhere.vlm:${spotIn(elsewhere, 5, 'wanderer')}`]],
        ['add', [`add<outer@tour.vlm:${spot(at(18, 'add'))}`]],
    ];
    for (const [query, expected] of queries) {
        const got = await symbols(query);
        check(JSON.stringify(got) === JSON.stringify(expected.sort()), `workspace symbols for "${query}"`,
            `expected ${JSON.stringify(expected)}\n    got      ${JSON.stringify(got)}`);
    }

    // A burst of changes that arrives at once is analysed once, at its last version.
    const burstUri = 'file:///burst.vlm';
    await server.open(burstUri, 'let a = 1\n');
    const frames = [];
    for (let version = 2; version <= 31; version += 1) {
        const body = JSON.stringify({ jsonrpc: '2.0', method: 'textDocument/didChange', params: {
            textDocument: { uri: burstUri, version }, contentChanges: [{
                range: { start: { line: 0, character: version + 7 }, end: { line: 0, character: version + 7 } },
                text: version === 31 ? '+' : '1' }] } });
        frames.push(`Content-Length: ${Buffer.byteLength(body)}\r\n\r\n${body}`);
    }
    const seen = server.publications.length;
    const last = server.diagnostics(burstUri);
    server.child.stdin.write(frames.join(''));
    const diagnostics = await withTimeout(last, 'diagnostics after a burst');
    await server.request('textDocument/documentSymbol', { textDocument: { uri: burstUri } });
    const burst = server.publications.slice(seen).filter((p) => p.uri === burstUri);
    check(burst.length === 1 && burst[0].version === 31 && diagnostics.length === 1,
        'a burst of 30 changes is analysed once, at its last version',
        JSON.stringify(burst.map((p) => [p.version, p.diagnostics.length])));

    await server.request('shutdown', null);
    server.notify('exit');
    check(await withTimeout(server.exited, 'exit') === 0, 'the editing session ends with status 0', server.stderr());
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
    await lintFixes();
    await editorFeatures();
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
