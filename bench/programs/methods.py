# Objects as dicts whose methods are closures stored as fields and called
# with the object as their first argument. A class is a dict of methods; a
# subclass copies its parent's dict and overrides some entries, and a
# constructor copies the class's methods into each new object. Sizes are
# integers, and a circle's area uses 355/113 for pi, so every runtime
# computes the same.


def shape_describe(self):
    return self["kind"] + " " + str(self["area"](self))


def shape_scale(self, factor):
    self["size"] = self["size"] * factor


def shape_shrink(self):
    if self["size"] > 1:
        self["size"] = self["size"] // 2


def shape_bigger(self, other):
    return self["area"](self) > other["area"](other)


Shape = {"describe": shape_describe, "scale": shape_scale, "shrink": shape_shrink, "bigger": shape_bigger}


def subclass(parent):
    methods = dict(parent)
    methods["parent"] = parent
    return methods


Square = subclass(Shape)
Square["area"] = lambda self: self["size"] * self["size"]
Square["perimeter"] = lambda self: 4 * self["size"]

Rect = subclass(Square)
Rect["area"] = lambda self: self["size"] * self["width"]
Rect["perimeter"] = lambda self: 2 * (self["size"] + self["width"])


def rect_scale(self, factor):
    Square["scale"](self, factor)
    self["width"] = self["width"] * factor


def rect_shrink(self):
    Square["shrink"](self)
    if self["width"] > 1:
        self["width"] = self["width"] // 2


Rect["scale"] = rect_scale
Rect["shrink"] = rect_shrink

Circle = subclass(Shape)
Circle["area"] = lambda self: self["size"] * self["size"] * 355 // 113
Circle["perimeter"] = lambda self: 2 * self["size"] * 355 // 113
Circle["describe"] = lambda self: "round " + Shape["describe"](self)


def new(cls, kind, size):
    obj = {"kind": kind, "size": size}
    for name, fn in cls.items():
        obj[name] = fn
    return obj


seed = 99


def next_random(limit):
    global seed
    seed = seed * 16807 % 2147483647
    return seed % limit


def main():
    shapes = []
    for i in range(300):
        k = next_random(3)
        size = 1 + next_random(40)
        if k == 0:
            shapes.append(new(Square, "square", size))
        elif k == 1:
            r = new(Rect, "rect", size)
            r["width"] = 1 + next_random(40)
            shapes.append(r)
        else:
            shapes.append(new(Circle, "circle", size))

    total_area = 0
    total_perimeter = 0
    wins = 0
    described = 0
    n = len(shapes)
    for round in range(1, 6001):
        for i in range(n):
            s = shapes[i]
            total_area += s["area"](s)
            total_perimeter += s["perimeter"](s)
            if s["bigger"](s, shapes[(i + round) % n]):
                wins += 1
            if s["size"] > 200:
                s["shrink"](s)
            elif (i + round) % 7 == 0:
                s["scale"](s, 2)
        d = shapes[round % n]
        described += len(d["describe"](d))
    print("area", total_area % 1000000007, "perimeter", total_perimeter)
    print("wins", wins, "described", described)
    print(shapes[0]["describe"](shapes[0]), shapes[1]["describe"](shapes[1]), shapes[2]["describe"](shapes[2]))


main()
