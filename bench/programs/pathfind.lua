-- Shortest paths on generated grids with walls: a breadth-first search for
-- step counts from one corner, and Dijkstra's algorithm with a binary heap of
-- {cost, cell} pairs, written out here, for the cheapest path to the opposite
-- corner when each open cell costs 1 to 9 to enter. Cells are numbered
-- (y * width + x) + 1 in flat arrays.
local seed = 4711
local function nextRandom(limit)
  seed = seed * 16807 % 2147483647
  return seed % limit
end

local function makeGrid(width, height)
  local cost = {}
  for i = 1, width * height do
    if nextRandom(100) < 28 then
      cost[i] = 0
    else
      cost[i] = 1 + nextRandom(9)
    end
  end
  cost[1] = 1
  cost[width * height] = 1
  return cost
end

local function neighbours(cell, width, height)
  local x = (cell - 1) % width
  local y = math.floor((cell - 1) / width)
  local result = {}
  if x > 0 then result[#result + 1] = cell - 1 end
  if x < width - 1 then result[#result + 1] = cell + 1 end
  if y > 0 then result[#result + 1] = cell - width end
  if y < height - 1 then result[#result + 1] = cell + width end
  return result
end

local function bfs(cost, width, height, start)
  local dist = {}
  for i = 1, #cost do
    dist[i] = -1
  end
  dist[start] = 0
  local queue = {start}
  local head = 1
  while head <= #queue do
    local cell = queue[head]
    head = head + 1
    for _, nextCell in ipairs(neighbours(cell, width, height)) do
      if cost[nextCell] > 0 and dist[nextCell] < 0 then
        dist[nextCell] = dist[cell] + 1
        queue[#queue + 1] = nextCell
      end
    end
  end
  return dist
end

local function heapPush(heap, item)
  heap[#heap + 1] = item
  local i = #heap
  while i > 1 do
    local parent = math.floor(i / 2)
    if heap[parent][1] <= heap[i][1] then
      break
    end
    heap[parent], heap[i] = heap[i], heap[parent]
    i = parent
  end
end

local function heapPop(heap)
  local top = heap[1]
  local last = heap[#heap]
  heap[#heap] = nil
  local n = #heap
  if n > 0 then
    heap[1] = last
    local i = 1
    while true do
      local left = 2 * i
      local right = left + 1
      local smallest = i
      if left <= n and heap[left][1] < heap[smallest][1] then
        smallest = left
      end
      if right <= n and heap[right][1] < heap[smallest][1] then
        smallest = right
      end
      if smallest == i then
        break
      end
      heap[smallest], heap[i] = heap[i], heap[smallest]
      i = smallest
    end
  end
  return top
end

local function dijkstra(cost, width, height, start, goal)
  local best = {}
  local previous = {}
  for i = 1, #cost do
    best[i] = -1
    previous[i] = -1
  end
  best[start] = 0
  local heap = {{0, start}}
  local popped = 0
  while #heap > 0 do
    local item = heapPop(heap)
    local d = item[1]
    local cell = item[2]
    popped = popped + 1
    if cell == goal then
      break
    end
    if d <= best[cell] then
      for _, nextCell in ipairs(neighbours(cell, width, height)) do
        if cost[nextCell] > 0 then
          local nd = d + cost[nextCell]
          if best[nextCell] < 0 or nd < best[nextCell] then
            best[nextCell] = nd
            previous[nextCell] = cell
            heapPush(heap, {nd, nextCell})
          end
        end
      end
    end
  end
  local steps = 0
  if best[goal] >= 0 then
    local cell = goal
    while cell ~= start do
      cell = previous[cell]
      steps = steps + 1
    end
  end
  return best[goal], steps, popped
end

local width = 200
local height = 200
local total = 0
for round = 1, 10 do
  local cost = makeGrid(width, height)
  local dist = bfs(cost, width, height, 1)
  local reachable = 0
  local farthest = 0
  for _, d in ipairs(dist) do
    if d >= 0 then
      reachable = reachable + 1
      if d > farthest then
        farthest = d
      end
    end
  end
  local goal = width * height
  local goalCost, steps, popped = dijkstra(cost, width, height, 1, goal)
  print("grid", round, "reachable", reachable, "farthest", farthest, "corner", dist[goal], "cost", goalCost, "steps", steps, "popped", popped)
  total = total + reachable + farthest + goalCost
end
print("total", total)
