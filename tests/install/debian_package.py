#!/usr/bin/python3
"""The Debian package as a player's machine gets it, unpacked with dpkg-deb into a temporary root:
it holds the game in /usr/games, its data in /usr/share/games/pelmaro and the desktop's files,
and nothing else; the desktop entry and the metainfo validate there; the package, the metainfo
release and the help page carry the game's version. The unpacked game then runs for a new player
with a temporary home, from an unrelated folder: its window carries the version, it reaches the
title and the main menu, hands its help page to the desktop from the how-to-play card, and Exit
saves the game in the player's data folder while nothing changes under the root.

Usage: debian_package.py DEB VERSION SHOT_DIR; run on a desktop with a window manager and a
1280x720 screen, as tests/support/x_desktop.py makes one.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

from new_player import (CARD_BACK, CARD_HELP_PAGE, HELP_LINK, Failure, Player, e2e, failure_problems,
                        files_below, player_folder_problems, report, snapshot, stand_in_opener)

DATA = "usr/share/games/pelmaro"
APP_ID = "org.example.Pelmaro"
# Where the package may put files: nothing outside these, below the root.
ALLOWED = ("usr/games/pelmaro", DATA + "/", f"usr/share/applications/{APP_ID}.desktop",
           f"usr/share/metainfo/{APP_ID}.metainfo.xml", "usr/share/icons/hicolor/",
           "usr/share/man/man6/pelmaro.6.gz", "usr/share/doc/pelmaro/")
REQUIRED = ("usr/games/pelmaro", DATA + "/ReadMe.htm", DATA + "/bmp/Logo.jpg",
            DATA + "/sound/01.wav", DATA + "/music/track0.ogg", DATA + "/help/icon.png",
            "usr/share/icons/hicolor/scalable/apps/pelmaro.svg",
            "usr/share/icons/hicolor/48x48/apps/pelmaro.png", "usr/share/doc/pelmaro/copyright")


def contents_problems(deb, root, version):
    problems = [f"not in the package: {path}" for path in REQUIRED
                if not os.path.isfile(os.path.join(root, path))]
    problems += [f"out of place: {path}" for path in files_below(root)
                 if not path.startswith(ALLOWED)]
    package_version = e2e.run("dpkg-deb", "--field", deb, "Version").strip()
    if package_version != version:
        problems.append(f"the package's version is {package_version}, the game's {version}")
    with open(os.path.join(root, f"usr/share/metainfo/{APP_ID}.metainfo.xml")) as f:
        releases = re.findall(r'<release version="([^"]+)"', f.read())
    if releases[:1] != [version]:
        problems.append(f"the metainfo's latest release is {releases[:1]}, not {version}")
    with open(os.path.join(root, DATA, "ReadMe.htm")) as f:
        if f"Pelmaro {version}:" not in f.read():
            problems.append(f"the help page does not name version {version}")
    for check in (["desktop-file-validate", f"usr/share/applications/{APP_ID}.desktop"],
                  ["appstreamcli", "validate", "--no-net",
                   f"usr/share/metainfo/{APP_ID}.metainfo.xml"]):
        result = subprocess.run(check, cwd=root, capture_output=True, text=True)
        if result.returncode != 0:
            problems.append(f"{' '.join(check)}: {result.stdout}{result.stderr}")
    return problems


def play_problems(root, tmp, shots):
    """A new player's start: the main menu, the help page asked for, Exit."""
    home, elsewhere, opened = (os.path.join(tmp, n) for n in ("home", "elsewhere", "opened"))
    os.makedirs(home)
    os.makedirs(elsewhere)
    tools = stand_in_opener(os.path.join(tmp, "tools"), opened)
    player = Player(os.path.join(root, "usr/games/pelmaro"), os.path.join(root, DATA), home,
                    elsewhere, tools=tools)
    try:
        player.to_main_menu()
        e2e.save(e2e.grab(player.game.window), shots, "package-main-menu.png")
        # The link opens the how-to-play card, which hides what tells the menu screens apart; its
        # Help page button hands the page to the desktop, and its Back returns to the menu.
        player.click(HELP_LINK)
        e2e.wait_until("the how-to-play card",
                       lambda: e2e.screen_shown(player.game, player.refs) is None)
        player.click(CARD_HELP_PAGE)
        e2e.wait_until("the help page handed to the desktop", lambda: os.path.exists(opened))
        player.click(CARD_BACK)
        player.expect("main menu")
        player.leave()
    finally:
        player.stop()
    problems = player_folder_problems(home, elsewhere)
    with open(opened) as f:
        address = f.read().strip()
    if address != "file://" + os.path.join(root, DATA, "ReadMe.htm"):
        problems.append(f"the help page was asked for as {address}")
    return problems


def main():
    deb, version, shots = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
    # The window's title carries the packaged game's version.
    e2e.TITLE = f"Pelmaro v{version}"
    os.makedirs(shots, exist_ok=True)
    tmp = tempfile.mkdtemp(prefix="pelmaro-package-")
    root = os.path.join(tmp, "root")
    problems = []
    try:
        e2e.run("dpkg-deb", "--extract", deb, root)
        problems += contents_problems(deb, root, version)
        before = snapshot(root)
        problems += play_problems(root, tmp, shots)
        if snapshot(root) != before:
            problems.append("files changed below the root")
    except (Failure, subprocess.CalledProcessError, OSError) as failure:
        problems += failure_problems(failure, shots, "package-failure.png", tmp)
    finally:
        shutil.rmtree(tmp, ignore_errors=True)
    return report(os.path.basename(deb), problems)


if __name__ == "__main__":
    sys.exit(main())
