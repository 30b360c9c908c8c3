local n = 4000000
local flags = {}
for i = 0, n do
  flags[i + 1] = true
end
local count = 0
for i = 2, n do
  if flags[i + 1] then
    count = count + 1
    local j = i * i
    while j <= n do
      flags[j + 1] = false
      j = j + i
    end
  end
end
local stack = {}
local popped = 0
for i = 1, 2000000 do
  stack[#stack + 1] = i
  if i % 3 == 0 then
    popped = popped + stack[#stack]
    stack[#stack] = nil
  end
end
print(count, #stack, string.format("%d", popped))
