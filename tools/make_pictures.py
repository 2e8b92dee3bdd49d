#!/usr/bin/env python3
"""Writes the window's pictures into resources/ as BMP files (24-bit; the eye mark 32-bit).

Flags, tool-button glyphs and chart-style samples, drawn here from simple shapes. Each picture
is a list of shapes painted in order; edges are smoothed by sampling every pixel 4 x 4 times.
Button glyphs are colour-keyed: the button treats every pixel of the bottom-left pixel's colour
as transparent, so they keep a margin of KEY round the drawing, and a pixel the drawing only
partly covers is mixed with a light button face instead of the key. The chart-style samples
are shown as they are, on the chart's own plot colour. The legend's eye mark carries an alpha
channel instead: transparent round the eye, partly covered pixels partly transparent, so it
sits on any colour box. Usage: make_pictures.py [folder]
"""
import math
import struct
import sys
from pathlib import Path

KEY = (255, 0, 255)       # never drawn: the transparent colour of the glyphs
FACE = (240, 240, 240)    # what a partly covered glyph pixel is mixed with
SAMPLES = 4

OUTLINE = (40, 40, 40)
FRAME = (96, 96, 96)
BLUE = (47, 126, 216)
DARK_BLUE = (27, 79, 143)
RED = (210, 40, 40)
PLOT = (192, 220, 192)    # the chart's plot background, grid and frame colours
GRID = (128, 128, 128)
CURVE = (16, 64, 192)


class Shape:
    """A colour and a test of whether a point lies inside, within a bounding box."""

    def __init__(self, colour, box, inside):
        self.colour, self.box, self.inside = colour, box, inside

    def covers(self, x, y):
        x0, y0, x1, y1 = self.box
        return x0 <= x <= x1 and y0 <= y <= y1 and self.inside(x, y)


def rect(colour, x0, y0, x1, y1):
    return Shape(colour, (x0, y0, x1, y1), lambda x, y: True)


def polygon(colour, points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]

    def inside(x, y):  # even-odd rule
        result = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                result = not result
        return result
    return Shape(colour, (min(xs), min(ys), max(xs), max(ys)), inside)


def segment(colour, ax, ay, bx, by, width):
    """A line of the given width with round ends."""
    r = width / 2
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py <= r * r
    return Shape(colour, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r),
                 inside)


def outlined(fill, line, points, width=1.2):
    """A filled polygon with its edges drawn over it."""
    shapes = [polygon(fill, points)]
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        shapes.append(segment(line, ax, ay, bx, by, width))
    return shapes


def dotted(colour, ax, ay, bx, by):
    """A one-pixel dotted line: a dot every second pixel, as the chart draws its risers."""
    steps = max(1, int(math.hypot(bx - ax, by - ay) / 2))
    dots = {(math.floor(ax + (bx - ax) * i / steps), math.floor(ay + (by - ay) * i / steps))
            for i in range(steps + 1)}
    return [rect(colour, px, py, px + 1, py + 1) for px, py in dots]


def render(width, height, shapes, background=None):
    """Pixel rows, top first. Without a background the picture is a colour-keyed glyph."""
    rows = []
    for j in range(height):
        row = []
        for i in range(width):
            total, hits = [0, 0, 0], 0
            for sj in range(SAMPLES):
                for si in range(SAMPLES):
                    x, y = i + (si + 0.5) / SAMPLES, j + (sj + 0.5) / SAMPLES
                    colour = next((s.colour for s in reversed(shapes) if s.covers(x, y)), None)
                    if colour is None:
                        colour = background or FACE
                    else:
                        hits += 1
                    total = [t + c for t, c in zip(total, colour)]
            n = SAMPLES * SAMPLES
            row.append(KEY if hits == 0 and background is None
                       else tuple(round(t / n) for t in total))
        rows.append(row)
    return rows


def render_alpha(width, height, shapes):
    """Pixel rows of (r, g, b, a), top first: the colour of the covered samples, a = coverage."""
    rows = []
    for j in range(height):
        row = []
        for i in range(width):
            total, hits = [0, 0, 0], 0
            for sj in range(SAMPLES):
                for si in range(SAMPLES):
                    x, y = i + (si + 0.5) / SAMPLES, j + (sj + 0.5) / SAMPLES
                    colour = next((s.colour for s in reversed(shapes) if s.covers(x, y)), None)
                    if colour is not None:
                        hits += 1
                        total = [t + c for t, c in zip(total, colour)]
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(t / hits) for t in total) + (round(255 * hits / SAMPLES ** 2),))
        rows.append(row)
    return rows


