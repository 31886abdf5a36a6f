#!/usr/bin/python3
"""The page on touch screens, in headless Chromium with touch emulation (DevTools protocol):

- layout: at every screen of screens.tsv, the checks of layout.js (keys of 48 by 48 pixels or
  more, nothing overlapping, the canvas 5:4 on whole pixels, nothing scrolling, the keys in the
  safe area), the canvas taking the room the table says, and the keyboard shown on touch screens
  and, on the desktop, hidden until its button is pressed. Prints the sizes measured.
- fingers, on a phone: a tap on B puts green pixels at the generator's spot with two console
  lines and no mouse event; Backspace clears; three fingers on three keys at once give six lines;
  a key held two seconds repeats as designed; a tap on the canvas is a left press and release at
  the point under the finger, and a second finger on the canvas adds nothing.

  touch_test.py [--page DIR] [--shots DIR]   (DIR receives phone-portrait.png and
                                               phone-landscape.png: the page with figures)

Prints one line per check and closes with "N passed, N failed"; exits 1 if any check failed."""

import argparse
import json
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "web", "tools"))

import browser_test  # noqa: E402
from checks import run_checks  # noqa: E402
import headless  # noqa: E402
from pwa_test import COUNT_DRAWS  # noqa: E402

TIME_LIMIT = 85  # seconds for the whole test
# Headless Chromium reports no pointer at all unless told it has a mouse; touch emulation then
# makes the main pointer coarse.
POINTERS = ["--blink-settings=primaryPointerType=4,availablePointerTypes=4,"
            "primaryHoverType=2,availableHoverTypes=2"]
# The repeat of a held key, as designed: the first after half a second, then 30 a second. Timers
# run late on a busy machine and a late repeat is not made up for, so the count is judged against
# a held key's usual range, 25 to 30 a second.
REPEAT_DELAY, REPEAT_RATE, SLOWEST_RATE = 0.5, 30.0, 25.0
with open(os.path.join(HERE, "layout.js"), encoding="utf-8") as f:
    LAYOUT_JS = f.read()

# Counts the mouse presses and releases that reach the window, where the browser's GLUT listens.
COUNT_MICE = """
    window.miceSeen = 0;
    for (const type of ["mousedown", "mouseup"]) {
      window.addEventListener(type, () => { window.miceSeen++; }, true);
    }"""


def screens():
    with open(os.path.join(HERE, "screens.tsv"), encoding="utf-8") as table:
        rows = [line.rstrip("\n").split("\t") for line in table if line[0].isdigit()]
    return [(int(w), int(h), pointer == "touch", fills) for w, h, pointer, fills, _ in rows]


def open_page(driver, url, width, height, touch):
    """The page on a screen of width by height CSS pixels, with touch or a mouse."""
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": width, "height": height, "deviceScaleFactor": 1, "mobile": touch})
    driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {
        "enabled": touch, "maxTouchPoints": 5})
    # The browser's GLUT looks for touch events when it starts: the page is loaded afresh. The
    # first document after touch is turned on still sees a fine pointer: then once more.
    page = browser_test.Page(driver, url)
    if touch and not driver.execute_script("return matchMedia('(pointer: coarse)').matches"):
        page = browser_test.Page(driver, url)
    page.touch = touch
    return page


def layout(driver):
    return driver.execute_script(LAYOUT_JS + "; return [layoutProblems(), layoutReport()];")


def centre(box):
    return box["left"] + box["width"] / 2, box["top"] + box["height"] / 2


def fingers(driver, kind, points):
    """One touch event: points are (id, x, y), the fingers on the screen after it (touchEnd and
    touchCancel: those still down)."""
    driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
        "type": kind, "touchPoints": [{"x": x, "y": y, "id": i} for i, x, y in points]})


def tap(driver, x, y):
    fingers(driver, "touchStart", [(1, x, y)])
    fingers(driver, "touchEnd", [])


def key_centres(driver):
    report = layout(driver)[1]
    return {key["name"]: centre(key) for key in report["keys"]}


def describe(width, height, report):
    keys = report["keys"]
    sizes = sorted({(round(k["width"]), round(k["height"])) for k in keys})
    canvas = report["canvas"]
    return (f"{width}x{height}: canvas {canvas['width']:.0f}x{canvas['height']:.0f}, "
            f"{len(keys)} keys of {' '.join(f'{w}x{h}' for w, h in sizes) or '-'}")


def fills_as_designed(report, fills):
    """Whether the canvas takes the whole of the screen's width or height (less the controls in
    its column), to within the rounding to a width that is a multiple of 5."""
    canvas, view = report["canvas"], report["viewport"]
    if fills == "width":
        return canvas["width"] > view["width"] - 5
    if fills == "height":
        column = [c for c in report["controls"] if c["left"] < canvas["left"] + canvas["width"]
                  and c["left"] + c["width"] > canvas["left"]]
        return canvas["height"] + sum(c["height"] for c in column) > view["height"] - 4
    return True


