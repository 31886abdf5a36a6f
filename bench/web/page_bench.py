#!/usr/bin/python3
"""Runs the frame benchmark page (a folder with index.html, bench.js, bench.wasm) in headless
Chromium, with the frame-rate limit lifted, and prints what the page reports.
  page_bench.py FOLDER [empty]   (empty: empty frames, the browser's ceiling)"""

import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "web", "tools"))
import headless  # noqa: E402
from selenium.common.exceptions import TimeoutException  # noqa: E402

UNCAPPED = ["--disable-frame-rate-limit", "--disable-gpu-vsync"]


def main():
    folder = sys.argv[1]
    with headless.served(folder) as url, headless.chromium(UNCAPPED) as driver:
        driver.get(url + ("?" + sys.argv[2] if len(sys.argv) > 2 else ""))
        deadline = time.time() + 300
        done = False
        while not done and time.time() < deadline:
            time.sleep(1)
            try:
                done = driver.execute_script("return window.benchDone === true;")
            except TimeoutException:  # the page is busy with a long frame
                pass
        lines = driver.execute_script("return lines;")
        print("\n".join(lines))
        if not done:
            print("page: did not finish within 300 s")
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
