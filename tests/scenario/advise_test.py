#!/usr/bin/env python3
"""What would help (--advise) against the scenarios it stands for.

Scenarios come from one made-up dialogue of many combats (--save), its
answers leaning to what the changes are about: support fire of both kinds,
airplanes attacking, entrenched infantry, softening, rivers, fuel, snow and
ranges.  For each scenario, --advise --json (half of them with a roster,
some with --sort) must give:

1. exactly the rows of the changes that apply to it, read from the saved
   scenario itself (which holds only the answers its combat asks): 1 to 3
   more times attacked where the times attacked are asked, each artillery
   piece or air-defense unit silenced and, when there are several, all of
   them, the river, the fuel and snow or rain where they are yes, each
   other range from 1 to the firing range (at most 10) where the range is
   asked, and with the roster the three best presets of --compare attacker;
2. the combat as given first, then the rows best first as --compare orders
   them, ties in the order above;
3. in every row the fields that its change sets ("changed", a merge patch
   of the scenario, RFC 7386), the figures of --scenario --json for the
   scenario with it merged in, and the differences from the first row.

The table and the CSV of some scenarios must hold the same rows in the same
order, the table at most 80 characters wide.

  advise_test.py PROGRAM COUNT SEED ROSTER
"""
import csv
import io
import json
import os
import random
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'robustness'))
import exact_model  # noqa: E402  (the dialogue, to make up answers)
from merge_patch import merged  # noqa: E402

FARTHEST_RANGE = 10
FIGURES = ['attackerLosses', 'defenderLosses', 'defenderSuppression',
           'attackerLossesNoSupport', 'defenderLossesNoSupport',
           'defenderSuppressionNoSupport', 'ruggedChance',
           'ruggedAttackerLosses', 'ruggedDefenderLosses',
           'ruggedDefenderSuppression']
SEEN = {}


def seen(what):
    SEEN[what] = SEEN.get(what, 0) + 1


def leaning_responder(rng, combats):
    """Answers for `combats` combats of the kinds that the changes are
    about."""
    count = [0, 0]

    def respond(recent):
        count[0] += 1
        r = rng.random()
        if recent.endswith('(Y/N):\n>> ') or recent.endswith('(Y/N)\n>> '):
            if 'another combat' in recent:
                count[1] += 1
                return 'y' if count[1] < combats else 'n'
            if 'different softening' in recent:
                return 'y' if r < 0.2 else 'n'
            if 'any defensive artillery' in recent or 'any air defense' in recent:
                return 'y' if r < 0.7 else 'n'
            if 'another defending artillery' in recent or \
                    'another supporting unit' in recent:
                return 'y' if r < 0.5 else 'n'
            if 'Combat Support' in recent:
                return 'y' if r < 0.2 else 'n'
            if 'river' in recent or 'fuel' in recent or 'snow' in recent:
                return 'y' if r < 0.5 else 'n'
            return rng.choice(['y', 'n', 'n'])
        if 'class of the attacking unit' in recent:
            return rng.choice(['1', '1', '1', '2', '2', '3', '4', '4', '5',
                               '6', '7', '8', '8', '9', '9', '10', '11'])
        if 'class of the defending unit' in recent:
            return rng.choice(['1', '1', '1', '2', '2', '3', '4', '5', '6',
                               '7', '8', '9', '10', '12'])
        if 'entrenchment' in recent:
            return str(rng.randrange(0, 5))
        if 'strength' in recent:
            return str(rng.randrange(1, 16))
        if 'choice' in recent:
            return str(rng.randrange(1, 8))
        if 'firing range' in recent:
            return str(rng.choice([0, 1, 1, 2, 3, 4, 12]))
        if 'range of the combat' in recent:
            return str(rng.randrange(1, 5))
        if 'times' in recent:
            return str(rng.randrange(0, 4))
        return str(rng.randrange(0, 13))
    return respond


def saved_scenarios(program, count, seed, workdir):
    rng = random.Random(seed)
    _, _, answers = exact_model.run_dialogue('', leaning_responder(rng, count))
    saved = os.path.join(workdir, 'saved.jsonl')
    subprocess.run([program, '--save', saved], input=answers.encode('latin-1'),
                   capture_output=True, check=False)
    with open(saved) as f:
        return [json.loads(line) for line in f if line.strip()]


def run(program, args):
    done = subprocess.run([program] + args, capture_output=True)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


def figures_of(row):
    """The figures of a JSON row, as the table's columns name them."""
    odds, free, rugged = row['odds'], row['oddsNoSupport'], row['rugged']
    return [odds['attackerLosses'], odds['defenderLosses'],
            odds['defenderSuppression'], free['attackerLosses'],
            free['defenderLosses'], free['defenderSuppression'],
            row['ruggedChance'],
            rugged['attackerLosses'] if rugged else None,
            rugged['defenderLosses'] if rugged else None,
            rugged['defenderSuppression'] if rugged else None]


