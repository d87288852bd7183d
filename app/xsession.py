"""A real X server for end-to-end runs of the tool: Xvfb on a free display,
the tool started on it, its window found by title, keys sent, screenshots.

Used by window_xvfb_test.py; meant to be reused by later end-to-end tests.
"""

import os
import shutil
import subprocess
import tempfile
import time


class XSessionError(Exception):
    pass


def _wait_for(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = predicate()
        if result:
            return result
        time.sleep(0.1)
    raise XSessionError("timed out waiting for " + what)


class XSession:
    """Xvfb on a display of its own; use as a context manager."""

    def __init__(self, width=1024, height=768):
        self.width = width
        self.height = height
        self.display = None
        self._server = None
        self._processes = []
        self._runtime = None

    def __enter__(self):
        for tool in ("Xvfb", "xdotool", "import"):
            if shutil.which(tool) is None:
                raise XSessionError(tool + " is not installed (scripts/install-deps)")
        # A private runtime directory, as a desktop session would provide.
        self._runtime = tempfile.TemporaryDirectory(prefix="zembrolt-xdg-")
        os.chmod(self._runtime.name, 0o700)
        # Xvfb picks a free display itself and writes its number to the pipe.
        read_end, write_end = os.pipe()
        self._server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx24" % (self.width, self.height), "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.__exit__(None, None, None)
            raise XSessionError("Xvfb did not start")
        self.display = ":" + number
        return self

    def __exit__(self, *exc):
        for process in self._processes:
            if process.poll() is None:
                process.kill()
                process.wait()
            for stream in (process.stdout, process.stderr):
                if stream is not None:
                    stream.close()
        if self._server is not None and self._server.poll() is None:
            self._server.terminate()
            self._server.wait()
        if self._runtime is not None:
            self._runtime.cleanup()
        return False

    def env(self):
        """The environment of a program on this display, Qt on X11."""
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.pop("WAYLAND_DISPLAY", None)
        env["QT_QPA_PLATFORM"] = "xcb"
        env["XDG_RUNTIME_DIR"] = self._runtime.name
        return env

    def start(self, argv, extra_env=None):
        """Starts `argv` on this display, with `extra_env` added to its
        environment; its stdout and stderr are captured."""
        env = self.env()
        env.update(extra_env or {})
        process = subprocess.Popen(argv, env=env, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, text=True)
        self._processes.append(process)
        return process

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.env(), capture_output=True,
                                text=True)
        return result.stdout.strip() if result.returncode == 0 else None

    def wait_for_window(self, title, timeout=20):
        """The id of the visible window whose title is exactly `title`."""
        found = _wait_for(
            lambda: self.xdotool("search", "--onlyvisible", "--name", "^%s$" % title),
            timeout, "a window named " + title)
        return found.split()[0]

    def geometry(self, window):
        """(left, top, width, height) of `window` on the screen."""
        out = self.xdotool("getwindowgeometry", "--shell", window) or ""
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def key(self, window, *keys):
        """Sends `keys` (xdotool names: Escape, Tab, space) to `window`."""
        # Real key strokes (XTEST) into the focused window, as a user's keyboard
        # makes them; events sent to a window id fail once the window is gone.
        if self.xdotool("windowfocus", "--sync", window) is None:
            raise XSessionError("xdotool could not focus window " + window)
        if self.xdotool("key", "--clearmodifiers", *keys) is None:
            raise XSessionError("xdotool could not send " + " ".join(keys))

    def screenshot(self, window, path):
        """Writes a PNG of `window` to `path`."""
        directory = os.path.dirname(os.path.abspath(path))
        os.makedirs(directory, exist_ok=True)
        with tempfile.NamedTemporaryFile(suffix=".png", dir=directory, delete=False) as tmp:
            partial = tmp.name
        result = subprocess.run(["import", "-window", window, partial], env=self.env(),
                                capture_output=True, text=True)
        if result.returncode != 0:
            os.unlink(partial)
            raise XSessionError("import failed: " + result.stderr.strip())
        os.replace(partial, path)

    def screenshot_once_changed(self, window, before, after, region, timeout):
        """Takes screenshots of `window` into `after` until the pixels of
        `region` differ from those in the PNG `before`; then waits a moment
        for the rest of the window to paint and keeps one more picture."""
        def changed():
            self.screenshot(window, after)
            return crop(after, region) != crop(before, region)
        _wait_for(changed, timeout, "the window to change in " + region)
        time.sleep(0.5)
        self.screenshot(window, after)


def crop(path, geometry):
    """The raw pixels of `geometry` (WxH+X+Y) in the PNG at `path`."""
    return subprocess.run(["convert", path, "-crop", geometry, "+repage", "rgb:-"],
                          capture_output=True, check=True).stdout
