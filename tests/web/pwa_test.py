#!/usr/bin/python3
"""The installable page in headless Chromium, each part in a fresh browser profile:

- offline: a first visit installs the service worker, which holds every file of the page, and
  the manifest parses, names icons that exist and makes the page installable in Chromium's own
  judgement; then the web server is stopped and the page, loaded again, still starts and a letter
  puts green pixels at the generator's spot. Last a new build is served: the old one keeps playing
  until its page is closed, then the new one takes over and the old cache is gone.
- scaled: at each browser window size of window_sizes.tsv the canvas keeps its 720 by 576 pixels
  and the 5:4 shape, fits the window beside the help line with sharp pixels, and a click reaches
  the program at the window pixel under the pointer (see check_clicks).

  pwa_test.py [--page DIR]

Prints one line per check and closes with "N passed, N failed"; exits 1 if any check failed."""

import argparse
import io
import json
import math
import os
import shutil
import signal
import sys
import tempfile
import time
import urllib.request
import xml.etree.ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "web"))

import browser_test  # noqa: E402
import headless  # noqa: E402
from PIL import Image  # noqa: E402
from selenium.common.exceptions import WebDriverException  # noqa: E402

WIDTH, HEIGHT = browser_test.WIDTH, browser_test.HEIGHT
TIME_LIMIT = 240  # seconds for the whole test
WORKER = "service-worker.js"


def page_files(folder):
    """Every file of the built page but the worker, as URLs relative to the page."""
    return sorted(os.path.relpath(os.path.join(parent, name), folder).replace(os.sep, "/")
                  for parent, _, names in os.walk(folder) for name in names
                  if os.path.join(parent, name) != os.path.join(folder, WORKER))


def started(driver, url):
    """Loads the page and waits until the program runs; None if it does not start."""
    try:
        page = browser_test.Page(driver, url)
    except WebDriverException:  # the address does not answer, or the browser shows its error page
        return None
    return page if page.wait_for("Module.calledRun === true && !!Module.ctx", 1) else None


def wait_for_worker(driver):
    """Waits until a service worker is active and controls the page."""
    return driver.execute_async_script("""
        var done = arguments[arguments.length - 1];
        navigator.serviceWorker.ready.then(function () {
          if (navigator.serviceWorker.controller) return done(true);
          navigator.serviceWorker.addEventListener("controllerchange", function () { done(true); });
        });""")


def cached(driver):
    """The service worker caches of the page's origin: {name: [relative URLs]}."""
    return dict(driver.execute_async_script("""
        var done = arguments[arguments.length - 1], base = new URL(".", location.href).href;
        caches.keys().then(function (names) {
          return Promise.all(names.map(function (name) {
            return caches.open(name).then(function (c) { return c.keys(); }).then(function (r) {
              return [name, r.map(function (q) { return q.url.slice(base.length); }).sort()];
            });
          }));
        }).then(done);"""))


def manifest_problems(folder):
    """What is wrong with the manifest in `folder` and the icons it names (empty: nothing)."""
    with open(os.path.join(folder, "manifest.webmanifest"), encoding="utf-8") as f:
        manifest = json.load(f)
    problems = [f"{key} is {manifest.get(key)!r}" for key, allowed in (
        ("name", ["Vorandel"]), ("display", ["fullscreen", "standalone"]),
        ("theme_color", ["#000000"]), ("background_color", ["#000000"]),
        ("start_url", ["./"]), ("scope", ["./"])) if manifest.get(key) not in allowed]
    largest = 0
    for icon in manifest.get("icons", []):
        path = os.path.join(folder, icon["src"])
        try:
            if icon["type"] == "image/svg+xml":
                if not xml.etree.ElementTree.parse(path).getroot().tag.endswith("svg"):
                    problems.append(f"{icon['src']} is not an SVG picture")
                continue
            with Image.open(path) as image:
                size = f"{image.width}x{image.height}"
                if image.format != "PNG" or size != icon["sizes"]:
                    problems.append(f"{icon['src']} is {image.format} {size}, not {icon['sizes']}")
                largest = max(largest, min(image.size))
        except (OSError, xml.etree.ElementTree.ParseError) as error:
            problems.append(f"{icon['src']}: {error}")
    if largest < 144:  # the smallest icon Chromium installs an app with
        problems.append(f"the largest PNG icon is {largest} pixels")
    return problems


