#!/usr/bin/python3
"""Mock-ups of the menu screens composed from the baked pictures at their places, to look at.

Usage: screens_mockups.py BMP_DIR OUT_DIR. Writes one PNG per screen state (rest and every hover),
with the hot spots outlined in thin red in a second copy (*-spots.png)."""
import os
import sys

import numpy as np
from PIL import Image, ImageDraw

import game_font

KEY = (255, 0, 255)


class Pictures:
    """The baked pictures as the game decodes them: magenta transparent in keyed ones."""

    def __init__(self, folder):
        self.folder = folder
        self.cache = {}

    def __getitem__(self, name):
        if name not in self.cache:
            rgb = np.asarray(Image.open(os.path.join(self.folder, name)).convert("RGB"))
            alpha = np.where(np.all(rgb == KEY, axis=-1), 0, 255).astype(np.uint8)
            self.cache[name] = Image.fromarray(np.dstack([rgb, alpha]), "RGBA")
        return self.cache[name]


def draw(screen, picture, source, at):
    """Sprite::Draw: the copy is refused unless it lies wholly inside picture and screen."""
    l, t, r, b = source
    x, y = at
    if l < 0 or t < 0 or r > picture.width or b > picture.height or r <= l or b <= t:
        return False
    if x < 0 or y < 0 or x + r - l > 640 or y + b - t > 480:
        return False
    screen.alpha_composite(picture.crop(source), (x, y))
    return True


def text(screen, font, s, x, y):
    """DrawText with the glyph strip of Font.bmp."""
    offsets = np.cumsum([0] + game_font.GLYPH_WIDTHS)
    for c in s:
        i = ord(c) - 32
        w = game_font.GLYPH_WIDTHS[i]
        if w:
            draw(screen, font, (int(offsets[i]), 0, int(offsets[i]) + w, 17), (x, y))
        x += w


def blank():
    return Image.new("RGBA", (640, 480), (0, 0, 0, 255))


def menu_background(p, highlight=None, picture=None, disabled=False):
    s = blank()
    draw(s, p["Menu.jpg"], (0, 0, 640, 480), (0, 0))
    pictures = ((0, 0, 245, 256), (245, 0, 490, 256), (490, 0, 735, 256), (0, 256, 245, 508), (245, 256, 490, 518))
    if picture is not None:
        draw(s, p["MenuImage.jpg"], pictures[picture], (313, 195))
    if disabled:
        draw(s, p["MenuTxt.bmp"], (0, 260, 179, 312), (85, 171))
    highlights = (((0, 0, 179, 52), (85, 171)), ((0, 52, 179, 104), (85, 231)), ((0, 104, 179, 156), (85, 292)),
                  ((0, 156, 179, 208), (85, 354)), ((0, 208, 179, 260), (85, 416)), ((0, 601, 243, 627), (310, 447)))
    if highlight is not None:
        draw(s, p["MenuTxt.bmp"], *highlights[highlight])
    return s


def options(p, hover=None, music=391, sound=391, marks=(1, 1, 1)):
    s = menu_background(p)
    draw(s, p["Options.jpg"], (0, 0, 323, 403), (161, 50))
    lit = {0: ((0, 0, 156, 27), (245, 82)), 1: ((0, 27, 112, 52), (266, 122)), 2: ((0, 52, 146, 87), (249, 159)),
           "back": ((0, 87, 112, 118), (175, 403)), "help": ((112, 87, 218, 125), (363, 405))}
    if hover is not None:
        draw(s, p["ActiveOption.bmp"], *lit[hover])
    for on, at in zip(marks, ((240, 83), (240, 121), (240, 160))):
        if on:
            draw(s, p["Cursor.bmp"], (30, 0, 49, 25), at)
    draw(s, p["MenuTxt.bmp"], (0, 312, 28, 333), (music, 269))
    draw(s, p["MenuTxt.bmp"], (0, 312, 28, 333), (sound + 1, 345))
    return s


