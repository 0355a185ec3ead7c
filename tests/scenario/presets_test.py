#!/usr/bin/env python3
"""Presets against scenarios written out in full.

Scenarios come from the dialogue (--save) on the examples' answer files and
on dialogues made up at random, as in round_trip.py.  Then:

1. Named presets: each scenario's attacker and defender are moved into a
   roster and the scenario names them instead (some answers kept beside the
   name, where the preset says otherwise); --scenario with --roster must
   print exactly what the scenario written out prints, as text and as JSON.
2. --compare: for each scenario, a roster of presets for one side (its own
   unit, units of other scenarios, some changed, some lacking an answer);
   every row of --compare --json must equal --scenario --json of the
   scenario with that preset written out in place of the side's unit (a
   suppression below 0 reads 0), and a row's error must be the error that
   the written-out scenario gets.

  presets_test.py PROGRAM COUNT SEED ANSWER_DIR...
"""
import json
import os
import random
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import round_trip  # noqa: E402  (made-up dialogues)

# The answers of a unit itself, as a roster names them, and where a scenario
# keeps them for the attacker and for the defender (None: not that side's).
PRESET_FIELDS = {
    'class': (('general', 'attackerClass'), ('general', 'defenderClass')),
    'isInfantry': (None, ('general', 'defenderIsInfantry')),
    'infantryLeader': (('general', 'attackerInfantryLeader'),
                       ('general', 'defenderInfantryLeader')),
    'attackValue': (('attacker', 'attackValue'), ('defender', 'attackValue')),
    'initiative': (('attacker', 'initiative'), ('defender', 'initiative')),
    'defenseValue': (('attacker', 'defenseValue'),
                     ('defender', 'defenseValue')),
    'rangedDefense': (('attacker', 'rangedDefense'),
                      ('defender', 'rangedDefense')),
    'experience': (('attacker', 'experience'), ('defender', 'experience')),
    'firingRange': (('attacker', 'firingRange'), ('defender', 'firingRange')),
    'strength': (('attacker', 'strength'), ('defender', 'strength')),
    'entrenchment': (('attacker', 'entrenchment'),
                     ('defender', 'entrenchment')),
    'canMoveAfter': (('attacker', 'canMoveAfter'), None),
    'antiTankHasLeader': (('attacker', 'antiTankHasLeader'), None),
    'combatSupport': (('attacker', 'combatSupport'),
                      ('defender', 'combatSupport')),
    'leaderChoice': (('attacker', 'leaderChoice'),
                     ('defender', 'leaderChoice')),
}
SIDES = {'attacker': 0, 'defender': 1}
# What the checks went through, so that a run that checks little fails.
SEEN = {'rows with figures': 0, 'rows with an error': 0,
        'presets of both sides': 0, 'answers written beside a name': 0}


def place(side, name):
    return PRESET_FIELDS[name][SIDES[side]]


def unit_of(scenario, side):
    """The side's own answers of a scenario, as a preset holds them."""
    unit = {}
    for name in PRESET_FIELDS:
        where = place(side, name)
        if where and where[1] in scenario.get(where[0], {}):
            unit[name] = scenario[where[0]][where[1]]
    return unit


def without_unit(scenario, side):
    """The scenario with every answer of the side's unit taken out."""
    rest = json.loads(json.dumps(scenario))
    for name in PRESET_FIELDS:
        where = place(side, name)
        if where and where[0] in rest:
            rest[where[0]].pop(where[1], None)
    for group in ('general', 'attacker', 'defender'):
        if group in rest and not rest[group]:
            del rest[group]
    return rest


def written_out(scenario, side, unit):
    """The scenario with `unit` (a preset's answers) in place of the side's."""
    full = without_unit(scenario, side)
    for name, value in unit.items():
        where = place(side, name)
        if where:
            full.setdefault(where[0], {})[where[1]] = value
    return full