def offline_fetches(driver, files):
    """Fetches `files` from within the page: [file, HTTP status or 0, Content-Type or error]."""
    return driver.execute_async_script("""
        var files = arguments[0], done = arguments[arguments.length - 1];
        Promise.all(files.map(function (f) {
          return fetch(f).then(
            function (r) { return [f, r.status, r.headers.get("Content-Type")]; },
            function (e) { return [f, 0, String(e)]; });
        })).then(done);""", files)


def network_gone(url):
    try:
        urllib.request.urlopen(url, timeout=5).close()
        return False
    except OSError:
        return True


def check_offline(page_dir, check):
    server = headless.Server(page_dir)
    url = server.url
    try:
        with headless.chromium() as driver:
            page = started(driver, url)
            check(page is not None and wait_for_worker(driver),
                  "a first visit starts the program and installs the service worker")
            files = page_files(page_dir)
            caches = cached(driver)
            check(len(caches) == 1 and list(caches.values())[0] == files,
                  f"the worker's cache holds every file of the page ({len(files)})", str(caches))

            problems = manifest_problems(page_dir)
            check(not problems, "the manifest parses and names icons that exist, at their sizes",
                  "; ".join(problems))
            shown = driver.execute_cdp_cmd("Page.getAppManifest", {})
            errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})
            check(shown["url"].endswith("/manifest.webmanifest") and not shown["errors"]
                  and not errors["installabilityErrors"],
                  "Chromium finds the manifest without errors and can install the page",
                  f"{shown['url']} {shown['errors']} {errors}")

            server.stop()
            check(network_gone(url), "the web server is stopped")
            page = started(driver, url)
            controlled = page is not None and driver.execute_script(
                "return !!navigator.serviceWorker.controller;")
            check(controlled, "loaded again without the server, the program starts")
            if not controlled:
                return
            fetched = offline_fetches(driver, files)
            wrong = [f for f in fetched if f[1] != 200
                     or (f[0].endswith(".wasm") and f[2] != "application/wasm")]
            check(not wrong, "every file of the page comes from the worker, the WebAssembly with "
                  "its own type (the browser compiles it as it arrives)", str(wrong))

            second, picture, taken, _ = browser_test.press_letter_in_one_second(page, "e")
            x, y = browser_test.spawn_spot(second)
            near = [picture.getpixel((min(max(x + dx, 0), WIDTH - 1),
                                      min(max(y + dy, 0), HEIGHT - 1)))
                    for dx in (-2, 0, 2) for dy in (-2, 0, 2)]
            check(all(browser_test.strongly_green(p) for p in near),
                  f"offline, letter e puts green pixels at the spot ({x}, {y}) of second {second}",
                  f"{near} after {taken:.2f} s")
            errors = [e["message"] for e in page.read_console() if e["level"] == "SEVERE"]
            check(not errors, "offline, no error on the console", "; ".join(errors))

            check_new_build(driver, page_dir, url, check)
    finally:
        server.stop()


