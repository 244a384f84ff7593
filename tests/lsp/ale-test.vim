" Drives velkin-lsp from Vim with ALE, configured as the README's recipe
" says: opens a broken definition, waits for its diagnostics, goes to a
" definition, renames and applies a code action (ALE's prompts answered by
" the queue below), then writes what it saw to results.txt.
set nocompatible
filetype on
packadd ale
let g:ale_linters = {'json': ['velkin-lsp']}
call ale#linter#Define('json', {
\   'name': 'velkin-lsp', 'lsp': 'stdio',
\   'executable': $LSP_SERVER, 'command': '%e',
\   'project_root': {buffer -> fnamemodify(bufname(buffer), ':p:h')},
\})
let s:lines = []
runtime autoload/ale/util.vim
let s:answers = ['backlight', '1']
function! ale#util#Input(message, default, ...) abort
  if a:message =~# '^Code Fixes:'
    call add(s:lines, 'offered ' . split(a:message, "\n")[1])
  endif
  return remove(s:answers, 0)
endfunction
function! s:Wait(condition) abort
  let l:n = 0
  while l:n < 100 && !eval(a:condition)
    sleep 50m
    let l:n += 1
  endwhile
endfunction

execute 'edit ' . $LSP_DIR . '/menu-tv.json'
call s:Wait('!empty(get(get(g:ale_buffer_info, bufnr(""), {}), "loclist", []))')
for s:d in get(get(g:ale_buffer_info, bufnr(''), {}), 'loclist', [])
  call add(s:lines, printf('diagnostic %d:%d %s', s:d.lnum - 1, s:d.col - 1, get(s:d, 'code', '?')))
endfor

" "brightness" in the "picture" menu: ASCII only before it on every line.
call cursor(4, 41)
ALEGoToDefinition
call s:Wait('line(".") != 4')
call add(s:lines, printf('definition %d:%d', line('.'), col('.') - 1))
call cursor(4, 41)
ALERename
call s:Wait('getline(4) =~# "backlight"')
call add(s:lines, 'renamed ' . getline(4))

call cursor(12, 9)
ALECodeAction
call s:Wait('&modified && bufname("") =~# "velkin-check"')
wall
call add(s:lines, 'config ' . join(readfile($LSP_DIR . '/.velkin-check'), '|'))
call writefile(s:lines, $LSP_DIR . '/results.txt')
qall!
