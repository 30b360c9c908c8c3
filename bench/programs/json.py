# A small JSON-like parser and printer: generate a document of records as
# text, then parse it character by character, walk the parsed value for a
# checksum, print it back and compare the printed text with the original.
seed = 4242
def next_random():
    global seed
    seed = seed * 16807 % 2147483647
    return seed

def escape(s):
    return s.replace("\\", "\\\\").replace("\"", "\\\"").replace("\n", "\\n")

def generate(records):
    out = ["{\"version\": 3, \"records\": ["]
    for i in range(records):
        if i > 0:
            out.append(", ")
        out += ["{\"id\": ", str(i), ", \"name\": \"user", str(i), "\", \"active\": "]
        out.append("true" if next_random() % 3 != 0 else "false")
        out += [", \"score\": ", str(next_random() % 1000 - 200), ", \"tags\": ["]
        for t in range(next_random() % 4 + 1):
            if t > 0:
                out.append(", ")
            out += ["\"tag", str(next_random() % 50), "\""]
        out += ["], \"meta\": {\"level\": ", str(next_random() % 7), ", \"note\": "]
        if next_random() % 5 == 0:
            out += ["\"", escape("said \"hi\"\nat C:\\home"), "\""]
        else:
            out.append("null")
        out += [", \"ratio\": [", str(next_random() % 100), ", ", str(-1 - next_random() % 37), "]}}"]
    out += ["], \"count\": ", str(records), "}"]
    return "".join(out)

# The parser reads `text` from `pos`.
text = ""
pos = 0

def skip_spaces():
    global pos
    c = text[pos]
    while c == " " or c == "\n":
        pos = pos + 1
        c = text[pos]

def parse_string():
    global pos
    pos = pos + 1
    start = pos
    c = text[pos]
    while c != "\"" and c != "\\":
        pos = pos + 1
        c = text[pos]
    if c == "\"":
        pos = pos + 1
        return text[start:pos - 1]
    parts = [text[start:pos]]
    while c != "\"":
        if c == "\\":
            pos = pos + 1
            escaped = text[pos]
            if escaped == "n":
                parts.append("\n")
            else:
                parts.append(escaped)
        else:
            parts.append(c)
        pos = pos + 1
        c = text[pos]
    pos = pos + 1
    return "".join(parts)

def parse_number():
    global pos
    start = pos
    if text[pos] == "-":
        pos = pos + 1
    c = text[pos]
    while c >= "0" and c <= "9":
        pos = pos + 1
        c = text[pos]
    return int(text[start:pos])

def parse_array():
    global pos
    pos = pos + 1
    items = []
    skip_spaces()
    if text[pos] == "]":
        pos = pos + 1
        return items
    while True:
        items.append(parse_value())
        skip_spaces()
        c = text[pos]
        pos = pos + 1
        if c == "]":
            return items

def parse_object():
    global pos
    pos = pos + 1
    obj = {}
    skip_spaces()
    if text[pos] == "}":
        pos = pos + 1
        return obj
    while True:
        skip_spaces()
        key = parse_string()
        skip_spaces()
        pos = pos + 1
        obj[key] = parse_value()
        skip_spaces()
        c = text[pos]
        pos = pos + 1
        if c == "}":
            return obj

def parse_value():
    global pos
    skip_spaces()
    c = text[pos]
    if c == "{":
        return parse_object()
    elif c == "[":
        return parse_array()
    elif c == "\"":
        return parse_string()
    elif c == "t":
        pos = pos + 4
        return True
    elif c == "f":
        pos = pos + 5
        return False
    elif c == "n":
        pos = pos + 4
        return None
    return parse_number()

def parse(source):
    global text, pos
    text = source
    pos = 0
    return parse_value()

def emit(value, out):
    if value is None:
        out.append("null")
    elif value is True:
        out.append("true")
    elif value is False:
        out.append("false")
    elif isinstance(value, int):
        out.append(str(value))
    elif isinstance(value, str):
        out += ["\"", escape(value), "\""]
    elif isinstance(value, list):
        out.append("[")
        first = True
        for item in value:
            if not first:
                out.append(", ")
            first = False
            emit(item, out)
        out.append("]")
    else:
        out.append("{")
        first = True
        for key in value:
            if not first:
                out.append(", ")
            first = False
            out += ["\"", escape(key), "\": "]
            emit(value[key], out)
        out.append("}")

def walk(value, depth):
    if value is None:
        return 1
    elif value is True:
        return 2
    elif value is False:
        return 3
    elif isinstance(value, int):
        return value * depth
    elif isinstance(value, str):
        return len(value) + depth
    elif isinstance(value, list):
        total = 0
        for item in value:
            total = total + walk(item, depth + 1)
        return total
    total = 0
    for key in value:
        total = total + len(key) + walk(value[key], depth + 1)
    return total

def main():
    source = generate(2000)
    checksum = 0
    same = 0
    for round_ in range(20):
        doc = parse(source)
        checksum = checksum + walk(doc, 1)
        for record in doc["records"]:
            if record["active"]:
                checksum = checksum + record["score"] * len(record["tags"]) + record["meta"]["ratio"][1]
        out = []
        emit(doc, out)
        if "".join(out) == source:
            same = same + 1
    print(len(source), checksum, same)
main()
