// The editor's indentation rules against the language's block structure.
//
// A line opens a block when its last token (comments aside) is "then", "do",
// "else" or "try", when it ends with "catch NAME", or when it ends with a
// function header "function [NAME](PARAMS)"; a line closes one when its first
// token is "end", "else", "elif" or "catch". The patterns are compiled as the
// editor compiles them (JavaScript regular expressions) and checked three ways:
//   1. against a table of lines with the expected verdict, each also with
//      trailing comments and leading indentation added;
//   2. the same verdict read from the lexer's tokens of each line (so the
//      table itself is checked against the language);
//   3. the tokens' verdict for every line of the given source folders.
// An on-enter rule that indents may do so only where the increase pattern does.
//
// The increase pattern reads, from the start of the line: code made of bytes
// other than quotes and "#", double-quoted strings (escapes, a "$" not before
// "{", and "${...}" holding nested strings and braces two deep) and
// single-quoted strings; then an opener; then blanks and an optional comment.
//
// Usage: node indentation.js LANGUAGE_CONFIGURATION LINE_TOKENS_PROGRAM [FOLDER...]
'use strict';

const childProcess = require('child_process');
const fs = require('fs');
const path = require('path');

// Verdicts: opens the next line's block, closes its own, both, or neither.
const OPENS = 'opens', CLOSES = 'closes', BOTH = 'closes and opens', PLAIN = 'neither';

const table = [
    // Every block opener.
    ['if x then', OPENS],
    ['if a == b and not c(1, "x") then', OPENS],
    ['while i < 10 do', OPENS],
    ['for i = 1, 10 do', OPENS],
    ['for i = 10, 1, -1 do', OPENS],
    ['for k in keys(m) do', OPENS],
    ['try', OPENS],
    ['function f()', OPENS],
    ['function add(a, b)', OPENS],
    ['function spaced ( a , b )', OPENS],
    ['let f = function(x)', OPENS],
    ['return function()', OPENS],
    ['map(xs, function(x, i)', OPENS],
    ['try risky() catch e', OPENS],
    ['if a then b() else', OPENS],
    ['if f(function(x) return x end) then', OPENS],
    // Keywords, quotes and "#" inside strings do not count.
    ['if s == "end" then', OPENS],
    ['if s == "#" then', OPENS],
    ["if s == 'then' then", OPENS],
    ['if s == "it\'s # \\" then" then', OPENS],
    ['while "${a["k"]}" != "}" do', OPENS],
    ['while "${ {k: "} do"}["k"] }" != x do', OPENS],
    // Every closer, and the lines that close one block and open the next.
    ['end', CLOSES],
    ['end)', CLOSES],
    ['end, 3)', CLOSES],
    ['end end', CLOSES],
    ['else', BOTH],
    ['elif x > 1 then', BOTH],
    ['elif s == "else" then', BOTH],
    ['catch e', BOTH],
    ['catch err_2', BOTH],
    ['else if y then', BOTH],
    // Neither: whole blocks on one line, keywords in strings and comments, names
    // that only start with a keyword, unfinished lines.
    ['print(x)', PLAIN],
    ['if x then y = 1 end', PLAIN],
    ['while a do a = a - 1 end', PLAIN],
    ['function f(a) return a end', PLAIN],
    ['let g = function(x) return x end', PLAIN],
    ['try f() catch e g() end', PLAIN],
    ['print("then")', PLAIN],
    ["x = 'do'", PLAIN],
    ['s = "try"', PLAIN],
    ['print("a # then")', PLAIN],
    ['print("${x} then")', PLAIN],
    ['print("${f("do")}")', PLAIN],
    ["print('${x} else')", PLAIN],
    ['print("\\" then")', PLAIN],
    ['print("\\\\")', PLAIN],
    ['print("function(x)")', PLAIN],
    ['print(catch_all)', PLAIN],
    ['x = then_value', PLAIN],
    ['endgame = 1', PLAIN],
    ['else_branch = 2', PLAIN],
    ['catch_count += 1', PLAIN],
    ['let do_it = true', PLAIN],
    ['# then', PLAIN],
    ['# end', PLAIN],
    ['#pragma version 1', PLAIN],
    ['', PLAIN],
    ['function f(', PLAIN],
];
// Lines cut off inside a string (they do not lex, so only the table judges
// them); a comment cannot follow them, so they get indentation only.
const unterminated = ['print("then', "s = 'do", 'print("${f(\'x\') do'];
// A comment changes nothing, whatever it holds; neither does indentation.
const commentSuffixes = ['', ' # note', ' # then', '  # end', '\t# try', ' #', ' # "quoted', " # it's do", '# catch e'];
const indents = ['', '    ', '\t'];

function compile(pattern) {
    // The editor takes a string as the source of a RegExp without flags.
    return typeof pattern === 'string' ? new RegExp(pattern) : new RegExp(pattern.pattern, pattern.flags);
}

function patternVerdict(rules, line) {
    const opens = rules.increase.test(line), closes = rules.decrease.test(line);
    return opens && closes ? BOTH : opens ? OPENS : closes ? CLOSES : PLAIN;
}

