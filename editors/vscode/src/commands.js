// SPDX-License-Identifier: GPL-3.0-or-later
// The extension's commands: restart the language server, show its output.
'use strict';

const vscode = require('vscode');
const client = require('./client');

function register(context) {
  context.subscriptions.push(
    vscode.commands.registerCommand('plc.restartServer', () => client.restart()),
    vscode.commands.registerCommand('plc.showOutput', () => {
      const channel = client.output();
      if (channel) channel.show(true);
      else vscode.window.showInformationMessage('The plcc language server is not running.');
    }),
  );
}

module.exports = { register };