def click(driver, element):
    rect = element.rect
    x, y = rect["x"] + rect["width"] / 2, rect["y"] + rect["height"] / 2
    for kind in ("mousePressed", "mouseReleased"):
        driver.execute_cdp_cmd("Input.dispatchMouseEvent", {
            "type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})


def check_desktop(driver, page, where, check):
    """With a mouse: the "Keyboard" button shows the keys, a click on a key is that key alone,
    and "Full screen" makes the page full screen and goes away."""
    driver.execute_script(COUNT_MICE)
    button = driver.find_element("id", "show-keyboard")
    click(driver, button)
    check(layout(driver)[1]["keyboardShown"] and not button.is_displayed()
          and page.wait_for("document.activeElement === Module.canvas", 1),
          f"{where} its button shows the keyboard and leaves the keys to the program")
    lines = page.empty_lines()
    click(driver, driver.find_element("css selector", "[aria-label='Letter A']"))
    time.sleep(0.2)
    added, mice = page.empty_lines() - lines, driver.execute_script("return window.miceSeen;")
    check(added == 2 and mice == 0, f"{where} a click on a key writes two lines and no mouse "
          "event reaches the program", f"{added} lines, {mice} mouse events")
    full = driver.find_element("id", "fullscreen")
    shown = full.is_displayed()
    click(driver, full)
    entered = page.wait_for("!!document.fullscreenElement", 2)
    gone = page.wait_for("document.getElementById('fullscreen').hidden", 2)
    check(shown and entered and gone and not full.is_displayed(),
          f"{where} the full-screen button makes the page full screen and goes away",
          f"shown before: {shown}, full screen: {entered}, hidden: {gone}")
    driver.execute_script("document.exitFullscreen();")
    page.wait_for("!document.fullscreenElement && !document.getElementById('fullscreen').hidden", 2)


def check_screens(driver, url, check):
    for width, height, touch, fills in screens():
        page = open_page(driver, url, width, height, touch)
        problems, report = layout(driver)
        where = f"at {width}x{height}"
        check(report["keyboardShown"] == touch,
              f"{where} the keyboard is {'shown' if touch else 'hidden'}")
        if not touch:
            check(not problems, f"{where} the layout is sound", "; ".join(problems))
            check_desktop(driver, page, where, check)
            problems, report = layout(driver)
        check(len(report["keys"]) == 27 and not problems,
              f"{where} 27 keys and a sound layout", "; ".join(problems))
        check(fills_as_designed(report, fills), f"{where} the canvas takes the room ({fills})",
              json.dumps(report["canvas"]))
        print("     " + describe(width, height, report))


def buffer_pixels(driver, points):
    """The drawing buffer's pixels at `points` right after the program's next frame."""
    driver.execute_script(browser_test.AFTER_FRAME)
    return driver.execute_async_script(
        "afterFrame(arguments[0], arguments[arguments.length - 1]);", points)


def square_pixels(x, y):
    """Points inside the square of letter b, whose lower left corner is the spot (x, y)."""
    right = browser_test.WIDTH - 1
    return [[min(x + dx, right), max(y - dy, 0)] for dx in (3, 10, 30) for dy in (3, 10, 30)]


def tap_in_one_second(driver, x, y):
    """A tap early in a second of the clock; that second, or None if the second changed."""
    while time.time() % 1.0 > 0.3:
        time.sleep(0.02)
    before = time.time()
    tap(driver, x, y)
    return int(before) if int(time.time()) == int(before) else None


def check_fingers(driver, url, check):
    page = open_page(driver, url, 390, 844, True)
    driver.execute_script(COUNT_DRAWS + COUNT_MICE + browser_test.AFTER_FRAME)
    canvas = layout(driver)[1]["canvas"]
    keys = key_centres(driver)

    # The canvas: each event draws a triangle, a left release one more unless over the window's
    # left column or top row. A tap in the middle draws three; one over the left column two.
    def drawn_by(action):
        driver.execute_script("window.drawnVertices = 0; window.miceSeen = 0;")
        action()
        time.sleep(0.15)
        return driver.execute_script("return [window.drawnVertices, window.miceSeen];")
    mid_x, mid_y = centre(canvas)
    full = drawn_by(lambda: tap(driver, mid_x, mid_y))
    edge = drawn_by(lambda: tap(driver, canvas["left"], mid_y))
    check(full[0] > 0 and full[0] == 3 * edge[0] // 2 and full[1] == 2,
          "a tap on the canvas is a press and release at the point (left column: two triangles)",
          f"vertices {full[0]} in the middle, {edge[0]} at the left; mouse events {full[1]}")

    def two_fingers():
        fingers(driver, "touchStart", [(1, mid_x, mid_y)])
        fingers(driver, "touchStart", [(1, mid_x, mid_y), (2, mid_x - 40, mid_y - 40)])
        fingers(driver, "touchEnd", [(1, mid_x, mid_y)])
        fingers(driver, "touchEnd", [])
    both = drawn_by(two_fingers)
    check(both == full, "a second finger on the canvas adds nothing", f"{both} against {full}")

    # Keys: a tap on B.
    lines = page.empty_lines()
    driver.execute_script("window.miceSeen = 0;")
    second = None
    for _ in range(3):
        second = tap_in_one_second(driver, *keys["Letter B"])
        if second is not None:
            break
        tap(driver, *keys["Backspace"])
    x, y = browser_test.spawn_spot(second or 0)
    inside = buffer_pixels(driver, square_pixels(x, y))
    time.sleep(0.2)
    added = page.empty_lines() - lines
    mice = driver.execute_script("return window.miceSeen;")
    check(second is not None and all(browser_test.strongly_green(p) for p in inside),
          f"a tap on B puts green pixels at the spot ({x}, {y}) of second {second}", str(inside))
    check(added == 2 and mice == 0,
          "it writes two console lines and no mouse event reaches the page",
          f"{added} lines, {mice} mouse events")
    tap(driver, *keys["Backspace"])
    time.sleep(0.2)
    cleared = buffer_pixels(driver, square_pixels(x, y))
    check(all(not browser_test.lit(p) for p in cleared), "Backspace clears it", str(cleared))

    # Three fingers on three keys at once.
    lines = page.empty_lines()
    three = [(i, *keys[name]) for i, name in enumerate(("Letter C", "Letter V", "Letter Z"))]
    fingers(driver, "touchStart", three)
    fingers(driver, "touchEnd", [])
    time.sleep(0.3)
    added = page.empty_lines() - lines
    check(added == 6, "three fingers on three keys at once give six lines", str(added))

    # A key held for two seconds: a press, and repeats after the delay at the designed rate.
    lines = page.empty_lines()
    fingers(driver, "touchStart", [(7, *keys["Letter O"])])
    start = time.time()
    pressed = driver.execute_script(
        "return document.querySelector('[aria-label=\"Letter O\"]').classList.contains('pressed')")
    time.sleep(2.0 - (time.time() - start))
    fingers(driver, "touchEnd", [])
    held = time.time() - start
    time.sleep(0.3)
    presses = (page.empty_lines() - lines) / 2
    designed = 1 + 1 + int((held - REPEAT_DELAY) * REPEAT_RATE)
    slowest = 1 + 1 + int((held - REPEAT_DELAY) * SLOWEST_RATE)
    check(pressed and slowest - 2 <= presses <= designed + 2,
          f"a key held {held:.2f} s shows it is pressed and makes {designed} presses"
          f" (at least {slowest - 2}, at most {designed + 2})",
          f"{presses} presses, pressed shown: {pressed}")

    # A finger that slides off its key lets it go: no repeat after it has left.
    lines = page.empty_lines()
    x, y = keys["Letter O"]
    fingers(driver, "touchStart", [(8, x, y)])
    time.sleep(0.2)
    fingers(driver, "touchMove", [(8, x, y - 400)])
    time.sleep(REPEAT_DELAY + 0.5)
    fingers(driver, "touchEnd", [])
    time.sleep(0.2)
    added = page.empty_lines() - lines
    pressed = driver.execute_script("return document.querySelectorAll('.pressed').length")
    check(added == 2 and pressed == 0, "a finger that slides off its key lets it go",
          f"{added} lines, {pressed} keys shown pressed")


def take_shots(driver, url, out):
    """The page on a phone, upright and on its side, a moment after a few letters."""
    os.makedirs(out, exist_ok=True)
    for name, (width, height) in (("phone-portrait", (390, 844)),
                                  ("phone-landscape", (844, 390))):
        open_page(driver, url, width, height, True)
        keys = key_centres(driver)
        for letter in "VORANDEL":
            tap(driver, *keys["Letter " + letter])
            time.sleep(0.4)
        time.sleep(0.1)
        driver.save_screenshot(os.path.join(out, name + ".png"))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--page", default=os.path.join(ROOT, "dist", "web"))
    parser.add_argument("--shots", help="folder for the two screenshots")
    args = parser.parse_args()

    def in_chromium(part):
        def run(check):
            with headless.served(args.page) as url, headless.chromium(POINTERS) as driver:
                part(driver, url, check)
        return run

    parts = [("the screens", in_chromium(check_screens)),
             ("the fingers", in_chromium(check_fingers))]
    if args.shots:
        parts.append(("the screenshots", in_chromium(lambda d, u, c: take_shots(d, u, args.shots))))
    return run_checks(TIME_LIMIT, parts)


if __name__ == "__main__":
    sys.exit(main())
