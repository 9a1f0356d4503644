"""The how-to-play card pinned over the menu: three pages (swap and match, the modes and the
thermometer, the pan and the keys), its buttons and their lit looks."""
import math

import cairo

import game_play
import help_pictures
import kit
import screens_common as sc
import screens_panels as panels

# ---------------------------------------------------------------- the card's words
# Every word the card shows, and nothing else: each entry becomes a label of its own when the
# card's words are translated.
WORDS = {
    "title": "How to play",
    "back": "Back",
    "help page": "Help page",
    "page 1 heading": "Swap and match",
    "page 1 lines": (
        "Click a piece, then a neighbour: they swap.",
        "Three or more alike in a line clear and score.",
        "The food above falls and new food slides in.",
    ),
    "page 2 heading": "Timed or Untimed",
    "page 2 lines": (
        "Every clear warms the thermometer;",
        "a full one completes the level.",
        "Timed: it cools, and empty ends the game.",
        "Untimed: no hurry; it ends with no move left.",
    ),
    "timed": "Timed",
    "untimed": "Untimed",
    "page 3 heading": "The pan and the keys",
    "page 3 lines": (
        "Stuck? The pan shows a move for 10 points.",
        "Keys and game controllers work everywhere;",
        "a ring shows the button they act on.",
    ),
    "key move": "move",
    "key choose": "choose",
    "key back": "back",
    "key hint": "hint",
    "key pause": "pause",
    "key enter": "Enter",
    "key esc": "Esc",
    "key h": "H",
    "key p": "P",
}

# ---------------------------------------------------------------- layout (screen coordinates)
CARD_AT = (112, 30, 528, 446)
TITLE_MIDDLE = 53
HEADING_MIDDLE = 82
HEADING_SIZE = 16
# The picture of each page, framed like the photo on the menu.
FRAME = (136, 96, 498, 236)
LINE_SIZE = 13
FIRST_LINE_MIDDLE = 258
LINE_STEP = 21
DOTS_MIDDLE = 353
BACK = (140, 382, 210, 410)
PREVIOUS = (263, 382, 303, 410)
NEXT = (331, 382, 371, 410)
HELP_PAGE = (394, 382, 498, 410)
# The lit buttons lie in one row below the three pages, in this order, left to right.
LIT_ROW = (("back", BACK), ("previous", PREVIOUS), ("next", NEXT), ("help page", HELP_PAGE))
PAGES = 3


def lines_of(page):
    return WORDS[f"page {page + 1} lines"]


def heading_of(page):
    return WORDS[f"page {page + 1} heading"]


# ---------------------------------------------------------------- small parts


def arrow_button(ctx, rect, way, lit):
    """A small wooden button with a triangle pointing left (way -1) or right (way 1)."""
    sc.button(ctx, rect, "", lit)
    l, t, r, b = rect
    cx, cy = (l + r) / 2 + way, (t + b) / 2
    kit.shape(ctx, lambda c: (c.move_to(cx + 6 * way, cy), c.line_to(cx - 5 * way, cy - 7),
                              c.line_to(cx - 5 * way, cy + 7), c.close_path()),
              sc.TAG_INK, sc.TAG_INK, 1.5)


def page_dots(ctx, page):
    """Three dots under the page, the one of the page shown filled."""
    for i in range(PAGES):
        x = (CARD_AT[0] + CARD_AT[2] - panels.SHADOW) / 2 + (i - 1) * 18
        colour = kit.TOMATO if i == page else sc.PAPER
        kit.shape(ctx, lambda c, x=x: c.arc(x, DOTS_MIDDLE, 5, 0, 2 * math.pi), colour, sc.INK, 1.5)


def keycap(ctx, x, y, w, text):
    """A cream key top, w x 26 at (x, y), its name on it."""
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x + 1, y + 3, w - 2, 24, 6), kit.mix(sc.PAPER_EDGE, kit.WALNUT, 0.3),
              kit.OUTLINE, 1.5)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x + 1, y, w - 2, 23, 6), (0xFF, 0xFC, 0xF2), kit.OUTLINE, 1.5)
    if text:
        kit.text(ctx, text, x + w / 2, y + 11.5, 12, sc.INK)


def arrow_keycap(ctx, x, y, angle):
    """A key top with a triangle pointing at angle (0: right, pi / 2: down)."""
    keycap(ctx, x, y, 26, "")
    cx, cy = x + 13, y + 11.5
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(angle)
    kit.shape(ctx, lambda c: (c.move_to(5, 0), c.line_to(-4, -5), c.line_to(-4, 5), c.close_path()),
              sc.INK, None)
    ctx.restore()


