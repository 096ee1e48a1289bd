#!/usr/bin/env python3
"""Writes the expected machine path motions of G-code programs with LinuxCNC's rs274.

    scripts/golden-machine.py [PROGRAM.ngc ...]

With no names it takes every tests/data/machine/*.ngc and tests/data/machine/corpus/*.
For each program it writes NAME.motions beside it in zorvit-table's --motions format: one
motion per line, "LINE KIND X Y Z" in millimetres of machine coordinates, arcs followed by
"C CX CY CZ PLANE DIR TURNS". rs274 prints moves in program units in the work frame, with the
offsets as separate calls, and no source lines: the script numbers each line with an N word
before rs274 reads it, follows the unit and offset calls and converts every move.

rs274 (Debian package linuxcnc-uspace) reads the program with a tool table of zero-length
tools 1 to 99 and no parameter file, so every offset starts at 0. A program that rs274 stops at
an error gets no file; its error is printed and the script exits with 1. A program that ends
without M2 or "%" is read to its last line, as a machine's preview reads it.
"""

import math
import os
import re
import shutil
import subprocess
import sys
import tempfile

MM_PER_INCH = 25.4
TOOLS = 99
CALL = re.compile(r"^\s*\d+\s+N(\d+|\.\.\.\.\.)\s*([A-Z_0-9]+)\((.*)\)\s*$")
UNTERMINATED = "File ended with no percent sign or program end"
LEADING_N = re.compile(r"^(\s*/?\s*)[nN]\s*\d+")
PLANES = {"CANON_PLANE_XY": ("XY", (0, 1, 2)), "CANON_PLANE_XZ": ("ZX", (2, 0, 1)),
          "CANON_PLANE_YZ": ("YZ", (1, 2, 0))}


def numbered(text):
    """The program with each line's N word replaced by its 1-based line number."""
    out = []
    for index, line in enumerate(text.split("\n")):
        stripped = line.strip()
        if stripped == "" or stripped == "%":
            out.append(line)
            continue
        line = LEADING_N.sub(lambda m: m.group(1), line, count=1)
        prefix = re.match(r"^\s*/?", line).group(0)
        out.append(f"{prefix}N{index + 1} {line[len(prefix):]}")
    return "\n".join(out)


def fixed(value):
    text = f"{value:.4f}"
    return "0.0000" if text == "-0.0000" else text


class Frame:
    """LinuxCNC's canonical frame: machine = rotate(program + G92) + G5x + tool offset."""

    def __init__(self):
        self.scale = 1.0
        self.g5x = [0.0, 0.0, 0.0]
        self.g92 = [0.0, 0.0, 0.0]
        self.rotation = 0.0
        self.tool = [0.0, 0.0, 0.0]
        self.plane = PLANES["CANON_PLANE_XY"]
        self.position = [0.0, 0.0, 0.0]  # machine, mm

    def to_machine(self, program):
        x, y, z = (program[i] * self.scale + self.g92[i] for i in range(3))
        angle = math.radians(self.rotation)
        x, y = x * math.cos(angle) - y * math.sin(angle), x * math.sin(angle) + y * math.cos(angle)
        return [v + self.g5x[i] + self.tool[i] for i, v in enumerate((x, y, z))]

    def to_program(self, machine):
        x, y, z = (machine[i] - self.g5x[i] - self.tool[i] for i in range(3))
        angle = -math.radians(self.rotation)
        x, y = x * math.cos(angle) - y * math.sin(angle), x * math.sin(angle) + y * math.cos(angle)
        return [(v - self.g92[i]) / self.scale for i, v in enumerate((x, y, z))]


def numbers(arguments):
    return [float(v) for v in re.split(r"[,\s]+", arguments.strip()) if v]


