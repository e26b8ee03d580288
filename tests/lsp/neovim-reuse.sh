#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs Neovim headless with the editor files (editors/vim and the generated
# syntax file) on two programmes of one project and compares what it saw
# with tests/lsp/reuse-expected.txt: one server for both, the syntax groups.
# usage: neovim-reuse.sh PLCC SOURCE_DIR EDITORS_BUILD_DIR WORK_DIR
set -euo pipefail
plcc=$1 src=$2 editors=$3 work=$4
if ! command -v nvim >/dev/null; then
  echo "SKIPPED: nvim is not installed (scripts/install-deps installs neovim)"
  exit 77
fi
rm -rf "$work" && mkdir -p "$work/project/.git" "$work/project/sub"
cp "$src/tests/lsp/error.plc" "$work/project/a.plc"
cp "$src/tests/lsp/error.plc" "$work/project/sub/b.plc"
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state"
export PLCC="$plcc" PROJECT="$work/project" LSP_OUT="$work/received.txt"
export EDITORS_SRC="$src/editors/vim" EDITORS_BUILD="$editors/vim"
timeout 50 nvim --headless --clean -u "$src/tests/lsp/reuse.lua" </dev/null >"$work/nvim.log" 2>&1 || {
  echo "nvim failed:"; cat "$work/nvim.log"; cat "$LSP_OUT" 2>/dev/null || true; exit 1; }
diff -u "$src/tests/lsp/reuse-expected.txt" "$LSP_OUT"
