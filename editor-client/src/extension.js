// The Velmor extension's language client: it starts `velmor --lsp` for
// .velmor and .vlm files. The server is the language's own program, so the
// two never disagree about the language.
'use strict';

const fs = require('fs');
const path = require('path');
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

// The `velmor.serverPath` setting, else the program the installer puts in
// place (an editor opened before the install does not see the new PATH yet),
// else `velmor` from the PATH.
function serverCommand() {
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
    const server = { command: serverCommand(), args: ['--lsp'] };
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

async function activate(context) {
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
