# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
"""A private desktop for the accessibility tests: a D-Bus session, Xvfb, the
accessibility bus and its registry, and kxsim processes found and driven over
AT-SPI as a screen reader or switch-access tool finds and drives them.

Every child runs in one process group of its own and every wait has a limit,
so a stuck child ends the test, never the machine's patience.
"""

import atexit
import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

LIBEXEC = "/usr/libexec"
STEP = 0.02  # seconds between two looks at the bus while waiting


class Unavailable(Exception):
    """The desktop could not start; the message names what failed."""


def _read_line(fd, seconds, what):
    """The first line a child writes on fd, within seconds (Xvfb writes
    its display number and the line end apart, and fails when the second
    finds the pipe closed)."""
    deadline = time.monotonic() + seconds
    line = b""
    while not line.endswith(b"\n"):
        ready, _, _ = select.select([fd], [], [], max(0, deadline - time.monotonic()))
        chunk = os.read(fd, 4096) if ready else b""
        if not chunk:
            raise Unavailable(f"{what} said nothing within {seconds} s")
        line += chunk
    return line.decode().strip()


def wait_for(probe, seconds, what):
    """Calls probe until it gives something true; fails after seconds."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            value = probe()
        except AssertionError:
            raise
        except Exception:  # the bus answers only once the object is there
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"waited {seconds} s for {what}")
        time.sleep(STEP)


class Desktop:
    """Starts the session bus, the X server, the accessibility bus and the
    registry; close() ends them all."""

    def __init__(self, kxsim):
        self.kxsim = kxsim
        self.home = tempfile.mkdtemp(prefix="kxsim-atspi-")
        self.children = []
        self.group = None
        # A test runner's time limit (SIGTERM) still ends the desktop's children.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit("kxsim-atspi: stopped by SIGTERM"))
        atexit.register(self.close)
        try:
            self._start()
        except BaseException:
            self.close()
            raise

    def _spawn(self, argv, **kwargs):
        # A program missing is a missing package (./kx deps), an error, not a reason to skip.
        # The first child leads a new process group; the others join it.
        child = subprocess.Popen(argv, stdin=subprocess.DEVNULL, env=self.env, process_group=self.group or 0, **kwargs)
        if self.group is None:
            self.group = child.pid
        self.children.append(child)
        return child

    def _start(self):
        self.env = dict(os.environ)
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self.env.update(XDG_RUNTIME_DIR=self.home, HOME=self.home, NO_AT_BRIDGE="0",
                        XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        XDG_DATA_HOME=os.path.join(self.home, "data"))
        os.chmod(self.home, 0o700)

        bus = self._spawn(["/usr/bin/dbus-daemon", "--session", "--nofork",
                           "--print-address=1"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = _read_line(bus.stdout.fileno(), 5, "dbus-daemon")

        reader, writer = os.pipe()
        self._spawn(["/usr/bin/Xvfb", "-displayfd", str(writer), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                     "-noreset"], pass_fds=[writer], stderr=subprocess.DEVNULL)
        os.close(writer)
        try:
            self.env["DISPLAY"] = ":" + _read_line(reader, 10, "Xvfb")
        finally:
            os.close(reader)

        # Its bus and the registry it starts would talk on the test's own output.
        self._spawn([f"{LIBEXEC}/at-spi-bus-launcher", "--launch-immediately"], stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
        from gi.repository import Gio, GLib  # after the environment is known

        session = Gio.DBusConnection.new_for_address_sync(
            self.env["DBUS_SESSION_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)

        def a11y_address():
            reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                                      GLib.VariantType("(s)"), Gio.DBusCallFlags.NO_AUTO_START, 500, None)
            return reply.unpack()[0]

        try:
            self.env["AT_SPI_BUS_ADDRESS"] = wait_for(a11y_address, 10, "the accessibility bus")
        except AssertionError as e:
            raise Unavailable(str(e)) from None
        # The registry, started by the accessibility bus itself (at-spi2-registryd), as a desktop session does.
        a11y = Gio.DBusConnection.new_for_address_sync(
            self.env["AT_SPI_BUS_ADDRESS"],
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        try:
            a11y.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "StartServiceByName", GLib.Variant("(su)", ("org.a11y.atspi.Registry", 0)),
                           GLib.VariantType("(u)"), Gio.DBusCallFlags.NONE, 10000, None)
        except GLib.Error as e:
            raise Unavailable(f"the accessibility registry did not start: {e.message}") from None
        a11y.close_sync(None)
        session.close_sync(None)
        # libatspi reads these when it first connects: in this process, now.
        for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "DISPLAY"):
            os.environ[name] = self.env[name]
        # kxsim finds the accessibility bus as on a desktop, through the session
        # bus (Qt 6.4 connects to an AT_SPI_BUS_ADDRESS but never registers there).
        self.kxsim_env = dict(self.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                              QT_ACCESSIBILITY="1", LANG="C.UTF-8", LC_ALL="C.UTF-8")
        del self.kxsim_env["AT_SPI_BUS_ADDRESS"]

    def close(self):
        if self.group is not None and self.children:
            try:
                os.killpg(self.group, signal.SIGTERM)
            except ProcessLookupError:
                pass
        for child in self.children:
            try:
                child.wait(timeout=3)
            except subprocess.TimeoutExpired:
                child.kill()
                child.wait(timeout=3)
            if child.stdout:
                child.stdout.close()
        self.children = []
        shutil.rmtree(self.home, ignore_errors=True)

    def start(self, *args):
        """kxsim with args, accessibility on; a Run to find and drive it."""
        return Run(self, list(args))


class Run:
    """One kxsim process: its application on the bus, its output and exit code."""

    LIMIT = 20  # seconds any one kxsim may live

    def __init__(self, desktop, args):
        self.desktop = desktop
        self.args = args
        # Settings of its own, so no run finds what another stored.
        self.config = tempfile.mkdtemp(prefix="config-", dir=desktop.home)
        env = dict(desktop.kxsim_env, XDG_CONFIG_HOME=self.config)
        self.process = subprocess.Popen([desktop.kxsim, *args], env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, process_group=desktop.group)
        self.app = None
        self.out = self.err = None
        self.code = None

    def application(self, seconds=10):
        """The process's application object on the accessibility bus."""
        import pyatspi

        def find():
            if self.process.poll() is not None:
                raise AssertionError(f"kxsim {' '.join(self.args)} ended with {self.process.returncode} "
                                     f"before it showed up on the bus: {self.process.stderr.read().decode()}")
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.get_process_id() == self.process.pid:
                    return app
            return None

        if self.app is None:
            self.app = wait_for(find, seconds, f"kxsim {' '.join(self.args)} on the accessibility bus")
            self.app.set_cache_mask(0)  # every question goes to the program, never to a stale copy
        return self.app

    def window(self, title=None, seconds=10, active=True):
        """The top-level window titled title (any when None), once it is active (keys
        reach it; a plain widget window never says so) and shows its controls."""
        import pyatspi

        def find():
            for w in self.application():
                if w is None or not all(w.getState().contains(s) for s in (pyatspi.STATE_SHOWING,
                                                                           pyatspi.STATE_ACTIVE)[:1 + active]):
                    continue
                if (title is None or w.name == title) and w.childCount:
                    return w
            return None

        return wait_for(find, seconds, f"window {title!r} of kxsim {' '.join(self.args)}")

    def finish(self, seconds=LIMIT):
        """Waits for the exit; gives (exit code, JSON of stdout or None)."""
        try:
            out, err = self.process.communicate(timeout=seconds)
        except subprocess.TimeoutExpired:
            self.process.kill()
            out, err = self.process.communicate(timeout=5)
            raise AssertionError(f"kxsim {' '.join(self.args)} did not end within {seconds} s")
        self.out, self.err, self.code = out.decode(), err.decode(), self.process.returncode
        line = self.out.strip().splitlines()[-1] if self.out.strip() else ""
        return self.code, (json.loads(line) if line.startswith("{") else None)

    def settings(self):
        """The settings file this run wrote."""
        try:
            with open(os.path.join(self.config, "Tolvane", "Kestrix.conf"), encoding="utf-8") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.communicate(timeout=5)


