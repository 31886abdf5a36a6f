#!/usr/bin/python3
"""The installable page in headless Chromium, each part in a fresh browser profile:

- offline: a first visit installs the service worker, which holds every file of the page, and
  the manifest names icons that exist and makes the page installable in Chromium's judgement;
  then the web server is stopped and the page, loaded again, starts and a letter puts green
  pixels at the generator's spot. Last a new build is served: the open page keeps its build until
  it is closed, then the new one starts and the old cache is gone.
- scaled: at each browser window size of window_sizes.tsv the canvas keeps its 720 by 576 pixels
  and 5:4, fills the window above the bar of the help line with pixels scaled as blocks, and a
  click reaches the program at the window pixel under the pointer (see check_clicks).

  pwa_test.py [--page DIR]

Prints one line per check and closes with "N passed, N failed"; exits 1 if any check failed."""

import argparse
import io
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "web", "tools"))

import browser_test  # noqa: E402
from checks import run_checks  # noqa: E402
import headless  # noqa: E402
from PIL import Image  # noqa: E402
from selenium.common.exceptions import WebDriverException  # noqa: E402

WIDTH, HEIGHT = browser_test.WIDTH, browser_test.HEIGHT
TIME_LIMIT = 240  # seconds for the whole test
WORKER = "service-worker.js"


def in_page(driver, body, *args):
    """Runs `body`, an async JavaScript function body over `args`, in the page; its result."""
    return driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        f"(async (args) => {{ {body} }})(Array.from(arguments).slice(0, -1))"
        ".then(done, (e) => done('error: ' + e));", *args)


CACHED = """const base = new URL(".", location.href).href, found = {};
    for (const name of await caches.keys()) {
      const requests = await (await caches.open(name)).keys();
      found[name] = requests.map((r) => r.url.slice(base.length)).sort();
    }
    return found;"""


def started(driver, url):
    """Loads the page and waits until the program runs; None if it does not start."""
    try:
        page = browser_test.Page(driver, url)
    except WebDriverException:  # the address does not answer, or the browser shows its error page
        return None
    return page if page.wait_for("Module.calledRun === true && !!Module.ctx", 1) else None


def manifest_problems(folder):
    """What is wrong with the manifest in `folder` and the icons it names (empty: nothing)."""
    with open(os.path.join(folder, "manifest.webmanifest"), encoding="utf-8") as f:
        manifest = json.load(f)
    expected = {"name": "Vorandel", "theme_color": "#000000", "background_color": "#000000",
                "start_url": "./", "scope": "./"}
    problems = [f"{key} is {manifest.get(key)!r}" for key, value in expected.items()
                if manifest.get(key) != value]
    if manifest.get("display") not in ("fullscreen", "standalone"):
        problems.append(f"display is {manifest.get('display')!r}")
    for icon in manifest.get("icons", []):
        path = os.path.join(folder, icon["src"])
        if icon.get("type") == "image/svg+xml":  # a picture at any size
            if not os.path.isfile(path):
                problems.append(f"{icon['src']} is missing")
            continue
        try:
            with Image.open(path) as image:
                size = f"{image.width}x{image.height}"
                if image.format != "PNG" or size != icon["sizes"]:
                    problems.append(f"{icon['src']} is {image.format} {size}, not {icon['sizes']}")
        except OSError as error:
            problems.append(f"{icon['src']}: {error}")
    return problems