def saved_scenarios(program, answers, workdir):
    saved = os.path.join(workdir, 'saved.jsonl')
    if os.path.exists(saved):
        os.remove(saved)
    subprocess.run([program, '--save', saved], input=answers,
                   capture_output=True)
    if not os.path.exists(saved):
        return []
    with open(saved) as f:
        return [json.loads(line) for line in f.read().splitlines()]


def run(program, args, workdir):
    result = subprocess.run([program] + args, capture_output=True,
                            cwd=workdir, timeout=120)
    return result.returncode, result.stdout.decode('utf-8', 'surrogateescape'), \
        result.stderr.decode('utf-8', 'surrogateescape')


def write(path, lines):
    with open(path, 'w') as f:
        f.write(''.join(json.dumps(line) + '\n' for line in lines))


def changed_unit(rng, unit, side):
    """A unit like `unit`, with a few answers changed within their ranges."""
    other = dict(unit)
    for name in rng.sample(sorted(PRESET_FIELDS), 3):
        if place(side, name) is None:
            continue
        if name in ('infantryLeader', 'canMoveAfter', 'antiTankHasLeader',
                    'isInfantry'):
            other[name] = rng.choice([True, False, None])
        elif name == 'combatSupport':
            other[name] = [rng.randrange(0, 6)
                           for _ in range(rng.randrange(0, 3))]
        elif name == 'class':
            other[name] = rng.randrange(1, 12 if side == 'attacker' else 13)
        elif name == 'leaderChoice':
            other[name] = rng.randrange(1, 8 if side == 'attacker' else 7)
        elif name in ('strength', 'attackValue'):
            other[name] = rng.choice([1, 5, 9, 10, 14, 25])
        else:
            other[name] = rng.randrange(0, 12)
    return other


def other_value(value):
    """Another answer of the same kind, in range for every field."""
    if isinstance(value, list):
        return value + [3]
    if isinstance(value, str):
        return 1  # a menu's word: its first entry by number
    if isinstance(value, int) and not isinstance(value, bool):
        return 2 if value == 1 else 1
    return not value


def serves_both(unit):
    """Whether a unit's answers mean the same for both sides (a menu's
    words are the side's own, as the saved scenarios write them)."""
    entry = {}
    for n in ('class', 'leaderChoice'):
        value = unit.get(n, 1)
        if isinstance(value, str):
            if value.lower() not in ATTACKER_MENUS[n]:
                return False  # a word of the defender's menu alone
            value = ATTACKER_MENUS[n].index(value.lower()) + 1
        entry[n] = value
    return (entry['class'] <= 10 and entry['leaderChoice'] <= 5
            and unit.get('attackValue', 1) >= 1)


def clamped(prediction):
    """A prediction as --compare reports it: no suppression below 0."""
    result = json.loads(json.dumps(prediction))
    for group in ('odds', 'oddsNoSupport', 'rugged'):
        figures = result.get(group)
        if not figures:
            continue
        for key in ('defenderSuppression', 'defenderSuppressionNoSupport'):
            if key in figures:
                figures[key] = max(0, figures[key])
    return result


