#!/usr/bin/env python3
"""The scenario schema and the program agree on what a value is: the same
scenarios, one value changed in each, are accepted by both or refused by
both.

  schema_agreement.py PROGRAM SCHEMA

Exits with 77 (skipped) when the jsonschema module is not there (Debian:
python3-jsonschema).
"""
import json
import subprocess
import sys

try:
    import jsonschema
except ImportError:
    print('jsonschema is not installed (Debian: python3-jsonschema)')
    sys.exit(77)

PROGRAM = sys.argv[1]
with open(sys.argv[2]) as f:
    SCHEMA = json.load(f)
jsonschema.Draft7Validator.check_schema(SCHEMA)
VALIDATOR = jsonschema.Draft7Validator(SCHEMA)

# A tank attacking a tank; each case puts one value in as JSON text, so that
# numbers keep the spelling under test.
BASE = ('{"general": {"attackerClass": %s, "defenderClass": 2}, '
        '"attacker": {"attackValue": 10, "strength": %s, '
        '"combatSupport": [%s]}, '
        '"defender": {"strength": 10}}')

# (what is tested, the class, the strength, the bars)
CASES = [
    ('plain numbers', '2', '10', '1'),
    ('a whole number with a fraction part of zero', '2', '10.0', '1'),
    ('a whole number with an exponent', '2', '1e1', '1'),
    ('a whole number with a fraction and an exponent', '2', '0.1E2', '1.0'),
    ('a fraction', '2', '10.5', '1'),
    ('a fraction in the bars', '2', '10', '1.5'),
    ('a minimum written as a fraction', '2', '1.0', '0.0'),
    ('below the minimum, as a fraction', '2', '0.0', '1'),
    ('a negative zero', '2', '-0', '-0.0'),
    ('above the maximum', '2', '1e9', '1'),
    ('the maximum', '2', '999999999.0', '999999999'),
    ('far beyond 64 bits', '2', '1e30', '1'),
    ('a number as a string', '2', '"10"', '1'),
    ('a class by its word', '"tank"', '10', '1'),
    ('a class by a word of another menu', '"ground transport"', '10', '1'),
    ('a class by an unknown word', '"panzer"', '10', '1'),
    ('a class past its menu', '12', '10', '1'),
    ('a class as a fraction', '2.5', '10', '1'),
    ('a yes/no answer for a class', 'true', '10', '1'),
    ('null for a number', '2', 'null', '1'),
]


def schema_accepts(text):
    return VALIDATOR.is_valid(json.loads(text))


def program_accepts(text):
    run = subprocess.run([PROGRAM, '--scenario', '-'], input=text.encode(),
                         capture_output=True, timeout=60)
    if run.returncode not in (0, 1):
        sys.exit('%s: status %d: %s' % (text, run.returncode, run.stderr))
    return run.returncode == 0


disagreements = []
for name, attacker_class, strength, bars in CASES:
    text = BASE % (attacker_class, strength, bars)
    schema, program = schema_accepts(text), program_accepts(text)
    if schema != program:
        disagreements.append('%s: the schema %s it, the program %s it'
                             % (name, 'accepts' if schema else 'refuses',
                                'accepts' if program else 'refuses'))
# An artillery attacker, by its number or its word, needs no defender's
# class.
for attacker_class in ('6', '"artillery"', '2', '"tank"'):
    text = ('{"general": {"attackerClass": %s}, "attacker": {"attackValue": 10, '
            '"strength": 10}, "defender": {"strength": 10}}' % attacker_class)
    if schema_accepts(text) != program_accepts(text):
        disagreements.append('attacker class %s without a defender class: the '
                             'schema and the program disagree' % attacker_class)

# The schema holds the menu's own spelling, as --save writes it; the
# program also takes the words in other cases.
capitals = BASE % ('"TANK"', '10', '1')
if not program_accepts(capitals) or schema_accepts(capitals):
    disagreements.append('a class by its word in capitals: not taken by the '
                         'program alone')
# The cases must not all be one way, or nothing is compared.
if len({program_accepts(BASE % case[1:]) for case in CASES}) != 2:
    disagreements.append('the cases do not include both kinds')
for line in disagreements:
    print(line)
print('%d cases, %d disagreements' % (len(CASES), len(disagreements)))
sys.exit(1 if disagreements else 0)