def new_game(p, hover=None, mode=0, kinds=6):
    s = menu_background(p)
    draw(s, p["NewGame.jpg"], (0, 0, 332, 383), (154, 48))
    marks = {0: (256, 158), 1: (256, 117), 6: (256, 266), 7: (256, 306), 8: (256, 342)}
    draw(s, p["Cursor.bmp"], (30, 0, 49, 25), marks[mode])
    draw(s, p["Cursor.bmp"], (30, 0, 49, 25), marks[kinds])
    lit = {0: ((112, 26, 210, 52), (268, 116)), 1: ((0, 159, 137, 192), (251, 158)),
           2: ((138, 159, 206, 194), (286, 263)), 3: ((0, 192, 108, 220), (266, 303)),
           4: ((108, 194, 182, 221), (282, 341)), "back": ((115, 125, 235, 158), (172, 384)),
           "start": ((0, 118, 115, 156), (348, 384))}
    if hover is not None:
        draw(s, p["ActiveOption.bmp"], *lit[hover])
    return s


def high_scores(p, page=6, hover=None, frame=0, name_box=False, ok_lit=False):
    s = blank()
    draw(s, p["HighScores.jpg"], (0, 0, 640, 480), (0, 0))
    draw(s, p["ActiveOption.bmp"], (0, 35 * page + 47, 84, 35 * page + 81), (507, 114))
    draw(s, p["ActiveOption.bmp"], (85, 35 * page + 47, 169, 35 * page + 81), (221, 114))
    font = p["Font.bmp"]
    names = ["Grandma", "Chef Anna", "Empty ", "Empty ", "Empty ", "Empty ", "Empty ", "Empty ", "WWWWWWWWW"]
    for i in range(9):
        y = 183 + 25 * i
        text(s, font, str(i + 1), 70, y)
        text(s, font, str(i + 1), 355, y)
        text(s, font, names[i], 85, y)
        text(s, font, str(1000 - 100 * i + (9000000 if i == 8 else 0)), 225, y)
        text(s, font, names[(i + 3) % 9], 370, y)
        text(s, font, str(1000 - 100 * i), 510, y)
    if name_box:
        draw(s, p["WindowHS.JPG"], (0, 0, 350, 130), (145, 175))
        text(s, font, "Pelmen9__"[:9] + "_", 169, 229)
        if ok_lit:
            draw(s, p["ActiveOption.bmp"], (182, 194, 231, 231), (295, 259))
    if hover == "back":
        draw(s, p["ActiveOption.bmp"], (0, 221, 83, 257), (278, 423))
    elif hover == "previous":
        draw(s, p["MenuTxt.bmp"], (179, 53 * frame, 286, 53 * frame + 53), (8, 417))
    elif hover == "next":
        draw(s, p["MenuTxt.bmp"], (286, 53 * frame + 1, 393, 53 * frame + 53), (522, 418))
    return s


def title(p, lit=False, frame=0):
    s = blank()
    draw(s, p["GameGo.jpg"], (0, 0, 640, 480), (0, 0))
    source = (0, 103, 320, 168) if lit else (320 * frame, 38, 320 * frame + 320, 103)
    draw(s, p["Font.bmp"], source, (161, 406))
    return s


def logo(p):
    s = blank()
    draw(s, p["Logo.jpg"], (0, 0, 487, 190), (76, 145))
    draw(s, p["Logo.jpg"], (131, 191, 221, 200), (10, 460))
    draw(s, p["Logo.jpg"], (0, 191, 129, 200), (489, 460))
    return s


def play(p, bar=30, menu_lit=False, won=False, won_lit=False):
    s = blank()
    draw(s, p["BkGrnd.jpg"], (0, 0, 640, 480), (0, 0))
    draw(s, p["MenuTxt.bmp"], (179, 292, 276, 323), (295, 449))
    draw(s, p["level.jpg"], (15, 0, 30, p["level.jpg"].height), (355, 453))
    draw(s, p["level.jpg"], (30, 0, 45, p["level.jpg"].height), (370, 453))
    draw(s, p["ActiveOption.bmp"], (210, 0, 230, 73 - bar), (174, 339))
    if menu_lit:
        draw(s, p["MenuTxt.bmp"], (179, 212, 264, 291), (13, 379))
    if won:
        draw(s, p["game over.jpg"], (328, 0, 731, 278), (119, 101))
        if won_lit:
            draw(s, p["MenuTxt.bmp"], (0, 831, 287, 894), (180, 296))
    return s


