" PLC programmes are *.plc files.
autocmd BufNewFile,BufRead *.plc setfiletype plc
