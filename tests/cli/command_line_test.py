#!/usr/bin/env python3
"""The command line as a user meets it: options, answer files, scenario files
good and bad, sweeps, and input that cannot be read.

  command_line_test.py PROGRAM SOURCE_DIR

Each case gives the arguments, the standard input, the files it needs, and
the standard output, standard error and exit status it expects; every
expected text below was written from what the options promise, not taken
from the program.
"""
import json
import os
import pty
import re
import signal
import subprocess
import sys
import tempfile

PROGRAM = sys.argv[1]
SOURCE = sys.argv[2]
HINT = " (try 'zelvorn-odds --help')\n"
SEPARATOR = '\n\n' + '*' * 79

# A tank attacking a tank, 10 against 10: 4 against the attacker, 5 against
# the defender, 3 suppression.
TANKS = {'general': {'attackerClass': 2, 'defenderClass': 2},
         'attacker': {'attackValue': 10, 'defenseValue': 7, 'strength': 10},
         'defender': {'attackValue': 8, 'defenseValue': 6, 'strength': 10}}
TANKS_ODDS = (SEPARATOR + '\n\nThe odds are 4 against the attacker, 5 against '
              'the defender.\n\nAlso, the attacker is predicted to inflict 3 '
              'suppression.' + SEPARATOR + '\n\n')


def line(scenario):
    return json.dumps(scenario) + '\n'


def changed(path, value, base=TANKS):
    """The scenario with one value put in (or taken out, for None)."""
    scenario = json.loads(json.dumps(base))
    place = scenario
    for key in path[:-1]:
        place = place.setdefault(key, {})
    if value is None:
        place.pop(path[-1], None)
    else:
        place[path[-1]] = value
    return scenario


def read(path):
    with open(os.path.join(SOURCE, path), 'rb') as f:
        return f.read()


failures = []


def first_prompt_of_dialogue():
    return subprocess.run([PROGRAM], input=b'',
                          capture_output=True).stdout.decode()


def check(name, args, stdin=b'', files=None, out=None, err='', status=0,
          out_pattern=None, err_pattern=None):
    with tempfile.TemporaryDirectory() as work:
        for file, text in (files or {}).items():
            with open(os.path.join(work, file), 'wb') as f:
                f.write(text.encode() if isinstance(text, str) else text)
        run = subprocess.run([PROGRAM] + args, input=stdin, cwd=work,
                             capture_output=True, timeout=60)
    actual_out = run.stdout.decode('latin-1')
    actual_err = run.stderr.decode('latin-1')
    problems = []
    if run.returncode != status:
        problems.append('status %d, expected %d' % (run.returncode, status))
    if out is not None and actual_out != out:
        problems.append('standard output:\n%r\nexpected:\n%r' %
                        (actual_out[:600], out[:600]))
    if out_pattern is not None and not re.search(out_pattern, actual_out, re.S):
        problems.append('standard output %r does not match %r' %
                        (actual_out[:300], out_pattern))
    if err is not None and err_pattern is None and actual_err != err:
        problems.append('standard error:\n%r\nexpected:\n%r' %
                        (actual_err[:600], err[:600]))
    if err_pattern is not None and not re.fullmatch(err_pattern, actual_err, re.S):
        problems.append('standard error %r does not match %r' %
                        (actual_err[:600], err_pattern))
    if problems:
        failures.append(name + ': ' + '\n  '.join(problems))
    return run


# --- Options -------------------------------------------------------------

usage = subprocess.run([PROGRAM, '--help'], capture_output=True).stdout.decode()
for option in ('-h, --help', '-V, --version', '--no-editing', '--echo',
               '--save FILE', '--scenario FILE', '--json', '--csv',
               '--vary FIELD=FROM..TO', 'Exit status'):
    if option not in usage:
        failures.append('--help does not show %s' % option)
if not usage.startswith('Usage: zelvorn-odds [OPTION]... [FILE]\n'):
    failures.append('--help does not begin with the usage line')
check('-h', ['-h'], out=usage)
check('--version', ['--version'], out='zelvorn-odds 1.3.0\n')
check('-V', ['-V'], out='zelvorn-odds 1.3.0\n')

