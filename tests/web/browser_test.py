#!/usr/bin/python3
"""The page in headless Chromium: serves dist/web on 127.0.0.1, types into the canvas and looks at
what it shows and what reaches the console.

  browser_test.py [--out DIR]   (DIR receives page.png, the page after a short phrase)

Prints one line per check and closes with "N passed, N failed"; exits 1 if any check failed."""

import argparse
import io
import os
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "web", "tools"))

import headless  # noqa: E402
from checks import run_checks  # noqa: E402
from PIL import Image  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

WIDTH, HEIGHT = 720, 576
TIME_LIMIT = 240  # seconds for the whole test


def spawn_spot(seconds):
    """Where a key pressed in that second of the clock spawns, in canvas pixels from the top left:
    the generator (state * 214013 + 2531011 mod 2^32, draw = bits 16..30) seeded with the time
    cut to 32 bits; of three draws the second gives x and the third y (y counted upwards)."""
    state = seconds & 0xFFFFFFFF
    draws = []
    for _ in range(3):
        state = (state * 214013 + 2531011) & 0xFFFFFFFF
        draws.append((state >> 16) & 0x7FFF)
    x = draws[1] / 32767.0 * 720.0
    y = draws[2] / 32767.0 * 576.0
    return min(int(x), WIDTH - 1), min(int(HEIGHT - y), HEIGHT - 1)


# Defines afterFrame(points, then): calls then([[r, g, b], ...]) with the drawing buffer's pixels
# at `points` (window pixels from the top left) right after the program's next frame, before the
# browser shows it. Every frame the program draws is one animation frame callback, wrapped here;
# only those asked for after this has run are wrapped.
AFTER_FRAME = """
    if (!window.afterFrame) {
      var waiting = [], request = window.requestAnimationFrame;
      window.requestAnimationFrame = function (callback) {
        return request.call(window, function (time) {
          var now = waiting;
          waiting = [];
          callback(time);
          now.forEach(function (then) { then(); });
        });
      };
      window.afterFrame = function (points, then) {
        waiting.push(function () {
          var gl = Module.ctx, pixel = new Uint8Array(4);
          then(points.map(function (p) {
            gl.readPixels(p[0], 575 - p[1], 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
            return Array.from(pixel.slice(0, 3));
          }));
        });
      };
    }"""


