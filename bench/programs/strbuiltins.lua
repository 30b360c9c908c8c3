local text = "the quick brown fox jumps over the lazy dog"
local total = 0
for i = 1, 180000 do
  local words = {}
  for w in string.gmatch(text, "[^ ]+") do words[#words + 1] = w end
  local shout = string.upper(table.concat(words, "-"))
  local fixed = string.gsub(shout, "O", "0")
  total = total + #fixed + #words
  if string.sub(fixed, 1, 3) == "THE" then total = total + 1 end
  local t = string.match("  " .. string.lower(fixed) .. "  ", "^%s*(.-)%s*$")
  total = total + #t
end
print(total)
