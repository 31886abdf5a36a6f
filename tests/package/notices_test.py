#!/usr/bin/python3
"""Every component linked into an artefact has its notice: links the program once more with the
build's own link command (CMake's link.txt) and --trace, which names every file the linker reads,
finds each one's component in linked_components.txt, and checks that the artefact's
THIRD-PARTY-NOTICES.txt (NOTICES, or the one in the zip NOTICES) has a section for each that is
not ours.

    notices_test.py ARTEFACT LINK_DIR TARGET NOTICES"""

import os
import re
import shlex
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
NAME = 'THIRD-PARTY-NOTICES.txt'
RULE = '=' * 78


def linked_inputs(link_dir, target, scratch):
    """The files the linker reads for `target`, archives for their members, and the program's
    .js file, into which emscripten writes its JavaScript runtime."""
    with open(os.path.join(link_dir, 'CMakeFiles', target + '.dir', 'link.txt')) as f:
        command = shlex.split(f.read().strip().split('\n')[-1])
    at = command.index('-o') + 1
    output, command[at] = command[at], os.path.join(scratch, os.path.basename(command[at]))
    command = [re.sub(r'--out-implib,[^,]+', f'--out-implib,{scratch}/implib.a', a)
               for a in command]
    run = subprocess.run(command + ['-Wl,--trace'], cwd=link_dir, capture_output=True,
                         text=True, timeout=300)
    if run.returncode != 0:
        sys.exit(f'the link with --trace failed:\n{run.stderr}')
    inputs = {os.path.normpath(re.sub(r'\(.*\)$', '', line.strip()))
              for line in (run.stdout + run.stderr).splitlines()}
    inputs = sorted(p for p in inputs if p.endswith(('.a', '.o', '.obj')))
    return inputs + ([output] if output.endswith('.js') else [])


def noticed(path):
    """The components that the notices have a section for (a name between two rules)."""
    if zipfile.is_zipfile(path):
        with zipfile.ZipFile(path) as z:
            text = z.read(NAME).decode('utf-8')
    else:
        with open(path, encoding='utf-8') as f:
            text = f.read()
    lines = text.replace('\r\n', '\n').split('\n')
    return {lines[i + 1] for i in range(len(lines) - 2) if lines[i] == lines[i + 2] == RULE}


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    artefact, link_dir, target, notices = sys.argv[1:]
    with open(os.path.join(HERE, 'linked_components.txt'), encoding='utf-8') as f:
        rows = [line.rstrip('\n').split('\t') for line in f if line.strip()[:1] not in '#']
    rows = [(re.compile(pattern), component) for name, pattern, component in rows
            if name == artefact]
    with tempfile.TemporaryDirectory() as scratch:
        inputs = linked_inputs(link_dir, target, scratch)
    if not rows or not inputs:
        sys.exit(f'no rows for {artefact} in linked_components.txt, or no inputs linked')
    failures, components = [], set()
    for path in inputs:
        owners = {component for pattern, component in rows if pattern.search(path)}
        if not owners:
            failures.append(f'{path} is linked in; linked_components.txt does not say what it is')
        components |= owners - {'ours'}
    failures += [f'{c} is linked in; {NAME} has no section for it'
                 for c in sorted(components - noticed(notices))]
    for failure in failures:
        print('FAIL: ' + failure)
    if not failures:
        print(f'PASS: {artefact}: {len(inputs)} inputs linked, from {len(components)} '
              f'third-party components, each with its notice: {"; ".join(sorted(components))}')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
