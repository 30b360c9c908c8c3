#!/usr/bin/env node
// The extension's debugger wiring, run in node with a stand-in for the
// editor's `vscode` module: activation registers a debug adapter factory and
// a configuration provider for the type that package.json contributes; the
// factory starts `velmor --dap` (the velmor.serverPath setting when set, in
// the workspace folder); F5 without a launch.json debugs the active Velmor
// file, and a configuration without a program gets the active file.
//
// The stand-in has no language client API, so the language client's start
// fails in it; only what activation registered for debugging is checked.
//
// Usage: node debug_launch.js EXTENSION_DIR
'use strict';

const Module = require('module');
const path = require('path');

const extensionDir = path.resolve(process.argv[2]);
const contributed = require(path.join(extensionDir, 'package.json')).contributes.debuggers.map((d) => d.type);
let failures = 0;
function equal(actual, expected, what) {
    const [a, e] = [JSON.stringify(actual), JSON.stringify(expected)];
    if (a !== e) {
        failures += 1;
        console.log(`FAIL ${what}: got ${a}, expected ${e}`);
    }
}

// Whatever else the bundle touches is a do-nothing function.
function anything() {
    return new Proxy(function () {}, {
        get: (_, key) => (key === 'then' ? undefined : anything()),
        apply: () => anything(),
        construct: () => anything(),
    });
}
function withRest(object) {
    return new Proxy(object, { get: (target, key) => (key in target ? target[key] : anything()) });
}

class DebugAdapterExecutable {
    constructor(command, args, options) {
        Object.assign(this, { command, args, options });
    }
}
const factories = {};
const providers = {};
const settings = { serverPath: '/opt/velmor-test/bin/velmor' };
const window = { activeTextEditor: undefined };
const vscode = withRest({
    DebugAdapterExecutable,
    debug: withRest({
        registerDebugAdapterDescriptorFactory: (type, factory) => ((factories[type] = factory), { dispose() {} }),
        registerDebugConfigurationProvider: (type, provider) => ((providers[type] = provider), { dispose() {} }),
    }),
    workspace: withRest({
        getConfiguration: () => ({ get: (key, fallback) => (key in settings ? settings[key] : fallback) }),
        onDidChangeConfiguration: () => ({ dispose() {} }),
    }),
    window: withRest(window),
});
const load = Module._load;
Module._load = function (request, ...rest) {
    return request === 'vscode' ? vscode : load.call(this, request, ...rest);
};

async function main() {
    const extension = require(path.join(extensionDir, 'out', 'extension.js'));
    await Promise.resolve(extension.activate({ subscriptions: [] })).catch(() => undefined);
    equal(Object.keys(factories), contributed, 'debug adapter factories registered');
    equal(Object.keys(providers), contributed, 'configuration providers registered');
    const factory = factories.velmor;
    const provider = providers.velmor;
    if (!factory || !provider) process.exit(1);

    const folder = { uri: { scheme: 'file', fsPath: '/home/user/project' } };
    equal(factory.createDebugAdapterDescriptor({ workspaceFolder: folder }),
        { command: settings.serverPath, args: ['--dap'], options: { cwd: '/home/user/project' } },
        'the adapter with velmor.serverPath, in the workspace folder');
    settings.serverPath = ' ';
    equal(factory.createDebugAdapterDescriptor({ workspaceFolder: undefined }),
        { command: 'velmor', args: ['--dap'] }, 'the adapter from the PATH, without a folder');

    window.activeTextEditor = { document: { languageId: 'velmor' } };
    equal(provider.resolveDebugConfiguration(undefined, {}),
        { type: 'velmor', request: 'launch', name: 'Debug Velmor file', program: '${file}' },
        'F5 without launch.json in a Velmor file');
    equal(provider.resolveDebugConfiguration(folder, { type: 'velmor', request: 'launch', name: 'x', engine: 'tree' }),
        { type: 'velmor', request: 'launch', name: 'x', engine: 'tree', program: '${file}' },
        'a configuration without a program');
    equal(provider.resolveDebugConfiguration(folder, { type: 'velmor', request: 'launch', name: 'x', program: 'a.vlm' }),
        { type: 'velmor', request: 'launch', name: 'x', program: 'a.vlm' }, 'a configuration with a program');
    window.activeTextEditor = { document: { languageId: 'python' } };
    equal(provider.resolveDebugConfiguration(undefined, {}), {}, 'F5 without launch.json in another language');

    console.log(failures ? `${failures} checks failed` : 'debugger wiring ok');
    process.exit(failures ? 1 : 0);
}

main();
