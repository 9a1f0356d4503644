"""Shared drawing of the menu screens: chalkboard, wooden tags, pinned cards, buttons, overlays."""
import math

import cairo
import numpy as np
from PIL import Image

import kit

SLATE = (0x2F, 0x3B, 0x35)
SLATE_DARK = (0x25, 0x2F, 0x2A)
CHALK = (0xF4, 0xEF, 0xE2)
CHALK_DIM = (0xB9, 0xC2, 0xB6)
OAK = (0xB9, 0x7A, 0x45)
OAK_LIGHT = (0xD9, 0x9E, 0x62)
PAPER = (0xFF, 0xF6, 0xE0)
PAPER_EDGE = (0xE9, 0xD6, 0xAE)
INK = (0x4A, 0x2C, 0x18)
GLOW = (0xFF, 0xE8, 0x8A)
# Buttons and menu tags: dark ink on a light, calm wood, so their labels read at 1x; lit, the
# wood turns butter; disabled, it is grey and its ink faint.
TAG_LIGHT, TAG_DARK = (0xF6, 0xDC, 0xAE), (0xE2, 0xB4, 0x78)
TAG_LIT_LIGHT, TAG_LIT_DARK = (0xFF, 0xE6, 0x8C), (0xF4, 0xBC, 0x4E)
TAG_INK = (0x3B, 0x24, 0x14)
PIN_RED = kit.TOMATO
# Every menu tag is lettered in one size.
TAG_LABEL_SIZE = 19
GREY_WOOD = (0x8C, 0x84, 0x7C)

SCREEN_W, SCREEN_H = 640, 480


def render(width, height, draw):
    """Runs draw(ctx) on a fresh canvas and returns the picture as an RGBA image."""
    surface, ctx = kit.canvas(width, height)
    draw(ctx)
    return kit.to_image(surface)


def opaque(image, background=(0, 0, 0)):
    """The image laid over a solid colour: every pixel fully opaque."""
    under = Image.new("RGBA", image.size, background + (255,))
    return Image.alpha_composite(under, image)


def overlay(base, lit, rect):
    """The part of lit inside rect (screen coordinates) that differs from base, the rest transparent.

    Drawn at rect's corner over base, it turns base into lit there, pixel for pixel."""
    box = tuple(rect)
    a = np.asarray(base.crop(box).convert("RGBA")).astype(np.int16)
    b = np.asarray(lit.crop(box).convert("RGBA"))
    changed = np.any(a != b, axis=-1)
    out = np.zeros(b.shape, np.uint8)
    out[changed] = b[changed]
    out[changed, 3] = 255
    return Image.fromarray(out, "RGBA")


def cut_out(shape_image, background):
    """The shape laid over background, keyed: every pixel the shape touches becomes opaque."""
    merged = Image.alpha_composite(background.convert("RGBA"), shape_image)
    alpha = np.asarray(shape_image)[..., 3]
    out = np.asarray(merged).copy()
    out[..., 3] = np.where(alpha > 0, 255, 0)
    out[alpha == 0, :3] = 0
    return Image.fromarray(out, "RGBA")


def threshold(image, level=110):
    """Hard-edged copy of a keyed sprite drawn on transparency: opaque where alpha reaches level."""
    pixels = np.asarray(image).copy()
    solid = pixels[..., 3] >= level
    pixels[..., 3] = np.where(solid, 255, 0)
    pixels[~solid, :3] = 0
    return Image.fromarray(pixels, "RGBA")


def sheet(width, height):
    return Image.new("RGBA", (width, height), (0, 0, 0, 0))


def place(target, image, x, y):
    """Copies image into the sheet at (x, y), transparent pixels included."""
    target.paste(image, (x, y))


# ---------------------------------------------------------------- surfaces


