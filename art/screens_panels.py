"""The options and new-game cards pinned over the menu, and the highlight sheet they share."""
import math

from PIL import Image

import kit
import screens_common as sc
import screens_menu
import screens_scores

OPTIONS_AT = (161, 50, 484, 453)
NEW_GAME_AT = (154, 48, 486, 431)

# A card's rows line up: every box or socket in one column, every label left-aligned the same
# gap after it, and the hovered row lit by one pill of one size, centred in its hot spot.
LABEL_GAP = 10
LABEL_SIZE = 14
# Both cards' titles sit this far down the screen, clear of the dashed border above them.
TITLE_MIDDLE = 73
# Headings and the lines that explain a choice: a soft ink that still reads 4.5:1 on the card.
SUBHEAD = kit.mix(sc.INK, sc.PAPER, 0.15)
NOTE_SIZE = 12
# What EasyFood does, under its row; what the two modes mean, under theirs.
EASY_FOOD_NOTE = ("EasyFood: a coloured tile under each piece", 203)
MODE_NOTE = ("Timed: beat the clock. Untimed: no hurry.", 208)
# The keys, under the options' knobs.
KEYS_NOTE = ("Keys: arrows, Enter, Esc \u2014 see Help", 386)
# Options: (label, hot spot, check-mark place), top to bottom.
OPTIONS_MARK_X = 240
OPTIONS_PILL = (110, 23)
OPTION_ROWS = (
    ("Full screen", (245, 82, 401, 109), (OPTIONS_MARK_X, 83)),
    ("Game cursor", (266, 122, 378, 147), (OPTIONS_MARK_X, 121)),
    ("EasyFood", (249, 159, 395, 194), (OPTIONS_MARK_X, 160)),
)
OPTIONS_BACK, OPTIONS_BACK_LIT = (196, 403, 266, 431), (175, 403, 287, 434)
OPTIONS_HELP, OPTIONS_HELP_LIT = (385, 405, 446, 442), (363, 405, 469, 443)
# Back, Start and Help share one size; on each card they share one line.
BUTTON_SIZE = (70, 28)
OPTIONS_BUTTON_MIDDLE = 420
# The language pill between the dashed line and the knobs: a tomato pill the game writes the
# language's own name on (in its bitmap font, cream with a dark edge), an arrow at each end (the
# left one goes back a language, the rest of the pill on), a globe left of it; lit, a butter ring
# around it. Its lit look lies in "ActiveOption.bmp" at (0, LANGUAGE_LIT_TOP).
LANGUAGE_PILL = (244, 224, 400, 244)
LANGUAGE_LIT = (242, 222, 402, 246)
LANGUAGE_LIT_TOP = 361
GLOBE = (226, 234, 8)
# The two volume tracks: the knob's left edge runs 227..391, the knob is 28 x 21.
SLIDERS = (("Music", 269), ("Sound effects", 345))
TRACK_LEFT, TRACK_RIGHT = 227, 419

# New game: (label, hot spot, marker place), top to bottom: Timed is the upper row.
NEW_GAME_MARK_X = 256
NEW_GAME_PILL = (68, 23)
CHOICE_ROWS = (
    ("Timed", (268, 116, 366, 142), (NEW_GAME_MARK_X, 117)),
    ("Untimed", (251, 158, 388, 191), (NEW_GAME_MARK_X, 158)),
    ("6 kinds", (286, 263, 354, 298), (NEW_GAME_MARK_X, 266)),
    ("7 kinds", (266, 303, 374, 331), (NEW_GAME_MARK_X, 306)),
    ("8 kinds", (282, 341, 356, 368), (NEW_GAME_MARK_X, 342)),
)
NEW_BACK, NEW_BACK_LIT = (198, 385, 269, 416), (172, 384, 292, 417)
NEW_START, NEW_START_LIT = (377, 384, 437, 421), (348, 384, 463, 422)
NEW_GAME_BUTTON_MIDDLE = 401

# The question before a new game replaces one in progress: a small card over the new-game card,
# the question written on it by the game, and its two buttons; each lit button sits below the
# card in "Confirm.bmp", Leave at x 0 and Keep at x CONFIRM_BUTTON[0].
CONFIRM_AT = (110, 176, 530, 296)
CONFIRM_FIELD = (140, 198, 494, 232)
CONFIRM_BUTTON = (90, 30)
CONFIRM_LEAVE = (220, 244, 310, 274)
CONFIRM_KEEP = (330, 244, 420, 274)

# Where each highlight goes in "ActiveOption.bmp": (sheet x, sheet y) of its screen rectangle.
LEVEL_COVER = (210, 0, 230, 73)


