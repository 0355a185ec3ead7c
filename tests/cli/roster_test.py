#!/usr/bin/env python3
"""Rosters on the command line: --roster, scenarios that name presets, and
--compare, as a process shows them (statuses, the two streams, whole
tables), and rosters that are wrong or huge.

  roster_test.py PROGRAM SOURCE_DIR

The expected texts were written from what the options promise and checked
by hand against the figures of examples/NOTES.md (the tank duel is the
example session's combat).
"""
import json
import os
import subprocess
import sys
import tempfile
import time

PROGRAM = sys.argv[1]
SOURCE = sys.argv[2]
HINT = " (try 'zelvorn-odds --help')\n"
EXAMPLE_ROSTER = os.path.join(SOURCE, 'examples', 'roster.json')
DUEL = os.path.join(SOURCE, 'examples', 'tank_duel.json')
STAR = '*' * 79

failures = []


def check(name, args, files=None, out=None, err='', status=0, limit=60):
    """Runs the program in a folder holding `files`; None skips a stream."""
    with tempfile.TemporaryDirectory() as work:
        for file, text in (files or {}).items():
            with open(os.path.join(work, file), 'wb') as f:
                f.write(text.encode() if isinstance(text, str) else text)
        run = subprocess.run([PROGRAM] + args, cwd=work, capture_output=True,
                             timeout=limit)
    actual_out = run.stdout.decode('utf-8', 'replace')
    actual_err = run.stderr.decode('utf-8', 'replace')
    problems = []
    if run.returncode != status:
        problems.append('status %d, expected %d' % (run.returncode, status))
    if out is not None and actual_out != out:
        problems.append('standard output:\n%s\nexpected:\n%s' %
                        (actual_out[:1500], out[:1500]))
    if err is not None and actual_err != err:
        problems.append('standard error:\n%r\nexpected:\n%r' %
                        (actual_err[:1500], err[:1500]))
    if problems:
        failures.append(name + ': ' + '\n  '.join(problems))
    return actual_out


def presets(*units):
    return json.dumps({'presets': list(units)}, indent=1)


# --- The example roster ---------------------------------------------------

# No support fire and no rugged defense in the duel: the table leaves out
# the columns that would repeat the odds, hold only "-" or only 0.
TABLE_HEAD = (
    '                odds\n'
    'preset          attacker  defender  suppression\n')
check('the example duel through presets',
      ['--scenario', DUEL, '--roster', EXAMPLE_ROSTER],
      out='\n\n%s\n\nThe odds are 4 against the attacker, 5 against the '
          'defender.\n\nAlso, the attacker is predicted to inflict 3 '
          'suppression.\n\n%s\n\n' % (STAR, STAR))
check('every attacker of the example roster against the duel\'s defender',
      ['--scenario', DUEL, '--roster', EXAMPLE_ROSTER, '--compare', 'attacker'],
      out=TABLE_HEAD +
      'Mire Lancers           1         6            3\n'
      'Kettle Hound           1         5            4\n'
      'Brass Boar             4         5            3\n'
      'Old Ironside           3         4            2\n'
      'Ember Carriage  strength: missing (allowed: 1 to 999999999)\n',
      status=1)
check('every defender as CSV',
      ['--scenario', DUEL, '--roster', EXAMPLE_ROSTER, '--compare', 'defender',
       '--csv'],
      out='preset,attackerLosses,defenderLosses,defenderSuppression,'
          'attackerLossesNoSupport,defenderLossesNoSupport,'
          'defenderSuppressionNoSupport,ruggedChance,ruggedAttackerLosses,'
          'ruggedDefenderLosses,ruggedDefenderSuppression,error\n'
          'Thistle Guard,4,5,3,4,5,3,0,,,,\n'
          'Brass Boar,5,5,2,5,5,2,0,,,,\n'
          'Mire Lancers,5,1,0,5,1,0,0,,,,\n')


def names_in_order(args):
    out = check('order of ' + ' '.join(args[-2:]),
                ['--scenario', DUEL, '--roster', EXAMPLE_ROSTER] + args,
                out=None, status=1)
    return [line.split('  ')[0] for line in out.splitlines()[2:]]


