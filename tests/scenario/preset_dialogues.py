#!/usr/bin/env python3
"""Dialogues that take their units by name (--roster) against the same
dialogues typed out in full.

A roster of presets is made up at random (each preset holding a random part
of a unit's answers, for one side or both).  Then COUNT dialogues are made
up: each combat names a preset for the attacker and for the defender (or
none), and the same dialogue is written out in full, every answer that a
preset gives typed where its question comes.  For each dialogue:

- the result texts of the dialogue with presets equal those of the one
  typed out in full, and both end with the same status;
- both save the same scenarios (--save), and --scenario of the saved file,
  read without a roster, prints exactly those result texts.

  preset_dialogues.py PROGRAM COUNT SEED
"""
import json
import os
import random
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, '..', 'robustness'))
import exact_model  # noqa: E402  (the dialogue, to know what is asked)
import round_trip  # noqa: E402  (the result texts of an output)

# Where a unit's own question stands: the words of its prompt, for the
# questions of the general factors (whose side the words tell) and for those
# of the attacker's and the defender's attributes.
GENERAL_QUESTIONS = [
    ('class of the attacking unit', 'attacker', 'class'),
    ('class of the defending unit', 'defender', 'class'),
    ('Is the defending unit infantry?', 'defender', 'isInfantry'),
    ('attacking unit infantry with a leader', 'attacker', 'infantryLeader'),
    ('attacking infantry have a leader', 'attacker', 'infantryLeader'),
    ('defending infantry have a leader', 'defender', 'infantryLeader'),
]
UNIT_QUESTIONS = [
    ('attack value of the', 'attackValue'),
    ('initiative of the', 'initiative'),
    ('defense value of the', 'defenseValue'),
    ('ranged defense of the', 'rangedDefense'),
    ('experience bars of the attacking', 'experience'),
    ('experience bars of the defending', 'experience'),
    ('firing range of the', 'firingRange'),
    ('strength of the', 'strength'),
    ('entrenchment of the', 'entrenchment'),
    ('move after this combat', 'canMoveAfter'),
    ('anti-tank have a leader', 'antiTankHasLeader'),
    ('at least one Combat Support unit', 'combatSupport'),
    ('leader choice for the attacking unit', 'leaderChoice'),
    ('choice for the defending unit', 'leaderChoice'),
]
SECTIONS = {'\nAttacker Attributes:\n': 'attacker',
            '\n\nDefender Attributes:\n\n': 'defender',
            '\n\nGeneral Factors:\n\n': 'general',
            '\n\nTerrain Factors:\n\n': None,
            '\n\nRugged Defense Factor:\n\n': None,
            '\n\nSupport Fire:\n\n': None}
# What the checks went through, so that a run that checks little fails.
COMBATS = ['combats without a preset', 'combats with one preset',
           'combats with two presets']
SEEN = dict({what: 0 for what in COMBATS}, **{
    'answers given by presets': 0, 'names typed again': 0,
    'predictions compared': 0})


def made_up_preset(rng, number):
    """A preset for one side or both, holding some of a unit's answers."""
    sides = rng.choice([['attacker'], ['defender'], ['attacker', 'defender']])
    attacker, defender = 'attacker' in sides, 'defender' in sides
    both = attacker and defender

    def yes_no():
        return rng.choice([True, False, True, False, None])

    values = {
        'class': rng.randrange(1, 11 if both else 12 if attacker else 13),
        'infantryLeader': yes_no(),
        'attackValue': rng.randrange(1 if attacker else 0, 15),
        'initiative': rng.randrange(0, 10),
        'defenseValue': rng.randrange(0, 12),
        'rangedDefense': rng.randrange(0, 8),
        'experience': rng.randrange(0, 5),
        'firingRange': rng.choice([0, 1, 1, 1, 2, 3]),
        'strength': rng.randrange(1, 16),
        'entrenchment': rng.randrange(0, 5),
        'combatSupport': [rng.randrange(0, 4)
                          for _ in range(rng.choice([0, 0, 1, 2]))],
        'leaderChoice': rng.randrange(1, 6 if both else 8 if attacker else 7),
    }
    if defender:
        values['isInfantry'] = yes_no()
    if attacker:
        values['canMoveAfter'] = yes_no()
        values['antiTankHasLeader'] = yes_no()
    preset = {'name': rng.choice(['Unit %d', 'Reed Pikes %d', 'ox cart %d',
                                  'Slag Mortar %d']) % number,
              'sides': sides}
    for name, value in values.items():
        if rng.random() < 0.8:
            preset[name] = value
    return preset


