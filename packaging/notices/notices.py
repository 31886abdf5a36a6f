#!/usr/bin/python3
"""Writes THIRD-PARTY-NOTICES.txt for one artefact: every third-party component that
components.txt lists for it, each with the licence notices taken from the copyright file Debian
ships for it, as they stand there.

    notices.py ARTEFACT OUTPUT [--freeglut FOLDER]

FOLDER holds the copyright file and version of Debian's freeglut source package (@freeglut).
"""

import argparse
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
RULE = '=' * 78


def read_table(path):
    """The rows of components.txt as (artefact, component, package, selector)."""
    rows = []
    with open(path, encoding='utf-8') as table:
        for number, line in enumerate(table, 1):
            line = line.rstrip('\n')
            if not line or line.startswith('#'):
                continue
            fields = line.split('\t')
            if len(fields) != 4:
                sys.exit(f'{path}:{number}: want 4 tab-separated fields, not {len(fields)}')
            rows.append(tuple(fields))
    return rows


def paragraphs(text):
    """The paragraphs of a copyright file, each as its lines."""
    return [p.split('\n') for p in re.split(r'\n[ \t]*\n', text.strip('\n')) if p.strip()]


def field(paragraph, name):
    """A field's value: its first line and its continuation lines, or None."""
    for i, line in enumerate(paragraph):
        if line.lower().startswith(name.lower() + ':'):
            value = [line[len(name) + 1:].strip()]
            for more in paragraph[i + 1:]:
                if not more[:1].isspace():
                    break
                value.append(more)
            return value
    return None


def licence_names(expression):
    """The licence names in a licence expression such as 'Expat or NCSA~LLVM'."""
    expression = re.sub(r'\s+with\s+\S+\s+exception$', '', expression.strip())
    return [n for n in re.split(r'\s+(?:or|and)\s+|,\s*', expression) if n]


def select_files(text, pattern):
    """The Files paragraphs with a pattern that `pattern` matches, then the stand-alone texts of
    the licences they name without text."""
    found = paragraphs(text)
    standalone = {}
    for p in found:
        licence = field(p, 'License')
        if licence and field(p, 'Files') is None and len(licence) > 1:
            standalone[licence[0].strip().lower()] = p
    chosen, wanted = [], []
    for p in found:
        files = field(p, 'Files')
        if files is None or not any(re.match(pattern, f) for f in ' '.join(files).split()):
            continue
        chosen.append(p)
        licence = field(p, 'License')
        if licence and len(licence) == 1:
            # Licence names are compared without regard to case, as Debian's format says.
            for name in licence_names(licence[0].lower()):
                if name not in standalone:
                    sys.exit(f'the licence {name} has no text in the copyright file')
                if name not in wanted:
                    wanted.append(name)
    if not chosen:
        sys.exit(f'no Files paragraph matches {pattern}')
    return chosen + [standalone[name] for name in wanted]


def select_lines(text, start, end):
    """The lines from the first matching `start` to the one before the next matching `end`."""
    lines = text.split('\n')
    first = next((i for i, line in enumerate(lines) if re.search(start, line)), None)
    if first is None:
        sys.exit(f'no line matches {start}')
    last = next((i for i in range(first + 1, len(lines)) if re.search(end, lines[i])), None)
    if last is None:
        sys.exit(f'no line after {start} matches {end}')
    return [lines[first:last]]


def source(package, freeglut):
    """The copyright file's text, and a line saying where it comes from."""
    if package == '@freeglut':
        if not freeglut:
            sys.exit('@freeglut needs --freeglut FOLDER')
        with open(os.path.join(freeglut, 'version'), encoding='utf-8') as f:
            version = f.read().strip()
        path = os.path.join(freeglut, 'copyright')
        origin = f"Debian's source package freeglut {version}, debian/copyright"
    else:
        version = subprocess.run(['dpkg-query', '-W', '-f=${Version}', package],
                                 capture_output=True, text=True, check=True).stdout
        path = f'/usr/share/doc/{package}/copyright'
        origin = f"Debian's package {package} {version}, {path}"
    with open(path, encoding='utf-8') as f:
        return f.read(), origin


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('artefact')
    parser.add_argument('output')
    parser.add_argument('--freeglut', help="folder of freeglut's copyright file and version")
    args = parser.parse_args()

    rows = [r for r in read_table(os.path.join(HERE, 'components.txt')) if r[0] == args.artefact]
    if not rows:
        sys.exit(f'components.txt lists no component for {args.artefact}')
    sections = {}
    for _, component, package, selector in rows:
        text, origin = source(package, args.freeglut)
        kind, _, argument = selector.partition(':')
        if kind == 'files':
            chosen = select_files(text, argument)
        elif kind == 'lines' and '..' in argument:
            chosen = select_lines(text, *argument.split('..', 1))
        else:
            sys.exit(f'unknown selector {selector}')
        section = sections.setdefault(component, {'origins': [], 'parts': []})
        if origin not in section['origins']:
            section['origins'].append(origin)
        section['parts'] += ['\n'.join(p).rstrip() for p in chosen]

    out = [
        'Third-party notices',
        '',
        'Vorandel itself is under the MIT licence (LICENSE.txt). This copy also contains the',
        'following components, compiled or linked into it. Each one\'s copyright and licence',
        'notices follow, as Debian ships them in the copyright file named under its name.',
        '',
        'Components: ' + ', '.join(sections) + '.',
    ]
    for component, section in sections.items():
        out += ['', RULE, component, RULE]
        out += ['From ' + origin + '.' for origin in section['origins']]
        for part in section['parts']:
            out += ['', part]
    with open(args.output, 'w', encoding='utf-8', newline='\n') as f:
        f.write('\n'.join(out) + '\n')


if __name__ == '__main__':
    main()
