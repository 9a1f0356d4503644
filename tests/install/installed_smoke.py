#!/usr/bin/python3
"""The installed game's smoke test, as Debian's autopkgtest runs it (debian/tests/smoke), and as
the test of the unpacked packages (debian_package.py) runs it too: a new player with a fresh home
starts the game from an unrelated folder; it reaches the main menu, the window manager's close
request ends it with code 0, and the player's ~/.local/share/pelmaro holds the save while nothing
was written into the working directory.

Usage: installed_smoke.py BINARY DATA_DIR TMP_DIR SHOT_DIR; run on a desktop with a window
manager and a 1280x720 screen, as tests/support/x_desktop.py makes one.
"""
import os
import subprocess
import sys
import tempfile

from new_player import (Failure, Player, e2e, failure_problems, player_folder_problems, report)


def smoke_problems(binary, data, tmp, shots):
    """The smoke test of the game `binary` with its `data`, in a new folder below `tmp`."""
    tmp = tempfile.mkdtemp(prefix="pelmaro-smoke-", dir=tmp)
    home, elsewhere = os.path.join(tmp, "home"), os.path.join(tmp, "elsewhere")
    os.makedirs(home)
    os.makedirs(elsewhere)
    problems = []
    player = Player(binary, data, home, elsewhere)
    try:
        player.to_main_menu()
        e2e.save(e2e.grab(player.game.window), shots, "smoke-main-menu.png")
        player.leave(through_exit=False)
        problems += player_folder_problems(home, elsewhere)
    except (Failure, subprocess.CalledProcessError, OSError) as failure:
        problems += failure_problems(failure, shots, "smoke-failure.png", tmp)
    finally:
        player.stop()
    return problems


def main():
    binary, data, tmp, shots = sys.argv[1:5]
    os.makedirs(shots, exist_ok=True)
    return report(binary, smoke_problems(binary, data, tmp, shots))


if __name__ == "__main__":
    sys.exit(main())
