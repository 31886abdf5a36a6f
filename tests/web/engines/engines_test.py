#!/usr/bin/python3
"""The page in Firefox (firefox-esr over WebDriver BiDi) and in WebKitGTK (WebKitWebDriver), on an
X display (run it under tests/support/with_xvfb.sh). In each engine: the page loads and the
program starts, a letter puts green pixels at the generator's spot with two empty console lines,
Backspace clears the canvas, a key of the on-screen keyboard does what the physical key does (in
Firefox a touch; WebKitGTK has no touch input, so a click there), the layout checks of layout.js
pass at a phone's size upright and on its side, Escape ends the program and the page shows its end
panel, and nothing but the program's exit reaches the console as an error.

  engines_test.py [--engine firefox|webkit]... [--page DIR] [--out DIR]
    DIR (--out) receives ENGINE.png, the page with its keyboard after a few keys

Prints one line per check and closes with "N passed, N failed"; exits 1 if any check failed."""

import argparse
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
WEB_TESTS = os.path.dirname(HERE)
ROOT = os.path.dirname(os.path.dirname(WEB_TESTS))
sys.path.insert(0, WEB_TESTS)
sys.path.insert(0, os.path.join(ROOT, "web", "tools"))

import browser_test  # noqa: E402
from checks import run_checks  # noqa: E402
import firefox  # noqa: E402
import headless  # noqa: E402
from PIL import Image  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402
import touch_test  # noqa: E402
import webkit  # noqa: E402

WIDTH, HEIGHT = browser_test.WIDTH, browser_test.HEIGHT
TIME_LIMIT = 150  # seconds for both engines
DESKTOP = (1000, 800)
# The screens of touch_test's table (screens.tsv) whose layout is checked here: a phone upright
# and on its side.
LAYOUT_SCREENS = [(390, 844), (844, 390)]
ENGINES = {"firefox": firefox, "webkit": webkit}
# Selenium's names of keys, as browser_test's helpers type them, in the engines' own.
KEY_NAMES = {Keys.BACKSPACE: "Backspace", Keys.ESCAPE: "Escape"}
TWO_FRAMES = ("await new Promise((ok) => requestAnimationFrame(() => "
              "requestAnimationFrame(ok)));")

# Keeps the kinds of input events that reach the page from now on.
RECORD_INPUT = """
    const seen = window.inputSeen = {pointers: [], touchstart: 0, mouse: 0,
        touchScreen: "ontouchstart" in document.documentElement && navigator.maxTouchPoints > 0};
    addEventListener("pointerdown", (e) => seen.pointers.push(e.pointerType), true);
    addEventListener("touchstart", () => seen.touchstart++, true);
    for (const type of ["mousedown", "mouseup", "click"]) {
      addEventListener(type, () => seen.mouse++, true);
    }"""


class Harness:
    """One engine's page as the checks use it: browser_test's helpers type into it and take its
    picture as they do in Chromium."""

    def __init__(self, page, engine):
        self.page = page
        self.engine = engine

    def start(self, url):
        self.page.open(url)
        return self.wait_for("Module.calledRun === true && !!Module.ctx", 30)

    def wait_for(self, condition, seconds):
        return browser_test.wait_for_page(self.page.script, condition, seconds)

    def type(self, keys):
        for key in keys:
            self.page.press(KEY_NAMES.get(key, key))

    def picture(self):
        """What the canvas shows, as a 720 by 576 RGB image: the page's screenshot after two
        frames, cut to the canvas (WebKitGTK's element screenshots lose their top rows)."""
        box = self.page.script(TWO_FRAMES + """
            const r = Module.canvas.getBoundingClientRect(), s = devicePixelRatio;
            return [r.left * s, r.top * s, r.right * s, r.bottom * s];""")
        shown = self.page.screenshot().crop(tuple(round(v) for v in box))
        return shown if shown.size == (WIDTH, HEIGHT) else shown.resize((WIDTH, HEIGHT),
                                                                        Image.NEAREST)

    def empty_lines(self):
        """Empty lines the program wrote to the console."""
        return sum(1 for level, text in self.page.console() if level == "log" and text == "")

    def centre(self, selector):
        """The middle of the element `selector` names, in viewport pixels; None if not shown."""
        return self.page.script("""
            const e = document.querySelector(args[0]);
            if (!e || e.getClientRects().length === 0) return null;
            const r = e.getBoundingClientRect();
            return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)];""",
                                selector)

    def tap(self, selector):
        """A finger on the element (in WebKitGTK a left click instead); False if not shown."""
        point = self.centre(selector)
        if point is None:
            return False
        if hasattr(self.page, "touch"):
            self.page.touch([point])
        else:
            self.page.click(*point)
        return True


class OnScreenKeys:
    """The on-screen keyboard typed as browser_test's helpers type: a letter is its key tapped,
    Backspace the Backspace key."""

    def __init__(self, harness):
        self.harness = harness

    def type(self, keys):
        for key in keys:
            name = "Backspace" if key == Keys.BACKSPACE else "Letter " + key.upper()
            if not self.harness.tap(f'#keyboard button[aria-label="{name}"]'):
                raise RuntimeError(f"the key {name} is not shown")

    def picture(self):
        return self.harness.picture()


