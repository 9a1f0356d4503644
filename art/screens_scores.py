"""The high-score screen: chalkboard with two pinned score sheets, name box, arrows and labels."""
import math

import kit
import screens_common as sc

# Hot spots and overlay places on the screen (left, top, right, bottom).
BACK = (285, 425, 354, 453)
BACK_LIT = (278, 423, 361, 459)
PREVIOUS = (55, 426, 111, 466)
NEXT = (524, 425, 581, 468)
PREVIOUS_FRAME = (8, 417, 115, 470)
NEXT_FRAME = (522, 417, 629, 470)
LABEL_UNTIMED = (221, 114, 305, 148)
LABEL_TIMED = (507, 114, 591, 148)
BOX = (145, 175, 495, 305)
OK = (299, 262, 338, 294)
OK_LIT = (295, 259, 344, 296)
# The name box's prompt, and the one it shows once the name has its nine letters: that one is
# baked below the box in "WindowHS.JPG", over the part of the card PROMPT covers (box pixels).
PROMPT = "Well cooked! Type your name:"
FULL_PROMPT = "Name full: nine letters"
PROMPT_AREA = (9, 9, 341, 42)
SHEETS = ((52, 102, 312, 412), (337, 102, 597, 412))
ROW_Y0, ROW_STEP = 183, 25
# How far the hovered arrow has stepped, for arrow frames 0..3 (frame 4 repeats the rest frame).
ARROW_STEPS = (0, 3, 6, 3, 0)


def arrow(ctx, rect, direction, lit=False, shift=0):
    """A wooden arrow sign inside rect, pointing left (-1) or right (+1)."""
    l, t, r, b = rect
    cx, cy = (l + r) / 2 + direction * shift, (t + b) / 2
    w, h = (r - l) - 6, (b - t) - 8
    tip = direction * w / 2

    def path(c):
        c.move_to(cx + tip, cy)
        c.line_to(cx + tip - direction * h * 0.55, cy - h / 2)
        c.line_to(cx + tip - direction * h * 0.55, cy - h * 0.24)
        c.line_to(cx - tip, cy - h * 0.24)
        c.line_to(cx - tip, cy + h * 0.24)
        c.line_to(cx + tip - direction * h * 0.55, cy + h * 0.24)
        c.line_to(cx + tip - direction * h * 0.55, cy + h / 2)
        c.close_path()
    kit.shape(ctx, path, (0xF2, 0xC2, 0x7E) if lit else sc.OAK_LIGHT, kit.OUTLINE, 2.5)
    if lit:
        ctx.new_path()
        path(ctx)
        ctx.set_source_rgba(*kit.rgb(sc.GLOW))
        ctx.set_line_width(1.0)
        ctx.stroke()


def score_sheet(ctx, rect, title, title_x):
    """One table chalked on the board: a framed column with ruled rows for the bitmap font."""
    l, t, r, b = rect
    kit.shape(ctx, lambda c: kit.rounded_rect(c, l, t, r - l, b - t, 14), kit.mix(sc.SLATE_DARK, sc.SLATE, 0.4), None)
    ctx.new_path()
    kit.rounded_rect(ctx, l + 0.5, t + 0.5, r - l - 1, b - t - 1, 14)
    ctx.set_source_rgba(*kit.rgb(sc.CHALK, 0.75))
    ctx.set_line_width(2.0)
    ctx.stroke()
    sc.chalk_text(ctx, title, title_x, 131, 22, kit.BUTTER, align="left")
    ctx.set_line_width(1.0)
    for i in range(9):
        y = ROW_Y0 + ROW_STEP * i + 21.5
        ctx.move_to(l + 12, y)
        ctx.line_to(r - 12, y)
        ctx.set_source_rgba(*kit.rgb(sc.CHALK, 0.22))
        ctx.stroke()
    ctx.move_to(l + 12, 157.5)
    ctx.line_to(r - 12, 157.5)
    ctx.set_source_rgba(*kit.rgb(sc.CHALK, 0.7))
    ctx.set_line_width(2.0)
    ctx.stroke()
    kit.text(ctx, "name", title_x + 15, 170, 11, sc.CHALK_DIM, bold=False, align="left")
    kit.text(ctx, "score", title_x + 228, 170, 11, sc.CHALK_DIM, bold=False, align="right")