def wood(ctx, x, y, w, h, light=OAK_LIGHT, dark=OAK, grain=True, grain_alpha=0.18):
    """A plank of warm wood with a soft top light and a few grain lines."""
    kit.vertical_gradient(ctx, x, y, w, h, light, dark)
    if not grain:
        return
    ctx.save()
    ctx.rectangle(x, y, w, h)
    ctx.clip()
    ctx.set_line_width(1.0)
    for i in range(int(h // 7) + 1):
        yy = y + 4 + i * 7 + 2.5 * math.sin(i * 1.7)
        ctx.move_to(x, yy)
        ctx.curve_to(x + w * 0.3, yy + 2.0 * math.sin(i), x + w * 0.6, yy - 2.0 * math.cos(i * 1.3), x + w, yy + 1)
        ctx.set_source_rgba(*kit.rgb(kit.WALNUT, grain_alpha))
        ctx.stroke()
    ctx.restore()


def chalkboard(ctx, x, y, w, h, frame=12):
    """A slate board in an oak frame, lit from the top left."""
    wood(ctx, x, y, w, h, OAK_LIGHT, kit.COPPER)
    ctx.rectangle(x + 0.5, y + 0.5, w - 1, h - 1)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(1.0)
    ctx.stroke()
    ix, iy, iw, ih = x + frame, y + frame, w - 2 * frame, h - 2 * frame
    g = cairo.RadialGradient(ix + iw * 0.3, iy + ih * 0.25, 10, ix + iw * 0.5, iy + ih * 0.5, max(iw, ih) * 0.75)
    g.add_color_stop_rgb(0, *kit.rgb(kit.mix(SLATE, CHALK, 0.06))[:3])
    g.add_color_stop_rgb(1, *kit.rgb(SLATE_DARK)[:3])
    ctx.rectangle(ix, iy, iw, ih)
    ctx.set_source(g)
    ctx.fill()
    smudges(ctx, ix, iy, iw, ih)
    ctx.rectangle(ix - 0.5, iy - 0.5, iw + 1, ih + 1)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(1.5)
    ctx.stroke()


def smudges(ctx, x, y, w, h):
    """Faint wiped-chalk clouds, placed by a fixed pattern so every bake is the same."""
    ctx.save()
    ctx.rectangle(x, y, w, h)
    ctx.clip()
    for i in range(9):
        cx = x + w * ((i * 0.37 + 0.11) % 1.0)
        cy = y + h * ((i * 0.61 + 0.23) % 1.0)
        r = 40 + (i * 23) % 50
        g = cairo.RadialGradient(cx, cy, 0, cx, cy, r)
        g.add_color_stop_rgba(0, *kit.rgb(CHALK, 0.05))
        g.add_color_stop_rgba(1, *kit.rgb(CHALK, 0.0))
        ctx.set_source(g)
        ctx.arc(cx, cy, r, 0, 2 * math.pi)
        ctx.fill()
    ctx.restore()


def tiles(ctx, x, y, w, h, size=40, colour=kit.CREAM):
    """Kitchen wall tiles with grout lines."""
    kit.vertical_gradient(ctx, x, y, w, h, colour, kit.mix(colour, kit.COPPER, 0.18))
    ctx.set_line_width(2.0)
    ctx.set_source_rgba(*kit.rgb(kit.mix(colour, kit.WALNUT, 0.25), 0.6))
    for gx in range(int(x), int(x + w) + 1, size):
        ctx.move_to(gx, y)
        ctx.line_to(gx, y + h)
    for gy in range(int(y), int(y + h) + 1, size):
        ctx.move_to(x, gy)
        ctx.line_to(x + w, gy)
    ctx.stroke()


# ---------------------------------------------------------------- type


def chalk_text(ctx, s, x, y, size, colour=CHALK, bold=True, align="centre"):
    """Chalk lettering: a soft dusty halo under crisp strokes."""
    kit.text(ctx, s, x + 1, y + 1, size, SLATE_DARK, bold, align)
    kit.set_font(ctx, size, bold)
    kit.text(ctx, s, x, y, size, colour, bold, align)


def label(ctx, s, x, y, size, colour=kit.CREAM, outline=kit.OUTLINE, width=3.0, align="centre"):
    kit.text(ctx, s, x, y, size, colour, True, align, outline=outline, outline_width=width)


# ---------------------------------------------------------------- tags, cards and buttons


def tag_path(x, y, w, h, notch=14):
    """A luggage-tag outline: a rounded plank with the left corners cut."""
    def path(ctx):
        r = 8
        ctx.move_to(x + notch, y)
        ctx.line_to(x + w - r, y)
        ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
        ctx.line_to(x + w, y + h - r)
        ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
        ctx.line_to(x + notch, y + h)
        ctx.line_to(x, y + h - notch)
        ctx.line_to(x, y + notch)
        ctx.close_path()
    return path


def wooden_tag(ctx, rect, text, state="rest"):
    """A menu button: a wooden tag with a string hole and its label. state: rest, lit, disabled."""
    l, t, r, b = rect
    x, y, w, h = l + 2, t + 2, r - l - 4, b - t - 4
    if state == "lit":
        light, dark, ink, line = TAG_LIT_LIGHT, TAG_LIT_DARK, TAG_INK, kit.OUTLINE
    elif state == "disabled":
        light, dark, ink, line = (0xA8, 0xA0, 0x96), GREY_WOOD, (0x6E, 0x68, 0x62), (0x55, 0x4C, 0x44)
    else:
        light, dark, ink, line = TAG_LIGHT, TAG_DARK, TAG_INK, kit.OUTLINE
    path = tag_path(x, y, w, h)
    ctx.save()
    ctx.new_path()
    path(ctx)
    ctx.clip()
    wood(ctx, x, y, w, h, light, dark, grain_alpha=0.08)
    ctx.restore()
    ctx.new_path()
    path(ctx)
    ctx.set_source_rgba(*kit.rgb(line))
    ctx.set_line_width(2.0)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke()
    if state == "lit":
        ctx.new_path()
        tag_path(x + 3, y + 3, w - 6, h - 6, 12)(ctx)
        ctx.set_source_rgba(*kit.rgb(GLOW))
        ctx.set_line_width(2.0)
        ctx.stroke()
    hole_x, hole_y = x + 15, y + h / 2
    kit.shape(ctx, lambda c: c.arc(hole_x, hole_y, 4.5, 0, 2 * math.pi), SLATE_DARK, line, 1.5)
    kit.set_font(ctx, TAG_LABEL_SIZE)
    assert ctx.text_extents(text).x_advance <= w - 22 - 12, text
    label(ctx, text, x + 22 + (w - 22) / 2, y + h / 2, TAG_LABEL_SIZE, ink, None)


def pin(ctx, x, y, colour=PIN_RED):
    """A push pin seen from above."""
    kit.shape(ctx, lambda c: c.arc(x, y, 7, 0, 2 * math.pi), colour, kit.OUTLINE, 1.5)
    ctx.arc(x - 2, y - 2, 2.5, 0, 2 * math.pi)
    kit.fill(ctx, kit.mix(colour, (255, 255, 255), 0.6))


def card(ctx, x, y, w, h, pins=True):
    """A cream recipe card with a ruled top and pins in its upper corners."""
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x + 1, y + 1, w - 2, h - 2, 10), PAPER, kit.OUTLINE, 2.0)
    ctx.save()
    ctx.new_path()
    kit.rounded_rect(ctx, x + 2, y + 2, w - 4, h - 4, 9)
    ctx.clip()
    g = cairo.LinearGradient(x, y, x + w, y + h)
    g.add_color_stop_rgba(0, 1, 1, 1, 0.35)
    g.add_color_stop_rgba(1, *kit.rgb(PAPER_EDGE, 0.55))
    ctx.rectangle(x, y, w, h)
    ctx.set_source(g)
    ctx.fill()
    ctx.restore()
    ctx.new_path()
    kit.rounded_rect(ctx, x + 7, y + 7, w - 14, h - 14, 6)
    ctx.set_source_rgba(*kit.rgb(kit.TOMATO, 0.55))
    ctx.set_line_width(1.0)
    ctx.set_dash([5, 3])
    ctx.stroke()
    ctx.set_dash([])
    if pins:
        pin(ctx, x + 20, y + 18)
        pin(ctx, x + w - 20, y + 18, kit.SAGE)


