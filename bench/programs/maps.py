def main():
    m = {}
    keys = []
    for i in range(4000):
        k = "key" + str(i * 7919 % 4000)
        keys.append(k)
        m[k] = i
    total = 0
    for r in range(1, 2501):
        for k in keys:
            total = total + m[k]
        m["key" + str(r)] = r
    print(len(m), total)
main()
