"""The main menu: the recipe board with its five wooden tags, the hover pictures and the small-art sheet."""
import math

from PIL import Image

import game_play
import kit
import screens_common as sc
import screens_scores

# The five buttons, top to bottom (left, top, right, bottom on the screen).
BUTTONS = (
    ("Continue", (85, 171, 264, 223)),
    ("New game", (85, 231, 264, 283)),
    ("Options", (85, 292, 264, 344)),
    ("High scores", (85, 354, 264, 406)),
    ("Exit", (85, 416, 264, 468)),
)
LINK_ART = (310, 447, 553, 473)
LINK_TEXT = "How to play"
PICTURE_AT = (313, 195)
# Where each hover picture lies in "MenuImage.jpg" (left, top, right, bottom).
PICTURE_SOURCES = ((0, 0, 245, 256), (245, 0, 490, 256), (490, 0, 735, 256), (0, 256, 245, 508), (245, 256, 490, 518))
FRAME = (313, 195, 558, 441)
PHOTO = (325, 207, 546, 405)
# The play screen's overlays kept in this sheet, and the won panel's button highlight (panel-local).
PLAY_MENU_LIT = (13, 379, 98, 458)
LEVEL_CAPTION = (295, 449, 392, 480)
WON_LIT_IN_PANEL = (61, 195)
CAPTIONS = ("Back to the stove", "A fresh recipe", "Season to taste", "The best cooks", "Time for a cuppa")


def twine(ctx):
    """The string the tags hang on, through their holes."""
    x = 85 + 2 + 15
    ctx.move_to(x, 150)
    ctx.line_to(x, 462)
    ctx.set_source_rgba(*kit.rgb((0xE6, 0xD3, 0xA8)))
    ctx.set_line_width(2.0)
    ctx.stroke()
    kit.shape(ctx, lambda c: c.arc(x, 150, 5, 0, 2 * math.pi), (0x9A, 0x9A, 0x9A), kit.OUTLINE, 1.5)


def photo_frame(ctx, picture):
    """The pinned photo card of the picture area, showing picture (None: the resting plate)."""
    l, t, r, b = FRAME
    kit.shape(ctx, lambda c: kit.rounded_rect(c, l + 2, t + 2, r - l - 4, b - t - 4, 6), sc.PAPER, kit.OUTLINE, 2.0)
    pl, pt, pr, pb = PHOTO
    ctx.save()
    ctx.rectangle(pl, pt, pr - pl, pb - pt)
    ctx.clip()
    PICTURE_ART[picture](ctx, pl, pt, pr - pl, pb - pt)
    ctx.restore()
    ctx.rectangle(pl + 0.5, pt + 0.5, pr - pl - 1, pb - pt - 1)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(1.5)
    ctx.stroke()
    caption = "Pick a tag" if picture is None else CAPTIONS[picture]
    kit.text(ctx, caption, (l + r) / 2, (pb + b) / 2 - 1, 15, sc.INK)
    sc.pin(ctx, (l + r) / 2, t + 6, kit.BUTTER)


def draw_screen(ctx, lit=None, disabled=False, link_lit=False, picture=None):
    """The whole menu: lit is the index of a lit tag, picture the hover picture in the frame."""
    sc.chalkboard(ctx, 0, 0, 640, 480, 12)
    sc.chalk_text(ctx, "Pelmaro", 320, 66, 64, kit.BUTTER)
    ctx.move_to(196, 112)
    ctx.curve_to(270, 104, 370, 118, 444, 108)
    ctx.set_source_rgba(*kit.rgb(sc.CHALK, 0.8))
    ctx.set_line_width(2.5)
    ctx.stroke()
    sc.chalk_text(ctx, "today's menu", 320, 136, 18, sc.CHALK_DIM, bold=False)
    sc.steam(ctx, 520, 160, 40, sc.CHALK, 0.5, 2.0)
    chalk_whisk(ctx, 560, 120)
    twine(ctx)
    for i, (text, rect) in enumerate(BUTTONS):
        state = "lit" if lit == i else "rest"
        if i == 0 and disabled:
            state = "disabled"
        sc.wooden_tag(ctx, rect, text, state)
    photo_frame(ctx, picture)
    colour = kit.BUTTER if link_lit else sc.CHALK_DIM
    kit.text(ctx, LINK_TEXT, 433, 459, 14, colour)
    if link_lit:
        kit.set_font(ctx, 14)
        half = ctx.text_extents(LINK_TEXT).width / 2
        ctx.move_to(433 - half, 469.5)
        ctx.line_to(433 + half, 469.5)
        ctx.set_source_rgba(*kit.rgb(kit.BUTTER))
        ctx.set_line_width(1.5)
        ctx.stroke()