def check_named(program, scenario, rng, workdir, where):
    """Part 1 for one scenario: the problems found."""
    attacker = unit_of(scenario, 'attacker')
    defender = unit_of(scenario, 'defender')
    roster = {'presets': [
        {'name': 'Att One', 'sides': ['attacker'], **attacker},
        {'name': 'Def-1', 'sides': ['defender'], **defender}]}
    named = without_unit(scenario, 'attacker')
    named = without_unit(named, 'defender')
    named.setdefault('attacker', {})['preset'] = 'Att One'
    named.setdefault('defender', {})['preset'] = 'Def-1'
    # An answer written beside the name wins over the preset's own.
    for side, preset in (('attacker', roster['presets'][0]),
                         ('defender', roster['presets'][1])):
        kept = [n for n in preset if n in PRESET_FIELDS and
                place(side, n)[0] == side]
        if kept and rng.random() < 0.5:
            name = rng.choice(kept)
            named[side][name] = preset[name]
            preset[name] = other_value(preset[name])
            SEEN['answers written beside a name'] += 1
    # Now and then one preset serves both sides, when it can.
    if serves_both(roster['presets'][0]) and rng.random() < 0.3:
        roster['presets'][0]['sides'] = ['attacker', 'defender']
        SEEN['presets of both sides'] += 1
    roster_path = os.path.join(workdir, 'roster.json')
    with open(roster_path, 'w') as f:
        json.dump(roster, f, indent=1)
    write(os.path.join(workdir, 'full.jsonl'), [scenario])
    write(os.path.join(workdir, 'named.jsonl'), [named])
    problems = []
    for extra in ([], ['--json']):
        full = run(program, ['--scenario', 'full.jsonl'] + extra, workdir)
        by_name = run(program, ['--scenario', 'named.jsonl', '--roster',
                                'roster.json'] + extra, workdir)
        if full[:2] != by_name[:2] or full[0] != 0:
            problems.append('%s: named presets %s differ (status %d, %d):\n'
                            '  written out: %r\n  named:       %r\n  %s' %
                            (where, extra, full[0], by_name[0], full[1][:300],
                             by_name[1][:300], by_name[2][:300]))
    return problems


def check_compare(program, scenario, others, rng, workdir, where):
    """Part 2 for one scenario and a roster made up for it."""
    side = rng.choice(['attacker', 'defender'])
    units = [unit_of(scenario, side)]
    for other in rng.sample(others, min(3, len(others))):
        units.append(unit_of(other, side))
    units.append(changed_unit(rng, units[0], side))
    lacking = dict(units[rng.randrange(len(units))])
    if lacking:
        lacking.pop(rng.choice(sorted(lacking)))
    units.append(lacking)
    presets = []
    for number, unit in enumerate(units):
        sides = [side]
        if serves_both(unit) and rng.random() < 0.3:
            sides = ['attacker', 'defender']
            SEEN['presets of both sides'] += 1
            # A field that only the other side asks may come along.
            if side == 'attacker' and rng.random() < 0.5:
                unit = dict(unit, isInfantry=rng.choice([True, False]))
        # Names that need quoting in CSV and messages, now and then.
        name = rng.choice(['Unit %d', 'u%d', 'Unit, "%d"', 'Ünit %d']) % number
        presets.append({'name': name, 'sides': sides, **unit})
    # A preset of the other side only is left out of the comparison.
    presets.append({'name': 'Elsewhere', 'sides': [
        'defender' if side == 'attacker' else 'attacker']})
    with open(os.path.join(workdir, 'roster.json'), 'w') as f:
        json.dump({'presets': presets}, f, indent=2, ensure_ascii=False)
    write(os.path.join(workdir, 'one.jsonl'), [scenario])
    status, out, err = run(program, ['--scenario', 'one.jsonl', '--roster',
                                     'roster.json', '--compare', side,
                                     '--json'], workdir)
    problems = []
    rows = [json.loads(line) for line in out.splitlines()]
    if sorted(r['preset'] for r in rows) != \
            sorted(p['name'] for p in presets[:-1]):
        return ['%s: --compare %s rows %r for presets %r (%s)' %
                (where, side, [r.get('preset') for r in rows],
                 [p['name'] for p in presets], err[:300])]
    expanded = []
    for preset in presets[:-1]:
        unit = {k: v for k, v in preset.items() if k in PRESET_FIELDS}
        expanded.append(written_out(scenario, side, unit))
    write(os.path.join(workdir, 'expanded.jsonl'), expanded)
    _, full_out, full_err = run(program, ['--scenario', 'expanded.jsonl',
                                          '--json'], workdir)
    full = iter(json.loads(line) for line in full_out.splitlines())
    errors = {}
    for line in full_err.splitlines():
        parts = line.split(': ', 1)
        if 'ignored: ' not in line:
            errors.setdefault(int(parts[0].split(":")[1]), parts[1])
    by_name = {r['preset']: r for r in rows}
    any_error = False
    for number, preset in enumerate(presets[:-1], 1):
        row = by_name[preset['name']]
        if number in errors:
            any_error = True
            SEEN['rows with an error'] += 1
            wanted = preset_error(errors[number], side)
            got = row.get('error')
            if not got or '%s: %s' % (got['field'], got['message']) != wanted:
                problems.append('%s: row %r: %r, expected the error %r' %
                                (where, preset['name'], got, wanted))
            continue
        prediction = clamped(next(full))
        SEEN['rows with figures'] += 1
        got = dict(row)
        del got['preset']
        if got != prediction:
            problems.append('%s: --compare %s row %r:\n  %s\nexpected\n  %s' %
                            (where, side, preset['name'], json.dumps(got),
                             json.dumps(prediction)))
    if status != (1 if any_error else 0):
        problems.append('%s: --compare ended with %d' % (where, status))
    return problems


