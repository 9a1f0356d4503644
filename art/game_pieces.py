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
    body(ctx, ellipse(25, 27, 18, 16.5), (0xE8, 0x3A, 0x22))
    star = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        r = 9 if i % 2 == 0 else 3.5
        star.append((25 + r * math.cos(a), 13 + r * 0.55 * math.sin(a) + 1))
    kit.shape(ctx, polygon(star), LEAF, width=1.6)
    kit.shape(ctx, lambda c: c.rectangle(24, 6, 2.5, 6), LEAF_DARK, width=1.4)
    shine(ctx, 16, 22, 4, 3)


def cheese(ctx):
    body(ctx, polygon([(6, 41), (45, 41), (45, 22), (9, 13)]), (0xFF, 0xC9, 0x2E))
    body(ctx, polygon([(9, 13), (45, 22), (45, 26), (8, 17)]), (0xFF, 0xE6, 0x84), 1.4)
    for x, y, r in ((19, 31, 3.5), (32, 34, 2.5), (36, 27, 2.0), (14, 22, 2.0)):
        kit.shape(ctx, circle(x, y, r), (0xD9, 0x9A, 0x16), outline=None)
        ctx.new_path()
        ctx.arc(x + 0.6, y + 0.6, r * 0.6, 0, 2 * math.pi)
        ctx.set_source_rgba(*kit.rgb((0xB8, 0x7C, 0x10)))
        ctx.fill()


def egg(ctx):
    def path(c):
        c.move_to(25, 5)
        c.curve_to(36, 5, 40, 25, 39, 32)
        c.curve_to(38, 41, 32, 45, 25, 45)
        c.curve_to(18, 45, 12, 41, 11, 32)
        c.curve_to(10, 25, 14, 5, 25, 5)
        c.close_path()
    body(ctx, path, (0xF7, 0xF1, 0xE6))
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
    body(ctx, path, (0xF5, 0x84, 0x1F))
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
    body(ctx, stem, (0xB8, 0xD8, 0x86))
    green = (0x3E, 0x9A, 0x3A)
    for x, y, r in ((15, 22, 9), (35, 22, 9), (20, 13, 9.5), (31, 12, 9), (25, 22, 9)):
        body(ctx, circle(x, y, r), green)
    shine(ctx, 18, 10, 3, 2.2, 0.55)
    shine(ctx, 29, 9, 2.5, 2, 0.45)


def grapes(ctx):
    kit.shape(ctx, polygon([(25, 9), (27, 2), (29, 3), (27, 10)]), (0x6B, 0x40, 0x25), width=1.4)
    kit.shape(ctx, ellipse(35, 7, 7, 4), LEAF, width=1.6)
    purple = (0x7A, 0x3E, 0xA0)
    spots = ((16, 15), (25, 14), (34, 15), (12, 24), (21, 24), (30, 24), (39, 24),
             (17, 33), (26, 33), (35, 33), (22, 41), (31, 41))
    for x, y in spots:
        body(ctx, circle(x, y, 5.3), purple, 1.8)
        shine(ctx, x - 2, y - 2, 1.6, 1.2, 0.7)


def lemon(ctx):
    body(ctx, circle(25, 25, 19), (0xF2, 0xD0, 0x1E))
    kit.shape(ctx, circle(25, 25, 15.5), (0xFF, 0xF6, 0xC2), width=1.0)
    for i in range(8):
        a0 = i * math.pi / 4 + 0.09
        a1 = (i + 1) * math.pi / 4 - 0.09

        def seg(c, a0=a0, a1=a1):
            c.move_to(25 + 2.5 * math.cos((a0 + a1) / 2), 25 + 2.5 * math.sin((a0 + a1) / 2))
            c.arc(25, 25, 13.5, a0, a1)
            c.close_path()
        kit.shape(ctx, seg, (0xFF, 0xDE, 0x3C), outline=(0xE0, 0xB0, 0x18), width=0.8)
    shine(ctx, 17, 15, 3, 2, 0.8)


def mushroom(ctx):
    def stem(c):
        c.move_to(19, 28)
        c.curve_to(18, 36, 17, 42, 19, 45)
        c.line_to(31, 45)
        c.curve_to(33, 42, 32, 36, 31, 28)
        c.close_path()
    body(ctx, stem, (0xF4, 0xE7, 0xCF))

    def cap(c):
        c.move_to(5, 30)
        c.curve_to(5, 12, 15, 6, 25, 6)
        c.curve_to(35, 6, 45, 12, 45, 30)
        c.curve_to(35, 33, 15, 33, 5, 30)
        c.close_path()
    body(ctx, cap, (0xA8, 0x5C, 0x30))
    for x, y, r in ((17, 16, 3.2), (30, 13, 2.6), (37, 23, 2.4), (24, 24, 2.0)):
        kit.shape(ctx, circle(x, y, r), kit.CREAM, width=1.0)


DRAW = [tomato, cheese, egg, carrot, broccoli, grapes, lemon, mushroom]


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
         (0xCF, 0xE6, 0xB8), (0xDD, 0xCB, 0xEB), (0xF8, 0xF3, 0xB0), (0xE6, 0xD2, 0xBE)]


def tile(ctx, x, colour):
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x + 1.5, 1.5, 47, 47, 8), colour,
              outline=kit.mix(colour, BLACK, 0.25), width=1.5)
    ctx.save()
    ctx.new_path()
    kit.rounded_rect(ctx, x + 2, 2, 46, 46, 8)
    ctx.clip()
    ctx.set_source_rgba(*kit.rgb(kit.mix(colour, WHITE, 0.35)))
    for i in range(4):
        for j in range(4):
            ctx.new_path()
            ctx.arc(x + 7 + 12 * i + 6 * (j % 2), 7 + 12 * j, 1.6, 0, 2 * math.pi)
            ctx.fill()
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
        tile(ctx, CELL * kind, colour)
    selection_frame(ctx, 400)
    return kit.keyed(kit.to_image(surface))


PICTURES = {"Figures.bmp": figures, "EasyFood.jpg": easy_food}