def chalk_whisk(ctx, x, y):
    ctx.set_source_rgba(*kit.rgb(sc.CHALK, 0.55))
    ctx.set_line_width(2.0)
    ctx.move_to(x, y + 30)
    ctx.line_to(x, y + 55)
    ctx.stroke()
    for k in (-1, -0.4, 0.4, 1):
        ctx.move_to(x, y + 30)
        ctx.curve_to(x + 14 * k, y + 18, x + 12 * k, y - 8, x, y - 10)
        ctx.stroke()


# ---------------------------------------------------------------- the pictures in the frame


def photo_back(ctx, x, y, w, h, top, bottom):
    kit.vertical_gradient(ctx, x, y, w, h, top, bottom)


def picture_rest(ctx, x, y, w, h):
    """A set table: plate, fork and knife on a checked cloth."""
    photo_back(ctx, x, y, w, h, (0xF7, 0xE4, 0xC4), (0xEC, 0xCF, 0xA2))
    ctx.set_source_rgba(*kit.rgb(kit.TOMATO, 0.18))
    for i in range(0, int(w), 24):
        ctx.rectangle(x + i, y, 12, h)
    for j in range(0, int(h), 24):
        ctx.rectangle(x, y + j, w, 12)
    ctx.fill()
    cx, cy = x + w / 2, y + h / 2
    kit.shape(ctx, lambda c: c.arc(cx, cy, 62, 0, 2 * math.pi), (0xFF, 0xFF, 0xFA))
    ctx.arc(cx, cy, 46, 0, 2 * math.pi)
    ctx.set_source_rgba(*kit.rgb(kit.TILE_BLUE))
    ctx.set_line_width(2.0)
    ctx.stroke()
    for dx in (-86, 86):
        kit.shape(ctx, lambda c, dx=dx: kit.rounded_rect(c, cx + dx - 5, cy - 55, 10, 110, 5), (0xD8, 0xD8, 0xD4))
    sc.dumpling(ctx, cx - 14, cy + 4, 18)
    sc.dumpling(ctx, cx + 16, cy - 8, 16)
    sc.dumpling(ctx, cx + 10, cy + 20, 15)


def picture_continue(ctx, x, y, w, h):
    """A pan on the stove with two eggs frying."""
    photo_back(ctx, x, y, w, h, kit.TILE_BLUE, (0x5E, 0x93, 0xA8))
    sc.tiles(ctx, x, y, w, h * 0.55, 37, (0x9C, 0xC6, 0xD6))
    kit.vertical_gradient(ctx, x, y + h * 0.55, w, h * 0.45, (0x8A, 0x86, 0x80), (0x5C, 0x58, 0x54))
    cx, cy = x + w / 2 - 14, y + h * 0.62
    sc.pan(ctx, cx, cy, 62, -0.35)
    sc.fried_egg(ctx, cx - 22, cy - 6, 34)
    sc.fried_egg(ctx, cx + 24, cy + 14, 30)
    sc.steam(ctx, cx, cy - 64, 44)


def picture_new(ctx, x, y, w, h):
    """A cutting board with fresh food."""
    photo_back(ctx, x, y, w, h, kit.SAGE, (0x6E, 0x94, 0x4F))
    cx, cy = x + w / 2, y + h / 2
    kit.shape(ctx, lambda c: kit.rounded_rect(c, cx - 92, cy - 66, 184, 132, 22), sc.OAK_LIGHT, kit.OUTLINE, 2.5)
    kit.shape(ctx, lambda c: c.arc(cx + 76, cy - 44, 7, 0, 2 * math.pi), kit.mix(kit.SAGE, kit.WALNUT, 0.4))
    sc.tomato(ctx, cx - 44, cy - 14, 27)
    sc.cheese(ctx, cx + 38, cy - 16, 30)
    sc.egg(ctx, cx - 10, cy + 30, 20)
    sc.carrot(ctx, cx + 48, cy + 30, 22)


