"""The play screen: kitchen background, frying pan, the cook's blink, the mixer, banners, the won
panel, the cursor and the digit strips."""
import math

import cairo
import numpy as np
from PIL import Image

import kit

W, H = 640, 480
BOARD = (236, 4, 636, 404)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

WALL = (0xFF, 0xEE, 0xCC)
WALL_GROUT = (0xEC, 0xD3, 0xA8)
COUNTER_TOP = (0xD9, 0x9A, 0x5B)
CABINET = (0x8A, 0x55, 0x30)
CABINET_DARK = (0x6B, 0x40, 0x25)
SQUARE_A = (0xFF, 0xF6, 0xE0)
SQUARE_B = (0xF6, 0xE6, 0xC4)
SKIN = (0xF6, 0xC8, 0x9E)
SKIN_SHADE = (0xE8, 0xAE, 0x82)
JACKET = (0xFB, 0xF8, 0xF0)
PAN = (0x3A, 0x36, 0x33)
PLAQUE = (0xFF, 0xF3, 0xD6)
DIGIT = (0x6B, 0x2E, 0x14)

COUNTER_Y = 326          # top of the counter, left of the board
CABINET_Y = 342          # top of the cabinet doors
PAN_AREA = (5, 24, 100, 179)
PAN_CENTRE = (52.5, 137.5)
EYES = (112, 200, 189, 228)
FACE = (150.0, 212.0)
MIXER_AREA = (36, 278, 145, 387)
MIXER_MOUTH = (91, 280)
MIXER_FRAMES = 11
SCORE_DIGIT_HEIGHT = 20
LEVEL_DIGIT_HEIGHT = 22


# ---------------------------------------------------------------- the kitchen, layer by layer

def wall(ctx):
    ctx.rectangle(0, 0, W, COUNTER_Y)
    ctx.set_source_rgba(*kit.rgb(WALL_GROUT))
    ctx.fill()
    for row in range(9):
        for col in range(7):
            x = col * 40 - (20 if row % 2 else 0)
            y = row * 40 - 8
            tone = kit.mix(WALL, kit.BUTTER, 0.10 if (row + col) % 3 == 0 else 0.0)
            kit.shape(ctx, lambda c, x=x, y=y: kit.rounded_rect(c, x + 1.5, y + 1.5, 37, 37, 4),
                      tone, outline=None)


def counter(ctx):
    kit.vertical_gradient(ctx, 0, COUNTER_Y, W, CABINET_Y - COUNTER_Y,
                          kit.mix(COUNTER_TOP, WHITE, 0.2), COUNTER_TOP)
    ctx.rectangle(0, COUNTER_Y, W, 1.5)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.fill()
    kit.vertical_gradient(ctx, 0, CABINET_Y, W, H - CABINET_Y, CABINET, CABINET_DARK)
    ctx.rectangle(0, CABINET_Y, W, 2)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.fill()
    # Door panels and their knobs.
    for x0, x1 in ((4, 226), (230, 636)):
        ctx.new_path()
        kit.rounded_rect(ctx, x0 + 0.5, CABINET_Y + 8.5, x1 - x0, H - CABINET_Y, 8)
        ctx.set_source_rgba(*kit.rgb(kit.mix(CABINET, BLACK, 0.25)))
        ctx.set_line_width(2)
        ctx.stroke()


def board_tray(ctx):
    """The walnut tray framing the board on every side, kept inside the picture: the board
    leaves it 4 pixels at the top and right, more at the left and bottom."""
    l, t, r, b = BOARD
    kit.shape(ctx, lambda c: kit.rounded_rect(c, l - 7, t - 3, r - l + 10, b - t + 10, 5),
              kit.WALNUT, width=2.0)
    for row in range(8):
        for col in range(8):
            ctx.rectangle(l + 50 * col, t + 50 * row, 50, 50)
            ctx.set_source_rgba(*kit.rgb(SQUARE_A if (row + col) % 2 == 0 else SQUARE_B))
            ctx.fill()
    ctx.rectangle(l - 0.5, t - 0.5, r - l + 1, b - t + 1)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(1)
    ctx.stroke()