// The verdict read from a line's tokens; nothing when the line does not lex.
function tokenVerdict(tokenLine) {
    if (tokenLine === 'error') {
        return null;
    }
    const t = tokenLine === '' ? [] : tokenLine.split(' ');
    const closes = ['end', 'else', 'elif', 'catch'].includes(t[0]);
    return closes && endsWithOpener(t) ? BOTH : closes ? CLOSES : endsWithOpener(t) ? OPENS : PLAIN;
}

function endsWithOpener(t) {
    const n = t.length;
    if (n === 0) {
        return false;
    }
    if (['then', 'do', 'else', 'try'].includes(t[n - 1]) || (t[n - 2] === 'catch' && t[n - 1] === 'name')) {
        return true;
    }
    // function [NAME] ( [NAME {, NAME}] )
    if (t[n - 1] !== ')') {
        return false;
    }
    let i = n - 2;
    if (t[i] === 'name') {
        i -= 1;
        while (t[i] === ',' && t[i - 1] === 'name') {
            i -= 2;
        }
    }
    if (t[i] !== '(') {
        return false;
    }
    i -= 1;
    if (t[i] === 'name') {
        i -= 1;
    }
    return t[i] === 'function';
}

function sourceFiles(folder) {
    const found = [];
    for (const entry of fs.readdirSync(folder, {withFileTypes: true})) {
        const full = path.join(folder, entry.name);
        if (entry.isDirectory()) {
            found.push(...sourceFiles(full));
        } else if (/\.(vlm|velmor)$/.test(entry.name)) {
            found.push(full);
        }
    }
    return found.sort();
}

function main() {
    const [configPath, lineTokens, ...folders] = process.argv.slice(2);
    if (!lineTokens) {
        console.error('usage: node indentation.js LANGUAGE_CONFIGURATION LINE_TOKENS_PROGRAM [FOLDER...]');
        process.exit(2);
    }
    const config = JSON.parse(fs.readFileSync(configPath, 'utf8'));
    const rules = {
        increase: compile(config.indentationRules.increaseIndentPattern),
        decrease: compile(config.indentationRules.decreaseIndentPattern),
    };
    const indentOnEnter = (config.onEnterRules || [])
        .filter(rule => rule.action && rule.action.indent === 'indent')
        .map(rule => compile(rule.beforeText));

    const cases = []; // [line, expected verdict or null, where]
    table.forEach(([line, verdict], row) => {
        for (const indent of indents) {
            for (const suffix of commentSuffixes) {
                cases.push([indent + line + suffix, verdict, `table row ${row + 1}`]);
            }
        }
    });
    unterminated.forEach((line, index) => {
        for (const indent of indents) {
            cases.push([indent + line, PLAIN, `table, cut-off line ${index + 1}`]);
        }
    });
    let sourceLines = 0;
    for (const folder of folders) {
        for (const file of sourceFiles(folder)) {
            const lines = fs.readFileSync(file, 'latin1').split('\n');
            lines.forEach((line, index) => cases.push([line, null, `${path.relative(folder, file)}:${index + 1}`]));
            sourceLines += lines.length;
        }
    }

    const tokenLines = childProcess.execFileSync(lineTokens, {
        input: Buffer.from(cases.map(([line]) => line).join('\n') + '\n', 'latin1'),
        maxBuffer: 256 << 20,
    }).toString('latin1').split('\n');

    // Only the first failure of each table row or source line is shown.
    const failures = new Map();
    const fail = (where, message) => failures.has(where) || failures.set(where, message);
    let compared = 0;
    cases.forEach(([line, expected, where], index) => {
        const fromTokens = tokenVerdict(tokenLines[index]);
        const fromPatterns = patternVerdict(rules, line);
        const show = JSON.stringify(line);
        if (expected !== null && fromPatterns !== expected) {
            fail(where, `${where} ${show}: the patterns say ${fromPatterns}, the table says ${expected}`);
        }
        if (expected !== null && fromTokens !== null && fromTokens !== expected) {
            fail(where, `${where} ${show}: the tokens (${tokenLines[index]}) say ${fromTokens}, ` +
                          `the table says ${expected}`);
        }
        if (fromTokens !== null) {
            compared += 1;
            if (fromPatterns !== fromTokens) {
                fail(where, `${where} ${show}: the patterns say ${fromPatterns}, the tokens ` +
                              `(${tokenLines[index]}) say ${fromTokens}`);
            }
        }
        for (const beforeText of indentOnEnter) {
            if (beforeText.test(line) && !rules.increase.test(line)) {
                fail(where, `${where} ${show}: the on-enter rule ${beforeText} indents, the increase pattern does not`);
            }
        }
    });
    if (indentOnEnter.length === 0) {
        fail('configuration', 'no on-enter rule indents');
    }

    const messages = [...failures.values()];
    for (const message of messages.slice(0, 80)) {
        console.log(message);
    }
    const failedRows = [...failures.keys()].filter(where => where.startsWith('table')).length;
    console.log(`indentation: ${cases.length - sourceLines} table lines (${table.length} rows), ${sourceLines} ` +
                `source lines, ${compared} compared with their tokens; failing: ${failedRows} table rows, ` +
                `${failures.size - failedRows} source lines`);
    process.exit(failures.size === 0 ? 0 : 1);
}

main();
