def main():
    seed = 12345
    data = []
    for i in range(300000):
        seed = seed * 16807 % 2147483647
        data.append(seed % 1000000)
    s = sorted(data)
    descending = sorted(data, reverse=True)
    pairs = [[data[i] % 100, i] for i in range(50000)]
    by_first = sorted(pairs, key=lambda p: p[0])
    print(s[0], s[299999], descending[0], descending[150000], by_first[0][1], by_first[49999][1])
main()