for name, args, message in [
        ('unknown long option', ['--bogus'], 'unknown option --bogus'),
        ('unknown option with a value', ['--bogus=3'], 'unknown option --bogus'),
        ('unknown short option', ['-x'], 'unknown option -x'),
        ('missing value', ['--save'], 'option --save needs a value'),
        ('missing value of --vary', ['--scenario', 's', '--vary'],
         'option --vary needs a value'),
        ('two answer files', ['a', 'b'], 'unexpected argument b'),
        ('an empty scenario file name', ['--scenario='],
         '--scenario: the file name is empty (allowed: a file name, or - for '
         'standard input)'),
        ('an empty roster file name', ['--scenario', 's', '--roster', ''],
         '--roster: the file name is empty (allowed: a file name)'),
        ('an empty answer file name', [''],
         'FILE: the file name is empty (allowed: a file name, or - for '
         'standard input)'),
        ('--json alone', ['--json'], '--json needs --scenario'),
        ('--vary alone', ['--vary', 'x=1..2'], '--vary needs --scenario'),
        ('--csv without --vary', ['--scenario', 's', '--csv'],
         '--csv needs --vary, --compare or --advise'),
        ('--json with --csv', ['--scenario', 's', '--vary', 'a=1..2', '--json',
                               '--csv'],
         '--json and --csv exclude each other'),
        ('--advise alone', ['--advise'], '--advise needs --scenario'),
        ('--advise with --compare',
         ['--scenario', 's', '--roster', 'r', '--advise', '--compare', 'attacker'],
         '--advise and --compare exclude each other'),
        ('--advise with --vary', ['--scenario', 's', '--advise', '--vary', 'a=1..2'],
         '--advise and --vary exclude each other'),
        ('--advise sorted by the preset\'s name',
         ['--scenario', 's', '--advise', '--sort', 'preset'],
         '--sort: preset is not a figure (allowed: attackerLosses, '
         'defenderLosses, defenderSuppression, attackerLossesNoSupport, '
         'defenderLossesNoSupport, defenderSuppressionNoSupport, ruggedChance, '
         'ruggedAttackerLosses, ruggedDefenderLosses, '
         'ruggedDefenderSuppression)'),
        ('--advise twice', ['--scenario', 's', '--advise', '--advise'],
         'option --advise given twice'),
        ('--save with --scenario', ['--scenario', 's', '--save', 'x'],
         '--save goes with the questions, not with --scenario'),
        ('--vary of the wrong form', ['--scenario', 's', '--vary', 'strength'],
         '--vary: expected FIELD=FROM..TO, such as attacker.strength=1..20'),
        ('--vary with a word', ['--scenario', 's', '--vary', 'a=1..z'],
         '--vary: FROM and TO must be whole numbers, as in '
         'attacker.strength=1..20'),
        ('--vary without its =',
         ['--scenario', 's', '--vary', 'attacker.strength', '1..15'],
         '--vary: expected FIELD=FROM..TO, such as attacker.strength=1..20 '
         '(the = is missing: write attacker.strength=1..15 as one argument)'),
        ('--vary of a misspelt field',
         ['--scenario', 's', '--vary', 'attacker.strenght=1..15'],
         '--vary: attacker.strenght: unknown field (did you mean '
         'attacker.strength?)'),
        ('--vary of a misspelt field of a piece',
         ['--scenario', 's', '--vary', 'artillery.3.experiense=1..2'],
         '--vary: artillery.3.experiense: unknown field (did you mean '
         'artillery.3.experience?)'),
        ('--vary of a field as near to two: the first in the dialogue\'s order',
         ['--scenario', 's', '--vary', 'defacker.strength=1..2'],
         '--vary: defacker.strength: unknown field (did you mean '
         'attacker.strength?)'),
        ('--vary of a field four edits away',
         ['--scenario', 's', '--vary', 'attacker.entrench=1..2'],
         '--vary: attacker.entrench: unknown field (allowed: a whole-number '
         'field such as attacker.strength, artillery.0.experience or '
         'attacker.combatSupport.0)'),
        ('--vary of a field far from any',
         ['--scenario', 's', '--vary', 'attacker.bogus=1..2'],
         '--vary: attacker.bogus: unknown field (allowed: a whole-number field '
         'such as attacker.strength, artillery.0.experience or '
         'attacker.combatSupport.0)'),
        ('--vary of a yes/no field',
         ['--scenario', 's', '--vary', 'general.isAssault=0..1'],
         '--vary: general.isAssault: not a whole-number field (allowed: a '
         'whole-number field such as attacker.strength, artillery.0.experience '
         'or attacker.combatSupport.0)'),
        ('--vary out of range', ['--scenario', 's', '--vary',
                                 'attacker.strength=0..5'],
         '--vary: attacker.strength: 0..5 leaves the range (allowed: 1 to '
         '999999999)'),
        ('--vary of too many values',
         ['--scenario', 's', '--vary', 'attacker.strength=1..100001'],
         '--vary: attacker.strength: 100001 values are too many (allowed: at '
         'most 100000)'),
        ('--vary with FROM above TO',
         ['--scenario', 's', '--vary', 'attacker.strength=5..2'],
         '--vary: attacker.strength: FROM is above TO (allowed: FROM..TO with '
         'FROM at most TO)'),
        ('--vary twice', ['--scenario', 's', '--vary', 'attacker.strength=1..2',
                          '--vary', 'defender.strength=1..2'],
         'option --vary given twice'),
        ('--scenario twice', ['--scenario', 'a', '--scenario=b'],
         'option --scenario given twice'),
        ('--json twice', ['--scenario', 'a', '--json', '--json'],
         'option --json given twice'),
        ('--save twice', ['--save', 'a', '--save', 'b'],
         'option --save given twice'),
        ('-V twice', ['-V', '--version'], 'option --version given twice')]:
    check(name, args, err='zelvorn-odds: ' + message + HINT, out='', status=2)

# --- The dialogue's answers ---------------------------------------------

