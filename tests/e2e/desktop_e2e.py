#!/usr/bin/python3
"""The real game on an X desktop (Xvfb, 16:9, with openbox), worked with xdotool's plain absolute
pointer moves, as remote desktops and injected input make them (no raw motion events): a hover
highlight, the options knob dragged, a window moved while in the background, a second game on the
same save turned away with a notice, a resized and a maximised window, full-screen keeping the
aspect, full-screen drawn again where another program's window uncovers it, leaving full-screen
for the window's former size, place and maximised state (also when the window manager ends it), a
10-pixel drag that swaps two pieces, the window's icon, and the close request that saves the game.
Then the game is started again on that save and played with xdotool's keys alone: through the
logo and the title, Continue, and one swap found on the saved board made with the board cursor;
Ctrl+Q saves and closes.

With "eight-bit" after the folders, on an 8-bit desktop instead: the game refuses it with its
notice, which the player confirms, and ends.

With "starts" after the folders, on a bare X server without a window manager that resets itself
whenever its last client leaves: the game started a hundred times in a row, each start showing
its window.

Usage: desktop_e2e.py GAME_DIR SHOT_DIR [eight-bit|starts]; run on a desktop with a window manager
and a 1280x720 screen (of depth 8 for eight-bit; a bare server for starts), as
tests/support/x_desktop.py makes them. Every wait polls for what it waits for, with time limits
that hold on a machine loaded eight times over, so a busy machine only makes it slower.
"""
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import numpy as np
from PIL import Image

TITLE = "Pelmaro v1.0"
PICTURE = (640, 480)
# How long any one thing may take to show up on a busy machine, in seconds.
PATIENCE = 60.0
# Starts in a row that must each show the window.
STARTS = 100
STARTED = time.monotonic()

# Hot spots of the screens, in picture coordinates.
PLAY_BUTTON = (320, 440)
NEW_GAME_BUTTON = (170, 257)
OPTIONS_BUTTON = (175, 318)
OPTIONS_BUTTON_AREA = (85, 292, 264, 344)
BACK_BUTTON = (231, 417)
FULL_SCREEN_ROW = (323, 95)
# The Full screen row's check mark, left of where the row lights up under the pointer.
FULL_SCREEN_MARK = (238, 84, 245, 106)
# A spot of the picture away from every hot spot, where the pointer rests while a picture is read.
RESTING_SPOT = (620, 20)
MUSIC_KNOB = (405, 278)
TIMED = (317, 129)
START = (407, 402)
BOARD_LEFT, BOARD_TOP, CELL = 236, 4, 50
# Where the main menu shows only its background and the options screen its panel, away from
# every hot spot.
SCREEN_TELLS = [(165, 55, 240, 165), (405, 55, 480, 190)]


# The screens told apart by their pictures.
SCREENS = ("main menu", "options", "new game")


class Failure(Exception):
    pass


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def xdotool(*arguments):
    run("xdotool", *[str(a) for a in arguments])


def note(what):
    print(f"{time.monotonic() - STARTED:5.1f} s  {what}", flush=True)


def wait_until(what, check, patience=PATIENCE):
    """Polls check() until it gives a true value or a picture, which is returned; fails after
    `patience`."""
    started = time.monotonic()
    deadline = started + patience
    while True:
        value = check()
        if isinstance(value, np.ndarray) or value:
            if time.monotonic() - started > 0.5:
                note(what)
            return value
        if time.monotonic() > deadline:
            raise Failure(f"waited {patience:.0f} s in vain for {what}")
        time.sleep(0.1)


def grab(window="root"):
    """A screenshot of the whole screen, or of one window's client area."""
    data = subprocess.run(["import", "-window", window, "ppm:-"], check=True,
                          capture_output=True).stdout
    return Image.open(io.BytesIO(data)).convert("RGB")