def picture_options(ctx, x, y, w, h):
    """The oven's knobs and a salt shaker."""
    photo_back(ctx, x, y, w, h, kit.CREAM, kit.BUTTER)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x + 12, y + 22, w - 24, 86, 12), (0xE8, 0xE2, 0xD8), kit.OUTLINE, 2.5)
    for i, ang in enumerate((-0.9, 0.3, 1.4)):
        kx, ky = x + 52 + i * 58, y + 65
        kit.shape(ctx, lambda c, kx=kx, ky=ky: c.arc(kx, ky, 24, 0, 2 * math.pi), kit.CHARCOAL, kit.OUTLINE, 2.0)
        kit.shape(ctx, lambda c, kx=kx, ky=ky: c.arc(kx, ky, 17, 0, 2 * math.pi), (0x5C, 0x56, 0x52), None)
        ctx.move_to(kx, ky)
        ctx.line_to(kx + math.cos(ang - math.pi / 2) * 20, ky + math.sin(ang - math.pi / 2) * 20)
        ctx.set_source_rgba(*kit.rgb(kit.BUTTER))
        ctx.set_line_width(4.0)
        ctx.stroke()
    sx, sy = x + w * 0.32, y + h - 14
    kit.shape(ctx, lambda c: kit.rounded_rect(c, sx - 24, sy - 70, 48, 70, 10), (0xFF, 0xFF, 0xFA), kit.OUTLINE, 2.5)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, sx - 24, sy - 86, 48, 22, 9), (0xC0, 0xC0, 0xC4), kit.OUTLINE, 2.5)
    kit.text(ctx, "S", sx, sy - 34, 24, kit.CHARCOAL)
    px = x + w * 0.7
    kit.shape(ctx, lambda c: kit.rounded_rect(c, px - 24, sy - 70, 48, 70, 10), kit.CHARCOAL, kit.OUTLINE, 2.5)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, px - 24, sy - 86, 48, 22, 9), (0xC0, 0xC0, 0xC4), kit.OUTLINE, 2.5)
    kit.text(ctx, "P", px, sy - 34, 24, kit.CREAM)


def picture_scores(ctx, x, y, w, h):
    """A golden cup with stars."""
    photo_back(ctx, x, y, w, h, (0x8E, 0x4B, 0x2E), kit.WALNUT)
    cx, cy = x + w / 2, y + h / 2 + 4
    gold, dark = (0xF6, 0xC4, 0x3C), (0xC8, 0x8A, 0x1E)
    for side in (-1, 1):
        ctx.new_path()
        ctx.arc(cx + side * 48, cy - 34, 18, 0, 2 * math.pi)
        ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
        ctx.set_line_width(10)
        ctx.stroke_preserve()
        ctx.set_source_rgba(*kit.rgb(gold))
        ctx.set_line_width(6)
        ctx.stroke()

    def bowl(c):
        c.move_to(cx - 54, cy - 62)
        c.line_to(cx + 54, cy - 62)
        c.curve_to(cx + 54, cy, cx + 20, cy + 16, cx, cy + 16)
        c.curve_to(cx - 20, cy + 16, cx - 54, cy, cx - 54, cy - 62)
        c.close_path()
    kit.shape(ctx, bowl, gold, kit.OUTLINE, 2.5)
    kit.shape(ctx, lambda c: c.rectangle(cx - 9, cy + 14, 18, 22), dark)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, cx - 38, cy + 34, 76, 20, 4), kit.CHARCOAL)
    sc.star(ctx, cx, cy - 30, 20, (0xFF, 0xF3, 0xD6))
    for sx, sy, r in ((-88, -70, 9), (86, -62, 8), (-80, 40, 7), (84, 36, 9)):
        sc.star(ctx, cx + sx, cy + sy, r, kit.BUTTER)


def picture_exit(ctx, x, y, w, h):
    """A steaming cup of tea by the window."""
    photo_back(ctx, x, y, w, h, (0xF3, 0xB8, 0x7A), (0xC9, 0x6E, 0x4A))
    kit.shape(ctx, lambda c: c.arc(x + w * 0.75, y + h * 0.3, 26, 0, 2 * math.pi), (0xFF, 0xE6, 0x9A), None)
    kit.vertical_gradient(ctx, x, y + h * 0.72, w, h * 0.28, sc.OAK_LIGHT, sc.OAK)
    cx, cy = x + w / 2 - 10, y + h * 0.74
    kit.shape(ctx, lambda c: (c.save(), c.translate(cx, cy + 4), c.scale(1.0, 0.3), c.arc(0, 0, 62, 0, 2 * math.pi), c.restore()),
              (0xFF, 0xFF, 0xFA))
    ctx.new_path()
    ctx.arc(cx + 44, cy - 34, 16, -math.pi / 2, math.pi / 2)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(10)
    ctx.stroke_preserve()
    ctx.set_source_rgba(*kit.rgb(kit.TOMATO))
    ctx.set_line_width(6)
    ctx.stroke()

    def cup(c):
        c.move_to(cx - 44, cy - 62)
        c.line_to(cx + 44, cy - 62)
        c.curve_to(cx + 44, cy - 10, cx + 24, cy, cx, cy)
        c.curve_to(cx - 24, cy, cx - 44, cy - 10, cx - 44, cy - 62)
        c.close_path()
    kit.shape(ctx, cup, kit.TOMATO, kit.OUTLINE, 2.5)
    for i in range(3):
        ctx.arc(cx - 24 + i * 24, cy - 36, 5, 0, 2 * math.pi)
        kit.fill(ctx, kit.CREAM)
    sc.steam(ctx, cx, cy - 70, 52)