# A file named on the command line, or standard input given as -, is read
# exactly as piped answers are.
answers = read('tests/transcripts/combat_first_strike.in')
expected = read('tests/transcripts/combat_first_strike.out').decode('latin-1')
check('answers from a file', ['answers.txt'],
      files={'answers.txt': answers}, out=expected)
check('answers from standard input as -', ['-'], stdin=answers, out=expected)
check('an answer file that cannot be read', ['/proc/self/mem'],
      out=first_prompt_of_dialogue(),
      err='zelvorn-odds: cannot read the answers: Input/output error\n',
      status=2)
check('an answer file that is not there', ['missing.txt'], out='',
      err='zelvorn-odds: cannot read missing.txt: No such file or directory\n',
      status=2)

# Answers that cannot be read: what was printed stays, one line names the
# cause, status 2.
first_prompt = subprocess.run([PROGRAM], input=b'',
                              capture_output=True).stdout.decode()
for name, run in [
        ('a directory as the answers',
         lambda: subprocess.run(['sh', '-c', 'exec "$0" < /', PROGRAM],
                                capture_output=True)),
        ('standard input closed',
         lambda: subprocess.run(['sh', '-c', 'exec "$0" <&-', PROGRAM],
                                capture_output=True))]:
    result = run()
    cause = ('Is a directory' if 'directory' in name
             else 'Bad file descriptor')
    if (result.returncode != 2 or result.stdout.decode() != first_prompt or
            result.stderr.decode() !=
            'zelvorn-odds: cannot read the answers: %s\n' % cause):
        failures.append('%s: status %d, output %r, error %r' %
                        (name, result.returncode, result.stdout[-80:],
                         result.stderr))

# A read from the terminal by a process in the background, which may not
# stop for it, fails with an input/output error, with line editing or
# without; the message starts on a fresh line.
for options in ([], ['--no-editing']):
    pid, terminal = pty.fork()
    if pid == 0:
        background = os.fork()
        if background == 0:
            signal.signal(signal.SIGTTIN, signal.SIG_IGN)
            signal.signal(signal.SIGTTOU, signal.SIG_IGN)
            os.setpgid(0, 0)
            os.execv(PROGRAM, [PROGRAM] + options)
        _, status = os.waitpid(background, 0)
        os._exit(os.waitstatus_to_exitcode(status))
    seen = b''
    while True:
        try:
            chunk = os.read(terminal, 4096)
        except OSError:
            break
        if not chunk:
            break
        seen += chunk
    _, status = os.waitpid(pid, 0)
    if (os.waitstatus_to_exitcode(status) != 2 or
            not seen.endswith(b'>> \r\nzelvorn-odds: cannot read the answers: '
                              b'Input/output error\r\n')):
        failures.append('input/output error %r: status %d, output ends %r' %
                        (options, os.waitstatus_to_exitcode(status),
                         seen[-120:]))

# --echo shows each answer after its question, as if it had been typed.
echoed = check('--echo', ['--echo'], stdin=answers)
plain = expected.split('>> ')
typed = answers.decode('latin-1').split('\n')
interleaved = plain[0]
for i, rest in enumerate(plain[1:]):
    interleaved += '>> ' + typed[i] + '\n' + rest
if echoed.stdout.decode('latin-1') != interleaved:
    failures.append('--echo does not show the answers after their questions')

# --save: every computed combat becomes one scenario line.
check('--save where it cannot be written', ['--save', 'no/such/dir/s.jsonl'],
      stdin=answers, out='',
      err='zelvorn-odds: cannot write no/such/dir/s.jsonl: No such file or '
          'directory\n', status=2)
check('--save on a full disk', ['--save', '/dev/full'], stdin=answers,
      err='zelvorn-odds: cannot write /dev/full: No space left on device\n',
      out_pattern=r'The odds are', status=2)

# --- Scenario files ------------------------------------------------------

check('one scenario', ['--scenario', 's.json'], files={'s.json': line(TANKS)},
      out=TANKS_ODDS)
check('standard input as -', ['--scenario', '-'], stdin=line(TANKS).encode(),
      out=TANKS_ODDS)
check('one object over several lines', ['--scenario', 's.json'],
      files={'s.json': json.dumps(TANKS, indent=2)}, out=TANKS_ODDS)
check('a byte-order mark', ['--scenario', 's.json'],
      files={'s.json': b'\xef\xbb\xbf' + line(TANKS).encode()}, out=TANKS_ODDS)
check('JSON Lines with blank lines and carriage returns', ['--scenario', 's'],
      files={'s': line(TANKS) + '\n  \n' + line(TANKS).replace('\n', '\r\n')},
      out=TANKS_ODDS * 2)
check('a note for a field not asked', ['--scenario', 's'],
      files={'s': line(changed(['defender', 'inCity'], True))},
      out=TANKS_ODDS,
      err='s:1: defender.inCity: ignored: not asked for this combat\n')

