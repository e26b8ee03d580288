-- SPDX-License-Identifier: GPL-3.0-or-later
-- The language server `plcc lsp` for PLC programmes in Neovim. One server
-- runs per project root and every programme below that root is attached to
-- it; reloading a buffer (:edit!) or setting its filetype again reuses the
-- running server instead of starting another.
--
--   require('plcedit.lsp').setup()                 -- plcc on PATH
--   require('plcedit.lsp').setup({ cmd = { '/opt/plcedit/bin/plcc', 'lsp' } })
--
-- Each programme gets the usual keys: K hovers, gd goes to the definition,
-- gr lists references, <leader>ca offers the code actions; completion through
-- the omni function (CTRL-X CTRL-O).
--
-- The project root is the nearest folder upwards that holds one of
-- `root_markers` (a .git folder by default), else the programme's own folder.
local M = {}

local config = {
  cmd = { vim.g.plcc_command or 'plcc', 'lsp' },
  root_markers = { '.git' },
}

-- The servers started here, by project root (for Neovim without vim.lsp.start).
local clients = {}

local function root_of(bufnr)
  local file = vim.api.nvim_buf_get_name(bufnr)
  if file == '' then
    return vim.loop.cwd()
  end
  local dir = vim.fs and vim.fs.dirname(file) or vim.fn.fnamemodify(file, ':p:h')
  for _, marker in ipairs(config.root_markers) do
    local found = vim.fn.finddir(marker, dir .. ';')
    if found == '' then
      found = vim.fn.findfile(marker, dir .. ';')
    end
    if found ~= '' then
      return vim.fn.fnamemodify(found, ':p:h:h')
    end
  end
  return dir
end

local function set_keys(bufnr)
  local opts = { buffer = bufnr }
  vim.keymap.set('n', 'K', vim.lsp.buf.hover, opts)
  vim.keymap.set('n', 'gd', vim.lsp.buf.definition, opts)
  vim.keymap.set('n', 'gr', vim.lsp.buf.references, opts)
  vim.keymap.set('n', '<leader>ca', vim.lsp.buf.code_action, opts)
  vim.bo[bufnr].omnifunc = 'v:lua.vim.lsp.omnifunc'
end

-- Attaches the buffer to the server of its project root, starting that
-- server when none runs yet; returns the client id.
function M.attach(bufnr)
  bufnr = bufnr or vim.api.nvim_get_current_buf()
  local root = root_of(bufnr)
  set_keys(bufnr)
  if vim.lsp.start then
    return vim.lsp.start({ name = 'plcc', cmd = config.cmd, root_dir = root }, { bufnr = bufnr })
  end
  local id = clients[root]
  local client = id and vim.lsp.get_client_by_id(id)
  if not client or client.is_stopped() then
    id = vim.lsp.start_client({ name = 'plcc', cmd = config.cmd, root_dir = root })
    clients[root] = id
  end
  if id and not vim.lsp.buf_is_attached(bufnr, id) then
    vim.lsp.buf_attach_client(bufnr, id)
  end
  return id
end

function M.setup(opts)
  config = vim.tbl_extend('force', config, opts or {})
  local group = vim.api.nvim_create_augroup('plcedit_lsp', { clear = true })
  vim.api.nvim_create_autocmd('FileType', {
    group = group,
    pattern = 'plc',
    callback = function(args) M.attach(args.buf) end,
  })
end

return M
