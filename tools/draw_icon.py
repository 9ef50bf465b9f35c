#!/usr/bin/env python3
# Draws the program's 32x32 hamburger icon and writes it as app/icon/bottles.xpm.
# Run once by hand after changing the drawing; the XPM it writes is what is kept.
import math
import os
import sys

SIZE = 32

# One key per colour; '.' is the transparent background.
PALETTE = [
    ('.', 'None'),
    ('o', '#3A2212'),  # outline
    ('b', '#DB922F'),  # bun
    ('B', '#F3BD60'),  # bun, lit
    ('d', '#B0681E'),  # bun, in shadow
    ('s', '#FFF4D6'),  # sesame seed
    ('g', '#4FB232'),  # lettuce
    ('l', '#8EDC58'),  # lettuce, lit edge
    ('G', '#2C7A1F'),  # lettuce, fold
    ('r', '#E2392B'),  # tomato
    ('R', '#A61E16'),  # tomato, shadow
    ('y', '#FFCB2B'),  # cheese
    ('Y', '#E29A10'),  # cheese, shadow
    ('p', '#6E3B1D'),  # patty
    ('P', '#4B2611'),  # patty, crust
]


def blank():
    return [['.'] * SIZE for _ in range(SIZE)]


def paint(grid, inside, key):
    """Sets key on every pixel whose centre inside() accepts."""
    for y in range(SIZE):
        for x in range(SIZE):
            if inside(x + 0.5, y + 0.5):
                grid[y][x] = key


def rounded_box(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def draw():
    g = blank()

    # Bottom bun: a flat slab with rounded lower corners, shaded underneath.
    bottom_bun = rounded_box(2, 25.2, 30, 31, 2.6)
    paint(g, bottom_bun, 'b')
    paint(g, lambda x, y: bottom_bun(x, y) and y > 29, 'd')
    paint(g, lambda x, y: 4 < x < 28 and 25 < y < 26, 'B')

    # Patty: a capsule, darker crust along the bottom, flecked with char.
    patty = rounded_box(1, 19, 31, 25.4, 2.8)
    paint(g, patty, 'p')
    paint(g, lambda x, y: patty(x, y) and y > 24, 'P')
    for x, y in [(5, 22), (9, 23), (13, 21), (18, 23), (21, 22), (27, 21), (16, 21), (3, 22),
                 (11, 22), (24, 23), (29, 23), (7, 21), (14, 23), (28, 23)]:
        g[y][x] = 'P'

    # Cheese: a thin sheet over the patty, with corners dripping down.
    paint(g, lambda x, y: 2 <= x <= 30 and 18.5 <= y <= 19.8, 'y')
    for tip_x, depth in [(7.5, 3.4), (16.5, 2.4), (24.5, 3.8)]:
        paint(g, lambda x, y, t=tip_x, d=depth:
              19.5 <= y <= 19.5 + d and abs(x - t) <= 2.2 * (1 - (y - 19.5) / d) + 0.5, 'y')
    # The right side of each drip is in shadow.
    for y in range(20, SIZE):
        for x in range(SIZE - 1):
            if g[y][x] == 'y' and g[y][x + 1] != 'y':
                g[y][x] = 'Y'

    # Tomato slice, showing between the lettuce's lobes.
    tomato = rounded_box(1.5, 14, 30.5, 18.9, 1.2)
    paint(g, tomato, 'r')
    paint(g, lambda x, y: tomato(x, y) and y > 18, 'R')

    # Lettuce: as wide as the buns, its lower edge a row of round lobes;
    # the lowest leafy row of each column, repeating every six columns.
    lobe = [14, 15, 16, 16, 16, 15]
    for x in range(SIZE):
        for y in range(12, lobe[(x + 2) % len(lobe)] + 1):
            g[y][x] = 'g'
    leaf = [row[:] for row in g]
    for y in range(SIZE - 1):
        for x in range(SIZE):
            if leaf[y][x] != 'g':
                continue
            sides = (leaf[y][x - 1] if x else 'g') + (leaf[y][x + 1] if x + 1 < SIZE else 'g')
            if leaf[y + 1][x] != 'g' or 'r' in sides:
                g[y][x] = 'G'
            elif y == 13 and (x + 2) % 6 in (2, 3, 4, 5) or y == 14 and (x + 2) % 6 in (3, 4):
                g[y][x] = 'l'

    # Top bun: a dome, lit from the upper left, shaded at its foot.
    def dome_value(x, y):
        return math.sqrt(((x - 16) / 15.0) ** 2 + ((y - 12.6) / 11.4) ** 2)

    def dome(x, y):
        return y <= 12.6 and dome_value(x, y) <= 1
    paint(g, dome, 'b')
    paint(g, lambda x, y: dome(x, y) and x < 15 and y < 8.5 and 0.62 < dome_value(x, y) < 0.86, 'B')
    paint(g, lambda x, y: dome(x, y) and y > 10.5, 'd')

    # Sesame seeds, scattered by hand so that none sits on the outline.
    for x, y in [(9, 5), (15, 3), (21, 5), (12, 7), (18, 7), (25, 8), (6, 8), (22, 10),
                 (9, 10), (15, 10)]:
        g[y][x] = 's'
        if x + 1 < SIZE:
            g[y][x + 1] = 's'

    # Dark outline: every painted pixel that touches the background.
    shape = [row[:] for row in g]
    for y in range(SIZE):
        for x in range(SIZE):
            if shape[y][x] == '.':
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < SIZE and 0 <= ny < SIZE) or shape[ny][nx] == '.':
                    g[y][x] = 'o'
                    break

    # A dark seam where the top bun sits on the lettuce, so the layers separate.
    for y in range(SIZE - 1):
        for x in range(SIZE):
            if shape[y][x] == 'd' and shape[y + 1][x] in 'glG':
                g[y][x] = 'o'
    return g


def write_xpm(grid, path):
    used = {key for row in grid for key in row}
    palette = [(k, c) for k, c in PALETTE if k in used]
    lines = ['/* XPM */',
             '/* The bottles program icon: a hamburger on a transparent background. */',
             'static const char* const bottles_xpm[] = {',
             f'"{SIZE} {SIZE} {len(palette)} 1",']
    lines += [f'"{k} c {c}",' for k, c in palette]
    rows = [''.join(row) for row in grid]
    lines += [f'"{r}",' for r in rows[:-1]] + [f'"{rows[-1]}"', '};']
    with open(path, 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'app', 'icon', 'bottles.xpm')
    os.makedirs(os.path.dirname(out), exist_ok=True)
    write_xpm(draw(), out)