# What a tool does and reads on the bus.

KEYS = {"Escape": 0xFF1B, "Tab": 0xFF09}


def descendants(node, into=lambda node: True):
    """Every node under node, depth first; into says which to look inside."""
    for child in node:
        if child is not None:
            yield child
            if into(child):
                yield from descendants(child, into)


_trees = {}  # a window's nodes by name, walked again when one is missing


def find(root, name, role=None, seconds=5):
    """The first descendant of root named name (and of role), once it is there."""
    def look():
        for walk in (False, True):
            if walk or root not in _trees:
                _trees[root] = {}
                for a in descendants(root):
                    _trees[root].setdefault(a.name, []).append(a)
            found = [a for a in _trees[root].get(name, []) if role is None or a.getRoleName() == role]
            if found:
                return found[0]
        return None
    return wait_for(look, seconds, f"{role or 'control'} {name!r} in {root.name!r}")


def act(node, action):
    """Does action ("Press", "Toggle") as an assistive tool does."""
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        raise AssertionError(f"{node.getRoleName()} {node.name!r} offers {names}, not {action}")
    actions.doAction(names.index(action))


def text(node):
    return node.queryText().getText(0, -1)


def has(node, *states):
    """Whether node is in every one of states ("FOCUSED"), asked at once."""
    import pyatspi
    now = node.getState()
    return all(now.contains(getattr(pyatspi, "STATE_" + s)) for s in states)


