-- The generator's products stay below 2^53, so LuaJIT's doubles compute the same data.
local seed = 12345
local data = {}
for i = 1, 300000 do
  seed = seed * 16807 % 2147483647
  data[i] = seed % 1000000
end
local function copy(t) local c = {} for i = 1, #t do c[i] = t[i] end return c end
local sorted = copy(data)
table.sort(sorted)
local descending = copy(data)
table.sort(descending, function(a, b) return a > b end)
-- table.sort is not stable: break ties by the original index to get the stable order.
local pairs_ = {}
for i = 1, 50000 do
  pairs_[i] = {data[i] % 100, i - 1}
end
table.sort(pairs_, function(a, b)
  if a[1] ~= b[1] then return a[1] < b[1] end
  return a[2] < b[2]
end)
print(sorted[1], sorted[300000], descending[1], descending[150001], pairs_[1][2], pairs_[50000][2])
