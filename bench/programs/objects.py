def new_point(x, y):
    p = {"x": x, "y": y}
    def move(self, dx, dy):
        self["x"] = self["x"] + dx
        self["y"] = self["y"] + dy
    def norm1(self):
        return abs(self["x"]) + abs(self["y"])
    p["move"] = move
    p["norm1"] = norm1
    return p

def main():
    points = [new_point(i, -i) for i in range(100)]
    total = 0
    for step in range(1, 100001):
        for p in points:
            p["move"](p, 1, 2)
        q = points[step % 100]
        total = total + q["norm1"](q)
    print(total)
main()