def sign(ctx):
    """A small wooden sign with the game's name above the cook."""
    kit.shape(ctx, lambda c: kit.rounded_rect(c, 112, 22, 112, 34, 8), kit.COPPER, width=2)
    kit.text(ctx, "Pelmaro", 168, 39, 17, kit.CREAM, outline=kit.OUTLINE, outline_width=3)
    for x in (124, 212):
        ctx.new_path()
        ctx.arc(x, 15, 2.5, 0, 2 * math.pi)
        ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
        ctx.fill()
        ctx.move_to(x, 15)
        ctx.line_to(x - 4 if x < 168 else x + 4, 23)
        ctx.set_line_width(1.5)
        ctx.stroke()


def shelf(ctx):
    kit.shape(ctx, lambda c: c.rectangle(108, 96, 124, 7), kit.WALNUT, width=1.5)
    jars = ((118, kit.TOMATO), (140, kit.SAGE), (206, kit.BUTTER))
    for x, lid in jars:
        kit.shape(ctx, lambda c, x=x: kit.rounded_rect(c, x, 74, 16, 22, 4),
                  kit.mix(kit.TILE_BLUE, WHITE, 0.45), width=1.5)
        kit.shape(ctx, lambda c, x=x: c.rectangle(x - 1, 70, 18, 6), lid, width=1.5)


# ---------------------------------------------------------------- the frying pan (hint button)

def pan(ctx, tilt=0.0, sparkle=0.0):
    """The pan hanging on its hook; tilt swings it (radians) about the hook."""
    hook = (52.5, 30.0)
    ctx.save()
    ctx.translate(*hook)
    ctx.rotate(tilt)
    ctx.translate(-hook[0], -hook[1])
    cx, cy = PAN_CENTRE
    kit.shape(ctx, lambda c: kit.rounded_rect(c, cx - 5, 34, 10, 66, 5), kit.WALNUT, width=2)
    ctx.new_path()
    ctx.arc(cx, 42, 2.5, 0, 2 * math.pi)
    ctx.set_source_rgba(*kit.rgb(kit.CREAM))
    ctx.fill()
    kit.shape(ctx, lambda c: c.rectangle(cx - 4, 96, 8, 8), kit.mix(PAN, WHITE, 0.3), width=1.5)
    kit.shape(ctx, lambda c: c.arc(cx, cy, 37, 0, 2 * math.pi), PAN, width=2.5)
    g = cairo.RadialGradient(cx - 10, cy - 10, 4, cx, cy, 30)
    g.add_color_stop_rgb(0, *kit.rgb(kit.mix(PAN, WHITE, 0.28))[:3])
    g.add_color_stop_rgb(1, *kit.rgb(kit.mix(PAN, BLACK, 0.3))[:3])
    ctx.new_path()
    ctx.arc(cx, cy, 30, 0, 2 * math.pi)
    ctx.set_source(g)
    ctx.fill()
    ctx.new_path()
    ctx.arc(cx, cy, 34, math.pi * 1.05, math.pi * 1.45)
    ctx.set_source_rgba(1, 1, 1, 0.45)
    ctx.set_line_width(2.5)
    ctx.stroke()
    kit.text(ctx, "Hint", cx, cy + 2, 15, kit.BUTTER, outline=kit.OUTLINE, outline_width=3)
    ctx.restore()
    if sparkle > 0:
        for x, y, r in ((20, 96, 6), (88, 108, 5), (80, 166, 4)):
            star(ctx, x, y, r * sparkle)


def star(ctx, x, y, r):
    ctx.new_path()
    for i in range(8):
        a = i * math.pi / 4
        d = r if i % 2 == 0 else r * 0.35
        ctx.line_to(x + d * math.cos(a), y + d * math.sin(a))
    ctx.close_path()
    ctx.set_source_rgba(*kit.rgb(kit.BUTTER))
    ctx.fill_preserve()
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(1)
    ctx.stroke()


# ---------------------------------------------------------------- the cook

