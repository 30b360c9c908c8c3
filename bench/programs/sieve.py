def main():
    n = 4000000
    flags = []
    for i in range(n + 1):
        flags.append(True)
    count = 0
    for i in range(2, n + 1):
        if flags[i]:
            count = count + 1
            j = i * i
            while j <= n:
                flags[j] = False
                j = j + i
    stack = []
    popped = 0
    for i in range(1, 2000001):
        stack.append(i)
        if i % 3 == 0:
            popped = popped + stack.pop()
    print(count, len(stack), popped)
main()
