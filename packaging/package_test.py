#!/usr/bin/env python3
"""The Debian package as a user gets it: made by CPack from this build,
accepted by lintian without an error, unpacked into a scratch root, its
desktop entry valid and its icon where the entry names it, and the binary
from that root opening its window under Xvfb and ending with status 0 on Esc.

usage: package_test.py BUILD_DIR
"""

import glob
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app"))
from xsession import XSession  # noqa: E402

BUILD_DIR = None


def run(*argv, **kwargs):
    return subprocess.run(argv, capture_output=True, text=True, **kwargs)


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory(prefix="zembrolt-package-")
        made = run("cpack", "--config", os.path.join(BUILD_DIR, "CPackConfig.cmake"),
                   "-B", cls.scratch.name)
        if made.returncode != 0:
            raise RuntimeError("cpack failed:\n" + made.stdout + made.stderr)
        debs = glob.glob(os.path.join(cls.scratch.name, "*.deb"))
        if len(debs) != 1:
            raise RuntimeError("expected one package, found %r" % debs)
        cls.deb = debs[0]
        cls.root = os.path.join(cls.scratch.name, "root")
        unpacked = run("dpkg-deb", "-x", cls.deb, cls.root)
        if unpacked.returncode != 0:
            raise RuntimeError("dpkg-deb -x failed: " + unpacked.stderr)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def test_lintian_finds_no_error(self):
        result = run("lintian", "--fail-on", "error", self.deb)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertNotIn("E: ", result.stdout)

    def test_depends_on_what_the_tool_needs_at_run_time(self):
        depends = run("dpkg-deb", "-f", self.deb, "Depends").stdout
        for package in ("libqt6widgets6", "libcurl4", "qt6-qpa-plugins", "fonts-noto-cjk",
                        "ca-certificates"):
            self.assertIn(package, depends)

    def test_desktop_entry_is_valid_and_its_icon_is_installed(self):
        entry = os.path.join(self.root, "usr/share/applications/zembrolt.desktop")
        result = run("desktop-file-validate", entry)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        with open(entry, encoding="utf-8") as f:
            lines = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        self.assertEqual(lines["Name"], "Zembrolt Morvessa")
        self.assertIn("Utility", lines["Categories"].split(";"))
        self.assertTrue(os.access(os.path.join(self.root, "usr/bin", lines["Exec"]), os.X_OK))
        icons = os.path.join(self.root, "usr/share/icons/hicolor")
        self.assertTrue(os.path.isfile(os.path.join(icons, "scalable/apps", lines["Icon"] + ".svg")))
        for size in (16, 32, 48, 64, 128, 256):
            png = os.path.join(icons, "%dx%d/apps" % (size, size), lines["Icon"] + ".png")
            self.assertTrue(os.path.isfile(png), png)
            with open(png, "rb") as f:
                header = f.read(24)
            self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
            self.assertEqual(int.from_bytes(header[16:20], "big"), size)

    def test_installed_binary_opens_its_window(self):
        with XSession(1024, 768) as x:
            tool = x.start([os.path.join(self.root, "usr/bin/zembrolt")])
            window = x.wait_for_window("Zembrolt Morvessa")
            x.key(window, "Escape")
            self.assertEqual(tool.wait(timeout=15), 0)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    BUILD_DIR = sys.argv[1]
    unittest.main(argv=sys.argv[:1], verbosity=2)
