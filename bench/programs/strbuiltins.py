def main():
    text = "the quick brown fox jumps over the lazy dog"
    total = 0
    for i in range(180000):
        words = text.split(" ")
        shout = "-".join(words).upper()
        fixed = shout.replace("O", "0")
        total = total + len(fixed) + len(words)
        if fixed.startswith("THE"):
            total = total + 1
        total = total + len(("  " + fixed.lower() + "  ").strip())
    print(total)
main()