def better_first(rows, sort):
    """The rows (with their words) sorted as --compare sorts: by the figure
    asked for, a blank one last, else by the defender's losses, most first,
    then the attacker's, fewest first; ties keep their order."""
    def key(row):
        figures = figures_of(row)
        if sort:
            value = figures[FIGURES.index(sort)]
            if value is None:
                return (1, 0)
            return (0, -value if sort.startswith(('defender', 'ruggedDefender'))
                    else value)
        return (-figures[1], figures[0])
    return sorted(rows, key=key)


def expected_changes(scenario):
    """The rows that apply, before sorting, presets aside: their words and
    the fields each changes (as a merge patch of the scenario)."""
    changes = {}
    if 'timesAttacked' in scenario:
        times = scenario['timesAttacked']
        changes['Attack it 1 more time first'] = {'timesAttacked': times + 1}
        for more in (2, 3):
            changes['Attack it %d more times first' % more] = {
                'timesAttacked': times + more}
        seen('softening')
    for group, one, every in (('artillery', 'Silence artillery piece %d first',
                               'Silence all the artillery first'),
                              ('airDefense', 'Silence air-defense unit %d first',
                               'Silence all the air defense first')):
        units = scenario.get(group, [])
        for i in range(len(units)):
            changes[one % (i + 1)] = {group: units[:i] + units[i + 1:]}
        if len(units) > 1:
            changes[every] = {group: []}
        if units:
            seen(group)
    if scenario.get('attacker', {}).get('inRiver') is True:
        changes['Leave the river first'] = {'attacker': {'inRiver': False}}
        seen('river')
    if scenario.get('attacker', {}).get('outOfFuel') is True:
        changes['Refuel first'] = {'attacker': {'outOfFuel': False}}
        seen('fuel')
    if scenario.get('general', {}).get('snowOrRain') is True:
        changes['Wait for dry weather'] = {'general': {'snowOrRain': False}}
        seen('weather')
    if 'combatRange' in scenario:
        farthest = min(scenario['attacker']['firingRange'], FARTHEST_RANGE)
        for r in range(1, farthest + 1):
            if r != scenario['combatRange']:
                changes['Attack from range %d' % r] = {'combatRange': r}
        seen('ranges')
    return changes


def check_scenario(program, number, scenario, roster, sort, workdir,
                   batch):
    """The problems of one scenario's advice; the changed scenarios to run
    go into `batch` with what each must give."""
    where = 'scenario %d' % number
    path = os.path.join(workdir, 'scenario%d.json' % number)
    with open(path, 'w') as f:
        json.dump(scenario, f)
    options = ['--scenario', path, '--advise', '--json']
    if roster:
        options += ['--roster', roster]
    if sort:
        options += ['--sort', sort]
    status, out, err = run(program, options)
    if status != 0:
        return ['%s: --advise ended with %d: %s' % (where, status, err[:300])]
    rows = [json.loads(line) for line in out.splitlines()]
    problems = []
    expected = expected_changes(scenario)
    words = list(expected)
    changes = [row for row in rows[1:] if not row['change'].startswith(
        'Attack with ')]
    if rows[0]['change'] != 'As given' or rows[0]['changed'] != {}:
        problems.append('%s: the first row is %r' % (where, rows[0]['change']))
    if sorted(row['change'] for row in changes) != sorted(words):
        problems.append('%s: rows %r, expected %r' %
                        (where, [row['change'] for row in changes], words))
    for row in changes:
        if row['change'] in expected and row['changed'] != expected[row['change']]:
            problems.append('%s, %s: changed %r, expected %r' %
                            (where, row['change'], row['changed'],
                             expected[row['change']]))
    if len(rows) == 1:
        seen('no change applies')
    if rows[0].get('ruggedChance', 0) > 0:
        seen('rugged defense')
    presets = [row for row in rows[1:] if row['change'].startswith(
        'Attack with ')]
    if roster:
        _, compared, _ = run(program, ['--scenario', path, '--roster', roster,
                                       '--compare', 'attacker', '--json'] +
                             (['--sort', sort] if sort else []))
        best = [json.loads(line) for line in compared.splitlines()]
        best = [row['preset'] for row in best if 'error' not in row][:3]
        if [row['change'] for row in presets] != \
                ['Attack with %s instead' % name for name in best]:
            problems.append('%s: preset rows %r, expected the best %r' %
                            (where, [row['change'] for row in presets], best))
        for row, name in zip(presets, best):
            if row['changed']['attacker']['preset'] != name:
                problems.append('%s, %s: changed %r' %
                                (where, row['change'], row['changed']))
        if presets:
            seen('presets')
    elif presets:
        problems.append('%s: preset rows without a roster' % where)
    # The order: as given, then best first, ties as the changes were made.
    made = [row for row in rows[1:] if 'error' not in row]
    by_words = {row['change']: row for row in made}
    order = words + [row['change'] for row in presets]
    wanted = better_first([by_words[w] for w in order if w in by_words], sort)
    if [row['change'] for row in made] != [row['change'] for row in wanted]:
        problems.append('%s: order %r, expected %r' %
                        (where, [row['change'] for row in made],
                         [row['change'] for row in wanted]))
    if any('error' in row for row in rows):
        seen('rows with an error')
    given = rows[0]
    for row in rows[1:]:
        if 'error' in row:
            continue
        for figure, part in (('attackerLosses', 'odds'),
                             ('defenderLosses', 'odds'),
                             ('defenderSuppression', 'odds'),
                             ('ruggedChance', None)):
            mine = row[part][figure] if part else row[figure]
            theirs = given[part][figure] if part else given[figure]
            if row['differences'][figure] != mine - theirs:
                problems.append('%s, %s: difference of %s is %d, not %d' %
                                (where, row['change'], figure,
                                 row['differences'][figure], mine - theirs))
    for row in rows:
        batch.append((where, row, merged(scenario, row['changed'])))
    if number % 10 == 0:
        problems += check_table_and_csv(
            program, [o for o in options if o != '--json'], rows, where)
    return problems