# A card stands off the menu: its picture ends in a soft shadow this many pixels wide at the
# right and bottom, laid over the menu under it.
SHADOW = 6


def shadowed_card(ctx, rect):
    """The card in rect less its shadow, with the shadow falling to the lower right."""
    l, t, r, b = rect
    w, h = r - l - SHADOW, b - t - SHADOW
    for k in range(1, SHADOW + 1):
        ctx.new_path()
        kit.rounded_rect(ctx, l + k, t + k, w, h, 10)
        ctx.set_source_rgba(0, 0, 0, 0.09)
        ctx.fill()
    sc.card(ctx, l, t, w, h)


def centred(rect, size):
    """The rectangle of size (w, h) centred in rect."""
    l, t, r, b = rect
    w, h = size
    x, y = (l + r - w) / 2, (t + b - h) / 2
    return (x, y, x + w, y + h)


def row_label(ctx, text, rect, mark, pill, lit):
    """A row's label, left-aligned LABEL_GAP after its box; lit, the pill lies behind it."""
    _, t, _, b = rect
    label_x = mark[0] + 9.5 + 11 + LABEL_GAP
    if lit:
        sc.highlighter(ctx, centred(rect, pill), inset=0)
    kit.set_font(ctx, LABEL_SIZE)
    assert label_x + ctx.text_extents(text).x_advance <= centred(rect, pill)[2], text
    kit.text(ctx, text, label_x, (t + b) / 2, LABEL_SIZE, sc.INK, align="left")


def note(ctx, text, rect):
    """One short line explaining the choices above it, centred on the card rect (l, t, r, b)."""
    l, _, r, _ = rect
    words, middle = text
    kit.set_font(ctx, NOTE_SIZE, False)
    assert ctx.text_extents(words).x_advance <= r - l - 2 * 24, words
    kit.text(ctx, words, (l + r) / 2, middle, NOTE_SIZE, SUBHEAD, bold=False)


def sparkled_button(ctx, hot, lit_rect, text, lit, middle, size=16):
    """A wooden button of BUTTON_SIZE centred on its hot spot's x and on the card's button line;
    lit, it glows and two sparkles sit beside it inside its highlight area."""
    l, _, r, _ = hot
    rect = centred((l, middle, r, middle), BUTTON_SIZE)
    sc.button(ctx, rect, text, lit, size)
    if lit:
        l, t, r, b = rect
        ll, _, lr, _ = lit_rect
        cy = (t + b) / 2
        sc.star(ctx, (ll + l) / 2 + 1, cy, min(7, (l - ll) / 2 - 2), kit.BUTTER, kit.OUTLINE, 1.5)
        sc.star(ctx, (r + lr) / 2 - 1, cy, min(7, (lr - r) / 2 - 2), kit.BUTTER, kit.OUTLINE, 1.5)


def speaker(ctx, x, y, waves):
    kit.shape(ctx, lambda c: (c.move_to(x - 6, y - 4), c.line_to(x - 1, y - 4), c.line_to(x + 5, y - 9),
                              c.line_to(x + 5, y + 9), c.line_to(x - 1, y + 4), c.line_to(x - 6, y + 4), c.close_path()),
              sc.INK, None)
    ctx.set_source_rgba(*kit.rgb(sc.INK))
    ctx.set_line_width(1.8)
    for i in range(waves):
        ctx.new_path()
        ctx.arc(x + 5, y, 5 + 4 * i, -0.9, 0.9)
        ctx.stroke()


def globe(ctx, x, y, r):
    """A globe in ink: its rim, the equator, two parallels and a meridian's ellipse."""
    ctx.set_source_rgba(*kit.rgb(sc.INK))
    ctx.set_line_width(1.5)
    ctx.new_path()
    ctx.arc(x, y, r, 0, 2 * math.pi)
    ctx.stroke()
    ctx.set_line_width(1.1)
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(0.45, 1)
    ctx.new_path()
    ctx.arc(0, 0, r, 0, 2 * math.pi)
    ctx.restore()
    ctx.stroke()
    for dy in (-r * 0.5, 0, r * 0.5):
        half = math.sqrt(r * r - dy * dy)
        ctx.move_to(x - half, y + dy)
        ctx.line_to(x + half, y + dy)
    ctx.stroke()


