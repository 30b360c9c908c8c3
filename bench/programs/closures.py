def make_counter(step):
    count = 0
    def counter():
        nonlocal count
        count = count + step
        return count
    return counter

def main():
    counters = [make_counter(i) for i in range(1, 11)]
    total = 0
    for _ in range(2000000):
        for i in range(10):
            total = total + counters[i]()
    print(total)
main()
