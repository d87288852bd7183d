#!/usr/bin/env python3
"""Makes the Windows zip: zembrolt.exe and every DLL of the toolchain that it
needs, found by following the import tables from the executable on; a DLL
found in none of the toolchain's folders is the system's and stays out.
The zip is reproducible: fixed member times, sorted members.

usage: windows_zip.py OBJDUMP EXE OUT_ZIP TOOLCHAIN_DLL_DIR...
"""

import os
import subprocess
import sys
import zipfile


def imports(objdump, path):
    """The DLL names in the import table of the PE file at `path`."""
    out = subprocess.run([objdump, "-p", path], capture_output=True, text=True, check=True).stdout
    return [line.split(":", 1)[1].strip() for line in out.splitlines()
            if line.strip().startswith("DLL Name:")]


def toolchain_dlls(objdump, exe, dirs):
    """The toolchain DLLs `exe` loads, directly or through each other."""
    found = {}
    pending = imports(objdump, exe)
    while pending:
        name = pending.pop()
        if name.lower() in found:
            continue
        for directory in dirs:
            candidate = os.path.join(directory, name)
            if os.path.isfile(candidate):
                found[name.lower()] = candidate
                pending.extend(imports(objdump, candidate))
                break
    return sorted(found.values(), key=lambda p: os.path.basename(p).lower())


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    objdump, exe, out = sys.argv[1:4]
    members = [exe] + toolchain_dlls(objdump, exe, sys.argv[4:])
    partial = out + ".partial"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as archive:
        for path in members:
            info = zipfile.ZipInfo(os.path.basename(path), date_time=(2026, 1, 1, 0, 0, 0))
            info.external_attr = 0o644 << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(info, f.read())
    os.replace(partial, out)


if __name__ == "__main__":
    main()
