"""Small pictures for the help page, drawn with the game's own art: the foods, a swap that makes
a line, the frying pan, the thermometer, the mixer, the menu, the options card and the
high-score board with its name box."""
import cairo
from PIL import Image

import desktop_icon
import game_pieces as gp
import game_play
import kit
import screens_menu
import screens_common as sc
import screens_panels
import screens_scores

CELL = gp.CELL
TOMATO, CHEESE, EGG = 0, 1, 2


def board_row(ctx, x, kinds, lit=()):
    """A row of pieces on their EasyFood tiles at (x, 0); the cells in lit wear the selection."""
    for i, kind in enumerate(kinds):
        gp.tile(ctx, x + CELL * i, gp.TILES[kind], gp.PATTERNS[kind])
        ctx.save()
        ctx.translate(x + CELL * i, 0)
        gp.DRAW[kind](ctx)
        ctx.restore()
        if i in lit:
            gp.selection_frame(ctx, x + CELL * i)


def arrow(ctx, x0, x1, y, both=False):
    """A thick walnut arrow from x0 to x1 at height y, with a head at one end or at both."""
    ctx.set_source_rgba(*kit.rgb(kit.WALNUT))
    ctx.set_line_width(4)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.move_to(x0, y)
    ctx.line_to(x1, y)
    ctx.stroke()
    for tip, way in ((x1, 1), (x0, -1)) if both else ((x1, 1),):
        ctx.move_to(tip + 4 * way, y)
        ctx.line_to(tip - 8 * way, y - 8)
        ctx.line_to(tip - 8 * way, y + 8)
        ctx.close_path()
        ctx.fill()


def foods():
    """The eight foods on their tiles, in the order of the kinds."""
    surface, ctx = kit.canvas(CELL * gp.KINDS, CELL)
    board_row(ctx, 0, range(gp.KINDS))
    return kit.to_image(surface)


def glow(ctx, x, cells):
    """The butter glow around a line of cells starting at x, just before it clears."""
    ctx.new_path()
    kit.rounded_rect(ctx, x - 3, -3, CELL * cells + 6, CELL + 6, 12)
    ctx.set_source_rgba(*kit.rgb(kit.BUTTER, 0.9))
    ctx.fill()


def swap():
    """Before: a tomato and a cheese about to change places. After: three tomatoes in a line."""
    after = CELL * 4 + 60
    surface, ctx = kit.canvas(after + CELL * 4 + 4, CELL + 28)
    arrow(ctx, 18, 82, 10, both=True)
    ctx.translate(0, 24)
    board_row(ctx, 0, (TOMATO, CHEESE, TOMATO, TOMATO), lit=(0, 1))
    arrow(ctx, CELL * 4 + 12, CELL * 4 + 46, CELL / 2)
    glow(ctx, after + CELL, 3)
    board_row(ctx, after, (CHEESE, TOMATO, TOMATO, TOMATO))
    return kit.to_image(surface)


def kitchen_part(area):
    """A part of the play screen's kitchen, as the game draws it at rest."""
    return game_play.crop(game_play.scene(), area)


def pan():
    return kitchen_part(game_play.PAN_AREA)


def thermometer():
    return kitchen_part((160, 322, 208, 446))


def mixer():
    return kitchen_part((52, 272, 132, 380))


def menu():
    """The main menu at half size."""
    return screens_menu.menu().convert("RGB").resize((320, 240), Image.LANCZOS)


def options():
    """The options card over the menu, at two thirds of its size."""
    screen, _ = screens_panels.over_menu(screens_panels.options_card)
    card = screen.crop(screens_panels.OPTIONS_AT).convert("RGB")
    return card.resize((card.width * 2 // 3, card.height * 2 // 3), Image.LANCZOS)


def high_scores():
    """The high-score board with its name box open, at half size."""
    def draw(ctx):
        screens_scores.draw_screen(ctx)
        screens_scores.name_box(ctx)
    return sc.opaque(sc.render(640, 480, draw)).convert("RGB").resize((320, 240), Image.LANCZOS)


def icon():
    return desktop_icon.png(96)


# Every picture of the help page, by file name.
PICTURES = {
    "icon.png": icon,
    "foods.png": foods,
    "swap.png": swap,
    "pan.png": pan,
    "thermometer.png": thermometer,
    "mixer.png": mixer,
    "menu.png": menu,
    "options.png": options,
    "high-scores.png": high_scores,
}
