-- SPDX-License-Identifier: GPL-3.0-or-later
-- A headless Neovim with the installed editor files: two programmes of one
-- project, one reloaded with :edit! and one given its filetype again, must
-- share one `plcc lsp`; the generated syntax file colours the words.
local project = os.getenv('PROJECT')
local report = dofile(vim.fn.fnamemodify(debug.getinfo(1, 'S').source:sub(2), ':h') .. '/report.lua')
local lines, finish = report.lines, report.finish

vim.o.swapfile = false
vim.opt.runtimepath:prepend(os.getenv('EDITORS_BUILD'))
vim.opt.runtimepath:prepend(os.getenv('EDITORS_SRC'))
vim.cmd('filetype plugin on')
vim.cmd('syntax on')
require('plcedit.lsp').setup({ cmd = { os.getenv('PLCC'), 'lsp' } })

local function plcc_clients()
  local found = {}
  for _, client in ipairs(vim.lsp.get_active_clients()) do
    if client.name == 'plcc' then table.insert(found, client) end
  end
  return found
end

vim.cmd('edit ' .. vim.fn.fnameescape(project .. '/a.plc'))
local a = vim.api.nvim_get_current_buf()
table.insert(lines, 'filetype ' .. vim.bo[a].filetype .. ', comments "' .. vim.bo[a].commentstring .. '"')
vim.cmd('edit ' .. vim.fn.fnameescape(project .. '/sub/b.plc'))
local b = vim.api.nvim_get_current_buf()
vim.cmd('edit!')
vim.cmd('set filetype=plc')
vim.cmd('buffer ' .. a)
vim.cmd('edit!')

for name, buf in pairs({ a = a, b = b }) do
  if not vim.wait(10000, function() return #vim.diagnostic.get(buf) > 0 end, 20) then
    table.insert(lines, 'no diagnostics for ' .. name)
    return finish(3)
  end
end
local clients = plcc_clients()
table.insert(lines, 'servers ' .. #clients .. ', root ' .. (clients[1] and clients[1].config.root_dir == project and 'project' or '?'))
for _, buf in ipairs({ a, b }) do
  table.insert(lines, 'buffer attached to ' .. #vim.lsp.buf_get_clients(buf))
end

-- The class of words on "N030 JMP (H1 = 0) N010", the DEF line, a section line.
vim.cmd('buffer ' .. a)
vim.cmd('syntax sync fromstart')
local function group(line, col)
  return vim.fn.synIDattr(vim.fn.synID(line, col, 1), 'name')
end
for _, at in ipairs({ { 10, 1 }, { 10, 6 }, { 10, 11 }, { 10, 16 }, { 10, 19 }, { 4, 1 }, { 4, 10 }, { 3, 1 }, { 12, 1 }, { 1, 3 } }) do
  table.insert(lines, string.format('syntax %d:%d %s', at[1], at[2], group(at[1], at[2])))
end
finish(0)
