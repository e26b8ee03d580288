#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the VS Code extension as a user's build would and checks its
# grammar: installs the npm packages of editors/vscode from the lock file,
# puts in the grammar made from the compiler's word lists, packages the
# .vsix with vsce, and runs vscode-tmgrammar-test on the programmes with
# expected scopes in tests/editors; then the grammar must colour every
# example as plcc's semantic tokens do. Exit 77 (skipped) without node and npm.
# usage: vscode.sh SOURCE_DIR GRAMMAR VERSION WORK_DIR PLCC
set -euo pipefail
src=$1 grammar=$2 version=$3 work=$4 plcc=$5
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  echo "SKIPPED: node and npm are not installed (scripts/install-deps installs them)"
  exit 77
fi
fail() { echo "FAIL: $*" >&2; exit 1; }

# A fresh copy, keeping the installed packages between runs.
ext=$work/plcedit-plc
mkdir -p "$ext"
find "$ext" -mindepth 1 -maxdepth 1 ! -name node_modules -exec rm -rf {} +
cp -r "$src/editors/vscode/." "$ext/"
cp "$src/LICENSE" "$ext/LICENSE"
mkdir -p "$ext/syntaxes"
cp "$grammar" "$ext/syntaxes/plc.tmLanguage.json"
cd "$ext"
# An extension's version has three numbers.
while [ "$(tr -cd . <<<"$version" | wc -c)" -lt 2 ]; do version=$version.0; done
npm pkg set "version=$version"

# Only what the lock file pins; install scripts are not needed to package.
timeout 500 npm ci --no-audit --no-fund --ignore-scripts --prefer-offline >"$work/npm.log" 2>&1 ||
  { cat "$work/npm.log" >&2; fail "npm ci"; }

# The modules of src/ and the language client bundled into one file; the
# icon rendered from the application's.
timeout 120 npm run --silent bundle >"$work/bundle.log" 2>&1 || { cat "$work/bundle.log" >&2; fail "esbuild"; }
command -v rsvg-convert >/dev/null || fail "rsvg-convert is missing: no icon"
rsvg-convert -w 128 -h 128 -o icon.png "$src/resources/icons/plcedit.svg"

timeout 120 npx --no-install vsce package --allow-missing-repository --out "plcedit-plc-$version.vsix" \
  >"$work/vsce.log" 2>&1 || { cat "$work/vsce.log" >&2; fail "vsce package"; }
# vsce warns of an unbundled extension, a missing changelog or icon, and the like.
! grep -qi "warning" "$work/vsce.log" || { cat "$work/vsce.log" >&2; fail "vsce warns"; }
vsix=plcedit-plc-$version.vsix
listing=$(unzip -l "$vsix") || fail "$vsix is not a zip archive"
for f in extension/package.json extension/dist/extension.js extension/language-configuration.json \
         extension/syntaxes/plc.tmLanguage.json extension/changelog.md extension/icon.png; do
  grep -q " $f\$" <<<"$listing" || fail "$vsix lacks $f"
done
# One bundled file: no npm package, no source module in the extension.
! grep -q "node_modules/\|extension/src/" <<<"$listing" || fail "$vsix is not bundled"
# Every semantic token type of the server has its grammar scope.
node -e '
  const p = require("./package.json"), g = require("./syntaxes/plc.tmLanguage.json");
  const scopes = new Set(JSON.stringify(g).match(/[a-z.]+\.plc/g));
  const map = p.contributes.semanticTokenScopes[0].scopes;
  const types = ["namespace", "label", "keyword", "variable", "macro", "property", "number", "enumMember", "comment"];
  for (const t of types) if (!map[t] || !map[t].every((s) => scopes.has(s))) { console.error("no grammar scope for " + t); process.exit(1); }
' || fail "semanticTokenScopes"

timeout 120 npx --no-install vscode-tmgrammar-test -g syntaxes/plc.tmLanguage.json "$src/tests/editors/*.plc"
NODE_PATH=$ext/node_modules timeout 120 node "$src/tests/editors/grammar-agrees.js" "$plcc" \
  syntaxes/plc.tmLanguage.json "$src"/examples/*.plc "$src"/tests/editors/*.plc
echo "built $work/plcedit-plc/$vsix"