# Every invalid scenario gets one line and no figures; the valid ones around
# it are computed.
for name, text, message in [
        ('malformed JSON', '{"general": }\n',
         ':13: scenario: not valid JSON: syntax error while parsing value - '
         "unexpected '}'; expected '[', '{', or a literal (allowed: one JSON "
         'object)'),
        ('a list, not an object', '[1, 2]\n',
         'scenario: must be a JSON object (allowed: general, attacker, '
         'defender, terrain, combatRange, attackerCloseDefense, artillery, '
         'attackerGroundDefense, airDefense, airplaneAirDefense, '
         'timesAttacked)'),
        ('deeply nested lists',
         line(TANKS).replace('{"attackerClass": 2, "defenderClass": 2}',
                             '[' * 5000 + ']' * 5000),
         'general: must be an object (allowed: attackerClass, '
         'defenderIsInfantry, defenderClass, isAssault, attackerInfantryLeader, '
         'defenderInfantryLeader, snowOrRain, overcast)'),
        ('nested bars', line(changed(['attacker', 'combatSupport'], [[1]])),
         'attacker.combatSupport.0: must be a whole number (allowed: 0 to '
         '999999999)'),
        ('a number beyond 64 bits',
         line(changed(['attacker', 'strength'], 123456789012345678901234)),
         'attacker.strength: the number is out of range (allowed: 1 to '
         '999999999)'),
        ('a number too large for a double',
         line(TANKS).replace('"attackValue": 10', '"attackValue": 1e400'),
         'attacker.attackValue: the number is out of range (allowed: 1 to '
         '999999999)'),
        ('a fraction', line(changed(['attacker', 'strength'], 1.5)),
         'attacker.strength: must be a whole number (allowed: 1 to 999999999)'),
        ('a number as a string', line(changed(['attacker', 'strength'], '7')),
         'attacker.strength: must be a whole number (allowed: 1 to 999999999)'),
        ('a negative number',
         line(changed(['defender', 'defenseValue'], -3)),
         'defender.defenseValue: -3 is out of range (allowed: 0 to 999999999)'),
        ('ten digits', line(changed(['defender', 'initiative'], 1000000000)),
         'defender.initiative: 1000000000 is out of range (allowed: 0 to '
         '999999999)'),
        ('a class past the menu', line(changed(['general', 'defenderClass'], 13)),
         'general.defenderClass: 13 is out of range (allowed: 1 to 12)'),
        ('a yes/no answer as a word',
         line(changed(['general', 'snowOrRain'], 'yes')),
         'general.snowOrRain: must be true, false or null (allowed: true, '
         'false, null)'),
        ('a misspelt name', line(changed(['attacker', 'strenght'], 5)),
         'attacker.strenght: unknown name (did you mean attacker.strength?)'),
        ('an unknown name far from any',
         line(changed(['attacker', 'entrench'], 5)),
         'attacker.entrench: unknown name (allowed: attackValue, initiative, '
         'defenseValue, rangedDefense, experience, firingRange, strength, '
         'entrenchment, inCityForestMountain, inRiver, canMoveAfter, '
         'outOfFuel, antiTankHasLeader, combatSupport, leaderChoice)'),
        ('a name given twice',
         line(TANKS).replace('"defenderClass": 2', '"defenderClass": 2, '
                             '"attackerClass": 3'),
         'general.attackerClass: given twice (allowed: once)'),
        ('a required field missing', line(changed(['attacker', 'strength'], None)),
         'attacker.strength: missing (allowed: 1 to 999999999)'),
        ('the range of the combat missing',
         line(changed(['attacker', 'firingRange'], 2)),
         'combatRange: missing (allowed: 1 to 999999999)'),
        ('an artillery piece without strength',
         line(changed(['artillery'], [{'attackValue': 3}])),
         'artillery.0.strength: missing (allowed: 1 to 999999999)'),
        ('a leading zero', line(TANKS).replace(': 10,', ': 010,', 1),
         ':85: scenario: not valid JSON: syntax error while parsing object - '
         "unexpected number literal; expected '}' (allowed: one JSON object)"),
        ('a hexadecimal number', line(TANKS).replace(': 10,', ': 0x0A,', 1),
         ":84: scenario: not valid JSON: syntax error while parsing object - "
         "invalid literal; last read: '0x'; expected '}' (allowed: one JSON "
         "object)"),
        ('a whole number with a fraction',
         line(changed(['attacker', 'strength'], 10.5)),
         'attacker.strength: must be a whole number (allowed: 1 to 999999999)'),
        ('a whole number written as a fraction, out of range',
         line(TANKS).replace('"strength": 10}', '"strength": 0.0}', 1),
         'attacker.strength: 0 is out of range (allowed: 1 to 999999999)'),
        ('a class by an unknown word',
         line(changed(['general', 'attackerClass'], 'tnak')),
         'general.attackerClass: unknown word "tnak" (allowed: "infantry", '
         '"tank", "recon", "anti-tank", "fort", "artillery", "air-defense", '
         '"fighter", "bomber", "naval units", "half-track", or 1 to 11)'),
        ('a word where no menu is', line(changed(['attacker', 'strength'], 'ten')),
         'attacker.strength: must be a whole number (allowed: 1 to 999999999)')]:
    check(name, ['--scenario', 'bad.jsonl'],
          files={'bad.jsonl': line(TANKS) + text + line(TANKS)},
          out=TANKS_ODDS * 2,
          err='bad.jsonl:2' + (message if message.startswith(':') else
                               ': ' + message) + '\n', status=1)

