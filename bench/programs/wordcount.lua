-- Word frequencies over a text read line by line from standard input: words
-- are lower-cased and stripped of commas and full stops, then counted, alone
-- and in pairs of neighbours, in two tables. Prints the ten most frequent
-- words (ties in alphabetical order) and the most frequent pair.
local counts, distinct = {}, {}
local pairs_, distinctPairs = {}, {}
local lines = 0
local words = 0
local previous = ""
local line = io.read("*l")
while line ~= nil do
  lines = lines + 1
  local cleaned = string.gsub(string.gsub(string.lower(line), ",", ""), "%.", "")
  for word in string.gmatch(cleaned, "%S+") do
    words = words + 1
    local seen = counts[word]
    if seen == nil then
      counts[word] = 1
      distinct[#distinct + 1] = word
    else
      counts[word] = seen + 1
    end
    local pair = previous .. " " .. word
    local seenPair = pairs_[pair]
    if seenPair == nil then
      pairs_[pair] = 1
      distinctPairs[#distinctPairs + 1] = pair
    else
      pairs_[pair] = seenPair + 1
    end
    previous = word
  end
  line = io.read("*l")
end

-- The words are unique, so the unstable table.sort gives the one order.
local ranked = {}
for i = 1, #distinct do ranked[i] = distinct[i] end
table.sort(ranked, function(a, b)
  local ca = counts[a]
  local cb = counts[b]
  if ca ~= cb then return ca > cb end
  return a < b
end)
local topPair, topCount = "", 0
for _, pair in ipairs(distinctPairs) do
  local c = pairs_[pair]
  if c > topCount or (c == topCount and pair < topPair) then
    topPair = pair
    topCount = c
  end
end
print(lines, words, #distinct, #distinctPairs, topPair, topCount)
for i = 1, 10 do
  print(ranked[i], counts[ranked[i]])
end