def caption(ctx, text, x, key_top):
    """What a key does, left-aligned at x beside the key top at key_top, on the keys' baseline."""
    kit.set_font(ctx, 13, False)
    assert x + ctx.text_extents(text).x_advance <= FRAME[2] - 6, text
    ctx.new_path()
    ctx.move_to(x - ctx.text_extents(text).x_bearing, key_top + 16)
    ctx.text_path(text)
    kit.fill(ctx, sc.INK)


# ---------------------------------------------------------------- the three pictures


def picture_swap(ctx, l, t, r, b):
    """A tomato and a cheese swap; three tomatoes in a line glow before they clear."""
    scale, margin, gap = 0.76, 14, 30
    cell = help_pictures.CELL * scale
    y = (t + b) / 2 - cell / 2 + 8
    after = l + margin + 4 * cell + gap
    rows = ((l + margin, (help_pictures.TOMATO, help_pictures.CHEESE, help_pictures.TOMATO,
                          help_pictures.TOMATO)),
            (after, (help_pictures.CHEESE, help_pictures.TOMATO, help_pictures.TOMATO,
                     help_pictures.TOMATO)))
    for x, kinds in rows:
        ctx.save()
        ctx.translate(x, y)
        ctx.scale(scale, scale)
        if x == after:
            help_pictures.glow(ctx, help_pictures.CELL, 3)
            help_pictures.board_row(ctx, 0, kinds)
        else:
            help_pictures.arrow(ctx, 18, 82, -18, both=True)
            help_pictures.board_row(ctx, 0, kinds, lit=(0, 1))
        ctx.restore()
    help_pictures.arrow(ctx, after - gap + 5, after - 11, y + cell / 2)


def kitchen_timer(ctx, x, y, r):
    """A round kitchen timer, its hand near the end."""
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x - 5, y - r - 8, 10, 9, 3), kit.CHARCOAL)
    kit.shape(ctx, lambda c: c.arc(x, y, r, 0, 2 * math.pi), kit.TOMATO, kit.OUTLINE, 2.5)
    kit.shape(ctx, lambda c: c.arc(x, y, r - 6, 0, 2 * math.pi), kit.CREAM, kit.OUTLINE, 1.5)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(1.5)
    for i in range(12):
        a = i * math.pi / 6
        ctx.move_to(x + math.cos(a) * (r - 9), y + math.sin(a) * (r - 9))
        ctx.line_to(x + math.cos(a) * (r - 12), y + math.sin(a) * (r - 12))
        ctx.stroke()
    ctx.set_line_width(2.5)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.move_to(x, y)
    ctx.line_to(x - (r - 13) * 0.5, y - (r - 13) * 0.87)
    ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    kit.shape(ctx, lambda c: c.arc(x, y, 2.5, 0, 2 * math.pi), kit.OUTLINE, None)


def simmering_pot(ctx, x, y, r):
    """A pot simmering on a low flame: slow cooking, no hurry."""
    sc.pot(ctx, x, y + r * 0.95, r * 2.1, r * 1.4)
    sc.steam(ctx, x, y - r * 0.85, r * 0.75, kit.OUTLINE, 0.35, 2.0)


def picture_modes(ctx, l, t, r, b):
    """The thermometer between a kitchen timer (Timed) and a simmering pot (Untimed)."""
    cx = (l + r) / 2
    gauge_left, gauge_top, gauge_right, gauge_bottom = 169, 330, 199, 439
    scale = (b - t - 14) / (gauge_bottom - gauge_top)
    ctx.save()
    ctx.translate(cx - (gauge_left + gauge_right) / 2 * scale, t + 7 - gauge_top * scale)
    ctx.scale(scale, scale)
    game_play.level_gauge(ctx)
    ctx.restore()
    for x, draw, name in ((l + (cx - l) / 2 - 6, kitchen_timer, "timed"),
                          (cx + (r - cx) / 2 + 6, simmering_pot, "untimed")):
        draw(ctx, x, t + 56, 30)
        kit.text(ctx, WORDS[name], x, b - 20, 13, sc.INK)
    # The warmth rises in the tube beside it.
    for side in (-1, 1):
        ax = cx + side * 32
        kit.shape(ctx, lambda c, ax=ax: (c.move_to(ax, t + 34), c.line_to(ax - 7, t + 46), c.line_to(ax + 7, t + 46),
                                         c.close_path()), kit.TOMATO, kit.OUTLINE, 1.5)
        ctx.set_source_rgba(*kit.rgb(kit.TOMATO))
        ctx.set_line_width(4)
        ctx.move_to(ax, t + 46)
        ctx.line_to(ax, t + 92)
        ctx.stroke()


