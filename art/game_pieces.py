"""The eight food pieces with their 14 bounce frames, their backdrop tiles and the selection frame."""
import math

import cairo
from PIL import Image

import kit

CELL = 50
FRAMES = 14
KINDS = 8

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
LEAF = (0x5E, 0x9E, 0x3A)
LEAF_DARK = (0x3F, 0x7A, 0x2A)
# The main colour of each piece. Seen from a distance (each sprite's pixels averaged in linear
# light) the eight stand at least 8 L* apart, from the dark mushroom to the light egg, and stay
# 12 delta E apart for red- and green-blind eyes (scripts/piece-contrast measures them).
BODY = {
    "tomato": (0xCC, 0x26, 0x1C),
    "cheese": (0xFF, 0xF4, 0x86),
    "egg": (0xFF, 0xFD, 0xF6),
    "carrot": (0xFF, 0xB8, 0x50),
    "broccoli": (0x3A, 0xA4, 0x8C),
    "grapes": (0x56, 0x30, 0x8C),
    "doughnut": (0xFF, 0xE8, 0xC0),
    "mushroom": (0x22, 0x0E, 0x08),
}
ICING = (0xE0, 0xF2, 0xFF)


def body(ctx, path, colour, outline_width=2.2):
    """Fills path with colour lit from the top left, then strokes the warm outline."""
    ctx.new_path()
    path(ctx)
    x0, y0, x1, y1 = ctx.path_extents()
    g = cairo.LinearGradient(x0, y0, x1, y1)
    g.add_color_stop_rgb(0.0, *kit.rgb(kit.mix(colour, WHITE, 0.30))[:3])
    g.add_color_stop_rgb(0.55, *kit.rgb(colour)[:3])
    g.add_color_stop_rgb(1.0, *kit.rgb(kit.mix(colour, BLACK, 0.25))[:3])
    ctx.set_source(g)
    ctx.fill_preserve()
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(outline_width)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke()


def shine(ctx, x, y, rx, ry, alpha=0.75):
    """The one highlight of a shape: a small white ellipse."""
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(rx, ry)
    ctx.new_path()
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()
    ctx.set_source_rgba(1, 1, 1, alpha)
    ctx.fill()


def circle(x, y, r):
    return lambda c: c.arc(x, y, r, 0, 2 * math.pi)


def ellipse(x, y, rx, ry):
    def path(c):
        c.save()
        c.translate(x, y)
        c.scale(rx, ry)
        c.arc(0, 0, 1, 0, 2 * math.pi)
        c.restore()
    return path


def polygon(points):
    def path(c):
        c.move_to(*points[0])
        for p in points[1:]:
            c.line_to(*p)
        c.close_path()
    return path


def tomato(ctx):
    body(ctx, ellipse(25, 27, 18, 16.5), BODY["tomato"])
    star = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        r = 9 if i % 2 == 0 else 3.5
        star.append((25 + r * math.cos(a), 13 + r * 0.55 * math.sin(a) + 1))
    kit.shape(ctx, polygon(star), LEAF, width=1.6)
    kit.shape(ctx, lambda c: c.rectangle(24, 6, 2.5, 6), LEAF_DARK, width=1.4)
    shine(ctx, 16, 22, 4, 3)


def cheese(ctx):
    body(ctx, polygon([(6, 41), (45, 41), (45, 22), (9, 13)]), BODY["cheese"])
    body(ctx, polygon([(9, 13), (45, 22), (45, 26), (8, 17)]), (0xFF, 0xEE, 0x9A), 1.4)
    for x, y, r in ((19, 31, 3.5), (32, 34, 2.5), (36, 27, 2.0), (14, 22, 2.0)):
        kit.shape(ctx, circle(x, y, r), (0xE6, 0xB4, 0x1E), outline=None)
        ctx.new_path()
        ctx.arc(x + 0.6, y + 0.6, r * 0.6, 0, 2 * math.pi)
        ctx.set_source_rgba(*kit.rgb((0xC8, 0x92, 0x14)))
        ctx.fill()


def egg(ctx):
    def path(c):
        c.move_to(25, 5)
        c.curve_to(36, 5, 40, 25, 39, 32)
        c.curve_to(38, 41, 32, 45, 25, 45)
        c.curve_to(18, 45, 12, 41, 11, 32)
        c.curve_to(10, 25, 14, 5, 25, 5)
        c.close_path()
    body(ctx, path, BODY["egg"])
    shine(ctx, 19, 17, 3, 5, 0.95)


def carrot(ctx):
    kit.shape(ctx, polygon([(35, 13), (33, 3), (38, 11)]), LEAF, width=1.6)
    kit.shape(ctx, polygon([(37, 13), (46, 6), (41, 15)]), LEAF, width=1.6)
    kit.shape(ctx, polygon([(37, 15), (47, 17), (38, 18)]), LEAF_DARK, width=1.6)

    def path(c):
        c.move_to(5, 46)
        c.curve_to(12, 36, 22, 16, 29, 11)
        c.curve_to(34, 7, 43, 12, 40, 19)
        c.curve_to(34, 27, 18, 39, 5, 46)
        c.close_path()
    body(ctx, path, BODY["carrot"])
    ctx.set_source_rgba(*kit.rgb((0xB8, 0x54, 0x0A)))
    ctx.set_line_width(1.4)
    for t in (0.35, 0.55, 0.75):
        x = 6 + (33 - 6) * t
        y = 45 + (15 - 45) * t
        ctx.move_to(x - 2, y - 2)
        ctx.line_to(x + 2.5, y + 2.5)
        ctx.stroke()


