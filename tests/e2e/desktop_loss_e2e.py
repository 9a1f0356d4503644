#!/usr/bin/python3
"""The real game when its desktop goes away under it, each on a private X desktop of its own
(Xvfb with openbox), worked with xdotool:

- the X server killed during a game (a crashed display, a session that ended): the game saves
  the game on screen, as a close request would, and ends with code 1;
- a picture gone when the display is set up again (F11): the game is saved before the error box
  shows; the game then killed without a word takes its box with it, and the next start finds the
  save free; a termination request while the box waits still ends the game.

Usage: desktop_loss_e2e.py GAME_DIR SHOT_DIR.
"""
import os
import signal
import struct
import subprocess
import sys
import shutil
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../support"))
import desktop_e2e as e2e  # noqa: E402
from x_desktop import Desktop  # noqa: E402

SCORE_AT, NO_GAME_AT = 5633, 6921


def saved_score(folder):
    """The score of the game in the folder's save, or None when there is no game in it."""
    path = os.path.join(folder, "game.sav")
    if not os.path.exists(path) or os.path.getsize(path) != 6933:
        return None
    with open(path, "rb") as f:
        data = f.read()
    return None if data[NO_GAME_AT] != 0 else struct.unpack_from("<i", data, SCORE_AT)[0]


def game_folder(game_dir, base):
    """A working folder for the game with the data linked in, every picture on its own so that
    one can be taken away."""
    folder = os.path.join(base, "game")
    os.makedirs(os.path.join(folder, "bmp"))
    for entry in ("sound", "music", "ReadMe.htm"):
        os.symlink(os.path.join(game_dir, entry), os.path.join(folder, entry))
    for name in os.listdir(os.path.join(game_dir, "bmp")):
        os.symlink(os.path.join(game_dir, "bmp", name), os.path.join(folder, "bmp", name))
    return folder


def start(game_dir, folder, log):
    return subprocess.Popen([os.path.join(game_dir, "pelmaro")], cwd=folder, stdout=log,
                            stderr=log)


def into_a_scored_game(game_dir, folder, shots):
    """From the start through the menus into a game with points scored by a swap."""
    game = e2e.Game()
    refs = e2e.references(game_dir)

    def menu_after_play():
        game.click(e2e.PLAY_BUTTON)
        return e2e.screen_shown(game, refs) == "main menu"
    e2e.wait_until("the main menu", menu_after_play, patience=2 * e2e.PATIENCE)
    e2e.drag_swaps_two_pieces(game, refs, game_dir, shots)
    e2e.wait_until("the swap scored and the board settled", lambda: e2e.board_settled(game))
    return game


def box_processes(game):
    """The processes the game's message box runs in: the game's children."""
    found = subprocess.run(["pgrep", "-P", str(game.pid)], capture_output=True, text=True)
    return [int(pid) for pid in found.stdout.split()]


def gone(pid):
    """True once the process has ended (a zombie nobody reaped has ended too)."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] == "Z"
    except OSError:
        return True


def another_box_shown():
    """True when a window other than the game's is mapped: the box."""
    listed = subprocess.run(["wmctrl", "-l"], capture_output=True, text=True).stdout
    return any(line.split(None, 3)[-1] == "Error" for line in listed.splitlines())


def display_loss_saves_the_game(game_dir, shots, base, log):
    folder = game_folder(game_dir, base)
    with Desktop(800, 600, 24) as desktop:
        os.environ.update(desktop.environment)
        process = start(game_dir, folder, log)
        try:
            into_a_scored_game(game_dir, folder, shots)
            # What is on the disk now goes: only the game itself can write the save again.
            os.remove(os.path.join(folder, "game.sav"))
            desktop.server.kill()
            e2e.wait_until("the game to end with its display",
                           lambda: process.poll() is not None)
        finally:
            if process.poll() is None:
                process.kill()
    if process.returncode != 1:
        raise e2e.Failure(f"the game ended with code {process.returncode} without its display")
    score = saved_score(folder)
    if score is None or score <= 0:
        raise e2e.Failure(f"the game on screen was not saved when the display went: {score}")
    e2e.note(f"the display went; the game was saved with {score} points")


def error_box_ends_with_its_game(game_dir, shots, base, log):
    folder = game_folder(game_dir, base)
    cursor = os.path.join(folder, "bmp", "Cursor.bmp")
    with Desktop(800, 600, 24) as desktop:
        os.environ.update(desktop.environment)
        process = start(game_dir, folder, log)
        try:
            game = into_a_scored_game(game_dir, folder, shots)
            os.remove(os.path.join(folder, "game.sav"))
            os.remove(cursor)
            e2e.xdotool("key", "F11")
            e2e.wait_until("the error box", another_box_shown)
            e2e.save(e2e.grab(), shots, "e2e-error-box.png")
            score = saved_score(folder)
            if score is None or score <= 0:
                raise e2e.Failure(f"the game was not saved before the error box: {score}")
            # Killed without a word: the box goes with the game, and so does the save's lock.
            boxes = e2e.wait_until("the box's process", lambda: box_processes(process))
            process.kill()
            process.wait()
            e2e.wait_until("the box gone with its game",
                           lambda: all(gone(pid) for pid in boxes) and not another_box_shown())
            os.symlink(os.path.join(game_dir, "bmp", "Cursor.bmp"), cursor)
            process = start(game_dir, folder, log)
            # A game turned away as "already running" would show its notice, never its window.
            e2e.wait_until("the next game's window", e2e.game_windows)
            # A termination request while the box waits: the game still ends, box and all.
            os.remove(cursor)
            e2e.xdotool("key", "F11")
            e2e.wait_until("the error box again", another_box_shown)
            boxes = e2e.wait_until("the box's process", lambda: box_processes(process))
            process.send_signal(signal.SIGTERM)
            e2e.wait_until("the game to end on the termination request",
                           lambda: process.poll() is not None)
            e2e.wait_until("the box gone", lambda: all(gone(pid) for pid in boxes))
        finally:
            if process.poll() is None:
                process.kill()
    e2e.note("the error box ended with its game, twice")


def main():
    game_dir, shots = sys.argv[1], sys.argv[2]
    os.makedirs(shots, exist_ok=True)
    base = tempfile.mkdtemp(prefix="pelmaro-loss-")
    log = open(os.path.join(base, "game.log"), "w")
    try:
        display_loss_saves_the_game(game_dir, shots, os.path.join(base, "display"), log)
        error_box_ends_with_its_game(game_dir, shots, os.path.join(base, "box"), log)
        print("desktop loss e2e passed")
        return 0
    except (e2e.Failure, subprocess.CalledProcessError, OSError) as failure:
        print(f"desktop loss e2e failed: {failure}")
        log.flush()
        print(open(os.path.join(base, "game.log")).read())
        return 1
    finally:
        shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