def picture_area_in(width, height):
    """Where the 640x480 picture lies in a client area of this size, as the game places it: as
    large as fits with its aspect kept, centred. Left, top, width, height."""
    if width * PICTURE[1] > height * PICTURE[0]:
        area_width, area_height = (height * PICTURE[0] + PICTURE[1] // 2) // PICTURE[1], height
    else:
        area_width, area_height = width, (width * PICTURE[1] + PICTURE[0] // 2) // PICTURE[0]
    return ((width - area_width) // 2, (height - area_height) // 2, area_width, area_height)


def mean_difference(a, b):
    return float(np.mean(np.abs(a.astype(np.int16) - b.astype(np.int16))))


def crop(pixels, box):
    left, top, right, bottom = box
    return pixels[top:bottom, left:right]


def game_windows():
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + TITLE + "$"],
                          capture_output=True, text=True).stdout.split()


class Game:
    """The game's window on the desktop and the picture shown in it."""

    def __init__(self):
        self.known_window = None

    @property
    def window(self):
        """The window; looked up again when it is gone, since SDL may replace its first window
        when it sets up the renderer."""
        if self.known_window is None:
            self.known_window = wait_until("the game window", game_windows)[-1]
        return self.known_window

    def client(self):
        """The client area on the screen: left, top, width, height."""
        try:
            info = run("xwininfo", "-id", self.window)
        except subprocess.CalledProcessError:
            self.known_window = None
            info = run("xwininfo", "-id", self.window)
        value = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
                value("Height"))

    def in_window(self, point):
        """A point of the picture in the window's client area."""
        left, top, width, height = picture_area_in(*self.client()[2:])
        return (left + int((point[0] + 0.5) * width / PICTURE[0]),
                top + int((point[1] + 0.5) * height / PICTURE[1]))

    def picture(self):
        """The picture as shown, scaled back to 640x480."""
        shown = grab(self.window)
        left, top, width, height = picture_area_in(*shown.size)
        shown = shown.crop((left, top, left + width, top + height))
        return np.asarray(shown.resize(PICTURE, Image.BILINEAR))

    def move(self, point):
        xdotool("mousemove", "--window", self.window, *self.in_window(point))

    def click(self, point):
        """A click where the pointer then stays: the game acts on the pointer's place in the next
        frame, as a player's hand would leave it."""
        self.move(point)
        xdotool("click", 1)


def references(game_dir):
    """The main menu's background, and the same with the options or the new-game panel over it,
    from the baked pictures."""
    def picture(name):
        return np.asarray(Image.open(os.path.join(game_dir, "bmp", name)).convert("RGB"))

    menu = picture("Menu.jpg")

    def with_panel(name, left, top):
        shown = menu.copy()
        panel = picture(name)
        opaque = ~((panel[..., 0] > 200) & (panel[..., 1] < 60) & (panel[..., 2] > 200))
        area = shown[top:top + panel.shape[0], left:left + panel.shape[1]]
        area[opaque] = panel[opaque]
        return shown

    return {"main menu": tells(menu), "options": tells(with_panel("Options.jpg", 161, 50)),
            "new game": tells(with_panel("NewGame.jpg", 154, 48)),
            "options picture": with_panel("Options.jpg", 161, 50)}


def tells(pixels):
    return np.concatenate([crop(pixels, box).reshape(-1, 3) for box in SCREEN_TELLS])


def screen_shown(game, refs):
    """The name of the menu screen the picture clearly and steadily shows (no transition running,
    which would drop clicks), else None."""
    first = game.picture()
    time.sleep(0.15)
    second = game.picture()
    if mean_difference(first, second) > 0.5:
        return None
    tell = tells(second)
    name, distance = min(((n, mean_difference(tell, r)) for n, r in refs.items()
                          if n in SCREENS), key=lambda pair: pair[1])
    return name if distance < 12 else None


def expect_screen(game, refs, name):
    wait_until(f"the {name}", lambda: screen_shown(game, refs) == name)


def save(image, shots, name):
    image.save(os.path.join(shots, name))


def hover_highlights_a_menu_button(game, shots):
    before = crop(game.picture(), OPTIONS_BUTTON_AREA)
    game.move(OPTIONS_BUTTON)
    wait_until("the Options button's highlight under the pointer",
               lambda: mean_difference(crop(game.picture(), OPTIONS_BUTTON_AREA), before) > 10)
    save(grab(), shots, "e2e-hover.png")


