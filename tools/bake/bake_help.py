#!/usr/bin/python3
"""Bakes the help page's pictures from art/help_pictures.py into the data folder's help/."""
import argparse
import os
import sys

ART_DIR = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                       "art")
sys.path.insert(0, ART_DIR)

import help_pictures  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", required=True, help="the data folder's help/ directory")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name, draw in help_pictures.PICTURES.items():
        image = draw()
        image.save(os.path.join(args.out, name), optimize=True)
        print(f"baked help/{name} ({image.size[0]} x {image.size[1]})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
