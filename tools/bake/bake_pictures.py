#!/usr/bin/python3
"""Bakes the game's pictures: runs the art modules of art/ and writes bmp/ of the data folder."""
import argparse
import importlib
import io
import os
import sys

import numpy as np
from PIL import Image

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ART_DIR = os.path.join(SOURCE_DIR, "art")

# Every art module, by name (art/<name>.py). Each one defines PICTURES = {file name: function}.
MODULES = [
    "game_font",
    "game_pieces",
    "game_play",
    "screens_menu",
    "screens_panels",
    "screens_scores",
    "screens_title",
    "screens_howto",
]

# Pictures loaded with the colour key: magenta (255, 0, 255) is transparent in them.
KEYED = {
    "Figures.bmp", "Font.bmp", "Number.jpg", "game over.jpg", "EasyFood.jpg", "Cursor.bmp",
    "MenDown.bmp", "mixer.bmp", "MenuTxt.bmp", "NewGame.jpg", "ActiveOption.bmp", "Options.jpg",
    "Confirm.bmp", "HowToPlay.bmp", "WindowHS.JPG",
}

# The smallest size each picture may have (width, height); None leaves a side free.
MIN_SIZES = {
    "BkGrnd.jpg": (640, 480), "Figures.bmp": (400, 700), "Font.bmp": (891, 168),
    "Number.jpg": (100, None), "game over.jpg": (731, 305), "EasyFood.jpg": (450, 50),
    "Cursor.bmp": (49, 30), "GameGo.jpg": (640, 480), "MenDown.bmp": (77, 28),
    "Logo.jpg": (487, 200), "skovoroda.bmp": (95, 465), "level.jpg": (150, None),
    "mixer.bmp": (109, 1199), "Menu.jpg": (640, 480), "MenuImage.jpg": (735, 518),
    "MenuTxt.bmp": (393, 894), "NewGame.jpg": (332, 383), "ActiveOption.bmp": (235, 361),
    "HighScores.jpg": (640, 480), "WindowHS.JPG": (350, 130), "Options.jpg": (323, 403),
    "Confirm.bmp": (420, 150), "HowToPlay.bmp": (416, 1276),
}

KEY = (255, 0, 255)
# The key written in YCbCr: far outside the RGB gamut, so the decoder clamps it to exact magenta
# with room to spare for the rounding of the DCT.
KEY_YCC = (105, 255, 255)
JPEG_QUALITY = 95
KEYED_JPEG_QUALITY = 100
CORRECTION_ROUNDS = 8


class BakeError(Exception):
    pass


def is_jpeg(name):
    return ".jpg" in name.lower()


def near_key(rgb):
    """Opaque pixels that a display could take for the key (exact, or within 5-6-5 rounding)."""
    r, g, b = rgb[..., 0].astype(int), rgb[..., 1].astype(int), rgb[..., 2].astype(int)
    return (r >= 240) & (b >= 240) & (g <= 16)


def split_alpha(name, image):
    """The picture's RGB pixels and its mask of transparent pixels, checked against the rules."""
    if image.mode != "RGBA":
        raise BakeError(f"{name}: the art must be RGBA, not {image.mode}")
    pixels = np.asarray(image)
    alpha = pixels[..., 3]
    if np.any((alpha != 0) & (alpha != 255)):
        raise BakeError(f"{name}: {int(np.sum((alpha != 0) & (alpha != 255)))} half-transparent pixels")
    clear = alpha == 0
    if clear.any() and name not in KEYED:
        raise BakeError(f"{name}: transparent pixels in a picture without colour key")
    rgb = pixels[..., :3].copy()
    bad = near_key(rgb) & ~clear
    if bad.any():
        y, x = np.argwhere(bad)[0]
        raise BakeError(f"{name}: opaque pixel at ({x}, {y}) is (near) magenta")
    rgb[clear] = KEY
    return rgb, clear


def bmp_bytes(rgb):
    """A 24-bit uncompressed Windows BMP, bottom row first, 40-byte information header."""
    height, width = rgb.shape[:2]
    row = (width * 3 + 3) & ~3
    rows = np.zeros((height, row), np.uint8)
    rows[:, :width * 3] = rgb[::-1, :, ::-1].reshape(height, width * 3)
    image_size = row * height
    header = bytearray(54)
    header[0:2] = b"BM"
    header[2:6] = (54 + image_size).to_bytes(4, "little")
    header[10:14] = (54).to_bytes(4, "little")
    header[14:18] = (40).to_bytes(4, "little")
    header[18:22] = width.to_bytes(4, "little", signed=True)
    header[22:26] = height.to_bytes(4, "little", signed=True)
    header[26:28] = (1).to_bytes(2, "little")
    header[28:30] = (24).to_bytes(2, "little")
    header[34:38] = image_size.to_bytes(4, "little")
    header[38:42] = (2835).to_bytes(4, "little")
    header[42:46] = (2835).to_bytes(4, "little")
    return bytes(header) + rows.tobytes()