# Every problem of a scenario is told, each at the line of its field; at
# most 20 a scenario, then how many more.
SPREAD = '''{
  "general": {
    "attackerClass": "Tank",
    "defenderClass": 13
  },
  "attacker": {
    "attackValue": -1e400,
    "strenght": 10,
    "experience": -1
  },
  "defender": {"strength": 10, "combatSupport": [1,
      -2, 3]},
  "timesAttacked": 1
}
'''
check('every problem at the line of its field', ['--scenario', 's'],
      files={'s': SPREAD}, out='',
      err='s:4: general.defenderClass: 13 is out of range (allowed: 1 to 12)\n'
          's:7: attacker.attackValue: the number is out of range (allowed: 1 '
          'to 999999999)\n'
          's:8: attacker.strenght: unknown name (did you mean '
          'attacker.strength?)\n'
          's:9: attacker.experience: -1 is out of range (allowed: 0 to '
          '999999999)\n'
          's:12: defender.combatSupport.1: -2 is out of range (allowed: 0 to '
          '999999999)\n'
          's:6: attacker.strength: missing (allowed: 1 to 999999999)\n',
      status=1)
check('the same problems on one line', ['--scenario', 's'],
      files={'s': line(TANKS) + SPREAD.replace('\n', ' ') + '\n'},
      out=TANKS_ODDS,
      err_pattern=r'(s:2: [^\n]*\n){6}', status=1)
many_wrong = dict(TANKS, general=dict(TANKS['general'],
                                      **{'wrong%d' % i: 1 for i in range(25)}))
check('more than 20 problems', ['--scenario', 's'],
      files={'s': line(TANKS) + line(many_wrong)}, out=TANKS_ODDS,
      err=''.join('s:2: general.wrong%d: unknown name (allowed: attackerClass, '
                  'defenderIsInfantry, defenderClass, isAssault, '
                  'attackerInfantryLeader, defenderInfantryLeader, snowOrRain, '
                  'overcast)\n' % i for i in range(20)) + 's:2: and 5 more\n',
      status=1)
check('a note at the line of its field', ['--scenario', 's'],
      files={'s': json.dumps(changed(['defender', 'inCity'], True), indent=1)},
      out=TANKS_ODDS,
      err='s:15: defender.inCity: ignored: not asked for this combat\n')

# Whole numbers as JSON Schema counts them, and menu entries by their words.
for name, scenario in [
        ('10.0 and 1e1', line(TANKS).replace('"strength": 10}', '"strength": '
                                             '10.0}', 1).replace(
                                                 '"attackValue": 10', 
                                                 '"attackValue": 1e1')),
        ('classes by their words',
         line(changed(['general'], {'attackerClass': 'tank',
                                    'defenderClass': 'TANK'}))),
        ('a leader by its words',
         line(changed(['attacker', 'leaderChoice'], 'none of the above')))]:
    check(name, ['--scenario', 's'], files={'s': scenario}, out=TANKS_ODDS)

check('a line cut short', ['--scenario', 's'],
      files={'s': line(TANKS) + line(TANKS)[:40] + '\n' + line(TANKS)},
      out=TANKS_ODDS * 2,
      err_pattern=r's:2:41: scenario: not valid JSON: .*\n',
      status=1)
check('the first line cut short', ['--scenario', 's'],
      files={'s': line(TANKS)[:40] + '\n' + line(TANKS)},
      out=TANKS_ODDS, err_pattern=r's:1:41: scenario: not valid JSON: .*\n',
      status=1)
check('the error line of an object over several lines', ['--scenario', 's'],
      files={'s': json.dumps(TANKS, indent=2)[:200]}, out='',
      err_pattern=r's:13:8: scenario: not valid JSON: .*\n', status=1)
check('a syntax error at a line break inside an object', ['--scenario', 's'],
      files={'s': '{\n  "general": {"attackerClass": 2,\n\n  }\n}\n'},
      out='', err_pattern=r's:4:3: scenario: not valid JSON: .*\n', status=1)
TOO_LONG = ('scenario: longer than 16 MiB (allowed: one JSON object of at most '
            '16 MiB); the rest of the file is not read\n')
check('a syntax error at a line break inside a string', ['--scenario', 's'],
      files={'s': '{"general": {"attackerClass": 2,\n"x": "ab\ncd"}}\n'},
      out='',
      err='s:2:9: scenario: not valid JSON: syntax error while parsing value '
          '- invalid string: control character U+000A (LF) must be escaped to '
          "\\u000A or \\n; last read: '\"ab<U+000A>' (allowed: one JSON "
          'object)\n', status=1)
check('a line longer than 16 MiB', ['--scenario', 's'],
      files={'s': line(TANKS) + '{"general": ' + ' ' * (17 << 20) + '}\n' +
             line(TANKS)},
      out=TANKS_ODDS, err='s:2: ' + TOO_LONG, status=1)
check('an object over several lines longer than 16 MiB', ['--scenario', 's'],
      files={'s': '{\n"general":\n' + (' ' * 1024 + '\n') * (17 << 10) + '}\n'},
      out='', err='s:1: ' + TOO_LONG, status=1)
