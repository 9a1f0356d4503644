"""Drawing kit shared by every picture of the game: canvases, palette, shapes and type."""
import math

import cairo
from PIL import Image

# The kitchen palette (ART-DIRECTION): warm, sunny, no colour near magenta.
CREAM = (0xFF, 0xF3, 0xD6)
BUTTER = (0xFF, 0xD7, 0x5E)
TOMATO = (0xE8, 0x45, 0x2C)
SAGE = (0x8F, 0xB3, 0x6B)
COPPER = (0xC8, 0x74, 0x3A)
WALNUT = (0x6B, 0x40, 0x25)
TILE_BLUE = (0x7F, 0xB3, 0xC8)
CHARCOAL = (0x2E, 0x2A, 0x27)
OUTLINE = (0x3B, 0x24, 0x14)

FONT = "Comfortaa"


def rgb(colour, alpha=1.0):
    """Cairo source colour from 0..255 components."""
    r, g, b = colour
    return (r / 255.0, g / 255.0, b / 255.0, alpha)


def mix(a, b, t):
    """Colour t of the way from a to b."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def canvas(width, height):
    """A transparent ARGB canvas and its context."""
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
    ctx = cairo.Context(surface)
    ctx.set_antialias(cairo.ANTIALIAS_GRAY)
    return surface, ctx


def to_image(surface):
    """The canvas as a PIL RGBA image, with cairo's premultiplied alpha undone."""
    surface.flush()
    width, height = surface.get_width(), surface.get_height()
    data = bytes(surface.get_data())
    image = Image.frombuffer("RGBa", (width, height), data, "raw", "BGRa", surface.get_stride(), 1)
    return image.convert("RGBA")


def fill(ctx, colour, alpha=1.0):
    ctx.set_source_rgba(*rgb(colour, alpha))
    ctx.fill()


def rounded_rect(ctx, x, y, w, h, r):
    """Adds a rounded rectangle path."""
    r = min(r, w / 2, h / 2)
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 1.5 * math.pi)
    ctx.close_path()


def shape(ctx, path, colour, outline=OUTLINE, width=2.0):
    """Fills the path built by path(ctx) with colour and strokes it with the warm outline."""
    ctx.new_path()
    path(ctx)
    ctx.set_source_rgba(*rgb(colour))
    if outline is None:
        ctx.fill()
        return
    ctx.fill_preserve()
    ctx.set_source_rgba(*rgb(outline))
    ctx.set_line_width(width)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke()


def set_font(ctx, size, bold=True):
    ctx.select_font_face(FONT, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)


def text(ctx, s, x, y, size, colour, bold=True, align="centre", outline=None, outline_width=3.0):
    """Draws s with its baseline box centred (or left/right aligned) at x and its middle at y."""
    set_font(ctx, size, bold)
    ext = ctx.text_extents(s)
    if align == "centre":
        left = x - ext.width / 2 - ext.x_bearing
    elif align == "right":
        left = x - ext.width - ext.x_bearing
    else:
        left = x - ext.x_bearing
    base = y - ext.height / 2 - ext.y_bearing
    ctx.new_path()
    ctx.move_to(left, base)
    ctx.text_path(s)
    if outline is not None:
        ctx.set_source_rgba(*rgb(outline))
        ctx.set_line_width(outline_width)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke_preserve()
    ctx.set_source_rgba(*rgb(colour))
    ctx.fill()


def vertical_gradient(ctx, x, y, w, h, top, bottom):
    """Fills a rectangle with a top-to-bottom gradient."""
    g = cairo.LinearGradient(0, y, 0, y + h)
    g.add_color_stop_rgb(0, *rgb(top)[:3])
    g.add_color_stop_rgb(1, *rgb(bottom)[:3])
    ctx.rectangle(x, y, w, h)
    ctx.set_source(g)
    ctx.fill()
