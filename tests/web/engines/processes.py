"""Stopping what a browser session started: a process and all its descendants, by process id
(through headless.py's helpers, which the Chromium tests use)."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..",
                                "web", "tools"))
import headless  # noqa: E402


def tree(pid):
    """`pid` and the ids of all its descendants, parents first."""
    found = [pid]
    for parent in found:
        found += headless._children(parent)
    return found


def stop(pid):
    """Stops a process by its id: politely, then for good."""
    headless._stop(pid)