# An endless line ends with the same error (the run is bounded in time by
# check's timeout).
check('an endless line', ['--scenario', '/dev/zero'], out='',
      err='/dev/zero:1: ' + TOO_LONG, status=1)
check('an empty file', ['--scenario', 'empty'], files={'empty': ''}, out='',
      err='empty:1: scenario: the file holds no scenario (allowed: JSON Lines, '
          'or one JSON object)\n', status=1)
check('a directory', ['--scenario', '/'], out='',
      err='zelvorn-odds: cannot read /: Is a directory\n', status=2)
check('a file that cannot be read', ['--scenario', '/proc/self/mem'], out='',
      err='zelvorn-odds: cannot read /proc/self/mem: Input/output error\n',
      status=2)
check('a file that is not there', ['--scenario', 'missing'], out='',
      err='zelvorn-odds: cannot read missing: No such file or directory\n',
      status=2)

# Thousands of supporting units: all fire when none reaches the attacker's
# strength, and those after one that does are noted once.
silent = {'attackValue': 0, 'strength': 1, 'adjacent': False}
many = check('thousands of artillery pieces', ['--scenario', 's'],
             files={'s': line(changed(['artillery'], [silent] * 5000))})
if many.stdout.decode().count('This artillery piece is predicted to do 0 '
                              'damage and 0 suppression.') != 5000:
    failures.append('thousands of artillery pieces: not every piece fired')
strong = {'attackValue': 40, 'strength': 999999999, 'adjacent': True}
check('pieces after the damage cap', ['--scenario', 's'],
      files={'s': line(changed(['artillery'], [strong] * 3000))},
      out_pattern=r'^\nThis artillery piece is predicted to do 10 damage and 0 '
                  r'suppression\.\n' + re.escape(SEPARATOR),
      err='s:1: artillery.1 to artillery.2999: ignored: the support fire had '
          "already reached the attacker's strength\n")

# --- Sweeps --------------------------------------------------------------

# Without support fire and rugged defense, the table leaves out the columns
# that repeat the odds, those that would be empty and the rugged chance,
# which is 0 in every row.
table = ('                   odds\n'
         'attacker.strength  attacker  defender  suppression\n')
for strength, defender, suppression in [(8, 4, 2), (9, 4, 2), (10, 5, 3),
                                        (11, 6, 3), (12, 6, 3)]:
    table += ('%17d  %8d  %8d  %11d\n' %
              (strength, 4, defender, suppression))
check('a table', ['--scenario', 's', '--vary', 'attacker.strength=8..12'],
      files={'s': line(TANKS)}, out=table)
if max(len(l) for l in table.splitlines()) > 80:
    failures.append('a table: wider than 80 columns')

# The fields that --vary takes, as the program prints them for shell
# completion: each is taken by --vary, and every kind of field is there.
fields = check('--print-fields', ['--print-fields']).stdout.decode().split()
for wanted in ('general.attackerClass', 'attacker.strength',
               'defender.combatSupport.0', 'timesAttacked',
               'artillery.0.experience', 'airDefense.0.leaderChoice'):
    if wanted not in fields:
        failures.append('--print-fields: %s is missing' % wanted)
for field in fields:
    run = subprocess.run([PROGRAM, '--scenario', '-', '--vary',
                          field + '=1..1'], input=line(TANKS).encode(),
                         capture_output=True, timeout=60)
    if b'--vary' in run.stderr:
        failures.append('--print-fields: %s: %r' % (field, run.stderr))
SUPPORTED = changed(['artillery'], [{'attackValue': 6, 'experience': 1,
                                     'strength': 9, 'adjacent': True}])
# Infantry against entrenched infantry: a rugged defense is possible.
RUGGED = {'general': {'attackerClass': 1, 'defenderClass': 1,
                      'isAssault': False},
          'attacker': {'attackValue': 10, 'defenseValue': 7, 'strength': 10,
                       'experience': 0},
          'defender': {'attackValue': 8, 'defenseValue': 6, 'strength': 10,
                       'entrenchment': 3, 'experience': 2}}
RUGGED_SUPPORTED = changed(['artillery'], SUPPORTED['artillery'], RUGGED)
# Each table in 80 columns: the odds without support beside the odds in the
# columns where they differ, and short suppression headings beside a rugged
# outcome.  The figures are those of the CSV of the same sweeps.
for what, scenario, values, expected in [
        ('support fire', SUPPORTED, '8..9',
         '                   odds (without support)\n'
         'attacker.strength  attacker  defender  suppression\n'
         '                8         4     2 (4)        1 (2)\n'
         '                9         4     3 (4)        1 (2)\n'),
        ('a rugged defense', RUGGED, '8..10',
         '                   odds                       rugged defense\n'
         'attacker.strength  attacker  defender  supp.  chance  attacker  '
         'defender  supp.\n'
         '                8         5         0      0      40         7  '
         '       0      0\n'
         '                9         5         0      0      40         7  '
         '       0      0\n'
         '               10         5         1      0      40         7  '
         '       0      0\n'),
        ('support fire and a rugged defense', RUGGED_SUPPORTED, '8..10',
         '                   odds (without support)     rugged defense\n'
         'attacker.strength  attacker  defender  supp.  chance  attacker  '
         'defender  supp.\n'
         '                8         5     0 (0)      0      40         7  '
         '       0      0\n'
         '                9         5     0 (0)      0      40         7  '
         '       0      0\n'
         '               10         5     0 (1)      0      40         7  '
         '       0      0\n')]:
    check('a table with ' + what,
          ['--scenario', 's', '--vary', 'attacker.strength=' + values],
          files={'s': line(scenario)}, out=expected)
    if max(len(l) for l in expected.splitlines()) > 80:
        failures.append('a table with %s: wider than 80 columns' % what)
