# SPDX-License-Identifier: LGPL-2.1-or-later
# SPDX-FileCopyrightText: kxsimlib contributors
"""The Python module kxsimlib, driven as a Python card tool would use it.

Runs offscreen with private settings; dialogs are closed through
kxsimlib._testing.close_next_dialog, which acts once the window is displayed.
"""

import os
import re
import signal
import subprocess
import sys
import tempfile
import threading
import unittest

# Private settings and data folders before the library reads any.
_home = tempfile.TemporaryDirectory(prefix="kxsimlib-python-")
os.environ["XDG_CONFIG_HOME"] = os.path.join(_home.name, "config")
os.environ["XDG_DATA_HOME"] = os.path.join(_home.name, "data")
os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

import kxsimlib  # noqa: E402
from kxsimlib import _testing  # noqa: E402


class CommonsTest(unittest.TestCase):
    def test_new_temp_file_name_returns_tries_and_name_takes_keywords_and_rejects_wrong_types(self):
        # The naming rules are the C++ tests' part; here: the tuple, str and int crossing whole.
        with tempfile.TemporaryDirectory() as folder:
            tries, name = kxsimlib.Commons().NewTempFileName(folder + "/card-", ".bin")
            self.assertEqual(tries, 999)
            self.assertRegex(name, "^" + re.escape(folder) + r"/card-tmp\d{5}\.bin$")
        self.assertEqual(kxsimlib.Commons().NewTempFileName(Path="/nonexistent/", Appendix=".x", wUnique=7)[0], 999)
        with self.assertRaises(TypeError):
            kxsimlib.Commons().NewTempFileName(1, 2)

    def test_write_only_properties_and_uncreatable_ccb(self):
        with self.assertRaisesRegex(AttributeError, "hDC is write-only"):
            kxsimlib.Commons().hDC
        with self.assertRaisesRegex(AttributeError, "Language is write-only"):
            kxsimlib.CDialogs().Language
        with self.assertRaises(TypeError):
            kxsimlib.CCB()


class DialogTest(unittest.TestCase):
    def tearDown(self):
        _testing.disarm()

    def test_a_failed_call_raises_error_with_number_and_description(self):
        _testing.close_next_dialog("CBAction(1)", form="WAcm")
        with self.assertRaises(kxsimlib.Error) as raised:
            kxsimlib.CDialogs().SelectMeter("1E999", "1000", "EUR", "12")
        error = raised.exception
        self.assertEqual((error.number, error.description, str(error)), (6, "Overflow", "Overflow (error 6)"))
        self.assertTrue(_testing.pending(), "the window never showed")

    def test_select_meter_returns_the_result_and_the_texts_and_converts_its_arguments(self):
        # Which button leaves which texts is the C++ tests' part; here: the tuple, and each kind crossing whole.
        typed = {"TBAcm": "12", "TBAmv": "40", "TBCcu": "GBP", "TBPpu": "25"}
        cases = [
            ("texts typed over", "CBAction(1)", typed, ("3", "9", "EUR", "10"), (1, "12", "40", "GBP", "25")),
            ("whole numbers", "CBAction(2)", {}, (120, 500, "EUR", 12), (2, "120", "500", "EUR", "12")),
            ("a fraction", "CBAction(2)", {}, ("1", "2", "EUR", 1.5), (2, "1", "2", "EUR", "1.5")),
        ] + [("icon %r" % (icon,), "CBAction(2)", {}, ("1", "2", "EUR", "3", icon), (2, "1", "2", "EUR", "3"))
             for icon in (None, b"not an image", bytearray(b"\x89PNG"), "/nonexistent/icon.png")]
        for what, button, fields, passed, expected in cases:
            with self.subTest(what):
                _testing.close_next_dialog(button, fields, "WAcm")
                self.assertEqual(kxsimlib.CDialogs().SelectMeter(*passed), expected)
        for wrong in (True, None, [1]):
            with self.subTest(wrong=wrong), self.assertRaisesRegex(TypeError, "^Acm must be a text or a number$"):
                kxsimlib.CDialogs().SelectMeter(wrong, 2, "EUR", 3)
        with self.assertRaisesRegex(TypeError, "^Icon must be None, a path or image bytes$"):
            kxsimlib.CDialogs().SelectMeter("1", "2", "EUR", "3", Icon=5)

    def test_ctrl_c_closes_the_open_dialog_and_raises_keyboard_interrupt(self):
        # Python keeps SIGINT ignored when it starts ignored (a background job):
        # the child takes the handler an interactive session has.
        script = (
            "import signal\n"
            "signal.signal(signal.SIGINT, signal.default_int_handler)\n"
            "import kxsimlib\n"
            "from kxsimlib import _testing\n"
            "_testing.on_next_dialog(lambda form: print('displayed', form, flush=True))\n"
            "try:\n"
            "    kxsimlib.CDialogs().SelectMeter(120, 500, 'EUR', 12)\n"
            "except KeyboardInterrupt:\n"
            "    print('interrupted', flush=True)\n")
        with subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              text=True) as child:
            # A child that misses the signal would wait for a user forever.
            watchdog = threading.Timer(60, child.kill)
            watchdog.start()
            try:
                self.assertEqual(child.stdout.readline(), "displayed WAcm\n")
                child.send_signal(signal.SIGINT)
                self.assertEqual(child.stdout.readline(), "interrupted\n")
                self.assertEqual(child.wait(timeout=60), 0)
            finally:
                watchdog.cancel()
                child.kill()

    def test_select_network_returns_the_result_and_the_keys(self):
        with tempfile.TemporaryDirectory() as folder:
            ini = os.path.join(folder, "networks.ini")
            with open(ini, "w", encoding="ascii") as f:
                f.write("[Networks]\n26201=Telekom\n26202=Vodafone\n")
            # Which keys come back on which ending is the C++ tests' part; here: the tuple.
            _testing.close_next_dialog("CBAction(1)", form="WNetze")
            self.assertEqual(
                kxsimlib.CDialogs().SelectNetwork("Networks", "26202;00262601;;7", 8, ini, "Preferred networks",
                                                  None, 7120, ""),
                (1, "26202;262601;"))
            with self.assertRaises(kxsimlib.Error) as caught:
                kxsimlib.CDialogs().SelectNetwork("Networks", "99999999999;", 8, ini, "", None, 0, "")
            self.assertEqual(caught.exception.number, 6)

    def test_card_reader_takes_a_list_or_a_nul_separated_string(self):
        for readers in (["Reader A", "Reader B"], "Reader A\0Reader B"):
            with self.subTest(readers=readers):
                _testing.close_next_dialog("no such button", form="WLeser")
                self.assertEqual(kxsimlib.CDialogs().Kartenleser(readers), "")
        with self.assertRaises(TypeError):
            kxsimlib.CDialogs().Kartenleser(5)


if __name__ == "__main__":
    unittest.main()
