# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
"""Every kxsim dialog as a screen reader, voice control or switch access meets
it: a real kxsim under Xvfb, read and worked over AT-SPI (the desktop's
accessibility bus) with Debian's pyatspi.

    dialogs_bus_test.py KXSIM LANGUAGE_FILE [unittest options]

Skips with one line "atspi tests skipped: WHY" when the bus cannot start.
With KXSIM_ANNOUNCE_PAGE=FILE it writes what a screen reader says on each
Tab stop of each dialog into FILE (./kx a11y renews docs/screen-reader.md so).
"""

import os
import shlex
import subprocess
import sys
import unittest
import warnings
from dataclasses import dataclass

import desktop
from desktop import act, find, has, key, text

# pyatspi 2.46 calls libatspi's older names, which warn on every call; gi's importer warns once.
warnings.filterwarnings("ignore", category=DeprecationWarning)
warnings.filterwarnings("ignore", category=ImportWarning)

KXSIM, GERMAN = sys.argv[1], sys.argv[2]
del sys.argv[1:3]
NETWORKS = "[Networks]\r\n26201=Telekom\r\n26202=Vodafone\r\n26203=O2\r\n"
bus = None  # the Desktop, for the whole module


def setUpModule():
    with open(os.path.join(bus.home, "networks.ini"), "w", newline="") as f:
        f.write(NETWORKS)


def network(*more):
    return ["network", "--ini", os.path.join(bus.home, "networks.ini"), "--section", "Networks", *more]


@dataclass
class Dialog:
    """A dialog command as the tree test meets it."""
    args: object            # kxsim's arguments, or a function giving them
    title: str
    default: str = None     # the default button's name
    off_chain: tuple = ()   # controls Tab must not reach
    says: tuple = ()        # some of what a screen reader says on Tab

    def argv(self):
        return self.args() if callable(self.args) else list(self.args)


DIALOGS = {
    "reader": Dialog(["reader", "--reader", "Reader A", "--reader", "Reader B"], "Cardreader Setup", "OK",
                     says=("Zeitintervall für Kartenprüfung (s), slider, 0.5 of 0 to 3, step 0.25",
                           "Help, push button")),
    "magnet": Dialog(["magnet"], "Magnetstreifen-Optionen", "OK", says=("Help, push button",)),
    "converter": Dialog(["converter", "--input", "255"], "Convert numbers", None,
                        off_chain=("Hexadecimal", "Decimal", "Octal", "Binary"), says=("Help, push button",)),
    "clone": Dialog(["clone"], "Clone SIM-Card", "OK", says=("Help, push button", "OK, push button, default")),
    "sms": Dialog(["sms", "--name", "Ann"], "Short Message", "OK", says=("Help, push button",)),
    "meter": Dialog(["meter", "--acm", "10", "--ppu", "12"], "Accumulated Call Meter", "OK",
                    says=("Total Units, text, '10'", "Clear Total, push button", "Help, push button")),
    "network": Dialog(lambda: network("--keys", "26202;"), "Preferred Networks", "OK",
                      says=("Available, list, 3 items", "Add, push button", "Help, push button")),
    "clone in German": Dialog(["--language", GERMAN, "clone"], "SIM-Karte klonen", "OK",
                              says=("Hilfe, push button", "Abbrechen, push button", "Kurzmitteilungen, check box, "
                                    "not checked")),
}
FIELDS = {"text", "list", "slider", "combo box", "spin button"}


@dataclass
class Scenario:
    """A run of a dialog command: steps through the bus, then how it ends."""
    dialog: str
    steps: list
    code: int
    json: dict = None              # the JSON line, or the part of it that matters
    stored: tuple = ()             # lines the settings file holds afterwards


def step(window, what, name=None, value=None):
    """One thing a tool does or reads in window."""
    if what in ("press", "toggle"):
        act(find(window, name), what.capitalize())
    elif what == "type":
        find(window, name).queryEditableText().setTextContents(value)
    elif what == "set":  # a slider, in the unit the tool is told
        find(window, name, "slider").queryValue().currentValue = value
    elif what == "pick":  # a list entry's own action, as a switch-access tool selects
        act(find(window, value, "list item"), "Toggle")
    elif what == "select":  # the list's selection, as a screen reader selects
        lst = find(window, name, "list")
        desktop.wait_for(lambda: value in [c.name for c in lst], 5, f"{value!r} in list {name!r}")
        lst.queryTable().addRowSelection([c.name for c in lst].index(value))
    elif what == "shows":  # a field's text, once the form has followed
        node = find(window, name)
        desktop.wait_for(lambda: text(node).strip() == value, 5, f"{name!r} to show {value!r}, not {text(node)!r}")
    elif what == "lists":
        lst = find(window, name, "list")
        desktop.wait_for(lambda: [c.name for c in lst] == value, 5, f"list {name!r} to hold {value}")
    elif what == "checked":
        node = find(window, name, "check box")
        desktop.wait_for(lambda: has(node, "CHECKED") == value, 5, f"{name!r} checked: {value}")
    elif what == "Escape ignored":  # a later key acts, the window stays
        before = desktop.focused(window)
        key("Escape")
        key("Tab")
        desktop.wait_for(lambda: desktop.focused(window) not in (None, before), 5, "Tab after Escape")
        assert has(window, "SHOWING"), "Escape closed a window without Cancel"
    elif what == "key":
        key(name)
    else:
        raise ValueError(what)


