#!/usr/bin/env python3
"""The Windows package as a user unpacks it: both modules, drvwatch.exe, both
builds of the pad control, and the read-me and function reference as text
with Windows line ends only.
    package_checks.py ZIP"""
import sys
import zipfile

EXPECTED = ["ZERA_VirOrar.fmx", "ZERA_VirOrar.fmx64", "drvwatch.exe", "without-pad/32-bit/sigplus.dll",
            "without-pad/64-bit/sigplus.dll", "README.txt", "Functions.txt"]


def main(path):
    failures = []
    with zipfile.ZipFile(path) as package:
        names = {name.split("/", 1)[1]: name for name in package.namelist() if "/" in name}
        for wanted in EXPECTED:
            if wanted not in names:
                failures.append(f"missing {wanted}")
        for text in ("README.txt", "Functions.txt"):
            if text not in names:
                continue
            data = package.read(names[text])
            if data.count(b"\n") == 0 or data.count(b"\n") != data.count(b"\r\n"):
                failures.append(f"{text} has line ends other than CRLF")
        if "Functions.txt" in names and b"## ZERA_CaptureSignature" not in package.read(names["Functions.txt"]):
            failures.append("Functions.txt is not the function reference")
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(EXPECTED) - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