# Rows that tie on the figure keep the roster's order (Brass Boar, Kettle
# Hound, Mire Lancers, Old Ironside, Ember Carriage).
for sort, order in [
        ('attackerLosses', ['Kettle Hound', 'Mire Lancers', 'Old Ironside',
                            'Brass Boar', 'Ember Carriage']),
        ('defenderLosses', ['Mire Lancers', 'Brass Boar', 'Kettle Hound',
                            'Old Ironside', 'Ember Carriage']),
        ('defenderSuppression', ['Kettle Hound', 'Brass Boar', 'Mire Lancers',
                                 'Old Ironside', 'Ember Carriage']),
        ('preset', ['Brass Boar', 'Kettle Hound', 'Mire Lancers',
                    'Old Ironside', 'Ember Carriage'])]:
    got = names_in_order(['--compare', 'attacker', '--sort', sort])
    if got != order:
        failures.append('--sort %s: %r, expected %r' % (sort, got, order))

lines = check(
    'rows as JSON Lines', ['--scenario', DUEL, '--roster', EXAMPLE_ROSTER,
                           '--compare', 'attacker', '--json'],
    out=None, status=1).splitlines()
rows = [json.loads(line) for line in lines]
# Each line as compact as JSON is written: no blank, no escape that a
# character does not need.
for line, row in zip(lines, rows):
    if line != json.dumps(row, separators=(',', ':'), ensure_ascii=False):
        failures.append('--compare --json line not compact: %r' % line)
if [r['preset'] for r in rows][-1] != 'Ember Carriage' or \
        rows[-1].get('error') != {'field': 'strength',
                              'message': 'missing (allowed: 1 to 999999999)'} \
        or rows[2]['odds'] != {'attackerLosses': 4, 'defenderLosses': 5,
                               'defenderSuppression': 3}:
    failures.append('--compare --json rows: %r' % rows)

# A name that needs quoting stays one CSV field; blanks and commas in names.
quoted = check('a CSV name with a comma and a quote',
               ['--scenario', 'duel.json', '--roster', 'r.json', '--compare',
                'attacker', '--csv'],
               files={'duel.json': json.dumps(
                   {'general': {'defenderClass': 2},
                    'defender': {'attackValue': 8, 'defenseValue': 6,
                                 'strength': 10}}),
                      'r.json': presets({'name': 'Boar, "the" 2nd',
                                         'sides': ['attacker'], 'class': 2,
                                         'attackValue': 10, 'defenseValue': 7,
                                         'strength': 10})},
               out=None)
if quoted.splitlines()[1:] != ['"Boar, ""the"" 2nd",4,5,3,4,5,3,0,,,,']:
    failures.append('CSV quoting: %r' % quoted)

# Names that a spreadsheet would take for a formula stay text in CSV; the
# table measures names as a terminal shows them and keeps to 80 columns,
# cutting a long name short (CSV and JSON keep it whole).
TANK = {'class': 2, 'attackValue': 10, 'defenseValue': 7, 'strength': 10}
LONG = 'Grand Armoured Company of the Northern Marches, Second Line'
NAMED = presets(*[dict(TANK, name=n, sides=['attacker'])
                  for n in ('=SUM(A1)', '+1', '@cmd', '-2', 'Ærøskøbing')])
DUEL_DEFENDER = json.dumps({'general': {'defenderClass': 2},
                            'defender': {'attackValue': 8, 'defenseValue': 6,
                                         'strength': 10}})
formulas = check('names that look like formulas, as CSV',
                 ['--scenario', 'duel.json', '--roster', 'r.json', '--compare',
                  'attacker', '--csv'],
                 files={'duel.json': DUEL_DEFENDER, 'r.json': NAMED}, out=None)
if formulas.splitlines()[1:] != [
        '"\'=SUM(A1)",4,5,3,4,5,3,0,,,,', '"\'+1",4,5,3,4,5,3,0,,,,',
        '"\'@cmd",4,5,3,4,5,3,0,,,,', '"\'-2",4,5,3,4,5,3,0,,,,',
        'Ærøskøbing,4,5,3,4,5,3,0,,,,']:
    failures.append('CSV of names that look like formulas: %r' % formulas)
