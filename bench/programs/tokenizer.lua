-- A tokenizer over generated source text: names and keywords, integer and
-- decimal numbers, strings, comments, one- and two-character operators. The
-- tokens are tables; a second pass counts them by kind and makes a checksum.
local seed = 777
local function nextRandom(limit)
  seed = seed * 16807 % 2147483647
  return seed % limit
end

local function generate(lineCount)
  local lines = {}
  for i = 1, lineCount do
    local shape = nextRandom(6)
    local a = tostring(nextRandom(300))
    local b = tostring(nextRandom(300))
    local n = tostring(nextRandom(10000))
    if shape == 0 then
      lines[#lines + 1] = "let v" .. a .. " = v" .. b .. " + " .. n .. " * (w_" .. a .. " - 17)"
    elseif shape == 1 then
      lines[#lines + 1] = "  if v" .. a .. " >= " .. n .. " and not done then total = total + v" .. b .. " // 2 end"
    elseif shape == 2 then
      lines[#lines + 1] = "print(\"value of v" .. a .. " is\", v" .. a .. ", " .. n .. "." .. b .. ")"
    elseif shape == 3 then
      lines[#lines + 1] = "# a comment about v" .. a .. " and " .. n .. " other things"
    elseif shape == 4 then
      lines[#lines + 1] = "for i = 0, " .. n .. " do x" .. b .. " = x" .. b .. " % 3 + i end"
    else
      lines[#lines + 1] = "name_" .. a .. " = call_" .. b .. "(v" .. a .. ", \"s" .. n .. "\", [1, 2.5, " .. n .. "]) != nil"
    end
  end
  return table.concat(lines, "\n") .. "\n"
end

local keywords = {}
for word in string.gmatch("let function return if then elif else while for in do end and or not true false nil", "%S+") do
  keywords[word] = true
end
local twoCharOperators = {["=="] = true, ["!="] = true, ["<="] = true, [">="] = true, ["//"] = true}

local function isLetter(c)
  return (c >= "a" and c <= "z") or (c >= "A" and c <= "Z") or c == "_"
end

local function isDigit(c)
  return c >= "0" and c <= "9"
end

local function tokenize(source)
  local tokens = {}
  local i = 1
  local n = #source
  local line = 1
  while i <= n do
    local c = string.sub(source, i, i)
    local start = i
    if c == " " then
      i = i + 1
    elseif c == "\n" then
      tokens[#tokens + 1] = {kind = "newline", text = c, line = line}
      line = line + 1
      i = i + 1
    elseif c == "#" then
      while i <= n and string.sub(source, i, i) ~= "\n" do i = i + 1 end
      tokens[#tokens + 1] = {kind = "comment", text = string.sub(source, start, i - 1), line = line}
    elseif isLetter(c) then
      while i <= n and (isLetter(string.sub(source, i, i)) or isDigit(string.sub(source, i, i))) do i = i + 1 end
      local word = string.sub(source, start, i - 1)
      local kind = "name"
      if keywords[word] then kind = "keyword" end
      tokens[#tokens + 1] = {kind = kind, text = word, line = line}
    elseif isDigit(c) then
      while i <= n and isDigit(string.sub(source, i, i)) do i = i + 1 end
      local kind = "integer"
      if i + 1 <= n and string.sub(source, i, i) == "." and isDigit(string.sub(source, i + 1, i + 1)) then
        i = i + 1
        while i <= n and isDigit(string.sub(source, i, i)) do i = i + 1 end
        kind = "decimal"
      end
      tokens[#tokens + 1] = {kind = kind, text = string.sub(source, start, i - 1), line = line}
    elseif c == "\"" then
      i = i + 1
      while string.sub(source, i, i) ~= "\"" do i = i + 1 end
      i = i + 1
      tokens[#tokens + 1] = {kind = "string", text = string.sub(source, start + 1, i - 2), line = line}
    else
      local kind = "punctuation"
      if twoCharOperators[string.sub(source, i, i + 1)] then
        i = i + 2
        kind = "operator"
      else
        i = i + 1
        if string.find("+-*/%<>=", c, 1, true) then kind = "operator" end
      end
      tokens[#tokens + 1] = {kind = kind, text = string.sub(source, start, i - 1), line = line}
    end
  end
  return tokens
end

local source = generate(20000)
local kinds = {"name", "keyword", "integer", "decimal", "string", "comment", "operator", "punctuation", "newline"}
local counts = {}
for _, kind in ipairs(kinds) do counts[kind] = 0 end
local checksum = 0
local integers = 0
local tokenCount = 0
for round = 1, 4 do
  local tokens = tokenize(source)
  tokenCount = tokenCount + #tokens
  for _, token in ipairs(tokens) do
    local kind = token.kind
    counts[kind] = counts[kind] + 1
    if kind == "integer" then integers = integers + tonumber(token.text) end
    checksum = (checksum * 31 + #token.text + token.line) % 1000000007
  end
end
print(#source, tokenCount, string.format("%d", integers), string.format("%d", checksum))
for _, kind in ipairs(kinds) do
  print(kind, counts[kind])
end
