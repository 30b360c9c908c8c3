local parts = {}
local total = 0
for i = 1, 450000 do
  local s = "item" .. tostring(i) .. ":" .. tostring(i % 97) .. ";"
  total = total + #s
  parts[#parts + 1] = s
end
local joined = table.concat(parts, "")
local line = ""
for i = 1, 20000 do
  line = line .. "ab"
end
print(total, #joined, #line)