def typed(value):
    """A preset's answer as it is typed at its question."""
    if value is True:
        return 'y'
    if value is False:
        return 'n'
    if value is None:
        return ''
    return str(value)


def situation_answer(rng, prompt):
    """An answer made up for a question that no preset answers."""
    r = rng.random()
    if prompt.endswith('(Y/N):\n>> ') or prompt.endswith('(Y/N)\n>> '):
        if 'another combat' in prompt:
            return 'y' if r < 0.3 else 'n'
        if 'different softening' in prompt:
            return 'y' if r < 0.3 else 'n'
        if 'Combat Support' in prompt or 'another' in prompt:
            return 'y' if r < 0.3 else 'n'
        return rng.choice(['y', 'n', 'n', 'Y', '', 'yes'])
    if 'class of the' in prompt:
        return str(rng.randrange(1, 13))
    if 'choice' in prompt:
        return str(rng.randrange(1, 8))
    if 'range of the combat' in prompt:
        return str(rng.randrange(1, 4))
    if r < 0.04:
        return rng.choice(['abc', '-3', '1234567890', ''])
    return str(rng.randrange(0, 13))


def made_up_dialogue(rng, presets):
    """The answers of a dialogue with presets and of the same one typed out
    in full."""
    io = exact_model.Dialogue('', None)
    with_names = []
    state = {'read': 0, 'units': {}, 'support': [], 'reads': 0}
    for_side = {side: [p for p in presets if side in p['sides']]
                for side in ('attacker', 'defender')}
    lower_names = [p['name'].lower() for p in presets]

    def name_of(preset):
        """The preset's name as typed, in another case now and then (when
        that names it alone), after a name that is no preset's now and
        then."""
        if preset is None:
            return ['']
        lines = []
        if rng.random() < 0.1:
            lines.append(rng.choice(['Nobody', preset['name'] + 'x']))
            SEEN['names typed again'] += 1
        name = preset['name']
        if rng.random() < 0.2 and lower_names.count(name.lower()) == 1:
            name = name.swapcase()
        return lines + [rng.choice(['', ' ']) + name]

    def respond(_recent):
        state['reads'] += 1
        if state['reads'] > 300:
            return None
        out = ''.join(io.out)
        prompt = out[state['read']:]
        state['read'] = len(out)
        if exact_model.BANNER in prompt:
            state['units'] = {}
            for side in ('attacker', 'defender'):
                chosen = (rng.choice(for_side[side])
                          if for_side[side] and rng.random() < 0.75 else None)
                state['units'][side] = chosen
                with_names.extend(name_of(chosen))
            count = sum(u is not None for u in state['units'].values())
            SEEN[COMBATS[count]] += 1
        # The rest of a Combat Support list that a preset holds.
        if state['support']:
            SEEN['answers given by presets'] += 1
            return state['support'].pop(0)
        field = None
        if 'reenter' not in prompt:
            section = max(SECTIONS, key=out.rfind)
            side = SECTIONS[section]
            if side == 'general':
                field = next(((s, f) for words, s, f in GENERAL_QUESTIONS
                              if words in prompt), None)
            elif side is not None:
                field = next(((side, f) for words, f in UNIT_QUESTIONS
                              if words in prompt), None)
        preset = state['units'].get(field[0]) if field else None
        if preset is not None and field[1] in preset:
            SEEN['answers given by presets'] += 1
            value = preset[field[1]]
            if field[1] == 'combatSupport':
                # Each unit's bars after a yes; a no ends the list.
                for bars in value:
                    state['support'] += [str(bars), 'y']
                if value:
                    state['support'][-1] = 'n'
                return 'y' if value else 'n'
            return typed(value)
        answer = situation_answer(rng, prompt)
        with_names.append(answer)
        return answer

    io.responder = respond
    try:
        while True:
            exact_model.Combat(io).run()
            if not exact_model.yes(io.yes_no(
                    '\nWould you like to check the odds of another combat? '
                    '(Y/N)\n>> ')):
                break
    except exact_model.InputEnded:
        pass
    return ''.join(line + '\n' for line in with_names), io.data