check('a name with letters beyond ASCII is as wide as it is shown',
      ['--scenario', 'duel.json', '--roster', 'r.json', '--compare',
       'attacker'],
      files={'duel.json': DUEL_DEFENDER, 'r.json': presets(
          dict(TANK, name='Ærøskøbing', sides=['attacker']),
          dict(TANK, name='Brass', sides=['attacker']))},
      out='            odds\n'
          'preset      attacker  defender  suppression\n'
          'Ærøskøbing         4         5            3\n'
          'Brass              4         5            3\n')
long_table = check('a long name, cut short in the table',
                   ['--scenario', 'duel.json', '--roster', 'r.json',
                    '--compare', 'attacker'],
                   files={'duel.json': DUEL_DEFENDER, 'r.json': presets(
                       dict(TANK, name=LONG, sides=['attacker']))},
                   out='                                                 odds\n'
                       'preset' + ' ' * 43 + 'attacker  defender  suppression\n'
                       + LONG[:44] + '...         4         5            3\n')
whole = check('a long name, whole in JSON',
              ['--scenario', 'duel.json', '--roster', 'r.json', '--compare',
               'attacker', '--json'],
              files={'duel.json': DUEL_DEFENDER, 'r.json': presets(
                  dict(TANK, name=LONG, sides=['attacker']))}, out=None)
if json.loads(whole)['preset'] != LONG:
    failures.append('a long name in JSON: %r' % whole)
escaped = check('names with quotes, backslashes and letters beyond ASCII, in JSON',
                ['--scenario', 'duel.json', '--roster', 'r.json', '--compare',
                 'attacker', '--json', '--sort', 'preset'],
                files={'duel.json': DUEL_DEFENDER, 'r.json': presets(
                    dict(TANK, name='Boar "the" 2nd', sides=['attacker']),
                    dict(TANK, name='C:\\Ærø ✓', sides=['attacker']))}, out=None)
if [line[:line.index(',')] for line in escaped.splitlines()] != [
        '{"preset":"Boar \\"the\\" 2nd"', '{"preset":"C:\\\\Ærø ✓"']:
    failures.append('names in JSON: %r' % escaped)

# --- Options --------------------------------------------------------------

for name, args, message in [
        ('--compare alone', ['--compare', 'attacker'],
         '--compare needs --scenario'),
        ('--compare without a roster', ['--scenario', 's', '--compare',
                                        'attacker'],
         '--compare needs --roster'),
        ('--compare of no side', ['--scenario', 's', '--roster', 'r',
                                  '--compare', 'flank'],
         '--compare: flank is not a side (allowed: attacker, defender)'),
        ('--compare of an empty side', ['--scenario', 's', '--roster', 'r',
                                        '--compare='],
         '--compare: "" is not a side (allowed: attacker, defender)'),
        ('--compare with --vary', ['--scenario', 's', '--roster', 'r',
                                   '--compare', 'defender', '--vary',
                                   'attacker.strength=1..2'],
         '--compare and --vary exclude each other'),
        ('--sort without --compare', ['--scenario', 's', '--sort',
                                      'defenderLosses'],
         '--sort needs --compare or --advise'),
        ('--sort of no figure', ['--scenario', 's', '--roster', 'r',
                                 '--compare', 'attacker', '--sort', 'losses'],
         '--sort: losses is not a figure (allowed: preset, attackerLosses, '
         'defenderLosses, defenderSuppression, attackerLossesNoSupport, '
         'defenderLossesNoSupport, defenderSuppressionNoSupport, ruggedChance, '
         'ruggedAttackerLosses, ruggedDefenderLosses, '
         'ruggedDefenderSuppression)'),
        ('--roster without its file', ['--scenario', 's', '--roster'],
         'option --roster needs a value')]:
    check(name, args, err='zelvorn-odds: ' + message + HINT, out='', status=2)



def refused(name, roster, files=None, err='', status=1, limit=60):
    """A roster refused alike by --scenario and by the dialogue, which ends
    before its first question."""
    check(name, ['--scenario', 's.json', '--roster', roster],
          files=dict(files or {}, **{'s.json': '{}'}), out='', err=err,
          status=status, limit=limit)
    check(name + ', at the dialogue', ['--roster', roster], files=files,
          out='', err=err, status=status, limit=limit)


refused('a roster that cannot be read', 'nothere.json',
        err='zelvorn-odds: cannot read nothere.json: No such file or '
            'directory\n', status=2)

