-- Objects as tables whose methods are closures stored as fields and called
-- with the object as their first argument. A class is a table of methods; a
-- subclass copies its parent's table and overrides some entries, and a
-- constructor copies the class's methods into each new object. Sizes are
-- integers, and a circle's area uses 355/113 for pi, so every runtime
-- computes the same.
local Shape = {}
Shape.describe = function(self)
  return self.kind .. " " .. self.area(self)
end
Shape.scale = function(self, factor)
  self.size = self.size * factor
end
Shape.shrink = function(self)
  if self.size > 1 then
    self.size = math.floor(self.size / 2)
  end
end
Shape.bigger = function(self, other)
  return self.area(self) > other.area(other)
end

local function subclass(parent)
  local methods = {}
  for name, fn in pairs(parent) do
    methods[name] = fn
  end
  methods.parent = parent
  return methods
end

local Square = subclass(Shape)
Square.area = function(self)
  return self.size * self.size
end
Square.perimeter = function(self)
  return 4 * self.size
end

local Rect = subclass(Square)
Rect.area = function(self)
  return self.size * self.width
end
Rect.perimeter = function(self)
  return 2 * (self.size + self.width)
end
Rect.scale = function(self, factor)
  Square.scale(self, factor)
  self.width = self.width * factor
end
Rect.shrink = function(self)
  Square.shrink(self)
  if self.width > 1 then
    self.width = math.floor(self.width / 2)
  end
end

local Circle = subclass(Shape)
Circle.area = function(self)
  return math.floor(self.size * self.size * 355 / 113)
end
Circle.perimeter = function(self)
  return math.floor(2 * self.size * 355 / 113)
end
Circle.describe = function(self)
  return "round " .. Shape.describe(self)
end

local function new(class, kind, size)
  local object = {kind = kind, size = size}
  for name, fn in pairs(class) do
    object[name] = fn
  end
  return object
end

local seed = 99
local function nextRandom(limit)
  seed = seed * 16807 % 2147483647
  return seed % limit
end

local shapes = {}
for i = 0, 299 do
  local k = nextRandom(3)
  local size = 1 + nextRandom(40)
  if k == 0 then
    shapes[#shapes + 1] = new(Square, "square", size)
  elseif k == 1 then
    local r = new(Rect, "rect", size)
    r.width = 1 + nextRandom(40)
    shapes[#shapes + 1] = r
  else
    shapes[#shapes + 1] = new(Circle, "circle", size)
  end
end

local totalArea = 0
local totalPerimeter = 0
local wins = 0
local described = 0
local n = #shapes
for round = 1, 6000 do
  for i = 0, n - 1 do
    local s = shapes[i + 1]
    totalArea = totalArea + s.area(s)
    totalPerimeter = totalPerimeter + s.perimeter(s)
    if s.bigger(s, shapes[(i + round) % n + 1]) then
      wins = wins + 1
    end
    if s.size > 200 then
      s.shrink(s)
    elseif (i + round) % 7 == 0 then
      s.scale(s, 2)
    end
  end
  local d = shapes[round % n + 1]
  described = described + #d.describe(d)
end
print("area", string.format("%d", totalArea % 1000000007), "perimeter", string.format("%d", totalPerimeter))
print("wins", wins, "described", described)
print(shapes[1].describe(shapes[1]), shapes[2].describe(shapes[2]), shapes[3].describe(shapes[3]))
