"""Firefox for the page's tests and benchmark: Debian's firefox-esr driven over WebDriver BiDi by
puppeteer-core (firefox_bridge.mjs, run by Node.js; `npm ci` in this folder installs it, and
scripts/test does so on first use). Needs an X display. Every process started here is stopped by
its process id when the session ends.

    with firefox.session(1000, 800) as page:
        page.open(url)
        page.press("e")"""

import base64
import contextlib
import io
import json
import os
import selectors
import subprocess

from PIL import Image

import processes

HERE = os.path.dirname(os.path.abspath(__file__))
NAME = "Firefox"


class Page:
    """The one page of a Firefox session, in the interface the page tests share with webkit.py."""

    def __init__(self, width, height, touch, prefs=None):
        if not os.path.isdir(os.path.join(HERE, "node_modules", "puppeteer-core")):
            raise RuntimeError(f"puppeteer-core is not installed: run npm ci in {HERE}")
        self.bridge = subprocess.Popen(["node", os.path.join(HERE, "firefox_bridge.mjs")],
                                       stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.browser_pid = None
        self.lines = []
        try:
            self.browser_pid = self.call("launch", 90, width=width, height=height, touch=touch,
                                         prefs=prefs or {})
            self.resize(width, height)  # the launch's default viewport is not applied
        except BaseException:
            self.close()
            raise

    def call(self, op, seconds=60, **request):
        """Sends one request to the bridge; its answer's value. Raises if the bridge reports an
        error or does not answer within `seconds`."""
        self.bridge.stdin.write(json.dumps({"op": op, **request}) + "\n")
        self.bridge.stdin.flush()
        with selectors.DefaultSelector() as selector:
            selector.register(self.bridge.stdout, selectors.EVENT_READ)
            if not selector.select(seconds):
                raise TimeoutError(f"Firefox did not answer {op} within {seconds} s")
        line = self.bridge.stdout.readline()
        if not line:
            raise RuntimeError(f"the Firefox bridge ended during {op}")
        answer = json.loads(line)
        if not answer["ok"]:
            raise RuntimeError(f"{op}: {answer['error']}")
        return answer["value"]

    def close(self):
        browsers = processes.tree(self.browser_pid) if self.browser_pid else []
        try:
            if self.bridge.poll() is None:
                self.call("close", 30)
                self.bridge.wait(10)
        except (OSError, RuntimeError, TimeoutError, ValueError, subprocess.TimeoutExpired):
            pass
        finally:
            for pid in browsers + [self.bridge.pid]:
                processes.stop(pid)
            self.bridge.wait()
            self.bridge.stdin.close()
            self.bridge.stdout.close()

    # What the tests use.
    def open(self, url):
        self.call("goto", 90, url=url)

    def script(self, body, *args):
        """Runs `body`, an async JavaScript function body over `args`, in the page; its result."""
        return self.call("evaluate", body=body, args=list(args))

    def resize(self, width, height):
        self.call("viewport", width=width, height=height)

    def press(self, key):
        """Presses and releases a key: a character, "Backspace" or "Escape"."""
        self.call("press", key=key)

    def touch(self, points):
        """Puts one finger on each (x, y) of `points` at once, then lifts them all."""
        self.call("touch", points=[list(p) for p in points])

    def click(self, x, y):
        self.call("click", x=x, y=y)

    def screenshot(self):
        """The viewport as an RGB image."""
        data = base64.b64decode(self.call("screenshot"))
        return Image.open(io.BytesIO(data)).convert("RGB")

    def console(self):
        """Every console line and page error so far, as (level, text): level "log", "warn",
        "error"... or "pageerror"."""
        self.lines += [(m["level"], m["text"]) for m in self.call("console")]
        return self.lines


@contextlib.contextmanager
def session(width, height, touch=True, prefs=None):
    """A Firefox with one page of a `width` by `height` viewport, touch events on unless `touch`
    is false, and the preferences `prefs` ({name: value}) set; yields its Page."""
    page = Page(width, height, touch, prefs)
    try:
        yield page
    finally:
        page.close()