# --- Scenarios that name presets -----------------------------------------

ROSTER = presets(
    {'name': 'Hedge Knight', 'sides': ['attacker'], 'class': 2,
     'attackValue': 10, 'defenseValue': 7, 'strength': 10},
    {'name': 'Crag Warden', 'sides': ['defender'], 'class': 2,
     'attackValue': 8, 'defenseValue': 6, 'strength': 10})
TANK_ODDS = ('\n\n%s\n\nThe odds are 4 against the attacker, 5 against the '
             'defender.\n\nAlso, the attacker is predicted to inflict 3 '
             'suppression.\n\n%s\n\n' % (STAR, STAR))
for name, scenario, args, out, err, status in [
        ('both sides named', {'attacker': {'preset': 'Hedge Knight'},
                              'defender': {'preset': 'Crag Warden'}},
         ['--roster', 'r.json'], TANK_ODDS, '', 0),
        ('a field beside the name wins',
         {'attacker': {'preset': 'Hedge Knight', 'strength': 1},
          'defender': {'preset': 'Crag Warden', 'strength': 10}},
         ['--roster', 'r.json'], None, '', 0),
        ('a name without a roster', {'attacker': {'preset': 'Hedge Knight'}},
         [], '', 's.json:1: attacker.preset: "Hedge Knight" names a preset, '
         'but there is no roster (allowed: with --roster FILE)\n', 1),
        ('a name the roster lacks',
         {'attacker': {'preset': 'Hedge Knight'},
          'defender': {'preset': 'Crag Wardens'}},
         ['--roster', 'r.json'], '',
         's.json:1: defender.preset: no preset named "Crag Wardens" in the '
         'roster (allowed: a preset of the roster for the defender)\n', 1),
        ('a defender named as attacker',
         {'attacker': {'preset': 'Crag Warden'},
          'defender': {'preset': 'Crag Warden'}},
         ['--roster', 'r.json'], '',
         's.json:1: attacker.preset: "Crag Warden" is a preset for the '
         'defender only (allowed: a preset for the attacker)\n', 1)]:
    got = check(name, ['--scenario', 's.json'] + args,
                files={'s.json': json.dumps(scenario), 'r.json': ROSTER},
                out=out, err=err, status=status)
    if name == 'a field beside the name wins' and \
            ('The odds are' not in got or got == TANK_ODDS):
        failures.append('%s: the preset\'s strength was taken: %r' %
                        (name, got))

check('--compare takes one scenario',
      ['--scenario', 's.jsonl', '--roster', 'r.json', '--compare',
       'defender', '--csv'],
      files={'s.jsonl': json.dumps({'attacker': {'preset': 'Hedge Knight'}}) +
             '\n' + json.dumps({}) + '\n', 'r.json': ROSTER},
      out='',
      err='s.jsonl:2: scenario: a second scenario (allowed: one scenario '
          'with --compare)\n', status=1)
# A roster with nothing to compare is at fault, and says what it holds.
for side, roster, held in [
        ('defender', presets({'name': 'Hedge Knight', 'sides': ['attacker']}),
         'its presets are for the attacker only'),
        ('attacker', presets({'name': 'Crag Warden', 'sides': ['defender']}),
         'its presets are for the defender only'),
        ('attacker', presets(), 'it holds no preset')]:
    check('--compare %s with no preset for it' % side,
          ['--scenario', 's.json', '--roster', 'r.json', '--compare', side],
          files={'s.json': '{}', 'r.json': roster},
          out='', err='r.json:1: roster: no preset for the %s; %s (allowed: '
                      'presets whose sides include the %s)\n' %
                      (side, held, side), status=1)
# The side that is compared is replaced: the preset that the scenario names
# for it need not be in the roster.
for side, scenario in [
        ('defender', {'attacker': {'preset': 'Hedge Knight'},
                      'defender': {'preset': 'Long Gone'}}),
        ('attacker', {'attacker': {'preset': 'Long Gone'},
                      'defender': {'preset': 'Crag Warden'}})]:
    check('--compare %s of a scenario that names a preset the roster lacks '
          'for it' % side,
          ['--scenario', 's.json', '--roster', 'r.json', '--compare', side,
           '--csv'],
          files={'s.json': json.dumps(scenario), 'r.json': ROSTER},
          out=None)
