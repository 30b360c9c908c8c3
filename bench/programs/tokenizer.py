# A tokenizer over generated source text: names and keywords, integer and
# decimal numbers, strings, comments, one- and two-character operators. The
# tokens are dicts; a second pass counts them by kind and makes a checksum.
seed = 777
def next_random(limit):
    global seed
    seed = seed * 16807 % 2147483647
    return seed % limit

def generate(line_count):
    lines = []
    for i in range(line_count):
        shape = next_random(6)
        a = str(next_random(300))
        b = str(next_random(300))
        n = str(next_random(10000))
        if shape == 0:
            lines.append("let v" + a + " = v" + b + " + " + n + " * (w_" + a + " - 17)")
        elif shape == 1:
            lines.append("  if v" + a + " >= " + n + " and not done then total = total + v" + b + " // 2 end")
        elif shape == 2:
            lines.append("print(\"value of v" + a + " is\", v" + a + ", " + n + "." + b + ")")
        elif shape == 3:
            lines.append("# a comment about v" + a + " and " + n + " other things")
        elif shape == 4:
            lines.append("for i = 0, " + n + " do x" + b + " = x" + b + " % 3 + i end")
        else:
            lines.append("name_" + a + " = call_" + b + "(v" + a + ", \"s" + n + "\", [1, 2.5, " + n + "]) != nil")
    return "\n".join(lines) + "\n"

keywords = {}
for word in "let function return if then elif else while for in do end and or not true false nil".split():
    keywords[word] = True
two_char_operators = {"==": True, "!=": True, "<=": True, ">=": True, "//": True}

def is_letter(c):
    return (c >= "a" and c <= "z") or (c >= "A" and c <= "Z") or c == "_"

def is_digit(c):
    return c >= "0" and c <= "9"

def tokenize(source):
    tokens = []
    i = 0
    n = len(source)
    line = 1
    while i < n:
        c = source[i]
        start = i
        if c == " ":
            i = i + 1
        elif c == "\n":
            tokens.append({"kind": "newline", "text": c, "line": line})
            line = line + 1
            i = i + 1
        elif c == "#":
            while i < n and source[i] != "\n":
                i = i + 1
            tokens.append({"kind": "comment", "text": source[start:i], "line": line})
        elif is_letter(c):
            while i < n and (is_letter(source[i]) or is_digit(source[i])):
                i = i + 1
            word = source[start:i]
            kind = "name"
            if keywords.get(word):
                kind = "keyword"
            tokens.append({"kind": kind, "text": word, "line": line})
        elif is_digit(c):
            while i < n and is_digit(source[i]):
                i = i + 1
            kind = "integer"
            if i + 1 < n and source[i] == "." and is_digit(source[i + 1]):
                i = i + 1
                while i < n and is_digit(source[i]):
                    i = i + 1
                kind = "decimal"
            tokens.append({"kind": kind, "text": source[start:i], "line": line})
        elif c == "\"":
            i = i + 1
            while source[i] != "\"":
                i = i + 1
            i = i + 1
            tokens.append({"kind": "string", "text": source[start + 1:i - 1], "line": line})
        else:
            kind = "punctuation"
            if two_char_operators.get(source[i:i + 2]):
                i = i + 2
                kind = "operator"
            else:
                i = i + 1
                if "+-*/%<>=".find(c) >= 0:
                    kind = "operator"
            tokens.append({"kind": kind, "text": source[start:i], "line": line})
    return tokens

def main():
    source = generate(20000)
    counts = {}
    for kind in "name keyword integer decimal string comment operator punctuation newline".split():
        counts[kind] = 0
    checksum = 0
    integers = 0
    token_count = 0
    for round_ in range(4):
        tokens = tokenize(source)
        token_count = token_count + len(tokens)
        for token in tokens:
            kind = token["kind"]
            counts[kind] = counts[kind] + 1
            if kind == "integer":
                integers = integers + int(token["text"])
            checksum = (checksum * 31 + len(token["text"]) + token["line"]) % 1000000007
    print(len(source), token_count, integers, checksum)
    for kind in counts:
        print(kind, counts[kind])
main()