SCENARIOS = {
    # Fault 2 and 4: an entry selected by its own action counts; the sliders speak seconds.
    "reader chosen and timed through the bus": Scenario("reader", [
        ("set", "Zeitintervall für Kartenprüfung (s)", 1.5), ("set", "Wartezeit vor erstem Kommando", 0.25),
        ("pick", None, "Reader B"), ("toggle", "Pin-Eingabe am Kartenleser"), ("press", "OK")],
        0, {"result": "Reader B"}, ("LeserName=Reader B", "LeserTimer=1500", "LeserPause=250", "LeserPinpad=1")),
    "reader: Esc does nothing": Scenario("reader", [("Escape ignored",), ("press", "OK")], 0, {"result": "Reader A"}),
    "magnet typed": Scenario("magnet", [
        ("type", "Magstripe Prefix", "%"), ("toggle", "Track-1 Identifier vorhanden"), ("press", "OK")], 0),
    "magnet: Esc does nothing": Scenario("magnet", [("Escape ignored",), ("press", "OK")], 0),
    "converter typed": Scenario("converter", [
        ("type", "Input", "h1F"), ("shows", "Decimal", "31"), ("shows", "Binary", "1 1111"), ("press", "Close")],
        0, {"result": ""}),
    "converter: Esc presses Close": Scenario("converter", [("key", "Escape")], 0, {"result": ""}),
    # Fault 1: boxes ticked through the bus, each change counted once, the followers following.
    "clone ticked through the bus": Scenario("clone", [
        ("toggle", "Abbreviated Numbers"), ("checked", "Extensions 1", True),
        ("toggle", "Private numbers"), ("toggle", "Private numbers"), ("checked", "Extensions 1", True),
        ("toggle", "Short Messages"), ("checked", "SMS Status reports", True), ("press", "OK")],
        0, {"result": 1 + 32 + 16 + 512}),
    # Cancel through the bus once; each dialog's Cancel button is in its form test.
    "clone cancelled": Scenario("clone", [("toggle", "Short Messages"), ("press", "Cancel")], 1, {"result": 0}),
    "clone: Esc cancels": Scenario("clone", [("toggle", "Short Messages"), ("key", "Escape")], 1, {"result": 0}),
    "clone in German": Scenario("clone in German", [("toggle", "Kurzmitteilungen"), ("press", "OK")], 0,
                                {"result": 528}),
    "sms typed": Scenario("sms", [
        ("type", "Dialling number", "+491701234567"), ("type", "Text", "Hello"), ("toggle", "Confirm receipt"),
        ("press", "OK")], 0, {"name": "Ann", "address": "+491701234567", "text": "Hello"}),
    "sms: Esc cancels": Scenario("sms", [("key", "Escape")], 1),
    # Fault 3: a total set without a key updates its amount.
    "meter set through the bus": Scenario("meter", [
        ("type", "Total Units", "250"), ("shows", "Total Amount", "3000"), ("type", "Maximum Amount", "6000"),
        ("shows", "Maximum Units", "500"), ("press", "OK")],
        0, {"result": 1, "acm": "250", "amv": "500", "ppu": "12"}),
    "meter: Esc cancels": Scenario("meter", [("key", "Escape")], 1, {"result": 2}),
    # Fault 2: entries selected through the list's selection are added and removed.
    "network chosen through the bus": Scenario("network", [
        ("select", "Available", "Telekom"), ("press", "Add"), ("lists", "Selected", ["Vodafone", "Telekom"]),
        ("select", "Selected", "Vodafone"), ("press", "Remove"), ("lists", "Selected", ["Telekom"]),
        ("press", "OK")], 0, {"result": 1, "keys": "26201;"}),
    "network: Esc cancels": Scenario("network", [("key", "Escape")], 1, {"result": 2}),
}


def cell(words):
    return words.replace("|", "\\|")


def related(node, relation):
    """The targets of node's relations of a kind ("LABEL_FOR")."""
    import pyatspi
    kind = getattr(pyatspi, "RELATION_" + relation)
    return [r.getTarget(i) for r in node.getRelationSet() if r.getRelationType() == kind
            for i in range(r.getNTargets())]


