#!/usr/bin/env python3
"""The real executable in a real X server: the window appears with its
title, centred, at its outer size; Esc ends the process with status 0; with
no display at all the process ends with status 255 after one stderr line.
Leaves a screenshot of the window at the path given.

usage: window_xvfb_test.py ZEMBROLT_BINARY SCREENSHOT_PNG
"""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import XSession  # noqa: E402

TITLE = "Zembrolt Morvessa"
BINARY = None
SCREENSHOT = None


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

    def test_no_display_ends_with_255_and_one_line(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        result = subprocess.run([BINARY], env=env, capture_output=True, text=True, timeout=30)
        self.assertEqual(result.returncode, 255)
        lines = result.stderr.splitlines()
        self.assertEqual(len(lines), 1, result.stderr)
        self.assertIn("display", lines[0])


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    BINARY, SCREENSHOT = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
