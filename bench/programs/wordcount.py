# Word frequencies over a text read line by line from standard input: words
# are lower-cased and stripped of commas and full stops, then counted, alone
# and in pairs of neighbours, in two dicts. Prints the ten most frequent words
# (ties in alphabetical order) and the most frequent pair.
import functools
import sys

def main():
    counts = {}
    pairs = {}
    lines = 0
    words = 0
    previous = ""
    for line in sys.stdin:
        lines = lines + 1
        for word in line.lower().replace(",", "").replace(".", "").split():
            words = words + 1
            seen = counts.get(word)
            if seen is None:
                counts[word] = 1
            else:
                counts[word] = seen + 1
            pair = previous + " " + word
            seen_pair = pairs.get(pair)
            if seen_pair is None:
                pairs[pair] = 1
            else:
                pairs[pair] = seen_pair + 1
            previous = word

    def before(a, b):
        ca = counts[a]
        cb = counts[b]
        if ca != cb:
            return -1 if ca > cb else 1
        return -1 if a < b else 1
    ranked = sorted(counts, key=functools.cmp_to_key(before))
    top_pair = ""
    top_count = 0
    for pair in pairs:
        c = pairs[pair]
        if c > top_count or (c == top_count and pair < top_pair):
            top_pair = pair
            top_count = c
    print(lines, words, len(counts), len(pairs), top_pair, top_count)
    for i in range(10):
        print(ranked[i], counts[ranked[i]])
main()
