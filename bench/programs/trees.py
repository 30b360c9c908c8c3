# Binary trees: build many short-lived trees and one long-lived tree, and walk
# them to count their nodes. A node is a two-element list; a leaf holds Nones.
def bottom_up_tree(depth):
    if depth > 0:
        return [bottom_up_tree(depth - 1), bottom_up_tree(depth - 1)]
    return [None, None]

def item_check(tree):
    if tree[0] is None:
        return 1
    return 1 + item_check(tree[0]) + item_check(tree[1])

def main():
    min_depth = 4
    max_depth = 15
    print("stretch", max_depth + 1, item_check(bottom_up_tree(max_depth + 1)))
    long_lived = bottom_up_tree(max_depth)
    for depth in range(min_depth, max_depth + 1, 2):
        iterations = 2 ** (max_depth - depth + min_depth)
        check = 0
        for i in range(iterations):
            check = check + item_check(bottom_up_tree(depth))
        print(iterations, depth, check)
    print("long-lived", max_depth, item_check(long_lived))
main()
