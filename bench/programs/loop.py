def main():
    s = 0
    for i in range(1, 70000001):
        s = s + i % 7
    print(s)
main()
