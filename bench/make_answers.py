#!/usr/bin/env python3
"""Writes an answer file of N varied combats for the benchmark.

Usage: make_answers.py N [SEED] > answers

On standard error it writes one line with the numbers the output must show:
"combats N reports R asked-again E".

The combats follow six shapes (a tank against entrenched infantry, an
infantry assault, infantry against infantry with a rugged-defense chance, a
bomber under air-defense fire, a ship bombarding infantry, a fighter against
a fighter) with values drawn at random in ranges that keep the order of the
questions of each shape fixed: defensive artillery and air defense come with
up to three supporting units, entrenched infantry brings rugged defenses, and
most combats are recomputed for several numbers of earlier attacks. The
strength of an attacker under support fire is large enough that no
supporting unit's damage reaches it, so the questions about further units
always come. Every combat but the last is followed by a yes to another
combat, the last by a no.
"""
import random
import sys


def number(r, low, high):
    return str(r.randint(low, high))


def yes_no(r, chance_of_yes=0.5):
    return "y" if r.random() < chance_of_yes else "n"


def combat_support(r, most_bars=3):
    """The Combat Support loop: a first yes/no, then bars and another yes/no."""
    units = r.choice((0, 0, 1, 2))
    if units == 0:
        return ["n"]
    answers = ["y"]
    for unit in range(units):
        answers.append(number(r, 0, most_bars))
        answers.append("y" if unit + 1 < units else "n")
    return answers


def terrain_chain(r):
    """Clear, rough, forest, cities: the first yes ends the chain."""
    return r.choice((["y"], ["n", "y"], ["n", "n", "y"], ["n", "n", "n", "y"],
                     ["n", "n", "n", "n"]))


# What the calculator is expected to print for the whole file: reports of
# odds (one per combat and one per recomputation) and answers asked again.
expected = {"reports": 0, "asked again": 0}


def maybe_mistyped(r, answer, wrong="x"):
    """Now and then a wrong answer first, which is asked for again."""
    if r.random() < 0.1:
        expected["asked again"] += 1
        return [wrong, answer]
    return [answer]


def artillery_support(r, assault):
    if r.random() < 0.5:
        return ["n"], False
    answers = ["y"]
    pieces = r.randint(1, 3)
    for piece in range(pieces):
        answers += [number(r, 0, 10), number(r, 0, 2), number(r, 1, 10),
                    yes_no(r, 0.7)]
        answers += combat_support(r, most_bars=1)
        answers += maybe_mistyped(r, number(r, 1, 3), wrong="4")
        if assault and piece == 0:
            answers.append(number(r, 0, 8))
        answers.append("y" if piece + 1 < pieces else "n")
    return answers, True


def air_defense_support(r):
    if r.random() < 0.4:
        return ["n"], False
    answers = ["y"]
    air_defense_asked = False
    units = r.randint(1, 3)
    for unit in range(units):
        fighter = r.random() < 0.5
        answers.append("y" if fighter else "n")
        if fighter and not air_defense_asked:
            answers.append(number(r, 0, 8))
            air_defense_asked = True
        answers += [number(r, 0, 10), number(r, 0, 2), number(r, 1, 10)]
        answers += combat_support(r, most_bars=1)
        answers.append(number(r, 1, 3))
        answers.append("y" if unit + 1 < units else "n")
    return answers, True


def softening(r):
    answers = []
    for _ in range(r.choice((0, 1, 2, 3))):
        expected["reports"] += 1
        answers.append("y")
        answers += maybe_mistyped(r, number(r, 0, 6))
    return answers + ["n"]


def attacker_strength(r, supported, least):
    # Up to three supporting units do at most 27 damage together.
    return number(r, least, least + 12) if supported else number(r, 8, 15)


def tank_against_infantry(r):
    defender_leader = yes_no(r)
    support, supported = artillery_support(r, assault=False)
    a = ["2", "1", defender_leader, yes_no(r, 0.2)]
    a += [number(r, 5, 15), number(r, 2, 8), number(r, 3, 10), number(r, 0, 3),
          number(r, 0, 3), "1", attacker_strength(r, supported, 28), "0", "n"]
    can_move = yes_no(r, 0.8)
    a.append(can_move)
    if can_move != "y":
        a.append(yes_no(r, 0.3))
    a += combat_support(r)
    a.append(number(r, 1, 7))
    a += [number(r, 1, 10), number(r, 2, 8), number(r, 2, 10), number(r, 0, 3),
          number(r, 0, 3), "1", number(r, 8, 15), number(r, 1, 4)]
    close_terrain = yes_no(r)
    a.append(close_terrain)
    if close_terrain != "y":
        a.append("n")
    a += ["n", "n", number(r, 0, 3)]
    a += combat_support(r)
    if defender_leader != "n":
        a.append(number(r, 1, 6))
    a += terrain_chain(r)
    return a + support + softening(r)