def run(program, args, answers, workdir):
    saved = os.path.join(workdir, 'saved.jsonl')
    if os.path.exists(saved):
        os.remove(saved)
    result = subprocess.run([program, '--save', saved] + args, cwd=workdir,
                            input=answers.encode('latin-1'),
                            capture_output=True, timeout=60)
    lines = []
    if os.path.exists(saved):
        with open(saved) as f:
            lines = f.read().splitlines()
    return result, lines


def check(program, with_names, full, workdir, where):
    """The problems of one dialogue."""
    named, named_saved = run(program, ['--roster', 'roster.json'], with_names,
                             workdir)
    typed_out, typed_saved = run(program, [], full, workdir)
    expected = round_trip.predictions_of(typed_out.stdout.decode('latin-1'))
    got = round_trip.predictions_of(named.stdout.decode('latin-1'))
    problems = []
    if got != expected or named.returncode != typed_out.returncode:
        problems.append('%s: with presets (status %d) %r\n  typed out '
                        '(status %d) %r' % (where, named.returncode, got[:2],
                                            typed_out.returncode, expected[:2]))
    if named_saved != typed_saved:
        problems.append('%s: saved with presets %r\n  typed out %r' %
                        (where, named_saved[:2], typed_saved[:2]))
    if not named_saved:
        return problems
    saved = os.path.join(workdir, 'again.jsonl')
    with open(saved, 'w') as f:
        f.write(''.join(line + '\n' for line in named_saved))
    again = subprocess.run([program, '--scenario', saved], capture_output=True,
                           timeout=60)
    if again.returncode != 0 or \
            again.stdout.decode('latin-1') != ''.join(expected):
        problems.append('%s: --scenario of the saved file (status %d): %r' %
                        (where, again.returncode,
                         again.stdout.decode('latin-1')[:300] +
                         again.stderr.decode('latin-1')[:300]))
    SEEN['predictions compared'] += len(expected)
    return problems


def main():
    program, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rng = random.Random(seed)
    problems = []
    with tempfile.TemporaryDirectory() as workdir:
        presets = [made_up_preset(rng, number) for number in range(12)]
        with open(os.path.join(workdir, 'roster.json'), 'w') as f:
            json.dump({'presets': presets}, f, indent=1)
        for number in range(count):
            # A new roster now and then, so that many kinds of units meet.
            if number % 20 == 19:
                presets = [made_up_preset(rng, n) for n in range(12)]
                with open(os.path.join(workdir, 'roster.json'), 'w') as f:
                    json.dump({'presets': presets}, f, indent=1)
            with_names, full = made_up_dialogue(rng, presets)
            found = check(program, with_names, full, workdir,
                          'dialogue %d' % number)
            if found:
                kept = os.path.join(tempfile.gettempdir(),
                                    'preset_dialogue_failure')
                os.makedirs(kept, exist_ok=True)
                for name, text in (('with_names.in', with_names),
                                   ('full.in', full)):
                    with open(os.path.join(kept, name), 'w',
                              encoding='latin-1') as f:
                        f.write(text)
                with open(os.path.join(kept, 'roster.json'), 'w') as f:
                    json.dump({'presets': presets}, f, indent=1)
                found.append('the dialogue and its roster are kept in %s' %
                             kept)
            problems += found
    for what, number in SEEN.items():
        print('%s: %d' % (what, number))
        if number < 10:
            problems.append('too few %s to trust the run' % what)
    for problem in problems[:20]:
        print(problem)
    print('%d dialogues with presets against the same typed out in full: %d '
          'problems' % (count, len(problems)))
    return 0 if not problems else 1


if __name__ == '__main__':
    sys.exit(main())
