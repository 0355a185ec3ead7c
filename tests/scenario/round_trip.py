#!/usr/bin/env python3
"""Round trip between the dialogue and scenario files.

For every answer file (the transcripts, the examples, and COUNT dialogues
made up at random) the dialogue runs with --save; then --scenario on the
saved file must print exactly the dialogue's result texts, one prediction
after the other, and --scenario --json must give the same figures.  An
answer file with options beside it (NAME.args, such as a roster) runs with
them, from the top folder of the sources; its saved file is read without
them.  Every
saved scenario must also validate against the JSON Schema, when the
jsonschema module is there (Debian: python3-jsonschema).

  round_trip.py PROGRAM SCHEMA COUNT SEED ANSWER_DIR...
"""
import json
import os
import random
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.join(HERE, '..', '..')
sys.path.insert(0, os.path.join(HERE, '..', 'robustness'))
import exact_model  # noqa: E402  (the dialogue, to make up answers)

SEPARATOR = '\n\n' + '*' * 79
BANNER = 'Zelvorn Odds Calculator version 1.1.\n'
UNIT_LINE = re.compile(
    r'\nThis (?:artillery piece|supporting unit) is predicted to do (\d+) '
    r'damage and (\d+) suppression\.\n'
    r'(?:\nAll (?:artillery|supporting units) so far (?:is|are) predicted to '
    r'do (\d+) damage and (\d+) suppression\.\n)?')
ODDS = re.compile(r'\n\nThe odds are (\d+) against the attacker, (\d+) against '
                  r'the defender\.(?:\n\nAlso, the attacker is predicted to '
                  r'inflict (\d+) suppression\.)?')
RUGGED = re.compile(r'\n\nThe chances of a rugged defense are (\d+)%\.'
                    r'(?:\n\nIf there is a rugged defense, the odds will be '
                    r'(\d+) against the attacker,\nand (\d+) against the '
                    r'defender\.)?')


def predictions_of(output):
    """The result texts of a dialogue's output, one per computed pass: the
    combat's support-fire lines, then the pass's rugged-defense lines and
    odds."""
    texts = []
    for combat in output.split(BANNER)[1:]:
        support = ''.join(m.group(0) for m in UNIT_LINE.finditer(combat))
        position = 0
        while True:
            odds = combat.find(SEPARATOR + '\n\nThe odds are', position)
            if odds < 0:
                break
            end = combat.index(SEPARATOR + '\n\n', odds + len(SEPARATOR)) + \
                len(SEPARATOR) + 2
            start = odds
            rugged = combat.rfind(SEPARATOR + '\n\nThe chances of a rugged',
                                  position, odds)
            if rugged >= 0:
                start = rugged
            texts.append(support + combat[start:end])
            position = end
    return texts