def button(ctx, rect, text, lit=False, size=17):
    """A small rounded wooden button on a card."""
    l, t, r, b = rect
    light, dark = (TAG_LIT_LIGHT, TAG_LIT_DARK) if lit else (TAG_LIGHT, TAG_DARK)

    def path(c):
        kit.rounded_rect(c, l + 1, t + 1, r - l - 2, b - t - 2, 8)
    ctx.save()
    ctx.new_path()
    path(ctx)
    ctx.clip()
    wood(ctx, l, t, r - l, b - t, light, dark, grain=False)
    ctx.restore()
    ctx.new_path()
    path(ctx)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(2.0)
    ctx.stroke()
    label(ctx, text, (l + r) / 2, (t + b) / 2, size, TAG_INK, None)


def glow_ring(ctx, rect, inset=2, radius=10, width=3.0):
    """A butter-yellow ring just inside rect: the hover mark of buttons and rows."""
    l, t, r, b = rect
    ctx.new_path()
    kit.rounded_rect(ctx, l + inset, t + inset, r - l - 2 * inset, b - t - 2 * inset, radius)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(width + 2)
    ctx.stroke_preserve()
    ctx.set_source_rgba(*kit.rgb(kit.BUTTER))
    ctx.set_line_width(width)
    ctx.stroke()


