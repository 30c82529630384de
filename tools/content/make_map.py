#!/usr/bin/env python3
"""Writes assets/data/settings/map.tsc: one marker per quest level along the
map's serpentine road, one vignette per region.

The marker kind comes from the level files themselves (a puzzle or ring game,
a boss board, a timed board, a clear-the-board board), so the map can never
disagree with the quest. Run it again after changing the quest's levels;
--check only reports whether the file on disk is current.
"""
import math
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DATA = os.path.join(ROOT, "assets", "data")

# The road's course, west to east and back, top row first. The markers are
# spread evenly along it; the map painter (tools/assetbuild/art_map.cpp)
# reads them back from map.tsc and draws its road through them.
ROAD = [(60, 90), (700, 90), (740, 130), (740, 180), (700, 220), (100, 220), (60, 260),
        (60, 310), (100, 350), (700, 350), (740, 390), (740, 440), (700, 480), (60, 480)]

# Region, first level, vignette position (top-left of a 150x60 picture). The
# vignettes sit in the gaps between the road's rows, clear of every marker
# and of the title row's strip below y 556: the game draws them over both.
STAGES = [
    ("Hearthmere", 0, (97, 8)), ("Willowfen", 9, (335, 8)), ("Amber Downs", 17, (545, 8)),
    ("Mistral Coast", 25, (545, 130)), ("Old Ostrel", 33, (385, 128)), ("Glasswood", 41, (182, 128)),
    ("Lantern Steppe", 49, (110, 262)), ("Frostmarch", 57, (270, 262)), ("Emberpeak", 65, (430, 262)),
    ("Sunken Library", 73, (590, 262)), ("Starfall Heights", 81, (545, 392)), ("Dusk Gate", 89, (377, 392)),
    ("Quiet Crown", 96, (125, 392)),
]


def road_points(count):
    """count points spread evenly along the whole road, ends included."""
    lengths = [math.dist(a, b) for a, b in zip(ROAD, ROAD[1:])]
    total = sum(lengths)
    points = []
    for i in range(count):
        want = total * i / (count - 1)
        for (a, b), seg in zip(zip(ROAD, ROAD[1:]), lengths):
            if want <= seg or (a, b) == (ROAD[-2], ROAD[-1]):
                t = min(1.0, want / seg)
                points.append((round(a[0] + (b[0] - a[0]) * t), round(a[1] + (b[1] - a[1]) * t)))
                break
            want -= seg
    return points


def read(path):
    with open(path, encoding="ascii") as f:
        return f.read()


def sequence():
    text = read(os.path.join(DATA, "settings", "sequencer.tsc"))
    first = int(re.search(r"FirstLevel\s*=\s*(\d+)", text).group(1))
    last = int(re.search(r"LastLevel\s*=\s*(\d+)", text).group(1))
    levels = {}
    for m in re.finditer(r"Level(\d+)\s*\{\s*FileName\s*=\s*\"([^\"]+)\"\s*Type\s*=\s*(\d+)", text):
        levels[int(m.group(1))] = (m.group(2), int(m.group(3)))
    return first, last, levels


def kind(name, type_):
    if type_ != 1:
        return 3
    text = read(os.path.join(DATA, "razod_levels", name))
    goal = int(re.search(r"GoalType\s*=\s*(\d+)", text).group(1))
    time = float(re.search(r"\bTime\s*=\s*([\d.]+)", text).group(1))
    if goal == 3:
        return 5
    if time > 0:
        return 4
    return 2 if goal == 2 else 1


def map_text():
    first, last, levels = sequence()
    numbers = list(range(first, last + 1))
    points = road_points(len(numbers))
    starts = [s[1] for s in STAGES]
    out = ["// The quest map: one marker per quest level along the road, one vignette per",
           "// region. Made by tools/content/make_map.py from the quest's own levels.",
           "// Kind 1 a board, 2 clear the board, 3 a puzzle or ring game, 4 a timed",
           "// board, 5 a boss level or the festival.",
           "Levels", "{"]
    for n, (x, y) in zip(numbers, points):
        stage = sum(1 for s in starts if s <= n)
        k = 5 if n == last else kind(*levels[n])
        out += [f"\tLevel{n}", "\t{", f"\t\tNumber = {n}", f"\t\tStage = {stage}", f"\t\tKind = {k}",
                f"\t\tX = {x}", f"\t\tY = {y}", "\t}"]
    out += ["}", "Stages", "{"]
    for i, (region, _, (x, y)) in enumerate(STAGES, 1):
        out += [f"\tStage{i}", "\t{", f"\t\tNumber = {i}", f"\t\tImage = \"gfx/mapa/stage-{i:02d}.png\"",
                f"\t\tX = {x}", f"\t\tY = {y}", "\t}"]
    out += ["}", ""]
    return "\n".join(out)


def main(argv):
    target = os.path.join(DATA, "settings", "map.tsc")
    text = map_text()
    if "--check" in argv:
        current = read(target) == text
        print("map.tsc is current" if current else "map.tsc is out of date: run tools/content/make_map.py")
        return 0 if current else 1
    with open(target, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
