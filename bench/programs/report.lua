-- A text report: sales records grouped by region, product and month, and by
-- month alone, summed, sorted and laid out as padded columns whose widths are
-- measured from the cells; amounts are integer cents written as "12.34". Each
-- round reports on the records with at least a number of units and folds the
-- text into a checksum.
local regions = {"north", "south", "east", "west", "central", "overseas"}
local products = {"anvil", "bolt", "cog", "drill", "easel", "file", "gear", "hinge", "inkpad", "jack", "kettle", "ladder"}
local months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"}

local seed = 31337
local function nextRandom(limit)
  seed = seed * 16807 % 2147483647
  return seed % limit
end

local records = {}
for i = 1, 30000 do
  records[#records + 1] = {
    region = regions[nextRandom(#regions) + 1],
    product = products[nextRandom(#products) + 1],
    month = nextRandom(12) + 1,
    units = 1 + nextRandom(50),
    price = 100 + nextRandom(9900)
  }
end

local function money(cents)
  return string.format("%d.%02d", math.floor(cents / 100), cents % 100)
end

local function padLeft(s, width)
  return string.rep(" ", width - #s) .. s
end

local function padRight(s, width)
  return s .. string.rep(" ", width - #s)
end

-- rows: lists of cells, the first left-aligned and the others right-aligned.
local function makeTable(title, header, rows)
  local widths = {}
  for i, cell in ipairs(header) do
    widths[i] = #cell
  end
  for _, row in ipairs(rows) do
    for i, cell in ipairs(row) do
      if #cell > widths[i] then
        widths[i] = #cell
      end
    end
  end
  local lines = {title}
  local all = {header}
  for _, row in ipairs(rows) do
    all[#all + 1] = row
  end
  for _, row in ipairs(all) do
    local cells = {padRight(row[1], widths[1])}
    for i = 2, #row do
      cells[#cells + 1] = padLeft(row[i], widths[i])
    end
    lines[#lines + 1] = table.concat(cells, " | ")
  end
  local rule = "-" .. string.rep("-", #lines[2]) .. "-"
  return rule .. "\n" .. table.concat(lines, "\n") .. "\n" .. rule .. "\n"
end

local function report(minUnits)
  local groups = {}
  local list = {}
  local byMonth = {}
  for m = 1, 12 do
    byMonth[m] = 0
  end
  local total = 0
  local used = 0
  for _, r in ipairs(records) do
    if r.units >= minUnits then
      local amount = r.units * r.price
      local key = r.region .. "/" .. r.product .. "/" .. months[r.month]
      local g = groups[key]
      if g == nil then
        g = {name = key, count = 0, units = 0, revenue = 0, largest = 0}
        groups[key] = g
        list[#list + 1] = g
      end
      g.count = g.count + 1
      g.units = g.units + r.units
      g.revenue = g.revenue + amount
      if amount > g.largest then
        g.largest = amount
      end
      byMonth[r.month] = byMonth[r.month] + amount
      total = total + amount
      used = used + 1
    end
  end
  table.sort(list, function(a, b)
    if a.revenue ~= b.revenue then
      return a.revenue > b.revenue
    end
    return a.name < b.name
  end)
  local rows = {}
  for _, g in ipairs(list) do
    rows[#rows + 1] = {g.name, tostring(g.count), tostring(g.units), money(g.revenue),
                       money(math.floor(g.revenue / g.count)), money(g.largest)}
  end
  local header = {"group", "sales", "units", "revenue", "average", "largest"}
  local text = makeTable("Sales by region, product and month (units >= " .. minUnits .. ")", header, rows)
  local monthRows = {}
  for m = 1, 12 do
    local share = math.floor(byMonth[m] * 1000 / total)
    monthRows[m] = {months[m], money(byMonth[m]), string.format("%d.%d%%", math.floor(share / 10), share % 10)}
  end
  text = text .. makeTable("Sales by month", {"month", "revenue", "share"}, monthRows)
  return text .. used .. " records, total " .. money(total) .. "\n"
end

local checksum = 0
local size = 0
local last = ""
for round = 1, 40 do
  local text = report(round)
  size = size + #text
  for i = 1, #text do
    checksum = (checksum * 31 + string.byte(text, i)) % 1000000007
  end
  last = text
end
print("size", size, "checksum", checksum)
local lines = {}
for line in string.gmatch(last, "([^\n]*)\n") do
  lines[#lines + 1] = line
end
for i = 1, 5 do
  print(lines[i])
end
print(lines[#lines])