def check_json(text, prediction, where):
    """The figures of one --json line against the text it stands for."""
    problems = []

    def expect(what, actual, wanted):
        if actual != wanted:
            problems.append('%s: %s is %r in JSON, %r in the text' %
                            (where, what, actual, wanted))

    units = prediction['supportFire']['units']
    lines = list(UNIT_LINE.finditer(text))
    expect('support units', len(units), len(lines))
    for unit, line in zip(units, lines):
        expect('unit damage', unit['damage'], int(line.group(1)))
        expect('unit suppression', unit['suppression'], int(line.group(2)))
        if line.group(3) is not None:
            expect('damage total', unit['damageTotal'], int(line.group(3)))
            expect('suppression total', unit['suppressionTotal'],
                   int(line.group(4)))
    odds = ODDS.search(text)
    expect('attacker losses', prediction['odds']['attackerLosses'],
           int(odds.group(1)))
    expect('defender losses', prediction['odds']['defenderLosses'],
           int(odds.group(2)))
    if odds.group(3) is not None:
        expect('suppression', prediction['odds']['defenderSuppression'],
               int(odds.group(3)))
    rugged = RUGGED.search(text)
    expect('rugged chance', prediction['ruggedChance'],
           int(rugged.group(1)) if rugged else 0)
    if rugged and rugged.group(2) is not None:
        expect('rugged attacker losses',
               prediction['rugged']['attackerLosses'], int(rugged.group(2)))
        expect('rugged defender losses',
               prediction['rugged']['defenderLosses'], int(rugged.group(3)))
    # The text leaves out a suppression of 0; JSON shows it, never below 0.
    for part in ('odds', 'oddsNoSupport', 'rugged'):
        for name, figure in (prediction[part] or {}).items():
            if figure < 0:
                problems.append('%s: %s.%s is %d in JSON' %
                                (where, part, name, figure))
    no_support = re.search(r'\n\nIf not for (?:artillery support|air-defense), '
                           r'the odds would have been (\d+) against the '
                           r'attacker,\nand (\d+) against the defender\.',
                           text[odds.start():])
    if no_support:
        expect('attacker losses without support',
               prediction['oddsNoSupport']['attackerLosses'],
               int(no_support.group(1)))
        expect('defender losses without support',
               prediction['oddsNoSupport']['defenderLosses'],
               int(no_support.group(2)))
    return problems


def load_validator(schema_path):
    try:
        import jsonschema
    except ImportError:
        print('jsonschema is not installed (Debian: python3-jsonschema): '
              'the saved scenarios are not checked against the schema')
        return None
    with open(schema_path) as f:
        schema = json.load(f)
    jsonschema.Draft7Validator.check_schema(schema)
    return jsonschema.Draft7Validator(schema)


def round_trip(program, answers, validator, name, workdir, options=()):
    """The problems found for one answer text."""
    saved = os.path.join(workdir, 'saved.jsonl')
    if os.path.exists(saved):
        os.remove(saved)
    dialogue = subprocess.run([program, '--save', saved] + list(options),
                              input=answers, capture_output=True, cwd=TOP)
    expected = predictions_of(dialogue.stdout.decode('latin-1'))
    lines = []
    if os.path.exists(saved):
        with open(saved, encoding='utf-8') as f:
            lines = f.read().splitlines()
    problems = []
    if len(lines) != len(expected):
        return ['%s: %d scenarios saved for %d predictions printed' %
                (name, len(lines), len(expected))]
    if not lines:
        return []
    for number, line in enumerate(lines, 1):
        scenario = json.loads(line)
        if validator is not None:
            for error in validator.iter_errors(scenario):
                problems.append('%s: saved scenario %d does not validate: %s' %
                                (name, number, error.message))
    text = subprocess.run([program, '--scenario', saved], capture_output=True)
    if text.returncode != 0 or text.stderr:
        problems.append('%s: --scenario ended with %d: %s' %
                        (name, text.returncode, text.stderr.decode()[:300]))
    if text.stdout.decode('latin-1') != ''.join(expected):
        actual = text.stdout.decode('latin-1')
        wanted = ''.join(expected)
        at = next((i for i in range(min(len(actual), len(wanted)))
                   if actual[i] != wanted[i]), min(len(actual), len(wanted)))
        problems.append('%s: --scenario differs from the dialogue at %d:\n'
                        '  dialogue: %r\n  scenario: %r' %
                        (name, at, wanted[max(0, at - 120):at + 120],
                         actual[max(0, at - 120):at + 120]))
    figures = subprocess.run([program, '--scenario', saved, '--json'],
                             capture_output=True)
    predictions = [json.loads(l) for l in figures.stdout.decode().splitlines()]
    if figures.returncode != 0 or len(predictions) != len(expected):
        problems.append('%s: --json gave %d predictions for %d (status %d)' %
                        (name, len(predictions), len(expected),
                         figures.returncode))
    for number, (prediction, text) in enumerate(zip(predictions, expected), 1):
        problems += check_json(text, prediction, '%s, prediction %d' %
                               (name, number))
    return problems