# A compared preset without a class is told by the preset's own field, with
# the words of its menu.
check('a compared preset without a class',
      ['--scenario', 's.json', '--roster', 'r.json', '--compare', 'attacker'],
      files={'s.json': json.dumps({'defender': {'preset': 'Crag Warden'}}),
             'r.json': presets({'name': 'Classless', 'sides': ['attacker'],
                                'attackValue': 10, 'defenseValue': 7,
                                'strength': 10},
                               {'name': 'Crag Warden', 'sides': ['defender'],
                                'class': 2, 'attackValue': 8,
                                'defenseValue': 6, 'strength': 10})},
      out='           odds\n'
          'preset     attacker  defender  suppression\n'
          'Classless  class: missing (allowed: "infantry", "tank", "recon", '
          '"anti-tank",\n'
          '           "fort", "artillery", "air-defense", "fighter", "bomber", '
          '"naval\n'
          '           units", "half-track", or 1 to 11)\n', status=1)

# --- Rosters that are wrong ----------------------------------------------

SITUATION = '''{"presets": [
  {"name": "Hedge Knight", "sides": ["attacker"],
   "class": 2, "strength": 10, "attackValue": 1e400,
   "outOfFuel": false},
  {"name": "Crag Warden", "sides": ["defender"], "class": 13},
  {"name": "Hedge Knight", "sides": ["attacker"], "flavour": "salty"}
]}
'''
refused('every problem of a roster, each on its line, and no figures',
        'bad.json', files={'bad.json': SITUATION},
        err='bad.json:3: preset "Hedge Knight": attackValue: the number is out '
            'of range (allowed: 1 to 999999999)\n'
            'bad.json:4: preset "Hedge Knight": outOfFuel: part of the '
            'combat\'s situation, not of a unit (allowed: name, sides, class, '
            'isInfantry, infantryLeader, attackValue, initiative, defenseValue, '
            'rangedDefense, experience, firingRange, strength, entrenchment, '
            'canMoveAfter, antiTankHasLeader, combatSupport, leaderChoice)\n'
            'bad.json:5: preset "Crag Warden": class: 13 is out of range '
            '(allowed: 1 to 12)\n'
            'bad.json:6: preset "Hedge Knight": flavour: unknown name (allowed: '
            'name, sides, class, isInfantry, infantryLeader, attackValue, '
            'initiative, defenseValue, rangedDefense, experience, firingRange, '
            'strength, entrenchment, canMoveAfter, antiTankHasLeader, '
            'combatSupport, leaderChoice)\n'
            'bad.json:6: preset "Hedge Knight": name: given to another preset '
            'too, on line 2 (allowed: a name of its own)\n')
many_problems = '{"presets": [\n' + ',\n'.join(
    '{"name": "P%d", "sides": ["attacker"], "strength": 0}' % i
    for i in range(23)) + '\n]}'
refused('at most 20 problems, then how many more', 'r.json',
        files={'r.json': many_problems},
        err=''.join('r.json:%d: preset P%d: strength: 0 is out of range '
                    '(allowed: 1 to 999999999)\n' % (i + 2, i)
                    for i in range(20)) + 'r.json:1: and 3 more\n',)

# A file of 20 MB is refused at once, as is one that never ends.
big = '{"presets": [' + ','.join(
    '{"name": "Unit number %07d", "sides": ["attacker"], "strength": 10}' % i
    for i in range(300000)) + ']}'
assert len(big) > 20 * 1000 * 1000
refused('a roster of 20 MB', 'r.json', files={'r.json': big},
        err='r.json:1: roster: longer than 16 MiB (allowed: a roster of at '
            'most 16 MiB)\n')
refused('a roster that never ends', '/dev/zero',
        err='/dev/zero:1: roster: longer than 16 MiB (allowed: a roster of at '
            'most 16 MiB)\n')

# 100,000 presets are the most a roster holds: all are compared, quickly;
# one more is refused.
def hundred_thousand(extra):
    return '{"presets": [\n' + ',\n'.join(
        '{"name":"T%d","sides":["attacker"],"class":2,"attackValue":%d,'
        '"defenseValue":7,"strength":10}' % (i, 1 + i % 20)
        for i in range(100000 + extra)) + '\n]}'