def key(name):
    """A key pressed and released on the keyboard, through the registry (XTest)."""
    import pyatspi
    pyatspi.Registry.generateKeyboardEvent(KEYS[name], None, pyatspi.KEY_SYM)


def nodes(window):
    """The window's nodes, a list's entries and a combo box's pop-up left to them."""
    return list(descendants(window, lambda a: a.getRoleName() not in ("list", "combo box")))


def controls(among):
    """The controls a keyboard user can reach: shown, enabled and focusable."""
    return [a for a in among if has(a, "FOCUSABLE", "SHOWING", "ENABLED")]


def focused(window, among=None):
    return next((a for a in among or controls(nodes(window)) if has(a, "FOCUSED")), None)


def tab_walk(window, among=None):
    """The controls Tab visits from the first focus until it comes back round."""
    among = among or controls(nodes(window))
    first = wait_for(lambda: focused(window, among), 5, f"the first focus in {window.name!r}")
    stops = [first]
    for _ in range(len(among) + 1):
        key("Tab")
        now = wait_for(lambda: (lambda f: f if f is not None and f != stops[-1] else None)(focused(window, among)),
                       5, f"Tab to move on from {stops[-1].name!r} in {window.name!r}")
        if now == first:
            return stops
        stops.append(now)
    raise AssertionError(f"Tab never came back to {first.name!r} in {window.name!r}")


def announce(node):
    """What a screen reader says of node: name, role, states and value."""
    words = [node.name, node.getRoleName()]
    if has(node, "IS_DEFAULT"):
        words.append("default")
    role = node.getRoleName()
    if role == "check box":
        words.append("checked" if has(node, "CHECKED") else "not checked")
    if role == "slider":
        v = node.queryValue()
        words.append(f"{v.currentValue:g} of {v.minimumValue:g} to {v.maximumValue:g}, step {v.minimumIncrement:g}")
    if role == "text":
        if not has(node, "EDITABLE"):
            words.append("read only")
        words.append(repr(text(node).strip()) if text(node).strip() else "blank")
    if role == "list":
        words.append(f"{node.childCount} item{'' if node.childCount == 1 else 's'}")
    return ", ".join(words)