def language_pill(ctx, lit):
    """The language pill, with no name on it: the game writes the name."""
    l, t, r, b = LANGUAGE_PILL
    cy = (t + b) / 2
    if lit:
        sc.glow_ring(ctx, LANGUAGE_LIT, inset=1, radius=(b - t) / 2 + 1, width=2.0)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, l, t, r - l, b - t, (b - t) / 2), kit.TOMATO, width=2)
    for tip, back in ((l + 7, l + 14), (r - 7, r - 14)):
        kit.shape(ctx, lambda c: (c.move_to(tip, cy), c.line_to(back, cy - 5), c.line_to(back, cy + 5),
                                  c.close_path()), kit.CREAM, kit.OUTLINE, 1.0)
    globe(ctx, *GLOBE)


def slider_track(ctx, name, knob_top):
    cy = knob_top + 10.5
    kit.text(ctx, name, TRACK_LEFT, cy - 25, 15, sc.INK, align="left")
    kit.shape(ctx, lambda c: kit.rounded_rect(c, TRACK_LEFT + 2, cy - 4, TRACK_RIGHT - TRACK_LEFT - 4, 8, 4),
              kit.mix(sc.PAPER_EDGE, kit.WALNUT, 0.35), kit.OUTLINE, 1.5)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE, 0.5))
    ctx.set_line_width(1.0)
    for i in range(9):
        x = TRACK_LEFT + 14 + i * (TRACK_RIGHT - TRACK_LEFT - 28) / 8 + 0.5
        ctx.move_to(x, cy + 8)
        ctx.line_to(x, cy + 12)
        ctx.stroke()
    speaker(ctx, TRACK_LEFT - 20, cy, 0)
    speaker(ctx, TRACK_RIGHT + 14, cy, 2)


def options_card(ctx, lit=None):
    """The options card; lit names the hovered row (0..2), "language", "back" or "help"."""
    l, t, r, b = OPTIONS_AT
    shadowed_card(ctx, OPTIONS_AT)
    r, b = r - SHADOW, b - SHADOW
    kit.text(ctx, "Options", (l + r) / 2, TITLE_MIDDLE, 22, kit.LABEL_RED)
    for i, (text, rect, mark) in enumerate(OPTION_ROWS):
        sc.check_box(ctx, *mark)
        row_label(ctx, text, rect, mark, OPTIONS_PILL, lit == i)
    note(ctx, EASY_FOOD_NOTE, (l, t, r, b))
    ctx.move_to(l + 24, 218.5)
    ctx.line_to(r - 24, 218.5)
    ctx.set_source_rgba(*kit.rgb(kit.TOMATO, 0.5))
    ctx.set_line_width(1.0)
    ctx.set_dash([4, 4])
    ctx.stroke()
    ctx.set_dash([])
    language_pill(ctx, lit == "language")
    for name, knob_top in SLIDERS:
        slider_track(ctx, name, knob_top)
    note(ctx, KEYS_NOTE, (l, t, r, b))
    sparkled_button(ctx, OPTIONS_BACK, OPTIONS_BACK_LIT, "Back", lit == "back", OPTIONS_BUTTON_MIDDLE)
    sparkled_button(ctx, OPTIONS_HELP, OPTIONS_HELP_LIT, "Help", lit == "help", OPTIONS_BUTTON_MIDDLE)


def new_game_card(ctx, lit=None):
    """The new-game card; lit names the hovered row (0..4), "back" or "start"."""
    l, t, r, b = NEW_GAME_AT
    shadowed_card(ctx, NEW_GAME_AT)
    r, b = r - SHADOW, b - SHADOW
    kit.text(ctx, "New game", (l + r) / 2, TITLE_MIDDLE, 22, kit.LABEL_RED)
    kit.text(ctx, "Game mode", (l + r) / 2, 99, 14, SUBHEAD)
    ctx.move_to(l + 24, 226.5)
    ctx.line_to(r - 24, 226.5)
    ctx.set_source_rgba(*kit.rgb(kit.TOMATO, 0.5))
    ctx.set_line_width(1.0)
    ctx.set_dash([4, 4])
    ctx.stroke()
    ctx.set_dash([])
    kit.text(ctx, "Kinds of food", (l + r) / 2, 244, 14, SUBHEAD)
    for i, (text, rect, mark) in enumerate(CHOICE_ROWS):
        sc.radio(ctx, *mark)
        row_label(ctx, text, rect, mark, NEW_GAME_PILL, lit == i)
    note(ctx, MODE_NOTE, (l, t, r, b))
    sparkled_button(ctx, NEW_BACK, NEW_BACK_LIT, "Back", lit == "back", NEW_GAME_BUTTON_MIDDLE)
    sparkled_button(ctx, NEW_START, NEW_START_LIT, "Start", lit == "start", NEW_GAME_BUTTON_MIDDLE)