def draw_screen(ctx, back_lit=False, previous_shift=None, next_shift=None):
    """The whole background; the shifts draw a hovered arrow stepped by that many pixels."""
    sc.chalkboard(ctx, 0, 0, 640, 480, 12)
    sc.chalk_text(ctx, "High scores", 320, 56, 36, kit.BUTTER)
    sc.star(ctx, 178, 56, 11, sc.CHALK, None)
    sc.star(ctx, 462, 56, 11, sc.CHALK, None)
    score_sheet(ctx, SHEETS[0], "Untimed", 70)
    score_sheet(ctx, SHEETS[1], "Timed", 355)
    arrow(ctx, PREVIOUS, -1, previous_shift is not None, previous_shift or 0)
    arrow(ctx, NEXT, 1, next_shift is not None, next_shift or 0)
    sc.button(ctx, BACK, "Back", back_lit)


def page_label(ctx, rect, kinds):
    """A tomato sticker naming the page: the number of kinds of food."""
    l, t, r, b = rect
    kit.shape(ctx, lambda c: kit.rounded_rect(c, l + 2, t + 3, r - l - 4, b - t - 6, 12), kit.TOMATO, kit.OUTLINE, 2.0)
    kit.text(ctx, f"{kinds} kinds", (l + r) / 2, (t + b) / 2, 15, kit.CREAM, outline=kit.OUTLINE, outline_width=2.5)


def name_box(ctx, ok_lit=False, prompt=PROMPT):
    l, t, r, b = BOX
    sc.card(ctx, l, t, r - l, b - t, pins=False)
    kit.text(ctx, prompt, (l + r) / 2, t + 25, 16, sc.INK)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, l + 16, t + 44, r - l - 32, 36, 6), sc.SLATE, kit.OUTLINE, 2.0)
    sc.button(ctx, OK, "OK", ok_lit, 15)


def base():
    return sc.render(640, 480, draw_screen)


def high_scores():
    return sc.opaque(base())


def window_hs():
    """The name box alone, keyed, for the game moves it clear of the row being named; below it,
    its prompt area with the full name's prompt."""
    l, t, r, b = BOX
    pl, pt, pr, pb = PROMPT_AREA
    box = kit.keyed(sc.render(640, 480, name_box).crop(BOX), matte=sc.SLATE)
    full = sc.render(640, 480, lambda ctx: name_box(ctx, prompt=FULL_PROMPT)).crop(BOX)
    out = sc.sheet(r - l, b - t + pb - pt)
    sc.place(out, box, 0, 0)
    sc.place(out, kit.keyed(full.crop(PROMPT_AREA)), 0, b - t)
    return out


def arrow_frames():
    """The hovered arrows, frames 0..4 each: (previous frames, next frames) as screen-sized crops."""
    rest = base()
    previous = [sc.overlay(rest, sc.render(640, 480, lambda c, s=s: draw_screen(c, previous_shift=s)), PREVIOUS_FRAME)
                for s in ARROW_STEPS]
    following = [sc.overlay(rest, sc.render(640, 480, lambda c, s=s: draw_screen(c, next_shift=s)), NEXT_FRAME)
                 for s in ARROW_STEPS]
    return previous, following


def back_highlight():
    return sc.overlay(base(), sc.render(640, 480, lambda c: draw_screen(c, back_lit=True)), BACK_LIT)


def ok_highlight():
    def plain(ctx):
        draw_screen(ctx)
        name_box(ctx)

    def lit(ctx):
        draw_screen(ctx)
        name_box(ctx, True)
    return sc.overlay(sc.render(640, 480, plain), sc.render(640, 480, lit), OK_LIT)


def page_labels():
    """{kinds: (label for the Untimed side, label for the Timed side)}."""
    rest = base()
    labels = {}
    for kinds in (6, 7, 8):
        def draw(ctx, kinds=kinds):
            draw_screen(ctx)
            page_label(ctx, LABEL_UNTIMED, kinds)
            page_label(ctx, LABEL_TIMED, kinds)
        lit = sc.render(640, 480, draw)
        labels[kinds] = (sc.overlay(rest, lit, LABEL_UNTIMED), sc.overlay(rest, lit, LABEL_TIMED))
    return labels


PICTURES = {
    "HighScores.jpg": high_scores,
    "WindowHS.JPG": window_hs,
}