def check_offline(page_dir, check):
    server = headless.Server(page_dir)
    url = server.url
    try:
        with headless.chromium() as driver:
            page = started(driver, url)
            check(page is not None and in_page(driver, """
                    await navigator.serviceWorker.ready;
                    if (!navigator.serviceWorker.controller) await new Promise((ok) =>
                        navigator.serviceWorker.addEventListener("controllerchange", ok));
                    return true;"""),
                  "a first visit starts the program and installs the service worker")
            files = sorted(os.path.relpath(os.path.join(parent, name), page_dir)
                           for parent, _, names in os.walk(page_dir) for name in names)
            files.remove(WORKER)
            caches = in_page(driver, CACHED)
            check(list(caches.values()) == [files],
                  f"the worker's cache holds every file of the page ({len(files)})", str(caches))
            problems = manifest_problems(page_dir)
            check(not problems, "the manifest names icons that exist, at the sizes it gives",
                  "; ".join(problems))
            shown = driver.execute_cdp_cmd("Page.getAppManifest", {})
            errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})
            check(shown["url"].endswith("/manifest.webmanifest") and not shown["errors"]
                  and not errors["installabilityErrors"],
                  "Chromium reads the manifest without errors and can install the page",
                  f"{shown['url']} {shown['errors']} {errors}")

            server.stop()
            try:
                urllib.request.urlopen(url, timeout=5).close()
                check(False, "the web server is stopped")
            except OSError:
                pass
            page = started(driver, url)
            if not check(page is not None, "loaded again without the server, the program starts"):
                return
            fetched = in_page(driver, """return Promise.all(args[0].map((f) => fetch(f).then(
                (r) => [f, r.status, r.headers.get("Content-Type")],
                (e) => [f, 0, String(e)])));""", files)
            wrong = [f for f in fetched if f[1] != 200 or f[0].endswith(".wasm")
                     and f[2] != "application/wasm"]
            check(not wrong, "every file comes from the worker, the WebAssembly with its type (the "
                  "browser compiles it while it arrives)", str(wrong))
            second, picture, taken, _ = browser_test.press_letter_in_one_second(page, "e")
            x, y = browser_test.spawn_spot(second)
            near = browser_test.around(picture, x, y)
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
        with open(os.path.join(copy, "index.html"), "r+", encoding="utf-8") as f:
            html = f.read().replace("<title>Vorandel program", "<title>Vorandel program, rebuilt")
            f.seek(0)
            f.write(html)
        subprocess.run([sys.executable, os.path.join(ROOT, "web", "tools", "stamp_worker.py"),
                        copy],
                       check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(copy, WORKER), encoding="utf-8") as f:
            version = f.read().split('const VERSION = "', 1)[1].split('"', 1)[0]
        server = headless.Server(copy, port=int(url.rstrip("/").rsplit(":", 1)[1]))
        try:
            old = started(driver, url)
            title = driver.title
            waiting = old is not None and in_page(driver, """
                const registration = await navigator.serviceWorker.getRegistration();
                await registration.update();
                for (let i = 0; i < 200 && !registration.waiting; i++) {
                  await new Promise((ok) => setTimeout(ok, 50));
                }
                return !!registration.waiting;""")
            check("rebuilt" not in title and waiting,
                  "with a new build served, the open page keeps its build while the new one waits",
                  f"{title!r}, waiting {waiting}")
            # Closing the page lets the new build take over; the next visit is the new page.
            for _ in range(3):
                driver.get("about:blank")
                time.sleep(0.3)
                new = started(driver, url)
                if new is not None and "rebuilt" in driver.title:
                    break
            names = list(in_page(driver, CACHED)) if new is not None else []
            check("rebuilt" in driver.title and [n.rsplit(" ", 1)[1] for n in names] == [version],
                  "after the page is closed the new build starts and only its cache is left",
                  f"{driver.title!r}, caches {names}, new version {version}")
        finally:
            server.stop()


