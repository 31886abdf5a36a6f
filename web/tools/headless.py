"""Headless Chromium for the page's test and benchmark: serves a folder with serve.py and drives
Chromium through chromedriver (Debian's python3-selenium, chromium, chromium-driver). Every
process started here is stopped by its process id when the session ends."""

import contextlib
import os
import signal
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

HERE = os.path.dirname(os.path.abspath(__file__))

# As root Chromium needs --no-sandbox; the background services would try to reach the network,
# which this machine refuses. WebGL runs on SwiftShader.
CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox", "--use-gl=angle", "--use-angle=swiftshader",
    "--enable-unsafe-swiftshader", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--no-first-run", "--disable-quic",
    "--window-size=1000,900",
]


def _children(pid):
    """The ids of the processes whose parent is `pid`."""
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    # The command name (2nd field) may hold spaces; the parent follows it.
                    if int(stat.read().rsplit(")", 1)[1].split()[1]) == pid:
                        found.append(int(entry))
            except (OSError, IndexError, ValueError):
                pass
    return found


def _stop(pid):
    """Stops a process by its id: politely, then for good."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.kill(pid, sig)
        except ProcessLookupError:
            return
        for _ in range(40):
            try:
                os.kill(pid, 0)
            except ProcessLookupError:
                return
            time.sleep(0.05)


class Server:
    """serve.py serving `folder` on 127.0.0.1, at a free port or at `port`; `url` is the page's
    address. stop() ends it, so that a test can take the network away from a page."""

    def __init__(self, folder, port=0):
        self.process = subprocess.Popen(
            [sys.executable, os.path.join(HERE, "serve.py"), "--port", str(port), folder],
            stdout=subprocess.PIPE, text=True)
        self.url = self.process.stdout.readline().strip()
        if not self.url.startswith("http://127.0.0.1:"):
            self.stop()
            raise RuntimeError("the web server did not start")

    def stop(self):
        _stop(self.process.pid)
        self.process.wait()
        self.process.stdout.close()


@contextlib.contextmanager
def served(folder):
    """Serves `folder` on 127.0.0.1 at a free port; yields the page's address."""
    server = Server(folder)
    try:
        yield server.url
    finally:
        server.stop()


@contextlib.contextmanager
def chromium(extra_flags=()):
    """A headless Chromium with a fresh profile, its console kept for get_log("browser")."""
    with tempfile.TemporaryDirectory(prefix="vorandel-chromium-") as profile:
        options = Options()
        options.binary_location = "/usr/bin/chromium"
        for flag in CHROMIUM_FLAGS + list(extra_flags) + ["--user-data-dir=" + profile]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        service = Service("/usr/bin/chromedriver")
        driver = webdriver.Chrome(service=service, options=options)
        driver_pid = service.process.pid
        browsers = _children(driver_pid)  # Chromium, started by chromedriver
        try:
            driver.set_page_load_timeout(60)
            driver.set_script_timeout(60)
            yield driver
        finally:
            try:
                driver.quit()
            finally:
                for pid in browsers + [driver_pid]:
                    _stop(pid)
