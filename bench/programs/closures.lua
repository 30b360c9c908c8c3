local function makeCounter(step)
  local count = 0
  return function()
    count = count + step
    return count
  end
end

local counters = {}
for i = 1, 10 do
  counters[i] = makeCounter(i)
end
local total = 0
for round = 1, 2000000 do
  for i = 1, 10 do
    total = total + counters[i]()
  end
end
print(string.format("%d", total))