def convert(canon_lines):
    """The motions of rs274's canonical calls, as --motions lines."""
    frame = Frame()
    out = []
    for raw in canon_lines:
        match = CALL.match(raw)
        if not match:
            continue
        line, name, arguments = match.groups()
        if name == "USE_LENGTH_UNITS":
            frame.scale = MM_PER_INCH if "INCHES" in arguments else 1.0
        elif name == "SET_G5X_OFFSET":
            frame.g5x = [v * frame.scale for v in numbers(arguments)[1:4]]
        elif name == "SET_G92_OFFSET":
            frame.g92 = [v * frame.scale for v in numbers(arguments)[0:3]]
        elif name == "SET_XY_ROTATION":
            frame.rotation = numbers(arguments)[0]
        elif name == "USE_TOOL_LENGTH_OFFSET":
            frame.tool = [v * frame.scale for v in numbers(arguments)[0:3]]
        elif name == "SELECT_PLANE":
            frame.plane = PLANES[arguments.strip()]
        elif name in ("STRAIGHT_TRAVERSE", "STRAIGHT_FEED"):
            end = frame.to_machine(numbers(arguments)[0:3])
            kind = "rapid" if name == "STRAIGHT_TRAVERSE" else "feed"
            out.append(f"{line} {kind} " + " ".join(fixed(v) for v in end))
            frame.position = end
        elif name == "ARC_FEED":
            values = numbers(arguments)
            plane_name, (first, second, normal) = frame.plane
            start = frame.to_program(frame.position)
            end = list(start)
            end[first], end[second], end[normal] = values[0], values[1], values[5]
            centre = list(start)
            centre[first], centre[second] = values[2], values[3]
            turns = int(values[4])
            end = frame.to_machine(end)
            centre = frame.to_machine(centre)
            direction = "cw" if turns < 0 else "ccw"
            out.append(f"{line} arc " + " ".join(fixed(v) for v in end) + " C " +
                       " ".join(fixed(v) for v in centre) + f" {plane_name} {direction} {abs(turns)}")
            frame.position = end
    return out


def run_rs274(program_path, workdir):
    with open(program_path, encoding="utf-8", errors="replace", newline="") as source:
        text = source.read().replace("\r\n", "\n").replace("\r", "\n")
    # Subroutine files the program calls by name come along from its folder.
    for name in set(re.findall(r"[oO]\s*<\s*([a-z0-9_-]+)\s*>\s*call", text, re.IGNORECASE)):
        sub = os.path.join(os.path.dirname(program_path), name.lower() + ".ngc")
        if os.path.exists(sub):
            shutil.copy(sub, workdir)
    numbered_path = os.path.join(workdir, "program.ngc")
    with open(numbered_path, "w", encoding="utf-8") as target:
        target.write(numbered(text))
    tools = os.path.join(workdir, "tools.tbl")
    with open(tools, "w", encoding="utf-8") as table:
        for tool in range(1, TOOLS + 1):
            table.write(f"T{tool} P{tool} Z0 D0 ;\n")
    variables = os.path.join(workdir, "rs274.var")
    open(variables, "w", encoding="utf-8").close()
    canon = os.path.join(workdir, "canon.txt")
    result = subprocess.run(["rs274", "-t", tools, "-v", variables, "-g", numbered_path, canon],
                            stdin=subprocess.DEVNULL, capture_output=True, text=True, cwd=workdir)
    with open(canon, encoding="utf-8", errors="replace") as calls:
        lines = calls.read().split("\n")
    message = (result.stdout + result.stderr).replace("executing", "").strip()
    # A program may end with its last line, as a machine's preview reads it.
    error = result.returncode != 0 and not message.startswith(UNTERMINATED)
    return lines, (message if error else "")


def main(arguments):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    data = os.path.join(root, "tests", "data", "machine")
    programs = arguments or sorted(
        os.path.join(folder, name)
        for folder in (data, os.path.join(data, "corpus")) if os.path.isdir(folder)
        for name in os.listdir(folder) if not name.endswith((".motions", ".new", ".md")))
    failed = False
    for program in programs:
        with tempfile.TemporaryDirectory() as workdir:
            canon, error = run_rs274(program, workdir)
        if error:
            print(f"{program}: rs274 stopped: {error}", file=sys.stderr)
            failed = True
            continue
        motions = convert(canon)
        with open(os.path.splitext(program)[0] + ".motions", "w", encoding="utf-8") as out:
            out.write("".join(m + "\n" for m in motions))
        print(f"{program}: {len(motions)} motions")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
