#!/usr/bin/env python3
"""The README's commands, run as a newcomer runs them: each block marked
"<!-- checked command -->", in order, from a fresh folder that holds only
the build and the examples, with a home of its own and no display. Each must
succeed and print the lines of the "<!-- checked output -->" block after it,
in order ("…" at the end of a line stands for any rest); everything they
write must land under out/.
    readme_checks.py README BUILD EXAMPLES (--linux | --wine)"""
import os
import shutil
import subprocess
import sys
import tempfile


def blocks(readme):
    """(commands, expected lines) for each checked command, in order."""
    lines = open(readme, encoding="utf-8").read().split("\n")

    def block_after(at):
        while at < len(lines) and lines[at].strip() == "":
            at += 1
        found = []
        while at < len(lines) and (lines[at].startswith("    ") or lines[at].strip() == ""):
            found.append(lines[at][4:])
            at += 1
        while found and found[-1] == "":
            found.pop()
        return found, at

    checked = []
    for index, line in enumerate(lines):
        if line.strip() != "<!-- checked command -->":
            continue
        raw, after = block_after(index + 1)
        commands, pending = [], ""
        for text in raw:
            pending += text.rstrip("\\").rstrip() + " " if text.endswith("\\") else text
            if not text.endswith("\\"):
                commands.append(pending.strip())
                pending = ""
        expected = []
        rest = after
        while rest < len(lines) and lines[rest].strip() == "":
            rest += 1
        if rest < len(lines) and lines[rest].strip() == "<!-- checked output -->":
            expected, _ = block_after(rest + 1)
        checked.append((commands, expected))
    return checked


def shows(output, expected):
    """Whether the expected lines appear among the output's, in order."""
    got = iter(output.replace("\r", "").split("\n"))
    for wanted in expected:
        prefix = wanted[:-1] if wanted.endswith("…") else None
        if not any((line.startswith(prefix) if prefix is not None else line == wanted) for line in got):
            return False
    return True


def written(root):
    found = []
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if not os.path.islink(os.path.join(folder, d)) and d != "home"]
        found += [os.path.relpath(os.path.join(folder, f), root) for f in files
                  if not os.path.islink(os.path.join(folder, f))]
    return found


def main(readme, build, examples, kind):
    failures, ran = [], 0
    with tempfile.TemporaryDirectory(prefix="zera-readme-") as root:
        os.symlink(os.path.abspath(build), os.path.join(root, "build"))
        os.symlink(os.path.abspath(examples), os.path.join(root, "examples"))
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WINEPREFIX", "WIN_DRIVE_C")}
        env["HOME"] = os.path.join(root, "home")
        env["WINEDEBUG"] = "-all"
        os.makedirs(env["HOME"])
        for commands, expected in blocks(readme):
            if ("wine64" in " ".join(commands)) != (kind == "--wine"):
                continue
            for command in commands:
                ran += 1
                done = subprocess.run(["bash", "-c", command], cwd=root, env=env, capture_output=True, text=True,
                                      timeout=600)
                if done.returncode != 0:
                    failures.append(f"{command}\n  exit {done.returncode}: {done.stderr.strip()[-400:]}")
            if expected and not shows(done.stdout, expected):
                failures.append(f"{commands[-1]}\n  does not print:\n    " + "\n    ".join(expected) +
                                f"\n  it printed:\n    {done.stdout[-1500:]}")
        if kind == "--wine":
            server = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
            subprocess.run([server, "-k"], env=env, capture_output=True)
        stray = [path for path in written(root) if not path.startswith("out" + os.sep)]
        if stray:
            failures.append("written outside out/: " + ", ".join(sorted(stray)))
    for failure in failures:
        print("FAIL:", failure)
    print(f"{ran - len(failures)} passed, {len(failures)} failed")
    return 1 if failures or ran == 0 else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))
