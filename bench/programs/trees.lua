-- Binary trees: build many short-lived trees and one long-lived tree, and walk
-- them to count their nodes. A node is a two-element table; a leaf is empty.
local function bottomUpTree(depth)
  if depth > 0 then
    return {bottomUpTree(depth - 1), bottomUpTree(depth - 1)}
  end
  return {}
end

local function itemCheck(tree)
  if tree[1] == nil then return 1 end
  return 1 + itemCheck(tree[1]) + itemCheck(tree[2])
end

local minDepth = 4
local maxDepth = 15
print("stretch", maxDepth + 1, itemCheck(bottomUpTree(maxDepth + 1)))
local longLived = bottomUpTree(maxDepth)
for depth = minDepth, maxDepth, 2 do
  -- math.floor keeps the count an integer in Lua 5.4, where ^ gives a float.
  local iterations = math.floor(2 ^ (maxDepth - depth + minDepth))
  local check = 0
  for i = 1, iterations do
    check = check + itemCheck(bottomUpTree(depth))
  end
  print(iterations, depth, check)
end
print("long-lived", maxDepth, itemCheck(longLived))
