#!/usr/bin/env python3
"""Checks zorvit-transform against LinuxCNC's interpreter: runs rs274 on a program and on its
transformed text and compares the canonical motions (STRAIGHT_TRAVERSE, STRAIGHT_FEED, ARC_FEED)
one by one, each transformed in turn, within 0.001.

    scripts/check-transform-motions.py TOOL FILE (--mirror x|y|xy | --translate DX,DY[,DZ] |
                                                  --rotate DEG[,CX,CY] | --scale F)

Needs rs274 (Debian's linuxcnc-uspace). Prints the motion count and every mismatch (the first
move from the machine's start point, which no program text moves, shows as one); exits 1 when a
motion count differs."""
import math
import re
import subprocess
import sys
import tempfile

TOLERANCE = 0.001


def motions(path, work):
    out = work + "/motions.txt"
    subprocess.run(["rs274", "-g", path, out], stdin=subprocess.DEVNULL, capture_output=True)
    found, plane = [], "XY"
    for line in open(out):
        match = re.search(r"(STRAIGHT_TRAVERSE|STRAIGHT_FEED|ARC_FEED|SELECT_PLANE)\((.*)\)", line)
        if not match:
            continue
        if match.group(1) == "SELECT_PLANE":
            plane = match.group(2).split("_")[-1]
            continue
        found.append((match.group(1), plane, [float(v) for v in match.group(2).split(",")]))
    return found


def affine(option, value):
    """The XY matrix, shifts and Z scale of the option, as zorvit-transform applies it."""
    n = [float(v) for v in value.split(",")] if option != "--mirror" else []
    if option == "--mirror":
        return (-1 if "x" in value else 1), 0, 0, (-1 if "y" in value else 1), 0, 0, 1, 0
    if option == "--translate":
        return 1, 0, 0, 1, n[0], n[1], 1, (n[2] if len(n) > 2 else 0)
    if option == "--scale":
        return n[0], 0, 0, n[0], 0, 0, n[0], 0
    c, s = math.cos(math.radians(n[0])), math.sin(math.radians(n[0]))
    cx, cy = (n[1], n[2]) if len(n) > 1 else (0, 0)
    return c, -s, s, c, cx - c * cx + s * cy, cy - s * cx - c * cy, 1, 0


def expected(kind, plane, v, t):
    a, b, c, d, tx, ty, scale, tz = t
    point = lambda x, y: (a * x + b * y + tx, c * x + d * y + ty)
    if kind != "ARC_FEED":
        return list(point(v[0], v[1])) + [scale * v[2] + tz] + v[3:]
    # ARC_FEED(first end, second end, first centre, second centre, turns, normal axis end, ...),
    # the plane's axes being X Y, Z X or Y Z.
    if plane == "XY":
        x, y = point(v[0], v[1])
        cx, cy = point(v[2], v[3])
        turns = v[4] if a * d - b * c > 0 else -v[4]
        return [x, y, cx, cy, turns, scale * v[5] + tz] + v[6:]
    sx, sy = a, d  # axis-aligned here: turns out of the XY plane are refused
    first, second, normal = (scale, sx, sy) if plane == "XZ" else (sy, scale, sx)
    shift = {"XZ": (tz, tx, ty), "YZ": (ty, tz, tx)}[plane]
    turns = v[4] if first * second > 0 else -v[4]
    return [first * v[0] + shift[0], second * v[1] + shift[1], first * v[2] + shift[0],
            second * v[3] + shift[1], turns, normal * v[5] + shift[2]] + v[6:]


def main():
    tool, path, option, value = sys.argv[1:5]
    with tempfile.TemporaryDirectory() as work:
        transformed = work + "/transformed.ngc"
        result = subprocess.run([tool, option, value, path, "-o", transformed])
        if result.returncode != 0:
            return result.returncode
        before, after = motions(path, work), motions(transformed, work)
        if len(before) != len(after):
            print(f"{path}: {len(before)} motions before, {len(after)} after")
            return 1
        t = affine(option, value)
        bad = 0
        for (kind, plane, v), (kind2, _, w) in zip(before, after):
            want = expected(kind, plane, v, t)
            if kind != kind2 or any(abs(x - y) > TOLERANCE for x, y in zip(want, w)):
                bad += 1
                print(f"  {kind}{v} became {kind2}{w}, expected {want}")
        print(f"{path} {option} {value}: {len(before)} motions, {bad} mismatches")
    return 0


if __name__ == "__main__":
    sys.exit(main())