def check_box(ctx, mark_x, mark_y):
    """An empty box centred where the 19 x 25 check mark is drawn."""
    cx, cy = mark_x + 9.5, mark_y + 13.5
    kit.shape(ctx, lambda c: kit.rounded_rect(c, cx - 11, cy - 10, 22, 20, 4), (0xFF, 0xFC, 0xF2), INK, 2.0)


def radio(ctx, mark_x, mark_y):
    """An empty round socket centred where the 19 x 25 marker is drawn."""
    cx, cy = mark_x + 9.5, mark_y + 13.5
    kit.shape(ctx, lambda c: c.arc(cx, cy, 11, 0, 2 * math.pi), (0xFF, 0xFC, 0xF2), INK, 2.0)


def highlighter(ctx, rect, inset=2):
    """A soft butter swash behind a hovered row on paper."""
    l, t, r, b = rect
    ctx.new_path()
    kit.rounded_rect(ctx, l + inset, t + inset, r - l - 2 * inset, b - t - 2 * inset, (b - t) / 2 - inset)
    ctx.set_source_rgba(*kit.rgb(kit.BUTTER))
    ctx.fill_preserve()
    ctx.set_source_rgba(*kit.rgb(kit.COPPER))
    ctx.set_line_width(1.5)
    ctx.stroke()


# ---------------------------------------------------------------- food and kitchen things


def tomato(ctx, x, y, r):
    kit.shape(ctx, lambda c: c.arc(x, y, r, 0, 2 * math.pi), kit.TOMATO)
    ctx.arc(x - r * 0.35, y - r * 0.3, r * 0.22, 0, 2 * math.pi)
    kit.fill(ctx, (255, 255, 255), 0.45)
    star(ctx, x, y - r * 0.78, r * 0.42, kit.SAGE, kit.OUTLINE, 1.5)


def cheese(ctx, x, y, r):
    def path(c):
        c.move_to(x - r, y + r * 0.6)
        c.line_to(x + r, y + r * 0.6)
        c.line_to(x + r, y - r * 0.1)
        c.line_to(x - r, y - r * 0.7)
        c.close_path()
    kit.shape(ctx, path, kit.BUTTER)
    for hx, hy, hr in ((0.3, 0.25, 0.16), (-0.35, 0.3, 0.11), (0.65, 0.05, 0.09)):
        ctx.arc(x + hx * r, y + hy * r, hr * r, 0, 2 * math.pi)
        kit.fill(ctx, (0xE0, 0xAE, 0x3A))


def egg(ctx, x, y, r):
    def path(c):
        c.save()
        c.translate(x, y)
        c.scale(0.78, 1.0)
        c.arc(0, 0, r, 0, 2 * math.pi)
        c.restore()
    kit.shape(ctx, path, (0xFF, 0xFB, 0xF0))
    ctx.arc(x - r * 0.25, y - r * 0.4, r * 0.2, 0, 2 * math.pi)
    kit.fill(ctx, (255, 255, 255))


def fried_egg(ctx, x, y, r):
    def white(c):
        for i in range(7):
            a = i * 2 * math.pi / 7
            c.arc(x + math.cos(a) * r * 0.35, y + math.sin(a) * r * 0.3, r * 0.62, 0, 2 * math.pi)
            c.new_sub_path()
    ctx.new_path()
    white(ctx)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(3.0)
    ctx.stroke_preserve()
    ctx.set_source_rgba(*kit.rgb((0xFF, 0xFB, 0xF0)))
    ctx.fill()
    kit.shape(ctx, lambda c: c.arc(x, y, r * 0.33, 0, 2 * math.pi), (0xFF, 0xB8, 0x2E))
    ctx.arc(x - r * 0.1, y - r * 0.1, r * 0.1, 0, 2 * math.pi)
    kit.fill(ctx, (255, 255, 255), 0.7)


def carrot(ctx, x, y, r):
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(-0.7)
    for dx in (-0.25, 0.0, 0.25):
        kit.shape(ctx, lambda c, dx=dx: (c.move_to(0, -r * 0.55), c.line_to(dx * r - r * 0.12, -r * 1.05),
                                         c.line_to(dx * r + r * 0.12, -r * 1.05), c.close_path()), kit.SAGE, kit.OUTLINE, 1.5)
    kit.shape(ctx, lambda c: (c.move_to(-r * 0.3, -r * 0.6), c.line_to(r * 0.3, -r * 0.6), c.line_to(0, r * 1.0),
                              c.close_path()), (0xF0, 0x8A, 0x2A))
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE, 0.6))
    ctx.set_line_width(1.2)
    for t in (-0.2, 0.15, 0.5):
        ctx.move_to(-r * 0.18 * (1 - t), r * t)
        ctx.line_to(r * 0.05, r * t)
        ctx.stroke()
    ctx.restore()