def broccoli(ctx):
    stem = polygon([(21, 46), (29, 46), (28, 30), (33, 24), (17, 24), (22, 30)])
    body(ctx, stem, (0x9C, 0xC0, 0x6A))
    for x, y, r in ((15, 22, 9), (35, 22, 9), (20, 13, 9.5), (31, 12, 9), (25, 22, 9)):
        body(ctx, circle(x, y, r), BODY["broccoli"])
    shine(ctx, 18, 10, 3, 2.2, 0.55)
    shine(ctx, 29, 9, 2.5, 2, 0.45)


def grapes(ctx):
    kit.shape(ctx, polygon([(25, 9), (27, 2), (29, 3), (27, 10)]), (0x6B, 0x40, 0x25), width=1.4)
    kit.shape(ctx, ellipse(35, 7, 7, 4), LEAF, width=1.6)
    spots = ((16, 15), (25, 14), (34, 15), (12, 24), (21, 24), (30, 24), (39, 24),
             (17, 33), (26, 33), (35, 33), (22, 41), (31, 41))
    for x, y in spots:
        body(ctx, circle(x, y, 5.3), BODY["grapes"], 1.8)
        shine(ctx, x - 2, y - 2, 1.6, 1.2, 0.5)


def doughnut(ctx):
    """A ring doughnut with sky-blue icing and sprinkles; the hole shows the tray."""

    def dough(c):
        c.arc(25, 25, 19, 0, 2 * math.pi)
        c.new_sub_path()
        c.arc_negative(25, 25, 6, 0, -2 * math.pi)
    body(ctx, dough, BODY["doughnut"])

    def icing(c):
        c.move_to(25 + 16, 25)
        for i in range(1, 25):
            a = i * math.pi / 12
            r = 16 + (1.4 if i % 2 else -0.6)
            c.line_to(25 + r * math.cos(a), 25 + r * math.sin(a))
        c.close_path()
        c.new_sub_path()
        c.arc_negative(25, 25, 8.5, 0, -2 * math.pi)
    body(ctx, icing, ICING, 1.4)
    sprinkles = ((15, 17, 0.6, (0xFF, 0xF3, 0xD6)), (33, 14, -0.7, (0xFF, 0xD7, 0x5E)),
                 (37, 28, 0.9, (0xFF, 0xF3, 0xD6)), (20, 35, -0.3, (0xFF, 0xD7, 0x5E)),
                 (31, 37, 0.2, (0xFF, 0xF3, 0xD6)), (13, 27, 1.3, (0xFF, 0xD7, 0x5E)))
    ctx.set_line_width(2.0)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for x, y, a, colour in sprinkles:
        ctx.move_to(x - 2 * math.cos(a), y - 2 * math.sin(a))
        ctx.line_to(x + 2 * math.cos(a), y + 2 * math.sin(a))
        ctx.set_source_rgba(*kit.rgb(colour))
        ctx.stroke()
    shine(ctx, 16, 13, 3, 2, 0.7)


def mushroom(ctx):
    def stem(c):
        c.move_to(19, 28)
        c.curve_to(18, 36, 17, 42, 19, 45)
        c.line_to(31, 45)
        c.curve_to(33, 42, 32, 36, 31, 28)
        c.close_path()
    body(ctx, stem, (0x7A, 0x66, 0x50))

    def cap(c):
        c.move_to(5, 30)
        c.curve_to(5, 12, 15, 6, 25, 6)
        c.curve_to(35, 6, 45, 12, 45, 30)
        c.curve_to(35, 33, 15, 33, 5, 30)
        c.close_path()
    body(ctx, cap, BODY["mushroom"])
    for x, y, r in ((17, 16, 3.2), (30, 13, 2.6), (37, 23, 2.4), (24, 24, 2.0)):
        kit.shape(ctx, circle(x, y, r), (0xB0, 0x96, 0x76), width=1.0)


DRAW = [tomato, cheese, egg, carrot, broccoli, grapes, doughnut, mushroom]


def pose(f):
    """The bounce of frame f: lift (pixels up), tilt (radians) and swell; frame 0 is the rest."""
    h = math.sin(math.pi * f / FRAMES)
    return 3.5 * h, 0.16 * math.sin(2 * math.pi * f / FRAMES), 1.0 + 0.05 * h


def piece(kind, frame):
    surface, ctx = kit.canvas(CELL, CELL)
    lift, tilt, swell = pose(frame)
    ctx.translate(25, 45 - lift)
    ctx.rotate(tilt)
    ctx.scale(swell, swell)
    ctx.translate(-25, -45)
    DRAW[kind](ctx)
    return kit.keyed(kit.to_image(surface))