def to_ycc(rgb):
    """RGB to the JFIF YCbCr the JPEG stores, rounded to bytes."""
    r, g, b = (rgb[..., i].astype(np.float64) for i in range(3))
    y = 0.299 * r + 0.587 * g + 0.114 * b
    cb = -0.168735892 * r - 0.331264108 * g + 0.5 * b + 128
    cr = 0.5 * r - 0.418687589 * g - 0.081312411 * b + 128
    return np.clip(np.rint(np.stack([y, cb, cr], -1)), 0, 255).astype(np.uint8)


def encode_jpeg(image, quality):
    out = io.BytesIO()
    image.save(out, "JPEG", quality=quality, subsampling=0, optimize=False, progressive=False)
    return out.getvalue()


def decode_jpeg(data):
    return np.asarray(Image.open(io.BytesIO(data)).convert("RGB"))


def keyed_jpeg_bytes(name, rgb, clear):
    """A JPEG whose transparent pixels decode to exact magenta and whose opaque pixels never do."""
    source = rgb.astype(np.int16)
    for _ in range(CORRECTION_ROUNDS):
        ycc = to_ycc(np.clip(source, 0, 255))
        ycc[clear] = KEY_YCC
        data = encode_jpeg(Image.fromarray(ycc, "YCbCr"), KEYED_JPEG_QUALITY)
        decoded = decode_jpeg(data)
        exact = np.all(decoded == KEY, axis=-1)
        lost = clear & ~exact
        pink = ~clear & near_key(decoded)
        if not lost.any() and not pink.any():
            return data
        if lost.any():
            break
        # Opaque pixels that came back too close to the key: move them away in green.
        source[pink, 1] += 24
    raise BakeError(f"{name}: cannot make the colour key exact "
                    f"({int(lost.sum())} transparent pixels off, {int(pink.sum())} opaque pixels pink)")


def picture_bytes(name, image):
    rgb, clear = split_alpha(name, image)
    if not is_jpeg(name):
        return bmp_bytes(rgb)
    if name in KEYED:
        return keyed_jpeg_bytes(name, rgb, clear)
    return encode_jpeg(Image.fromarray(rgb, "RGB"), JPEG_QUALITY)


def check_size(name, image):
    if name not in MIN_SIZES:
        raise BakeError(f"{name}: not a picture of the game")
    min_w, min_h = MIN_SIZES[name]
    w, h = image.size
    if w < min_w or (min_h is not None and h < min_h):
        raise BakeError(f"{name}: {w} x {h} is smaller than {min_w} x {min_h}")


def load_module(module):
    if ART_DIR not in sys.path:
        sys.path.insert(0, ART_DIR)
    return importlib.import_module(module)


def bake_module(module, out_dir):
    pictures = load_module(module).PICTURES
    for name, draw in pictures.items():
        image = draw()
        check_size(name, image)
        data = picture_bytes(name, image)
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
        print(f"baked {name} ({image.size[0]} x {image.size[1]}, {len(data)} bytes)")


def write_depfile(path, target):
    """Names every art source the baked modules read (themselves, kit.py, helpers they import),
    so the build draws them again when any of those changes."""
    sources = sorted({os.path.abspath(m.__file__) for m in list(sys.modules.values())
                      if getattr(m, "__file__", None)
                      and os.path.dirname(os.path.abspath(m.__file__)) == ART_DIR})
    sources.append(os.path.abspath(__file__))
    with open(path, "w") as f:
        f.write(target.replace(" ", "\\ ") + ": " +
                " \\\n  ".join(s.replace(" ", "\\ ") for s in sources) + "\n")


def present_modules():
    return [m for m in MODULES if os.path.exists(os.path.join(ART_DIR, m + ".py"))]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", help="the data folder's bmp/ directory")
    parser.add_argument("--module", action="append", help="bake only this art module (repeatable)")
    parser.add_argument("--stamp", help="file touched once the bake succeeded")
    parser.add_argument("--depfile", help="write the art sources read, as a make depfile for --stamp")
    parser.add_argument("--list", action="store_true", help="print the art modules, one a line")
    args = parser.parse_args()
    if args.list:
        print("\n".join(present_modules()))
        return 0
    if not args.out:
        parser.error("--out is required")
    modules = args.module or present_modules()
    unknown = [m for m in modules if m not in MODULES]
    if unknown:
        parser.error(f"unknown art module {unknown[0]}")
    os.makedirs(args.out, exist_ok=True)
    try:
        for module in modules:
            bake_module(module, args.out)
    except BakeError as e:
        print(f"bake_pictures: {e}", file=sys.stderr)
        return 1
    if args.stamp:
        with open(args.stamp, "w") as f:
            f.write("\n".join(modules) + "\n")
        if args.depfile:
            write_depfile(args.depfile, args.stamp)
    return 0


if __name__ == "__main__":
    sys.exit(main())