# A long field's heading is cut short so that the table keeps to 80
# columns; CSV and JSON Lines name it whole.
PIECES = changed(['artillery'], SUPPORTED['artillery'] * 2 + [
    dict(SUPPORTED['artillery'][0], combatSupport=[1, 2])], RUGGED)
check('a table of a long field with support fire and a rugged defense',
      ['--scenario', 's', '--vary', 'artillery.2.combatSupport.1=1..2'],
      files={'s': line(PIECES)},
      out='                    odds (without support)     rugged defense\n'
          'artillery.2.com...  attacker  defender  supp.  chance  attacker  '
          'defender  supp.\n'
          '                 1     6 (5)     0 (1)      0      40         8  '
          '       0      0\n'
          '                 2     7 (5)     0 (1)      0      40         9  '
          '       0      0\n')
check('the CSV of a long field', ['--scenario', 's', '--vary',
                                  'artillery.2.combatSupport.1=1..1', '--csv'],
      files={'s': line(PIECES)},
      out_pattern=r'^artillery\.2\.combatSupport\.1,attackerLosses,')
check('the CSV of support fire and a rugged defense',
      ['--scenario', 's', '--vary', 'attacker.strength=10..10', '--csv'],
      files={'s': line(RUGGED_SUPPORTED)},
      out_pattern=r'\n10,5,0,0,5,1,0,40,7,0,0\n$')
check('CSV', ['--scenario', 's', '--vary', 'attacker.strength=9..10', '--csv'],
      files={'s': line(TANKS)},
      out='attacker.strength,attackerLosses,defenderLosses,defenderSuppression,'
          'attackerLossesNoSupport,defenderLossesNoSupport,'
          'defenderSuppressionNoSupport,ruggedChance,ruggedAttackerLosses,'
          'ruggedDefenderLosses,ruggedDefenderSuppression\n'
          '9,4,4,2,4,4,2,0,,,\n10,4,5,3,4,5,3,0,,,\n')
rows = check('JSON Lines', ['--scenario', 's', '--vary',
                            'defender.strength=1..3', '--json'],
             files={'s': line(TANKS)})
values = [json.loads(l)['value'] for l in rows.stdout.decode().splitlines()]
if values != [1, 2, 3]:
    failures.append('JSON Lines of a sweep: values %r' % values)

# What only the scenario can tell is told at its line.
for name, vary, message in [
        ('a field the combat does not ask', 'attacker.entrenchment=1..2',
         'attacker.entrenchment: not asked for this combat, so it changes '
         'nothing (allowed: the fields that the combat asks)'),
        ('a piece that is not there', 'artillery.0.experience=1..2',
         'artillery.0.experience: no such supporting unit in the scenario '
         '(allowed: 0 of them, from 0)'),
        ('a Combat Support unit that is not there',
         'attacker.combatSupport.0=1..2',
         'attacker.combatSupport.0: no such Combat Support unit in the '
         'scenario'),
        ('a Combat Support unit one past the last',
         'attacker.combatSupport.1=1..2',
         'attacker.combatSupport.1: no such Combat Support unit in the '
         'scenario'),
        # A firing range of 2 asks the range of the combat, which the
        # scenario, at a firing range of 1, leaves out.
        ('a value that asks a question left unanswered',
         'attacker.firingRange=1..2',
         'attacker.firingRange=2: combatRange: missing (allowed: 1 to '
         '999999999)')]:
    scenario = changed(['general', 'attackerClass'], 10) \
        if 'does not ask' in name else TANKS
    if 'past the last' in name:
        scenario = changed(['attacker', 'combatSupport'], [2])
    if 'left unanswered' in name:
        scenario = changed(['attacker', 'firingRange'], 1)
    check(name, ['--scenario', 's', '--vary', vary],
          files={'s': line(scenario)}, out='', err='s:1: ' + message + '\n',
          status=1)
check('a sweep of two scenarios', ['--scenario', 's', '--vary',
                                   'attacker.strength=9..9', '--csv'],
      files={'s': line(TANKS) * 2}, out='',
      err='s:2: scenario: a second scenario (allowed: one scenario with '
          '--vary)\n', status=1)

