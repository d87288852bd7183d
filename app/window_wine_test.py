#!/usr/bin/env python3
"""The real zembrolt.exe under Wine in a real X server: the window appears
with its title, centred, at its outer size; Esc ends the process with status
0. The keys walk the focus as a dialog does, Enter presses nothing, and Space
on the query button sends exactly the service's request to the stand-in.
Leaves screenshots of the window as it opens and after a query.

Wine runs in the build's prefix with the Chinese code page as the system's
ANSI code page (a zh_CN locale made for the run), and draws the window's
frame itself, so that the X window is the whole outer rectangle.

usage: window_wine_test.py WINE_RUN PREFIX ZEMBROLT_EXE SCREENSHOT_DIR SERVICE_BASE STANDIN CERT_DIR
"""

import os
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from standin_process import Standin, select_request  # noqa: E402
from xsession import XSession  # noqa: E402

TITLE = "Zembrolt Morvessa"
# The group box's inside, where the value labels lie, in window pixels (the
# frame Wine draws included): it changes when a query fills the labels.
VALUE_LABELS = "200x150+100+80"
WINE_RUN = PREFIX = EXE = SCREENSHOT_DIR = SERVICE_BASE = STANDIN = CERT_DIR = None
LOCALES = None


def wine_env():
    return {"LOCPATH": LOCALES.name, "LANG": "zh_CN.UTF-8", "LC_ALL": "zh_CN.UTF-8"}


def wine(*args, timeout=120):
    env = dict(os.environ)
    env.update(wine_env())
    # Wine speaks the code page of the locale it is given.
    return subprocess.run([WINE_RUN, PREFIX, *args], env=env, capture_output=True, text=True,
                          errors="replace", timeout=timeout)


def setUpModule():
    global LOCALES
    LOCALES = tempfile.TemporaryDirectory(prefix="zembrolt-locale-")
    made = subprocess.run(["localedef", "-i", "zh_CN", "-f", "UTF-8",
                           os.path.join(LOCALES.name, "zh_CN.UTF-8")],
                          capture_output=True, text=True)
    if not os.path.isdir(os.path.join(LOCALES.name, "zh_CN.UTF-8")):
        raise RuntimeError("localedef could not make zh_CN.UTF-8: " + made.stderr)
    # Without a window manager nobody else would draw the frame.
    added = wine("reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Decorated", "/d", "N",
                 "/f")
    if added.returncode != 0:
        raise RuntimeError("cannot set the prefix's X11 driver: " + added.stderr)


def tearDownModule():
    LOCALES.cleanup()


class WineSession(XSession):
    """An X server with the tool started under Wine on it; on leaving, every
    Wine process of the prefix has ended before the server goes."""

    def start_tool(self):
        return self.start([WINE_RUN, PREFIX, EXE], wine_env())

    def __exit__(self, *exc):
        for process in self._processes:
            if process.poll() is None:
                process.kill()
        env = dict(os.environ, WINEPREFIX=PREFIX)
        try:
            subprocess.run(["wineserver", "-w"], env=env, timeout=30)
        except subprocess.TimeoutExpired:
            pass
        return super().__exit__(*exc)


class WindowUnderWine(unittest.TestCase):
    def test_window_appears_centred_and_esc_ends_with_zero(self):
        with WineSession(1024, 768) as x:
            tool = x.start_tool()
            window = x.wait_for_window(TITLE, timeout=60)
            # The outer rectangle, centred on the 1024 x 768 screen.
            self.assertEqual(x.geometry(window), (328, 221, 367, 325))
            time.sleep(1.0)
            x.screenshot(window, os.path.join(SCREENSHOT_DIR, "window-wine.png"))
            x.key(window, "Escape")
            self.assertEqual(tool.wait(timeout=30), 0)

    def test_keys_walk_the_focus_and_space_queries_the_service(self):
        base = urllib.parse.urlsplit(SERVICE_BASE)
        if base.scheme != "https" or base.hostname not in ("localhost", "127.0.0.1"):
            self.skipTest("built for a service other than the stand-in: " + SERVICE_BASE)
        standin = Standin(STANDIN, CERT_DIR, base.port)
        try:
            with WineSession(1024, 768) as x:
                tool = x.start_tool()
                window = x.wait_for_window(TITLE, timeout=60)
                time.sleep(1.0)
                before = os.path.join(SCREENSHOT_DIR, "window-wine.before.png")
                x.screenshot(window, before)
                # The focus starts on the query button, where Enter does
                # nothing. Three Tabs go round to it again, the fourth reaches
                # the name with its text selected, which typing replaces;
                # Enter there sends nothing either, and Shift+Tab goes back.
                x.key(window, "Return", "Tab", "Tab", "Tab", "Tab", "X", "y", "Return",
                      "shift+Tab", "space")
                after = os.path.join(SCREENSHOT_DIR, "window-wine-query.png")
                x.screenshot_once_changed(window, before, after, VALUE_LABELS, 30)
                self.assertEqual(standin.requests(),
                                 [select_request(base.netloc, b"Xy", b"aqq")])
                x.key(window, "Escape")
                self.assertEqual(tool.wait(timeout=30), 0)
        finally:
            standin.close()


if __name__ == "__main__":
    if len(sys.argv) != 8:
        sys.exit(__doc__)
    WINE_RUN, PREFIX, EXE, SCREENSHOT_DIR, SERVICE_BASE, STANDIN, CERT_DIR = sys.argv[1:]
    unittest.main(argv=sys.argv[:1], verbosity=2)
