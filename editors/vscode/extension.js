// SPDX-License-Identifier: GPL-3.0-or-later
// The PLC programme extension: starts `plcc lsp` and connects it to the
// programmes open in the window. The colouring comes from the grammar (made
// from the compiler's word lists) and the server's semantic tokens.
'use strict';

const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function activate(context) {
  const command = vscode.workspace.getConfiguration('plc').get('server.path', 'plcc');
  const server = { command, args: ['lsp'] };
  client = new LanguageClient('plcc', 'plcc language server', { run: server, debug: server }, {
    documentSelector: [{ language: 'plc' }],
  });
  context.subscriptions.push(client);
  return client.start().catch((error) => {
    vscode.window.showErrorMessage(`The plcc language server did not start (${command} lsp): ${error.message}`);
  });
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