# A sweep gives for every value the figures of that value's scenario, also
# where the value changes which questions the combat asks.
INFANTRY = {'general': {'attackerClass': 1, 'defenderClass': 1,
                        'isAssault': False, 'attackerInfantryLeader': True,
                        'defenderInfantryLeader': False, 'snowOrRain': False},
            'attacker': {'attackValue': 9, 'initiative': 4, 'defenseValue': 5,
                         'experience': 1, 'firingRange': 2, 'strength': 14,
                         'entrenchment': 1, 'inCityForestMountain': True,
                         'inRiver': False, 'combatSupport': [2],
                         'leaderChoice': 3},
            'defender': {'attackValue': 7, 'initiative': 3, 'defenseValue': 6,
                         'experience': 2, 'firingRange': 1, 'strength': 12,
                         'entrenchment': 2, 'inCityForestMountain': True,
                         'combatSupport': [1], 'leaderChoice': 4},
            'combatRange': 1,
            'terrain': {'clearOrSandy': False, 'roughBocageOrHills': True},
            'attackerCloseDefense': 3,
            'artillery': [{'attackValue': 6, 'experience': 1, 'strength': 9,
                           'adjacent': True, 'leaderChoice': 2},
                          {'attackValue': 9, 'strength': 30, 'adjacent': True},
                          {'attackValue': 2, 'strength': 4}],
            'timesAttacked': 1}


def value_scenario(base, field, value):
    scenario = json.loads(json.dumps(base))
    place = scenario
    parts = field.split('.')
    for part in parts[:-1]:
        place = place[int(part)] if part.isdigit() else place[part]
    last = parts[-1]
    if last.isdigit():
        place[int(last)] = value
    else:
        place[last] = value
    return scenario


# Four pieces: at the scenario's own strength of 15 the fire of the first
# two reaches it and the last two are dropped, but at a strength of 30 or
# more they fire again.
STRONG = {'attackValue': 20, 'strength': 20, 'adjacent': True}
FOUR_PIECES = changed(['attacker', 'strength'], 15,
                      changed(['artillery'], [STRONG] * 4))
for base_scenario, field, first, last in [
        (INFANTRY, 'attacker.strength', 1, 20),
        (INFANTRY, 'attacker.entrenchment', 0, 3),
        (INFANTRY, 'defender.entrenchment', 0, 4),
        (INFANTRY, 'general.attackerClass', 1, 11),
        (INFANTRY, 'attacker.firingRange', 0, 3),
        (INFANTRY, 'artillery.0.strength', 1, 40),
        (INFANTRY, 'artillery.1.attackValue', 0, 30),
        (INFANTRY, 'attacker.combatSupport.0', 0, 6),
        (INFANTRY, 'timesAttacked', 0, 8),
        (FOUR_PIECES, 'attacker.strength', 1, 45)]:
    with tempfile.TemporaryDirectory() as work:
        base = os.path.join(work, 'base.json')
        with open(base, 'w') as f:
            f.write(line(base_scenario))
        swept = subprocess.run([PROGRAM, '--scenario', base, '--vary',
                                '%s=%d..%d' % (field, first, last), '--json'],
                               capture_output=True)
        rows = [json.loads(l) for l in swept.stdout.decode().splitlines()]
        each = os.path.join(work, 'each.jsonl')
        with open(each, 'w') as f:
            for value in range(first, last + 1):
                f.write(line(value_scenario(base_scenario, field, value)))
        single = subprocess.run([PROGRAM, '--scenario', each, '--json'],
                                capture_output=True)
        one_by_one = [json.loads(l) for l in single.stdout.decode().splitlines()]
    for row in rows:
        del row['field']
        del row['value']
    if swept.returncode != 0 or rows != one_by_one:
        failures.append('sweeping %s differs from each value on its own '
                        '(status %d, %d rows, %d scenarios)' %
                        (field, swept.returncode, len(rows), len(one_by_one)))

# The number of times attacked, swept, gives the softening recomputation's
# figures: the same combat recomputed in the dialogue for 0, 3, 6 and 1.
with tempfile.TemporaryDirectory() as work:
    saved = os.path.join(work, 's.jsonl')
    dialogue = subprocess.run([PROGRAM, '--save', saved],
                              input=read('examples/softening_recomputation.in'),
                              capture_output=True).stdout.decode()
    with open(saved) as f:
        first = f.readline()
    with open(os.path.join(work, 'first.json'), 'w') as f:
        f.write(first)
    sweep = subprocess.run([PROGRAM, '--scenario',
                            os.path.join(work, 'first.json'), '--vary',
                            'timesAttacked=0..6', '--json'],
                           capture_output=True).stdout.decode().splitlines()
odds = re.findall(r'The odds are (\d+) against the attacker, (\d+) against '
                  r'the defender\.', dialogue)
by_value = {json.loads(r)['value']: json.loads(r)['odds'] for r in sweep}
for (attacker, defender), value in zip(odds, [json.loads(first)['timesAttacked'],
                                             0, 3, 6, 1]):
    got = by_value[value]
    if (got['attackerLosses'], got['defenderLosses']) != (int(attacker),
                                                          int(defender)):
        failures.append('timesAttacked=%d swept gives %r, the recomputation '
                        '%s and %s' % (value, got, attacker, defender))

for failure in failures:
    print(failure)
print('%d problems' % len(failures))
sys.exit(1 if failures else 0)