PICTURE_ART = {
    None: picture_rest,
    0: picture_continue,
    1: picture_new,
    2: picture_options,
    3: picture_scores,
    4: picture_exit,
}


# ---------------------------------------------------------------- baked pictures


def screen(**state):
    return sc.render(640, 480, lambda ctx: draw_screen(ctx, **state))


def menu():
    return sc.opaque(screen())


def menu_image():
    out = sc.sheet(735, 518)
    out.paste((0x2F, 0x3B, 0x35, 255), (0, 0, 735, 518))
    x, y = PICTURE_AT
    for i, (l, t, r, b) in enumerate(PICTURE_SOURCES):
        shown = sc.opaque(screen(picture=i)).crop((x, y, x + r - l, y + b - t))
        sc.place(out, shown, l, t)
    return out


def knob():
    """The volume knob, 28 x 21: a copper slider grip, edges laid over the card it slides on."""
    def draw(ctx):
        kit.shape(ctx, lambda c: kit.rounded_rect(c, 1, 1, 26, 19, 6), kit.COPPER, kit.OUTLINE, 2.0)
        kit.vertical_gradient(ctx, 4, 3, 20, 6, (0xE8, 0xA0, 0x68), kit.COPPER)
        ctx.set_source_rgba(*kit.rgb(kit.OUTLINE, 0.8))
        ctx.set_line_width(1.5)
        for gx in (10.5, 14.5, 18.5):
            ctx.move_to(gx, 7)
            ctx.line_to(gx, 15)
            ctx.stroke()
    drawn = sc.render(28, 21, draw)
    paper = sc.sheet(28, 21)
    paper.paste(sc.PAPER + (255,), (0, 0, 28, 21))
    return sc.cut_out(drawn, paper)


def play_screen_overlays():
    """The play screen's menu-button highlight and level caption, laid over its background."""
    rest = game_play.background()
    lit = Image.alpha_composite(rest, sc.render(640, 480, lambda ctx: kit.play_menu_button(ctx, 13, 379, True)))
    button = sc.overlay(rest, lit, PLAY_MENU_LIT)
    captioned = Image.alpha_composite(rest, sc.render(640, 480, lambda ctx: kit.text(ctx, "Level", 323, 464, 14, kit.LABEL_RED)))
    return button, sc.overlay(rest, captioned, LEVEL_CAPTION)


def won_button_highlight():
    """The won panel's button lit, 287 x 63, over the panel drawn as "game over.jpg" holds it."""
    def rest(ctx):
        game_play.won_panel(ctx, -WON_LIT_IN_PANEL[0], -WON_LIT_IN_PANEL[1])

    def lit(ctx):
        rest(ctx)
        kit.won_panel_button(ctx, 7, 7, True)
    return sc.overlay(sc.render(287, 63, rest), sc.render(287, 63, lit), (0, 0, 287, 63))


def menu_txt():
    out = sc.sheet(393, 894)
    rest = screen()
    for i, (_, rect) in enumerate(BUTTONS):
        sc.place(out, sc.overlay(rest, screen(lit=i), rect), 0, 52 * i)
    sc.place(out, sc.overlay(rest, screen(disabled=True), BUTTONS[0][1]), 0, 260)
    sc.place(out, knob(), 0, 312)
    sc.place(out, sc.overlay(rest, screen(link_lit=True), LINK_ART), 0, 601)
    sc.place(out, won_button_highlight(), 0, 831)
    previous, following = screens_scores.arrow_frames()
    for k in range(4):
        sc.place(out, previous[k], 179, 53 * k)
    for k in range(5):
        sc.place(out, following[k], 286, 53 * k)
    menu_button, caption = play_screen_overlays()
    sc.place(out, menu_button, 179, 212)
    sc.place(out, caption, 179, 292)
    return out


PICTURES = {
    "Menu.jpg": menu,
    "MenuImage.jpg": menu_image,
    "MenuTxt.bmp": menu_txt,
}