def cook(ctx, eyes_open=True):
    fx, fy = FACE
    # Jacket and neckerchief.
    kit.shape(ctx, lambda c: kit.rounded_rect(c, 98, 250, 108, 110, 30), JACKET, width=2.5)
    for y in (282, 302):
        for x in (140, 160):
            ctx.new_path()
            ctx.arc(x, y, 2.5, 0, 2 * math.pi)
            ctx.set_source_rgba(*kit.rgb(kit.COPPER))
            ctx.fill()
    kit.shape(ctx, lambda c: (c.move_to(124, 244), c.line_to(176, 244), c.line_to(150, 270),
                              c.close_path()), kit.TOMATO, width=2)
    # Ears, face.
    for x in (fx - 35, fx + 35):
        kit.shape(ctx, lambda c, x=x: c.arc(x, fy + 4, 7, 0, 2 * math.pi), SKIN_SHADE, width=2)
    kit.shape(ctx, lambda c: c.arc(fx, fy, 36, 0, 2 * math.pi), SKIN, width=2.5)
    # Toque.
    for x, y, r in ((fx - 24, 150, 17), (fx + 24, 150, 17), (fx, 138, 22)):
        kit.shape(ctx, lambda c, x=x, y=y, r=r: c.arc(x, y, r, 0, 2 * math.pi), JACKET, width=2.5)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, fx - 34, 152, 68, 28, 5), JACKET, width=2.5)
    ctx.rectangle(fx - 32, 154, 64, 12)
    ctx.set_source_rgba(*kit.rgb(JACKET))
    ctx.fill()
    # Cheeks, nose, moustache, smile.
    for x in (fx - 22, fx + 22):
        ctx.new_path()
        ctx.arc(x, fy + 14, 6, 0, 2 * math.pi)
        ctx.set_source_rgba(*kit.rgb(kit.mix(SKIN, kit.TOMATO, 0.35)))
        ctx.fill()
    kit.shape(ctx, lambda c: c.arc(fx, fy + 10, 5, 0, 2 * math.pi), SKIN_SHADE, width=1.8)
    for side in (-1, 1):
        kit.shape(ctx, lambda c, s=side: (c.move_to(fx, fy + 16),
                                          c.curve_to(fx + s * 8, fy + 12, fx + s * 18, fy + 14,
                                                     fx + s * 20, fy + 22),
                                          c.curve_to(fx + s * 12, fy + 21, fx + s * 6, fy + 22,
                                                     fx, fy + 19), c.close_path()),
                  kit.WALNUT, width=1.5)
    ctx.new_path()
    ctx.arc(fx, fy + 22, 7, 0.2 * math.pi, 0.8 * math.pi)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(2)
    ctx.stroke()
    eyes(ctx, eyes_open)


def eyes(ctx, eyes_open):
    fx, fy = FACE
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for side in (-1, 1):
        x = fx + side * 14
        ctx.new_path()
        ctx.move_to(x - 7, fy - 13 - (1 if eyes_open else -1))
        ctx.curve_to(x - 3, fy - 17, x + 3, fy - 17, x + 7, fy - 13)
        ctx.set_source_rgba(*kit.rgb(kit.WALNUT))
        ctx.set_line_width(2.5)
        ctx.stroke()
        if eyes_open:
            kit.shape(ctx, lambda c, x=x: (c.save(), c.translate(x, fy - 2), c.scale(5, 6.5),
                                           c.arc(0, 0, 1, 0, 2 * math.pi), c.restore()),
                      kit.OUTLINE, outline=None)
            ctx.new_path()
            ctx.arc(x - 1.5, fy - 4.5, 1.8, 0, 2 * math.pi)
            ctx.set_source_rgba(1, 1, 1, 1)
            ctx.fill()
        else:
            ctx.new_path()
            ctx.arc(x, fy - 4, 6, 0.15 * math.pi, 0.85 * math.pi)
            ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
            ctx.set_line_width(2.5)
            ctx.stroke()
            for dx in (-6, 6):
                ctx.move_to(x + dx, fy + 1)
                ctx.line_to(x + dx * 1.4, fy + 3)
                ctx.set_line_width(1.5)
                ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)


# ---------------------------------------------------------------- the mixer

