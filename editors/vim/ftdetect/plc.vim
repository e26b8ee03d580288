" SPDX-License-Identifier: GPL-3.0-or-later
" PLC programmes are *.plc files.
autocmd BufNewFile,BufRead *.plc setfiletype plc