def check_table_and_csv(program, options, rows, where):
    problems = []
    _, table, _ = run(program, options)
    lines = table.splitlines()[2:]
    wide = [line for line in table.splitlines() if len(line) > 80]
    if wide:
        problems.append('%s: table lines over 80 characters: %r' % (where, wide))
    if len(lines) != len(rows) or any(
            not line.startswith(row['change'][:12])
            for line, row in zip(lines, rows)):
        problems.append('%s: the table\'s rows differ from JSON:\n%s' %
                        (where, table))
    _, text, _ = run(program, options + ['--csv'])
    records = list(csv.DictReader(io.StringIO(text)))
    if [r['change'] for r in records] != [row['change'] for row in rows] or \
            any(json.loads(r['changed']) != row['changed']
                for r, row in zip(records, rows)):
        problems.append('%s: the CSV\'s rows differ from JSON' % where)
    seen('tables and CSV')
    return problems


def check_batch(program, roster, batch, workdir):
    """Every changed scenario run at once: its prediction must be the
    row's."""
    path = os.path.join(workdir, 'changed.jsonl')
    with open(path, 'w') as f:
        for _, _, scenario in batch:
            f.write(json.dumps(scenario) + '\n')
    _, out, err = run(program, ['--scenario', path, '--json', '--roster', roster])
    predictions = [json.loads(line) for line in out.splitlines()]
    if len(predictions) != sum('error' not in row for _, row, _ in batch):
        return ['the changed scenarios gave %d predictions for %d rows: %s' %
                (len(predictions), len(batch), err[:500])]
    problems = []
    predictions = iter(predictions)
    for where, row, _ in batch:
        if 'error' in row:
            continue
        prediction = next(predictions)
        mine = {k: v for k, v in row.items()
                if k not in ('change', 'changed', 'differences')}
        if mine != prediction:
            problems.append('%s, %s: %r, but the changed scenario gives %r' %
                            (where, row['change'], mine, prediction))
        seen('rows checked against their scenario')
    return problems


def main():
    program, count, seed, roster = sys.argv[1:5]
    rng = random.Random(int(seed))
    problems = []
    with tempfile.TemporaryDirectory() as workdir:
        scenarios = saved_scenarios(program, int(count), int(seed), workdir)
        batch = []
        for number, scenario in enumerate(scenarios):
            with_roster = roster if number % 2 == 0 else None
            sort = rng.choice(FIGURES) if number % 7 == 3 else None
            problems += check_scenario(program, number, scenario, with_roster,
                                       sort, workdir, batch)
        problems += check_batch(program, roster, batch, workdir)
    for problem in problems[:20]:
        print(problem)
    print('%d scenarios: %s; %d problems' %
          (len(scenarios), ', '.join('%s %d' % item for item in sorted(SEEN.items())),
           len(problems)))
    # A run that met too few of the kinds of change checks too little.
    few = [kind for kind in ('softening', 'artillery', 'airDefense', 'river',
                             'fuel', 'weather', 'ranges', 'presets',
                             'rugged defense', 'no change applies')
           if SEEN.get(kind, 0) < 5]
    if few or len(scenarios) < int(count):
        print('too few scenarios, or of these kinds: %s' % ', '.join(few))
        return 1
    return 0 if not problems else 1


if __name__ == '__main__':
    sys.exit(main())