def mixer(ctx, frame=None):
    """The blender on the counter; frame None is the mixer at rest, 0..10 the whirl."""
    phase = 0.0 if frame is None else frame / MIXER_FRAMES
    shake = 0.0 if frame is None else 1.2 * math.sin(2 * math.pi * phase * 3)
    mx, my = MIXER_MOUTH
    ctx.save()
    ctx.translate(shake, 0)
    # Jar.
    jar = lambda c: (c.move_to(mx - 30, my + 3), c.line_to(mx + 30, my + 3),
                     c.line_to(mx + 21, my + 62), c.line_to(mx - 21, my + 62), c.close_path())
    kit.shape(ctx, jar, kit.mix(kit.TILE_BLUE, WHITE, 0.55), width=2.5)
    ctx.save()
    ctx.new_path()
    jar(ctx)
    ctx.clip()
    level = my + 38 - (0 if frame is None else 8 * math.sin(math.pi * min(1.0, phase * 1.6)))
    ctx.rectangle(mx - 40, level, 80, 40)
    ctx.set_source_rgba(*kit.rgb(kit.mix(kit.BUTTER, kit.TOMATO, 0.35)))
    ctx.fill()
    if frame is not None:
        for i in range(5):
            a = 2 * math.pi * (phase * 2 + i / 5)
            x = mx + 15 * math.cos(a)
            y = my + 46 + 5 * math.sin(a)
            colour = (kit.TOMATO, kit.SAGE, kit.BUTTER, kit.COPPER, (0x7A, 0x3E, 0xA0))[i]
            kit.shape(ctx, lambda c, x=x, y=y: c.arc(x, y, 4.5, 0, 2 * math.pi), colour, width=1.2)
    ctx.rectangle(mx - 24, my + 8, 6, 50)
    ctx.set_source_rgba(1, 1, 1, 0.55)
    ctx.fill()
    ctx.restore()
    # Open mouth at the top: the food drops in here.
    kit.shape(ctx, lambda c: (c.save(), c.translate(mx, my + 4), c.scale(30, 4.5),
                              c.arc(0, 0, 1, 0, 2 * math.pi), c.restore()),
              kit.mix(kit.TILE_BLUE, BLACK, 0.35), width=2)
    # Blades.
    ctx.save()
    ctx.translate(mx, my + 58)
    ctx.scale(1, 0.3)
    ctx.rotate(0 if frame is None else 2 * math.pi * phase * 4)
    for i in range(2):
        ctx.rotate(math.pi / 2)
        ctx.rectangle(-13, -2, 26, 4)
    ctx.restore()
    ctx.set_source_rgba(*kit.rgb(kit.CHARCOAL))
    ctx.fill()
    # Motor base with its dial and light.
    kit.shape(ctx, lambda c: kit.rounded_rect(c, mx - 34, my + 62, 68, 30, 9), kit.COPPER, width=2.5)
    kit.shape(ctx, lambda c: c.arc(mx, my + 77, 8, 0, 2 * math.pi), kit.CREAM, width=2)
    angle = -math.pi / 2 + (0 if frame is None else 2 * math.pi * phase)
    ctx.move_to(mx, my + 77)
    ctx.line_to(mx + 6 * math.cos(angle), my + 77 + 6 * math.sin(angle))
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(2)
    ctx.stroke()
    lit = frame is not None and frame % 2 == 0
    kit.shape(ctx, lambda c: c.arc(mx + 22, my + 77, 3.5, 0, 2 * math.pi),
              kit.SAGE if lit else kit.mix(kit.SAGE, BLACK, 0.45), width=1.2)
    ctx.restore()


# ---------------------------------------------------------------- the HUD at rest

def level_gauge(ctx):
    """A kitchen thermometer: its tube is the level bar (174, 339)-(194, 412)."""
    kit.shape(ctx, lambda c: kit.rounded_rect(c, 169, 330, 30, 90, 12), kit.CREAM, width=2.5)
    kit.shape(ctx, lambda c: c.arc(184, 426, 13, 0, 2 * math.pi), kit.CREAM, width=2.5)
    ctx.rectangle(171, 412, 26, 8)
    ctx.set_source_rgba(*kit.rgb(kit.CREAM))
    ctx.fill()
    # The bulb and the neck below the tube are not part of the bar: they keep the empty look,
    # so an empty bar shows nothing of the fill.
    kit.shape(ctx, lambda c: c.arc(184, 426, 9, 0, 2 * math.pi), kit.GAUGE_EMPTY_TOP, width=1.5)
    ctx.rectangle(172.5, 337.5, 23, 77)
    ctx.set_source_rgba(*kit.rgb(kit.OUTLINE))
    ctx.set_line_width(1.5)
    ctx.stroke()
    ctx.rectangle(174, 412, 20, 6)
    ctx.set_source_rgba(*kit.rgb(kit.GAUGE_EMPTY_TOP))
    ctx.fill()
    kit.level_gauge(ctx, 174, 339, True)


def score_plaque(ctx):
    kit.shape(ctx, lambda c: kit.rounded_rect(c, 468, 411, 134, 56, 10), PLAQUE, width=2.5)
    kit.text(ctx, "Score", 535, 423, 13, kit.LABEL_RED)
    ctx.new_path()
    kit.rounded_rect(ctx, 475.5, 433.5, 119, 27, 6)
    ctx.set_source_rgba(*kit.rgb(kit.mix(PLAQUE, kit.COPPER, 0.35)))
    ctx.set_line_width(1)
    ctx.stroke()