started = time.monotonic()
table = check('100000 presets compared',
              ['--scenario', 'duel.json', '--roster', 'r.json', '--compare',
               'attacker', '--csv'],
              files={'duel.json': json.dumps(
                  {'general': {'defenderClass': 2},
                   'defender': {'attackValue': 8, 'defenseValue': 6,
                                'strength': 10}}),
                  'r.json': hundred_thousand(0)}, out=None, limit=120)
lines = table.splitlines()
if len(lines) != 100001 or 'T9,4,5,3,4,5,3,0,,,,' not in lines:
    failures.append('100000 presets: %d lines, T9 (the duel\'s attacker) '
                    'not as in the duel' % len(lines))
check('one preset more than a roster holds',
      ['--scenario', 's.json', '--roster', 'r.json'],
      files={'s.json': '{}', 'r.json': hundred_thousand(1)}, out='',
      err='r.json:100002: presets: more than 100000 presets (allowed: at '
          'most 100000)\n', status=1, limit=120)

# --- The dialogue with a roster ------------------------------------------


def dialogue(answers, roster=EXAMPLE_ROSTER, text=None):
    """The dialogue with `roster` (or a roster of `text`) on `answers`."""
    with tempfile.TemporaryDirectory() as work:
        if text is not None:
            roster = os.path.join(work, 'r.json')
            with open(roster, 'w') as f:
                f.write(text)
        return subprocess.run([PROGRAM, '--roster', roster],
                              input=answers.encode(), capture_output=True,
                              timeout=60)


with open(os.path.join(SOURCE, 'tests', 'transcripts',
                       'preset_fewest_answers.in')) as f:
    fewest = f.read().splitlines(True)
# Two presets in clear terrain without support fire: the odds come after the
# two names and eight questions of the situation, each read after its ">> ".
run = dialogue(''.join(fewest))
before_odds = run.stdout.decode().split('The odds are')[0]
if before_odds.count('>> ') != 10 or len(fewest) != 12 or run.returncode:
    failures.append('the odds of two presets came after %d answers (status '
                    '%d)' % (before_odds.count('>> '), run.returncode))

# A name that is no preset of the side is asked again, with the closest
# names of that side, at most five; the case of letters counts only where
# two names differ in nothing else.
NAMES = presets(*({'name': name, 'sides': ['defender']} for name in
                  ('Ash', 'Ask', 'Asp', 'Bash', 'Cash', 'Dash', 'Zebra',
                   'ASH')), {'name': 'Ashen', 'sides': ['attacker']})
ASKED_AGAIN = ('\nThe roster has no preset of that name for the defending '
               'unit%s.  Please reenter:\n>> ')
DEFENDER_PRESET = ('\nPlease enter the preset of the defending unit, or '
                   'nothing to enter its values:\n>> ')
for name, text, answers, closest in [
        ('the closest names, at most five', NAMES, '\nash\nAsh\n',
         ['; the closest: ASH, Ash, Ask, Asp, Bash']),
        ('a name of the other side', NAMES, '\nAshen\nzebra\n',
         ['; the closest: ASH, Ash, Ask, Asp, Bash']),
        ('no name for the side at all',
         presets({'name': 'Ashen', 'sides': ['attacker']}), '\nx\n\n',
         [''])]:
    out = dialogue(answers, text=text).stdout.decode()
    wanted = DEFENDER_PRESET + ''.join(ASKED_AGAIN % m for m in closest)
    # Once a name is taken, the general factors follow.
    if wanted + '\n\nGeneral Factors:' not in out:
        failures.append('%s: %r' % (name, out[:900]))

# The figures that --sort takes, as the program prints them.
check('--print-figures', ['--print-figures'],
      out='preset\nattackerLosses\ndefenderLosses\ndefenderSuppression\n'
          'attackerLossesNoSupport\ndefenderLossesNoSupport\n'
          'defenderSuppressionNoSupport\nruggedChance\nruggedAttackerLosses\n'
          'ruggedDefenderLosses\nruggedDefenderSuppression\n')

for failure in failures:
    print(failure)
print('%d problems' % len(failures))
sys.exit(1 if failures else 0)
