#!/usr/bin/env python3
"""Writes a deterministic G-code program of typical CAM output, for benchmarks.

    bench/gen-program.py [--raster] LINES FILE

Without --raster: mostly linear cuts with line numbers, feeds and three axes to random points
over 100 x 100 units, with rapid moves, arcs and comment lines mixed in, so nearly every move is
a long line across the plot.

With --raster: the short moves of a surfacing or engraving raster. Zig-zag rows of 0.25-unit
cuts over a 100 x 100 area that follow a curved surface, joined at each row end by a half-circle
arc, with a lift and a rapid move every 50 rows and a comment, retract and deeper layer after
every full pass over the area.

Every run with the same arguments writes the same bytes.
"""
import math
import random
import sys


def header(count):
    yield "%"
    yield "(generated CAM program, %d lines)" % count
    yield "G90 G21 G17"
    yield "M3 S12000"


def random_moves(count):
    rng = random.Random(20261209)
    yield from header(count)
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


STEP = 0.25          # length of one cut along a row
ROW_CUTS = 400       # cuts per row: rows are 100 units long
STEPOVER = 0.1       # distance between rows: 1000 rows cover 100 units
ROWS_PER_PASS = 1000
LIFT_EVERY = 50      # rows between lifts with a rapid move
LAYER = 0.5          # depth added by each pass


def raster_moves(count):
    """Yields the body lines of the raster without numbers; the caller numbers and cuts them."""
    rng = random.Random(20261210)

    def depth(layer, x, y):
        surface = 0.8 * math.sin(x / 7.0) * math.cos(y / 11.0) + 0.3 * math.sin((x + y) / 3.0)
        return -LAYER * (layer + 1) + surface + rng.uniform(-0.005, 0.005)

    layer = 0
    while True:
        yield "(pass %d)" % (layer + 1)
        yield "G0 Z5"
        yield "G0 X0.0000 Y-50.0000"
        yield "G1 Z%.4f F300" % depth(layer, 0.0, -50.0)
        for row in range(ROWS_PER_PASS):
            y = -50.0 + row * STEPOVER
            forward = row % 2 == 0
            for cut in range(1, ROW_CUTS + 1):
                x = cut * STEP if forward else 100.0 - cut * STEP
                yield "G1 X%.4f Y%.4f Z%.4f F1200" % (x, y, depth(layer, x, y))
            x = 100.0 if forward else 0.0
            if (row + 1) % LIFT_EVERY == 0:
                yield "G0 Z%.4f" % (depth(layer, x, y) + 1.0)
                yield "G0 X%.4f Y%.4f" % (x, y + STEPOVER)
                yield "G1 Z%.4f F300" % depth(layer, x, y + STEPOVER)
            else:
                # Half a circle to the next row, turning away from the area.
                yield "%s X%.4f Y%.4f I0.0000 J%.4f" % ("G3" if forward else "G2", x,
                                                         y + STEPOVER, STEPOVER / 2)
        layer += 1


def raster(count):
    yield from header(count)
    n = 4
    for line in raster_moves(count):
        if n >= count - 1:
            break
        yield line if line.startswith("(") else "N%d %s" % ((n + 1) * 10, line)
        n += 1
    yield "M30"


def main():
    args = sys.argv[1:]
    style = random_moves
    if args and args[0] == "--raster":
        style = raster
        args = args[1:]
    if len(args) != 2:
        sys.exit("usage: gen-program.py [--raster] LINES FILE")
    count = int(args[0])
    with open(args[1], "w", newline="\n") as out:
        for line in style(count):
            out.write(line + "\n")


if __name__ == "__main__":
    main()
