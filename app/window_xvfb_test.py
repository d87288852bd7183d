#!/usr/bin/env python3
"""The real executable in a real X server: the window appears with its
title, centred, at its outer size; Esc ends the process with status 0; with
no display at all the process ends with status 255 after one stderr line.
Space on the focused query button sends exactly the service's request to the
stand-in service and fills the labels. Leaves screenshots of the window as it
opens and after the query.

usage: window_xvfb_test.py ZEMBROLT_BINARY SCREENSHOT_PNG SERVICE_BASE STANDIN CERT_DIR
"""

import os
import subprocess
import sys
import time
import unittest
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from standin_process import Standin, select_request  # noqa: E402
from xsession import XSession  # noqa: E402

TITLE = "Zembrolt Morvessa"
BINARY = None
SCREENSHOT = None
SERVICE_BASE = None
STANDIN = None
CERT_DIR = None
# Where the value label 国标 lies in the window: the group box at (56, 32),
# the label at (56, 40) inside it, 80 x 24.
NATIONAL_VALUE = "80x24+112+72"


class WindowUnderX(unittest.TestCase):
    def test_window_appears_centred_and_esc_ends_with_zero(self):
        with XSession(1024, 768) as x:
            tool = x.start([BINARY])
            window = x.wait_for_window(TITLE)
            # No window manager runs, so no frame: the client area is the
            # whole outer rectangle, centred on the 1024 x 768 screen.
            self.assertEqual(x.geometry(window), (328, 221, 367, 325))
            # Let the first paint land before the picture is taken.
            time.sleep(1.0)
            x.screenshot(window, SCREENSHOT)
            self.assertGreater(os.path.getsize(SCREENSHOT), 0)
            x.key(window, "Escape")
            self.assertEqual(tool.wait(timeout=15), 0)
            self.assertEqual(tool.stderr.read(), "")

    def test_space_queries_the_service_and_fills_the_labels(self):
        base = urllib.parse.urlsplit(SERVICE_BASE)
        if base.scheme != "https" or base.hostname not in ("localhost", "127.0.0.1"):
            self.skipTest("built for a service other than the stand-in: " + SERVICE_BASE)
        standin = Standin(STANDIN, CERT_DIR, base.port)
        try:
            with XSession(1024, 768) as x:
                tool = x.start([BINARY])
                window = x.wait_for_window(TITLE)
                time.sleep(1.0)
                before = SCREENSHOT + ".before.png"
                x.screenshot(window, before)
                # The focus starts on the query button, where Space clicks.
                x.key(window, "space")
                after = os.path.join(os.path.dirname(SCREENSHOT), "window-query.png")
                x.screenshot_once_changed(window, before, after, NATIONAL_VALUE, 20)
                self.assertEqual(standin.requests(),
                                 [select_request(base.netloc, b"Torvanel", b"aqq")])
                x.key(window, "Escape")
                self.assertEqual(tool.wait(timeout=15), 0)
        finally:
            standin.close()

    def test_no_display_ends_with_255_and_one_line(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        result = subprocess.run([BINARY], env=env, capture_output=True, text=True, timeout=30)
        self.assertEqual(result.returncode, 255)
        lines = result.stderr.splitlines()
        self.assertEqual(len(lines), 1, result.stderr)
        self.assertIn("display", lines[0])


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    BINARY, SCREENSHOT, SERVICE_BASE, STANDIN, CERT_DIR = sys.argv[1:]
    unittest.main(argv=sys.argv[:1], verbosity=2)
