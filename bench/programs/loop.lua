local s = 0
for i = 1, 70000000 do
  s = s + i % 7
end
print(s)
