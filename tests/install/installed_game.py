#!/usr/bin/python3
"""The game installed into a temporary prefix under DESTDIR and run as a new player would: from
an unrelated working directory with a fresh HOME, through the title into a game, back to the menu
and out through Exit; the save file lands in the player's data folder and nothing changes under
the prefix. A second start continues the same board; a save file left beside the binary is taken
over by a player who has none; a player's folder that cannot be used ends the start with a word
and nothing written elsewhere; the uninstall removes every installed file and leaves the saves.

Usage: installed_game.py BUILD_DIR SHOT_DIR; run on a desktop with a window manager, as
tests/support/x_desktop.py makes one.
"""
import os
import shutil
import subprocess
import sys
import tempfile

import numpy as np
from PIL import Image

from new_player import (Failure, Player, e2e, failure_problems, files_below, player_folder_problems,
                        report, snapshot)

PREFIX = "opt/pelmaro"
CONTINUE_BUTTON = (170, 197)
PLAY_MENU_BUTTON = (60, 420)
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def layout_problems(installed):
    problems = [f"not installed: {path}" for path in
                ("bin/pelmaro", "share/pelmaro/ReadMe.htm", "share/pelmaro/help/swap.png",
                 "share/pelmaro/bmp/Logo.jpg", "share/pelmaro/sound/01.wav",
                 "share/pelmaro/music/track0.ogg", "share/icons/hicolor/scalable/apps/pelmaro.svg",
                 "share/locale/de/LC_MESSAGES/pelmaro.mo")
                if not os.path.isfile(os.path.join(installed, path))]
    for size in ICON_SIZES:
        icon = os.path.join(installed, f"share/icons/hicolor/{size}x{size}/apps/pelmaro.png")
        if not os.path.isfile(icon) or Image.open(icon).size != (size, size):
            problems.append(f"no {size}x{size} icon")
    for folder, ending in (("applications", ".desktop"), ("metainfo", ".metainfo.xml")):
        names = os.listdir(os.path.join(installed, "share", folder))
        if not any(name.endswith(ending) for name in names):
            problems.append(f"nothing in share/{folder}")
    return problems


def board_kinds(player, figures):
    return e2e.board_kinds(player.board(), figures)


def first_game_then_continue(installed, tmp):
    """A new game left through the menu's Exit, then continued at the next start: the same board
    comes back."""
    home, elsewhere = os.path.join(tmp, "home"), os.path.join(tmp, "elsewhere")
    data = os.path.join(installed, "share/pelmaro")
    figures = np.asarray(Image.open(os.path.join(data, "bmp", "Figures.bmp")).convert("RGB"))
    player = Player(os.path.join(installed, "bin/pelmaro"), data, home, elsewhere)
    try:
        player.to_main_menu()
        player.click(e2e.NEW_GAME_BUTTON)
        player.expect("new game")
        player.click(e2e.START)
        dealt = board_kinds(player, figures)
        player.click(PLAY_MENU_BUTTON)
        player.expect("main menu")
        player.leave()
    finally:
        player.stop()
    problems = player_folder_problems(home, elsewhere)
    player = Player(os.path.join(installed, "bin/pelmaro"), data, home, elsewhere)
    try:
        player.to_main_menu()
        player.click(CONTINUE_BUTTON)
        if board_kinds(player, figures) != dealt:
            problems.append("Continue did not bring back the saved board")
        player.leave(through_exit=False)
    finally:
        player.stop()
    return problems


def old_save_taken_over(installed, tmp):
    """A player without a save of their own, and an old save beside the binary: it is copied."""
    save = os.path.join(tmp, "home/.local/share/pelmaro/game.sav")
    old = os.path.join(installed, "bin/game.sav")
    shutil.copy(save, old)
    home2, xdg = os.path.join(tmp, "home2"), os.path.join(tmp, "xdg")
    os.makedirs(home2)
    player = Player(os.path.join(installed, "bin/pelmaro"),
                    os.path.join(installed, "share/pelmaro"), home2,
                    os.path.join(tmp, "elsewhere"), xdg_data_home=xdg)
    try:
        player.leave(through_exit=False)
    finally:
        player.stop()
        os.remove(old)
    taken = os.path.join(xdg, "pelmaro/game.sav")
    with open(save, "rb") as a:
        if not os.path.exists(taken) or open(taken, "rb").read() != a.read():
            return ["the save beside the binary was not taken over"]
    return []


