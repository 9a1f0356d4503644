"""The title picture (a sunny kitchen with a steaming pot of pelmeni) and the logo."""
import math

import cairo

import kit
import screens_common as sc

PLAY_BUTTON_AREA = (161, 406, 481, 471)


def window(ctx, x, y, w, h):
    """A kitchen window with a summer sky."""
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x - 10, y - 10, w + 20, h + 20, 10), sc.OAK_LIGHT, kit.OUTLINE, 2.5)
    kit.vertical_gradient(ctx, x, y, w, h, (0x9F, 0xD3, 0xE8), (0xDD, 0xF0, 0xF2))
    kit.shape(ctx, lambda c: c.arc(x + w * 0.78, y + h * 0.3, 22, 0, 2 * math.pi), (0xFF, 0xE6, 0x80), None)
    for cx, cy, s in ((0.25, 0.35, 1.0), (0.55, 0.2, 0.7)):
        for dx, dy, r in ((-14, 4, 12), (0, -4, 16), (16, 4, 12)):
            ctx.arc(x + w * cx + dx * s, y + h * cy + dy * s, r * s, 0, 2 * math.pi)
            ctx.new_sub_path()
        kit.fill(ctx, (0xFF, 0xFF, 0xFF), 0.9)
    kit.vertical_gradient(ctx, x, y + h * 0.72, w, h * 0.28, (0x9C, 0xC4, 0x74), kit.SAGE)
    ctx.rectangle(x + w / 2 - 3, y, 6, h)
    ctx.rectangle(x, y + h / 2 - 3, w, 6)
    kit.fill(ctx, sc.OAK_LIGHT)
    ctx.rectangle(x + 0.5, y + 0.5, w - 1, h - 1)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(1.5)
    ctx.stroke()


def bowl(ctx, cx, cy, w):
    """A bowl of pelmeni with a dollop of cream and dill."""
    kit.shape(ctx, lambda c: (c.save(), c.translate(cx, cy), c.scale(1, 0.28), c.arc(0, 0, w / 2, 0, 2 * math.pi),
                              c.restore()), (0xFF, 0xF8, 0xEA), kit.OUTLINE, 2.5)
    for i, (dx, dy, r) in enumerate(((-60, -6, 24), (-20, -14, 26), (24, -12, 25), (62, -4, 22), (-38, 8, 22),
                                     (4, 4, 24), (44, 10, 21))):
        sc.dumpling(ctx, cx + dx, cy + dy, r)
    kit.shape(ctx, lambda c: (c.save(), c.translate(cx + 6, cy - 22), c.scale(1, 0.7), c.arc(0, 0, 16, 0, 2 * math.pi),
                              c.restore()), (0xFF, 0xFF, 0xFF), kit.OUTLINE, 2.0)
    for dx, dy, ang in ((-40, -14, 0.4), (-6, -34, -0.5), (22, -26, 1.1), (48, -10, -0.2), (-22, 2, 0.9), (30, 4, -0.8)):
        ctx.save()
        ctx.translate(cx + dx, cy + dy)
        ctx.rotate(ang)
        ctx.scale(1.0, 0.45)
        ctx.arc(0, 0, 5, 0, 2 * math.pi)
        ctx.restore()
        kit.fill(ctx, (0x4E, 0x8A, 0x3A))

    def body(c):
        c.move_to(cx - w / 2, cy)
        c.curve_to(cx - w / 2 + 10, cy + w * 0.42, cx + w / 2 - 10, cy + w * 0.42, cx + w / 2, cy)
        c.curve_to(cx + w / 4, cy + 18, cx - w / 4, cy + 18, cx - w / 2, cy)
        c.close_path()
    kit.shape(ctx, body, kit.TILE_BLUE, kit.OUTLINE, 2.5)
    ctx.set_source_rgba(*kit.rgb(kit.CREAM))
    for i in range(7):
        ctx.arc(cx - w * 0.33 + i * w * 0.11, cy + w * 0.2 - abs(i - 3) * 3, 4, 0, 2 * math.pi)
        ctx.fill()


# The game's one tagline, on the logo and on the title.
TAGLINE = "cook up a match"


def title_type(ctx, s, x, y, size):
    """The big name: butter letters with a thick walnut rim and a drop shadow."""
    kit.set_font(ctx, size, True)
    ext = ctx.text_extents(s)
    left = x - ext.width / 2 - ext.x_bearing
    base = y - ext.height / 2 - ext.y_bearing
    for dx, dy, colour, width in ((5, 6, (0x5A, 0x33, 0x1C), 14), (0, 0, kit.OUTLINE, 12), (0, 0, kit.CREAM, 5)):
        ctx.new_path()
        ctx.move_to(left + dx, base + dy)
        ctx.text_path(s)
        ctx.set_source_rgba(*kit.rgb(colour))
        ctx.set_line_width(width)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke_preserve()
        ctx.fill()
    ctx.new_path()
    ctx.move_to(left, base)
    ctx.text_path(s)
    g = cairo.LinearGradient(0, y - ext.height / 2, 0, y + ext.height / 2)
    g.add_color_stop_rgb(0, *kit.rgb((0xFF, 0xE9, 0x8C))[:3])
    g.add_color_stop_rgb(1, *kit.rgb((0xF2, 0x9A, 0x2E))[:3])
    ctx.set_source(g)
    ctx.fill()