COUNT_DRAWS = """
    // Counts the vertices WebGL is asked to draw, whatever draws them.
    const gl = Module.ctx, arrays = gl.drawArrays, elements = gl.drawElements;
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
    return in_page(driver, """
        for (let i = 0; i < 2; i++) await new Promise((ok) => requestAnimationFrame(ok));
        const n = window.drawnVertices;
        window.drawnVertices = 0;
        return n;""")


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
    mid_x, mid_y = left + width // 2, top + height // 2
    points = ([(left + i, mid_y) for i in (0, 1, 2, width - 1)]
              + [(mid_x, top + i) for i in (0, 1, 2, height - 1)])
    driver.execute_script(COUNT_DRAWS)
    full = click_and_count(driver, mid_x, mid_y)
    wrong = [] if full > 0 and full % 3 == 0 else [f"a click in the middle drew {full} vertices"]
    for x, y in points:
        column, row = int((x - left) * (WIDTH / width)), int((y - top) * (HEIGHT / height))
        expected = full * 2 // 3 if column == 0 or row == 0 else full
        drawn = click_and_count(driver, x, y)
        if drawn != expected:
            wrong.append(f"({x}, {y}) over window pixel ({column}, {row}): {drawn} vertices drawn,"
                         f" {expected} expected")
    return wrong, 1 + len(points)


def check_scaled(page_dir, check):
    with open(os.path.join(HERE, "window_sizes.tsv"), encoding="utf-8") as table:
        sizes = [[int(n) for n in line.split("\t")[:2]] for line in table if line[0].isdigit()]
    with headless.served(page_dir) as url, headless.chromium() as driver:
        for w, h in sizes:
            driver.set_window_size(w, h)
            page = started(driver, url)
            if not check(page is not None, f"at {w}x{h} the program starts"):
                continue
            # Where the canvas paints its picture: its content box, inside any border and padding.
            box = driver.execute_script("""
                const c = Module.canvas, r = c.getBoundingClientRect(), s = getComputedStyle(c);
                const pad = (side) => parseFloat(s["padding" + side]);
                const e = document.scrollingElement;
                return {buffer: [c.width, c.height], left: r.left + c.clientLeft + pad("Left"),
                        top: r.top + c.clientTop + pad("Top"),
                        width: c.clientWidth - pad("Left") - pad("Right"),
                        height: c.clientHeight - pad("Top") - pad("Bottom"),
                        view: [innerWidth, innerHeight], scroll: [e.scrollWidth, e.scrollHeight],
                        help: document.getElementById("bar").getBoundingClientRect().top};""")
            edges = [box["left"], box["top"], box["width"], box["height"]]
            fits = (min(edges) >= 0 and box["left"] + box["width"] <= box["view"][0]
                    and box["top"] + box["height"] <= box["help"] and box["scroll"] == box["view"])
            fills = box["width"] >= box["view"][0] - 5 or box["height"] >= box["help"] - 5
            check(box["buffer"] == [WIDTH, HEIGHT] and box["width"] * 4 == box["height"] * 5
                  and fits and fills and all(float(v).is_integer() for v in edges),
                  f"at {w}x{h} the canvas keeps 720x576 pixels, shows 5:4 on whole CSS pixels "
                  f"and fills the window above the help line's bar "
                  f"({box['width']}x{box['height']})",
                  str(box))
            wrong, clicks = check_clicks(driver, {k: int(box[k]) for k in
                                                  ("left", "top", "width", "height")})
            check(not wrong, f"at {w}x{h} {clicks} clicks reach the program at the window pixel "
                  "under the pointer", "; ".join(wrong))
            # A fresh pair is a few flat colours; a smoothed scaling would blend them at every
            # edge into hundreds more.
            page.type("e")
            time.sleep(0.2)
            colours = Image.open(io.BytesIO(page.canvas.screenshot_as_png)).getcolors(1 << 24)
            check(1 < len(colours) <= 16,
                  f"at {w}x{h} the pixels are scaled as blocks ({len(colours)} colours)")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--page", default=os.path.join(ROOT, "dist", "web"))
    args = parser.parse_args()
    return run_checks(TIME_LIMIT, [(part.__name__, lambda check, part=part: part(args.page, check))
                                   for part in (check_offline, check_scaled)])


if __name__ == "__main__":
    sys.exit(main())
