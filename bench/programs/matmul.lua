local function matrix(n, seed)
  local m = {}
  for i = 0, n - 1 do
    local row = {}
    for j = 0, n - 1 do
      row[j + 1] = ((i * 31 + j * 17 + seed) % 100) / 10.0
    end
    m[i + 1] = row
  end
  return m
end

local function multiply(a, b, n)
  local c = {}
  for i = 1, n do
    local row = {}
    local ai = a[i]
    for j = 1, n do
      local sum = 0.0
      for k = 1, n do
        sum = sum + ai[k] * b[k][j]
      end
      row[j] = sum
    end
    c[i] = row
  end
  return c
end

local n = 300
local c = multiply(matrix(n, 1), matrix(n, 2), n)
local trace = 0.0
for i = 1, n do
  trace = trace + c[i][i]
end
print(string.format("%d", math.floor(trace * 1000)))
