#!/usr/bin/env python3
"""The Windows zip holds zembrolt.exe and exactly the DLLs it needs beyond the
system's: every DLL that a member imports is either in the zip or one that
Windows itself provides (as the Wine prefix's system folder shows), and
every DLL in the zip is imported by some member.

usage: windows_zip_test.py OBJDUMP ZIP WINEPREFIX
"""

import os
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from windows_zip import imports  # noqa: E402

OBJDUMP = ZIP = WINEPREFIX = None


class WindowsZip(unittest.TestCase):
    def test_holds_the_program_and_exactly_the_dlls_it_needs(self):
        system = {name.lower() for name in
                  os.listdir(os.path.join(WINEPREFIX, "drive_c", "windows", "system32"))}
        with tempfile.TemporaryDirectory() as scratch:
            with zipfile.ZipFile(ZIP) as archive:
                names = archive.namelist()
                archive.extractall(scratch)
            self.assertIn("zembrolt.exe", names)
            self.assertEqual(len(names), len(set(n.lower() for n in names)))
            in_zip = {n.lower() for n in names}
            needed = set()
            for name in names:
                for dll in imports(OBJDUMP, os.path.join(scratch, name)):
                    needed.add(dll.lower())
                    self.assertTrue(dll.lower() in in_zip or dll.lower() in system,
                                    "%s needs %s, which is neither in the zip nor Windows'"
                                    % (name, dll))
            for name in in_zip - {"zembrolt.exe"}:
                self.assertIn(name, needed, name + " is in the zip but nothing loads it")
            self.assertIn("wininet.dll", needed)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    OBJDUMP, ZIP, WINEPREFIX = sys.argv[1:]
    unittest.main(argv=sys.argv[:1], verbosity=2)
