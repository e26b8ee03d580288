-- SPDX-License-Identifier: GPL-3.0-or-later
-- A headless Neovim as the client of `plcc lsp`: opens a programme, waits for
-- its diagnostics, asks for a hover and a definition, and writes what it got
-- to a file the test compares with the expected output.
local plcc = os.getenv('PLCC')
local file = os.getenv('PLC_FILE')
local report = dofile(vim.fn.fnamemodify(debug.getinfo(1, 'S').source:sub(2), ':h') .. '/report.lua')
local lines, finish = report.lines, report.finish

vim.o.swapfile = false
vim.cmd('edit ' .. vim.fn.fnameescape(file))
local bufnr = vim.api.nvim_get_current_buf()
local client_id = vim.lsp.start_client({ name = 'plcc', cmd = { plcc, 'lsp' }, root_dir = vim.fn.getcwd() })
if not client_id or not vim.lsp.buf_attach_client(bufnr, client_id) then
  table.insert(lines, 'no client')
  return finish(2)
end

if not vim.wait(10000, function() return #vim.diagnostic.get(bufnr) > 0 end, 20) then
  table.insert(lines, 'no diagnostics')
  return finish(3)
end
for _, d in ipairs(vim.diagnostic.get(bufnr)) do
  table.insert(lines, string.format('diagnostic %d:%d-%d:%d severity %d %s %s', d.lnum + 1, d.col,
    d.end_lnum + 1, d.end_col, d.severity, tostring(d.code), d.message))
end

local client = vim.lsp.get_client_by_id(client_id)
local function at(line, character)
  return { textDocument = { uri = vim.uri_from_bufnr(bufnr) }, position = { line = line, character = character } }
end

-- Hover on the jump target N010 of line 10, then go to its definition. The
-- help link's folder depends on where plcc runs from: HELP stands for it.
local hover = client.request_sync('textDocument/hover', at(9, 19), 5000, bufnr)
if hover and hover.result then
  local value = hover.result.contents.value:gsub('file://[^)]*/', 'file://HELP/')
  table.insert(lines, 'hover ' .. value:gsub('\n', ' | '))
else
  table.insert(lines, 'hover failed')
end
local definition = client.request_sync('textDocument/definition', at(9, 19), 5000, bufnr)
if definition and definition.result then
  local r = definition.result.range
  table.insert(lines, string.format('definition %d:%d-%d:%d', r.start.line + 1, r.start.character,
    r['end'].line + 1, r['end'].character))
else
  table.insert(lines, 'definition failed')
end
client.stop()
finish(0)