def level_plaque(ctx):
    """The plaque under the level caption and digits, whole above the picture's bottom edge."""
    kit.shape(ctx, lambda c: kit.rounded_rect(c, 290, 443, 108, 35, 9), kit.LEVEL_PLAQUE, width=2.5)


# ---------------------------------------------------------------- whole pictures

def scene(pan_tilt=0.0, sparkle=0.0, eyes_open=True, mixer_frame=None, with_mixer=True):
    surface, ctx = kit.canvas(W, H)
    wall(ctx)
    sign(ctx)
    shelf(ctx)
    counter(ctx)
    board_tray(ctx)
    cook(ctx, eyes_open)
    if with_mixer:
        mixer(ctx, mixer_frame)
    pan(ctx, pan_tilt, sparkle)
    level_gauge(ctx)
    kit.play_menu_button(ctx, 13, 379, False)
    score_plaque(ctx)
    level_plaque(ctx)
    return kit.to_image(surface).convert("RGB")


def crop(image, area):
    return image.crop(area)


def background():
    return scene().convert("RGBA")


def pan_frames():
    """Rest, swing left with sparkles, swing right, and the rest again for the edge frame."""
    poses = [(0.0, 0.0), (-0.09, 1.0), (0.09, 0.8), (0.0, 0.0)]
    sheet = Image.new("RGBA", (95, 155 * len(poses)))
    for f, (tilt, sparkle) in enumerate(poses):
        sheet.paste(crop(scene(tilt, sparkle), PAN_AREA), (0, 155 * f))
    return sheet


def blink():
    """The closed eyes, opaque only where they differ from the open eyes (and a little round)."""
    shut = np.asarray(crop(scene(eyes_open=False), EYES))
    open_ = np.asarray(crop(scene(), EYES))
    changed = np.any(shut != open_, axis=-1)
    grown = changed.copy()
    for dy in (-2, -1, 0, 1, 2):
        for dx in (-2, -1, 0, 1, 2):
            grown |= np.roll(np.roll(changed, dy, 0), dx, 1)
    alpha = np.where(grown, 255, 0).astype(np.uint8)
    return Image.fromarray(np.dstack([shut, alpha]), "RGBA")


def mixer_mask(frame):
    surface, ctx = kit.canvas(W, H)
    mixer(ctx, frame)
    alpha = np.asarray(crop(kit.to_image(surface), MIXER_AREA))[..., 3]
    return alpha >= 16


def mixer_frames():
    """The whirl, frames 0..10, and the mixer at rest again as the edge frame 11. Each frame
    covers the resting mixer too, so no outline of it peeks out while the jar shakes."""
    rest = mixer_mask(None)
    behind = np.asarray(crop(scene(with_mixer=False), MIXER_AREA))
    frames = [None] + list(range(1, MIXER_FRAMES)) + [None]
    sheet = Image.new("RGBA", (109, 109 * len(frames)))
    for i, frame in enumerate(frames):
        pixels = np.asarray(crop(scene(mixer_frame=frame), MIXER_AREA))
        mask = rest | mixer_mask(frame)
        pixels = np.where(mask[..., None], pixels, behind)
        alpha = np.where(mask, 255, 0).astype(np.uint8)
        sheet.paste(Image.fromarray(np.dstack([pixels, alpha]), "RGBA"), (0, 109 * i))
    return sheet


# ---------------------------------------------------------------- digits

def digit_strip(cell, height, size, colour, background):
    """Digits 0..9 side by side in cells of cell x height; keyed unless background is given."""
    surface, ctx = kit.canvas(cell * 10, height)
    if background is not None:
        ctx.rectangle(0, 0, cell * 10, height)
        ctx.set_source_rgba(*kit.rgb(background))
        ctx.fill()
    for d in range(10):
        ctx.save()
        ctx.rectangle(cell * d, 0, cell, height)
        ctx.clip()
        kit.set_font(ctx, size)
        ext = ctx.text_extents(str(d))
        squeeze = min(1.0, (cell - 2.5) / max(ext.width, 1))
        ctx.translate(cell * d + cell / 2, height / 2)
        ctx.scale(squeeze, 1)
        kit.text(ctx, str(d), 0, 0, size, colour, outline=kit.OUTLINE if background else None,
                 outline_width=2.5)
        ctx.restore()
    image = kit.to_image(surface)
    if background is not None:
        return image
    return kit.keyed(image, threshold=40, matte=PLAQUE)


