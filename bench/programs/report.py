# A text report: sales records grouped by region, product and month, and by
# month alone, summed, sorted and laid out as padded columns whose widths are
# measured from the cells; amounts are integer cents written as "12.34". Each
# round reports on the records with at least a number of units and folds the
# text into a checksum.
regions = ["north", "south", "east", "west", "central", "overseas"]
products = ["anvil", "bolt", "cog", "drill", "easel", "file", "gear", "hinge", "inkpad", "jack", "kettle", "ladder"]
months = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]

seed = 31337


def next_random(limit):
    global seed
    seed = seed * 16807 % 2147483647
    return seed % limit


records = []
for i in range(30000):
    records.append({
        "region": regions[next_random(len(regions))],
        "product": products[next_random(len(products))],
        "month": next_random(12),
        "units": 1 + next_random(50),
        "price": 100 + next_random(9900),
    })


def money(cents):
    return f"{cents // 100}.{cents % 100:02d}"


# rows: lists of cells, the first left-aligned and the others right-aligned.
def table(title, header, rows):
    widths = [len(cell) for cell in header]
    for row in rows:
        for i, cell in enumerate(row):
            if len(cell) > widths[i]:
                widths[i] = len(cell)
    lines = [title]
    for row in [header] + rows:
        cells = [row[0].ljust(widths[0])]
        for i in range(1, len(row)):
            cells.append(row[i].rjust(widths[i]))
        lines.append(" | ".join(cells))
    rule = "-" + "-" * len(lines[1]) + "-"
    return rule + "\n" + "\n".join(lines) + "\n" + rule + "\n"


def report(min_units):
    groups = {}
    by_month = [0] * 12
    total = 0
    used = 0
    for r in records:
        if r["units"] < min_units:
            continue
        amount = r["units"] * r["price"]
        key = f"{r['region']}/{r['product']}/{months[r['month']]}"
        g = groups.get(key)
        if g is None:
            g = {"name": key, "count": 0, "units": 0, "revenue": 0, "largest": 0}
            groups[key] = g
        g["count"] += 1
        g["units"] += r["units"]
        g["revenue"] += amount
        if amount > g["largest"]:
            g["largest"] = amount
        by_month[r["month"]] += amount
        total += amount
        used += 1
    ordered = sorted(groups.values(), key=lambda g: (-g["revenue"], g["name"]))
    rows = []
    for g in ordered:
        rows.append([g["name"], str(g["count"]), str(g["units"]), money(g["revenue"]),
                     money(g["revenue"] // g["count"]), money(g["largest"])])
    header = ["group", "sales", "units", "revenue", "average", "largest"]
    text = table(f"Sales by region, product and month (units >= {min_units})", header, rows)
    month_rows = []
    for m in range(12):
        share = by_month[m] * 1000 // total
        month_rows.append([months[m], money(by_month[m]), f"{share // 10}.{share % 10}%"])
    text += table("Sales by month", ["month", "revenue", "share"], month_rows)
    return text + f"{used} records, total {money(total)}\n"


def main():
    checksum = 0
    size = 0
    last = ""
    for round in range(1, 41):
        text = report(round)
        size += len(text)
        for c in text:
            checksum = (checksum * 31 + ord(c)) % 1000000007
        last = text
    print("size", size, "checksum", checksum)
    lines = last.split("\n")
    for i in range(5):
        print(lines[i])
    print(lines[len(lines) - 2])


main()
