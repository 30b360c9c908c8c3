// The Velmor extension's language client and debugger: it starts
// `velmor --lsp` for .velmor and .vlm files, and `velmor --dap` for debug
// sessions of type "velmor". Both are the language's own program, so they
// never disagree with it about the language.
'use strict';

const fs = require('fs');
const path = require('path');
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

// The `velmor.serverPath` setting, else the program the installer puts in
// place (an editor opened before the install does not see the new PATH yet),
// else `velmor` from the PATH.
function velmorCommand() {
    const configured = vscode.workspace.getConfiguration('velmor').get('serverPath');
    if (typeof configured === 'string' && configured.trim() !== '') return configured.trim();
    if (process.platform === 'win32' && process.env.LOCALAPPDATA) {
        const installed = path.join(process.env.LOCALAPPDATA, 'Programs', 'Velmor', 'bin', 'velmor.exe');
        if (fs.existsSync(installed)) return installed;
    }
    return 'velmor';
}

function lintSettings() {
    const settings = vscode.workspace.getConfiguration('velmor');
    return { enabled: settings.get('lint.enabled', true), disabled: settings.get('lint.disabled', []) };
}

async function start() {
    const server = { command: velmorCommand(), args: ['--lsp'] };
    client = new LanguageClient('velmor', 'Velmor', { run: server, debug: server }, {
        documentSelector: [{ scheme: 'file', language: 'velmor' }, { scheme: 'untitled', language: 'velmor' }],
        // The lint settings at start, and every change to them later as
        // workspace/didChangeConfiguration with the whole `velmor` section.
        initializationOptions: () => ({ velmor: { lint: lintSettings() } }),
        synchronize: { configurationSection: 'velmor' },
    });
    try {
        await client.start();
    } catch (error) {
        vscode.window.showErrorMessage(
            `Velmor: could not start "${server.command} --lsp" (${error.message}). ` +
            'Install Velmor or set velmor.serverPath.');
    }
}

async function stop() {
    if (client) {
        const running = client;
        client = undefined;
        await running.stop().catch(() => undefined);
    }
}

// Debug sessions run `velmor --dap`, which speaks the Debug Adapter
// Protocol on its standard input and output.
const debugAdapterFactory = {
    createDebugAdapterDescriptor(session) {
        const folder = session.workspaceFolder;
        const options = folder && folder.uri.scheme === 'file' ? { cwd: folder.uri.fsPath } : undefined;
        return new vscode.DebugAdapterExecutable(velmorCommand(), ['--dap'], options);
    },
};

// F5 without a launch.json (an empty configuration) debugs the Velmor file
// in the active editor; a configuration without a program debugs it too.
const debugConfigurationProvider = {
    resolveDebugConfiguration(folder, configuration) {
        if (!configuration.type && !configuration.request && !configuration.name) {
            const editor = vscode.window.activeTextEditor;
            if (!editor || editor.document.languageId !== 'velmor') return configuration;
            configuration.type = 'velmor';
            configuration.request = 'launch';
            configuration.name = 'Debug Velmor file';
        }
        if (!configuration.program) configuration.program = '${file}';
        return configuration;
    },
};

async function activate(context) {
    context.subscriptions.push(
        vscode.debug.registerDebugAdapterDescriptorFactory('velmor', debugAdapterFactory),
        vscode.debug.registerDebugConfigurationProvider('velmor', debugConfigurationProvider));
    context.subscriptions.push(vscode.workspace.onDidChangeConfiguration(async (event) => {
        if (event.affectsConfiguration('velmor.serverPath')) {
            await stop();
            await start();
        }
    }));
    await start();
}

function deactivate() {
    return stop();
}

module.exports = { activate, deactivate };