def check_new_build(driver, page_dir, url, check):
    """Serves a changed copy of the page, stamped anew, at the same address."""
    with tempfile.TemporaryDirectory(prefix="vorandel-build-") as tmp:
        copy = os.path.join(tmp, "web")
        shutil.copytree(page_dir, copy)
        index = os.path.join(copy, "index.html")
        with open(index, encoding="utf-8") as f:
            html = f.read()
        with open(index, "w", encoding="utf-8") as f:
            f.write(html.replace("<title>Vorandel program", "<title>Vorandel program, rebuilt"))
        headless.subprocess.run([sys.executable, os.path.join(ROOT, "web", "stamp_worker.py"),
                                 copy], check=True, stdout=headless.subprocess.DEVNULL)
        server = headless.Server(copy, port=int(url.rsplit(":", 1)[1].strip("/")))
        try:
            old = started(driver, url)
            title = driver.title
            # The browser fetches the worker on every visit; the new one installs and waits.
            waiting = driver.execute_async_script("""
                var done = arguments[arguments.length - 1], tries = 0;
                (function poll() {
                  navigator.serviceWorker.getRegistration().then(function (r) {
                    if (r && r.waiting) return done(true);
                    if (++tries > 200) return done(false);
                    if (r && tries % 50 === 0) r.update();
                    setTimeout(poll, 50);
                  });
                })();""")
            check(old is not None and "rebuilt" not in title and waiting,
                  "with a new build served, the open page keeps its build while the new one waits",
                  f"{title!r}, waiting {waiting}")
            # Closing the page lets the new build take over; the next visit is the new page.
            for _ in range(3):
                driver.get("about:blank")
                time.sleep(0.3)
                new = started(driver, url)
                if new is not None and "rebuilt" in driver.title:
                    break
            names = list(cached(driver))
            with open(os.path.join(copy, WORKER), encoding="utf-8") as f:
                version = f.read().split('const VERSION = "', 1)[1].split('"', 1)[0]
            check(new is not None and "rebuilt" in driver.title and len(names) == 1
                  and names[0].endswith(" " + version),
                  "after the page is closed the new build starts and only its cache is left",
                  f"{driver.title!r}, caches {names}, new version {version}")
        finally:
            server.stop()


def window_sizes():
    with open(os.path.join(HERE, "window_sizes.tsv"), encoding="utf-8") as table:
        rows = [line.split("\t") for line in table if line.strip() and not line.startswith("#")]
    return [(int(row[0]), int(row[1])) for row in rows]


COUNT_DRAWS = """
    // Counts the vertices WebGL is asked to draw, whatever draws them.
    var gl = Module.ctx, arrays = gl.drawArrays, elements = gl.drawElements;
    window.drawnVertices = 0;
    gl.drawArrays = function (mode, first, count) {
      window.drawnVertices += count;
      return arrays.apply(gl, arguments);
    };
    gl.drawElements = function (mode, count, type, offset) {
      window.drawnVertices += count;
      return elements.apply(gl, arguments);
    };"""


def click_and_count(driver, x, y):
    """A left click at viewport point (x, y) through Chromium's input, then two frames; the
    vertices drawn meanwhile."""
    for kind in ("mousePressed", "mouseReleased"):
        driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})
    return driver.execute_async_script("""
        var done = arguments[arguments.length - 1];
        requestAnimationFrame(function () { requestAnimationFrame(function () {
          var n = window.drawnVertices; window.drawnVertices = 0; done(n);
        }); });""")


def check_clicks(driver, box):
    """Clicks at points of the canvas; returns the ones whose outcome is wrong, and the number of
    clicks.

    Every event draws one triangle and a left-button release one more before it shows the
    picture, unless the pointer is over the window's left column or top row (x or y 0): the only
    thing the program does with the pointer's position. So a click draws three triangles, or two
    over that column and row. The canvas's content box (on whole CSS pixels, so painted where it
    lies) shows the 720 by 576 window scaled; the pointer, a point in CSS pixels, is over the
    window pixel that the scaling puts there. Clicks at the first three points into the canvas
    from the left and from the top, at the last ones at the right and bottom, and in the middle
    tell that mapping from one that is not scaled, not from the picture's own corner, upside down
    or rounded to the nearest pixel."""
    left, top, width, height = box["left"], box["top"], box["width"], box["height"]

    def on_canvas(x, y):
        return driver.execute_script(
            "return document.elementFromPoint(arguments[0], arguments[1]) === Module.canvas;", x, y)

    def inward(start, extent, fixed, along_x, count):
        points = []
        first, last = math.floor(start), math.ceil(start + extent)
        for p in range(first, last) if count > 0 else range(last, first, -1):
            xy = (p, fixed) if along_x else (fixed, p)
            if on_canvas(*xy):
                points.append(xy)
                if len(points) == abs(count):
                    break
        return points

    mid_x, mid_y = math.floor(left + width / 2), math.floor(top + height / 2)
    points = ([(mid_x, mid_y)] + inward(left, width, mid_y, True, 3)
              + inward(top, height, mid_x, False, 3) + inward(left, width, mid_y, True, -1)
              + inward(top, height, mid_x, False, -1))
    driver.execute_script(COUNT_DRAWS)
    full = click_and_count(driver, mid_x, mid_y)
    wrong = [] if full > 0 and full % 3 == 0 else [f"a click in the middle drew {full} vertices"]
    for x, y in points:
        column = math.floor((x - left) * (WIDTH / width))
        row = math.floor((y - top) * (HEIGHT / height))
        expected = full * 2 // 3 if column == 0 or row == 0 else full
        drawn = click_and_count(driver, x, y)
        if drawn != expected:
            wrong.append(f"({x}, {y}) over window pixel ({column}, {row}): {drawn} vertices drawn,"
                         f" {expected} expected")
    return wrong, len(points)