def utensils(ctx):
    """A rail of hanging kitchen tools on the left wall."""
    kit.shape(ctx, lambda c: kit.rounded_rect(c, 14, 18, 104, 8, 4), (0xB0, 0xB0, 0xB4), kit.OUTLINE, 2.0)
    for i, (kind, length) in enumerate((("ladle", 62), ("whisk", 50), ("spoon", 66))):
        x = 34 + i * 32
        ctx.new_path()
        ctx.arc(x, 32, 6, math.pi, 2 * math.pi)
        ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
        ctx.set_line_width(2.0)
        ctx.stroke()
        handle = sc.OAK if kind == "spoon" else (0xC8, 0xC8, 0xCC)
        kit.shape(ctx, lambda c, x=x, length=length: kit.rounded_rect(c, x - 4, 28, 8, length, 4), handle, kit.OUTLINE, 2.0)
        tip = 28 + length
        if kind == "ladle":
            kit.shape(ctx, lambda c, x=x, tip=tip: c.arc(x, tip, 13, 0, math.pi), (0xC8, 0xC8, 0xCC), kit.OUTLINE, 2.0)
        elif kind == "whisk":
            ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
            ctx.set_line_width(1.6)
            for k in (-1, -0.4, 0.4, 1):
                ctx.move_to(x, tip - 4)
                ctx.curve_to(x + 11 * k, tip + 6, x + 9 * k, tip + 22, x, tip + 26)
                ctx.stroke()
        else:
            kit.shape(ctx, lambda c, x=x, tip=tip: (c.save(), c.translate(x, tip + 12), c.scale(0.7, 1),
                                                    c.arc(0, 0, 11, 0, 2 * math.pi), c.restore()), sc.OAK_LIGHT, kit.OUTLINE, 2.0)


def draw_title(ctx):
    sc.tiles(ctx, 0, 0, 640, 330, 40, kit.CREAM)
    window(ctx, 470, 172, 140, 112)
    utensils(ctx)
    # The counter.
    kit.vertical_gradient(ctx, 0, 322, 640, 14, (0xE8, 0xB4, 0x7A), sc.OAK)
    sc.wood(ctx, 0, 336, 640, 144, sc.OAK, kit.mix(sc.OAK, kit.WALNUT, 0.6))
    ctx.rectangle(0, 335, 640, 1.5)
    kit.fill(ctx, kit.OUTLINE)
    # Cutting board with food on the right, pot on the left, bowl of pelmeni in the middle.
    kit.shape(ctx, lambda c: kit.rounded_rect(c, 448, 300, 170, 40, 12), sc.OAK_LIGHT, kit.OUTLINE, 2.5)
    sc.tomato(ctx, 480, 298, 22)
    sc.cheese(ctx, 530, 300, 24)
    sc.carrot(ctx, 584, 300, 18)
    sc.pot(ctx, 110, 336, 120, 80)
    sc.steam(ctx, 110, 240, 40)
    bowl(ctx, 320, 300, 210)
    sc.steam(ctx, 320, 256, 50, (255, 255, 255), 0.9)
    title_type(ctx, "Pelmaro", 320, 84, 92)
    kit.text(ctx, TAGLINE, 320, 152, 21, kit.WALNUT)
    # The place of the play button: a cream mat on the counter the button art is laid over.
    kit.shape(ctx, lambda c: kit.rounded_rect(c, 150, 398, 342, 80, 22), kit.mix(sc.OAK, kit.WALNUT, 0.5), None)
    ctx.new_path()
    kit.rounded_rect(ctx, 150, 398, 342, 80, 22)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE, 0.6))
    ctx.set_line_width(2.0)
    ctx.stroke()


def game_go():
    return sc.opaque(sc.render(640, 480, draw_title))


def logo_emblem(ctx, cx, cy):
    """A copper pan holding one big pelmen: the game's mark."""
    ctx.new_path()
    ctx.arc(cx, cy, 78, 0, 2 * math.pi)
    ctx.set_source_rgba(*kit.rgb(kit.BUTTER))
    ctx.fill()
    kit.shape(ctx, lambda c: c.arc(cx, cy, 70, 0, 2 * math.pi), kit.COPPER, kit.OUTLINE, 4.0)
    kit.shape(ctx, lambda c: c.arc(cx, cy, 56, 0, 2 * math.pi), kit.mix(kit.COPPER, kit.WALNUT, 0.45), None)
    sc.dumpling(ctx, cx, cy + 8, 42)
    sc.steam(ctx, cx, cy - 34, 26, kit.CREAM, 0.9, 3.0)


def draw_logo(ctx):
    ctx.rectangle(0, 0, 487, 200)
    kit.fill(ctx, (0, 0, 0))
    logo_emblem(ctx, 92, 95)
    kit.text(ctx, "Pelmaro", 326, 84, 64, kit.BUTTER, outline=kit.COPPER, outline_width=4.0)
    kit.text(ctx, TAGLINE, 326, 140, 18, kit.CREAM, bold=False)
    # The two strips under the logo: version at the left of the screen, a row of food dots at the right.
    kit.text(ctx, "version 1.0", 131 + 45, 195.5, 8, (0xB0, 0xA8, 0x98), bold=True)
    for i, colour in enumerate((kit.TOMATO, kit.BUTTER, kit.CREAM, (0xF6, 0x8A, 0x22), kit.SAGE, (0x6A, 0x3A, 0x9A),
                                (0x96, 0xCA, 0xFC), (0x7A, 0x52, 0x3A))):
        ctx.arc(8 + i * 16, 195.5, 3.2, 0, 2 * math.pi)
        kit.fill(ctx, colour)


def logo():
    return sc.opaque(sc.render(487, 200, draw_logo))


PICTURES = {
    "GameGo.jpg": game_go,
    "Logo.jpg": logo,
}
