#!/usr/bin/python3
"""A private X desktop for the real-window tests and the desktop benchmark: Xvfb on a display
number the server itself finds free, reachable only with this desktop's own cookie, and openbox
managing it; stopped and waited for at the end, so the next desktop never meets a server still
shutting down.

The server never resets itself when its last client leaves (a connection made during such a
reset is dropped, and a manager or game started then would see no display at all). It reports its
display number only once it listens on every socket of it, so two desktops started at once (by
other test runs on the machine) cannot share a number, nor can a new one lose its socket to an
old server still going away. Programs are started only once openbox has run its start-up
command, after it has taken over the screen, so no window is mapped before the manager would
reparent it. A server or manager that dies while starting is started again.

A bare desktop is the X server alone, as a display manager starts it: no window manager, and a
reset whenever its last client leaves, which the game's start must survive.

Usage as a program: x_desktop.py [--bare] WIDTHxHEIGHTxDEPTH COMMAND...: runs COMMAND on a fresh
desktop with DISPLAY and XAUTHORITY set and returns its exit code.
"""
import os
import secrets
import select
import struct
import subprocess
import sys
import tempfile
import time

# How long the server and the manager may take to start on a machine loaded eight times over.
PATIENCE = 90.0
ATTEMPTS = 3


class DesktopFailure(Exception):
    pass


def write_cookie(path):
    """An authority file with one cookie for any display (the family "wild"), read by the server
    and by every client of this desktop."""
    def field(data):
        return struct.pack(">H", len(data)) + data
    entry = (struct.pack(">H", 0xFFFF) + field(b"") + field(b"") + field(b"MIT-MAGIC-COOKIE-1") +
             field(secrets.token_bytes(16)))
    with open(path, "wb") as f:
        f.write(entry)


def wait_until(check, what, process):
    """Polls check() until true; fails when `process` ends first or after PATIENCE."""
    deadline = time.monotonic() + PATIENCE
    while not check():
        if process.poll() is not None:
            raise DesktopFailure(f"{what}: the process ended with code {process.returncode}")
        if time.monotonic() > deadline:
            raise DesktopFailure(f"waited {PATIENCE:.0f} s in vain for {what}")
        time.sleep(0.05)


def stop(process):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=PATIENCE)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class Desktop:
    """Xvfb of the given size and depth with openbox (none when bare); `environment` reaches
    it."""

    def __init__(self, width, height, depth, bare=False):
        self.bare = bare
        self.folder = tempfile.mkdtemp(prefix="pelmaro-desktop-")
        self.authority = os.path.join(self.folder, "authority")
        write_cookie(self.authority)
        self.screen = f"{width}x{height}x{depth}"
        self.server = self.manager = None
        self.environment = None

    def __enter__(self):
        for attempt in range(1, ATTEMPTS + 1):
            try:
                self.start_server()
                if not self.bare:
                    self.start_manager()
                return self
            except DesktopFailure as failure:
                print(f"desktop: attempt {attempt}: {failure}", file=sys.stderr, flush=True)
                self.stop_processes()
        self.__exit__()
        raise DesktopFailure(f"no desktop after {ATTEMPTS} attempts")

    def __exit__(self, *_):
        self.stop_processes()
        for name in os.listdir(self.folder):
            os.remove(os.path.join(self.folder, name))
        os.rmdir(self.folder)

    def stop_processes(self):
        stop(self.manager)
        stop(self.server)
        self.server = self.manager = None

    def start_server(self):
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", self.screen, "-nolisten", "tcp",
             "-auth", self.authority] + ([] if self.bare else ["-noreset"]),
            pass_fds=[write], stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(self.folder, "server.log"), "w"))
        os.close(write)
        # The number comes when the server listens; the pipe closes early if it gives up.
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip() if select.select([pipe], [], [], PATIENCE)[0] else ""
        if not number:
            raise DesktopFailure(f"the X server did not start: {self.log('server.log')}")
        self.environment = dict(os.environ, DISPLAY=":" + number, XAUTHORITY=self.authority)

    def start_manager(self):
        ready = os.path.join(self.folder, "manager-ready")
        self.manager = subprocess.Popen(
            ["openbox", "--startup", f"touch {ready}"], env=self.environment,
            stdout=subprocess.DEVNULL, stderr=open(os.path.join(self.folder, "manager.log"), "w"))
        try:
            wait_until(lambda: os.path.exists(ready), "the window manager", self.manager)
        except DesktopFailure as failure:
            raise DesktopFailure(f"{failure}: {self.log('manager.log')}")

    def log(self, name):
        with open(os.path.join(self.folder, name)) as f:
            return f.read().strip()


def main():
    bare = sys.argv[1] == "--bare"
    arguments = sys.argv[2:] if bare else sys.argv[1:]
    width, height, depth = (int(n) for n in arguments[0].split("x"))
    with Desktop(width, height, depth, bare) as desktop:
        return subprocess.run(arguments[1:], env=desktop.environment).returncode


if __name__ == "__main__":
    sys.exit(main())
