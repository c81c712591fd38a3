#!/usr/bin/env python3
"""fmhost's peak resident memory for a script of 1,000 lines and of
1,000,000 lines of one calculation: a script is run a statement at a time,
so the two should be about the same.

    fmhost_memory.py FMHOST PLUGIN [--limit-kib N]

Prints both peaks and their difference; with --limit-kib, exits 1 when the
difference is larger."""
import argparse
import os
import subprocess
import sys
import tempfile

# Each run in a child of its own, so that one peak does not hide the other.
MEASURE = (
    "import resource, subprocess, sys\n"
    "subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)\n"
    "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)\n"
)


def peak_kib(fmhost, plugin, lines, folder):
    script = os.path.join(folder, f"version-{lines}.fmcalc")
    with open(script, "w") as out:
        out.write('ZERA_Version( "short" )\n' * lines)
    answer = subprocess.run([sys.executable, "-c", MEASURE, fmhost, "-q", "--no-control", plugin, script],
                            capture_output=True, text=True, check=True)
    return int(answer.stdout.strip())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("fmhost")
    parser.add_argument("plugin")
    parser.add_argument("--limit-kib", type=int)
    options = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        small = peak_kib(options.fmhost, options.plugin, 1000, folder)
        large = peak_kib(options.fmhost, options.plugin, 1000000, folder)
    print(f"1,000 lines: {small} KiB; 1,000,000 lines: {large} KiB; difference {large - small} KiB")
    if options.limit_kib is not None and large - small > options.limit_kib:
        print(f"more than {options.limit_kib} KiB apart", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
