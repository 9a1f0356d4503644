#!/usr/bin/python3
"""Checks the manual page against the README: groff formats it without a warning, and every key
and game controller button of the README's table of keys stands in the page's own table, as a
word of its own. Usage: check_manual_page.py README.md pelmaro.6"""
import re
import subprocess
import sys

TABLE_HEADER = "| Key | Game controller | Action |"
SECTION = "KEYS AND GAME CONTROLLER"


def readme_controls(readme):
    """The keys and buttons named in the README's table: each cell split at commas and "and"."""
    with open(readme) as f:
        lines = [line.strip() for line in f]
    start = lines.index(TABLE_HEADER) + 2
    names = set()
    for line in lines[start:]:
        if not line.startswith("|"):
            break
        key, controller = line.split("|")[1:3]
        for cell in (key, controller):
            names.update(n.strip() for n in re.split(r",| and ", cell) if n.strip())
    return sorted(names)


def page_table(page):
    """The table of the page's section of keys as a terminal shows it, in plain ASCII: the rows
    below its rule, up to the first empty line."""
    text = subprocess.run(["groff", "-t", "-man", "-Tascii", "-P-cbou", page], check=True,
                          capture_output=True, text=True).stdout
    section = text.split("\n" + SECTION + "\n", 1)[1]
    return re.split(r"\n *---+\n", section, 1)[1].split("\n\n", 1)[0]


def main():
    readme, page = sys.argv[1:3]
    problems = []
    warnings = subprocess.run(["groff", "-t", "-man", "-ww", "-z", page], capture_output=True,
                              text=True).stderr
    if warnings:
        problems.append(f"groff warns: {warnings.strip()}")
    table = page_table(page)
    names = readme_controls(readme)
    for name in names:
        if not re.search(r"(?<![\w+])" + re.escape(name) + r"(?![\w+])", table):
            problems.append(f"the README's {name!r} is not in the page's {SECTION} table")
    for problem in problems:
        print("FAIL:", problem)
    print(f"{page}: {len(names)} keys and buttons checked, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