def knob_follows_a_drag(game):
    before = game.picture()

    def knob_moved_to(x):
        """The knob's picture changed at x and where it was, at 391."""
        now = game.picture()
        return all(mean_difference(crop(now, (left, 269, left + 28, 290)),
                                   crop(before, (left, 269, left + 28, 290))) > 20
                   for left in (x, 391))

    game.move(MUSIC_KNOB)
    xdotool("mousedown", 1)
    for x in range(MUSIC_KNOB[0] - 10, 299, -10):
        game.move((x, MUSIC_KNOB[1]))
        time.sleep(0.03)
    game.move((300, MUSIC_KNOB[1]))
    # Grabbed 14 pixels right of its left edge, the knob now starts at 286.
    wait_until("the music knob at the pointer", lambda: knob_moved_to(286))
    xdotool("mouseup", 1)


def clicks_land_after_a_move_in_the_background(game, refs):
    other = subprocess.Popen(["xmessage", "-geometry", "+40+40", "another program"])
    try:
        other_window = wait_until("another program's window", lambda: subprocess.run(
            ["xdotool", "search", "--name", "^xmessage$"], capture_output=True,
            text=True).stdout.split())[0]
        xdotool("windowactivate", "--sync", other_window)
        before = game.client()
        xdotool("windowmove", game.window, before[0] + 200, before[1] + 40)
        wait_until("the window moved", lambda: game.client()[0] != before[0])
        # The click that brings the game back to the front lands where the pointer is.
        game.click(OPTIONS_BUTTON)
        expect_screen(game, refs, "options")
    finally:
        other.terminate()
        other.wait()


def resized_window_maps_clicks(game, refs, shots):
    xdotool("windowsize", game.window, 1000, 600)
    wait_until("the window at 1000x600", lambda: game.client()[2:] == (1000, 600))
    game.click(OPTIONS_BUTTON)
    expect_screen(game, refs, "options")
    save(grab(game.window), shots, "e2e-resized-1000x600.png")
    game.click(BACK_BUTTON)
    expect_screen(game, refs, "main menu")


def maximised_window_maps_clicks(game, refs):
    run("wmctrl", "-i", "-r", game.window, "-b", "add,maximized_vert,maximized_horz")
    wait_until("the maximised window", lambda: game.client()[2] == 1280)
    game.click(OPTIONS_BUTTON)
    expect_screen(game, refs, "options")


def shows_full_screen(game):
    return game.client() == (0, 0, 1280, 720)


def full_screen_keeps_the_aspect(game, refs, shots):
    game.click(FULL_SCREEN_ROW)
    wait_until("the full screen", lambda: shows_full_screen(game))
    expect_screen(game, refs, "options")
    shot = grab()
    save(shot, shots, "e2e-full-screen-1280x720.png")
    # The 4:3 picture fills the height; black bars of 160 pixels stand left and right.
    pixels = np.asarray(shot)
    bars = np.concatenate([pixels[:, :158], pixels[:, 1122:]], axis=1)
    if bars.max() > 8:
        raise Failure("the bars beside the full-screen picture are not black")
    if min(pixels[:, 161:165].max(), pixels[:, 1115:1119].max()) < 40:
        raise Failure("the full-screen picture does not reach from 160 to 1120")
    game.click(BACK_BUTTON)
    expect_screen(game, refs, "main menu")


def steady_screen():
    """The whole screen, when it shows the same picture twice in a row, else None."""
    first = np.asarray(grab())
    time.sleep(0.15)
    second = np.asarray(grab())
    return second if mean_difference(first, second) < 0.2 else None


def other_program_in_front(geometry):
    """Another program's window at this geometry, in front and focused: its process and window."""
    other = subprocess.Popen(["xmessage", "-geometry", geometry, "another program"])
    window = wait_until("another program's window", lambda: subprocess.run(
        ["xdotool", "search", "--name", "^xmessage$"], capture_output=True,
        text=True).stdout.split())[0]
    xdotool("windowactivate", "--sync", window)
    return other, window


def uncovered_full_screen_is_drawn_again(game, shots):
    """Full-screen in the background, the game shows its picture again at once where another
    program's window moves away, though its frames and clock stand still."""
    game.move(RESTING_SPOT)
    shown = wait_until("a steady full-screen picture", steady_screen)
    other, window = other_program_in_front("400x300+600+250")
    try:
        covered = (620, 270, 980, 530)
        wait_until("the other program over the game", lambda: mean_difference(
            crop(np.asarray(grab()), covered), crop(shown, covered)) > 10)
        xdotool("windowmove", window, 0, 0)
        try:
            wait_until("the uncovered part drawn again", lambda: mean_difference(
                crop(np.asarray(grab()), covered), crop(shown, covered)) < 1)
        finally:
            save(grab(), shots, "e2e-full-screen-uncovered.png")
    finally:
        other.terminate()
        other.wait()
    xdotool("windowactivate", "--sync", game.window)


