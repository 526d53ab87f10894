#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
"""Checks that every include in src/ points down the layers, and that the
programs outside the library reach it only through its public headers.

    surface -> dialogs -> services -> platform -> core

A file in src/<layer>/ may include its own layer and the layers below it;
the public headers (include/kxsimlib/) count as core. Core and the dialogs'
models (*_model.h, *_model.cpp) include no Qt header, and a model includes
nothing but core, the public headers, other models and the services that are
themselves free of Qt. The public headers include neither Qt nor src/.

The C++ files of tools/ (kxsim), python/ and bench/ include the public
headers, the tooling header and their own files, never another file of src/
or tests/; the tooling header itself includes only public headers, since
those programs read it. An include in angle brackets counts as one in
quotes: <core/status.h> names src/core, <kxsimlib/cdialogs.h> the public
header.

    check_layers.py [ROOT]    exits 1 and names each offending line
"""
import pathlib
import re
import sys

LAYERS = ["core", "platform", "services", "dialogs", "surface"]
RANK = {name: rank for rank, name in enumerate(LAYERS)}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Q[A-Za-z]*(/|$)|^Qt")
CPP = (".h", ".hpp", ".cpp", ".cc")

# The one header of the library's internals that programs outside src/ may
# include (relative to ROOT); it moves, this line follows.
TOOLING_HEADER = "src/surface/tooling.h"
# Programs built outside the library; what is not C++ in them (tools/compat) is not looked at.
PROGRAM_FOLDERS = ("tools", "python", "bench")
# Benchmarks of internal routines: they link kxsimlib_static as the tests do,
# so, like the tests, they may include src/ (and tests/support).
WHITE_BOX_BENCHMARKS = (
    "bench/network_list_bench.cpp",
    "bench/number_converter_bench.cpp",
    "bench/settings_store_bench.cpp",
    "bench/store_soak.cpp",
    "bench/translation_bench.cpp",
)


def includes(path):
    for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if match:
            yield number, match.group(1), match.group(2)


def target_layer(src, path, quote, name):
    """The layer an include names, or None for system, Qt and project files outside src/.

    Quotes look beside the including file first; angle brackets only on the
    include path (src/ and include/)."""
    if name.startswith("kxsimlib/"):
        return "core"
    candidates = [(path.parent / name).resolve()] if quote == '"' else []
    for candidate in candidates + [(src / name).resolve()]:
        try:
            part = candidate.relative_to(src).parts[0]
        except ValueError:
            continue
        if part in RANK and candidate.exists():
            return part
    head = name.split("/", 1)[0]
    return head if head in RANK else None


def qt_free(src, header):
    """Whether a services routine (its header and source) names no Qt header."""
    for path in (src / header, (src / header).with_suffix(".cpp")):
        if path.exists() and any(q == "<" and QT_HEADER.match(n) for _, q, n in includes(path)):
            return False
    return True


def check_src(root, src):
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in CPP:
            continue
        layer = path.relative_to(src).parts[0]
        if layer not in RANK:
            continue
        is_model = re.search(r"_model\.(h|cpp)$", path.name) is not None
        where = path.relative_to(root)
        for number, quote, name in includes(path):
            if quote == "<" and QT_HEADER.match(name):
                if layer == "core" or is_model:
                    faults.append(f"{where}:{number}: {name}: no Qt in {'a model' if is_model else 'core'}")
                continue
            target = target_layer(src, path, quote, name)
            if target is None:
                continue
            if RANK[target] > RANK[layer]:
                faults.append(f"{where}:{number}: {name}: {layer} may not include {target}")
            elif is_model:
                allowed = (target == "core"
                           or (target == "dialogs" and name.endswith("_model.h"))
                           or (target == "services" and qt_free(src, name)))
                if not allowed:
                    faults.append(f"{where}:{number}: {name}: a model includes only core, models and "
                                  "Qt-free services")
    return faults


def project_file(root, path, quote, name):
    """Where an include of a program outside src/ leads: "public", "tooling",
    "own" (a file of the program's own folder tree), "internal" (src/ or
    tests/) or None (system, Qt and other libraries' headers)."""
    if name.startswith("kxsimlib/"):
        return "public"
    tooling = (root / TOOLING_HEADER).resolve()
    top = root / path.relative_to(root).parts[0]
    own = [folder / name for folder in [path.parent, *path.parent.parents] if folder == top or top in folder.parents]
    if quote == "<":
        own = []
    for candidate in own + [root / "src" / name, root / "include" / name, tooling.parent / name]:
        if candidate.resolve() == tooling:
            return "tooling"
    for candidate in own:
        if candidate.is_file():
            return "own"
    for base in ("src", "tests", "include"):
        if (root / base / name).is_file():
            return "internal"
    return "internal" if name.split("/", 1)[0] in RANK else None


def check_programs(root):
    faults = []
    tooling = TOOLING_HEADER.split("/", 1)[1]
    for folder in PROGRAM_FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            where = path.relative_to(root)
            if path.suffix not in CPP or where.as_posix() in WHITE_BOX_BENCHMARKS:
                continue
            for number, quote, name in includes(path):
                if project_file(root, path, quote, name) == "internal":
                    faults.append(f"{where}:{number}: {name}: a program outside src/ includes only the public "
                                  f"headers, {tooling} and its own files")
    header = root / TOOLING_HEADER
    if header.is_file():
        src = (root / "src").resolve()
        for number, quote, name in includes(header):
            if not name.startswith("kxsimlib/") and target_layer(src, header.resolve(), quote, name):
                faults.append(f"{TOOLING_HEADER}:{number}: {name}: the tooling header includes only the public "
                              "headers, since programs outside src/ include it")
    return faults


def check(root):
    src = (root / "src").resolve()
    faults = check_src(root, src)
    for path in sorted((root / "include").rglob("*.h")):
        for number, quote, name in includes(path):
            head = name.split("/", 1)[0]
            if (quote == "<" and QT_HEADER.match(name)) or head in RANK:
                faults.append(f"{path.relative_to(root)}:{number}: {name}: a public header includes "
                              "neither Qt nor src/")
    return faults + check_programs(root)


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent).resolve()
    faults = check(root)
    for fault in faults:
        print(fault)
    if faults:
        print(f"check_layers: {len(faults)} include(s) point the wrong way", file=sys.stderr)
        return 1
    print("check_layers: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
