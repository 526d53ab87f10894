#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
"""Adds the project's two SPDX lines to source files that lack them, in each
file's comment syntax. Running it again changes nothing.

  spdx_headers.py [--check] [PATH...]

Without PATH it takes every file git tracks in the checkout. Files .reuse/dep5
covers (pictures, card images, generated data) and files without a comment
syntax are left alone. --check changes nothing and exits with 1 when a file
would change."""
import fnmatch
import os
import subprocess
import sys

# REUSE-IgnoreStart
TAGS = ("SPDX-License-Identifier: LGPL-2.1-or-later", "SPDX-FileCopyrightText: kxsimlib contributors")
# REUSE-IgnoreEnd

LINE, BLOCK, HTML, HASH, SEMICOLON = ("// ", ""), ("/* ", " */"), ("<!-- ", " -->"), ("# ", ""), ("; ", "")
BY_SUFFIX = {
    ".cpp": LINE, ".h": LINE, ".c": BLOCK, ".css": BLOCK,
    ".md": HTML, ".htm": HTML, ".html": HTML,
    ".py": HASH, ".cmake": HASH, ".in": HASH, ".supp": HASH, ".sh": HASH, ".txt": HASH,
    ".ini": SEMICOLON,
}
BY_NAME = {"CMakeLists.txt": HASH, ".gitignore": HASH, "kx": HASH, "run": HASH}


def root():
    return subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True, text=True,
                          check=True).stdout.strip()


def dep5_patterns(top):
    """The Files patterns of .reuse/dep5 (a field may go on over indented lines)."""
    patterns, in_files = [], False
    try:
        with open(os.path.join(top, ".reuse", "dep5"), encoding="utf-8") as f:
            for line in f:
                if line.startswith("Files:"):
                    in_files = True
                    patterns += line.split(":", 1)[1].split()
                elif in_files and line.startswith((" ", "\t")):
                    patterns += line.split()
                else:
                    in_files = False
    except FileNotFoundError:
        pass
    return patterns


def style_of(path):
    name = os.path.basename(path)
    if name in BY_NAME:
        return BY_NAME[name]
    if name == "CMakeLists.txt" or not name.endswith(".txt"):
        return BY_SUFFIX.get(os.path.splitext(name)[1])
    return None  # other .txt files (the licence texts) stay as they are


def with_header(data, style):
    """The file's bytes with the missing SPDX lines added, or None when none is missing."""
    head = data[:2048]
    missing = [t for t in TAGS if t.encode() not in head]
    if not missing:
        return None
    newline = b"\r\n" if b"\r\n" in data[:4096] else b"\n"
    prefix, suffix = style
    # A C file that opens with a block comment (the help context map, which
    # the help compiler reads too) keeps to block comments.
    if style == LINE and data.lstrip().startswith(b"/*"):
        prefix, suffix = BLOCK
    lines = b"".join((prefix + t + suffix).encode() + newline for t in missing)
    bom = b"\xef\xbb\xbf" if data.startswith(b"\xef\xbb\xbf") else b""
    body = data[len(bom):]
    at = 0
    first = body.split(b"\n", 1)[0].strip().lower()
    # After a #! line or a document type, which must come first.
    if first.startswith(b"#!") or first.startswith(b"<!doctype"):
        at = body.find(b"\n") + 1 if b"\n" in body else len(body)
        if at == len(body) and not body.endswith(b"\n"):
            body += newline
            at = len(body)
    return bom + body[:at] + lines + body[at:]


def main(argv):
    check = "--check" in argv
    paths = [a for a in argv if a != "--check"]
    top = root()
    if not paths:
        listed = subprocess.run(["git", "ls-files", "-z"], cwd=top, capture_output=True, check=True).stdout
        paths = [os.path.join(top, p) for p in listed.decode().split("\0") if p]
    covered = dep5_patterns(top)
    changed = 0
    for path in paths:
        relative = os.path.relpath(os.path.abspath(path), top)
        if relative.startswith(("LICENSES" + os.sep, ".reuse" + os.sep)) or os.path.islink(path):
            continue
        if any(fnmatch.fnmatchcase(relative, p) for p in covered):
            continue
        style = style_of(relative)
        if style is None or not os.path.isfile(path):
            continue
        with open(path, "rb") as f:
            data = f.read()
        new = with_header(data, style)
        if new is None:
            continue
        changed += 1
        print(("lacks " if check else "added ") + relative)
        if not check:
            mode = os.stat(path).st_mode
            with open(path, "wb") as f:
                f.write(new)
            os.chmod(path, mode)
    return 1 if check and changed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
