#!/usr/bin/env python3
"""Writes a deterministic G-code program of typical CAM output, for benchmarks.

    bench/gen-program.py LINES FILE

Mostly linear cuts with line numbers, feeds and three axes, with rapid moves, arcs and comment
lines mixed in; every run with the same LINES writes the same bytes.
"""
import random
import sys


def program(count):
    rng = random.Random(20261209)
    yield "%"
    yield "(generated CAM program, %d lines)" % count
    yield "G90 G21 G17"
    yield "M3 S12000"
    n = 4
    while n < count - 1:
        kind = rng.random()
        x = rng.uniform(0, 100)
        y = rng.uniform(-50, 50)
        z = rng.uniform(-5, 0.5)
        number = (n + 1) * 10
        if kind < 0.02:
            line = "(pass %d)" % n
        elif kind < 0.07:
            line = "N%d G0 X%.4f Y%.4f Z5" % (number, x, y)
        elif kind < 0.12:
            line = "N%d G2 X%.4f Y%.4f I%.4f J%.4f" % (number, x, y,
                                                      rng.uniform(-5, 5), rng.uniform(-5, 5))
        elif kind < 0.15:
            line = "N%d G3 X%.4f Y%.4f R%.4f" % (number, x, y, rng.uniform(1, 20))
        else:
            line = "N%d G1 X%.4f Y%.4f Z%.1f F1200" % (number, x, y, z)
        yield line
        n += 1
    yield "M30"


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: gen-program.py LINES FILE")
    count = int(sys.argv[1])
    with open(sys.argv[2], "w", newline="\n") as out:
        for line in program(count):
            out.write(line + "\n")


if __name__ == "__main__":
    main()
