"""Font.bmp: the 95 glyphs of the bitmap font at their fixed widths, and the title's play button."""
import cairo
from PIL import Image

import kit
import screens_common as sc

# Width of each glyph, characters 32 (space) to 126 (tilde); they add up to 891.
GLYPH_WIDTHS = [
    6, 4, 5, 11, 10, 16, 12, 4, 7, 5, 7, 11, 3, 8, 3, 6,
    11, 9, 10, 9, 11, 10, 10, 10, 10, 11, 5, 4, 10, 10, 10, 10,
    17, 13, 12, 13, 13, 12, 11, 14, 14, 4, 9, 12, 10, 15, 13, 14,
    12, 14, 13, 11, 12, 13, 11, 17, 13, 11, 12, 4, 6, 4, 8, 11,
    4, 10, 10, 9, 10, 10, 5, 10, 10, 2, 6, 9, 4, 15, 10, 10,
    10, 10, 6, 8, 6, 9, 9, 13, 10, 8, 10, 6, 9, 7, 0,
]
GLYPH_HEIGHT = 17
# A baseline at 12 leaves rows 12..16 to the descenders of g, j, p, q and y; capitals reach up to
# row 1, the x-height is about 7 pixels.
BASELINE = 12
FONT_SIZE = 14.0
# Every glyph's ink keeps one pixel clear on each side of its cell, so two glyphs always stand
# two pixels apart; the ink is stretched or squeezed a little, within these bounds, to fill
# the room between, and centred when it may not stretch further.
BEARING = 1.0
STRETCH = (0.7, 1.45)
INK = kit.CREAM
EDGE = kit.OUTLINE
# The second strip, rows MUTED_TOP.., is a table row that no player has earned yet, lettered as
# the chalkboard's own muted labels are: the dim chalk of the headings, no outline (it is only
# ever drawn on the slate), each stroke a little fuller and the letter filling more of its cell.
MUTED_TOP = 20
MUTED_INK = (0xB9, 0xC2, 0xB6)
MUTED_BEARING = 0.5
MUTED_FULLNESS = 0.9
# The chalk strip, rows CHALK_TOP..: a table row a player has earned, lettered in the same weight
# as the muted strip, in bright chalk.
CHALK_TOP = 168
CHALK_INK = sc.CHALK
# The large strip, rows LARGE_TOP..: the bright look a quarter taller in the same cells, so
# narrower in proportion, for words drawn beside the play screen's painted labels (capitals of 13
# pixels or more).
LARGE_TOP = 190
LARGE_SCALE = 1.25
LARGE_HEIGHT = 21

BUTTON = (320, 65)       # one frame of the title's play button
BLINK_TOP = 38           # frames k = 0, 1 (and 2, the rest frame again) at (320k, 38)
LIT_TOP = 103            # the lit frame at (0, 103)
SHEET = (960, LARGE_TOP + LARGE_HEIGHT + 1)

# The score pop-ups that float over the board, right of the lit play button: "+" and the digits
# in cells of POPUP_CELL pixels, then the three chain words, each in its own cell; all in one row
# POPUP_HEIGHT high from POPUP_TOP. Light fill, a dark outline all round, so they read over any
# piece, and capitals 14 pixels high. The game keeps the same numbers.
POPUP_TOP = 104
POPUP_HEIGHT = 26
POPUP_LEFT = 320
POPUP_CELL = 15
POPUP_CHARS = "+0123456789"
POPUP_WORDS = (("Tasty!", 485, 64), ("Yummy!", 549, 82), ("Delicious!", 631, 101))
POPUP_SIZE = 19
POPUP_BASELINE = 19
POPUP_OUTLINE = 4.0
POPUP_POINTS_INK = kit.CREAM
POPUP_WORD_INK = kit.BUTTER


def glyph_path(ctx, char, left, width, room, top=0, dx=0.0, dy=0.0, scale=1.0):
    """Adds the path of char fitted to room pixels as far as STRETCH allows, centred in its cell;
    scale sizes the face and its baseline."""
    kit.set_font(ctx, FONT_SIZE * scale)
    ext = ctx.text_extents(char)
    squeeze = min(max(room / max(ext.width, 0.1), STRETCH[0]), STRETCH[1])
    if ext.width * STRETCH[0] > room:
        squeeze = room / max(ext.width, 0.1)
    ctx.save()
    ctx.translate(left + width / 2 + dx, top + round(BASELINE * scale) + dy)
    ctx.scale(squeeze, 1)
    ctx.move_to(-ext.width / 2 - ext.x_bearing, 0)
    ctx.text_path(char)
    ctx.restore()


def muted_glyph(ctx, char, left, width, top, ink=MUTED_INK):
    """Draws char inside its cell in chalk (dim unless told), its strokes a little fuller, with no
    edge."""
    if width == 0 or char == " ":
        return
    ctx.save()
    ctx.rectangle(left, top, width, GLYPH_HEIGHT)
    ctx.clip()
    glyph_path(ctx, char, left, width, width - 2 * MUTED_BEARING - MUTED_FULLNESS, top)
    ctx.set_source_rgba(*kit.rgb(ink))
    ctx.set_line_width(MUTED_FULLNESS)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke_preserve()
    ctx.fill()
    ctx.restore()


