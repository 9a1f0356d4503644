#!/usr/bin/python3
"""The real game on a virtual X desktop (Xvfb with openbox, no graphics hardware), as a player on a
remote desktop or a VM runs it: how long from exec to the first frame and to the first non-black
picture, how much of a core the game and the X server take and how often the game's loop wakes
while four screens stand still (the title with its blinking button, the main menu, a board and
the paused board), and the game's peak memory, without a sound device and with one (OpenAL Soft's
null backend and SDL's dummy audio). Each binary runs RUNS times, one after the other; the medians
are printed as the rows of a table against their targets, one column per binary. With --play, each
binary also plays a game by itself for a minute (random swaps of neighbours clicked on the board)
while the game's and the X server's processor are measured.

The other rows of the same table come from the frame benchmark (headless and in a real window on
Xvfb), the effect latency program and a fresh bake, one column per build given.

Usage: desktop_bench.py GAME_DIR [BINARY ...] [--runs N] [--depth 16|24] [--play]
                        [--memory-only] [--frame-bench BENCH ...]
                        [--effect-latency PROGRAM ...] [--bake-source SOURCE ...]
  GAME_DIR   the baked data folder (build/game); its pelmaro is the binary when none is given
  BINARY     game binaries to compare (say, the last release's and this build's)
  BENCH      pelmaro_bench binaries, one per game binary, for the busy frame rows
  PROGRAM    pelmaro_effect_latency binaries, one per game binary
  SOURCE     source folders whose data bake is timed, one per game binary
  --memory-only  only the peak memory rows: the same walk through the screens, each left
                 after a moment instead of measured
`make bench-desktop` runs it on this build.
"""
import argparse
import ctypes
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../tests/support"))
from x_desktop import Desktop  # noqa: E402

SCREEN = (1024, 768)
# The desktop the full-screen busy frame is measured on.
FULL_SCREEN = (1920, 1080)
# The middle of the screen, where the centred window shows the logo; sampled while waiting.
PROBE = (SCREEN[0] // 2 - 100, SCREEN[1] // 2 - 50, 200, 100)
# The root is painted grey, so the window shows its first frame (black, the logo still hidden)
# when the probe turns black.
ROOT_COLOUR = "#808080"
# After the first picture: seconds until the title stands still, then seconds measured on each
# still screen; seconds a screen reached by a click needs to settle (its transition, a board
# dropping in).
SETTLE = 6.0
MEASURE = 10.0
SCREEN_SETTLE = 4.0
# Points of the 640x480 picture: the title's play button, the main menu's New Game button, the
# new-game screen's Start button, and a place on the play screen away from every hot spot.
PLAY_BUTTON = (320, 442)
NEW_GAME_BUTTON = (170, 257)
START_BUTTON = (407, 402)
QUIET_SPOT = (200, 20)
# The still screens measured, in the order they are reached.
STILL_SCREENS = ("title", "menu", "board", "paused")
# A sound device without sound hardware: OpenAL Soft's null backend, SDL's dummy audio.
SOUND_DEVICE = {"ALSOFT_DRIVERS": "null", "SDL_AUDIODRIVER": "dummy"}
# The board's top-left corner and squares in the 640x480 picture, and the seconds of automatic
# play measured, with a swap clicked every PLAY_STEP seconds.
BOARD = (236, 4, 50)
PLAY_SECONDS = 60.0
PLAY_STEP = 0.5
PATIENCE = 60.0

TARGETS = {
    "cpu": 0.4,
    "wakeups": 5.0,
    "picture": 100.0,
    "memory": 34.0,
    "frame": 6.0,
    "full": 2.0,
    "latency": 30.0,
    "bake": 30.0,
}


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint8)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class Screen:
    """Reads the probe's pixels straight from the X server, a few milliseconds a look."""

    def __init__(self, environment):
        # The desktop's cookie is read from the environment when the display is opened.
        os.environ["XAUTHORITY"] = environment["XAUTHORITY"]
        display = environment["DISPLAY"]
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(display.encode())
        self.root = self.x.XDefaultRootWindow(self.display)

    def probe(self):
        """The fraction of black pixels in the probe, and whether any pixel is neither black nor
        the root's grey."""
        image = self.x.XGetImage(self.display, self.root, *PROBE, 0xFFFFFFFF, 2)
        data = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * PROBE[3])
        step = image.contents.bits_per_pixel // 8
        self.x.XDestroyImage(image)
        pixels = [data[i:i + step] for i in range(0, len(data), step * 7)]
        black = sum(1 for p in pixels if not any(p)) / len(pixels)
        grey = bytes([0x80] * 3)
        coloured = any(any(p) and p[:3] != grey and p[:2] != b"\x10\x84" for p in pixels)
        return black, coloured

    def close(self):
        self.x.XCloseDisplay(self.display)


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def thread_seconds(pid):
    """Processor seconds of each of the game's threads, by name (the main thread as "main"), from
    the scheduler's nanosecond counts; threads of one name are added up."""
    seconds = {}
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/comm") as comm, \
                    open(f"/proc/{pid}/task/{tid}/schedstat") as schedstat:
                name = "main" if tid == str(pid) else comm.read().strip()
                ran = int(schedstat.read().split()[0]) / 1e9
        except FileNotFoundError:
            continue
        seconds[name] = seconds.get(name, 0.0) + ran
    return seconds