def maximised(game):
    state = run("xprop", "-id", game.window, "_NET_WM_STATE")
    return "_NET_WM_STATE_MAXIMIZED_VERT" in state and "_NET_WM_STATE_MAXIMIZED_HORZ" in state


def full_screen_box_ticked(game, refs):
    """Whether the Options screen shows the Full screen box ticked, read with the pointer away."""
    game.move(RESTING_SPOT)
    mark = lambda: crop(game.picture(), FULL_SCREEN_MARK)
    first = mark()
    time.sleep(0.15)
    second = mark()
    if mean_difference(first, second) > 1:
        return None
    return mean_difference(second, crop(refs["options picture"], FULL_SCREEN_MARK)) > 20


def leaving_full_screen_gives_the_window_back(game, refs):
    """Leaving full-screen, the window gets back the size, place and maximised state it had. Ends
    on the Options screen, windowed at 900x600."""
    game.click(OPTIONS_BUTTON)
    expect_screen(game, refs, "options")
    # Full-screen began from the maximised window: it comes back maximised.
    game.click(FULL_SCREEN_ROW)
    wait_until("the window maximised again",
               lambda: not shows_full_screen(game) and maximised(game))
    run("wmctrl", "-i", "-r", game.window, "-b", "remove,maximized_vert,maximized_horz")
    wait_until("the window no longer maximised", lambda: not maximised(game))
    xdotool("windowsize", game.window, 900, 600)
    xdotool("windowmove", game.window, 100, 60)
    wait_until("the window at 900x600", lambda: game.client()[2:] == (900, 600))
    place = game.client()
    game.click(FULL_SCREEN_ROW)
    wait_until("the full screen", lambda: shows_full_screen(game))
    game.click(FULL_SCREEN_ROW)
    wait_until(f"the window back at {place}", lambda: game.client() == place)


def window_manager_ending_full_screen_is_followed(game, refs, shots):
    """The window manager ends full-screen (or begins it) by its own key or menu: the game follows
    the window, and the Full screen option with it. Begins on the Options screen, windowed."""
    place = game.client()
    game.click(FULL_SCREEN_ROW)
    wait_until("the full screen", lambda: shows_full_screen(game))
    wait_until("the Full screen box ticked", lambda: full_screen_box_ticked(game, refs))
    run("wmctrl", "-i", "-r", game.window, "-b", "remove,fullscreen")
    wait_until(f"the window back at {place} after the window manager's own switch",
               lambda: game.client() == place)
    wait_until("the Full screen box unticked", lambda: full_screen_box_ticked(game, refs) is False)
    save(grab(), shots, "e2e-full-screen-ended-by-window-manager.png")
    # The window manager begins full-screen, and the game's option ends it.
    run("wmctrl", "-i", "-r", game.window, "-b", "add,fullscreen")
    wait_until("the full screen begun by the window manager", lambda: shows_full_screen(game))
    wait_until("the Full screen box ticked", lambda: full_screen_box_ticked(game, refs))
    game.click(FULL_SCREEN_ROW)
    wait_until(f"the window back at {place}", lambda: game.client() == place)
    game.click(BACK_BUTTON)
    expect_screen(game, refs, "main menu")


