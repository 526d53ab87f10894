#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
"""The layer check on a small tree of its own: clean, it passes; with one
include planted where it does not belong (in src/, tools/, python/, bench/ or
the tooling header), it fails and names that line.

    check_layers_test.py CHECK_LAYERS_PY
"""
import importlib.util
import pathlib
import subprocess
import sys
import tempfile

# Every file here is included by some row, so each planted include resolves as in the real tree.
CLEAN = {
    "include/kxsimlib/status.h": "#pragma once\n#include <string>\n",
    "src/core/buttons.h": '#pragma once\n#include "kxsimlib/status.h"\n',
    "src/platform/form.h": '#pragma once\n#include <QWidget>\n#include "core/buttons.h"\n',
    "src/dialogs/meter/meter_model.h": '#pragma once\n#include "core/buttons.h"\n',
    "src/surface/tooling.h": '#pragma once\n#include <QDialog>\n#include "kxsimlib/status.h"\n',
    "src/surface/cdialogs.cpp": '#include "surface/tooling.h"\n#include "platform/form.h"\n',
    "tests/support/temp_files.h": "#pragma once\n",
    "tools/kxsim/command.h": '#pragma once\n#include <kxsimlib/status.h>\n',
    "tools/kxsim/card/card_tasks.cpp": ('#include <winscard.h>\n#include "command.h"\n#include "kxsimlib/status.h"\n'
                                       '#include "surface/tooling.h"\n'),
    "tools/compat/profile_probe.c": '#include "core/buttons.h"\n',  # C, not a kxsim source
    "python/module.cpp": '#include <pybind11/pybind11.h>\n#include "kxsimlib/status.h"\n#include "surface/tooling.h"\n',
    "bench/quiet.h": "#pragma once\n",
    "bench/dialogs_bench.cpp": '#include "quiet.h"\n#include "surface/tooling.h"\n',
}

# (file, line added at its end, what the check must name; None: the line is allowed)
PLANTED = [
    ("src/platform/form.h", '#include "surface/tooling.h"', "platform may not include surface"),
    ("src/platform/form.h", "#include <surface/tooling.h>", "platform may not include surface"),
    ("src/core/buttons.h", "#include <QString>", "no Qt in core"),
    ("src/dialogs/meter/meter_model.h", '#include "platform/form.h"', "a model includes only"),
    ("include/kxsimlib/status.h", '#include "core/buttons.h"', "a public header includes"),
    ("tools/kxsim/card/card_tasks.cpp", '#include "core/buttons.h"', "a program outside src/"),
    ("tools/kxsim/card/card_tasks.cpp", "#include <core/status.h>", "a program outside src/"),
    ("tools/kxsim/command.h", '#include "platform/form.h"', "a program outside src/"),
    ("tools/kxsim/command.h", '#include "support/temp_files.h"', "a program outside src/"),
    ("python/module.cpp", "#include <dialogs/meter/meter_model.h>", "a program outside src/"),
    ("bench/dialogs_bench.cpp", '#include "core/buttons.h"', "a program outside src/"),
    ("src/surface/tooling.h", '#include "core/buttons.h"', "the tooling header includes only"),
    ("tools/kxsim/command.h", "#include <kxsimlib/status.h>", None),
    ("tools/kxsim/card/card_tasks.cpp", '#include "../command.h"', None),
    ("tools/compat/profile_probe.c", '#include "platform/form.h"', None),
]


def run(checker, root, planted):
    """The check's exit code and output: as a program for the clean tree and the
    first planted row, in this process (much faster) for the others."""
    if planted is None or planted == PLANTED[0]:
        result = subprocess.run([sys.executable, checker, str(root)], capture_output=True, text=True)
        return result.returncode, result.stdout + result.stderr
    found = importlib.util.spec_from_file_location("check_layers", checker)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    faults = module.check(root.resolve())
    return (1 if faults else 0), "\n".join(faults) + "\n"


def main():
    failures = []
    for planted in [None] + PLANTED:
        with tempfile.TemporaryDirectory() as folder:
            root = pathlib.Path(folder)
            for name, text in CLEAN.items():
                (root / name).parent.mkdir(parents=True, exist_ok=True)
                (root / name).write_text(text)
            name, line, expected = planted or ("", "", None)
            if planted:
                number = len((root / name).read_text().splitlines()) + 1
                with open(root / name, "a") as file:
                    file.write(line + "\n")
            code, output = run(sys.argv[1], root, planted)
            if expected is None and code != 0:
                failures.append(f"{name or 'the clean tree'}: {line}: refused\n{output}")
            elif expected and (code != 1 or f"{name}:{number}: " not in output or expected not in output):
                failures.append(f"{name}: {line}: expected exit 1 naming line {number} with \"{expected}\", "
                                f"got {code}\n{output}")
    print("".join(failure + "\n" for failure in failures), end="")
    print(f"check_layers_test: {len(PLANTED) + 1 - len(failures)} of {len(PLANTED) + 1} rows as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
