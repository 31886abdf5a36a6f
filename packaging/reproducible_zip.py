#!/usr/bin/python3
"""Zips files so that the same files always give the same bytes: entries in byte order of their
names, files only (unpacking makes the folders), every entry dated SOURCE_DATE_EPOCH (in UTC; zip
dates start in 1980), mode 755 when the file is executable and 644 otherwise, no owner, no extra
fields, deflated at level 9.

  reproducible_zip.py ZIP FOLDER [NAME...]

The entries are named by their paths below FOLDER: those of the files and folders NAME (relative
to FOLDER; a folder stands for every file below it), or else of everything in FOLDER."""

import os
import sys
import time
import zipfile


def entries(folder, names):
    """(name inside the zip, path) of the files `names` below `folder`, sorted by name."""
    found = []
    for name in names:
        top = os.path.join(folder, name)
        if not os.path.exists(top):
            sys.exit(f"reproducible_zip.py: no {top}")
        if not os.path.isdir(top):
            found.append(top)
        for parent, _, files in os.walk(top):
            found.extend(os.path.join(parent, file) for file in files)
    return sorted((os.path.relpath(path, folder).replace(os.sep, "/"), path) for path in found)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    out, folder = sys.argv[1], sys.argv[2]
    epoch = os.environ.get("SOURCE_DATE_EPOCH", "")
    if not epoch.isdigit():
        sys.exit("reproducible_zip.py: SOURCE_DATE_EPOCH must be set to a number of seconds")
    date = max(time.gmtime(int(epoch))[:6], (1980, 1, 1, 0, 0, 0))
    files = entries(folder, sys.argv[3:] or ["."])
    if not files:
        sys.exit(f"reproducible_zip.py: no files in {folder}")
    with zipfile.ZipFile(out, "w") as archive:
        for name, path in files:
            entry = zipfile.ZipInfo(name, date_time=date)
            entry.create_system = 3  # Unix, so that the mode below is read
            executable = os.stat(path).st_mode & 0o111
            entry.external_attr = (0o100755 if executable else 0o100644) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as data:
                archive.writestr(entry, data.read(), compresslevel=9)
    print(f"{out}: {len(files)} files")
    return 0


if __name__ == "__main__":
    sys.exit(main())
