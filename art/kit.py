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
# Red lettering on cream and paper: tomato darkened until it reads at 4.5:1 or more.
LABEL_RED = (0xB0, 0x2E, 0x1A)

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


# ---- Finishing: every pixel of a baked picture is fully opaque or fully transparent ----

def keyed(image, threshold=128, matte=None):
    """Makes soft edges hard for a keyed picture: pixels below threshold become transparent,
    the others opaque (blended over matte first when one is given)."""
    import numpy as np
    pixels = np.asarray(image).astype(np.float64)
    alpha = pixels[..., 3:4] / 255.0
    rgb = pixels[..., :3]
    if matte is not None:
        rgb = rgb * alpha + np.array(matte, np.float64) * (1.0 - alpha)
    out = np.zeros(pixels.shape, np.uint8)
    solid = pixels[..., 3] >= threshold
    out[..., :3] = np.clip(np.rint(rgb), 0, 255).astype(np.uint8)
    out[..., 3] = np.where(solid, 255, 0)
    out[~solid, :3] = 0
    return Image.fromarray(out, "RGBA")


def opaque(image, background):
    """The picture composited over a solid background colour, fully opaque."""
    base = Image.new("RGBA", image.size, tuple(background) + (255,))
    return Image.alpha_composite(base, image)


# ---- Play-screen parts drawn in two pictures ----
# The play screen's background holds these parts at rest; the lit or empty states are drawn
# again into MenuTxt.bmp and ActiveOption.bmp with the same functions so they line up exactly.

# Colour of the plaque under the level caption and the level digits (screen (290,444)-(398,480)).
LEVEL_PLAQUE = (0xF6, 0xE4, 0xBC)
# Empty and full colours of the level gauge.
GAUGE_EMPTY_TOP = (0x4A, 0x2E, 0x1C)
GAUGE_EMPTY_BOTTOM = (0x3A, 0x23, 0x15)
GAUGE_FULL_TOP = TOMATO
GAUGE_FULL_BOTTOM = BUTTER


def level_gauge(ctx, x, y, full):
    """The inside of the level gauge, 20 x 73 at (x, y): full (background) or empty (cover).
    The empty look is the same on every row, so the cover can be cut off anywhere."""
    if full:
        vertical_gradient(ctx, x, y, 20, 73, GAUGE_FULL_TOP, GAUGE_FULL_BOTTOM)
        ctx.rectangle(x + 3, y, 4, 73)
        ctx.set_source_rgba(1, 1, 1, 0.35)
        ctx.fill()
    else:
        ctx.rectangle(x, y, 20, 73)
        ctx.set_source_rgba(*rgb(GAUGE_EMPTY_TOP))
        ctx.fill()
        ctx.rectangle(x + 14, y, 6, 73)
        ctx.set_source_rgba(*rgb(GAUGE_EMPTY_BOTTOM))
        ctx.fill()


def tag_button(ctx, x, y, w, h, label, lit, size=18, radius=12):
    """A wooden button tag with its label; lit is the hover look. The tag fills (x, y, w, h)."""
    body = mix(COPPER, BUTTER, 0.55) if lit else COPPER
    shape(ctx, lambda c: rounded_rect(c, x + 1, y + 1, w - 2, h - 2, radius), body, width=2.5)
    ctx.new_path()
    rounded_rect(ctx, x + 5, y + 4, w - 10, (h - 8) * 0.45, radius * 0.6)
    ctx.set_source_rgba(1, 1, 1, 0.28 if lit else 0.18)
    ctx.fill()
    text(ctx, label, x + w / 2, y + h / 2, size, CREAM, outline=OUTLINE, outline_width=3.0)


def play_menu_button(ctx, x, y, lit):
    """The play screen's menu button in the 85 x 79 box at (x, y) (screen (13, 379))."""
    tag_button(ctx, x + 2, y + 2, 81, 75, "Menu", lit, size=17, radius=16)


def won_panel_button(ctx, x, y, lit):
    """The won panel's button, 272 x 48 at (x, y): panel (68, 202); it leads to the high scores.
    Its hover picture is 287 x 63 at (x - 7, y - 7), the margin left transparent."""
    tag_button(ctx, x, y, 272, 48, "High scores", lit, size=20, radius=14)