def infantry_assault(r):
    support, supported = artillery_support(r, assault=True)
    a = ["1", "1", "y", yes_no(r, 0.2)]
    a += [number(r, 5, 12), number(r, 2, 6), number(r, 3, 8), number(r, 0, 3),
          "1", attacker_strength(r, supported, 28), "1", "n", "n", "y"]
    a += combat_support(r)
    a.append(number(r, 1, 7))
    a += [number(r, 1, 10), number(r, 2, 6), number(r, 2, 8), number(r, 0, 3),
          "1", number(r, 8, 15), number(r, 1, 4), yes_no(r, 0.2), "n", "n",
          number(r, 0, 3)]
    a += combat_support(r)
    a.append(number(r, 1, 6))
    a += terrain_chain(r)
    return a + support + softening(r)


def infantry_against_infantry(r):
    attacker_leader, defender_leader = yes_no(r), yes_no(r)
    support, supported = artillery_support(r, assault=False)
    a = ["1", "1", "n", attacker_leader, defender_leader, yes_no(r, 0.2)]
    a += [number(r, 5, 12), number(r, 2, 6), number(r, 3, 8), number(r, 0, 3),
          number(r, 0, 3), "1", attacker_strength(r, supported, 28), "0", "n",
          "y"]
    a += combat_support(r)
    if attacker_leader != "n":
        a.append(number(r, 1, 7))
    a += [number(r, 1, 10), number(r, 2, 6), number(r, 2, 8), number(r, 0, 3),
          number(r, 0, 3), "1", number(r, 8, 15), number(r, 1, 3), "n", "n",
          "n", number(r, 0, 3)]
    a += combat_support(r)
    if defender_leader != "n":
        a.append(number(r, 1, 6))
    a += terrain_chain(r)
    # Entrenched infantry against infantry with no entrenchment: a rugged
    # defense is possible, so the close defense is asked.
    a += maybe_mistyped(r, number(r, 0, 8), wrong="-1")
    return a + support + softening(r)


def bomber_against_ground(r):
    support, supported = air_defense_support(r)
    a = ["9", r.choice(("2", "3", "4", "11")), yes_no(r, 0.3)]
    a += [number(r, 5, 15), number(r, 2, 8), number(r, 0, 3),
          attacker_strength(r, supported, 28)]
    a += combat_support(r)
    a.append(number(r, 1, 7))
    a += [number(r, 1, 8), number(r, 3, 10), number(r, 0, 3), number(r, 8, 15),
          number(r, 0, 3), "n", "n", "n"]
    a += combat_support(r)
    a.append(number(r, 1, 6))
    return a + support


def naval_bombardment(r):
    defender_leader = yes_no(r)
    firing_range = r.randint(2, 4)
    a = ["10", "1", defender_leader, yes_no(r, 0.2)]
    a += [number(r, 8, 16), number(r, 0, 5), number(r, 3, 8), number(r, 0, 4),
          number(r, 0, 3), str(firing_range), number(r, 8, 15)]
    a += combat_support(r)
    a += [number(r, 1, 8), number(r, 0, 5), number(r, 2, 8), number(r, 0, 3),
          number(r, 0, 2), number(r, 1, 2), number(r, 8, 15), number(r, 1, 3)]
    close_terrain = yes_no(r)
    a.append(close_terrain)
    if close_terrain != "y":
        a.append("n")
    a += ["n", "n"]
    a += combat_support(r)
    if defender_leader != "n":
        a.append(number(r, 1, 6))
    a.append(number(r, 1, firing_range))
    return a


def fighter_against_fighter(r):
    a = ["8", "8", yes_no(r, 0.3)]
    a += [number(r, 3, 12), number(r, 0, 6), number(r, 2, 8), number(r, 0, 3),
          "1", number(r, 8, 15), yes_no(r, 0.8)]
    a += combat_support(r)
    a.append(number(r, 1, 7))
    a += [number(r, 1, 10), number(r, 0, 6), number(r, 2, 8), number(r, 0, 3),
          "1", number(r, 8, 15), "n", number(r, 0, 3)]
    a += combat_support(r)
    a.append(number(r, 1, 6))
    return a + softening(r)


SHAPES = (
    (tank_against_infantry, 25),
    (infantry_assault, 20),
    (infantry_against_infantry, 15),
    (bomber_against_ground, 15),
    (naval_bombardment, 10),
    (fighter_against_fighter, 15),
)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit("usage: make_answers.py N [SEED]")
    combats = int(sys.argv[1])
    r = random.Random(int(sys.argv[2]) if len(sys.argv) == 3 else 1)
    shapes = [shape for shape, _ in SHAPES]
    weights = [weight for _, weight in SHAPES]
    out = sys.stdout
    for index in range(combats):
        expected["reports"] += 1
        answers = r.choices(shapes, weights)[0](r)
        answers.append("y" if index + 1 < combats else "n")
        out.write("\n".join(answers))
        out.write("\n")
    sys.stderr.write("combats %d reports %d asked-again %d\n" % (
        combats, expected["reports"], expected["asked again"]))


main()