# The attacker's menus by their words, lower case, as the schema lists them.
ATTACKER_MENUS = {}
# The words of every menu of a unit, by the scenario's dotted name.
MENU_WORDS = {}


def preset_error(wanted, side):
    """The error of a scenario written out, as a compared row names it: a
    field of the compared unit by the preset's name, with its menu words."""
    field, message = wanted.split(': ', 1)
    for name, places in PRESET_FIELDS.items():
        where = places[SIDES[side]]
        if where is None or '.'.join(where) != field:
            continue
        if field in MENU_WORDS:
            low, high = re.search(r'(\d+) to (\d+)\)$', message).groups()
            message = 'missing (allowed: %s, or %s to %s)' % (
                ', '.join('"%s"' % w for w in MENU_WORDS[field]), low, high)
        return name + ': ' + message
    return wanted


def read_menus(schema_path):
    with open(schema_path) as f:
        attacker = json.load(f)['properties']
    for places in PRESET_FIELDS.values():
        for where in places:
            if where is None:
                continue
            described = attacker[where[0]]['properties'][where[1]]
            if 'anyOf' in described:
                MENU_WORDS['.'.join(where)] = described['anyOf'][1]['enum']
    for group, name in (('general', 'attackerClass'),
                        ('attacker', 'leaderChoice')):
        words = attacker[group]['properties'][name]['anyOf'][1]['enum']
        ATTACKER_MENUS['class' if name == 'attackerClass' else name] = [
            w.lower() for w in words]


def main():
    program, count, seed = sys.argv[1:4]
    directories = sys.argv[4:]
    read_menus(os.path.join(os.path.dirname(os.path.abspath(directories[0])),
                            'docs', 'scenario.schema.json'))
    rng = random.Random(int(seed))
    scenarios = []
    with tempfile.TemporaryDirectory() as workdir:
        for directory in directories:
            for entry in sorted(os.listdir(directory)):
                if entry.endswith('.in'):
                    with open(os.path.join(directory, entry), 'rb') as f:
                        for s in saved_scenarios(program, f.read(), workdir):
                            scenarios.append((entry, s))
        examples = len(scenarios)
        while len(scenarios) < examples + int(count):
            answers = round_trip.made_up_answers(rng).encode('latin-1')
            for s in saved_scenarios(program, answers, workdir):
                scenarios.append(('made-up scenario %d' % len(scenarios), s))
        problems = []
        all_scenarios = [s for _, s in scenarios]
        for where, scenario in scenarios:
            problems += check_named(program, scenario, rng, workdir, where)
            problems += check_compare(program, scenario, all_scenarios, rng,
                                      workdir, where)
    for what, count in SEEN.items():
        print('%s: %d' % (what, count))
        if count < 10:
            problems.append('too few %s to trust the run' % what)
    for problem in problems[:20]:
        print(problem)
    print('%d scenarios (%d from the answer files) named through presets and '
          'compared against a roster each: %d problems' %
          (len(scenarios), examples, len(problems)))
    return 0 if not problems else 1


if __name__ == '__main__':
    sys.exit(main())
