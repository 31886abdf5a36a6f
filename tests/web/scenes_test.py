#!/usr/bin/python3
"""The page's pictures, scene by scene (scenes.tsv), in headless Chromium: the scene program
drawn through the batching layer against the same program drawn through emscripten's GL emulation,
as the page drew before the layer. Every compared scene may differ in at most the pixels its line
allows (0: the same picture). A scene marked "time" is drawn a few times through the layer
instead, and no frame may take a second. With --desktop, the same scenes drawn on Mesa by the
desktop scene program are compared with the page too, and only reported.

  scenes_test.py PAGES [--desktop PROGRAM] [--out DIR]
    PAGES    the folder with batched/ and emulated/ (scenes.html, scenes.js, scenes.wasm)
    PROGRAM  the desktop scene program (build/tests/web/web_scenes), run on an Xvfb display
    DIR      receives NAME-batched.png, NAME-reference.png and NAME-differ.png for each scene
             that fails

Prints one line per scene and check and closes with "N passed, N failed"; exits 1 if any failed."""

import argparse
import base64
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "web", "tools"))

import headless  # noqa: E402
from checks import run_checks  # noqa: E402
from PIL import Image, ImageChops  # noqa: E402

WIDTH, HEIGHT = 720, 576
TIME_LIMIT = 500  # seconds for the whole test
FRAME_LIMIT_MS = 1000.0
TIMED_FRAMES = 5


def read_scenes():
    scenes = []
    with open(os.path.join(HERE, "scenes.tsv")) as table:
        for line in table:
            if line.strip() and not line.startswith("#"):
                fields = line.split()
                scenes.append({"name": fields[0], "line": line.strip(), "differ": fields[-1]})
    return scenes


def picture(rgba):
    """RGBA bytes, bottom row first, as an RGB image the right way up."""
    image = Image.frombytes("RGBA", (WIDTH, HEIGHT), rgba).convert("RGB")
    return image.transpose(Image.Transpose.FLIP_TOP_BOTTOM)


def differing(a, b):
    """The pixels where a and b differ in any channel, as a mask; their number; how many of them
    differ by more than 1 in a channel."""
    r, g, b_ = ImageChops.difference(a, b).split()
    largest = ImageChops.lighter(ImageChops.lighter(r, g), b_)
    counts = largest.histogram()
    return largest.point(lambda v: 255 if v else 0), sum(counts[1:]), sum(counts[2:])


def lit(image):
    r, g, b = image.split()
    return ImageChops.lighter(ImageChops.lighter(r, g), b).point(
        lambda v: 255 if v > 12 else 0).histogram()[255]


def open_scenes(driver, url):
    driver.get(url)
    deadline = time.time() + 60
    while not driver.execute_script("return window.sceneReady === true;"):
        if time.time() > deadline:
            raise RuntimeError(f"the scene program at {url} did not start")
        time.sleep(0.05)


def draw_all(driver, url, scenes):
    """{name: (milliseconds, picture)} for the compared scenes, drawn by the page at url."""
    open_scenes(driver, url)
    drawn = {}
    for scene in scenes:
        result = driver.execute_script("return drawSceneLine(arguments[0]);", scene["line"])
        if result is None:
            raise RuntimeError(f"malformed scene line: {scene['line']}")
        drawn[scene["name"]] = (result[0], picture(base64.b64decode(result[1])))
    return drawn


def time_frames(driver, url, scene, check):
    """Draws the scene through the layer a few times, one frame each: none may take a second."""
    open_scenes(driver, url)
    if not driver.execute_script("return timeFrames(arguments[0], arguments[1]);",
                                 scene["line"], TIMED_FRAMES):
        raise RuntimeError(f"malformed scene line: {scene['line']}")
    deadline = time.time() + 300
    times = None
    while times is None and time.time() < deadline:
        time.sleep(0.2)
        times = driver.execute_script("return window.frameTimes;")
    if times is None:
        check(False, f"{scene['name']}: {TIMED_FRAMES} frames within 300 s")
        return
    draws, intervals = times["draws"], times["intervals"]
    longest = max(draws + intervals)
    check(longest < FRAME_LIMIT_MS,
          f"{scene['name']}: no frame takes a second (draws "
          + " ".join(f"{ms:.0f}" for ms in draws) + " ms, frames apart "
          + " ".join(f"{ms:.0f}" for ms in intervals) + " ms)",
          f"longest {longest:.0f} ms")


def draw_on_desktop(program, scenes_file):
    """{name: picture} drawn on Mesa by the desktop scene program on an Xvfb display."""
    with tempfile.TemporaryDirectory(prefix="vorandel-scenes-") as out:
        subprocess.run([os.path.join(ROOT, "tests", "support", "with_xvfb.sh"), program,
                        scenes_file, out], check=True, timeout=120)
        found = {}
        for entry in os.listdir(out):
            with open(os.path.join(out, entry), "rb") as f:
                found[entry[:-len(".rgba")]] = picture(f.read())
        return found


def run(args, check):
    scenes = read_scenes()
    compared = [s for s in scenes if s["differ"] != "time"]
    timed = [s for s in scenes if s["differ"] == "time"]
    with headless.served(args.pages) as url, headless.chromium() as driver:
        driver.set_script_timeout(120)
        batched = draw_all(driver, url + "batched/scenes.html", compared)
        for scene in timed:
            time_frames(driver, url + "batched/scenes.html", scene, check)
        reference = draw_all(driver, url + "emulated/scenes.html", compared)
    desktop = {}
    if args.desktop:
        try:
            desktop = draw_on_desktop(args.desktop, os.path.join(HERE, "scenes.tsv"))
        except (OSError, subprocess.SubprocessError) as error:  # only reported: not a failure
            print(f"the desktop scene program did not run: {error}")

    print(f"{'scene':27} {'lit':>7} {'differ':>7} {'allowed':>7} {'layer':>8} "
          f"{'emulation':>9} {'desktop differs (by more than 1)':>32}")
    for scene in compared:
        name = scene["name"]
        ms, ours = batched[name]
        reference_ms, theirs = reference[name]
        mask, count, _ = differing(ours, theirs)
        on_desktop = ""
        if name in desktop:
            _, desktop_count, beyond_one = differing(ours, desktop[name])
            on_desktop = f"{desktop_count} ({100.0 * desktop_count / (WIDTH * HEIGHT):.2f}%), " \
                f"{beyond_one} by >1"
        print(f"{name:27} {lit(ours):7} {count:7} {scene['differ']:>7} {ms:6.0f}ms "
              f"{reference_ms:7.0f}ms {on_desktop:>32}")
        allowed = int(scene["differ"])
        ok = check(count <= allowed,
                   f"{name}: the layer draws the emulation's picture"
                   + ("" if allowed == 0 else f" but for at most {allowed} pixels"),
                   f"{count} pixels differ")
        if not ok and args.out:
            os.makedirs(args.out, exist_ok=True)
            ours.save(os.path.join(args.out, f"{name}-batched.png"))
            theirs.save(os.path.join(args.out, f"{name}-reference.png"))
            mask.save(os.path.join(args.out, f"{name}-differ.png"))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("pages")
    parser.add_argument("--desktop", help="the desktop scene program")
    parser.add_argument("--out", help="folder for the pictures of failing scenes")
    args = parser.parse_args()
    return run_checks(TIME_LIMIT, [("the test", lambda check: run(args, check))])


if __name__ == "__main__":
    sys.exit(main())
