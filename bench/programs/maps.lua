local m = {}
local keys = {}
local count = 0
for i = 0, 3999 do
  local k = "key" .. tostring(i * 7919 % 4000)
  keys[#keys + 1] = k
  if m[k] == nil then count = count + 1 end
  m[k] = i
end
local total = 0
for round = 1, 2500 do
  for _, k in ipairs(keys) do
    total = total + m[k]
  end
  local k = "key" .. tostring(round)
  if m[k] == nil then count = count + 1 end
  m[k] = round
end
print(count, string.format("%d", total))
