# A stack machine written in the language: an assembler turns lines of text
# with labels into instructions ([op, argument, argument] lists), and an
# interpreter loop dispatches on the opcode strings. The machine program
# counts and sums the primes below a limit by trial division, calling a
# function per candidate, and computes a Fibonacci number recursively.
source = [
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
]


def assemble(lines):
    labels = {}
    count = 0
    for line in lines:
        text = line.strip()
        if text == "" or text.startswith("#"):
            continue
        if text.endswith(":"):
            labels[text[:-1]] = count
        else:
            count += 1
    code = []
    for line in lines:
        text = line.strip()
        if text == "" or text.startswith("#") or text.endswith(":"):
            continue
        words = text.split()
        ins = [words[0], 0, 0]
        for i in range(1, len(words)):
            word = words[i]
            if word in labels:
                ins[i] = labels[word]
            else:
                ins[i] = int(word)
        code.append(ins)
    return code


def run(code):
    stack = []
    frames = []
    locals_ = [0, 0, 0, 0]
    out = []
    pc = 0
    steps = 0
    while True:
        ins = code[pc]
        op = ins[0]
        pc += 1
        steps += 1
        if op == "push":
            stack.append(ins[1])
        elif op == "load":
            stack.append(locals_[ins[1]])
        elif op == "store":
            locals_[ins[1]] = stack.pop()
        elif op == "dup":
            stack.append(stack[-1])
        elif op == "add":
            b = stack.pop()
            a = stack.pop()
            stack.append(a + b)
        elif op == "sub":
            b = stack.pop()
            a = stack.pop()
            stack.append(a - b)
        elif op == "mul":
            b = stack.pop()
            a = stack.pop()
            stack.append(a * b)
        elif op == "mod":
            b = stack.pop()
            a = stack.pop()
            stack.append(a % b)
        elif op == "lt":
            b = stack.pop()
            a = stack.pop()
            stack.append(1 if a < b else 0)
        elif op == "le":
            b = stack.pop()
            a = stack.pop()
            stack.append(1 if a <= b else 0)
        elif op == "jmp":
            pc = ins[1]
        elif op == "jmpz":
            if stack.pop() == 0:
                pc = ins[1]
        elif op == "call":
            callee = [0, 0, 0, 0]
            for i in range(ins[2] - 1, -1, -1):
                callee[i] = stack.pop()
            frames.append((pc, locals_))
            locals_ = callee
            pc = ins[1]
        elif op == "ret":
            pc, locals_ = frames.pop()
        elif op == "print":
            out.append(stack.pop())
        elif op == "halt":
            break
        else:
            raise RuntimeError("unknown instruction " + op)
    return out, steps


code = assemble(source)
out, steps = run(code)
print("instructions", len(code))
print("output", " ".join(str(v) for v in out))
print("steps", steps)