def picture_keys(ctx, l, t, r, b):
    """The frying pan, and the keys in three rows: arrows, Enter and Esc, H and P, each with
    what it does beside it."""
    scale = (b - t - 8) / (game_play.PAN_AREA[3] - game_play.PAN_AREA[1])
    ctx.save()
    ctx.translate(l + 18 - game_play.PAN_AREA[0] * scale, t + 4 - game_play.PAN_AREA[1] * scale)
    ctx.scale(scale, scale)
    game_play.pan(ctx)
    ctx.restore()
    left, second = l + 120, l + 252
    top = [t + 18 + 38 * i for i in range(3)]
    for i, angle in enumerate((math.pi, -math.pi / 2, math.pi / 2, 0)):
        arrow_keycap(ctx, left + 26 * i, top[0], angle)
    caption(ctx, WORDS["key move"], left + 4 * 26 + 6, top[0])
    for x, y, name, w, what in ((left, top[1], "key enter", 54, "key choose"),
                                (second, top[1], "key esc", 40, "key back"),
                                (left, top[2], "key h", 30, "key hint"),
                                (second, top[2], "key p", 30, "key pause")):
        keycap(ctx, x, y, w, WORDS[name])
        caption(ctx, WORDS[what], x + w + 6, y)


PICTURE_ART = (picture_swap, picture_modes, picture_keys)


def photo(ctx, page):
    """The page's picture in a pinned photo frame over the kitchen wall's tiles."""
    l, t, r, b = FRAME
    kit.shape(ctx, lambda c: kit.rounded_rect(c, l, t, r - l, b - t, 6), sc.PAPER, kit.OUTLINE, 2.0)
    ctx.save()
    ctx.new_path()
    kit.rounded_rect(ctx, l + 1, t + 1, r - l - 2, b - t - 2, 5)
    ctx.clip()
    sc.tiles(ctx, l, t, r - l, b - t, 28, game_play.WALL)
    PICTURE_ART[page](ctx, l, t, r, b)
    ctx.restore()
    ctx.new_path()
    kit.rounded_rect(ctx, l, t, r - l, b - t, 6)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(2.0)
    ctx.stroke()


# ---------------------------------------------------------------- the card


def card(ctx, page=0, lit=None):
    """The card showing page 0..2; lit names the hovered button ("back", "previous", "next" or
    "help page")."""
    l, t, r, b = CARD_AT
    panels.shadowed_card(ctx, CARD_AT)
    r, b = r - panels.SHADOW, b - panels.SHADOW
    middle = (l + r) / 2
    kit.text(ctx, WORDS["title"], middle, TITLE_MIDDLE, 22, kit.LABEL_RED)
    kit.text(ctx, heading_of(page), middle, HEADING_MIDDLE, HEADING_SIZE, panels.SUBHEAD)
    photo(ctx, page)
    kit.set_font(ctx, LINE_SIZE, False)
    for i, line in enumerate(lines_of(page)):
        assert ctx.text_extents(line).x_advance <= FRAME[2] - FRAME[0], line
        kit.text(ctx, line, middle, FIRST_LINE_MIDDLE + i * LINE_STEP, LINE_SIZE, sc.INK, bold=False)
    page_dots(ctx, page)
    sc.button(ctx, BACK, WORDS["back"], lit == "back", 16)
    arrow_button(ctx, PREVIOUS, -1, lit == "previous")
    arrow_button(ctx, NEXT, 1, lit == "next")
    sc.button(ctx, HELP_PAGE, WORDS["help page"], lit == "help page", 16)


# ---------------------------------------------------------------- baked picture


def how_to_play():
    """The three pages of the card, keyed over the menu, one under another; then the lit
    buttons in one row, each the size of its hot spot."""
    l, t, r, b = CARD_AT
    w, h = r - l, b - t
    out = sc.sheet(w, PAGES * h + BACK[3] - BACK[1])
    for page in range(PAGES):
        sc.place(out, panels.panel(lambda ctx, page=page: card(ctx, page), CARD_AT), 0, page * h)
    rest, _ = panels.over_menu(card)
    x = 0
    for name, spot in LIT_ROW:
        shown, _ = panels.over_menu(card, lit=name)
        sc.place(out, sc.overlay(rest, shown, spot), x, PAGES * h)
        x += spot[2] - spot[0]
    return out


PICTURES = {"HowToPlay.bmp": how_to_play}
