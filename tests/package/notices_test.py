#!/usr/bin/python3
"""Every component linked into an artefact has its notice: links the program once more with the
build's own link command (CMake's link.txt), asking the linker to name every file it reads
(--trace), finds each one's component in linked_components.txt, and checks that the artefact's
THIRD-PARTY-NOTICES.txt has a section for each component that is not ours.

    notices_test.py ARTEFACT LINK_DIR TARGET NOTICES

LINK_DIR is the build folder the target links in (build-windows/app), NOTICES the notices file, or
a zip that holds it (the Windows zip)."""

import os
import re
import shlex
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
NOTICES = 'THIRD-PARTY-NOTICES.txt'
RULE = '=' * 78


def table(artefact):
    """The rows of linked_components.txt for `artefact`, as (compiled pattern, component)."""
    rows = []
    with open(os.path.join(HERE, 'linked_components.txt'), encoding='utf-8') as f:
        for line in f:
            if line.startswith('#') or not line.strip():
                continue
            name, pattern, component = line.rstrip('\n').split('\t')
            if name == artefact:
                rows.append((re.compile(pattern), component))
    return rows


def linked_inputs(link_dir, target, scratch):
    """The files the linker reads for `target`, as it names them, the link's output last."""
    with open(os.path.join(link_dir, 'CMakeFiles', target + '.dir', 'link.txt')) as f:
        command = shlex.split(f.read().strip().split('\n')[-1])
    output = command[command.index('-o') + 1]
    command[command.index('-o') + 1] = os.path.join(scratch, os.path.basename(output))
    # Other files the link writes go to the scratch folder too (the import library on Windows).
    command = [re.sub(r'--out-implib,[^,]+', '--out-implib,' + os.path.join(scratch, 'implib.a'),
                      a) for a in command]
    run = subprocess.run(command + ['-Wl,--trace'], cwd=link_dir, capture_output=True,
                         text=True, timeout=300)
    if run.returncode != 0:
        sys.exit(f'the link with --trace failed:\n{run.stderr}')
    inputs = set()
    for line in run.stdout.splitlines() + run.stderr.splitlines():
        path = re.sub(r'\(.*\)$', '', line.strip())  # an archive's member: the archive
        if path.endswith(('.a', '.o', '.obj')):
            inputs.add(os.path.normpath(path))
    # emscripten writes its JavaScript runtime into the program's .js file.
    return sorted(inputs) + ([output] if output.endswith('.js') else [])


def noticed_components(path):
    """The components the notices file has a section for."""
    if zipfile.is_zipfile(path):
        with zipfile.ZipFile(path) as z:
            text = z.read(NOTICES).decode('utf-8')
    else:
        with open(path, encoding='utf-8') as f:
            text = f.read()
    lines = text.replace('\r\n', '\n').split('\n')
    return {lines[i + 1] for i in range(len(lines) - 2)
            if lines[i] == RULE and lines[i + 2] == RULE}


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    artefact, link_dir, target, notices = sys.argv[1:]
    rows = table(artefact)
    if not rows:
        sys.exit(f'linked_components.txt has no rows for {artefact}')
    with tempfile.TemporaryDirectory() as scratch:
        inputs = linked_inputs(link_dir, target, scratch)
    if not inputs:
        sys.exit('the linker named no input')
    noticed = noticed_components(notices)
    failures, components = [], set()
    for path in inputs:
        owners = {component for pattern, component in rows if pattern.search(path)}
        if not owners:
            failures.append(f'{path} is linked in, but linked_components.txt does not say '
                            'what it is')
        components |= owners
    components.discard('ours')
    failures += [f'{c} is linked in, but {NOTICES} has no section for it'
                 for c in sorted(components - noticed)]
    for failure in failures:
        print('FAIL: ' + failure)
    if failures:
        return 1
    print(f'PASS: {artefact}: {len(inputs)} inputs linked, from {len(components)} third-party '
          f'components, each with its notice: {"; ".join(sorted(components))}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