def write_bmp_alpha(path, rows):
    """A 32-bit BMP with a version-4 header whose bit fields name the alpha byte."""
    height, width = len(rows), len(rows[0])
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    info = struct.pack('<IiiHHIIiiII', 108, width, height, 1, 32, 3, len(pixels), 3780, 3780, 0, 0)
    info += struct.pack('<IIII', 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    info += b'sRGB'[::-1] + bytes(36 + 12)  # colour space, end points, gamma (unused)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    path.write_bytes(header + info + pixels)


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # BMP rows run bottom up, in blue-green-red order
        for r, g, b in row:
            pixels += bytes((b, g, r))
        pixels += bytes(stride - width * 3)
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    path.write_bytes(header + info + pixels)


# Flags, all 3 : 2 so that the three buttons line up, each in a thin frame.

def flag_frame(x0, y0, x1, y1):
    return [rect(FRAME, x0 - 1, y0 - 1, x1 + 1, y1 + 1)]


def bands(x0, y0, x1, y1, colours):
    h = (y1 - y0) / len(colours)
    return [rect(c, x0, y0 + k * h, x1, y0 + (k + 1) * h) for k, c in enumerate(colours)]


def russia(x0, y0, x1, y1):
    return flag_frame(x0, y0, x1, y1) + bands(x0, y0, x1, y1, [(255, 255, 255), (0, 57, 166),
                                                               (213, 43, 30)])


def germany(x0, y0, x1, y1):
    return flag_frame(x0, y0, x1, y1) + bands(x0, y0, x1, y1, [(0, 0, 0), (221, 0, 0),
                                                               (255, 206, 0)])


def united_kingdom(x0, y0, x1, y1):
    """Blue field, white saltire with the red one counterchanged, red cross edged white."""
    navy, red, white = (1, 33, 105), (200, 16, 46), (255, 255, 255)
    cx, cy, unit = (x0 + x1) / 2, (y0 + y1) / 2, (y1 - y0) / 30
    hx, hy = (x1 - x0) / 2, (y1 - y0) / 2
    norm = math.hypot(hx, hy)

    def saltire_colour(x, y):
        px, py = x - cx, y - cy
        dx, dy = math.copysign(hx, px) / norm, math.copysign(hy, py) / norm
        s = (px * dy - py * dx) / unit  # across the arm: the red lies on the arm's left
        if 0 <= s <= 2:
            return red
        return white if -3 <= s <= 3 else None

    def colour_at(x, y):
        if abs(x - cx) <= 3 * unit or abs(y - cy) <= 3 * unit:
            return red
        if abs(x - cx) <= 5 * unit or abs(y - cy) <= 5 * unit:
            return white
        return saltire_colour(x, y) or navy

    shapes = flag_frame(x0, y0, x1, y1)
    for colour in (navy, white, red):  # one shape per colour, each covering its own points
        shapes.append(Shape(colour, (x0, y0, x1, y1),
                            lambda x, y, c=colour: colour_at(x, y) == c))
    return shapes


FLAGS = {'r': russia, 'e': united_kingdom, 'd': germany}


# Tool-button glyphs, 40 x 40, drawn inside 5 .. 35.

LEFT_ARROW = [(5, 20), (18, 7), (18, 14), (35, 14), (35, 26), (18, 26), (18, 33)]


def arrow_left():
    return outlined(BLUE, DARK_BLUE, LEFT_ARROW)


def arrow_right():
    return outlined(BLUE, DARK_BLUE, [(40 - x, y) for x, y in LEFT_ARROW])


def folder():
    back = outlined((217, 165, 33), (138, 101, 16),
                    [(5, 9), (15, 9), (18, 12), (32, 12), (32, 32), (5, 32)])
    front = outlined((246, 206, 90), (138, 101, 16), [(10, 17), (36, 17), (32, 32), (5, 32)])
    return back + front


def clipboard():
    board = outlined((176, 112, 60), (100, 60, 25), [(8, 8), (32, 8), (32, 36), (8, 36)])
    paper = [rect((255, 255, 255), 11, 12, 29, 33)]
    lines = [rect((150, 150, 150), 14, y, 26, y + 1) for y in (17, 21, 25, 29)]
    clip = outlined((160, 160, 160), (70, 70, 70), [(14, 4), (26, 4), (26, 11), (14, 11)])
    return board + paper + lines + clip


# Small glyphs of the find bar and the mask rows, SMALL x SMALL.

SMALL = 18


def scaled(points, size=SMALL):
    return [(x * size / 20, y * size / 20) for x, y in points]


def arrow_up():
    return outlined(BLUE, DARK_BLUE, scaled([(10, 2), (18, 10), (13, 10), (13, 18), (7, 18),
                                             (7, 10), (2, 10)]), 1.0)


def arrow_down():
    return outlined(BLUE, DARK_BLUE, scaled([(10, 18), (18, 10), (13, 10), (13, 2), (7, 2),
                                             (7, 10), (2, 10)]), 1.0)


def cross():
    a, b = 4 * SMALL / 20, 16 * SMALL / 20
    return [segment(RED, a, a, b, b, 3.4), segment(RED, b, a, a, b, 3.4)]


def eraser():
    """A block lying at 45 degrees: a pink rubber end at the lower left, a blue sleeve."""
    c, half_length, half_width = SMALL / 2, 7 * SMALL / 20, 4 * SMALL / 20
    ux, uy = math.cos(math.radians(-45)), math.sin(math.radians(-45))

    def at(along, across):
        return (c + ux * along - uy * across, c + uy * along + ux * across)
    split = -half_length * 0.2
    rubber = outlined((240, 128, 128), OUTLINE, [at(-half_length, -half_width), at(split, -half_width),
                                                 at(split, half_width), at(-half_length, half_width)], 1.0)
    sleeve = outlined((74, 127, 192), OUTLINE, [at(split, -half_width), at(half_length, -half_width),
                                                at(half_length, half_width), at(split, half_width)], 1.0)
    return rubber + sleeve


# Chart-style samples, CHART_W x CHART_H: straight segments, steps, a status drawn straight.

CHART_W, CHART_H = 100, 50
VALUES = [(6, 38), (20, 24), (34, 30), (48, 12), (62, 20), (76, 34), (94, 16)]
STATES = [(6, 0), (26, 1), (42, 1), (58, 0), (72, 1), (94, 1)]


def plot_background():
    shapes = [rect(GRID, 0, 0, CHART_W, CHART_H), rect(PLOT, 1, 1, CHART_W - 1, CHART_H - 1)]
    shapes += [rect(GRID, x, 1, x + 1, CHART_H - 1) for x in range(25, CHART_W - 1, 25)]
    shapes += [rect(GRID, 1, y, CHART_W - 1, y + 1) for y in range(12, CHART_H - 1, 12)]
    return shapes


def straight(points):
    return [segment(CURVE, ax, ay, bx, by, 2) for (ax, ay), (bx, by) in zip(points, points[1:])]


def steps(points):
    shapes = []
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        shapes.append(segment(CURVE, ax, ay, bx, ay, 2))
        shapes += dotted(CURVE, bx, ay, bx, by)
    return shapes


def status_straight(states):
    """The same state twice: a solid level; a change: a thin dotted slope between the levels."""
    level = {0: 38.5, 1: 14.5}
    shapes = []
    for (ax, a), (bx, b) in zip(states, states[1:]):
        if a == b:
            shapes.append(segment(CURVE, ax, level[a], bx, level[b], 2))
        else:
            shapes += dotted(CURVE, ax, level[a], bx, level[b])
    return shapes


# The legend's eye mark, EYE_W x EYE_H: it fits the 30-pixel colour box and a 16-pixel row.

EYE_W, EYE_H = 22, 12


def eye():
    """An almond of two arcs, white inside, with a blue iris, a black pupil and a glint."""
    cx, cy, half, bulge = EYE_W / 2, EYE_H / 2, EYE_W / 2 - 1, EYE_H / 2 - 0.5
    radius = (half * half + bulge * bulge) / (2 * bulge)  # the arc through both corners

    def almond(shrink):
        r = radius - shrink

        def inside(x, y):
            return (x - cx) ** 2 + (y - (cy + radius - bulge)) ** 2 <= r * r and \
                (x - cx) ** 2 + (y - (cy - radius + bulge)) ** 2 <= r * r
        return inside

    def disc(colour, x, y, r):
        return Shape(colour, (x - r, y - r, x + r, y + r),
                     lambda px, py: (px - x) ** 2 + (py - y) ** 2 <= r * r)

    box = (0, 0, EYE_W, EYE_H)
    return [Shape(OUTLINE, box, almond(0)), Shape((255, 255, 255), box, almond(1.3)),
            disc(DARK_BLUE, cx, cy, 3.9), disc(BLUE, cx, cy, 3.0), disc((0, 0, 0), cx, cy, 1.6),
            disc((255, 255, 255), cx + 1.2, cy - 1.3, 0.8)]


def pictures():
    yield 'flagr', 72, 56, russia(6, 8, 66, 48), None
    yield 'flage', 72, 56, united_kingdom(6, 8, 66, 48), None
    yield 'flagd', 72, 56, germany(6, 8, 66, 48), None
    for letter, flag in FLAGS.items():
        yield 'flag' + letter + '2', 40, 40, flag(5, 10, 35, 30), None
    yield 'openfile', 40, 40, folder(), None
    yield 'prev', 40, 40, arrow_left(), None
    yield 'next', 40, 40, arrow_right(), None
    yield 'paste', 40, 40, clipboard(), None
    yield 'clear', SMALL, SMALL, eraser(), None
    yield 'moveup', SMALL, SMALL, arrow_up(), None
    yield 'movedown', SMALL, SMALL, arrow_down(), None
    yield 'delete', SMALL, SMALL, cross(), None
    yield 'chartstyle1', CHART_W, CHART_H, plot_background() + straight(VALUES), PLOT
    yield 'chartstyle2', CHART_W, CHART_H, plot_background() + steps(VALUES), PLOT
    yield 'chartstyle3', CHART_W, CHART_H, plot_background() + status_straight(STATES), PLOT


def main():
    folder_path = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent.parent / 'resources')
    for name, width, height, shapes, background in pictures():
        write_bmp(folder_path / (name + '.bmp'), render(width, height, shapes, background))
    write_bmp_alpha(folder_path / 'glaz.bmp', render_alpha(EYE_W, EYE_H, eye()))


if __name__ == '__main__':
    main()
