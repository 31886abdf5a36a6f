#!/usr/bin/python3
"""Writes the service worker into a built page's folder: web/page/service-worker.js with FILES set
to every other file of the folder and VERSION to a hash of their names and contents and of the
worker's own code, so that any change to the page gives the browser a new worker.

  stamp_worker.py FOLDER"""

import hashlib
import json
import os
import sys

WORKER = "service-worker.js"
WEB = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TEMPLATE = os.path.join(WEB, "page", WORKER)


def page_files(folder):
    """The page's files below `folder`, as sorted relative URLs (without the worker)."""
    found = []
    for parent, _, names in os.walk(folder):
        for name in names:
            path = os.path.relpath(os.path.join(parent, name), folder).replace(os.sep, "/")
            if path != WORKER:
                found.append(path)
    return sorted(found)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    with open(TEMPLATE, encoding="utf-8") as template:
        code = template.read()
    files = page_files(folder)
    digest = hashlib.sha256(code.encode())
    for path in files:
        with open(os.path.join(folder, path), "rb") as data:
            content = data.read()
        digest.update(f"{path}\0{len(content)}\0".encode())
        digest.update(content)
    version = digest.hexdigest()[:16]
    for placeholder, value in (('"@VERSION@"', json.dumps(version)),
                               ('"@FILES@"', ", ".join(json.dumps(f) for f in files))):
        if code.count(placeholder) != 1:
            sys.exit(f"{TEMPLATE}: expected {placeholder} once")
        code = code.replace(placeholder, value)
    with open(os.path.join(folder, WORKER), "w", encoding="utf-8") as worker:
        worker.write(code)
    print(f"{WORKER}: version {version}, {len(files)} files")
    return 0


if __name__ == "__main__":
    sys.exit(main())
