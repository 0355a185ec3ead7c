#!/usr/bin/env python3
"""The documentation's examples run as written, and its version agrees.

  docs_examples_test.py PROGRAM SOURCE_DIR

An example is a command shown with its output, in README.md and in every
docs/*.md: inside a fenced block marked `text`, a line that starts with
`$ ` is a command, and the lines after it, up to the next `$ ` line or the
end of the block, are its output, each line ended by a line feed. The
command runs with `sh -c` in SOURCE_DIR, with PROGRAM first on PATH under
the name zelvorn-odds, and its standard output must equal the lines shown
byte for byte. Standard error is shown only where the command itself sends
it to standard output (`2>&1`), and the exit status is not compared (a
--compare table with an error row ends with status 1, as shown). Blocks
marked otherwise (`sh`, `json`) are not run. A command uses only files of
the repository and writes none there.

A link to a file of the repository leads to a file that exists, and its
`#anchor` to a heading of that file. The version is told alike by
--version, the latest entry of CHANGELOG.md, the manual's title line and
the Debian changelog.
"""
import difflib
import glob
import os
import re
import subprocess
import sys
import tempfile

PROGRAM = os.path.abspath(sys.argv[1])
SOURCE = os.path.abspath(sys.argv[2])

failures = []


def examples(path):
    """(line number, command, output shown) of each example in PATH."""
    found = []
    in_block = in_text = False
    command = None  # the example whose output lines are being read
    with open(path, encoding='utf-8') as f:
        lines = f.read().split('\n')
    for number, line in enumerate(lines, 1):
        if line.lstrip().startswith('```'):
            # A fence closes the open block, or opens one whose first word
            # says what it holds.
            in_text = not in_block and line.strip()[3:].strip() == 'text'
            in_block = not in_block
            command = None
        elif in_text and line.startswith('$ '):
            command = (number, line[2:], [])
            found.append(command)
        elif command:
            command[2].append(line)
    return [(number, command, ''.join(l + '\n' for l in output))
            for number, command, output in found]


documents = [os.path.join(SOURCE, 'README.md')] + \
    sorted(glob.glob(os.path.join(SOURCE, 'docs', '*.md')))
count = 0
with tempfile.TemporaryDirectory() as bin_dir:
    os.symlink(PROGRAM, os.path.join(bin_dir, 'zelvorn-odds'))
    env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ['PATH'],
               LC_ALL='C')
    for document in documents:
        shown = os.path.relpath(document, SOURCE)
        for number, command, expected in examples(document):
            count += 1
            run = subprocess.run(['sh', '-c', command], cwd=SOURCE, env=env,
                                 capture_output=True, timeout=60)
            if run.stdout != expected.encode('utf-8'):
                difference = ''.join(difflib.unified_diff(
                    expected.splitlines(True),
                    run.stdout.decode('utf-8', 'replace').splitlines(True),
                    'shown', 'printed'))
                failures.append('%s:%d: $ %s\n%s%s' % (
                    shown, number, command, difference,
                    '(standard error: %r)\n' % run.stderr.decode(
                        'utf-8', 'replace') if run.stderr else ''))

# The README shows examples of its own, so a test that finds none has
# misread the blocks.
if count < 5:
    failures.append('only %d examples found in %s' %
                    (count, ', '.join(os.path.relpath(d, SOURCE)
                                      for d in documents)))


# --- Links ---------------------------------------------------------------

def anchors(path):
    """The anchors of the headings of the Markdown file PATH, as GitHub
    makes them: lower case, blanks as hyphens, other signs dropped."""
    with open(path, encoding='utf-8') as f:
        headings = re.findall(r'^#+ (.*)$', f.read(), re.M)
    return {re.sub(r'[^a-z0-9 _-]', '', h.lower()).replace(' ', '-')
            for h in headings}


for document in documents + [os.path.join(SOURCE, 'CHANGELOG.md')]:
    with open(document, encoding='utf-8') as f:
        text = f.read()
    for target in re.findall(r'\]\(([^)\s]+)\)', text):
        if re.match(r'[a-z]+:', target):
            continue  # another host's address, not checked offline
        path, _, anchor = target.partition('#')
        full = os.path.normpath(os.path.join(os.path.dirname(document), path))
        if not os.path.exists(full):
            failures.append('%s: link to %s: no such file' %
                            (os.path.relpath(document, SOURCE), target))
        elif anchor and anchor not in anchors(full):
            failures.append('%s: link to %s: no such heading' %
                            (os.path.relpath(document, SOURCE), target))


# --- The version ---------------------------------------------------------

def first_match(path, pattern):
    if not os.path.exists(path):
        return None
    with open(path, encoding='utf-8') as f:
        for line in f:
            match = re.match(pattern, line)
            if match:
                return match.group(1)
    return None


version_out = subprocess.run([PROGRAM, '--version'], capture_output=True,
                             timeout=20).stdout.decode()
version = version_out.removeprefix('zelvorn-odds ').rstrip('\n')
for place, found in [
        ('CHANGELOG.md', first_match(os.path.join(SOURCE, 'CHANGELOG.md'),
                                     r'## (\S+)')),
        ('man/zelvorn-odds.1', first_match(
            os.path.join(SOURCE, 'man', 'zelvorn-odds.1'),
            r'\.TH .* "zelvorn-odds (\S+)"')),
        ('cmake/debian/changelog.in', first_match(
            os.path.join(SOURCE, 'cmake', 'debian', 'changelog.in'),
            r'zelvorn-odds \((\S+)\)'))]:
    if found != version:
        failures.append('%s names version %r, --version prints %r' %
                        (place, found, version))

if failures:
    print('\n\n'.join(failures))
    sys.exit(1)
print('%d examples of %d documents as shown, their links whole; '
      'version %s told alike' %
      (count, len(documents), version))
