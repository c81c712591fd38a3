#!/usr/bin/env python3
"""fmhost's prompt at a terminal (a pseudo-terminal here): a calculation
typed and its value, the Up arrow bringing it back from the history, and
Ctrl-D ending the session.
    prompt_checks.py FMHOST PLUGIN VERSION"""
import os
import pty
import select
import sys
import time


def read_until(fd, wanted, seen):
    while wanted not in seen:
        ready, _, _ = select.select([fd], [], [], 20)
        if not ready:
            raise SystemExit(f"FAIL: no {wanted!r} in {seen!r}")
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            raise SystemExit(f"FAIL: fmhost ended before {wanted!r}: {seen!r}")
        if not chunk:
            raise SystemExit(f"FAIL: fmhost ended before {wanted!r}: {seen!r}")
        seen += chunk
    return seen


def end_input(pid, fd, seen):
    """Ctrl-U (empty the line) then Ctrl-D (the end of input), again every
    two seconds until fmhost ends: a key that reaches the terminal while the
    line editor switches the terminal's mode between two lines can be lost,
    as when a person presses it a moment too early, and is pressed again."""
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        try:
            os.write(fd, b"\x15\x04")
        except OSError:
            pass
        wait_until = time.monotonic() + 2
        while time.monotonic() < wait_until:
            done, status = os.waitpid(pid, os.WNOHANG)
            if done:
                return status
            ready, _, _ = select.select([fd], [], [], 0.05)
            if ready:
                try:
                    seen += os.read(fd, 4096)
                except OSError:
                    pass
    os.kill(pid, 9)
    os.waitpid(pid, 0)
    raise SystemExit(f"FAIL: fmhost did not end after Ctrl-D: {seen!r}")


def main(fmhost, plugin, version):
    version = version.encode()
    pid, fd = pty.fork()
    if pid == 0:
        os.execv(fmhost, [fmhost, "--no-control", plugin])
    seen = read_until(fd, b"fmhost> ", b"")
    os.write(fd, b'ZERA_Version( "short" )\r')
    seen = read_until(fd, version, seen)
    seen = read_until(fd, b"fmhost> ", seen[seen.index(version):])
    os.write(fd, b"\x1b[A\r")  # the Up arrow, then Enter
    seen = read_until(fd, version, seen[seen.index(b"fmhost> ") + 8:])
    seen = read_until(fd, b"fmhost> ", seen[seen.index(version):])
    status = end_input(pid, fd, seen)
    if b"unexpected control character" in seen:
        raise SystemExit(f"FAIL: the arrow key reached the parser: {seen!r}")
    if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
        raise SystemExit(f"FAIL: fmhost ended with status {status}")
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(*sys.argv[1:4])
