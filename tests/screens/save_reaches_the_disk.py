#!/usr/bin/python3
"""A save reaches the disk before it takes the old one's place: traced while the tests' program
saves a game, the new file is created afresh (never through a link, for its owner only), synced
after its last write and before the rename, and the folder is synced after the rename.

Usage: save_reaches_the_disk.py TESTS_BINARY
"""
import re
import subprocess
import sys
import tempfile


def main():
    with tempfile.TemporaryDirectory() as folder:
        trace = folder + "/trace"
        subprocess.run(["strace", "-f", "-o", trace, "-e",
                        "trace=openat,write,fsync,close,rename,renameat,renameat2", sys.argv[1],
                        "--gtest_filter=SaveFileTest.RoundTripRestoresEveryField"],
                       check=True, capture_output=True)
        calls = [re.sub(r"\s+= ", " = ", re.sub(r"^\d+\s+", "", line))
                 for line in open(trace).read().splitlines()]

    def first(pattern, after=-1):
        for at in range(after + 1, len(calls)):
            found = re.match(pattern, calls[at])
            if found:
                return at, found
        raise SystemExit(f"not traced after call {after}: {pattern}\n" + "\n".join(calls[-40:]))

    created, found = first(r'openat\(AT_FDCWD, "(game\.sav\.\d+-\d+\.new)", (\S+), 0600\) = (\d+)')
    name, flags, fd = found.groups()
    for flag in ("O_WRONLY", "O_CREAT", "O_EXCL", "O_NOFOLLOW"):
        if flag not in flags.split("|"):
            raise SystemExit(f"the new file is opened without {flag}: {calls[created]}")
    wrote, _ = first(rf"write\({fd}, .* = 6933$", created)
    synced, _ = first(rf"fsync\({fd}\) = 0", created)
    closed, _ = first(rf"close\({fd}\) = 0", created)
    renamed, _ = first(rf'rename(at2?)?\(.*"{re.escape(name)}", .*"game\.sav".*\) = 0', created)
    opened, found = first(r'openat\(AT_FDCWD, "\.", O_RDONLY\S*O_DIRECTORY\S*\) = (\d+)', renamed)
    folder_synced, _ = first(rf"fsync\({found.group(1)}\) = 0", opened)
    if not wrote < synced < closed < renamed < folder_synced:
        raise SystemExit("out of order: " + ", ".join(
            calls[at] for at in (wrote, synced, closed, renamed, folder_synced)))
    print("the save is written, synced, renamed over game.sav, and its folder synced")


if __name__ == "__main__":
    main()
