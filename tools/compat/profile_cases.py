#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
"""Profile files and queries for comparing the INI reader with the Windows
profile reader, and the table of the Windows reader's answers.

  profile_cases.py DIR QUERIES          writes the files into DIR and the query list
  profile_cases.py --table DIR ANSWERS  the answers with the files' bytes, as the
                                        reference table on standard output

The files hold ASCII and Windows-1252 text (the Windows reader works in the
ANSI code page), some with a UTF-16 or UTF-8 byte order mark."""
import os
import sys

# Bodies with "\n" for the line end; each is written with LF, CRLF and a lone CR.
BODIES = {
    "basic": "[S]\nk=v\nK2 = spaced \n\tk3\t=\tv3\t\n",
    "noeq": "[S]\nlonely\nk=v\nnoeq  \nk2=after\n",
    "before": "pre=1\nnoeq\n[S]\nk=v\n[]\npre=2\nx=y\n",
    "emptyfirst": "[]\nx=1\n[S]\nk=v\n",
    "headers": "[a]b]\nk=1\n[ c ]\nk=2\n[d\nk=3\n[e=f\nk=4\n[\nz=5\n[g]tail\nk=6\n",
    "blankheader": "[   ]\nk=1\n[\t]\nk=2\n[S]\nk=3\n",
    "comments": "[S]\n;note=yes\n; spaced = x\nk=v\n#hash=1\n  ;indented=2\n;\n",
    "quotes": ("[S]\nq1=\"abcdef\"\nq2='single'\nq3=\"half\nq4=\"\nq5=\"\"\nq6='mixed\"\n"
               "q7=\" in \" side\"\nq8=  \"  blanks  \"  \nq9=x\"y\"\nq10=''\n"),
    "emptykey": "[S]\n=value\na=1\n =2\nb=3\n",
    "dups": "[S]\nk=1\nK=2\n[s]\nk=3\nnew=4\n[T]\nk=5\n",
    "case": "[Sec]\nKey=v\nkEY2=w\n",
    "equals": "[S]\nk==v\nm = v = w\n n o = spaced key\nempty=\nblank=   \n",
    "listing": "[a]\n[A]\n[ b ]\n[]\n[a]\n[;c]\nx=1\n",
    "only": "k=v\n",
    "empty": "",
    "blanks": "   \n\t\n",
    "long": "[S]\nlong=" + "x" * 600 + "\nq=\"" + "y" * 40 + "\"\n",
    "ansi": "[S]\nk=\xe4\x80\n\xc4=upper\nk2=caf\xe9\n[\xc4rger]\nk=3\n",
    "semicolon": "[S]\nk=a ; not a comment\nm=a;b\n",
    "nested": "[S]\n[[x]]\nk=1\n[y]]\nk=2\n",
    "tabs": "\t[S]\t\n\t\tk\t\t=\t\tv\t\t\n \t \n",
    "emptylater": "[S]\na=1\n=v\nb=2\n[T]\n;c=1\n",
    "repeat": "[S]\nk=1\n[T]\nk=2\n[S]\nk=3\nlater=4\n",
    # A line without "=" names an entry without a value: it hides a later
    # line of that name from a lookup but is not listed.
    "shadow": ("lonely\nlonely=0\n[Dup]\nflag\nflag=set\nk=1\n  K  \nk=2\nempty=\nempty\n"
               " spaced \nspaced=3\nCase\ncASE=4\n;c\n;c=5\n#h\n#h=6\n[x\n[x=7\nlast=8\nlast\n"
               "[Dup]\nnew\nnew=9\n[Other]\nflag=10\nflag\n"),
    "dupvalues": "[S]\nk=\nk=later\nq=\"\"\nq=x\nb=  \nb=y\n[T]\nk\n[S]\nk\nz=1\n",
}

EOF_BODIES = {
    "eof1": "[S]\nlast=tail\x1a",
    "eof2": "[S]\nk=v\x1a\x1a\nm= \x1a mid\n\x1a[T]\nk=1\n",
    "eof3": "[S]\nk=v\n\x1a\nz=after\n",
    "ctl": "[S]\nk=a\x0bb\nm=\x0cv\x0c\n",
}

QUERIES_SECTIONS = ["", "S", "s", " S ", "nope", "a]b", "a", "A", "c", "d", "e=f", "g", "Sec",
                    "SEC", "T", "b", ";c", "\xc4rger", "\xe4rger", "[d", "   ", "Dup", "dup", "Other"]
DEFAULTS = ["<d>", "d  ", "   ", " ", "\"q\"", "\"q\"  ", "'q'", "\"q", "", " \"q\" "]