def wakeups(pid):
    """How often the game's main thread has stopped to wait (for the display, a timeout or an
    event) or been put aside: its context switches."""
    with open(f"/proc/{pid}/task/{pid}/status") as status:
        text = status.read()
    return sum(int(n) for n in re.findall(r"ctxt_switches:\s+(\d+)", text))


def window_origin(environment):
    """The top-left corner of the game window's client area on the screen."""
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Pelmaro v1.0$"],
                            env=environment, capture_output=True, text=True).stdout.split()[-1]
    info = subprocess.run(["xwininfo", "-id", window], env=environment, capture_output=True,
                          text=True).stdout
    value = lambda name: int(re.search(name + r":\s+(-?\d+)", info).group(1))
    return value("Absolute upper-left X"), value("Absolute upper-left Y")


def pointer(environment, point, click=False):
    """Moves the pointer to a point of the picture (the window is 640x480, unscaled), and clicks."""
    left, top = window_origin(environment)
    command = ["xdotool", "mousemove", str(left + point[0]), str(top + point[1])]
    subprocess.run(command + (["click", "1"] if click else []), env=environment, check=True)


def measure_still(game, server):
    """The game's and the X server's share of a core, the game loop's wake-ups a second and the
    share of each of the game's threads by name, over MEASURE seconds."""
    game_before, server_before = cpu_seconds(game.pid), cpu_seconds(server.pid)
    woken_before = wakeups(game.pid)
    threads_before = thread_seconds(game.pid)
    time.sleep(MEASURE)
    threads = {name: (ran - threads_before.get(name, 0.0)) / MEASURE * 100
               for name, ran in thread_seconds(game.pid).items()}
    return ((cpu_seconds(game.pid) - game_before) / MEASURE * 100,
            (cpu_seconds(server.pid) - server_before) / MEASURE * 100,
            (wakeups(game.pid) - woken_before) / MEASURE, threads)


def peak_memory_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        return int(re.search(r"VmHWM:\s+(\d+)", status.read()).group(1)) / 1024


def wait_for(check, what):
    deadline = time.monotonic() + PATIENCE
    while not check():
        if time.monotonic() > deadline:
            raise RuntimeError(f"waited in vain for {what}")
        time.sleep(0.002)


def start_desktop(depth, size=SCREEN):
    """A private desktop (Xvfb and openbox) with its root grey; returns (display, environment,
    desktop), the last to be left with stop()."""
    desktop = Desktop(size[0], size[1], depth).__enter__()
    # Painted once openbox is up, which clears the root as it starts.
    subprocess.run(["xsetroot", "-solid", ROOT_COLOUR], env=desktop.environment, check=True)
    return desktop.environment["DISPLAY"], desktop.environment, desktop


def stop(desktop):
    desktop.__exit__()


