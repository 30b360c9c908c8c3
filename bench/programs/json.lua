-- A small JSON-like parser and printer: generate a document of records as
-- text, then parse it character by character, walk the parsed value for a
-- checksum, print it back and compare the printed text with the original.
-- Objects keep their keys in order beside the values; NULL stands for null,
-- which a table cannot hold as nil.
local NULL = {}

local seed = 4242
local function nextRandom()
  seed = seed * 16807 % 2147483647
  return seed
end

local function escape(s)
  s = string.gsub(s, "\\", "\\\\")
  s = string.gsub(s, "\"", "\\\"")
  s = string.gsub(s, "\n", "\\n")
  return s
end

local function generate(records)
  local out = {"{\"version\": 3, \"records\": ["}
  local function push(...)
    for i = 1, select("#", ...) do out[#out + 1] = select(i, ...) end
  end
  for i = 0, records - 1 do
    if i > 0 then push(", ") end
    push("{\"id\": ", tostring(i), ", \"name\": \"user", tostring(i), "\", \"active\": ")
    push(nextRandom() % 3 ~= 0 and "true" or "false")
    push(", \"score\": ", tostring(nextRandom() % 1000 - 200), ", \"tags\": [")
    for t = 0, nextRandom() % 4 do
      if t > 0 then push(", ") end
      push("\"tag", tostring(nextRandom() % 50), "\"")
    end
    push("], \"meta\": {\"level\": ", tostring(nextRandom() % 7), ", \"note\": ")
    if nextRandom() % 5 == 0 then
      push("\"", escape("said \"hi\"\nat C:\\home"), "\"")
    else
      push("null")
    end
    push(", \"ratio\": [", tostring(nextRandom() % 100), ", ", tostring(-1 - nextRandom() % 37), "]}}")
  end
  push("], \"count\": ", tostring(records), "}")
  return table.concat(out)
end

-- The parser reads `text` from `pos`.
local text = ""
local pos = 1
local parseValue

local function skipSpaces()
  local c = string.sub(text, pos, pos)
  while c == " " or c == "\n" do
    pos = pos + 1
    c = string.sub(text, pos, pos)
  end
end

local function parseString()
  pos = pos + 1
  local start = pos
  local c = string.sub(text, pos, pos)
  while c ~= "\"" and c ~= "\\" do
    pos = pos + 1
    c = string.sub(text, pos, pos)
  end
  if c == "\"" then
    pos = pos + 1
    return string.sub(text, start, pos - 2)
  end
  local parts = {string.sub(text, start, pos - 1)}
  while c ~= "\"" do
    if c == "\\" then
      pos = pos + 1
      local escaped = string.sub(text, pos, pos)
      if escaped == "n" then
        parts[#parts + 1] = "\n"
      else
        parts[#parts + 1] = escaped
      end
    else
      parts[#parts + 1] = c
    end
    pos = pos + 1
    c = string.sub(text, pos, pos)
  end
  pos = pos + 1
  return table.concat(parts)
end

local function parseNumber()
  local start = pos
  if string.sub(text, pos, pos) == "-" then pos = pos + 1 end
  local c = string.sub(text, pos, pos)
  while c >= "0" and c <= "9" do
    pos = pos + 1
    c = string.sub(text, pos, pos)
  end
  return tonumber(string.sub(text, start, pos - 1))
end

local function parseArray()
  pos = pos + 1
  local items = {}
  skipSpaces()
  if string.sub(text, pos, pos) == "]" then
    pos = pos + 1
    return items
  end
  while true do
    items[#items + 1] = parseValue()
    skipSpaces()
    local c = string.sub(text, pos, pos)
    pos = pos + 1
    if c == "]" then return items end
  end
end

local function parseObject()
  pos = pos + 1
  local object = {keys = {}, values = {}}
  skipSpaces()
  if string.sub(text, pos, pos) == "}" then
    pos = pos + 1
    return object
  end
  while true do
    skipSpaces()
    local key = parseString()
    skipSpaces()
    pos = pos + 1
    if object.values[key] == nil then object.keys[#object.keys + 1] = key end
    object.values[key] = parseValue()
    skipSpaces()
    local c = string.sub(text, pos, pos)
    pos = pos + 1
    if c == "}" then return object end
  end
end

parseValue = function()
  skipSpaces()
  local c = string.sub(text, pos, pos)
  if c == "{" then
    return parseObject()
  elseif c == "[" then
    return parseArray()
  elseif c == "\"" then
    return parseString()
  elseif c == "t" then
    pos = pos + 4
    return true
  elseif c == "f" then
    pos = pos + 5
    return false
  elseif c == "n" then
    pos = pos + 4
    return NULL
  end
  return parseNumber()
end

local function parse(source)
  text = source
  pos = 1
  return parseValue()
end

local function emit(value, out)
  if value == NULL then
    out[#out + 1] = "null"
  elseif value == true then
    out[#out + 1] = "true"
  elseif value == false then
    out[#out + 1] = "false"
  elseif type(value) == "number" then
    out[#out + 1] = tostring(value)
  elseif type(value) == "string" then
    out[#out + 1] = "\""
    out[#out + 1] = escape(value)
    out[#out + 1] = "\""
  elseif value.keys == nil then
    out[#out + 1] = "["
    for i, item in ipairs(value) do
      if i > 1 then out[#out + 1] = ", " end
      emit(item, out)
    end
    out[#out + 1] = "]"
  else
    out[#out + 1] = "{"
    for i, key in ipairs(value.keys) do
      if i > 1 then out[#out + 1] = ", " end
      out[#out + 1] = "\""
      out[#out + 1] = escape(key)
      out[#out + 1] = "\": "
      emit(value.values[key], out)
    end
    out[#out + 1] = "}"
  end
end

local function walk(value, depth)
  if value == NULL then
    return 1
  elseif value == true then
    return 2
  elseif value == false then
    return 3
  elseif type(value) == "number" then
    return value * depth
  elseif type(value) == "string" then
    return #value + depth
  elseif value.keys == nil then
    local total = 0
    for _, item in ipairs(value) do
      total = total + walk(item, depth + 1)
    end
    return total
  end
  local total = 0
  for _, key in ipairs(value.keys) do
    total = total + #key + walk(value.values[key], depth + 1)
  end
  return total
end

local source = generate(2000)
local checksum = 0
local same = 0
for round = 1, 20 do
  local doc = parse(source)
  checksum = checksum + walk(doc, 1)
  for _, record in ipairs(doc.values["records"]) do
    local fields = record.values
    if fields["active"] then
      checksum = checksum + fields["score"] * #fields["tags"] + fields["meta"].values["ratio"][2]
    end
  end
  local out = {}
  emit(doc, out)
  if table.concat(out) == source then same = same + 1 end
end
print(#source, string.format("%d", checksum), same)
