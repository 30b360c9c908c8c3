local function newPoint(x, y)
  local p = {x = x, y = y}
  p.move = function(self, dx, dy)
    self.x = self.x + dx
    self.y = self.y + dy
  end
  p.norm1 = function(self)
    return math.abs(self.x) + math.abs(self.y)
  end
  return p
end

local points = {}
for i = 0, 99 do
  points[#points + 1] = newPoint(i, -i)
end
local total = 0
for step = 1, 100000 do
  for _, p in ipairs(points) do
    p.move(p, 1, 2)
  end
  local q = points[step % 100 + 1]
  total = total + q.norm1(q)
end
print(string.format("%d", total))
