#!/usr/bin/env python3
"""Checks that every include in src/ points down the layers.

    surface -> dialogs -> services -> platform -> core

A file in src/<layer>/ may include its own layer and the layers below it;
the public headers (include/kxsimlib/) count as core. Core and the dialogs'
models (*_model.h, *_model.cpp) include no Qt header, and a model includes
nothing but core, the public headers, other models and the services that are
themselves free of Qt. The public headers include neither Qt nor src/.

    check_layers.py [ROOT]    exits 1 and names each offending line
"""
import pathlib
import re
import sys

LAYERS = ["core", "platform", "services", "dialogs", "surface"]
RANK = {name: rank for rank, name in enumerate(LAYERS)}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Q[A-Za-z]*(/|$)|^Qt")


def includes(path):
    for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if match:
            yield number, match.group(1), match.group(2)


def target_layer(src, path, quote, name):
    """The layer an include names, or None for system, Qt and project files outside src/."""
    if quote != '"':
        return None
    if name.startswith("kxsimlib/"):
        return "core"
    resolved = (path.parent / name).resolve()
    for candidate in (resolved, (src / name).resolve()):
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


def check(root):
    src = (root / "src").resolve()
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
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
    for path in sorted((root / "include").rglob("*.h")):
        for number, quote, name in includes(path):
            head = name.split("/", 1)[0]
            if (quote == "<" and QT_HEADER.match(name)) or head in RANK:
                faults.append(f"{path.relative_to(root)}:{number}: {name}: a public header includes "
                              "neither Qt nor src/")
    return faults


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