def glyph(ctx, char, left, width, top, ink=INK, scale=1.0, height=GLYPH_HEIGHT):
    """Draws char inside its cell with a dark edge: a one-pixel outline where the cell has room,
    a crisp one-pixel shadow in the narrowest cells (i, comma, full stop)."""
    if width == 0 or char == " ":
        return
    ctx.save()
    ctx.rectangle(left, top, width, height)
    ctx.clip()
    if width > 3:
        edge_room = 1.0 if width >= 8 else 0.0  # the outline's own half-width, where it fits
        glyph_path(ctx, char, left, width, width - 2 * BEARING - edge_room, top, scale=scale)
        ctx.set_source_rgba(*kit.rgb(EDGE))
        ctx.set_line_width(2.0)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.stroke_preserve()
        ctx.set_source_rgba(*kit.rgb(ink))
        ctx.fill()
    else:
        ctx.set_antialias(cairo.ANTIALIAS_NONE)
        glyph_path(ctx, char, left - 0.5, width, width - 1.0, top, 1.0, 1.0, scale)
        ctx.set_source_rgba(*kit.rgb(EDGE))
        ctx.fill()
        glyph_path(ctx, char, left - 0.5, width, width - 1.0, top, scale=scale)
        ctx.set_source_rgba(*kit.rgb(ink))
        ctx.fill()
    ctx.restore()


def glyph_strip(ctx, top, draw):
    left = 0
    for i, width in enumerate(GLYPH_WIDTHS):
        draw(ctx, chr(32 + i), left, width, top)
        left += width


def large_glyph(ctx, char, left, width, top):
    glyph(ctx, char, left, width, top, scale=LARGE_SCALE, height=LARGE_HEIGHT)


def chalk_glyph(ctx, char, left, width, top):
    muted_glyph(ctx, char, left, width, top, CHALK_INK)


def play_button(ctx, x, y, look):
    """The title's play button in a 320 x 65 frame; look is "a", "b" (blink) or "lit".
    The part the player clicks is (12, 16)-(306, 57) of the frame."""
    # The blink only breathes a little lighter; the pointer on the button turns it butter in a
    # glowing ring, which no blink frame ever shows.
    colour = {"a": kit.TOMATO, "b": kit.mix(kit.TOMATO, kit.CREAM, 0.12),
              "lit": kit.BUTTER}[look]
    if look == "lit":
        ctx.new_path()
        kit.rounded_rect(ctx, x + 6, y + 10, 308, 53, 24)
        ctx.set_source_rgba(*kit.rgb(kit.CREAM))
        ctx.fill_preserve()
        ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
        ctx.set_line_width(2)
        ctx.stroke()
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x + 12, y + 16, 294, 41, 20), colour, width=3)
    ctx.new_path()
    kit.rounded_rect(ctx, x + 20, y + 19, 278, 14, 7)
    ctx.set_source_rgba(1, 1, 1, 0.25)
    ctx.fill()
    kit.text(ctx, "Play", x + 160, y + 37, 26, kit.CREAM, outline=kit.OUTLINE, outline_width=4)


def popup_text(ctx, s, left, width, ink, squeeze=1.0):
    """s centred in the cell (left, POPUP_TOP, width, POPUP_HEIGHT), outlined, squeezed across."""
    kit.set_font(ctx, POPUP_SIZE)
    ext = ctx.text_extents(s)
    assert ext.width * squeeze + POPUP_OUTLINE <= width, s
    ctx.save()
    ctx.rectangle(left, POPUP_TOP, width, POPUP_HEIGHT)
    ctx.clip()
    ctx.translate(left + width / 2, POPUP_TOP + POPUP_BASELINE)
    ctx.scale(squeeze, 1)
    ctx.new_path()
    ctx.move_to(-ext.width / 2 - ext.x_bearing, 0)
    ctx.text_path(s)
    ctx.set_source_rgba(*kit.rgb(EDGE))
    ctx.set_line_width(POPUP_OUTLINE)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke_preserve()
    ctx.set_source_rgba(*kit.rgb(ink))
    ctx.fill()
    ctx.restore()


def popups(ctx):
    for i, c in enumerate(POPUP_CHARS):
        kit.set_font(ctx, POPUP_SIZE)
        squeeze = min(1.0, (POPUP_CELL - POPUP_OUTLINE) / ctx.text_extents(c).width)
        popup_text(ctx, c, POPUP_LEFT + POPUP_CELL * i, POPUP_CELL, POPUP_POINTS_INK, squeeze)
    assert POPUP_WORDS[0][1] == POPUP_LEFT + POPUP_CELL * len(POPUP_CHARS)
    for word, left, width in POPUP_WORDS:
        popup_text(ctx, word, left, width, POPUP_WORD_INK)


def font():
    surface, ctx = kit.canvas(*SHEET)
    glyph_strip(ctx, 0, glyph)
    glyph_strip(ctx, LARGE_TOP, large_glyph)
    # Blink frames A, B; the copy of A beyond them is the frame a timer of exactly 2 reaches.
    for k, look in enumerate(("a", "b", "a")):
        play_button(ctx, 320 * k, BLINK_TOP, look)
    play_button(ctx, 0, LIT_TOP, "lit")
    popups(ctx)
    sheet = kit.keyed(kit.to_image(surface), threshold=110)
    # The chalk strips' soft edges are laid over the slate they are drawn on, so they stay soft.
    for top, draw in ((MUTED_TOP, muted_glyph), (CHALK_TOP, chalk_glyph)):
        chalk, chalk_ctx = kit.canvas(SHEET[0], GLYPH_HEIGHT)
        glyph_strip(chalk_ctx, 0, draw)
        sheet.paste(kit.keyed(kit.to_image(chalk), threshold=40, matte=sc.SLATE), (0, top))
    return sheet


PICTURES = {"Font.bmp": font}