def board_kinds(board, figures):
    """The kind of every cell, [row][column], by the nearest piece picture at rest."""
    pieces = [figures[0:CELL, k * CELL:(k + 1) * CELL] for k in range(figures.shape[1] // CELL)]
    masks = [~((p[..., 0] > 200) & (p[..., 1] < 60) & (p[..., 2] > 200)) for p in pieces]
    kinds = []
    for row in range(8):
        cells = []
        for column in range(8):
            cell = board[row * CELL:(row + 1) * CELL, column * CELL:(column + 1) * CELL]
            cells.append(min(range(len(pieces)), key=lambda k: mean_difference(
                cell[masks[k]], pieces[k][masks[k]])))
        kinds.append(cells)
    return kinds


def makes_line(kinds, row, column):
    kind = kinds[row][column]
    for dr, dc in ((0, 1), (1, 0)):
        run_length = 1
        for sign in (1, -1):
            r, c = row + sign * dr, column + sign * dc
            while 0 <= r < 8 and 0 <= c < 8 and kinds[r][c] == kind:
                run_length += 1
                r, c = r + sign * dr, c + sign * dc
        if run_length >= 3:
            return True
    return False


def a_winning_swap(kinds):
    for row in range(8):
        for column in range(8):
            for dr, dc in ((0, 1), (1, 0)):
                r, c = row + dr, column + dc
                if r > 7 or c > 7:
                    continue
                swapped = [line[:] for line in kinds]
                swapped[row][column], swapped[r][c] = swapped[r][c], swapped[row][column]
                if makes_line(swapped, row, column) or makes_line(swapped, r, c):
                    return (row, column), (r, c)
    raise Failure(f"no move found on the board {kinds}")


def cell_box(cell):
    row, column = cell
    left, top = BOARD_LEFT + column * CELL, BOARD_TOP + row * CELL
    return (left, top, left + CELL, top + CELL)


def board_settled(game):
    board = (BOARD_LEFT, BOARD_TOP, BOARD_LEFT + 8 * CELL, BOARD_TOP + 8 * CELL)
    first = crop(game.picture(), board)
    time.sleep(0.3)
    second = crop(game.picture(), board)
    return second if mean_difference(first, second) < 0.5 else None


def drag_swaps_two_pieces(game, refs, game_dir, shots):
    game.click(NEW_GAME_BUTTON)
    expect_screen(game, refs, "new game")
    game.click(TIMED)
    game.click(START)
    figures = np.asarray(Image.open(os.path.join(game_dir, "bmp", "Figures.bmp")).convert("RGB"))
    board = wait_until("the board dealt and settled", lambda: board_settled(game))
    before = game.picture()
    save(grab(), shots, "e2e-board.png")
    source, target = a_winning_swap(board_kinds(board, figures))
    # Pressed on the first piece, held until the game has seen it (the piece is lifted), then
    # moved 12 pixels toward its neighbour in small plain moves and held until the game has seen
    # that too, however slowly a busy machine draws its frames.
    box = cell_box(source)
    start = ((box[0] + box[2]) // 2, (box[1] + box[3]) // 2)
    step = (target[1] - source[1], target[0] - source[0])
    changed = lambda cell, by: mean_difference(crop(game.picture(), cell_box(cell)),
                                               crop(before, cell_box(cell))) > by
    game.move(start)
    xdotool("mousedown", 1)
    wait_until("the pressed piece lifted", lambda: changed(source, 5))
    for distance in range(3, 13, 3):
        game.move((start[0] + step[0] * distance, start[1] + step[1] * distance))
        time.sleep(0.05)
    # A click alone would only lift the first piece; the neighbour changes only by the swap.
    wait_until("the neighbour's piece swapped away", lambda: changed(target, 20))
    xdotool("mouseup", 1)
    save(grab(), shots, "e2e-after-drag.png")


def saved_board_kinds(folder):
    """The kind of every cell, [row][column], as the save file holds them: the cell of column c
    and row r is 20 bytes at 5641 + (8c + r) * 20, its kind at byte 8."""
    with open(os.path.join(folder, "game.sav"), "rb") as f:
        data = f.read()
    return [[data[5641 + (8 * column + row) * 20 + 8] for column in range(8)] for row in range(8)]


def keys(*names):
    """Key presses to the focused window, a little apart as fingers make them."""
    xdotool("key", "--delay", 80, *names)


def key_swap_on_the_saved_board(process, game_dir, folder, shots):
    game = Game()
    refs = references(game_dir)
    figures = np.asarray(Image.open(os.path.join(game_dir, "bmp", "Figures.bmp")).convert("RGB"))
    kinds = saved_board_kinds(folder)
    xdotool("mousemove", 2, 2)  # the pointer rests away from the window: keys only
    xdotool("windowactivate", "--sync", game.window)

    # Any key passes the logo and the title (an unbound key, which does nothing on the menu).
    def menu_after_a_key():
        keys("a")
        return screen_shown(game, refs) == "main menu"
    wait_until("the main menu by keys", menu_after_a_key, patience=2 * PATIENCE)
    keys("Return")  # Continue, focused first with a game to go on
    board = wait_until("the saved board shown", lambda: board_settled(game))
    before = game.picture()
    source, target = a_winning_swap(kinds)
    # Tab shows the cursor on the top-left square; the arrows walk it to the source.
    keys("Tab", *(["Right"] * source[1]), *(["Down"] * source[0]), "Return")
    arrow = {(0, 1): "Right", (1, 0): "Down"}[(target[0] - source[0], target[1] - source[1])]
    keys(arrow)
    changed = lambda cell, by: mean_difference(crop(game.picture(), cell_box(cell)),
                                               crop(before, cell_box(cell))) > by
    wait_until("the neighbour's piece swapped away by keys", lambda: changed(target, 20))
    save(grab(), shots, "e2e-after-key-swap.png")
    # Every square but the cursor's (its corners drawn over the piece) shows the saved piece.
    shown = board_kinds(board, figures)
    shown[0][0] = kinds[0][0]
    if shown != kinds:
        raise Failure(f"the board shown {shown} is not the saved board {kinds}")
    keys("ctrl+q")
    wait_until("the game to end on Ctrl+Q", lambda: process.poll() is not None)
    expect_saved(folder)


def icon_is_our_tomato(game):
    listed = run("xprop", "-id", game.window, "-f", "_NET_WM_ICON", "32c", " = $0+", "_NET_WM_ICON")
    values = [int(v) for v in re.findall(r"\d+", listed.split("=", 1)[1])]
    width, height, pixels = values[0], values[1], values[2:]
    if (width, height) != (50, 50) or len(pixels) < 50 * 50:
        raise Failure(f"icon of {width}x{height}, not the 50x50 piece")
    corner, middle = pixels[0], pixels[25 * 50 + 25]
    red, green = (middle >> 16) & 0xFF, (middle >> 8) & 0xFF
    if corner >> 24 != 0 or middle >> 24 != 0xFF or red < 150 or green > 120:
        raise Failure(f"icon is not a tomato on a clear ground: {corner:#x}, {middle:#x}")


def message_box(caption="Error"):
    """The id of the game's message box with this caption, once it is shown."""
    found = re.search(r"^\s*(0x[0-9a-f]+) \"" + caption + r"\"", run("xwininfo", "-root", "-tree"),
                      re.M)
    return found.group(1) if found else None


def save_file_state(folder):
    """The save's bytes, or None while there is none."""
    try:
        with open(os.path.join(folder, "game.sav"), "rb") as save_file:
            return save_file.read()
    except FileNotFoundError:
        return None


def a_second_game_is_turned_away(game_dir, folder, shots):
    """A second game started on the same save tells the player, in its own box, that the game is
    already running, and ends when the player confirms, without touching the save."""
    before = save_file_state(folder)
    second = subprocess.Popen([os.path.join(game_dir, "pelmaro")], cwd=folder,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        box = wait_until("the notice that the game is already running",
                         lambda: message_box("Pelmaro"))
        save(grab(), shots, "e2e-already-running.png")
        if len(game_windows()) != 1:
            raise Failure("the second game opened a window of its own")
        xdotool("windowfocus", box, "key", "Return")
        wait_until("the second game to end after the notice", lambda: second.poll() is not None)
    finally:
        if second.poll() is None:
            second.kill()
            second.wait()
    if save_file_state(folder) != before:
        raise Failure("the second game touched the save")


def every_start_shows_the_window(game_dir, folder, log):
    """The game started STARTS times in a row, each killed once its window shows, on a bare X
    server: it resets itself whenever its last client leaves (the short-lived xdotool queries
    come and go), and drops a connection made meanwhile. Each start must still show its window,
    never run unseen on a fallback driver."""
    for start in range(1, STARTS + 1):
        process = subprocess.Popen([os.path.join(game_dir, "pelmaro")], cwd=folder, stdout=log,
                                   stderr=log)
        try:
            def shown():
                if process.poll() is not None:
                    raise Failure(f"start {start} ended with code {process.returncode} "
                                  "without a window")
                return game_windows()
            wait_until(f"the game window at start {start}", shown)
        finally:
            process.kill()
            process.wait()
    note(f"{STARTS} starts, each with its window")


def eight_bit_desktop_is_refused_with_the_notice(process, shots):
    box = wait_until("the notice on the 8-bit desktop", message_box)
    save(grab(), shots, "e2e-eight-bit-notice.png")
    if game_windows():
        raise Failure("a game window was made on the 8-bit desktop")
    # The notice's five lines make a taller box than any other error (a failed window or
    # renderer takes two lines, a missing picture one): 245 pixels high here.
    height = int(re.search(r"Height:\s+(\d+)", run("xwininfo", "-id", box)).group(1))
    if height < 210:
        raise Failure(f"the error box is {height} pixels high: not the cannot-run notice")
    xdotool("windowfocus", box, "key", "Return")
    wait_until("the game to end after the notice", lambda: process.poll() is not None)


def play_on_the_desktop(process, game_dir, folder, shots):
    game = Game()
    refs = references(game_dir)

    # Through the logo and the title: the play button is pressed until the menu shows.
    def menu_after_play():
        game.click(PLAY_BUTTON)
        return screen_shown(game, refs) == "main menu"
    wait_until("the main menu", menu_after_play, patience=2 * PATIENCE)
    icon_is_our_tomato(game)
    a_second_game_is_turned_away(game_dir, folder, shots)
    hover_highlights_a_menu_button(game, shots)
    game.click(OPTIONS_BUTTON)
    expect_screen(game, refs, "options")
    knob_follows_a_drag(game)
    game.click(BACK_BUTTON)
    expect_screen(game, refs, "main menu")
    clicks_land_after_a_move_in_the_background(game, refs)
    game.click(BACK_BUTTON)
    expect_screen(game, refs, "main menu")
    resized_window_maps_clicks(game, refs, shots)
    maximised_window_maps_clicks(game, refs)
    full_screen_keeps_the_aspect(game, refs, shots)
    uncovered_full_screen_is_drawn_again(game, shots)
    leaving_full_screen_gives_the_window_back(game, refs)
    window_manager_ending_full_screen_is_followed(game, refs, shots)
    drag_swaps_two_pieces(game, refs, game_dir, shots)
    run("wmctrl", "-c", TITLE)
    wait_until("the game to end on the close request", lambda: process.poll() is not None)
    expect_saved(folder)


def expect_saved(folder):
    size = os.path.getsize(os.path.join(folder, "game.sav"))
    if size != 6933:
        raise Failure(f"game.sav has {size} bytes after closing, not 6933")


def main():
    game_dir, shots = sys.argv[1], sys.argv[2]
    mode = sys.argv[3] if len(sys.argv) > 3 else "play"
    os.makedirs(shots, exist_ok=True)
    folder = tempfile.mkdtemp(prefix="pelmaro-e2e-")
    for entry in ("bmp", "sound", "music", "ReadMe.htm"):
        os.symlink(os.path.join(game_dir, entry), os.path.join(folder, entry))
    log = open(os.path.join(folder, "game.log"), "w")
    process = None
    started = time.monotonic()
    try:
        start = lambda: subprocess.Popen([os.path.join(game_dir, "pelmaro")], cwd=folder,
                                         stdout=log, stderr=log)
        if mode == "starts":
            every_start_shows_the_window(game_dir, folder, log)
        elif mode == "eight-bit":
            process = start()
            eight_bit_desktop_is_refused_with_the_notice(process, shots)
        else:
            process = start()
            play_on_the_desktop(process, game_dir, folder, shots)
            if process.returncode != 0:
                raise Failure(f"the game ended with code {process.returncode}")
            process = start()
            key_swap_on_the_saved_board(process, game_dir, folder, shots)
        if process is not None and process.returncode != 0:
            raise Failure(f"the game ended with code {process.returncode}")
        print(f"desktop e2e passed in {time.monotonic() - started:.1f} s")
        return 0
    except (Failure, subprocess.CalledProcessError, OSError) as failure:
        print(f"desktop e2e failed after {time.monotonic() - started:.1f} s: {failure}")
        save(grab(), shots, "e2e-failure.png")
        print(open(os.path.join(folder, "game.log")).read())
        return 1
    finally:
        if process is not None and process.poll() is None:
            process.kill()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