def play_for_a_minute(environment, game, server):
    """Swaps random neighbours on the board, a click on each, for PLAY_SECONDS; the game's and
    the X server's share of a core meanwhile."""
    dice = random.Random(1)
    left, top, square = BOARD
    game_before, server_before = cpu_seconds(game.pid), cpu_seconds(server.pid)
    started = time.monotonic()
    while time.monotonic() - started < PLAY_SECONDS:
        column, row = dice.randrange(7), dice.randrange(7)
        step = (1, 0) if dice.random() < 0.5 else (0, 1)
        for c, r in ((column, row), (column + step[0], row + step[1])):
            pointer(environment, (left + c * square + square // 2, top + r * square + square // 2),
                    click=True)
        time.sleep(PLAY_STEP)
    seconds = time.monotonic() - started
    return ((cpu_seconds(game.pid) - game_before) / seconds * 100,
            (cpu_seconds(server.pid) - server_before) / seconds * 100)


def run_once(binary, game_dir, depth, sound=False, play=False, still=measure_still):
    """One run of the game: the still screens, start-up and peak memory; with `sound` on a sound
    device and with `play` a minute of automatic play after the still screens. `still` measures
    each still screen, given the game and the X server."""
    game_dir = os.path.abspath(game_dir)
    display, environment, desktop = start_desktop(depth)
    if sound:
        environment = dict(environment, **SOUND_DEVICE)
    folder = tempfile.mkdtemp(prefix="pelmaro-bench-")
    for entry in ("bmp", "sound", "music", "locale", "ReadMe.htm"):
        os.symlink(os.path.join(game_dir, entry), os.path.join(folder, entry))
    screen = Screen(environment)
    game = None
    try:
        started = time.monotonic()
        game = subprocess.Popen([binary], cwd=folder, env=environment,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: screen.probe()[0] > 0.9 or screen.probe()[1], "the first frame")
        first = time.monotonic() - started
        wait_for(lambda: screen.probe()[1], "a picture")
        picture = time.monotonic() - started
        time.sleep(SETTLE)
        result = {"first": first * 1000, "picture": picture * 1000}
        result["title"] = still(game, desktop.server)
        pointer(environment, PLAY_BUTTON, click=True)
        pointer(environment, QUIET_SPOT)
        time.sleep(SCREEN_SETTLE)
        result["menu"] = still(game, desktop.server)
        pointer(environment, NEW_GAME_BUTTON, click=True)
        time.sleep(SCREEN_SETTLE)
        pointer(environment, START_BUTTON, click=True)
        pointer(environment, QUIET_SPOT)
        time.sleep(SCREEN_SETTLE)
        result["board"] = still(game, desktop.server)
        subprocess.run(["xdotool", "key", "Pause"], env=environment, check=True)
        time.sleep(1.0)
        result["paused"] = still(game, desktop.server)
        result["memory"] = peak_memory_mb(game.pid)
        if play:
            subprocess.run(["xdotool", "key", "Pause"], env=environment, check=True)
            time.sleep(1.0)
            result["play"] = play_for_a_minute(environment, game, desktop.server)
        return result
    finally:
        if game is not None:
            game.kill()
            game.wait()
        screen.close()
        stop(desktop)
        shutil.rmtree(folder, ignore_errors=True)


def frame_times(bench, environment, bits):
    """Microseconds, at this depth, of the busy play frame, of a frame in which one row changed
    (what showing any frame costs) and of a full-frame memcpy: the fastest of five repetitions
    each, the one least disturbed by the rest of the machine; None for a benchmark the build
    lacks."""
    names = ("BM_PlayScreenFrame", "BM_OneRowFrameShown", "BM_FullFrameMemcpy")
    output = subprocess.run(
        [bench, "--benchmark_filter=" + "|".join(f"{name}/{bits}$" for name in names),
         "--benchmark_repetitions=5"],
        capture_output=True, text=True, check=True, env=environment).stdout
    fastest = {}
    for name, value in re.findall(r"^(\w+)/\d+\s+([\d.]+) us", output, re.MULTILINE):
        fastest[name] = min(float(value), fastest.get(name, float("inf")))
    return [fastest.get(name) for name in names]


def frame_ratios(bench):
    """The busy play frame, and a frame in which one row changed, over a full-frame memcpy:
    headless (SDL's dummy window is always 32-bit, so 16-bit pictures are converted into it) and in
    a real window on Xvfb of the same depth."""
    ratios = {}
    headless = dict(os.environ, SDL_VIDEODRIVER="dummy")
    for bits, depth in (("16", 16), ("32", 24)):
        frame, _, floor = frame_times(bench, headless, bits)
        ratios[f"dummy{bits}"] = frame / floor
        display, environment, desktop = start_desktop(depth)
        try:
            frame, one_row, floor = frame_times(
                bench, dict(environment, SDL_VIDEODRIVER="x11"), bits)
            ratios[f"x11{bits}"] = frame / floor
            ratios[f"row{bits}"] = one_row / floor if one_row is not None else None
        finally:
            stop(desktop)
    return ratios


def full_screen_frame(bench):
    """Milliseconds of the busy play frame full-screen on a 1920x1080 desktop without graphics
    hardware (the picture scaled smoothly), the fastest of five repetitions."""
    display, environment, desktop = start_desktop(24, FULL_SCREEN)
    try:
        output = subprocess.run(
            [bench, "--benchmark_filter=BM_FullScreenPlayFrame$", "--benchmark_repetitions=5"],
            capture_output=True, text=True, check=True,
            env=dict(environment, SDL_VIDEODRIVER="x11")).stdout
    finally:
        stop(desktop)
    return min(float(value) for value in
               re.findall(r"^BM_FullScreenPlayFrame\s+([\d.]+) us", output, re.MULTILINE)) / 1000


def effect_latency(program):
    """Median and worst milliseconds from an effect's request to the sound device, of requests in
    quick succession and of requests after two seconds of silence."""
    output = subprocess.run([program], capture_output=True, text=True, check=True).stdout
    series = re.findall(r"median ([\d.]+) ms, worst ([\d.]+) ms", output)
    return [(float(median_ms), float(worst_ms)) for median_ms, worst_ms in series]


def bake_seconds(source):
    """Seconds to bake all data with -j2 in a fresh build folder, its tools built beforehand."""
    build = tempfile.mkdtemp(prefix="pelmaro-bake-")
    try:
        subprocess.run(["cmake", "-S", source, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
                       check=True, capture_output=True)
        subprocess.run(["cmake", "--build", build, "--target", "pelmaro_synth", "-j2"],
                       check=True, capture_output=True)
        started = time.monotonic()
        subprocess.run(["cmake", "--build", build, "--target", "bake", "-j2"], check=True,
                       capture_output=True)
        return time.monotonic() - started
    finally:
        shutil.rmtree(build, ignore_errors=True)


def settle_only(game, server):
    """Instead of measuring a still screen: waits a moment on it, for the memory rows alone."""
    time.sleep(1.0)


def median(runs, key, part=None):
    return statistics.median(run[key] if part is None else run[key][part] for run in runs)


def print_memory_rows(columns):
    print("| Peak memory | " + " | ".join(
        f"{median(runs, 'memory'):.0f} MB" for runs in columns) +
        f" | ≤ {TARGETS['memory']:.0f} MB |")
    print("| … with a sound device (OpenAL Soft's null backend, SDL's dummy audio), one run | " +
          " | ".join(f"{runs[0]['sound memory']:.0f} MB" for runs in columns) +
          f" | ≤ {TARGETS['memory']:.0f} MB |")


def print_sound_board_rows(columns):
    """The still board with its music playing on a sound device, from the one run with sound: the
    game and the X server, then the game's busiest threads."""
    boards = [runs[0]["sound board"] for runs in columns]
    print("| Still board with music (OpenAL Soft's null backend, SDL's dummy audio), one run: "
          "processor, game (+ X server) | " + " | ".join(
              f"{board[0]:.2f} % (+{board[1]:.2f} %)" for board in boards) + " | ≤ 0.6 % |")
    print("| … by thread (OpenAL Soft's mixer is the one named as the program) | " + " | ".join(", ".join(
        f"{name} {share:.2f} %" for name, share in
        sorted(board[3].items(), key=lambda item: -item[1])[:4]) for board in boards) + " | – |")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("game_dir")
    parser.add_argument("binaries", nargs="*")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--depth", type=int, default=24)
    parser.add_argument("--play", action="store_true")
    parser.add_argument("--memory-only", action="store_true")
    parser.add_argument("--frame-bench", nargs="*", default=[])
    parser.add_argument("--effect-latency", nargs="*", default=[])
    parser.add_argument("--bake-source", nargs="*", default=[])
    options = parser.parse_args()
    binaries = [os.path.abspath(binary) for binary in
                options.binaries or [os.path.join(options.game_dir, "pelmaro")]]
    still = settle_only if options.memory_only else measure_still
    columns = []
    for binary in binaries:
        runs = [run_once(binary, options.game_dir, options.depth, still=still)
                for _ in range(options.runs)]
        with_sound = run_once(binary, options.game_dir, options.depth, sound=True,
                              play=options.play, still=still)
        for run in runs:
            run["sound memory"] = with_sound["memory"]
            run["play"] = with_sound.get("play")
            run["sound board"] = with_sound.get("board")
        columns.append(runs)
    names = " | ".join(os.path.relpath(binary) for binary in binaries)
    print(f"| Xvfb {SCREEN[0]}x{SCREEN[1]}x{options.depth}, openbox, median of {options.runs} "
          f"| {names} | Target |")
    print("|---|" + "---|" * len(binaries) + "---|")
    if options.memory_only:
        print_memory_rows(columns)
        return
    for screen in STILL_SCREENS:
        print(f"| Still {screen}: processor, game (+ X server) | " + " | ".join(
            f"{median(runs, screen, 0):.2f} % (+{median(runs, screen, 1):.2f} %)"
            for runs in columns) + f" | ≤ {TARGETS['cpu']:.1f} % |")
        print(f"| Still {screen}: wake-ups of the game loop a second | " + " | ".join(
            f"{median(runs, screen, 2):.1f}" for runs in columns) +
            (f" | ≤ {TARGETS['wakeups']:.0f} |" if screen == "board" else " | – |"))
    print_sound_board_rows(columns)
    print("| Exec → first non-black picture (first frame) | " + " | ".join(
        f"{median(runs, 'picture'):.0f} ms ({median(runs, 'first'):.0f} ms)" for runs in columns) +
        f" | ≤ {TARGETS['picture']:.0f} ms |")
    print_memory_rows(columns)
    if options.play:
        print(f"| Automatic play, {PLAY_SECONDS:.0f} s of random swaps: processor, game (+ X server) | " +
              " | ".join(f"{runs[0]['play'][0]:.1f} % (+{runs[0]['play'][1]:.1f} %)"
                         for runs in columns) + " | – |")
    if options.frame_bench:
        ratios = [frame_ratios(bench) for bench in options.frame_bench]
        print("| Busy play frame ÷ full-frame memcpy (fastest of 5), window on Xvfb of the same depth | " +
              " | ".join(f"{r['x1132']:.1f}× (32-bit), {r['x1116']:.1f}× (16-bit)"
                         for r in ratios) + f" | ≤ {TARGETS['frame']:.0f}× in both |")
        print("| … headless: SDL's dummy window, always 32-bit | " + " | ".join(
            f"{r['dummy32']:.1f}× (32-bit), {r['dummy16']:.1f}× (16-bit, converted)"
            for r in ratios) + " | – |")
        print("| … a frame in which one row changed, window on Xvfb: what showing any frame costs | " +
              " | ".join(f"{r['row32']:.1f}× (32-bit), {r['row16']:.1f}× (16-bit)"
                         if r["row16"] is not None else "–" for r in ratios) + " | – |")
        print(f"| Busy play frame full-screen on Xvfb {FULL_SCREEN[0]}x{FULL_SCREEN[1]}, scaled "
              "smoothly (fastest of 5) | " + " | ".join(
                  f"{full_screen_frame(bench):.2f} ms" for bench in options.frame_bench) +
              f" | ≤ {TARGETS['full']:.0f} ms |")
    if options.effect_latency:
        latencies = [effect_latency(program) for program in options.effect_latency]
        for index, what in enumerate(("", ", each after 2 s of silence")):
            print(f"| Effect request → mixed for the device (SDL's disk driver){what}, median / worst | " +
                  " | ".join(f"{series[index][0]:.0f} / {series[index][1]:.0f} ms"
                             if len(series) > index else "–" for series in latencies) +
                  f" | worst ≤ {TARGETS['latency']:.0f} ms |")
    if options.bake_source:
        seconds = [bake_seconds(source) for source in options.bake_source]
        print("| Bake of all data, -j2 (tools built) | " + " | ".join(
            f"{value:.1f} s" for value in seconds) + f" | ≤ {TARGETS['bake']:.0f} s |")


if __name__ == "__main__":
    main()
