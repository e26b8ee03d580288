// SPDX-License-Identifier: GPL-3.0-or-later
// The language client: starts `plcc lsp` (the machine's plcc, or the one
// the setting plc.server.path names) for the programmes open in the window,
// and starts it anew on request.
'use strict';

const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function create() {
  const command = vscode.workspace.getConfiguration('plc').get('server.path', 'plcc');
  const server = { command, args: ['lsp'] };
  client = new LanguageClient('plcc', 'plcc language server', { run: server, debug: server }, {
    documentSelector: [{ language: 'plc' }],
  });
  return { client, command };
}

async function start() {
  const { client: started, command } = create();
  try {
    await started.start();
  } catch (error) {
    vscode.window.showErrorMessage(`The plcc language server did not start (${command} lsp): ${error.message}`);
  }
}

async function stop() {
  if (client) await client.stop().catch(() => undefined);
  client = undefined;
}

async function restart() {
  await stop();
  await start();
}

function output() {
  return client ? client.outputChannel : undefined;
}

module.exports = { start, stop, restart, output };
