# Shortest paths on generated grids with walls: a breadth-first search for
# step counts from one corner, and Dijkstra's algorithm with a binary heap of
# [cost, cell] pairs, written out here, for the cheapest path to the opposite
# corner when each open cell costs 1 to 9 to enter. Cells are numbered
# y * width + x in flat lists.
seed = 4711


def next_random(limit):
    global seed
    seed = seed * 16807 % 2147483647
    return seed % limit


def make_grid(width, height):
    cost = []
    for i in range(width * height):
        if next_random(100) < 28:
            cost.append(0)
        else:
            cost.append(1 + next_random(9))
    cost[0] = 1
    cost[width * height - 1] = 1
    return cost


def neighbours(cell, width, height):
    x = cell % width
    y = cell // width
    result = []
    if x > 0:
        result.append(cell - 1)
    if x < width - 1:
        result.append(cell + 1)
    if y > 0:
        result.append(cell - width)
    if y < height - 1:
        result.append(cell + width)
    return result


def bfs(cost, width, height, start):
    dist = [-1] * len(cost)
    dist[start] = 0
    queue = [start]
    head = 0
    while head < len(queue):
        cell = queue[head]
        head += 1
        for nxt in neighbours(cell, width, height):
            if cost[nxt] > 0 and dist[nxt] < 0:
                dist[nxt] = dist[cell] + 1
                queue.append(nxt)
    return dist


def heap_push(heap, item):
    heap.append(item)
    i = len(heap) - 1
    while i > 0:
        parent = (i - 1) // 2
        if heap[parent][0] <= heap[i][0]:
            break
        heap[parent], heap[i] = heap[i], heap[parent]
        i = parent


def heap_pop(heap):
    top = heap[0]
    last = heap.pop()
    n = len(heap)
    if n > 0:
        heap[0] = last
        i = 0
        while True:
            left = 2 * i + 1
            right = left + 1
            smallest = i
            if left < n and heap[left][0] < heap[smallest][0]:
                smallest = left
            if right < n and heap[right][0] < heap[smallest][0]:
                smallest = right
            if smallest == i:
                break
            heap[smallest], heap[i] = heap[i], heap[smallest]
            i = smallest
    return top


def dijkstra(cost, width, height, start, goal):
    best = [-1] * len(cost)
    previous = [-1] * len(cost)
    best[start] = 0
    heap = [[0, start]]
    popped = 0
    while heap:
        d, cell = heap_pop(heap)
        popped += 1
        if d > best[cell]:
            continue
        if cell == goal:
            break
        for nxt in neighbours(cell, width, height):
            if cost[nxt] > 0:
                nd = d + cost[nxt]
                if best[nxt] < 0 or nd < best[nxt]:
                    best[nxt] = nd
                    previous[nxt] = cell
                    heap_push(heap, [nd, nxt])
    steps = 0
    if best[goal] >= 0:
        cell = goal
        while cell != start:
            cell = previous[cell]
            steps += 1
    return best[goal], steps, popped


def main():
    width = 200
    height = 200
    total = 0
    for round in range(1, 11):
        cost = make_grid(width, height)
        dist = bfs(cost, width, height, 0)
        reachable = 0
        farthest = 0
        for d in dist:
            if d >= 0:
                reachable += 1
                if d > farthest:
                    farthest = d
        goal = width * height - 1
        goal_cost, steps, popped = dijkstra(cost, width, height, 0, goal)
        print("grid", round, "reachable", reachable, "farthest", farthest, "corner", dist[goal], "cost", goal_cost,
              "steps", steps, "popped", popped)
        total += reachable + farthest + goal_cost
    print("total", total)


main()
