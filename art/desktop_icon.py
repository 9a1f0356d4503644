"""The game's icon for the desktop's menus: a tomato and a wedge of cheese on a kitchen tile,
drawn as vectors so it serves every size, from the 16-pixel menu entry to the scalable SVG."""
import cairo

import game_pieces
import kit

# The icon is drawn on a 256 x 256 grid and scaled to each size.
GRID = 256
TILE = kit.mix(kit.TILE_BLUE, kit.CREAM, 0.35)


def tile(ctx):
    """The rounded kitchen tile with its four-square grout and the light from the top left."""
    kit.shape(ctx, lambda c: kit.rounded_rect(c, 10, 10, 236, 236, 46), TILE, width=10)
    ctx.save()
    ctx.new_path()
    kit.rounded_rect(ctx, 15, 15, 226, 226, 42)
    ctx.clip()
    ctx.set_source_rgba(*kit.rgb(kit.mix(TILE, kit.WALNUT, 0.18)))
    ctx.set_line_width(5)
    ctx.move_to(GRID / 2, 0)
    ctx.line_to(GRID / 2, GRID)
    ctx.move_to(0, GRID / 2)
    ctx.line_to(GRID, GRID / 2)
    ctx.stroke()
    glow = cairo.LinearGradient(0, 0, GRID, GRID)
    glow.add_color_stop_rgba(0, 1, 1, 1, 0.45)
    glow.add_color_stop_rgba(0.6, 1, 1, 1, 0.0)
    ctx.rectangle(0, 0, GRID, GRID)
    ctx.set_source(glow)
    ctx.fill()
    ctx.restore()


def food(ctx, draw, x, y, scale, turn=0.0):
    """One piece of the game (drawn in its 50 x 50 cell) centred at (x, y), scale times larger."""
    ctx.save()
    ctx.translate(x, y)
    ctx.rotate(turn)
    ctx.scale(scale, scale)
    ctx.translate(-25, -25)
    draw(ctx)
    ctx.restore()


def draw(ctx, size):
    """The whole icon into a size x size target."""
    ctx.scale(size / GRID, size / GRID)
    tile(ctx)
    food(ctx, game_pieces.cheese, 176, 170, 2.5, -0.12)
    food(ctx, game_pieces.tomato, 106, 116, 3.4)


def png(size):
    """The icon as a PIL RGBA image of size x size pixels."""
    surface, ctx = kit.canvas(size, size)
    draw(ctx, size)
    return kit.to_image(surface)


def svg(path):
    """Writes the icon as a scalable SVG file."""
    surface = cairo.SVGSurface(path, GRID, GRID)
    surface.set_document_unit(cairo.SVGUnit.PX)
    draw(cairo.Context(surface), GRID)
    surface.finish()


# The sizes of the desktop's icon theme that the game fills.
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
