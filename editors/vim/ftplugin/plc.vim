" SPDX-License-Identifier: GPL-3.0-or-later
" PLC programmes: ';' starts a comment; statements and labels are words
" with '_' in them.
if exists('b:did_ftplugin')
  finish
endif
let b:did_ftplugin = 1
setlocal commentstring=;\ %s comments=:;
setlocal iskeyword=@,48-57,_
let b:undo_ftplugin = 'setlocal commentstring< comments< iskeyword<'
