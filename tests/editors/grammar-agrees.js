// SPDX-License-Identifier: GPL-3.0-or-later
// The grammar made for other editors against the language server: for every
// programme given, each character gets the same class from the TextMate
// grammar as from `plcc lsp`'s semantic tokens (the editor window's classes).
// DEF names, which only the server knows, count as plain text.
// usage: node grammar-agrees.js PLCC GRAMMAR FILE...
'use strict';
const fs = require('fs');
const cp = require('child_process');
const vsctm = require('vscode-textmate');
const oniguruma = require('vscode-oniguruma');
const rpc = require('vscode-jsonrpc/node');

const [plcc, grammarPath, ...files] = process.argv.slice(2);

// The class a token's innermost scope of this grammar stands for.
const kScopes = [
  ['comment.line.semicolon.plc', 'comment'], ['entity.name.section.plc', 'namespace'],
  ['entity.name.label.plc', 'label'], ['keyword.control.plc', 'keyword'], ['variable.other.plc', 'variable'],
  ['support.variable.io.plc', 'property'], ['constant.numeric.plc', 'number'],
  ['support.constant.drive.plc', 'enumMember'],
];
function classOf(scopes) {
  for (let i = scopes.length - 1; i >= 0; --i) {
    const row = kScopes.find(([scope]) => scope === scopes[i]);
    if (row) return row[1];
  }
  return '';
}

async function main() {
  await oniguruma.loadWASM(fs.readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm')).buffer);
  const registry = new vsctm.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (sources) => new oniguruma.OnigScanner(sources),
      createOnigString: (text) => new oniguruma.OnigString(text),
    }),
    loadGrammar: async () => vsctm.parseRawGrammar(fs.readFileSync(grammarPath, 'utf8'), grammarPath),
  });
  const grammar = await registry.loadGrammar('source.plc');

  const server = cp.spawn(plcc, ['lsp'], { stdio: ['pipe', 'pipe', 'inherit'] });
  const connection = rpc.createMessageConnection(new rpc.StreamMessageReader(server.stdout),
    new rpc.StreamMessageWriter(server.stdin));
  connection.listen();
  const init = await connection.sendRequest('initialize', { processId: process.pid, rootUri: null, capabilities: {} });
  const legend = init.capabilities.semanticTokensProvider.legend.tokenTypes;
  await connection.sendNotification('initialized', {});

  let faults = 0;
  for (const file of files) {
    const text = fs.readFileSync(file, 'latin1');
    const uri = 'file://' + file;
    await connection.sendNotification('textDocument/didOpen',
      { textDocument: { uri, languageId: 'plc', version: 1, text } });
    const { data } = await connection.sendRequest('textDocument/semanticTokens/full', { textDocument: { uri } });
    const lines = text.split(/\r?\n/);
    const expected = lines.map((l) => new Array(l.length).fill(''));
    for (let i = 0, line = 0, start = 0; i < data.length; i += 5) {
      start = data[i] === 0 ? start + data[i + 1] : data[i + 1];
      line += data[i];
      const cls = legend[data[i + 3]] === 'macro' ? '' : legend[data[i + 3]];
      for (let c = start; c < start + data[i + 2]; ++c) expected[line][c] = cls;
    }
    let state = vsctm.INITIAL;
    lines.forEach((line, n) => {
      const result = grammar.tokenizeLine(line, state);
      state = result.ruleStack;
      const got = new Array(line.length).fill('');
      for (const t of result.tokens) got.fill(classOf(t.scopes), t.startIndex, Math.min(t.endIndex, line.length));
      const c = got.findIndex((cls, i) => cls !== expected[n][i]);
      if (c >= 0) {
        ++faults;
        console.error(`${file}:${n + 1}:${c + 1}: grammar says "${got[c]}", plcc says "${expected[n][c]}"\n  ${line}`);
      }
    });
  }
  await connection.sendRequest('shutdown');
  connection.sendNotification('exit');
  if (faults) throw new Error(`${faults} line(s) coloured otherwise than plcc colours them`);
  console.log(`${files.length} programme(s) coloured as plcc colours them`);
}

main().then(() => process.exit(0), (e) => { console.error(e.message); process.exit(1); });