def confirm_card(ctx, lit=None):
    """The question card; lit names the hovered button, "leave" or "keep"."""
    shadowed_card(ctx, CONFIRM_AT)
    l, t, r, b = CONFIRM_FIELD
    kit.shape(ctx, lambda c: kit.rounded_rect(c, l, t, r - l, b - t, 6), sc.SLATE, kit.OUTLINE, 2.0)
    sc.button(ctx, CONFIRM_LEAVE, "Leave", lit == "leave", 16)
    sc.button(ctx, CONFIRM_KEEP, "Keep", lit == "keep", 16)


def over_menu(card, **state):
    """The screen with the card (drawn by card(ctx, **state)) over the resting menu."""
    menu = screens_menu.screen()
    drawn = sc.render(640, 480, lambda ctx: card(ctx, **state))
    return Image.alpha_composite(menu, drawn), drawn


def panel(card, rect):
    """The card alone, keyed, its soft edge laid over the menu under it."""
    menu = screens_menu.screen()
    drawn = sc.render(640, 480, card)
    return sc.cut_out(drawn, menu).crop(rect)


def options():
    return panel(options_card, OPTIONS_AT)


def new_game():
    return panel(new_game_card, NEW_GAME_AT)


def lit_overlay(card, lit, rect):
    rest, _ = over_menu(card)
    shown, _ = over_menu(card, lit=lit)
    return sc.overlay(rest, shown, rect)


def confirm():
    """The question card keyed over the new-game screen, and its lit buttons below it."""
    under, _ = over_menu(new_game_card)
    l, t, r, b = CONFIRM_AT
    out = sc.sheet(r - l, b - t + CONFIRM_BUTTON[1])
    sc.place(out, sc.cut_out(sc.render(640, 480, confirm_card), under).crop(CONFIRM_AT), 0, 0)

    def shown(lit):
        return Image.alpha_composite(under, sc.render(640, 480, lambda ctx: confirm_card(ctx, lit)))
    rest = shown(None)
    sc.place(out, sc.overlay(rest, shown("leave"), CONFIRM_LEAVE), 0, b - t)
    sc.place(out, sc.overlay(rest, shown("keep"), CONFIRM_KEEP), CONFIRM_BUTTON[0], b - t)
    return out


def level_cover():
    """The empty gauge, 20 x 73, drawn as the play screen draws its full one: it hides the bar."""
    return sc.opaque(sc.render(20, 73, lambda ctx: kit.level_gauge(ctx, 0, 0, False)))


def active_option():
    out = sc.sheet(235, LANGUAGE_LIT_TOP + LANGUAGE_LIT[3] - LANGUAGE_LIT[1])
    sc.place(out, level_cover(), 210, 0)
    for i, (sx, sy) in enumerate(((0, 0), (0, 27), (0, 52))):
        sc.place(out, lit_overlay(options_card, i, OPTION_ROWS[i][1]), sx, sy)
    sc.place(out, lit_overlay(options_card, "back", OPTIONS_BACK_LIT), 0, 87)
    sc.place(out, lit_overlay(options_card, "help", OPTIONS_HELP_LIT), 112, 87)
    sc.place(out, lit_overlay(options_card, "language", LANGUAGE_LIT), 0, LANGUAGE_LIT_TOP)
    for i, (sx, sy) in enumerate(((112, 26), (0, 159), (138, 159), (0, 192), (108, 194))):
        sc.place(out, lit_overlay(new_game_card, i, CHOICE_ROWS[i][1]), sx, sy)
    sc.place(out, lit_overlay(new_game_card, "back", NEW_BACK_LIT), 115, 125)
    sc.place(out, lit_overlay(new_game_card, "start", NEW_START_LIT), 0, 118)
    sc.place(out, screens_scores.ok_highlight(), 182, 194)
    sc.place(out, screens_scores.back_highlight(), 0, 221)
    for kinds, (untimed, timed) in screens_scores.page_labels().items():
        sc.place(out, timed, 0, 35 * kinds + 47)
        sc.place(out, untimed, 85, 35 * kinds + 47)
    # Pixels two highlights share stay transparent: each highlight keeps its art clear of them.
    out.paste((0, 0, 0, 0), (112, 26, 156, 27))
    out.paste((0, 0, 0, 0), (112, 118, 115, 125))
    return out


PICTURES = {
    "NewGame.jpg": new_game,
    "Options.jpg": options,
    "ActiveOption.bmp": active_option,
    "Confirm.bmp": confirm,
}