def figures():
    sheet = Image.new("RGBA", (CELL * KINDS, CELL * FRAMES), (0, 0, 0, 0))
    for kind in range(KINDS):
        for frame in range(FRAMES):
            sheet.paste(piece(kind, frame), (CELL * kind, CELL * frame))
    return sheet


TILES = [(0xFB, 0xC8, 0xBC), (0xFF, 0xEC, 0xA8), (0xE3, 0xE0, 0xD2), (0xFC, 0xD2, 0xA4),
         (0xCF, 0xE6, 0xB8), (0xDD, 0xCB, 0xEB), (0xD2, 0xE4, 0xF6), (0xE6, 0xD2, 0xBE)]


def dots(ctx, x):
    for i in range(4):
        for j in range(4):
            ctx.new_path()
            ctx.arc(x + 7 + 12 * i + 6 * (j % 2), 7 + 12 * j, 1.8, 0, 2 * math.pi)
            ctx.fill()


def stripes(ctx, x):
    for j in range(5):
        ctx.rectangle(x, 4 + 10 * j, 50, 3.5)
    ctx.fill()


def checks(ctx, x):
    for i in range(5):
        for j in range(5):
            if (i + j) % 2 == 0:
                ctx.rectangle(x + 10 * i, 10 * j, 10, 10)
    ctx.fill()


def diagonals(ctx, x):
    ctx.set_line_width(3.0)
    for k in range(-5, 6):
        ctx.move_to(x + 10 * k, 50)
        ctx.line_to(x + 10 * k + 50, 0)
    ctx.stroke()


def crosses(ctx, x):
    ctx.set_line_width(1.8)
    for i in range(3):
        for j in range(3):
            cx, cy = x + 10 + 15 * i, 10 + 15 * j
            ctx.move_to(cx - 3, cy)
            ctx.line_to(cx + 3, cy)
            ctx.move_to(cx, cy - 3)
            ctx.line_to(cx, cy + 3)
    ctx.stroke()


def rings(ctx, x):
    ctx.set_line_width(1.6)
    for i in range(3):
        for j in range(3):
            ctx.new_sub_path()
            ctx.arc(x + 10 + 15 * i, 10 + 15 * j, 3.5, 0, 2 * math.pi)
    ctx.stroke()


def waves(ctx, x):
    ctx.set_line_width(2.2)
    for j in range(4):
        y = 8 + 12 * j
        ctx.move_to(x, y)
        for k in range(5):
            ctx.curve_to(x + 10 * k + 3, y - 4, x + 10 * k + 7, y + 4, x + 10 * k + 10, y)
    ctx.stroke()


def grid(ctx, x):
    ctx.set_line_width(1.4)
    for k in range(1, 5):
        ctx.move_to(x + 10 * k, 0)
        ctx.line_to(x + 10 * k, 50)
        ctx.move_to(x, 10 * k)
        ctx.line_to(x + 50, 10 * k)
    ctx.stroke()


# Each kind's backdrop has its own pattern, so kinds differ by pattern as well as by tint.
PATTERNS = [dots, stripes, checks, diagonals, crosses, rings, waves, grid]


def tile(ctx, x, colour, pattern):
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x + 1.5, 1.5, 47, 47, 8), colour,
              outline=kit.mix(colour, BLACK, 0.25), width=1.5)
    ctx.save()
    ctx.new_path()
    kit.rounded_rect(ctx, x + 2, 2, 46, 46, 8)
    ctx.clip()
    ctx.new_path()
    ctx.set_source_rgba(*kit.rgb(kit.mix(colour, WHITE, 0.45)))
    pattern(ctx, x)
    ctx.restore()


def selection_frame(ctx, x):
    """A bright orange ring with dark edges along the cell's border; inside it is transparent."""
    ctx.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    ctx.new_path()
    kit.rounded_rect(ctx, x + 0.5, 0.5, 49, 49, 10)
    kit.rounded_rect(ctx, x + 7.5, 7.5, 35, 35, 6)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.fill()
    ctx.new_path()
    kit.rounded_rect(ctx, x + 2, 2, 46, 46, 9)
    kit.rounded_rect(ctx, x + 6, 6, 38, 38, 6)
    ctx.set_source_rgba(*kit.rgb((0xFF, 0x8C, 0x1A)))
    ctx.fill()
    ctx.new_path()
    kit.rounded_rect(ctx, x + 3, 3, 44, 44, 8)
    kit.rounded_rect(ctx, x + 4.2, 4.2, 41.6, 41.6, 7)
    ctx.set_source_rgba(*kit.rgb((0xFF, 0xE6, 0x6E)))
    ctx.fill()
    ctx.set_fill_rule(cairo.FILL_RULE_WINDING)


def easy_food():
    surface, ctx = kit.canvas(450, 50)
    for kind, colour in enumerate(TILES):
        tile(ctx, CELL * kind, colour, PATTERNS[kind])
    selection_frame(ctx, 400)
    return kit.keyed(kit.to_image(surface))


PICTURES = {"Figures.bmp": figures, "EasyFood.jpg": easy_food}
