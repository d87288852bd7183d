"""The stand-in ranking service as a child process of an end-to-end test,
on the port the tool was built to ask, with the requests it took on demand.

Used by window_xvfb_test.py and window_wine_test.py.
"""

import subprocess
import sys


class Standin:
    """tools/standin/ranking_standin.py at `script`, serving the
    certificates of `cert_dir` on `port`; close() stops it."""

    def __init__(self, script, cert_dir, port):
        self.process = subprocess.Popen(
            [sys.executable, script, "--port", str(port), "--cert-dir", cert_dir, "--control",
             "--max-seconds", "120"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        ready = self.process.stdout.readline()
        if not ready.startswith("ready "):
            raise RuntimeError("the stand-in did not start: " + ready)

    def requests(self):
        """Every request taken so far, as the bytes that came in."""
        self.process.stdin.write("requests\n")
        self.process.stdin.flush()
        count = int(self.process.stdout.readline().split()[1])
        return [bytes.fromhex(self.process.stdout.readline().split()[1]) for _ in range(count)]

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=15)
