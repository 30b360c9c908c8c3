-- An event bus: handlers are closures kept in lists, one list per event name.
-- A generator emits a stream of events; handlers keep their state in captured
-- variables, and some of them register or remove other handlers: a login
-- adds a handler that follows that user's purchases until the logout, and
-- every fifth error arms a one-shot handler for the next tick.
local handlers = {}
local nextId = 0

local function on(name, fn)
  nextId = nextId + 1
  local list = handlers[name]
  if list == nil then
    list = {}
    handlers[name] = list
  end
  list[#list + 1] = {id = nextId, fn = fn}
  return nextId
end

local function off(name, id)
  local kept = {}
  for _, h in ipairs(handlers[name]) do
    if h.id ~= id then
      kept[#kept + 1] = h
    end
  end
  handlers[name] = kept
end

-- Handlers added while an event is dispatched first see the next event, and
-- removed ones still see the current one.
local function emit(name, event)
  local list = handlers[name]
  if list == nil then
    return 0
  end
  local n = #list
  for i = 1, n do
    list[i].fn(event)
  end
  return n
end

local function counter(name)
  local count = 0
  on(name, function(event)
    count = count + 1
  end)
  return function()
    return count
  end
end

local names = {"tick", "buy", "sell", "login", "logout", "error"}
local counts = {}
for _, name in ipairs(names) do
  counts[name] = counter(name)
end

local revenue = 0
local largest = 0
on("buy", function(event)
  revenue = revenue + event.amount
  if event.amount > largest then
    largest = event.amount
  end
end)
on("sell", function(event)
  revenue = revenue - event.amount
end)

local sessions = {}
local openSessions = 0
local sessionSpent = 0
local sessionCount = 0
on("login", function(event)
  local user = event.user
  if sessions[user] ~= nil then
    return
  end
  local spent = 0
  local purchases = 0
  local id = on("buy", function(e)
    if e.user == user then
      spent = spent + e.amount
      purchases = purchases + 1
    end
  end)
  sessions[user] = {id = id, total = function()
    return spent * 1000 + purchases
  end}
  openSessions = openSessions + 1
end)
on("logout", function(event)
  local session = sessions[event.user]
  if session == nil then
    return
  end
  off("buy", session.id)
  sessionSpent = sessionSpent + session.total()
  sessionCount = sessionCount + 1
  sessions[event.user] = nil
  openSessions = openSessions - 1
end)

local errors = 0
local alarms = 0
local alarmTime = 0
on("error", function(event)
  errors = errors + 1
  if errors % 5 == 0 then
    local id
    id = on("tick", function(e)
      alarms = alarms + 1
      alarmTime = (alarmTime + e.time * event.code) % 1000000007
      off("tick", id)
    end)
  end
end)

local seed = 2024
local function nextRandom(limit)
  seed = seed * 16807 % 2147483647
  return seed % limit
end

local time = 0
local calls = 0
for step = 1, 800000 do
  local r = nextRandom(100)
  local user = "user" .. nextRandom(60)
  if r < 40 then
    time = time + 1
    calls = calls + emit("tick", {time = time})
  elseif r < 65 then
    calls = calls + emit("buy", {user = user, amount = 1 + nextRandom(500)})
  elseif r < 80 then
    calls = calls + emit("sell", {user = user, amount = 1 + nextRandom(300)})
  elseif r < 88 then
    calls = calls + emit("login", {user = user})
  elseif r < 96 then
    calls = calls + emit("logout", {user = user})
  else
    calls = calls + emit("error", {code = 1 + nextRandom(9)})
  end
end

for _, name in ipairs(names) do
  print(name, counts[name]())
end
print("revenue", revenue, "largest", largest)
print("sessions", sessionCount, string.format("%d", sessionSpent), "open", openSessions, "buy handlers", #handlers["buy"])
print("alarms", alarms, alarmTime, "tick handlers", #handlers["tick"])
print("calls", calls, "ids", nextId)