def check_letter(page, typist, how, check):
    """Letter e typed through `typist` spawns its pair at the generator's spot of that second,
    with two empty console lines; Backspace takes it back."""
    lines = page.empty_lines()
    second, picture, taken, presses = browser_test.press_letter_in_one_second(typist, "e")
    x, y = browser_test.spawn_spot(second)
    near = browser_test.around(picture, x, y)
    far_x = x + 200 if x < WIDTH // 2 else x - 200
    check(all(browser_test.strongly_green(p) for p in near)
          and not browser_test.lit(picture.getpixel((far_x, y))),
          f"{page.engine}: {how} e puts green pixels at the spot ({x}, {y}) of second {second} "
          "and none 200 pixels beside it", f"{near} after {taken:.2f} s")
    added = page.empty_lines() - lines
    check(added == 2 * presses, f"{page.engine}: {how} e writes two empty lines to the console",
          f"{added} for {presses} presses")
    typist.type(Keys.BACKSPACE)
    time.sleep(0.2)
    check(not any(browser_test.lit(p) for p in page.picture().getdata()),
          f"{page.engine}: {how} Backspace leaves the canvas black again")


def check_layout(page, check):
    """At each of LAYOUT_SCREENS, with the keyboard shown: the checks of layout.js, and the
    canvas takes the room touch_test's table says."""
    with open(os.path.join(WEB_TESTS, "layout.js"), encoding="utf-8") as f:
        layout = f.read()
    screens = {(w, h): fills for w, h, _, fills in touch_test.screens()}
    for width, height in LAYOUT_SCREENS:
        page.page.resize(width, height)
        result = page.page.script(TWO_FRAMES + layout + """
            return {problems: layoutProblems(), report: layoutReport(),
                    viewport: [innerWidth, innerHeight]};""")
        report, fills = result["report"], screens[(width, height)]
        check(result["viewport"] == [width, height] and len(report["keys"]) == 27
              and not result["problems"] and touch_test.fills_as_designed(report, fills),
              f"{page.engine}: at {width}x{height} the 27 keys and the canvas pass the layout "
              f"checks, the canvas taking the room ({fills})",
              f"{result['problems']} {result['viewport']} {report['canvas']} "
              f"{len(report['keys'])} keys")


def run_engine(engine, url, out, check):
    name = engine.NAME
    with engine.session(*DESKTOP) as session:
        page = Harness(session, name)
        if not check(page.start(url), f"{name}: the page loads and the program starts"):
            return
        check(not any(browser_test.lit(p) for p in page.picture().getdata()),
              f"{name}: the canvas starts black")
        check_letter(page, page, "the key", check)

        # The keyboard is shown where the main pointer is coarse; here its button shows it.
        shown = page.centre("#keyboard") is not None or page.tap("#show-keyboard")
        check(shown and page.centre("#keyboard") is not None,
              f"{name}: the on-screen keyboard is shown")
        touch = hasattr(session, "touch")
        how = "a finger on the on-screen key" if touch else "a click on the on-screen key"
        session.script(RECORD_INPUT)
        check_letter(page, OnScreenKeys(page), how, check)
        if touch:
            seen = session.script("return window.inputSeen;")
            check(seen["touchScreen"] and seen["pointers"] and set(seen["pointers"]) == {"touch"}
                  and seen["touchstart"] == len(seen["pointers"]) and seen["mouse"] == 0,
                  f"{name}: the page has a touch screen, the taps arrive as touches and no mouse "
                  "events follow them",
                  str(seen))

        check_layout(page, check)
        if out:
            os.makedirs(out, exist_ok=True)
            for letter in "vorandel":
                time.sleep(0.1)
                page.type(letter)
            page.picture()
            session.screenshot().save(os.path.join(out, f"{name.lower()}.png"))

        page.type(Keys.ESCAPE)
        ended = page.wait_for("document.getElementById('ended').style.display === 'flex'", 10)
        text = session.script("return document.getElementById('ended').textContent;")
        check(ended and "ended" in text and "Reload" in text,
              f"{name}: Escape ends the program and the page says how to start it again", text)

        errors = [f"{level}: {text}" for level, text in session.console()
                  if level in ("error", "pageerror") and "ExitStatus" not in text]
        check(not errors, f"{name}: no error on the console but the program's exit",
              "; ".join(errors))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--engine", action="append", choices=sorted(ENGINES),
                        help="the engine to test (default: both)")
    parser.add_argument("--page", default=os.path.join(ROOT, "dist", "web"))
    parser.add_argument("--out", help="folder for a screenshot of each engine's page")
    args = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        print("engines_test.py needs an X display: run it under tests/support/with_xvfb.sh")
        return 2

    def part(engine):
        def run(check):
            with headless.served(args.page) as url:
                run_engine(ENGINES[engine], url, args.out, check)
        return engine, run

    return run_checks(TIME_LIMIT, [part(e) for e in args.engine or sorted(ENGINES)])


if __name__ == "__main__":
    sys.exit(main())
