#!/usr/bin/python3
"""Bakes the game's icon for the desktop from art/desktop_icon.py: one PNG per size of the icon
theme and a scalable SVG, laid out as the hicolor theme's folders."""
import argparse
import os
import sys

ART_DIR = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                       "art")
sys.path.insert(0, ART_DIR)

import desktop_icon  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", required=True, help="the icon theme folder (hicolor/) to fill")
    parser.add_argument("--name", default="pelmaro", help="the icon's name")
    args = parser.parse_args()
    for size in desktop_icon.SIZES:
        folder = os.path.join(args.out, f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        desktop_icon.png(size).save(os.path.join(folder, args.name + ".png"))
    folder = os.path.join(args.out, "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    desktop_icon.svg(os.path.join(folder, args.name + ".svg"))
    print(f"baked the icon in {len(desktop_icon.SIZES)} sizes and as SVG")
    return 0


if __name__ == "__main__":
    sys.exit(main())
