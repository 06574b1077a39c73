#!/usr/bin/env python3
"""Mean CIE76 delta E and RMSE (percent of full scale) of two binary PPM files of one
size, both taken as sRGB. Prints "dE RMSE"."""
import sys


def read_ppm(path):
    data = open(path, 'rb').read()
    fields, i = [], 0
    while len(fields) < 4:
        while data[i:i + 1].isspace():
            i += 1
        if data[i:i + 1] == b'#':
            while data[i:i + 1] != b'\n':
                i += 1
            continue
        j = i
        while not data[j:j + 1].isspace():
            j += 1
        fields.append(data[i:j])
        i = j
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[i + 1:i + 1 + width * height * 3]


def linear(v):
    c = v / 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


LINEAR = [linear(v) for v in range(256)]


def lab(r, g, b):
    R, G, B = LINEAR[r], LINEAR[g], LINEAR[b]
    x = (0.4124 * R + 0.3576 * G + 0.1805 * B) / 0.95047
    y = 0.2126 * R + 0.7152 * G + 0.0722 * B
    z = (0.0193 * R + 0.1192 * G + 0.9505 * B) / 1.08883
    f = lambda t: t ** (1 / 3) if t > 0.008856 else 7.787 * t + 16 / 116
    return 116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))


w1, h1, a = read_ppm(sys.argv[1])
w2, h2, b = read_ppm(sys.argv[2])
if (w1, h1) != (w2, h2):
    sys.exit("sizes differ")
pixels = w1 * h1
step = max(1, pixels // 100000)  # a sample of about 100000 pixels
cache, total, squares, count = {}, 0.0, 0, 0
for k in range(0, pixels, step):
    p, q = a[3 * k:3 * k + 3], b[3 * k:3 * k + 3]
    lp = cache.get(p) or cache.setdefault(p, lab(*p))
    lq = cache.get(q) or cache.setdefault(q, lab(*q))
    total += sum((u - v) ** 2 for u, v in zip(lp, lq)) ** 0.5
    squares += sum((u - v) ** 2 for u, v in zip(p, q))
    count += 1
print("%.2f %.2f" % (total / count, 100 * (squares / (3 * count)) ** 0.5 / 255))
