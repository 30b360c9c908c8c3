def main():
    parts = []
    total = 0
    for i in range(1, 450001):
        s = "item" + str(i) + ":" + str(i % 97) + ";"
        total = total + len(s)
        parts.append(s)
    joined = "".join(parts)
    line = ""
    for i in range(20000):
        line = line + "ab"
    print(total, len(joined), len(line))
main()
