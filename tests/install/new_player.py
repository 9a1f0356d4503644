"""An installed game as a player starts it: from an unrelated folder with a home of its own, worked
on the desktop with the end-to-end test's hands and eyes (tests/e2e/desktop_e2e.py), every wait
polling with the same generous limits. Shared by the tests of `make install` and of the Debian
package."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import desktop_e2e as e2e  # noqa: E402

Failure = e2e.Failure
SAVE_SIZE = 6933
# The main menu's Exit button and its link to the how-to-play card, and the card's buttons to the
# help page and back, in picture coordinates.
EXIT_BUTTON = (170, 442)
HELP_LINK = (435, 459)
CARD_HELP_PAGE = (446, 396)
CARD_BACK = (175, 396)


def files_below(root):
    return sorted(os.path.relpath(os.path.join(folder, name), root)
                  for folder, _, names in os.walk(root) for name in names)


def snapshot(root):
    """Every file below the root with its size and time of change."""
    return {path: (os.stat(os.path.join(root, path)).st_size,
                   os.stat(os.path.join(root, path)).st_mtime_ns) for path in files_below(root)}


class Player:
    """One start of the installed game and its window; `refs` are the menu pictures of its data."""

    def __init__(self, binary, data, home, elsewhere, xdg_data_home=None, tools=None):
        environment = {k: v for k, v in os.environ.items() if k != "XDG_DATA_HOME"}
        environment["HOME"] = home
        if xdg_data_home:
            environment["XDG_DATA_HOME"] = xdg_data_home
        if tools:
            environment["PATH"] = tools + ":" + os.environ["PATH"]
        # The game's output goes to game.log beside the working directory.
        with open(os.path.join(os.path.dirname(elsewhere), "game.log"), "a") as log:
            self.process = subprocess.Popen([binary], cwd=elsewhere, env=environment, stdout=log,
                                            stderr=log)
        self.game = e2e.Game()
        self.refs = e2e.references(data)

    def to_main_menu(self):
        """Through the logo and the title: the play button is pressed until the menu shows."""
        def menu_after_play():
            self.game.click(e2e.PLAY_BUTTON)
            return e2e.screen_shown(self.game, self.refs) == "main menu"
        e2e.wait_until("the main menu", menu_after_play, patience=2 * e2e.PATIENCE)

    def expect(self, screen):
        e2e.expect_screen(self.game, self.refs, screen)

    def click(self, point):
        self.game.click(point)

    def board(self):
        """The board once it stands still."""
        return e2e.wait_until("the board dealt and settled", lambda: e2e.board_settled(self.game))

    def leave(self, through_exit=True):
        """Leaves through the main menu's Exit button, or by the window's close request."""
        if through_exit:
            self.click(EXIT_BUTTON)
        else:
            e2e.run("wmctrl", "-i", "-c", self.game.window)
        e2e.wait_until("the game to end", lambda: self.process.poll() is not None)
        if self.process.returncode != 0:
            raise Failure(f"the game ended with code {self.process.returncode}")

    def stop(self):
        """Ends a game left running by a failure."""
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def player_folder_problems(home, elsewhere):
    """The player's data folder under `home` holds a complete save and is closed to others, and
    nothing was written into the working directory `elsewhere`."""
    folder = os.path.join(home, ".local/share/pelmaro")
    problems = []
    save = os.path.join(folder, "game.sav")
    if not os.path.isfile(save) or os.path.getsize(save) != SAVE_SIZE:
        problems.append(f"no complete game.sav in {folder}")
    elif os.stat(folder).st_mode & 0o777 != 0o700:
        problems.append(f"the player's folder {folder} is open to others")
    if os.listdir(elsewhere):
        problems.append(f"files written into the working directory: {os.listdir(elsewhere)}")
    return problems


def stand_in_opener(folder, notes):
    """A folder with an xdg-open that only notes what it was asked to open into `notes`, standing
    in for the desktop's; put first in PATH."""
    os.makedirs(folder, exist_ok=True)
    opener = os.path.join(folder, "xdg-open")
    with open(opener, "w") as f:
        f.write(f'#!/bin/sh\necho "$1" >> "{notes}"\n')
    os.chmod(opener, 0o755)
    return folder


def failure_problems(failure, shots, shot_name, folder):
    """What a run that stopped on `failure` leaves to report: the failure itself, a screenshot
    `shot_name` of the desktop in `shots`, and the game's log from `folder` printed."""
    e2e.save(e2e.grab(), shots, shot_name)
    log = os.path.join(folder, "game.log")
    if os.path.exists(log):
        with open(log) as f:
            print(f.read())
    return [str(failure)]


def report(name, problems):
    for problem in problems:
        print("FAIL:", problem)
    print(f"{name}: {len(problems)} problems")
    return 1 if problems else 0