def score_digits():
    return digit_strip(10, SCORE_DIGIT_HEIGHT, 19, DIGIT, None)


def level_digits():
    return digit_strip(15, LEVEL_DIGIT_HEIGHT, 19, kit.LABEL_RED, kit.LEVEL_PLAQUE)


# ---------------------------------------------------------------- banners and the won panel

BANNERS = [
    ("No moves left!", kit.TOMATO, None),
    ("Paused", kit.TILE_BLUE, "Click or press Esc to play on"),
    ("Level complete!", kit.SAGE, None),
    ("Time's up!", kit.TOMATO, None),
    ("No moves: new board", kit.COPPER, None),
]


def banner(ctx, y, label, colour, hint):
    kit.shape(ctx, lambda c: kit.rounded_rect(c, 3, y + 5, 294, 51, 14), colour, width=3)
    ctx.new_path()
    kit.rounded_rect(ctx, 9, y + 9, 282, 43, 10)
    ctx.set_source_rgba(*kit.rgb(kit.CREAM))
    ctx.set_line_width(1.5)
    ctx.set_dash([5, 4])
    ctx.stroke()
    ctx.set_dash([])
    if hint:
        # The hint as tall as the play screen's painted labels (13-pixel capitals).
        kit.text(ctx, label, 150, y + 22, 20, kit.CREAM, outline=kit.OUTLINE, outline_width=4)
        kit.text(ctx, hint, 150, y + 42, 17, kit.CREAM, outline=kit.OUTLINE, outline_width=3)
        return
    size = 24 if len(label) < 16 else 21
    kit.text(ctx, label, 150, y + 30, size, kit.CREAM, outline=kit.OUTLINE, outline_width=4)


def won_panel(ctx, x, y):
    w, h = 403, 278
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x + 2, y + 2, w - 4, h - 4, 22), kit.WALNUT, width=3)
    kit.shape(ctx, lambda c: kit.rounded_rect(c, x + 12, y + 12, w - 24, h - 24, 16), kit.CREAM,
              width=2)
    kit.text(ctx, "Well done, chef!", x + w / 2, y + 52, 28, kit.TOMATO, outline=kit.OUTLINE,
             outline_width=3.5)
    kit.text(ctx, "All 99 levels are cooked.", x + w / 2, y + 100, 17, kit.WALNUT)
    kit.text(ctx, "Your score goes on the board.", x + w / 2, y + 126, 15, kit.WALNUT, bold=False)
    for i in range(5):
        star(ctx, x + w / 2 - 80 + 40 * i, y + 164, 10)
    kit.won_panel_button(ctx, x + 68, y + 202, False)


def game_over():
    surface, ctx = kit.canvas(731, 305)
    for n, (label, colour, hint) in enumerate(BANNERS):
        banner(ctx, 61 * n, label, colour, hint)
    won_panel(ctx, 328, 0)
    return kit.keyed(kit.to_image(surface))


# ---------------------------------------------------------------- cursor and check mark

def cursor():
    surface, ctx = kit.canvas(49, 30)
    # A light arrow in a thick dark outline, so it stands out on every piece, dark or light.
    arrow = [(2, 2), (2, 22), (7, 17.5), (11, 26.5), (15, 25), (11, 16.5), (18, 16)]
    kit.shape(ctx, lambda c: (c.move_to(*arrow[0]), [c.line_to(*p) for p in arrow[1:]],
                              c.close_path()), kit.CREAM, width=3.2)
    tick = [(33, 13), (37.5, 9.5), (40, 15), (46, 2), (47.5, 6), (40.5, 23), (37.5, 23)]
    kit.shape(ctx, lambda c: (c.move_to(*tick[0]), [c.line_to(*p) for p in tick[1:]],
                              c.close_path()), kit.TOMATO, width=2)
    image = kit.keyed(kit.to_image(surface), threshold=100)
    # The pointer's hot point is the top-left pixel: it must belong to the arrow.
    image.putpixel((0, 0), kit.OUTLINE + (255,))
    return image


PICTURES = {
    "BkGrnd.jpg": background,
    "skovoroda.bmp": pan_frames,
    "MenDown.bmp": blink,
    "mixer.bmp": mixer_frames,
    "Number.jpg": score_digits,
    "level.jpg": level_digits,
    "game over.jpg": game_over,
    "Cursor.bmp": cursor,
}