def unusable_player_folder_refused(installed, tmp):
    """A player's folder that cannot be made (under a file), or none known at all (no HOME): the
    start says which folder and why and ends, and nothing is written where it was started."""
    problems = []
    blocker = os.path.join(tmp, "a-file")
    open(blocker, "w").close()
    cases = (("under a file", {"HOME": os.path.join(tmp, "home3"),
                               "XDG_DATA_HOME": os.path.join(blocker, "data")},
              blocker + "/data\n(Not a directory)"),
             ("no HOME", {}, "neither XDG_DATA_HOME nor HOME"))
    for name, folders, told in cases:
        cwd = os.path.join(tmp, "started-" + name.replace(" ", "-"))
        os.makedirs(cwd)
        environment = {k: v for k, v in os.environ.items() if k not in ("HOME", "XDG_DATA_HOME")}
        environment.update(folders, SDL_VIDEODRIVER="dummy")
        run = subprocess.run([os.path.join(installed, "bin/pelmaro")], cwd=cwd, env=environment,
                             capture_output=True, text=True, timeout=120)
        if run.returncode != 1 or told not in run.stderr:
            problems.append(f"player's folder {name}: code {run.returncode}, said {run.stderr!r}")
        if os.listdir(cwd):
            problems.append(f"player's folder {name}: wrote {os.listdir(cwd)} where it started")
    return problems


def uninstall_problems(root, manifest, tmp):
    environment = dict(os.environ, DESTDIR=root)
    uninstall = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../scripts/uninstall")
    if subprocess.run([uninstall, manifest], env=environment, capture_output=True).returncode:
        return ["the uninstall failed"]
    problems = [f"left after the uninstall: {path}" for path in files_below(root)]
    if os.path.isdir(os.path.join(root, PREFIX, "share/pelmaro")):
        problems.append("the data folder was left behind")
    if not os.path.isfile(os.path.join(tmp, "home/.local/share/pelmaro/game.sav")):
        problems.append("the uninstall removed a player's save")
    return problems


def main():
    build, shots = sys.argv[1], sys.argv[2]
    os.makedirs(shots, exist_ok=True)
    tmp = tempfile.mkdtemp(prefix="pelmaro-install-")
    root = os.path.join(tmp, "root")
    installed = os.path.join(root, PREFIX)
    os.makedirs(os.path.join(tmp, "elsewhere"))
    # The test's install must not replace the manifest of a real `make install` from this build.
    manifest = os.path.join(build, "install_manifest.txt")
    kept = os.path.join(tmp, "kept_manifest")
    if os.path.exists(manifest):
        shutil.copy(manifest, kept)
    problems = []
    try:
        subprocess.run(["cmake", "--install", build, "--prefix", "/" + PREFIX], check=True,
                       capture_output=True, env=dict(os.environ, DESTDIR=root))
        shutil.copy(manifest, os.path.join(tmp, "manifest"))
        problems += layout_problems(installed)
        before = snapshot(root)
        problems += first_game_then_continue(installed, tmp)
        if snapshot(root) != before:
            problems.append("files changed under the prefix")
        problems += old_save_taken_over(installed, tmp)
        problems += unusable_player_folder_refused(installed, tmp)
        problems += uninstall_problems(root, os.path.join(tmp, "manifest"), tmp)
    except (Failure, subprocess.CalledProcessError, OSError) as failure:
        problems += failure_problems(failure, shots, "install-failure.png", tmp)
    finally:
        if os.path.exists(kept):
            shutil.copy(kept, manifest)
        elif os.path.exists(manifest):
            os.remove(manifest)
        shutil.rmtree(tmp, ignore_errors=True)
    return report("installed game", problems)


if __name__ == "__main__":
    sys.exit(main())
