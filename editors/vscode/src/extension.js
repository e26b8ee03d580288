// SPDX-License-Identifier: GPL-3.0-or-later
// The PLC programme extension: one module per feature under src/, bundled
// into dist/extension.js. The colouring comes from the grammar (made from
// the compiler's word lists) and the server's semantic tokens.
'use strict';

const client = require('./client');
const commands = require('./commands');

function activate(context) {
  commands.register(context);
  return client.start();
}

function deactivate() {
  return client.stop();
}

module.exports = { activate, deactivate };