def keys_of(body):
    keys = {"", " ", "nope"}
    for line in body.replace("\r", "\n").split("\n"):
        stripped = line.strip(" \t\x1a")
        if not stripped or (stripped.startswith("[") and "]" in stripped):
            continue
        keys.add(stripped.split("=", 1)[0].strip(" \t\x1a"))
        keys.add(stripped)
    keys |= {k.upper() for k in list(keys)}
    return sorted(keys)


def encode(text):
    return text.encode("latin-1")


def files():
    out = {}
    for name, body in BODIES.items():
        for end, tag in (("\n", "lf"), ("\r\n", "crlf"), ("\r", "cr")):
            out[f"{name}_{tag}.ini"] = (encode(body.replace("\n", end)), body)
    for name, body in EOF_BODIES.items():
        for end, tag in (("\n", "lf"), ("\r\n", "crlf"), ("\r", "cr")):
            out[f"{name}_{tag}.ini"] = (encode(body.replace("\n", end)), body)
    for name in ("basic", "before", "quotes", "comments", "headers", "emptykey", "dups", "noeq"):
        body = BODIES[name].replace("\n", "\r\n")
        out[f"{name}_utf16le.ini"] = (b"\xff\xfe" + body.encode("utf-16-le"), body)
        out[f"{name}_utf16be.ini"] = (b"\xfe\xff" + body.encode("utf-16-be"), body)
        out[f"{name}_utf8bom.ini"] = (b"\xef\xbb\xbf" + body.encode("utf-8"), body)
    out["ansi_utf16le.ini"] = (b"\xff\xfe" + BODIES["ansi"].encode("utf-16-le"), BODIES["ansi"])
    return out


def escape(data):
    if isinstance(data, str):
        data = encode(data)
    return "".join(chr(b) if 0x20 <= b < 0x7F and b != 0x5C else f"\\x{b:02x}" for b in data)


def field(value):
    return "!" if value is None else "=" + escape(value)


def queries(all_files):
    rows = []
    def add(file, section, key, default, size):
        rows.append("\t".join([field(file), field(section), field(key), field(default), field(str(size))]))
    names = sorted(all_files) + ["missing.ini", "folder.ini"]
    for name in names:
        body = all_files.get(name, (b"", "[S]\nk=v\n"))[1]
        sections = [s for s in QUERIES_SECTIONS
                    if s in ("", "S", " S ", "nope") or (s.strip() and s.strip().lower() in body.lower())]
        for size in (1000, 2, 3, 5, 8):
            add(name, None, None, "<d>", size)
        for section in sections:
            add(name, section, None, "<d>", 1000)
            for key in keys_of(body):
                add(name, section, key, "<d>", 512)
        for default in DEFAULTS:
            add(name, "S", "nope", default, 512)
            add(name, "S", None, default, 100)
        if name.startswith("quotes") or name.startswith("long"):
            for key in ("q1", "q2", "q5", "q7", "q8", "q", "long"):
                for size in (1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 41, 42, 43, 512):
                    add(name, "S", key, "<d>", size)
            for size in (1, 2, 3, 4, 5):
                add(name, "S", "nope", "\"abc\"", size)
        if name.startswith("basic") or name.startswith("listing"):
            for size in (1, 2, 3, 4, 5, 6, 7):
                add(name, "S", None, "<d>", size)
                add(name, "nope", None, "\"abcdef\"", size)
    return rows


def main():
    if sys.argv[1] == "--table":
        directory, answers = sys.argv[2], sys.argv[3]
        all_files = files()
        print("# The Windows profile reader's answers (GetPrivateProfileStringA as Wine runs it).")
        print("# Written by ./kx compat; F lines give a file's bytes, Q lines a query and its answer:")
        print("# Q FILE SECTION KEY DEFAULT SIZE COUNT ANSWER; \"!\" is a null pointer, \\xHH a byte.")
        for name in sorted(all_files):
            print(f"F\t{name}\t{escape(all_files[name][0])}")
        with open(answers, encoding="latin-1") as f:
            for line in f:
                print("Q\t" + line.rstrip("\r\n"))
        return
    directory, query_file = sys.argv[1], sys.argv[2]
    all_files = files()
    os.makedirs(os.path.join(directory, "folder.ini"), exist_ok=True)
    for name, (data, _) in all_files.items():
        with open(os.path.join(directory, name), "wb") as f:
            f.write(data)
    with open(query_file, "w", encoding="latin-1", newline="\n") as f:
        f.write("\n".join(queries(all_files)) + "\n")


main()
