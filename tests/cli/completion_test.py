#!/usr/bin/env python3
"""The bash completion script as bash runs it: it is registered for
zelvorn-odds (complete -p), and its function, called with COMP_WORDS and
COMP_CWORD as bash sets them, completes options, the fields after --vary,
the figures after --sort, the sides after --compare and file names.

  completion_test.py PROGRAM SOURCE_DIR
"""
import os
import shutil
import subprocess
import sys

PROGRAM, SOURCE = sys.argv[1], sys.argv[2]
SCRIPT = os.path.join(SOURCE, 'completion', 'zelvorn-odds.bash')
BASH = shutil.which('bash')
if BASH is None:
    print('bash is not installed: skipped')
    sys.exit(77)


def quoted(word):
    return "'" + word.replace("'", "'\\''") + "'"


def bash(commands):
    run = subprocess.run([BASH, '--norc', '--noprofile', '-c',
                          'source %s\n%s' % (quoted(SCRIPT), commands)],
                         cwd=SOURCE, capture_output=True, timeout=60)
    return run.stdout.decode(), run.stderr.decode()


def completions(*words):
    """COMPREPLY for the command line PROGRAM WORDS..., the last word being
    completed."""
    out, err = bash('COMP_WORDS=(%s)\nCOMP_CWORD=%d\n_zelvorn_odds\n'
                    'printf "%%s\\n" "${COMPREPLY[@]}"' %
                    (' '.join(quoted(w) for w in (PROGRAM,) + words),
                     len(words)))
    return [line for line in out.split('\n') if line], err


failures = []
out, err = bash('complete -p zelvorn-odds')
if out != 'complete -F _zelvorn_odds zelvorn-odds\n':
    failures.append('complete -p: %r %r' % (out, err))

for words, wanted in [
        (('--ver',), ['--version']),
        (('--print-f',), ['--print-fields', '--print-figures']),
        (('--scenario', 'examples/tank_duel.json', '--r'), ['--roster']),
        (('--scenario', 's.json', '--vary', 'attacker.stre'),
         ['attacker.strength=']),
        (('--vary', 'artillery.0.ex'), ['artillery.0.experience=']),
        (('--compare', 'attacker', '--sort', 'ruggedDefender'),
         ['ruggedDefenderLosses', 'ruggedDefenderSuppression']),
        (('--compare', ''), ['attacker', 'defender']),
        (('--roster', 'examples/rost'), ['examples/roster.json']),
        (('examples/first_combat.i',), ['examples/first_combat.in'])]:
    got, err = completions(*words)
    if sorted(got) != sorted(wanted) or err:
        failures.append('%s: %r, expected %r %s' % (' '.join(words), got,
                                                   wanted, err))

# Every option of --help is offered, and every field of --print-fields.
options, _ = completions('--')
for option in ('--help', '--roster', '--vary', '--sort', '--compare',
               '--print-fields', '--print-figures', '--no-editing'):
    if option not in options:
        failures.append('-- does not offer %s: %r' % (option, options))
fields = subprocess.run([PROGRAM, '--print-fields'],
                        capture_output=True).stdout.decode().split()
offered, _ = completions('--vary', '')
if offered != [field + '=' for field in fields] or len(fields) < 20:
    failures.append('--vary offers %r for the fields %r' % (offered, fields))

for failure in failures:
    print(failure)
print('%d problems' % len(failures))
sys.exit(1 if failures else 0)