def check_scaled(page_dir, check):
    with headless.served(page_dir) as url, headless.chromium() as driver:
        for w, h in window_sizes():
            driver.set_window_size(w, h)
            page = started(driver, url)
            if not check(page is not None, f"at {w}x{h} the program starts"):
                continue
            # Where the canvas paints its picture: its content box, inside any border and padding.
            box = driver.execute_script("""
                var c = Module.canvas, r = c.getBoundingClientRect(), s = getComputedStyle(c);
                var e = document.scrollingElement;
                var help = document.getElementById("help").getBoundingClientRect();
                var pad = ["Left", "Right", "Top", "Bottom"].map(function (side) {
                  return parseFloat(s["padding" + side]);
                });
                return {buffer: [c.width, c.height], left: r.left + c.clientLeft + pad[0],
                        top: r.top + c.clientTop + pad[2], width: c.clientWidth - pad[0] - pad[1],
                        height: c.clientHeight - pad[2] - pad[3], view: [innerWidth, innerHeight],
                        scroll: [e.scrollWidth, e.scrollHeight], help: [help.top, help.bottom]};""")
            view_w, view_h = box["view"]
            right, bottom = box["left"] + box["width"], box["top"] + box["height"]
            fits = (box["left"] >= 0 and box["top"] >= 0 and right <= view_w
                    and bottom <= box["help"][0] and box["help"][1] <= view_h
                    and box["scroll"] == box["view"])
            fills = box["width"] >= view_w - 5 or box["height"] >= box["help"][0] - 5
            whole = all(float(box[k]).is_integer() for k in ("left", "top", "width", "height"))
            check(box["buffer"] == [WIDTH, HEIGHT] and box["width"] * 4 == box["height"] * 5
                  and fits and fills and whole,
                  f"at {w}x{h} the canvas keeps 720x576 pixels, shows 5:4 on whole CSS pixels "
                  f"and fills the window above the help line ({box['width']}x{box['height']})",
                  str(box))

            wrong, clicks = check_clicks(driver, box)
            check(not wrong, f"at {w}x{h} {clicks} clicks reach the program at the window pixel "
                  "under the pointer", "; ".join(wrong))

            # A fresh pair is a few flat colours; a smoothed scaling would blend them at every
            # edge into hundreds more.
            page.type("e")
            time.sleep(0.2)
            shown = Image.open(io.BytesIO(page.canvas.screenshot_as_png)).convert("RGB")
            colours = shown.getcolors(1 << 24)
            check(len(colours) > 1 and len(colours) <= 16,
                  f"at {w}x{h} the pixels are scaled as blocks ({len(colours)} colours)")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--page", default=os.path.join(ROOT, "dist", "web"))
    args = parser.parse_args()

    def out_of_time(signum, frame):
        raise TimeoutError(f"the test took longer than {TIME_LIMIT} s")

    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(TIME_LIMIT)
    check = browser_test.Checks()
    for part in (check_offline, check_scaled):
        try:
            part(args.page, check)
        except Exception as error:  # a step that could not run counts as a failed check
            check(False, f"{part.__name__} ran to its end", f"{type(error).__name__}: {error}")
    signal.alarm(0)
    print(f"{check.passed} passed, {check.failed} failed")
    return 1 if check.failed else 0


if __name__ == "__main__":
    sys.exit(main())