# Hot spots outlined on the *-spots copies; a choice's covers its box or socket and its label.
SPOTS = {
    "menu": [(85, 171, 264, 223), (85, 231, 264, 283), (85, 292, 264, 344), (85, 354, 264, 406),
             (85, 416, 264, 468), (314, 447, 556, 471)],
    "options": [(237, 80, 401, 111), (237, 118, 378, 149), (237, 157, 395, 194), (196, 403, 266, 431),
                (385, 405, 446, 442), (227, 263, 418, 294), (227, 338, 418, 369)],
    "new-game": [(253, 114, 366, 145), (251, 155, 388, 191), (253, 263, 354, 298), (253, 303, 374, 334),
                 (253, 339, 356, 370), (198, 385, 269, 416), (377, 384, 437, 421)],
    "high-scores": [(285, 425, 354, 453), (55, 426, 111, 466), (524, 425, 581, 468), (299, 262, 338, 294)],
    "title": [(173, 422, 467, 463)],
    "play": [(9, 376, 117, 473), (187, 303, 459, 351)],
}


def states(p):
    yield "logo", "title", logo(p)
    yield "title", "title", title(p)
    yield "title-frame1", "title", title(p, frame=1)
    yield "title-lit", "title", title(p, lit=True)
    yield "menu", "menu", menu_background(p)
    yield "menu-no-continue", "menu", menu_background(p, disabled=True)
    for i in range(5):
        yield f"menu-hover{i}", "menu", menu_background(p, i, i)
    yield "menu-link", "menu", menu_background(p, 5)
    yield "options", "options", options(p)
    yield "options-off", "options", options(p, music=227, sound=227, marks=(0, 0, 0))
    for hover in (0, 1, 2, "back", "help"):
        yield f"options-hover-{hover}", "options", options(p, hover)
    yield "new-game", "new-game", new_game(p)
    yield "new-game-timed8", "new-game", new_game(p, mode=1, kinds=8)
    for hover in (0, 1, 2, 3, 4, "back", "start"):
        yield f"new-game-hover-{hover}", "new-game", new_game(p, hover, kinds=7)
    for page in (6, 7, 8):
        yield f"high-scores-{page}", "high-scores", high_scores(p, page)
    yield "high-scores-back", "high-scores", high_scores(p, hover="back")
    for k in range(5):
        yield f"high-scores-previous{k}", "high-scores", high_scores(p, hover="previous", frame=k)
        yield f"high-scores-next{k}", "high-scores", high_scores(p, hover="next", frame=k)
    yield "high-scores-name", "high-scores", high_scores(p, name_box=True)
    yield "high-scores-name-ok", "high-scores", high_scores(p, name_box=True, ok_lit=True)
    yield "play", "play", play(p)
    yield "play-empty", "play", play(p, bar=0)
    yield "play-full", "play", play(p, bar=73, menu_lit=True)
    yield "play-won", "play", play(p, won=True)
    yield "play-won-lit", "play", play(p, won=True, won_lit=True)


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    pictures = Pictures(sys.argv[1])
    out = sys.argv[2]
    os.makedirs(out, exist_ok=True)
    for name, group, image in states(pictures):
        image.convert("RGB").save(os.path.join(out, name + ".png"))
        marked = image.convert("RGB")
        pen = ImageDraw.Draw(marked)
        for l, t, r, b in SPOTS[group]:
            pen.rectangle((l, t, r - 1, b - 1), outline=(255, 40, 40))
        marked.save(os.path.join(out, name + "-spots.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
