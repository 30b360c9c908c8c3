-- A stack machine written in the language: an assembler turns lines of text
-- with labels into instructions ({op, argument, argument} tables), and an
-- interpreter loop dispatches on the opcode strings. The machine program
-- counts and sums the primes below a limit by trial division, calling a
-- function per candidate, and computes a Fibonacci number recursively.
local source = {
  "# main",
  "      push 2",
  "      store 0",
  "      push 0",
  "      store 1",
  "      push 0",
  "      store 2",
  "loop:",
  "      load 0",
  "      push 30000",
  "      lt",
  "      jmpz done",
  "      load 0",
  "      call isprime 1",
  "      jmpz next",
  "      load 1",
  "      push 1",
  "      add",
  "      store 1",
  "      load 2",
  "      load 0",
  "      add",
  "      store 2",
  "next:",
  "      load 0",
  "      push 1",
  "      add",
  "      store 0",
  "      jmp loop",
  "done:",
  "      load 1",
  "      print",
  "      load 2",
  "      print",
  "      push 24",
  "      call fib 1",
  "      print",
  "      halt",
  "# isprime(n): 1 if n has no divisor d with d * d <= n",
  "isprime:",
  "      push 2",
  "      store 1",
  "ploop:",
  "      load 1",
  "      dup",
  "      mul",
  "      load 0",
  "      le",
  "      jmpz yes",
  "      load 0",
  "      load 1",
  "      mod",
  "      jmpz no",
  "      load 1",
  "      push 1",
  "      add",
  "      store 1",
  "      jmp ploop",
  "yes:",
  "      push 1",
  "      ret",
  "no:",
  "      push 0",
  "      ret",
  "# fib(n)",
  "fib:",
  "      load 0",
  "      push 2",
  "      lt",
  "      jmpz recurse",
  "      load 0",
  "      ret",
  "recurse:",
  "      load 0",
  "      push 1",
  "      sub",
  "      call fib 1",
  "      load 0",
  "      push 2",
  "      sub",
  "      call fib 1",
  "      add",
  "      ret"
}

local function trim(s)
  return (string.gsub(s, "^%s+", ""):gsub("%s+$", ""))
end

local function assemble(lines)
  local labels = {}
  local count = 0
  for _, line in ipairs(lines) do
    local text = trim(line)
    if text ~= "" and string.sub(text, 1, 1) ~= "#" then
      if string.sub(text, -1) == ":" then
        labels[string.sub(text, 1, -2)] = count
      else
        count = count + 1
      end
    end
  end
  local code = {}
  for _, line in ipairs(lines) do
    local text = trim(line)
    if text ~= "" and string.sub(text, 1, 1) ~= "#" and string.sub(text, -1) ~= ":" then
      local words = {}
      for word in string.gmatch(text, "%S+") do
        words[#words + 1] = word
      end
      local ins = {words[1], 0, 0}
      for i = 2, #words do
        local word = words[i]
        if labels[word] ~= nil then
          ins[i] = labels[word]
        else
          ins[i] = tonumber(word)
        end
      end
      code[#code + 1] = ins
    end
  end
  return code
end

local function run(code)
  local stack = {}
  local sp = 0
  local frames = {}
  local locals = {0, 0, 0, 0}
  local out = {}
  local pc = 0
  local steps = 0
  while true do
    local ins = code[pc + 1]
    local op = ins[1]
    pc = pc + 1
    steps = steps + 1
    if op == "push" then
      sp = sp + 1
      stack[sp] = ins[2]
    elseif op == "load" then
      sp = sp + 1
      stack[sp] = locals[ins[2] + 1]
    elseif op == "store" then
      locals[ins[2] + 1] = stack[sp]
      sp = sp - 1
    elseif op == "dup" then
      sp = sp + 1
      stack[sp] = stack[sp - 1]
    elseif op == "add" then
      stack[sp - 1] = stack[sp - 1] + stack[sp]
      sp = sp - 1
    elseif op == "sub" then
      stack[sp - 1] = stack[sp - 1] - stack[sp]
      sp = sp - 1
    elseif op == "mul" then
      stack[sp - 1] = stack[sp - 1] * stack[sp]
      sp = sp - 1
    elseif op == "mod" then
      stack[sp - 1] = stack[sp - 1] % stack[sp]
      sp = sp - 1
    elseif op == "lt" then
      if stack[sp - 1] < stack[sp] then
        stack[sp - 1] = 1
      else
        stack[sp - 1] = 0
      end
      sp = sp - 1
    elseif op == "le" then
      if stack[sp - 1] <= stack[sp] then
        stack[sp - 1] = 1
      else
        stack[sp - 1] = 0
      end
      sp = sp - 1
    elseif op == "jmp" then
      pc = ins[2]
    elseif op == "jmpz" then
      local v = stack[sp]
      sp = sp - 1
      if v == 0 then
        pc = ins[2]
      end
    elseif op == "call" then
      local callee = {0, 0, 0, 0}
      for i = ins[3], 1, -1 do
        callee[i] = stack[sp]
        sp = sp - 1
      end
      frames[#frames + 1] = {pc, locals}
      locals = callee
      pc = ins[2]
    elseif op == "ret" then
      local frame = frames[#frames]
      frames[#frames] = nil
      pc = frame[1]
      locals = frame[2]
    elseif op == "print" then
      out[#out + 1] = stack[sp]
      sp = sp - 1
    elseif op == "halt" then
      break
    else
      error("unknown instruction " .. op)
    end
  end
  return out, steps
end

local code = assemble(source)
local out, steps = run(code)
print("instructions", #code)
print("output", table.concat(out, " "))
print("steps", steps)
