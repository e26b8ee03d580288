#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs Neovim headless as a real client of `plcc lsp` on tests/lsp/error.plc
# and compares what it received with tests/lsp/expected.txt.
# usage: neovim-client.sh PLCC SOURCE_DIR WORK_DIR
set -euo pipefail
plcc=$1 src=$2 work=$3
if ! command -v nvim >/dev/null; then
  echo "SKIPPED: nvim is not installed (scripts/install-deps installs neovim)"
  exit 77
fi
mkdir -p "$work"
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state"
export PLCC="$plcc" PLC_FILE="$src/tests/lsp/error.plc" LSP_OUT="$work/received.txt"
rm -f "$LSP_OUT"
timeout 50 nvim --headless --clean -u "$src/tests/lsp/client.lua" </dev/null >"$work/nvim.log" 2>&1 || {
  echo "nvim failed:"; cat "$work/nvim.log"; cat "$LSP_OUT" 2>/dev/null || true; exit 1; }
diff -u "$src/tests/lsp/expected.txt" "$LSP_OUT"
