#!/usr/bin/env python3
"""Prints deb-src entries (deb822 stanzas) for every enabled deb entry of the
system's apt sources: the same archives, suites and components, so that
`apt-get source` fetches the sources of the packages the system installs."""
import glob
import re
import sys

OWN = "zera-virorar-sources.sources"


def deb822_entries(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    for stanza in re.split(r"\n\s*\n", text):
        fields = {}
        for line in stanza.splitlines():
            if line.startswith("#") or ":" not in line or line[0].isspace():
                continue
            key, value = line.split(":", 1)
            fields[key.strip().lower()] = value.strip()
        if "deb" not in fields.get("types", "").split():
            continue
        if fields.get("enabled", "yes").lower() == "no":
            continue
        yield fields


def one_line_entries(path):
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line.startswith("deb "):
                continue
            words = line.split()[1:]
            options = {}
            if words and words[0].startswith("["):
                while words:
                    word = words.pop(0)
                    for option in word.strip("[]").split():
                        if "=" in option:
                            key, value = option.split("=", 1)
                            options[key.lower()] = value
                    if word.endswith("]"):
                        break
            if len(words) < 2:
                continue
            fields = {"uris": words[0], "suites": words[1], "components": " ".join(words[2:])}
            if "signed-by" in options:
                fields["signed-by"] = options["signed-by"]
            yield fields


def main():
    stanzas = []
    for path in sorted(glob.glob("/etc/apt/sources.list.d/*.sources")):
        if not path.endswith(OWN):
            stanzas.extend(deb822_entries(path))
    for path in ["/etc/apt/sources.list"] + sorted(glob.glob("/etc/apt/sources.list.d/*.list")):
        try:
            stanzas.extend(one_line_entries(path))
        except FileNotFoundError:
            pass
    if not stanzas:
        sys.exit("no deb entries found in the system's apt sources")
    out = []
    for fields in stanzas:
        lines = ["Types: deb-src", "URIs: " + fields["uris"], "Suites: " + fields["suites"]]
        if fields.get("components"):
            lines.append("Components: " + fields["components"])
        if fields.get("signed-by"):
            lines.append("Signed-By: " + fields["signed-by"])
        out.append("\n".join(lines))
    print("\n\n".join(out))


if __name__ == "__main__":
    main()
