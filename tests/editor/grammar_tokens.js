// Token boundaries of the editor grammar, which scope assertions cannot see:
// operators are matched longest first, so "//=" is one token, not "/" "/" "=".
// Usage: node grammar_tokens.js GRAMMAR_JSON (with vscode-textmate and
// vscode-oniguruma on NODE_PATH).
'use strict';

const fs = require('fs');
const path = require('path');
const textmate = require('vscode-textmate');
const oniguruma = require('vscode-oniguruma');

const cases = [
    // [source line, [token text, a scope the token must have] ...]
    ['x //= 2', [['//=', 'keyword.operator.velmor']]],
    ['x // 2', [['//', 'keyword.operator.velmor']]],
    ['x /= 2 / 3', [['/=', 'keyword.operator.velmor'], ['/', 'keyword.operator.velmor']]],
    ['a == b != c <= d >= e < f > g', [['==', 'keyword.operator.velmor'], ['!=', 'keyword.operator.velmor'],
                                       ['<=', 'keyword.operator.velmor'], ['>=', 'keyword.operator.velmor'],
                                       ['<', 'keyword.operator.velmor'], ['>', 'keyword.operator.velmor']]],
    ['a += 1 -= 2 *= 3 %= 4 ^= 5', [['+=', 'keyword.operator.velmor'], ['-=', 'keyword.operator.velmor'],
                                    ['*=', 'keyword.operator.velmor'], ['%=', 'keyword.operator.velmor'],
                                    ['^=', 'keyword.operator.velmor']]],
    ['let n = 1.5e-3 + .25', [['1.5e-3', 'constant.numeric.velmor'], ['.25', 'constant.numeric.velmor']]],
    ['1..2', [['1', 'constant.numeric.velmor'], ['.2', 'constant.numeric.velmor']]],
    ['"a\\n${x}"', [['\\n', 'constant.character.escape.velmor'], ['x', 'meta.interpolation.velmor']]],
];

async function main() {
    const grammarPath = process.argv[2];
    const wasmPath = path.join(path.dirname(require.resolve('vscode-oniguruma')), 'onig.wasm');
    await oniguruma.loadWASM(fs.readFileSync(wasmPath).buffer);
    const registry = new textmate.Registry({
        onigLib: Promise.resolve({
            createOnigScanner: (sources) => new oniguruma.OnigScanner(sources),
            createOnigString: (text) => new oniguruma.OnigString(text),
        }),
        loadGrammar: async () => textmate.parseRawGrammar(fs.readFileSync(grammarPath, 'utf8'), grammarPath),
    });
    const grammar = await registry.loadGrammar('source.velmor');

    let failures = 0;
    for (const [line, expected] of cases) {
        const tokens = grammar.tokenizeLine(line, textmate.INITIAL).tokens.map((token) => ({
            text: line.slice(token.startIndex, token.endIndex),
            scopes: token.scopes,
        }));
        let from = 0;
        for (const [text, scope] of expected) {
            const index = tokens.findIndex((token, i) => i >= from && token.text === text);
            if (index < 0 || !tokens[index].scopes.includes(scope)) {
                failures++;
                console.log(`FAIL ${JSON.stringify(line)}: no token ${JSON.stringify(text)} with ${scope}; ` +
                            `tokens: ${tokens.map((token) => JSON.stringify(token.text)).join(' ')}`);
                break;
            }
            from = index + 1;
        }
    }
    console.log(`${cases.length - failures} of ${cases.length} token cases passed`);
    process.exit(failures ? 1 : 0);
}

main().catch((error) => {
    console.log(`FAIL ${error.stack}`);
    process.exit(1);
});
