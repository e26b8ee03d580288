-- SPDX-License-Identifier: GPL-3.0-or-later
-- The lines a headless Neovim client script collects of what it saw, and
-- their writing to $LSP_OUT for its test to compare with the expected output.
local report = { lines = {} }

-- Writes the lines and ends Neovim: status 0 is success, any other status
-- makes Neovim exit with it.
function report.finish(status)
  local f = assert(io.open(os.getenv('LSP_OUT'), 'w'))
  for _, l in ipairs(report.lines) do f:write(l, '\n') end
  f:close()
  vim.cmd(status == 0 and 'qall!' or 'cquit! ' .. status)
end

return report
