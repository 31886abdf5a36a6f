#!/usr/bin/python3
"""Runs the frame benchmark page (a folder with index.html, bench.js, bench.wasm) in a browser and
prints what the page reports.
  page_bench.py FOLDER [empty|gpu] [--engine ENGINE] [--pace] [--profile [N]]
    empty      empty frames, the browser's ceiling
    gpu        the held-key load, waiting after each frame for the GPU to finish it, and how long
    --pace     then the browser's own pace with nothing drawn and with a WebGL canvas cleared
    --profile  Chromium only: DevTools' sampling profiler (every 100 microseconds) over the
               whole run, then the N (15) functions the program's frames spend the most time in,
               in milliseconds per frame (names need a page linked with --profiling-funcs)
ENGINE:
  chromium       headless Chromium, its frame-rate limit lifted (the default)
  chromium-slow  the same with its processor slowed four times (DevTools' CPU throttling, the
                 usual stand-in for a mid-range phone)
  firefox        Firefox (firefox-esr over WebDriver BiDi), its frame-rate limit lifted
  webkit         WebKitGTK (WebKitWebDriver), at its own pace: it has no way to lift its limit
Firefox and WebKitGTK need an X display (run under tests/support/with_xvfb.sh)."""

import argparse
import contextlib
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "web", "tools"))
sys.path.insert(0, os.path.join(ROOT, "tests", "web", "engines"))
import headless  # noqa: E402
from frame_profile import frame_profile  # noqa: E402
from selenium.common.exceptions import TimeoutException  # noqa: E402

UNCAPPED = ["--disable-frame-rate-limit", "--disable-gpu-vsync"]
# Firefox paints as soon as it can rather than at the display's 60 frames a second.
FIREFOX_UNCAPPED = {"layout.frame_rate": 0}
SIZE = (1000, 800)
# After the page's program has ended: the browser's own pace of requestAnimationFrame with
# nothing drawn, then with a WebGL canvas of the program's size cleared every frame, and how long
# one such clear takes once the GPU has finished it (a pixel read back waits for it).
PACE = """
    const pace = async (draw) => {
      let frames = 0, longest = 0, last = performance.now(), busy = 0;
      const start = last;
      while (last - start < 2000) {
        await new Promise((ok) => requestAnimationFrame(ok));
        const now = performance.now();
        longest = Math.max(longest, now - last);
        last = now;
        frames++;
        if (draw) busy += draw();
      }
      return [frames * 1000 / (last - start), longest, busy / frames];
    };
    document.body.textContent = "";
    const idle = await pace(null);
    const canvas = document.createElement("canvas");
    canvas.width = 720;
    canvas.height = 576;
    document.body.appendChild(canvas);
    const gl = canvas.getContext("webgl", {antialias: false});
    const pixel = new Uint8Array(4);
    const drawn = await pace(() => {
      const start = performance.now();
      gl.clearColor(Math.random(), 0, 0, 1);
      gl.clear(gl.COLOR_BUFFER_BIT);
      gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
      return performance.now() - start;
    });
    const f = (v) => v.toFixed(1);
    return [
      `browser: requestAnimationFrame with nothing drawn: ${f(idle[0])} per second, ` +
      `longest gap ${f(idle[1])} ms`,
      `browser: with a 720x576 WebGL canvas cleared every frame: ${f(drawn[0])} per second, ` +
      `longest gap ${f(drawn[1])} ms, ${drawn[2].toFixed(2)} ms per clear and read-back`];"""
TIME_LIMIT = 300  # seconds for the page to finish
# The page's frame function and the number of frames the page draws (page_bench.cpp: settling
# and timed; its closing report runs outside the frame function).
FRAME_FUNCTION = "(anonymous namespace)::benchFrame()"
PAGE_FRAMES = 130


@contextlib.contextmanager
def chromium(slow, profile=None):
    """With `profile` (a list), the run's CPU profile is appended to it when the session ends."""
    with headless.chromium(UNCAPPED) as driver:
        if slow:
            driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 4})

        def load(url):
            if profile is not None:
                # Started on a page of the same site, so that the page runs in the same process.
                driver.get(url.split("?")[0] + "profile-start")
                driver.execute_cdp_cmd("Profiler.enable", {})
                driver.execute_cdp_cmd("Profiler.setSamplingInterval", {"interval": 100})
                driver.execute_cdp_cmd("Profiler.start", {})
            driver.get(url)

        def script(body):  # an async function body, as the other engines run it
            return driver.execute_async_script(
                f"const done = arguments[0]; (async () => {{ {body} }})().then(done);")
        yield load, script
        if profile is not None:
            profile.append(driver.execute_cdp_cmd("Profiler.stop", {})["profile"])


@contextlib.contextmanager
def firefox():
    import firefox as engine
    with engine.session(*SIZE, touch=False, prefs=FIREFOX_UNCAPPED) as page:
        yield page.open, page.script


@contextlib.contextmanager
def webkit():
    import webkit as engine
    with engine.session(*SIZE) as page:
        yield page.open, page.script


ENGINES = {"chromium": lambda: chromium(False), "chromium-slow": lambda: chromium(True),
           "firefox": firefox, "webkit": webkit}


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("folder")
    parser.add_argument("mode", nargs="?", choices=["empty", "gpu"])
    parser.add_argument("--engine", choices=sorted(ENGINES), default="chromium")
    parser.add_argument("--pace", action="store_true",
                        help="then the browser's own pace with nothing drawn and with WebGL")
    parser.add_argument("--profile", type=int, nargs="?", const=15, metavar="N",
                        help="Chromium only: where the frames' time goes, N functions")
    args = parser.parse_intermixed_args()
    profiles = []
    if args.profile is not None:
        if not args.engine.startswith("chromium"):
            parser.error("--profile needs Chromium")
        engine = chromium(args.engine == "chromium-slow", profiles)
    else:
        engine = ENGINES[args.engine]()
    with headless.served(args.folder) as url, engine as (load, script):
        load(url + ("?" + args.mode if args.mode else ""))
        deadline = time.time() + TIME_LIMIT
        done = False
        while not done and time.time() < deadline:
            time.sleep(1)
            try:
                done = script("return window.benchDone === true;")
            except TimeoutException:  # the page is busy with a long frame
                pass
        print("\n".join(script("return lines;")))
        if not done:
            print(f"page: did not finish within {TIME_LIMIT} s")
            return 1
        if args.pace:
            print("\n".join(script(PACE)))
    if profiles:
        total, ranked = frame_profile(profiles[0], FRAME_FUNCTION, PAGE_FRAMES)
        print(f"profile: {total:.3f} ms per frame sampled in the frame function, "
              f"of {PAGE_FRAMES} frames; where it goes, in ms per frame:")
        for name, milliseconds in ranked[:args.profile]:
            print(f"profile: {milliseconds:7.3f}  {name}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
