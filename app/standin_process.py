"""The stand-in ranking service as a child process of an end-to-end test,
on the port the tool was built to ask, with the requests it took on demand.

Used by window_xvfb_test.py and window_wine_test.py.
"""

import subprocess
import sys
import time

# The tool's port is fixed at build time, so another run of the stand-in on
# it (a demo, or the other build's end-to-end test just ending) has to be
# waited out rather than avoided.
PORT_WAIT_SECONDS = 30


AGENT = b"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"


def select_request(netloc, hero, platform):
    """The one request the tool sends for `hero` (escaped) on `platform`."""
    return (b"GET /hero/select.php?hero=" + hero + b"&type=" + platform + b" HTTP/1.0\r\n"
            b"Host: " + netloc.encode() + b"\r\n"
            b"User-Agent: " + AGENT + b"\r\n"
            b"Accept: */*\r\n\r\n")


class Standin:
    """tools/standin/ranking_standin.py at `script`, serving the
    certificates of `cert_dir` on `port`; close() stops it."""

    def __init__(self, script, cert_dir, port):
        deadline = time.monotonic() + PORT_WAIT_SECONDS
        while True:
            self.process = subprocess.Popen(
                [sys.executable, script, "--port", str(port), "--cert-dir", cert_dir,
                 "--control", "--max-seconds", "120"],
                stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
            ready = self.process.stdout.readline()
            if ready.startswith("ready "):
                return
            self.process.stdin.close()
            self.process.wait(timeout=15)
            if "Address already in use" not in ready or time.monotonic() > deadline:
                raise RuntimeError("the stand-in did not start on port %d: %s" % (port, ready))
            time.sleep(0.5)

    def requests(self):
        """Every request taken so far, as the bytes that came in."""
        self.process.stdin.write("requests\n")
        self.process.stdin.flush()
        count = int(self.process.stdout.readline().split()[1])
        return [bytes.fromhex(self.process.stdout.readline().split()[1]) for _ in range(count)]

    def close(self):
        self.process.stdin.close()
        self.process.wait(timeout=15)
