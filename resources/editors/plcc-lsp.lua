-- Neovim (0.7 or later): PLC programmes (*.plc) with `plcc lsp` as their
-- language server. Put this file in ~/.config/nvim/plugin/ (or source it from
-- init.lua); `plcc` must be on PATH, or set vim.g.plcc_command to its path.
vim.cmd([[autocmd BufRead,BufNewFile *.plc setfiletype plc]])

vim.api.nvim_create_autocmd('FileType', {
  pattern = 'plc',
  callback = function(args)
    local root = vim.fs and vim.fs.dirname(args.file) or vim.fn.fnamemodify(args.file, ':p:h')
    local id = vim.lsp.start_client({
      name = 'plcc',
      cmd = { vim.g.plcc_command or 'plcc', 'lsp' },
      root_dir = root,
    })
    if id then vim.lsp.buf_attach_client(args.buf, id) end
    -- The usual keys; format with :lua vim.lsp.buf.formatting() (0.7) or vim.lsp.buf.format().
    local opts = { buffer = args.buf }
    vim.keymap.set('n', 'K', vim.lsp.buf.hover, opts)
    vim.keymap.set('n', 'gd', vim.lsp.buf.definition, opts)
    vim.keymap.set('n', 'gr', vim.lsp.buf.references, opts)
    vim.keymap.set('n', '<leader>ca', vim.lsp.buf.code_action, opts)
    vim.bo[args.buf].omnifunc = 'v:lua.vim.lsp.omnifunc'
  end,
})
