#!/usr/bin/python3
"""The page benchmark's profile summary (bench/web/frame_profile.py) on a small hand-made CPU
profile, against totals worked out by hand. Prints one line per case and closes with
"N passed, N failed"; exits 1 if any failed."""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "bench", "web"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from checks import run_checks  # noqa: E402
from frame_profile import frame_profile  # noqa: E402

# (root) -> (program); (root) -> frame -> draw -> vertex; frame -> an anonymous function of
# x.js; (root) -> report -> draw -> vertex, and report -> readPixels (a closing report, run from
# a task of its own).
TREE = [(1, "(root)", [2, 3, 6]), (2, "(program)", []), (3, "frame", [4, 8]),
        (4, "draw", [5]), (5, "vertex", []), (6, "report", [7, 9]), (7, "readPixels", []),
        (8, "", []), (9, "draw", [10]), (10, "vertex", [])]

# samples, their time deltas in microseconds, frames, and the expected total and functions in
# milliseconds per frame.
CASES = [
    ("self time per function in the frame; outside it, the same functions left out",
     [5, 5, 4, 2, 7, 3, 10, 9], [1000, 1000, 2000, 5000, 9000, 500, 7000, 3000], 2,
     2.25, [("draw", 1.0), ("vertex", 1.0), ("frame", 0.25)]),
    ("an anonymous function is named by its script",
     [8, 8, 5], [1500, 1500, 6000], 3,
     3.0, [("vertex", 2.0), ("(anonymous) x.js", 1.0)]),
    ("no sample inside the frame", [2, 1, 7, 10], [800, 700, 900, 100], 5, 0.0, []),
]


def profile(samples, deltas):
    nodes = [{"id": i, "callFrame": {"functionName": name, "url": "x.js"}, "children": children}
             for i, name, children in TREE]
    return {"nodes": nodes, "samples": samples, "timeDeltas": deltas}


def cases(check):
    for what, samples, deltas, frames, total, ranked in CASES:
        got_total, got_ranked = frame_profile(profile(samples, deltas), "frame", frames)
        close = abs(got_total - total) < 1e-9 and [n for n, _ in got_ranked] == [
            n for n, _ in ranked] and all(abs(a[1] - b[1]) < 1e-9
                                          for a, b in zip(got_ranked, ranked))
        check(close, what, f"{got_total}, {got_ranked}")


if __name__ == "__main__":
    sys.exit(run_checks(60, [("the cases", cases)]))