def made_up_answers(rng):
    """A random dialogue with the kinds of combat that scenarios must carry:
    infantry against entrenched infantry, support fire of every sort, leaders,
    terrain, softening recomputations, and now and then a huge or a wrong
    answer."""
    count = [0]

    def respond(recent):
        count[0] += 1
        if count[0] > 400:
            return None
        r = rng.random()
        if recent.endswith('(Y/N):\n>> ') or recent.endswith('(Y/N)\n>> '):
            if 'another combat' in recent:
                return 'y' if r < 0.3 else 'n'
            if 'different softening' in recent:
                return 'y' if r < 0.5 else 'n'
            if 'any defensive artillery' in recent or 'any air defense' in recent:
                return 'y' if r < 0.7 else 'n'
            if 'another defending artillery' in recent or \
                    'another supporting unit' in recent:
                return 'y' if r < 0.45 else 'n'
            if 'Combat Support' in recent:
                return 'y' if r < 0.25 else 'n'
            return rng.choice(['y', 'n', 'y', 'n', 'Y', 'N', '', 'x', 'yes'])
        if 'class of the attacking unit' in recent:
            return rng.choice(['1'] * 8 + ['2', '2', '3', '4', '5', '6', '7',
                                           '8', '9', '9', '10', '11', '0'])
        if 'class of the defending unit' in recent:
            return rng.choice(['1'] * 7 + ['2', '2', '3', '4', '5', '6', '7',
                                           '8', '9', '10', '11', '12', '13'])
        if 'entrenchment' in recent:
            return str(rng.randrange(0, 6))
        if 'strength' in recent:
            return str(rng.choice([rng.randrange(1, 16), rng.randrange(16, 40),
                                   999999999]) if r < 0.97 else 'abc')
        if 'choice' in recent:
            return str(rng.randrange(1, 8))
        if 'range of the combat' in recent or 'firing range' in recent:
            return str(rng.randrange(0, 4))
        if r < 0.03:
            return rng.choice(['abc', '-3', '1234567890', ''])
        if r < 0.06:
            return str(rng.randrange(10 ** 8, 10 ** 9))
        return str(rng.randrange(0, 13))
    _, _, answers = exact_model.run_dialogue('', respond)
    return answers


def main():
    program, schema, count, seed = sys.argv[1:5]
    directories = sys.argv[5:]
    validator = load_validator(schema)
    sources = []
    for directory in directories:
        for entry in sorted(os.listdir(directory)):
            if entry.endswith('.in'):
                with open(os.path.join(directory, entry), 'rb') as f:
                    answers = f.read()
                options = []
                args = os.path.join(directory, entry[:-3] + '.args')
                if os.path.exists(args):
                    with open(args) as f:
                        options = f.read().split()
                sources.append((entry, answers, options))
    rng = random.Random(int(seed))
    for i in range(int(count)):
        sources.append(('made-up dialogue %d' % i,
                        made_up_answers(rng).encode('latin-1'), []))
    problems = []
    predictions = 0
    with tempfile.TemporaryDirectory() as workdir:
        for name, answers, options in sources:
            found = round_trip(program, answers, validator, name, workdir,
                               options)
            problems += found
            if found:
                kept = os.path.join(tempfile.gettempdir(),
                                    'round_trip_failure.in')
                with open(kept, 'wb') as f:
                    f.write(answers)
                found.append('the answers are kept in %s' % kept)
            saved = os.path.join(workdir, 'saved.jsonl')
            if os.path.exists(saved):
                with open(saved) as f:
                    predictions += len(f.read().splitlines())
    for problem in problems[:20]:
        print(problem)
    print('%d answer files, %d predictions saved and recomputed, %d problems' %
          (len(sources), predictions, len(problems)))
    return 0 if not problems else 1


if __name__ == '__main__':
    sys.exit(main())