def wait_for_page(run_script, condition, seconds):
    """Whether the JavaScript `condition` on the program's Module came true within `seconds`;
    `run_script` runs a script in the page and returns its result."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        if run_script(f"return typeof Module != 'undefined' && ({condition});"):
            return True
        time.sleep(0.05)
    return False


class Page:
    def __init__(self, driver, url):
        self.driver = driver
        self.console = []
        driver.get(url)
        self.wait_for("Module.calledRun === true && !!Module.ctx", 30)
        time.sleep(0.5)  # a few frames
        self.canvas = driver.find_element(By.ID, "canvas")

    def wait_for(self, condition, seconds):
        return wait_for_page(self.driver.execute_script, condition, seconds)

    def type(self, keys):
        self.driver.switch_to.active_element.send_keys(keys)

    def picture(self):
        """What the canvas shows, as an RGB image of its drawing buffer's size (the page scales
        the canvas to the window, each pixel as a block)."""
        shown = Image.open(io.BytesIO(self.canvas.screenshot_as_png)).convert("RGB")
        if shown.size == (WIDTH, HEIGHT):
            return shown
        return shown.resize((WIDTH, HEIGHT), Image.NEAREST)

    def read_console(self):
        self.console += self.driver.get_log("browser")
        return self.console

    def empty_lines(self):
        """Empty lines the program wrote to the console (console.log with an empty string)."""
        return sum(1 for e in self.read_console()
                   if e["source"] == "console-api" and e["message"].endswith(' ""'))


def lit(pixel):
    return max(pixel) > 12


def strongly_green(pixel):
    r, g, b = pixel
    return g >= 128 and g > b


def around(picture, x, y):
    """The pixels two apart around (x, y) and (x, y) itself, kept inside the picture."""
    return [picture.getpixel((min(max(x + dx, 0), WIDTH - 1), min(max(y + dy, 0), HEIGHT - 1)))
            for dx in (-2, 0, 2) for dy in (-2, 0, 2)]


def press_letter_in_one_second(page, letter):
    """Presses `letter` early in a second of the clock; returns that second and the picture taken
    right after, with the time between key and picture, and the number of presses. Retries
    (taking the key back) if the second changed during the press."""
    for presses in range(1, 4):
        while time.time() % 1.0 > 0.3:
            time.sleep(0.02)
        before = time.time()
        page.type(letter)
        after = time.time()
        picture = page.picture()
        taken = time.time() - before
        if int(before) == int(after):
            return int(before), picture, taken, presses
        page.type(Keys.BACKSPACE)
    raise RuntimeError("could not press a key within one second of the clock")


def run(driver, url, out, check):
    page = Page(driver, url)
    size = driver.execute_script(
        "var c = document.getElementById('canvas');"
        "return [c.width, c.height, document.activeElement === c];")
    check(size[:2] == [WIDTH, HEIGHT], "the canvas draws 720 by 576 pixels", str(size))
    check(size[2], "the canvas has the keyboard focus after loading")
    check("Type letters" in driver.find_element(By.ID, "help").text, "the page says what to type")

    picture = page.picture()
    check(picture.size == (WIDTH, HEIGHT) and not any(lit(p) for p in picture.getdata()),
          "the canvas starts black")

    # A left click shows the triangle at once. With no sprite drawn yet the transform is the
    # identity: the triangle (0,0) (60,0) (30,60) in white at the lower left. The pixels are read
    # in the same task as the click, before the next frame clears them.
    triangle = driver.execute_script("""
        var c = Module.canvas, r = c.getBoundingClientRect(), gl = Module.ctx;
        function mouse(type) {
          c.dispatchEvent(new MouseEvent(type, {bubbles: true, button: 0,
                                                clientX: r.left + 100, clientY: r.top + 100}));
        }
        mouse('mousedown'); mouse('mouseup');
        var inside = new Uint8Array(4), outside = new Uint8Array(4);
        gl.readPixels(30, 20, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, inside);
        gl.readPixels(55, 50, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, outside);
        return [Array.from(inside), Array.from(outside)];""")
    check(triangle[0][:3] == [255, 255, 255] and triangle[1][:3] == [0, 0, 0],
          "a left click shows the white triangle at the lower left", str(triangle))
    # Every mouse event also draws the triangle into the back buffer, which the next frame clears
    # first. The frame after a press, and after a click, shows none of it.
    driver.execute_script(AFTER_FRAME)
    time.sleep(0.1)  # the frames already asked for have run
    after = driver.execute_async_script("""
        var done = arguments[arguments.length - 1], c = Module.canvas, seen = [];
        var r = c.getBoundingClientRect();
        function mouse(type) {
          c.dispatchEvent(new MouseEvent(type, {bubbles: true, button: 0,
                                                clientX: r.left + 100, clientY: r.top + 100}));
        }
        mouse('mousedown');
        afterFrame([[30, 555]], function (pixels) {
          seen.push(pixels[0]);
          mouse('mouseup');
          afterFrame([[30, 555]], function (pixels) { done(seen.concat(pixels)); });
        });""")
    check(after == [[0, 0, 0], [0, 0, 0]],
          "the frame after a press, and after a click, shows none of the triangle", str(after))

    # A letter: its pair appears at the generator's spot for that second. The circle (e) is
    # centred on the spot and at most 175 pixels wide on either side.
    second, picture, taken, presses = press_letter_in_one_second(page, "e")
    x, y = spawn_spot(second)
    near = around(picture, x, y)
    far_x = x + 200 if x < WIDTH // 2 else x - 200
    check(all(strongly_green(p) for p in near),
          f"letter e puts green pixels at the spot ({x}, {y}) of second {second}",
          f"{near} after {taken:.2f} s")
    check(not lit(picture.getpixel((far_x, y))), "and leaves the canvas black 200 pixels beside it",
          str(picture.getpixel((far_x, y))))
    lines = page.empty_lines()
    check(lines == 2 * presses, "one letter writes two empty lines to the console", str(lines))

    page.type(Keys.BACKSPACE)
    time.sleep(0.3)
    picture = page.picture()
    check(not any(lit(p) for p in picture.getdata()), "Backspace leaves the canvas black again")

    # Keys the browser would act on go to the program: Tab keeps the focus on the canvas.
    page.type(Keys.TAB)
    check(driver.execute_script("return document.activeElement === Module.canvas;"),
          "Tab goes to the program, not to the page's focus order")

    # The frames call WebGL's clear but not its flush: the browser shows the canvas after each
    # frame anyway, and in Chromium the flush took 2 ms of a held-key frame. The figures below
    # are seen on the page's own picture of the canvas, which a missing flush would leave blank.
    driver.execute_script("""
        var gl = Module.ctx;
        window.glCalls = {clear: 0, flush: 0};
        Object.keys(window.glCalls).forEach(function (name) {
          var real = gl[name];
          gl[name] = function () { window.glCalls[name]++; return real.apply(gl, arguments); };
        });""")
    # Letters of either case spawn a pair each; digits, punctuation, space, Enter spawn nothing.
    page.type("Hello, World 42!" + Keys.ENTER)
    # A few more letters across more than a second, so that their pairs land at several spots
    # (within one second of the clock every pair lands at the same one).
    for letter in "Vorandel":
        time.sleep(0.2)
        page.type(letter)
    picture = page.picture()
    time.sleep(0.3)
    check(page.empty_lines() == lines + 2 * 18,
          "two empty lines per letter and none for other keys", str(page.empty_lines()))
    check(sum(1 for p in picture.getdata() if lit(p)) > 10000, "the phrase's figures show")
    calls = driver.execute_script("return window.glCalls;")
    check(calls["clear"] > 10 and calls["flush"] == 0,
          "the frames clear the canvas and show it without WebGL's flush", str(calls))
    if out:
        os.makedirs(out, exist_ok=True)
        page_picture = Image.open(io.BytesIO(driver.get_screenshot_as_png()))
        page_picture.save(os.path.join(out, "page.png"))

    page.type(Keys.ESCAPE)
    ended = page.wait_for("document.getElementById('ended').style.display === 'flex'", 10)
    text = driver.find_element(By.ID, "ended").text
    check(ended and "ended" in text and "Reload" in text,
          "Escape ends the program and the page says how to start it again", text)
    check(not driver.find_element(By.ID, "canvas").is_displayed(), "the stopped canvas is gone")

    errors = [e["message"] for e in page.read_console()
              if e["level"] == "SEVERE" and "ExitStatus" not in e["message"]]
    check(not errors, "no error on the console but the program's exit", "; ".join(errors))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", help="folder for page.png")
    parser.add_argument("--page", default=os.path.join(ROOT, "dist", "web"))
    args = parser.parse_args()

    def the_page(check):
        with headless.served(args.page) as url, headless.chromium() as driver:
            run(driver, url, args.out, check)

    return run_checks(TIME_LIMIT, [("the test", the_page)])


if __name__ == "__main__":
    sys.exit(main())