class DialogsOverTheBus(unittest.TestCase):
    maxDiff = None
    said = {}  # dialog: what a screen reader says on each Tab stop

    def run_dialog(self, dialog):
        run = bus.start(*dialog.argv())
        self.addCleanup(run.kill)
        return run, run.window(dialog.title)

    def test_every_control_is_named_labelled_and_reached_by_tab(self):
        # Every dialog command kxsim lists has its row.
        listed = subprocess.run([KXSIM, "--help"], capture_output=True, text=True, timeout=20).stdout
        listed = listed.split("\nDialogs:\n", 1)[1].split("\n\n", 1)[0].split("\n")
        self.assertEqual({line.split()[0] for line in listed},
                         {next(a for a in d.argv() if not a.startswith("-") and a != GERMAN) for d in DIALOGS.values()})
        for name, dialog in DIALOGS.items():
            with self.subTest(name):
                run, window = self.run_dialog(dialog)
                tree = desktop.nodes(window)
                controls = desktop.controls(tree)
                labelled = [t for a in tree if a.getRoleName() == "label" for t in related(a, "LABEL_FOR")]
                # Every problem of the dialog at once, each a line.
                problems = [f"{c.getRoleName()} named {c.name!r}" for c in controls
                            if not any(ch.isalpha() for ch in c.name)]
                problems += [f"{c.name!r} unlabelled" for c in controls if c.getRoleName() in FIELDS
                             and c not in labelled and not related(c, "LABELLED_BY")]
                defaults = [c.name for c in controls if has(c, "IS_DEFAULT")]
                if defaults != ([dialog.default] if dialog.default else []):
                    problems.append(f"default buttons {defaults}")
                stops = desktop.tab_walk(window, controls)
                reached, wanted = {c.name for c in stops}, {c.name for c in controls} - set(dialog.off_chain)
                if reached != wanted:
                    problems.append(f"Tab misses {wanted - reached} and reaches {reached - wanted}")
                said = [desktop.announce(c) for c in stops]
                self.said[name] = (f"{window.name}, {window.getRoleName()}", said)
                problems += [f"never says {words!r}" for words in dialog.says if words not in said]
                self.assertEqual(problems, [], "\n".join(said))

    def test_values_set_through_the_bus_reach_the_result(self):
        for name, s in SCENARIOS.items():
            with self.subTest(name):
                run, window = self.run_dialog(DIALOGS[s.dialog])
                for st in s.steps:
                    step(window, *st)
                code, result = run.finish()
                self.assertEqual(code, s.code, run.err)
                if s.json is not None:
                    self.assertEqual({k: result.get(k) for k in s.json}, s.json)
                for line in s.stored:
                    self.assertIn(line, run.settings().splitlines())

    def test_timeout_closes_every_dialog_with_5(self):
        runs = {name: bus.start(*d.argv(), "--timeout", "0.5") for name, d in DIALOGS.items()}
        for name, run in runs.items():
            with self.subTest(name):
                self.addCleanup(run.kill)
                code, result = run.finish()
                self.assertEqual((code, result is not None), (5, True), run.err)

    def test_workbench_opens_a_dialog(self):
        run = bus.start("workbench")
        self.addCleanup(run.kill)
        bench = run.window("kxsim workbench", active=False)
        page = desktop.wait_for(lambda: next((a for a in desktop.descendants(bench) if "CloneOptions" in a.name), None),
                                5, "the clone options page's button")
        act(page, "Toggle" if page.getRoleName() == "check box" else "Press")
        act(find(bench, "Open WCopysim"), "Press")
        clone = run.window("Clone SIM-Card")
        step(clone, "toggle", "Short Messages")
        step(clone, "press", "OK")
        log = desktop.wait_for(lambda: next((a for a in desktop.descendants(bench) if a.getRoleName() == "text"
                                             and '"result": 528' in text(a)), None), 5, "the log to show the mask")
        self.assertTrue(has(log, "SHOWING"))

    @classmethod
    def tearDownClass(cls):
        page = os.environ.get("KXSIM_ANNOUNCE_PAGE")
        if not page or not cls.said:
            return
        with open(page, "w", encoding="utf-8") as f:
            f.write("# What a screen reader says in each dialog\n\n"
                    "Written by `./kx a11y` from the accessibility bus (AT-SPI): a real `kxsim` under Xvfb, each\n"
                    "dialog's window as it opens, then every control in the order Tab reaches it, as\n"
                    "name, role, states and value. Do not edit by hand.\n")
            for name, (window, said) in cls.said.items():
                args = shlex.join(DIALOGS[name].argv()).replace(GERMAN, "lang/kxsim_de.ini")
                f.write(f"\n## `kxsim {args.replace(bus.home + '/', '')}`\n\n| Tab | Says |\n|---|---|\n"
                        f"| | {window} |\n")
                f.writelines(f"| {i} | {cell(w)} |\n" for i, w in enumerate(said, 1))


if __name__ == "__main__":
    try:
        bus = desktop.Desktop(KXSIM)
    except desktop.Unavailable as e:
        print(f"atspi tests skipped: {e}", flush=True)
        sys.exit(0)
    try:
        unittest.main()
    finally:
        bus.close()
