import math
def matrix(n, seed):
    m = []
    for i in range(n):
        row = []
        for j in range(n):
            row.append(((i * 31 + j * 17 + seed) % 100) / 10.0)
        m.append(row)
    return m

def multiply(a, b, n):
    c = []
    for i in range(n):
        row = []
        ai = a[i]
        for j in range(n):
            s = 0.0
            for k in range(n):
                s = s + ai[k] * b[k][j]
            row.append(s)
        c.append(row)
    return c

n = 300
c = multiply(matrix(n, 1), matrix(n, 2), n)
trace = 0.0
for i in range(n):
    trace = trace + c[i][i]
print(math.floor(trace * 1000))
