#!/usr/bin/python3
"""The Debian packages as a player's machine gets them, unpacked with dpkg-deb into one temporary
root: the game's package holds the game in /usr/games and the desktop's files, the data package
(for every architecture) the data in /usr/share/games/pelmaro, each nothing else, and the game
depends on the data of its own version; the desktop entry and the metainfo validate there; the
packages, the metainfo release and the help page carry the game's version. The unpacked game
then runs for a new player with a temporary home, from an unrelated folder: its window carries
the version, it reaches the title and the main menu, hands its help page to the desktop from the
how-to-play card, and Exit saves the game in the player's data folder while nothing changes under
the root; then it passes the smoke test Debian's autopkgtest runs on the installed packages
(installed_smoke.py).

Usage: debian_package.py GAME_DEB DATA_DEB VERSION APP_ID SHOT_DIR; run on a desktop with a window
manager and a 1280x720 screen, as tests/support/x_desktop.py makes one.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

from installed_smoke import smoke_problems
from new_player import (CARD_BACK, CARD_HELP_PAGE, HELP_LINK, Failure, Player, e2e,
                        failure_problems, files_below, player_folder_problems, report, snapshot,
                        stand_in_opener)

DATA = "usr/share/games/pelmaro"


def packages(app_id):
    """Each package's name, architecture, the places it may put files below the root and the
    files it must hold."""
    game = ("pelmaro", None,
            ("usr/games/pelmaro", f"usr/share/applications/{app_id}.desktop",
             f"usr/share/metainfo/{app_id}.metainfo.xml", "usr/share/icons/hicolor/",
             "usr/share/man/man6/pelmaro.6.gz", "usr/share/doc/pelmaro/"),
            ("usr/games/pelmaro", "usr/share/icons/hicolor/scalable/apps/pelmaro.svg",
             "usr/share/icons/hicolor/48x48/apps/pelmaro.png", "usr/share/doc/pelmaro/copyright"))
    data = ("pelmaro-data", "all",
            (DATA + "/", "usr/share/doc/pelmaro-data/", "usr/share/lintian/overrides/pelmaro-data",
             "usr/share/locale/"),
            (DATA + "/ReadMe.htm", DATA + "/bmp/Logo.jpg", DATA + "/sound/01.wav",
             "usr/share/locale/de/LC_MESSAGES/pelmaro.mo",
             DATA + "/music/track0.ogg", DATA + "/help/icon.png",
             "usr/share/doc/pelmaro-data/copyright"))
    return game, data


def package_problems(deb, package, tmp, version):
    """The package unpacked on its own: its fields, and what it holds."""
    name, architecture, allowed, required = package
    root = os.path.join(tmp, name)
    e2e.run("dpkg-deb", "--extract", deb, root)
    problems = [f"{name}: not in the package: {path}" for path in required
                if not os.path.isfile(os.path.join(root, path))]
    problems += [f"{name}: out of place: {path}" for path in files_below(root)
                 if not path.startswith(allowed)]
    fields = dict(zip(("Package", "Version", "Architecture"),
                      e2e.run("dpkg-deb", "--field", deb, "Package", "Version",
                              "Architecture").split("\n")))
    for field, expected in (("Package", f"Package: {name}"), ("Version", f"Version: {version}"),
                            ("Architecture", architecture and f"Architecture: {architecture}")):
        if expected and fields.get(field) != expected:
            problems.append(f"{deb}: {fields.get(field)}, not {expected}")
    return problems


def contents_problems(game_deb, data_deb, root, version, app_id):
    game, data = packages(app_id)
    tmp = os.path.dirname(root)
    problems = package_problems(game_deb, game, tmp, version)
    problems += package_problems(data_deb, data, tmp, version)
    depends = e2e.run("dpkg-deb", "--field", game_deb, "Depends")
    if f"pelmaro-data (= {version})" not in depends:
        problems.append(f"the game does not depend on its own version of the data: {depends}")
    with open(os.path.join(root, f"usr/share/metainfo/{app_id}.metainfo.xml")) as f:
        releases = re.findall(r'<release version="([^"]+)"', f.read())
    if releases[:1] != [version]:
        problems.append(f"the metainfo's latest release is {releases[:1]}, not {version}")
    with open(os.path.join(root, DATA, "ReadMe.htm")) as f:
        if f"Pelmaro {version}:" not in f.read():
            problems.append(f"the help page does not name version {version}")
    for check in (["desktop-file-validate", f"usr/share/applications/{app_id}.desktop"],
                  ["appstreamcli", "validate", "--pedantic", "--no-net",
                   f"usr/share/metainfo/{app_id}.metainfo.xml"]):
        result = subprocess.run(check, cwd=root, capture_output=True, text=True)
        if result.returncode != 0 or re.search(r"^[EWIP]: ", result.stdout, re.M):
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
    game_deb, data_deb = (os.path.abspath(deb) for deb in sys.argv[1:3])
    version, app_id, shots = sys.argv[3:6]
    # The window's title carries the packaged game's version.
    e2e.TITLE = f"Pelmaro v{version}"
    os.makedirs(shots, exist_ok=True)
    tmp = tempfile.mkdtemp(prefix="pelmaro-package-")
    root = os.path.join(tmp, "root")
    problems = []
    try:
        for deb in (game_deb, data_deb):
            e2e.run("dpkg-deb", "--extract", deb, root)
        problems += contents_problems(game_deb, data_deb, root, version, app_id)
        before = snapshot(root)
        problems += play_problems(root, tmp, shots)
        problems += smoke_problems(os.path.join(root, "usr/games/pelmaro"),
                                   os.path.join(root, DATA), tmp, shots)
        if snapshot(root) != before:
            problems.append("files changed below the root")
    except (Failure, subprocess.CalledProcessError, OSError) as failure:
        problems += failure_problems(failure, shots, "package-failure.png", tmp)
    finally:
        shutil.rmtree(tmp, ignore_errors=True)
    return report(os.path.basename(game_deb), problems)


if __name__ == "__main__":
    sys.exit(main())