def dumpling(ctx, x, y, r):
    """A plump pelmen with a pinched rim."""
    def path(c):
        c.move_to(x - r, y + r * 0.35)
        c.curve_to(x - r, y - r * 0.9, x + r, y - r * 0.9, x + r, y + r * 0.35)
        c.curve_to(x + r * 0.5, y + r * 0.6, x - r * 0.5, y + r * 0.6, x - r, y + r * 0.35)
        c.close_path()
    kit.shape(ctx, path, (0xFB, 0xEE, 0xD0))
    ctx.set_source_rgba(*kit.rgb(PAPER_EDGE))
    ctx.set_line_width(1.5)
    for i in range(5):
        px = x - r * 0.6 + i * r * 0.3
        ctx.move_to(px, y - r * 0.45 + abs(i - 2) * r * 0.08)
        ctx.line_to(px + r * 0.08, y - r * 0.2 + abs(i - 2) * r * 0.08)
        ctx.stroke()
    ctx.arc(x - r * 0.35, y - r * 0.2, r * 0.15, 0, 2 * math.pi)
    kit.fill(ctx, (255, 255, 255), 0.6)


def steam(ctx, x, y, h, colour=(255, 255, 255), alpha=0.7, width=3.0):
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(width)
    ctx.set_source_rgba(*kit.rgb(colour, alpha))
    for dx in (-12, 0, 12):
        ctx.move_to(x + dx, y)
        ctx.curve_to(x + dx - 8, y - h * 0.33, x + dx + 8, y - h * 0.66, x + dx, y - h)
        ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)


def pot(ctx, x, y, w, h, colour=kit.COPPER):
    """A cooking pot standing on (x, y) bottom centre."""
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x - w / 2 - 12, y - h * 0.8, 16, 9, 4), kit.CHARCOAL)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x + w / 2 - 4, y - h * 0.8, 16, 9, 4), kit.CHARCOAL)

    def body(c):
        kit.rounded_rect(c, x - w / 2, y - h, w, h, 12)
    ctx.save()
    ctx.new_path()
    body(ctx)
    ctx.clip()
    kit.vertical_gradient(ctx, x - w / 2, y - h, w, h, kit.mix(colour, (255, 255, 255), 0.25), kit.mix(colour, kit.WALNUT, 0.3))
    ctx.rectangle(x - w / 2 + w * 0.12, y - h, w * 0.1, h)
    kit.fill(ctx, (255, 255, 255), 0.25)
    ctx.restore()
    ctx.new_path()
    body(ctx)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(2.5)
    ctx.stroke()
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x - w / 2 - 6, y - h - 6, w + 12, 12, 6), kit.mix(colour, kit.WALNUT, 0.15))


def pan(ctx, x, y, r, handle_angle=0.0):
    """A frying pan seen from above, centre (x, y)."""
    hx, hy = x + math.cos(handle_angle) * r, y + math.sin(handle_angle) * r
    ctx.save()
    ctx.translate(hx, hy)
    ctx.rotate(handle_angle)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, -4, -7, r * 1.1, 14, 7), kit.WALNUT)
    ctx.restore()
    kit.shape(ctx, lambda c: c.arc(x, y, r, 0, 2 * math.pi), (0x4A, 0x45, 0x42), kit.OUTLINE, 2.5)
    g = cairo.RadialGradient(x - r * 0.3, y - r * 0.3, 2, x, y, r * 0.85)
    g.add_color_stop_rgb(0, *kit.rgb((0x5E, 0x59, 0x55))[:3])
    g.add_color_stop_rgb(1, *kit.rgb(kit.CHARCOAL)[:3])
    ctx.arc(x, y, r * 0.86, 0, 2 * math.pi)
    ctx.set_source(g)
    ctx.fill()


def star(ctx, x, y, r, colour=kit.BUTTER, outline=kit.OUTLINE, width=2.0):
    def path(c):
        for i in range(10):
            a = -math.pi / 2 + i * math.pi / 5
            rr = r if i % 2 == 0 else r * 0.45
            (c.move_to if i == 0 else c.line_to)(x + math.cos(a) * rr, y + math.sin(a) * rr)
        c.close_path()
    kit.shape(ctx, path, colour, outline, width)
