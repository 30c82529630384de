#!/usr/bin/env python3
"""Writes the quest's board level files, the quest sequence and the endless
and time-attack lists from quest_table.txt, always the same bytes for the
same table.

    python3 tools/content/make_quest.py            # writes into assets/data
    python3 tools/content/make_quest.py --check    # exit 1 if a file differs
    python3 tools/content/make_quest.py --rings-and-puzzles
                                                   # also the puzzle and ring
                                                   # files the sequence names
                                                   # that do not exist yet

Every board it writes is checked first (outline inside the 15 x 15 grid,
start runes on board cells, no run of three at the start, boss figures on
the board and apart); a board that breaks a rule stops the script.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
DATA = os.path.join(ROOT, "assets", "data")
GRID = 15

# ---- what the shipped catalogues hold -------------------------------------------------------
# Block sets by name. The ids are those of settings/blocks.tsc; repeats weight
# the draw. The mirrored four-cell shapes and the third five-cell shape are
# not in the catalogue, so their place goes to the mirror image the player
# can turn into (hook, zigzag) or to the other five-cell shapes.
BLOCK_SETS = {
    "Ba": "1 2 2 3 3 4 4",
    "Bb": "1 2 3 3 4 4 5",
    "Bc": "1 2 3 4 5 6 7 7 9",
    "Bd": "2 3 4 5 6 7 7 8 8 9",
    "Be": "3 4 5 6 7 7 8 8 9 10 12 12",
    "Bf": "3 4 5 6 7 7 8 8 9 10 11 12 12",
    "Bk": "1 1 1 2 2 3 4",
    "Bs": "1 1 2 2 3 4 5",
}

# Plain rune ids 1..8 have colour classes 1..8; their stones are 21..28 and
# the seal, which matches nothing, is 13.
STONE_BASE = 20
SEAL = 13

# Boss kinds of settings/bossRazod.tsc by the colour that beats them: the
# catalogue's kind n has colour n, kinds 1..6. The table names a boss by its
# colour's warden; the last three levels with a Star or Heart warden get a
# warden of a colour the catalogue has, and deal that colour instead.
TABLE_BOSS_COLOUR = {1: 1, 2: 2, 3: 3, 4: 5, 5: 4, 6: 6, 7: 7, 8: 8}
CATALOGUE_BOSS_COLOURS = range(1, 7)
BOSS_STAND_IN = {88: {7: 5}, 104: {7: 4}, 105: {8: 3}}

# Pictures and songs the asset builder makes.
# One slide per stage (slide-01 .. slide-13), Velmora restored (slide-14) and
# the two modes (slide-15 endless, slide-16 time attack). A stage's slide is
# also the picture its puzzle cuts, so the puzzle shows where the player was.
RESTORED_SLIDE, ENDLESS_SLIDE, TIMED_SLIDE = 14, 15, 16
# Six level songs, two stages each, the last one for the final three stages.
STAGE_SONG = {1: 1, 2: 1, 3: 2, 4: 2, 5: 3, 6: 3, 7: 4, 8: 4, 9: 5, 10: 5, 11: 6, 12: 6, 13: 6}
BOSS_SONG = "sfx/boss-song.ogg"
LAST_SONG = "sfx/velmora-song.ogg"
RING_POPUP_LEVELS = 2  # popups/infoRG.tsc has intro popups for ring levels 1 and 2
MODE_SONG = {n: "sfx/game-song-%d.ogg" % n for n in range(1, 7)}


def background(stage):
    return "gfx/slides/slide-%02d.jpg" % stage


def song(level, stage, goal):
    if level == 106:
        return LAST_SONG
    if goal == 3:
        return BOSS_SONG
    return "sfx/game-song-%d.ogg" % STAGE_SONG[stage]


# ---- outlines --------------------------------------------------------------------------------
def outline(code):
    """Set of (col, row) board cells of an outline such as 'NC 12 12 2'."""
    p = code.split()
    kind, n = p[0], [int(v) for v in p[1:]]
    cells = set()
    if kind == "SQ":
        w, h = n
        cells = {(c, r) for c in range(w) for r in range(h)}
    elif kind == "NC":
        w, h, k = n
        for c in range(w):
            for r in range(h):
                corner = (c < k or c >= w - k) and (r < k or r >= h - k)
                if not corner:
                    cells.add((c, r))
    elif kind == "OCT":
        s, t = n
        cells = {(c, r) for c in range(s) for r in range(s) if min(c, s - 1 - c) + min(r, s - 1 - r) >= t}
    elif kind == "RING":
        s, hole = n
        o = (s - hole) // 2
        cells = {(c, r) for c in range(s) for r in range(s) if not (o <= c < o + hole and o <= r < o + hole)}
    elif kind == "PIL":
        w, h = n
        cells = {(c, r) for c in range(w) for r in range(h)
                 if not (c % 3 == 2 and r % 3 == 2 and c != w - 1 and r != h - 1)}
    elif kind == "TWIN":
        w, h, g = n
        for c in range(2 * w + g):
            for r in range(h):
                if c < w or c >= w + g or r in (h // 2 - 1, h // 2):
                    cells.add((c, r))
    else:
        raise SystemExit("unknown outline " + code)
    return cells


def used_size(cells):
    cs = [c for c, _ in cells]
    rs = [r for _, r in cells]
    return max(cs) - min(cs) + 1, max(rs) - min(rs) + 1


# ---- start runes -----------------------------------------------------------------------------
def rune_colour(rid):
    if 1 <= rid <= 8:
        return rid
    if STONE_BASE + 1 <= rid <= STONE_BASE + 8:
        return rid - STONE_BASE
    return 0


def neighbours(c, r):
    return ((c - 1, r), (c + 1, r), (c, r - 1), (c, r + 1))


def spread(candidates, k):
    """k picks spread evenly over the candidates, in their order."""
    n = len(candidates)
    return [candidates[(2 * i + 1) * n // (2 * k)] for i in range(k)] if k else []


def place_singles(cells, runes, blocked, ids, count):
    """Runes on checkerboard cells touching no other rune, colours cycling."""
    free = sorted((c, r) for (c, r) in cells
                  if (c + r) % 2 == 0 and (c, r) not in runes and (c, r) not in blocked
                  and all(runes.get(nb, 0) == 0 for nb in neighbours(c, r)))
    free.sort(key=lambda p: (p[1], p[0]))
    if len(free) < count:
        raise SystemExit("no room for %d runes" % count)
    # Evenly spread, then walk on to the next cell still clear of runes.
    taken = 0
    order = spread(free, count)
    for want in order:
        start = free.index(want)
        for p in free[start:] + free[:start]:
            if p not in runes and all(runes.get(nb, 0) == 0 for nb in neighbours(*p)):
                runes[p] = ids[taken % len(ids)]
                taken += 1
                break
    if taken != count:
        raise SystemExit("placed %d of %d runes" % (taken, count))


def place_pairs(cells, runes, blocked, ids, count):
    """Same-colour pairs, lying and standing by turns, touching no other rune."""
    pairs, single = divmod(count, 2)
    anchors = sorted(((c, r) for (c, r) in cells if (c + r) % 2 == 0), key=lambda p: (p[1], p[0]))

    def clear(p, mates):
        return (p in cells and p not in runes and p not in blocked
                and all(runes.get(nb, 0) == 0 or nb in mates for nb in neighbours(*p)))

    placed = 0
    for i, want in enumerate(spread(anchors, pairs)):
        start = anchors.index(want)
        done = False
        for a in anchors[start:] + anchors[:start]:
            for d in ((1, 0), (0, 1)) if i % 2 == 0 else ((0, 1), (1, 0)):
                b = (a[0] + d[0], a[1] + d[1])
                if clear(a, {b}) and clear(b, {a}):
                    colour = ids[placed % len(ids)]
                    runes[a] = runes[b] = colour
                    placed += 1
                    done = True
                    break
            if done:
                break
        if not done:
            raise SystemExit("no room for pair %d" % i)
    if single:
        place_singles(cells, runes, blocked, ids[placed % len(ids):] + ids, 1)


def place_seals(cells, runes, blocked, count):
    """Seals on the cells the checkerboard leaves, spread over the board."""
    free = sorted(((c, r) for (c, r) in cells if (c + r) % 2 == 1 and (c, r) not in runes and (c, r) not in blocked),
                  key=lambda p: (p[1], p[0]))
    for want in spread(free, count):
        start = free.index(want)
        for p in free[start:] + free[:start]:
            if p not in runes:
                runes[p] = SEAL
                break


def boss_figure(x, y):
    fig = set()
    for c in range(x - 2, x + 4):
        for r in (y, y + 1):
            fig.add((c, r))
    for r in range(y - 2, y + 4):
        for c in (x, x + 1):
            fig.add((c, r))
    return fig


def boss_cells(x, y):
    return {(x, y), (x + 1, y), (x, y + 1), (x + 1, y + 1)}


def boss_arms(x, y):
    """Top-left cell of each 2 x 2 arm: left, top, right, bottom."""
    return [(x - 2, y), (x, y - 2), (x + 2, y), (x, y + 2)]


# ---- checks ----------------------------------------------------------------------------------
def longest_runs_ok(runes):
    for (c, r), rid in runes.items():
        col = rune_colour(rid)
        if not col:
            continue
        for dc, dr in ((1, 0), (0, 1)):
            n = 1
            while rune_colour(runes.get((c + dc * n, r + dr * n), 0)) == col:
                n += 1
            if n >= 3:
                return False
    return True


def check_board(name, cells, runes, bosses, cell40):
    for c, r in cells:
        assert 0 <= c < GRID and 0 <= r < GRID, name
    w, h = used_size(cells)
    if cell40:
        assert w <= 12 and h <= 12 and all(c <= 11 and r <= 11 for c, r in cells), name + ": not a 40-pixel board"
    for p in runes:
        assert p in cells, "%s: start rune off the board at %s" % (name, p)
    assert longest_runs_ok(runes), name + ": a run of three at the start"
    figures = []
    for kind, x, y in bosses:
        assert 2 <= x <= 11 and 2 <= y <= 11, name
        fig = boss_figure(x, y)
        assert fig <= cells, "%s: boss %d figure off the board" % (name, kind)
        assert not any(p in runes for p in boss_cells(x, y)), name + ": rune on a boss"
        for other in figures:
            assert not (fig & other), name + ": boss figures overlap"
        figures.append(fig)


# ---- writing ---------------------------------------------------------------------------------
def rune_set(code):
    if code.startswith("R"):
        return " ".join(str(i) for i in range(1, int(code[1:]) + 1))
    return code


def layer_lines(grid_value):
    out = []
    for r in range(GRID):
        out.append(" ".join(str(grid_value(c, r)) for c in range(GRID)))
    return out


def level_text(number, goal, rmg, razod, blocks, spells, petrify, time, colours, capacities, boss_text, bg,
               music, cells, runes):
    t = []
    t.append("Settings\n{\n\tLevel\n\t{")
    t.append("\t\tNumber = %d" % number)
    t.append("\t\tGoalType = %d" % goal)
    t.append("\t\tCopySpellsFromRMG = %d" % rmg)
    t.append("\t\tPetrifyTime = %d" % (petrify * 1000))
    t.append("\t\tTime = %d" % time)
    t.append('\t\tAvailableRazod = "%s"' % razod)
    t.append('\t\tAvailableBlocks = "%s"' % blocks)
    t.append('\t\tAvailableSpells = "%s"' % spells)
    t.append('\t\tSpheresColors = "%s"' % colours)
    t.append('\t\tSpheresCapacities = "%s"' % capacities)
    t.append('\t\tBossRazod = "%s"' % boss_text)
    t.append("\t}\n\tGraphics\n\t{")
    t.append('\t\tBackgroundImage = "%s"' % bg)
    t.append("\t}\n\tMusic\n\t{")
    t.append('\t\tSong = "%s"' % music)
    t.append("\t}\n}\nBoard\n{")
    for i, line in enumerate(layer_lines(lambda c, r: 1 if (c, r) in cells else 0)):
        t.append('\tLine%d = "%s"' % (i + 1, line))
    t.append("}\nRazod\n{")
    t.append('\tRead = "%s"' % ("1" if runes else "0"))
    if runes:
        for i, line in enumerate(layer_lines(lambda c, r: runes.get((c, r), 0))):
            t.append('\tLine%d = "%s"' % (i + 1, line))
    t.append("}\nFrame\n{")
    for k in ("LQ", "RQ", "TQ", "BQ", "LUCQ", "RUCQ", "LLCQ", "RLCQ"):
        t.append("\t%s = 0" % k)
    t.append("}")
    return "\n".join(t) + "\n"


def spheres(text):
    if text == "-":
        return "0 0 0 0 0", "0 0 0 0 0"
    cols, caps = [], []
    for part in text.split():
        c, n = part.split(":")
        cols.append(c)
        caps.append(n)
    cols += ["0"] * (5 - len(cols))
    caps += ["0"] * (5 - len(caps))
    return " ".join(cols), " ".join(caps)


# The two teaching layouts drawn by hand: L7's boss with two runes in each
# arm comes from the boss rule below; L11 is this picture (top row first).
LAYOUT_11 = [
    ". . . . . . . .",
    ". 1 1 . . 2 2 .",
    ". . . . . . . .",
    ". 3 . 1 2 . 3 .",
    ". 3 . 1 2 . 3 .",
    ". . . . . . . .",
    ". 2 2 . . 1 1 .",
    ". . . . . . . .",
]


def start_runes(level, goal, cells, colours, what):
    """(runes, bosses, rmg) for the table's start-rune column."""
    runes, bosses, blocked = {}, [], set()
    words = what.split()
    rmg = "RMG" in words
    if what == "-":
        return runes, bosses, rmg
    if words[0] == "layout11":
        for r, row in enumerate(LAYOUT_11):
            for c, v in enumerate(row.split()):
                if v != ".":
                    runes[(c, r)] = int(v)
        return runes, bosses, rmg
    if words[0] == "lattice5":
        for c in range(0, 9, 2):
            for r in range(0, 9, 2):
                if (c, r) in ((0, 0), (8, 0), (0, 8), (8, 8), (4, 4)):
                    continue
                runes[(c, r)] = 1 + ((c // 2 + r // 2) % 3)
        return runes, bosses, True
    counts = {"plain": 0, "stones": 0, "seals": 0, "arms": 0}
    i = 0
    while i < len(words):
        w = words[i]
        if w == "boss":
            i += 1
            while i < len(words) and ":" in words[i]:
                k, x, y = (int(v) for v in words[i].split(":"))
                bosses.append((k, x, y))
                i += 1
            continue
        for key in counts:
            if w.startswith(key) and w[len(key):].isdigit():
                counts[key] = int(w[len(key):])
        i += 1
    # The table names wardens by kind; the board gets the catalogue kind of
    # the same colour, which is also the rune id that beats it.
    stand_in = BOSS_STAND_IN.get(level, {})
    bosses = [(stand_in.get(TABLE_BOSS_COLOUR[k], TABLE_BOSS_COLOUR[k]), x, y) for k, x, y in bosses]
    for k, x, y in bosses:
        assert k in CATALOGUE_BOSS_COLOURS, "level %d: no warden of colour %d" % (level, k)
        blocked |= boss_cells(x, y)
    # Arm runes: the boss's own colour, diagonal inside each 2 x 2 arm.
    for k, x, y in bosses:
        for ax, ay in boss_arms(x, y):
            runes[(ax, ay)] = k
            if counts["arms"] >= 2:
                runes[(ax + 1, ay + 1)] = k
    # Seals of boss levels stand on the figures' inner corners, dealt round
    # robin: each boss's first corner, then each boss's second, ...
    if bosses and counts["seals"]:
        corners = [[(x - 1, y - 1), (x + 2, y - 1), (x - 1, y + 2), (x + 2, y + 2)] for _, x, y in bosses]
        seals = 0
        for j in range(4):
            for cs in corners:
                p = cs[j]
                if seals < counts["seals"] and p in cells and p not in runes and p not in blocked:
                    runes[p] = SEAL
                    seals += 1
        if seals != counts["seals"]:
            raise SystemExit("level %d: room for %d seals only" % (level, seals))
    plain_ids = colours
    if counts["plain"]:
        if goal == 2:
            place_pairs(cells, runes, blocked, plain_ids, counts["plain"])
        else:
            place_singles(cells, runes, blocked, plain_ids, counts["plain"])
    if counts["stones"]:
        place_singles(cells, runes, blocked, [STONE_BASE + c for c in colours], counts["stones"])
    # A board to clear counts a seal as a rune, and only a spell can take a
    # seal away: the clear-the-board levels leave their seals out, so that
    # the luck of the spells never decides whether they can be won.
    if counts["seals"] and not bosses and goal != 2:
        place_seals(cells, runes, blocked, counts["seals"])
    return runes, bosses, rmg


def board_level(row):
    level, goal = int(row[0]), int(row[1])
    outline_code, runes_code, blk, spells = row[2], row[3], row[4], row[5]
    petrify, time, sph, what, stage = int(row[6]), int(row[7]), row[8], row[9], int(row[10])
    cells = outline(outline_code)
    razod = rune_set(runes_code)
    stand_in = BOSS_STAND_IN.get(level, {})
    if goal == 3:
        razod = " ".join(str(stand_in.get(int(v), int(v))) for v in razod.split())
    plain = sorted(set(int(v) for v in razod.split()))
    runes, catalogue_bosses, rmg = start_runes(level, goal, cells, plain, what)
    name = "level_%02d.tsc" % level
    w, h = used_size(cells)
    check_board(name, cells, runes, catalogue_bosses, w <= 12 and h <= 12)
    colours, capacities = spheres(sph)
    boss_text = " ".join("%d:%d:%d" % b for b in catalogue_bosses)
    bg = background(RESTORED_SLIDE) if level == 106 else background(stage)
    text = level_text(level, goal, 1 if rmg else 0, razod, BLOCK_SETS[blk], spells, petrify, time, colours,
                      capacities, boss_text, bg, song(level, stage, goal), cells, runes)
    return name, text


def mode_level(row):
    tag, outline_code, runes_code, blk, spells, petrify, song_n = row
    n = int(tag[1:])
    endless = tag[0] == "E"
    cells = outline(outline_code)
    w, h = used_size(cells)
    name = ("endless_%02d.tsc" if endless else "timed_%02d.tsc") % n
    check_board(name, cells, {}, [], w <= 12 and h <= 12)
    bg = background(ENDLESS_SLIDE if endless else TIMED_SLIDE)
    # The free modes set the spheres aside; the file still names spheres of
    # its colours, so that played as a goal-1 level it could be won.
    razod = rune_set(runes_code)
    colours = razod.split()[:5]
    colours += ["0"] * (5 - len(colours))
    capacities = " ".join("20" if c != "0" else "0" for c in colours)
    text = level_text((200 if endless else 300) + n, 1, 0, razod, BLOCK_SETS[blk], spells,
                      int(petrify), 0, " ".join(colours), capacities, "", bg, MODE_SONG[int(song_n)], cells, {})
    return name, text


def sequence_text(rows):
    t = ["// The quest: level number to level file. Type 1 board, 2 picture puzzle, 3 ring game.",
         "Sequence", "{", "\tFirstLevel = 0", "\tLastLevel = %d" % (len(rows) - 1)]
    puzzles = rings = 0
    for i, row in enumerate(rows):
        assert int(row[0]) == i, "the table skips level %d" % i
        if row[1] == "P":
            puzzles += 1
            f, ty = "puzzle-%02d.tsc" % puzzles, 2
        elif row[1] == "R":
            rings += 1
            f, ty = "ring-%02d.tsc" % rings, 3
        else:
            f, ty = "level_%02d.tsc" % i, 1
        t += ["\tLevel%d" % i, "\t{", '\t\tFileName = "%s"' % f, "\t\tType = %d" % ty, "\t}"]
    t.append("}")
    return "\n".join(t) + "\n"


def list_text(title, prefix, names):
    t = ["// " + title]
    for i, n in enumerate(names):
        t += ["%s%d" % (prefix, i + 1), "{", '\tFileName = "%s"' % n, "}"]
    return "\n".join(t) + "\n"


def puzzle_text(n, w, h):
    a = (h // 2) * w + w // 2 - 1
    return ("Settings\n{\n\tImage = \"gfx/slides/slide-%02d.jpg\"\n\tMusic = \"sfx/velmora-puzzle.ogg\"\n"
            "\twidth = %d\n\theight = %d\n\thintA = %d\n\thintB = %d\n}\n" % (n, w, h, a, a + 1))


def ring_text(n, length, rune_ms, seconds, spells):
    return ("Settings\n{\n\tMusic = \"sfx/ring-song.ogg\"\n\tTime = %d\n\tSequenceLength = %d\n"
            "\tAvailableSpells = \"%s\"\n\tRuneTime = %d\n\tLevelNumber = %d\n}\n"
            % (seconds * 1000, length, spells, rune_ms, n))


def read_table():
    quest, modes = [], []
    with open(os.path.join(HERE, "quest_table.txt"), encoding="ascii") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            row = line.split("|")
            (modes if row[0][0] in "ET" else quest).append(row)
    return quest, modes


def outputs(with_minigames):
    quest, modes = read_table()
    files = {}
    for row in quest:
        if row[1] in "123":
            name, text = board_level(row)
            files[os.path.join("razod_levels", name)] = text
    files[os.path.join("settings", "sequencer.tsc")] = sequence_text(quest)
    endless, timed = [], []
    for row in modes:
        name, text = mode_level(row)
        files[os.path.join("razod_levels", name)] = text
        (endless if row[0][0] == "E" else timed).append(name)
    files[os.path.join("settings", "endlessLevels.tsc")] = list_text("Boards of the endless mode.", "E", endless)
    files[os.path.join("settings", "timedLevels.tsc")] = list_text("Boards of the time-attack mode.", "T", timed)
    if with_minigames:
        puzzles = rings = 0
        for row in quest:
            if row[1] == "P":
                puzzles += 1
                w, h = (int(v) for v in row[2].split())
                files[os.path.join("puzzle_levels", "puzzle-%02d.tsc" % puzzles)] = puzzle_text(puzzles, w, h)
            elif row[1] == "R":
                rings += 1
                length, ms, sec = (int(v) for v in row[2].split())
                # LevelNumber picks the ring's intro popups: the first two
                # rings have their own, every later one repeats the second's
                # reminder (longer rows, less time).
                files[os.path.join("ring_levels", "ring-%02d.tsc" % rings)] = ring_text(
                    min(rings, RING_POPUP_LEVELS), length, ms, sec, row[5])
    return files


def main(argv):
    check = "--check" in argv
    files = outputs("--rings-and-puzzles" in argv)
    differ = []
    for rel, text in sorted(files.items()):
        path = os.path.join(DATA, rel)
        old = open(path, encoding="ascii").read() if os.path.exists(path) else None
        # Puzzle and ring files are tuned by hand once they exist: only the
        # missing ones are made.
        minigame = rel.startswith("puzzle_levels") or rel.startswith("ring_levels")
        if old == text or (minigame and old is not None):
            continue
        differ.append(rel)
        if not check:
            with open(path + ".tmp", "w", encoding="ascii", newline="\n") as f:
                f.write(text)
            os.replace(path + ".tmp", path)
    for rel in differ:
        print(("differs: " if check else "wrote: ") + rel)
    return 1 if check and differ else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
