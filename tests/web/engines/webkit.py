"""WebKitGTK for the page's tests and benchmark: Debian's WebKitWebDriver (webkit2gtk-driver)
driven by Selenium (python3-selenium), with webkit_browser.py as its browser so that the page's
console output is seen. Needs an X display: without one the session start hangs, so it is given
a time limit. Every process started here is stopped by its process id when the session ends.

    with webkit.session(1000, 800) as page:
        page.open(url)
        page.press("e")

WebKitGTK has no touch input (its driver turns touch actions into mouse events): touch() is not
offered."""

import contextlib
import io
import os
import tempfile
import threading

from PIL import Image
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.remote.webdriver import WebDriver
from selenium.webdriver.webkitgtk.options import Options
from selenium.webdriver.webkitgtk.service import Service

import processes

HERE = os.path.dirname(os.path.abspath(__file__))
NAME = "WebKit"
DRIVER = "/usr/bin/WebKitWebDriver"
BROWSER = os.path.join(HERE, "webkit_browser.py")
SESSION_START_LIMIT = 60  # seconds
KEYS = {"Backspace": Keys.BACKSPACE, "Escape": Keys.ESCAPE, "Enter": Keys.ENTER}


class Page:
    """The one page of a WebKitGTK session, in the interface the page tests share with
    firefox.py."""

    def __init__(self, width, height, folder):
        self.console_path = os.path.join(folder, "console.txt")
        open(self.console_path, "w").close()
        options = Options()
        options.binary_location = BROWSER
        options.add_argument("--console=" + self.console_path)
        options.add_argument(f"--size={width}x{height}")
        # The driver matches the name the browser gives itself.
        options.set_capability("browserName", "vorandel-webkit-browser")
        self.service = Service(DRIVER, log_path=os.path.join(folder, "driver.log"))
        self.service.start()
        self.driver = None
        started = {}

        def start():
            try:
                started["driver"] = WebDriver(command_executor=self.service.service_url,
                                              options=options)
            except Exception as error:  # reported by the caller's thread
                started["error"] = error

        thread = threading.Thread(target=start, daemon=True)
        thread.start()
        thread.join(SESSION_START_LIMIT)
        timed_out = thread.is_alive()
        self.driver = started.get("driver")
        if self.driver is None or timed_out:
            self.close()  # stopping the driver ends a start that hangs
            thread.join(10)
            if timed_out:
                raise TimeoutError(
                    f"WebKitWebDriver started no session within {SESSION_START_LIMIT} s")
            raise started["error"]
        self.driver.set_page_load_timeout(60)
        self.driver.set_script_timeout(60)

    def close(self):
        pids = processes.tree(self.service.process.pid)
        try:
            if self.driver is not None:
                self.driver.quit()
        except Exception:  # the session may be gone already; its processes are stopped below
            pass
        finally:
            for pid in pids:
                processes.stop(pid)
            self.service.process.wait()
            if self.service.log_file:
                self.service.log_file.close()

    # What the tests use.
    def open(self, url):
        self.driver.get(url)

    def script(self, body, *args):
        """Runs `body`, an async JavaScript function body over `args`, in the page; its result."""
        result = self.driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            f"(async (args) => {{ {body} }})(Array.from(arguments).slice(0, -1))"
            ".then((value) => done({value}), (e) => done({error: String(e)}));", *args)
        if "error" in result:
            raise RuntimeError(f"the page's script failed: {result['error']}")
        return result.get("value")

    def resize(self, width, height):
        """Makes the viewport `width` by `height`: the window holds the page alone."""
        self.driver.set_window_size(width, height)

    def press(self, key):
        """Presses and releases a key: a character, "Backspace" or "Escape"."""
        ActionChains(self.driver).send_keys(KEYS.get(key, key)).perform()

    def click(self, x, y):
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(int(x), int(y)).click()
        actions.perform()

    def screenshot(self):
        """The viewport as an RGB image."""
        return Image.open(io.BytesIO(self.driver.get_screenshot_as_png())).convert("RGB")

    def console(self):
        """Every console line and page error so far, as (level, text): level "log", "warn",
        "error"... or "pageerror"."""
        with open(self.console_path, encoding="utf-8") as f:
            return [tuple(line.rstrip("\n").split(" ", 1)) for line in f if line.strip()]


@contextlib.contextmanager
def session(width, height):
    """A WebKitGTK browser with one page in a `width` by `height` window; yields its Page."""
    with tempfile.TemporaryDirectory(prefix="vorandel-webkit-") as folder:
        page = Page(width, height, folder)
        try:
            yield page
        finally:
            page.close()
