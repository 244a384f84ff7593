-- Drives velkin-lsp from neovim's own client (0.7 and later): opens a broken
-- definition, waits for its diagnostics, goes to a definition, hovers,
-- applies a quick fix, renames, applies a code action, writes what it saw to
-- results.txt.
local dir, server = os.getenv('LSP_DIR'), os.getenv('LSP_SERVER')
local lines = {}
local function note(text) table.insert(lines, text) end
local function finish()
  vim.fn.writefile(lines, dir .. '/results.txt')
  vim.cmd('qall!')
end

local published
vim.cmd('edit ' .. dir .. '/menu-tv.json')
local buf = vim.api.nvim_get_current_buf()
local id = vim.lsp.start_client({
  name = 'velkin', cmd = { server }, root_dir = dir,
  handlers = {
    ['textDocument/publishDiagnostics'] = function(err, result, ctx, config)
      published = result
      vim.lsp.diagnostic.on_publish_diagnostics(err, result, ctx, config)
    end,
  },
})
vim.lsp.buf_attach_client(buf, id)
local client = vim.lsp.get_client_by_id(id)
if not vim.wait(5000, function() return published ~= nil end) then
  note('no diagnostics'); return finish()
end
-- Byte columns, whichever encoding the client and the server agreed on
-- (UTF-16 for neovim 0.7; later ones offer UTF-8 as well).
local function bytes(position)
  if client.offset_encoding == 'utf-8' then return position.character end
  local text = vim.api.nvim_buf_get_lines(buf, position.line, position.line + 1, false)[1]
  return vim.str_byteindex(text, position.character, true)
end
for _, d in ipairs(published.diagnostics) do
  note(string.format('diagnostic %d:%d %s', d.range.start.line, bytes(d.range.start), d.code))
end
note('shown ' .. #vim.diagnostic.get(buf))

-- The cursor on "brightness" in the "picture" menu (line 4, byte 40).
vim.api.nvim_win_set_cursor(0, { 4, 40 })
local params = vim.lsp.util.make_position_params()
local found = client.request_sync('textDocument/definition', params, 3000, buf)
vim.lsp.util.jump_to_location(found.result[1], client.offset_encoding)
local row, col = unpack(vim.api.nvim_win_get_cursor(0))
note(string.format('definition %d:%d', row, col))

local hover = client.request_sync('textDocument/hover', vim.lsp.util.make_position_params(), 3000, buf)
note('hover ' .. vim.split(hover.result.contents.value, '\n')[1])

-- A slip: "brightness" listed again after "Größe", where byte and UTF-16
-- columns differ; the quick fix the diagnostic brings removes it.
local line = vim.api.nvim_buf_get_lines(buf, 3, 4, false)[1]
vim.api.nvim_buf_set_lines(buf, 3, 4, false, { (line:gsub('"ghost"%]', '"ghost", "brightness"]')) })
local twice
vim.wait(5000, function()
  for _, d in ipairs(published.diagnostics) do
    if d.code == 'duplicate-entry' then twice = d end
  end
  return twice ~= nil
end)
if not twice then note('no duplicate-entry'); return finish() end
local fixes = client.request_sync('textDocument/codeAction', {
  textDocument = { uri = vim.uri_from_bufnr(buf) }, range = twice.range,
  context = { diagnostics = { twice } } }, 3000, buf)
note('quickfix ' .. fixes.result[1].title)
vim.lsp.util.apply_workspace_edit(fixes.result[1].edit, client.offset_encoding)
note('fixed ' .. tostring(vim.api.nvim_buf_get_lines(buf, 3, 4, false)[1] == line))

-- The cursor on "Größe": its byte column differs from its UTF-16 one.
vim.api.nvim_win_set_cursor(0, { 4, 55 })
vim.lsp.buf.rename('size')
vim.wait(3000, function()
  return vim.api.nvim_buf_get_lines(buf, 3, 4, false)[1]:find('"size"') ~= nil
end)
vim.cmd('write')
note('renamed ' .. vim.api.nvim_buf_get_lines(buf, 3, 4, false)[1])

local missing
for _, d in ipairs(published.diagnostics) do
  if d.code == 'unused-definition' then missing = d end
end
local actions = client.request_sync('textDocument/codeAction', {
  textDocument = { uri = vim.uri_from_bufnr(buf) }, range = missing.range,
  context = { diagnostics = { missing } } }, 3000, buf)
note('action ' .. actions.result[1].title)
vim.lsp.util.apply_workspace_edit(actions.result[1].edit, client.offset_encoding)
vim.cmd('wall')

client.stop()
vim.wait(3000, function() return client.is_stopped() end)
note('stopped ' .. tostring(client.is_stopped()))
finish()
