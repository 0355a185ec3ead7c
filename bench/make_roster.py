#!/usr/bin/env python3
"""Writes a roster of N made-up presets for the benchmark: every attacker
class, varied values and leaders, Combat Support now and then; a few
presets serve both sides.

  make_roster.py N SEED > roster.json
"""
import json
import random
import sys


def main():
    count, seed = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(seed)
    presets = []
    for i in range(count):
        both = rng.random() < 0.1
        preset = {
            'name': 'Unit %05d' % i,
            'sides': ['attacker', 'defender'] if both else ['attacker'],
            'class': rng.randrange(1, 11 if both else 12),
            'infantryLeader': rng.random() < 0.3,
            'attackValue': rng.randrange(1, 20),
            'initiative': rng.randrange(0, 10),
            'defenseValue': rng.randrange(0, 15),
            'rangedDefense': rng.randrange(0, 15),
            'experience': rng.randrange(0, 4),
            'firingRange': rng.randrange(1, 4),
            'strength': rng.randrange(1, 16),
            'entrenchment': rng.randrange(0, 3),
            'canMoveAfter': rng.random() < 0.5,
            'antiTankHasLeader': rng.random() < 0.5,
            'combatSupport': [rng.randrange(0, 4)
                              for _ in range(rng.choice([0, 0, 0, 1, 2]))],
            'leaderChoice': rng.randrange(1, 6 if both else 8),
        }
        presets.append(preset)
    json.dump({'presets': presets}, sys.stdout, indent=1)
    sys.stdout.write('\n')


if __name__ == '__main__':
    main()
