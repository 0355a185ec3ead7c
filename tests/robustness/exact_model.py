#!/usr/bin/env python3
"""An independent model of the calculator's dialogue and arithmetic.

It is written from the rules of the calculator alone (not from its C++
sources) and computes with exact Python integers, so that no sum, difference
or product can wrap around.  Strengths are single-precision values: every
conversion to single precision and every subtraction from a strength is
rounded to nearest exactly as the hardware does (see f32 and f32_sub).

  exact_model.py write     writes the extreme_* and crlf_* transcripts
  exact_model.py check     the same, but only compares with the files
  exact_model.py random N PROGRAM
                           runs N random dialogues with huge answers through
                           both the model and PROGRAM and compares them

The expected .out files of the extreme_* and crlf_* transcripts come from
this model; the program's output is never used to make them.
"""
import os
import random
import struct
import subprocess
import sys
from fractions import Fraction

# --------------------------------------------------------------------------
# Exact arithmetic.


def tdiv(a, b):
    """Whole-number division rounding toward zero, for any signs."""
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def f32(value):
    """Rounds an exact number (int or Fraction) to single precision, nearest
    with ties to even, and returns it as an exact Fraction."""
    value = Fraction(value)
    if value == 0:
        return Fraction(0)
    sign = -1 if value < 0 else 1
    value = abs(value)
    exponent = value.numerator.bit_length() - value.denominator.bit_length()
    while Fraction(2) ** exponent > value:
        exponent -= 1
    while Fraction(2) ** (exponent + 1) <= value:
        exponent += 1
    ulp = Fraction(2) ** (exponent - 23)      # 24 significant bits
    units = value / ulp
    whole = units.numerator // units.denominator
    rest = units - whole
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and whole % 2 == 1):
        whole += 1
    result = sign * whole * ulp
    # Cross-check with the platform's own rounding where a double holds the
    # value exactly.
    if abs(value) < 2 ** 53 and value.denominator == 1:
        packed = struct.unpack('f', struct.pack('f', float(sign * value)))[0]
        assert Fraction(packed) == result
    return result


def trunc(value):
    """Truncates an exact number toward zero."""
    value = Fraction(value)
    return tdiv(value.numerator, value.denominator)


def strength_after(strength, points):
    """Whole points summed first, then subtracted from a single-precision
    strength in single precision; below 0.0 becomes 0.0."""
    left = f32(strength - f32(points))
    return left if left > 0 else Fraction(0)


def halve(strength):
    return f32(trunc(strength * Fraction(1, 2)))


def yes(c):
    return c in ('y', 'Y')


def no(c):
    return c in ('n', 'N')

# --------------------------------------------------------------------------
# Fire formulas.


def kill_factor(d, family):
    if family == 'standard':
        return d + 7 if d <= 4 else tdiv(4 * d - 16, 10) + 11
    return d + 2 if d <= 4 else tdiv(2 * d - 8, 5) + 6


def suppression_factor(d, family):
    if family == 'standard':
        return d + 2
    return d + 9 if d <= -2 else tdiv(2 * d + 4, 5) + 7


def scale(factor, s, rule):
    p = factor * Fraction(s)        # s is always a whole number
    if rule == 'truncated':
        return trunc(p / 20)
    if rule == 'rounded':
        return trunc(p / 20 + Fraction(1, 2))
    q = trunc(p / 20)               # wholeRounded
    return trunc(q + Fraction(1, 2))


def quarter(x):
    return tdiv(x + 2, 4)


def resolve_fire(d, s, family, rule, shooter, target):
    losses = scale(kill_factor(d, family), s, rule)
    supp = scale(suppression_factor(d, family), s, rule)
    if shooter == 2 and target != 4:
        t = quarter(supp)
        losses += t
        supp -= t
    if target == 4 and shooter != 2:
        t = quarter(losses)
        supp += t
        losses -= t
    return losses, supp

# --------------------------------------------------------------------------
# The dialogue.


class InputEnded(Exception):
    pass


SEPARATOR = '\n\n' + '*' * 79
TOO_MANY = '\nYou entered too many characters. Please reenter:\n>> '
CS_FIRST = ('\nIs there at least one Combat Support unit adjacent to this '
            'unit? (Y/N):\n>> ')
CS_BARS = '\nPlease enter the experience bars of the Combat Support unit:\n>> '
CS_ANOTHER = ('\nIs there another Combat Support unit adjacent to this unit? '
              '(Y/N):\n>> ')
EXPERIENCE_ERROR = ('\nThe experience bars must be a number, and it must be '
                    'zero or greater.  Please\nreenter:\n>> ')
ATTACK_ZERO_ERROR = ('\nThe attack value must be a number, and it must be zero '
                     'or greater.  Please\nreenter:\n>> ')
STRENGTH_ERROR = ('\nThe strength must be a number, and it must be greater '
                  'than zero.  Please\nreenter:\n>> ')
DEFENSE_ERROR = ('\nThe defense value must be a number, and it must be zero or '
                 'greater.  Please\nreenter:\n>> ')
TIMES_PROMPT = ('\nPlease enter the number of times the defending unit has '
                'already been attacked:\n>> ')
TIMES_ERROR = ('\nThe number of times attacked must be zero or greater.  '
               'Please reenter:\n>> ')
SUPPORT_MENU = ('\nPlease enter a choice for the support unit: \n\n'
                '******************' '\n1 for Aggressive Attack, \n2 for '
                'Overwhelming Attack,' '\n3 for None of the above\n'
                '******************\n\n>> ')
SUPPORT_CHOICE_ERROR = ('\nThis choice must be a number between one and three.'
                        '  Please reenter:\n>> ')
CLASS_MIDDLE = ('\n3 for recon, \n4 for anti-tank, \n5 for fort, \n6 for '
                'artillery, \n7 for air-defense, \n8 for fighter, \n9 for '
                'bomber,')
BANNER = ('Zelvorn Odds Calculator version 1.1.\n'
          'Predicts the losses and suppression of one combat between two '
          'units.\n')


class Dialogue:
    def __init__(self, answers, responder=None):
        self.data = answers
        self.responder = responder
        self.pos = 0
        self.out = []

    def say(self, *parts):
        self.out.append(''.join(str(p) for p in parts))

    def read_line(self):
        """None at the end of the input, else up to 99 characters."""
        if self.pos >= len(self.data) and self.responder is not None:
            line = self.responder(''.join(self.out[-3:]))
            if line is not None:
                self.data += line + '\n'
        if self.pos >= len(self.data):
            return None
        if os.environ.get('MODEL_TRACE'):
            print('%-60r <- %r' % (''.join(self.out)[-60:], self.data[
                self.pos:self.data.find('\n', self.pos)]))
        line = ''
        while len(line) < 99 and self.pos < len(self.data):
            c = self.data[self.pos]
            self.pos += 1
            if c == '\n':
                return line
            line += c
        return line

    def number_line(self):
        line = self.read_line()
        if line is None:
            raise InputEnded
        while len(line) > 9:
            self.say(TOO_MANY)
            line = self.read_line()
            if line is None:
                raise InputEnded
        return line

    @staticmethod
    def convert(line):
        i = 0
        while i < len(line) and line[i] in ' \t\n\v\f\r':
            i += 1
        negative = False
        if i < len(line) and line[i] in '+-':
            negative = line[i] == '-'
            i += 1
        value = 0
        while i < len(line) and '0' <= line[i] <= '9':
            value = value * 10 + int(line[i])
            i += 1
        return -value if negative else value

    def read_count(self):
        return self.convert(self.number_line())

    def read_number(self):
        line = self.number_line()
        if line.startswith('0'):
            return 0
        value = self.convert(line)
        return -1 if value == 0 else value

    def yes_no(self, question):
        self.say(question)
        line = self.read_line()
        return line[0] if line else '\0'

    def count(self, prompt, error, low, high=None):
        self.say(prompt)
        value = self.read_count()
        while value < low or (high is not None and value > high):
            self.say(error)
            value = self.read_count()
        return value

    def number(self, prompt, error):
        self.say(prompt)
        value = self.read_number()
        while value < 0:
            self.say(error)
            value = self.read_number()
        return value

    def combat_support(self):
        """The bars of every Combat Support unit entered, summed."""
        total = 0
        answer = self.yes_no(CS_FIRST)
        while yes(answer):
            total += self.number(CS_BARS, EXPERIENCE_ERROR)
            answer = self.yes_no(CS_ANOTHER)
        return total


class Combat:
    """One combat, field names as in the record the calculator keeps."""

    def __init__(self, io):
        self.io = io
        self.aClass = self.dClass = 0
        self.aInfLeader = self.dInfLeader = 'x'
        self.assault = self.snow = self.overcast = 'n'
        self.airToSurface = self.navalVsNonNaval = 'n'
        self.aAttack = self.aInit = self.aInitEntered = 0
        self.aDefense = self.aDefenseEntered = self.aRanged = 0
        self.aExp = self.aFiring = 0
        self.aStrength = Fraction(0)
        self.aWhole = self.aEntrench = 0
        self.aCFM = self.aRiver = 'n'
        self.aCanMove = 'y'
        self.aOutOfFuel = 'n'
        self.antiTankLeader = 'x'
        self.aLeader = 7
        self.dAttack = self.dInit = self.dInitEntered = 0
        self.dDefense = self.dRanged = self.dExp = self.dFiring = 0
        self.dStrength = Fraction(0)
        self.dWhole = self.dEntrench = 0
        self.dCFM = self.dCity = self.dRiver = 'n'
        self.dOutOfAmmo = self.dOutOfFuel = 'n'
        self.times = 0
        self.shipAttacked = 'n'
        self.dLeader = 6
        self.range = 0
        self.terrain = 'x'
        self.rugged = 0
        self.closeDefense = 0
        self.aBefore = self.dBefore = Fraction(0)
        self.supportAsked = False
        self.groundDefense = 0
        self.airDefense = 0
        self.artD = self.artS = self.airD = self.airS = 0
        self.firstStrike = None
        self.dLossNS = self.dSuppNS = 0

    # ---- general factors
    def general(self):
        io = self.io
        io.say('\n\nGeneral Factors:\n\n')
        io.say('\nPlease enter the class of the attacking unit:  \n\n'
               '******************\n1 for infantry, \n2 for tank,',
               CLASS_MIDDLE,
               '\n10 for naval units, \n11 for half-track\n'
               '******************\n\n>> ')
        self.aClass = io.count('', '\nThe class must be number between one '
                               'and eleven.  Please reenter:\n>> ', 1, 11)
        if self.aClass == 6:
            inf = io.yes_no('\nIs the defending unit infantry? (Y/N):\n>> ')
            self.dClass = 1 if yes(inf) else 2
        else:
            io.say('\nPlease enter the class of the defending unit:  \n\n'
                   '************************\n1 for infantry, \n2 for tank,',
                   CLASS_MIDDLE,
                   '\n10 for naval units, \n11 for ground transport, \n12 '
                   'for air transport\n************************\n\n>> ')
            self.dClass = io.count('', '\nThe class must be a number between '
                                   'one and twelve.  Please reenter:\n>> ',
                                   1, 12)
        if self.aClass == 11:
            self.aInfLeader = io.yes_no('\nIs the attacking unit infantry with '
                                        'a leader? (Y/N):\n>> ')
            self.aClass = 2
        if self.dClass == 11:
            self.dClass = 2
        if self.dClass == 12:
            self.dClass = 9
        air = (8, 9)
        if self.aClass in air and self.dClass not in air:
            self.airToSurface = 'y'
        if self.aClass == 10 and self.dClass != 10:
            self.navalVsNonNaval = 'y'
        if self.aClass == 1 and self.dClass not in (8, 9, 10):
            self.assault = io.yes_no('\nIs this combat an assault? (Y/N):\n>> ')
            if yes(self.assault) and self.dClass == 1:
                self.dCFM = 'y'
        if self.aClass == 1 and not yes(self.assault):
            self.aInfLeader = io.yes_no('\nDoes the attacking infantry have a '
                                        'leader? (Y/N):\n>> ')
        if self.dClass == 1 and not yes(self.assault):
            self.dInfLeader = io.yes_no('\nDoes the defending infantry have a '
                                        'leader? (Y/N):\n>> ')
        if self.aClass not in air and self.dClass not in air:
            self.snow = io.yes_no('\nIs the weather snow or rain?  (Y/N):\n>> ')
        if self.aClass in air or (self.aClass == 7 and self.dClass in air):
            self.overcast = io.yes_no('\nIs the weather overcast?  (Y/N):\n>> ')

    # ---- attacker attributes
    def attacker(self):
        io, c = self.io, self.aClass
        io.say('\nAttacker Attributes:\n')
        self.aAttack = io.count(
            '\nPlease enter the applicable attack value of the attacking '
            'unit:\n>> ', '\nThe attack value must be a number, and it must '
            'be greater than zero.  Please\nreenter:\n>> ', 1)
        if c not in (6, 7) and self.airToSurface != 'y':
            self.aInit = io.number(
                '\nPlease enter the initiative of the attacking unit:\n>> ',
                '\nThe initiative value must be a number, and it must be zero '
                'or greater.  Please\nreenter:\n>> ')
            self.aInitEntered = self.aInit
        if c not in (6, 7):
            self.aDefense = io.number(
                '\nPlease enter the applicable defense value of the attacking '
                'unit:\n>> ', DEFENSE_ERROR)
            self.aDefenseEntered = self.aDefense
        if not yes(self.assault) and c not in (6, 7, 8, 9):
            self.aRanged = io.number(
                '\nPlease enter the ranged defense of the attacking unit:\n>> ',
                '\nThe ranged defense must be a number, and it must be zero '
                'or greater.  Please\nreenter:\n>> ')
        self.aExp = io.number(
            '\nPlease enter the experience bars of the attacking unit:\n>> ',
            EXPERIENCE_ERROR)
        if c not in (6, 7) and self.airToSurface != 'y':
            self.aFiring = io.number(
                '\nPlease enter the firing range of the attacking unit:\n>> ',
                '\nThe firing range must be a number, and it must be zero or '
                'greater.  Please\nreenter:\n>> ')
        io.say('\nPlease enter the strength of the attacking unit:\n>> ')
        while True:
            self.aStrength = f32(io.read_count())
            if self.aStrength >= 1:
                break
            io.say(STRENGTH_ERROR)
        self.aWhole = trunc(self.aStrength)
        if c not in (6, 7, 8, 9, 10):
            self.aEntrench = io.number(
                '\nPlease enter the entrenchment of the attacking unit:\n>> ',
                '\nThe entrenchment must be a number, and it must be zero or '
                'greater.  Please\nreenter:\n>> ')
        if c == 1 and self.aEntrench > 0:
            self.aCFM = io.yes_no('\nIs the attacking unit in a city, forest, '
                                  'or mountain? (Y/N):\n>> ')
        if not yes(self.aCFM) and c not in (6, 7, 8, 9, 10):
            self.aRiver = io.yes_no('\nIs the attacking unit in a river? '
                                    '(Y/N):\n>> ')
        if c not in (5, 6, 7, 10) and self.airToSurface != 'y':
            self.aCanMove = io.yes_no('\nCan the attacking unit move after '
                                      'this combat?  (Y/N):\n>> ')
            if not yes(self.aCanMove) and c not in (8, 9):
                self.aOutOfFuel = io.yes_no('\nIs the attacking unit out of '
                                            'fuel? (Y/N):\n>> ')
            if c == 4 and not yes(self.aCanMove) and not yes(self.aOutOfFuel):
                self.antiTankLeader = io.yes_no('\nDoes the anti-tank have a '
                                                'leader? (Y/N):\n>> ')
        self.aExp += io.combat_support()
        if no(self.antiTankLeader) or c in (10, 5) or no(self.aInfLeader):
            return
        io.say('\nPlease enter a leader choice for the attacking unit:  \n\n'
               '******************\n1 for Aggressive Attack, \n2 for '
               'Overwhelming Attack,')
        if c not in (6, 7):
            io.say('\n3 for First Strike,')
            io.say('\n4 for Resilience, \n5 for Determined Defense,')
        if self.airToSurface == 'y':
            io.say('\n6 for Skilled Ground Attack,')
        io.say('\n7 for None of the above')
        io.say('\n******************\n\n>> ')
        self.aLeader = io.count('', '\nThis choice must be a number between '
                                'one and seven.  Please reenter:\n>> ', 1, 7)

    # ---- defender attributes
    def defender(self):
        io, a, d = self.io, self.aClass, self.dClass
        io.say('\n\nDefender Attributes:\n\n')
        if a not in (6, 7):
            self.dAttack = io.number(
                '\nPlease enter the applicable attack value of the defending '
                'unit:\n>> ', ATTACK_ZERO_ERROR)
        if a not in (6, 7) and self.airToSurface != 'y':
            self.dInit = io.number(
                '\nPlease enter the initiative of the defending unit:\n>> ',
                '\nThe initiative must be a number, and it must be zero or '
                'greater.  Please\nreenter:\n>> ')
            self.dInitEntered = self.dInit
        self.dDefense = io.number(
            '\nPlease enter the applicable defense value of the defending '
            'unit:\n>> ', DEFENSE_ERROR)
        if not (yes(self.assault) or self.airToSurface == 'y' or a in (6, 7)
                or d in (8, 9)):
            self.dRanged = io.number(
                '\nPlease enter the ranged defense of the defending unit:\n>> ',
                '\nThe ranged defense must be a number, and it must be zero '
                'or greater.  Please\nreenter:\n>> ')
        self.dExp = io.number(
            '\nPlease enter the experience bars of the defending unit:\n>> ',
            EXPERIENCE_ERROR)
        if not (a in (6, 7) or self.airToSurface == 'y'):
            self.dFiring = io.number(
                '\nPlease enter the firing range of the defending unit:\n>> ',
                '\nThe firing range must be a number, and it must be zero or '
                'greater.  Please reenter:\n>> ')
        io.say('\nPlease enter the applicable strength of the defending '
               'unit:\n>> ')
        while True:
            self.dStrength = f32(io.read_count())
            if self.dStrength >= 1:
                break
            io.say(STRENGTH_ERROR)
        self.dWhole = trunc(self.dStrength)
        if d not in (8, 9, 10):
            self.dEntrench = io.number(
                '\nPlease enter the entrenchment of the defending unit:\n>> ',
                '\nThe entrenchment must be a number, and it must be zero or '
                'greater.  Please\nreenter:\n>> ')
        if d == 1 and self.dEntrench > 0 and a != 1:
            self.dCFM = io.yes_no('\nIs the defending unit in a city, forest, '
                                  'or mountain? (Y/N):\n>> ')
        if yes(self.assault) and yes(self.aCanMove) and d == 1:
            self.dCity = io.yes_no('\nIs the defender in a city? (Y/N):\n>> ')
        if not yes(self.dCFM) and d not in (8, 9, 10) and not yes(self.assault):
            self.dRiver = io.yes_no('\nIs the defending unit in a river? '
                                    '(Y/N):\n>> ')
        if a not in (6, 7) and self.dAttack > 0:
            self.dOutOfAmmo = io.yes_no('\nIs the defending unit out of '
                                        'ammunition? (Y/N):\n>> ')
        if a not in (6, 7) and d not in (5, 8, 9) and self.dAttack > 0:
            self.dOutOfFuel = io.yes_no('\nIs the defending unit out of fuel? '
                                        '(Y/N):\n>> ')
        if a in (6, 9) or self.navalVsNonNaval == 'y':
            self.times = 0
        elif a == 10 and d == 10:
            self.shipAttacked = io.yes_no('\nHas the defending ship already '
                                          'been attacked by another ship? '
                                          '(Y/N):\n>> ')
            self.times = 0
        else:
            self.times = io.number(TIMES_PROMPT, TIMES_ERROR)
        self.dExp += io.combat_support()
        if d not in (5, 10) and not no(self.dInfLeader):
            io.say('\nPlease enter a choice for the defending unit: \n\n'
                   '******************')
            if a not in (6, 7) and self.dAttack > 0 and not yes(self.dOutOfAmmo):
                io.say('\n1 for Aggressive Attack, \n2 for Overwhelming '
                       'Attack, \n3 for First Strike,')
            io.say('\n4 for Resilience, \n5 for Determined Defense,')
            io.say('\n6 for None of the above\n******************\n\n>> ')
            self.dLeader = io.count('', '\nThis choice must be a number '
                                    'between one and six.  Please '
                                    'reenter:\n>> ', 1, 6)
        if self.aFiring > 1:
            self.range = io.count('\nPlease enter the range of the combat:\n>> ',
                                  '\nThe range of the combat must be a number '
                                  'greater than zero.  Please reenter:\n>> ', 1)

    # ---- terrain factors
    def terrain_factors(self):
        io = self.io
        if (yes(self.aRiver) or yes(self.dRiver) or self.aClass in (6, 7)
                or self.range > 1 or 10 in (self.aClass, self.dClass)
                or (self.aInit <= 1 and self.dInit <= 1)
                or self.aClass in (8, 9) or self.dClass in (8, 9)):
            return
        io.say('\n\nTerrain Factors:\n\n')
        if no(self.aCFM) or no(self.dCFM):
            a = io.yes_no('\nIs at least one of the units in clear or sandy '
                          'terrain?  (Y/N):\n>> ')
            if not no(a):
                return
            a = io.yes_no('\nIs at least one of the units in rough, bocage, or '
                          'hills?  (Y/N):\n>> ')
            if yes(a):
                self.terrain = 'r'
            if not no(a):
                return
        a = io.yes_no('\nIs at least one of the units in a forest?  (Y/N):\n>> ')
        if yes(a):
            self.terrain = 'f'
        if not no(a):
            return
        a = io.yes_no('\nAre both of the units in cities and/or mountains?  '
                      '(Y/N):\n>> ')
        if yes(a):
            self.terrain = 'c'

    # ---- rugged chance and modifiers
    def modifiers(self):
        io = self.io
        inf = self.aClass == 1 and self.dClass == 1
        if inf and self.dEntrench > 0:
            t = tdiv(5 * self.dEntrench + 5, self.aEntrench + 1)
            t = t * (self.dExp + 2)
            t = tdiv(t, self.aExp + 2)
            self.rugged = min(t, 100)
        if (not yes(self.assault) and inf and self.dEntrench > 0
                and self.rugged > 0):
            io.say('\n\nRugged Defense Factor:\n\n')
            self.closeDefense = io.number(
                '\nPlease enter the close defense of the attacking unit:\n>> ',
                '\nThe close defense must be zero or greater.  Please '
                'reenter:\n>> ')
        if yes(self.assault):
            self.aAttack += 4
            self.dAttack += 4
        if self.aLeader == 1:
            self.aAttack += 2
        if self.aLeader == 5:
            self.aDefense += 2
        if yes(self.aInfLeader) and not yes(self.assault):
            self.aDefense += 4
        if self.aLeader == 6 and self.airToSurface == 'y':
            self.aAttack += 4
        if self.dLeader == 1:
            self.dAttack += 2
        if self.dLeader == 5:
            self.dDefense += 2
        if yes(self.dInfLeader) and not yes(self.assault):
            self.dDefense += 4
        self.aAttack += self.aExp
        self.dAttack += self.dExp
        self.aDefense += self.aExp
        self.dDefense += self.dExp
        self.aDefense += self.aEntrench * (2 if yes(self.aCFM) else 1)
        self.dDefense += self.dEntrench * (2 if yes(self.dCFM) else 1)
        if self.dClass == 6:
            self.aDefense += 3
        if self.aClass == 4 and self.dClass == 1:
            self.dDefense += 2
        if self.dClass == 4 and self.aClass == 1:
            self.aDefense += 2
        if yes(self.snow):
            self.aDefense += 3
            self.dDefense += 3
        if yes(self.overcast):
            self.aStrength = halve(self.aStrength)
            self.dStrength = halve(self.dStrength)
        if yes(self.aRiver):
            self.dAttack += 4
            self.dDefense += 4
        if yes(self.dRiver):
            self.aAttack += 4
            self.aDefense += 4
        if self.aClass not in (6, 9):
            self.dDefense -= 2 * self.times
        if yes(self.aOutOfFuel):
            self.aStrength = halve(self.aStrength)
        if yes(self.dOutOfFuel):
            self.dStrength = halve(self.dStrength)
        self.aBefore = self.aStrength
        self.dBefore = self.dStrength

    # ---- support fire
    def settle(self, d, s, unit_strength, totals, texts):
        io, w = self.io, self.aWhole
        td, ts = totals
        d = max(d, 0)
        s = max(s, 0)
        if d == 0 and unit_strength > 9:
            d = 1
        capped = False
        if d > w:
            d = w
            capped = True
        if d + s > w:
            s = w - d
        io.say(texts[0], d, ' damage and ', s, ' suppression.\n')
        if not capped:
            td += d
            ts += s
        if td > w:
            td = w
            capped = True
        if td + ts > w:
            ts = w - td
        if not capped and (s != ts or d != td):
            io.say(texts[1], td, ' damage and ', ts, ' suppression.\n')
        another = False
        if not capped:
            another = yes(io.yes_no(texts[2]))
        return (td, ts), another

    def subtract_support(self, td, ts):
        if ts > 0 or td > 0:
            self.aStrength = strength_after(self.aStrength, td + ts)

    def artillery_support(self):
        io = self.io
        if self.aClass in (6, 7, 8, 9, 10):
            return
        io.say('\n\nSupport Fire:\n\n')
        another = yes(io.yes_no('\nIs there any defensive artillery support?  '
                                '(Y/N):\n>> '))
        texts = ('\nThis artillery piece is predicted to do ',
                 '\nAll artillery so far is predicted to do ',
                 '\nIs there another defending artillery piece?  (Y/N):\n>> ')
        totals = (0, 0)
        while another:
            attack = io.number('\nPlease enter the applicable attack value of '
                               'the artillery piece:\n>> ', ATTACK_ZERO_ERROR)
            exp = io.number('\nPlease enter the experience bars of the '
                            'artillery piece:\n>> ', EXPERIENCE_ERROR)
            strength = io.count('\nPlease enter the applicable strength of the '
                                'artillery piece:\n>> ', STRENGTH_ERROR, 1)
            adjacent = io.yes_no('\nIs this piece adjacent to the defending '
                                 'unit? (Y/N):\n>> ')
            if not yes(adjacent):
                strength = tdiv(strength, 2)
            exp += io.combat_support()
            io.say(SUPPORT_MENU)
            choice = io.count('', SUPPORT_CHOICE_ERROR, 1, 3)
            if choice == 1:
                attack += 2
            attack += exp
            if yes(self.assault) and not self.supportAsked:
                self.groundDefense = io.number(
                    '\nPlease enter the ground defense of the attacking '
                    'unit:\n>> ', '\nThe ground defense must be a number, and '
                    'it must be zero or greater.  Please\nreenter:\n>> ')
                self.groundDefense += self.aDefense - self.aDefenseEntered
                self.supportAsked = True
            elif not self.supportAsked:
                self.groundDefense = self.aDefense
            self.groundDefense = max(self.groundDefense, 0)
            diff = attack - self.groundDefense
            dmg, sup = resolve_fire(diff, strength, 'artillery', 'wholeRounded',
                                    choice, self.aLeader)
            totals, another = self.settle(dmg, sup, strength, totals, texts)
        self.artD, self.artS = totals
        self.subtract_support(*totals)

    def air_defense_support(self):
        io = self.io
        if self.airToSurface != 'y':
            return
        io.say('\n\nSupport Fire:\n\n')
        another = yes(io.yes_no('\nIs there any air defense support within '
                                'range?  (Y/N):\n>> '))
        texts = ('\nThis supporting unit is predicted to do ',
                 '\nAll supporting units so far are predicted to do ',
                 '\nIs there another supporting unit within range?  '
                 '(Y/N):\n>> ')
        totals = (0, 0)
        while another:
            fighter = io.yes_no('\nIs the support unit a fighter? (Y/N):\n>> ')
            if yes(fighter) and not self.supportAsked:
                self.airDefense = io.number(
                    '\nPlease enter the air defense value of the attacking '
                    'airplane:\n>> ', '\nThe air defense value must be a '
                    'number, and it must be zero or greater.  Please\n'
                    'reenter:\n>> ')
                self.supportAsked = True
            attack = io.number('\nPlease enter the applicable attack value of '
                               'the supporting unit:\n>> ', ATTACK_ZERO_ERROR)
            exp = io.number('\nPlease enter the experience bars of the '
                            'supporting unit:\n>> ', EXPERIENCE_ERROR)
            strength = io.count('\nPlease enter the applicable strength of the '
                                'supporting unit:\n>> ', STRENGTH_ERROR, 1)
            exp += io.combat_support()
            io.say(SUPPORT_MENU)
            choice = io.count('', SUPPORT_CHOICE_ERROR, 1, 3)
            if choice == 1:
                attack += 2
            if yes(self.overcast):
                strength = tdiv(strength, 2)
            attack += exp
            if yes(fighter):
                target = self.airDefense + self.aExp + (2 if self.aLeader == 5
                                                        else 0)
            else:
                target = self.aDefense
            target = max(target, 0)
            dmg, sup = resolve_fire(attack - target, strength, 'standard',
                                    'truncated', choice, self.aLeader)
            totals, another = self.settle(dmg, sup, strength, totals, texts)
        self.airD, self.airS = totals
        self.subtract_support(*totals)

    def any_support(self):
        return self.artD > 0 or self.artS > 0 or self.airD > 0 or self.airS > 0

    # ---- combat differences
    def differences(self):
        a, d = self.aClass, self.dClass
        if not yes(self.assault) and a not in (6, 7, 8, 9, 10) and d != 10:
            counts = a != 4 or yes(self.aCanMove) or yes(self.antiTankLeader)
            gain = self.aRanged if counts else 0
            if self.range == 2:
                self.dDefense += self.dRanged
                self.aDefense += gain
            elif self.range <= 1 and self.dFiring <= 1:
                self.dDefense += tdiv(self.dRanged, 2)
                self.aDefense += gain
            elif self.range <= 1 and self.dFiring == 2:
                self.dDefense += tdiv(self.dRanged, 2)
                self.aDefense += tdiv(gain, 2)
        if self.navalVsNonNaval == 'y' or (d == 10 and a not in (8, 9)):
            self.aDefense += tdiv(self.aRanged, 2)
            self.dDefense += tdiv(self.dRanged, 2)
        if yes(self.shipAttacked):
            self.dAttack -= 10
            if self.dAttack <= 0:
                self.dAttack = 1
        self.beforeSoftening = self.dDefense + 2 * self.times
        self.aAttack = max(self.aAttack, 0)
        self.dAttack = max(self.dAttack, 0)
        self.aDefense = max(self.aDefense, 0)
        self.dDefense = max(self.dDefense, 0)
        self.aDiff = self.aAttack - self.dDefense
        self.dDiff = self.dAttack - self.aDefense
        self.rAttDiff = self.rDefDiff = 0
        if self.rugged > 0:
            # The rugged defense does not count the softening.
            self.rAttDiff = self.aAttack - (self.beforeSoftening + 4)
            if yes(self.assault):
                self.rDefDiff = self.dAttack + 4 - tdiv(self.aDefense, 2)
            else:
                close = self.closeDefense + (self.aDefense -
                                             self.aDefenseEntered)
                close = max(close, 0)
                self.rDefDiff = self.dAttack + 4 - tdiv(close, 2)

    # ---- one computation pass
    def initiative(self):
        self.firstStrike = None
        if self.airToSurface == 'y' or self.aClass in (6, 7):
            return
        if yes(self.dCity):
            self.terrain = 'c'
        cap = {'c': 1, 'f': 3, 'r': 5}.get(self.terrain)
        if cap is not None:
            self.aInit = min(self.aInit, cap)
            self.dInit = min(self.dInit, cap)
        naval = self.aClass == 10
        if not naval and self.range <= 1:
            self.aInit = min(self.aInit, 8)
        if not naval and yes(self.aCanMove) and self.dInit > self.aInit:
            self.aInit = self.dInitEntered
        if (not naval and self.range == 2 and self.dFiring == 1
                and self.dInitEntered > self.aInit):
            self.aInit = self.dInitEntered
        self.aInit += tdiv(self.aExp + 1, 2)
        self.dInit = self.dInit + tdiv(self.dExp + 1, 2) - self.times
        self.dInit = max(self.dInit, 0)
        if (self.aClass == 4 and not yes(self.antiTankLeader)
                and not yes(self.aCanMove)):
            self.aInit -= 2
            if self.dInit > self.aInit:
                self.aInit = 0
        self.aInit = max(self.aInit, 0)
        if (self.aDiff > -4 and self.aInit > self.dInit and self.rugged < 100):
            self.dDiff -= 4
            shift = min(self.aInit - self.dInit, 4)
            self.aDiff += shift
            if self.aLeader == 3:
                self.firstStrike = 'attacker'
        elif (not yes(self.dOutOfAmmo) and self.range <= self.dFiring and
              ((self.dDiff > -4 and self.dInit > self.aInit)
               or self.rugged == 100)):
            self.aDiff -= 4
            shift = min(self.dInit - self.aInit, 4)
            self.dDiff += shift
            if self.dLeader == 3:
                self.firstStrike = 'defender'

    def exchange(self):
        a, d = self.aClass, self.dClass
        family = ('artillery' if a in (6, 5) or self.navalVsNonNaval == 'y'
                  else 'standard')
        rule = 'rounded' if family == 'artillery' else 'truncated'
        self.dLoss, self.dSupp = resolve_fire(self.aDiff, trunc(self.aStrength),
                                              family, rule, self.aLeader,
                                              self.dLeader)
        if self.any_support():
            self.dLossNS, self.dSuppNS = resolve_fire(
                self.aDiff, trunc(self.aBefore), family, rule, self.aLeader,
                self.dLeader)
        ammo = yes(self.dOutOfAmmo)
        self.aLoss = self.aSupp = 0
        fam = None
        if (not ammo and a not in (6, 7) and d not in (6, 10)) or \
                (d == 10 and a == 10):
            fam = 'standard'
        elif (d == 6 or (d == 10 and a != 10)) and not ammo and \
                a not in (6, 7):
            fam = 'artillery'
        if fam:
            self.aLoss, self.aSupp = resolve_fire(
                self.dDiff, trunc(self.dStrength), fam,
                'rounded' if fam == 'artillery' else 'truncated',
                self.dLeader, self.aLeader)

    def first_strike(self):
        air = self.airToSurface == 'y'
        att = ((self.firstStrike == 'attacker' and self.rugged < 100) or
               (air and self.aLeader == 3 and self.dLeader != 3))
        dfn = ((self.firstStrike == 'defender' and self.rugged < 100) or
               (air and self.dLeader == 3 and self.aLeader != 3))
        if att:
            self.dStrength = strength_after(self.dStrength,
                                            self.dLoss + self.dSupp)
            fam = 'artillery' if self.dClass in (5, 6, 10) else 'standard'
            self.aLoss, self.aSupp = resolve_fire(
                self.dDiff, trunc(self.dStrength), fam,
                'rounded' if fam == 'artillery' else 'truncated',
                self.dLeader, self.aLeader)
        if dfn and not yes(self.dOutOfAmmo):
            struck = self.aLoss + self.aSupp
            self.aStrength = strength_after(self.aStrength, struck)
            fam = 'artillery' if self.aClass in (5, 10) else 'standard'
            self.dLoss, self.dSupp = resolve_fire(
                self.aDiff, trunc(self.aStrength), fam,
                'rounded' if fam == 'artillery' else 'truncated',
                self.aLeader, self.dLeader)
            if self.any_support():
                r = max(trunc(self.aBefore - struck), 0)
                self.dLossNS, self.dSuppNS = resolve_fire(
                    self.aDiff, r, fam,
                    'wholeRounded' if fam == 'artillery' else 'truncated',
                    self.aLeader, self.dLeader)

    def rugged_outcome(self):
        io = self.io
        io.say(SEPARATOR, '\n\nThe chances of a rugged defense are ',
               self.rugged, '%.')
        loss, supp = resolve_fire(self.rDefDiff, trunc(self.dBefore),
                                  'standard', 'truncated', self.dLeader,
                                  self.aLeader)
        loss = max(loss, 0)
        if loss == 0 and self.dStrength > 9:
            loss = 1
        if yes(self.dOutOfAmmo):
            loss = supp = 0
        if loss > self.dStrength:
            loss = trunc(self.dStrength)
        if loss > self.aWhole:
            loss = self.aWhole

        def left(points):
            return max(trunc(f32(self.aBefore - f32(points))), 0)
        with_support = left(loss + supp + self.artS + self.artD)
        no_support = left(loss + supp)
        rl, rs = resolve_fire(self.rAttDiff, with_support, 'standard',
                              'truncated', self.aLeader, self.dLeader)
        rln, rsn = resolve_fire(self.rAttDiff, no_support, 'standard',
                                'truncated', self.aLeader, self.dLeader)
        loss_no_art = loss
        loss += self.artD

        def limit(l, s, r):
            if l > r:
                l = r
            if l > self.dWhole:
                l = self.dWhole
            if l == 0 and r > 9:
                l = 1
            l = max(l, 0)
            if s + l > self.dWhole:
                s = self.dWhole - l
            return l, max(s, 0)
        rl, rs = limit(rl, rs, with_support)
        rln, rsn = limit(rln, rsn, no_support)
        if self.rugged < 100:
            io.say('\n\nIf there is a rugged defense, the odds will be ', loss,
                   ' against the attacker,\nand ', rl, ' against the defender.')
            if rl < self.dWhole and rs > 0:
                io.say('\n\nAlso, the attacker is predicted to inflict ', rs,
                       ' suppression.')
            if (self.artS > 0 or self.artD > 0) and (rl != rln or
                                                     loss != loss_no_art):
                io.say('\n\nIf not for artillery support, the odds would have '
                       'been ', loss_no_art, ' against the attacker,\nand ',
                       rln, ' against the defender.')
                if self.dWhole > rln and rsn > 0:
                    io.say('\n\nAlso, the attacker would have been predicted '
                           'to inflict ', rsn, ' suppression.')
            return
        self.dLoss, self.aLoss, self.dSupp = rl, loss_no_art, rs
        self.dLossNS, self.dSuppNS = rln, rsn

    def report(self):
        io = self.io
        self.aLoss = max(self.aLoss, 0)
        self.dLoss = max(self.dLoss, 0)
        if self.dSupp + self.dLoss > self.dWhole:
            self.dSupp = max(self.dWhole - self.dLoss, 0)
        if self.aLoss > self.dStrength:
            self.aLoss = trunc(self.dStrength)
        if self.dLoss > self.aStrength:
            self.dLoss = trunc(self.aStrength)
        if self.dLoss > self.dWhole:
            self.dLoss = self.dWhole
        if self.aLoss > self.aWhole:
            self.aLoss = self.aWhole
        if self.dLoss == 0 and self.aStrength > 9:
            self.dLoss = 1
        if self.aLoss == 0 and self.dStrength > 9 and self.dAttack > 0:
            self.aLoss = 1
        if (self.aClass in (6, 7) or yes(self.dOutOfAmmo)
                or self.range > self.dFiring
                or (self.aClass == 5 and self.aFiring > 1)
                or self.dAttack == 0):
            self.aLoss = 0
        self.dLossNS = max(self.dLossNS, 0)
        if self.dSuppNS + self.dLossNS > self.dWhole:
            self.dSuppNS = max(self.dWhole - self.dLossNS, 0)
        if self.dLossNS > self.aBefore:
            self.dLossNS = trunc(self.aBefore)
        if self.dLossNS > self.dWhole:
            self.dLossNS = self.dWhole
        if self.dLossNS == 0 and self.aStrength > 9:
            self.dLossNS = 1
        a_ns = self.aLoss
        self.aLoss = min(self.airD + self.aLoss + self.artD, self.aWhole)
        io.say(SEPARATOR, '\n\nThe odds are ', self.aLoss,
               ' against the attacker, ', self.dLoss, ' against the defender.')
        if self.dLoss < self.dWhole and self.dSupp > 0:
            io.say('\n\nAlso, the attacker is predicted to inflict ',
                   self.dSupp, ' suppression.')
        changed = self.dLoss != self.dLossNS or self.aLoss != a_ns
        for lead, d, s in (('\n\nIf not for artillery support, the odds would '
                            'have been ', self.artD, self.artS),
                           ('\n\nIf not for air-defense, the odds would have '
                            'been ', self.airD, self.airS)):
            if (s > 0 or d > 0) and changed:
                io.say(lead, a_ns, ' against the attacker,\nand ', self.dLossNS,
                       ' against the defender.')
                if self.dWhole > self.dLossNS and self.dSuppNS > 0:
                    io.say('\n\nAlso, the attacker would have been predicted '
                           'to inflict ', self.dSuppNS, ' suppression.')
        io.say(SEPARATOR, '\n\n')

    def computation_pass(self):
        self.initiative()
        self.exchange()
        self.first_strike()
        if self.rugged > 0:
            self.rugged_outcome()
        self.report()

    def run(self):
        io = self.io
        io.say(BANNER)
        self.general()
        self.attacker()
        self.defender()
        self.terrain_factors()
        self.modifiers()
        self.artillery_support()
        self.air_defense_support()
        self.differences()
        self.computation_pass()
        if self.aClass in (6, 9, 10):
            return
        while yes(io.yes_no('\nWould you like to check the odds of this combat '
                            'with a different softening\nvalue? (Y/N)\n>> ')):
            self.aInit, self.dInit = self.aInitEntered, self.dInitEntered
            self.dDiff = self.dAttack - self.aDefense
            self.aStrength = strength_after(
                self.aBefore, self.airD + self.airS + self.artS + self.artD)
            self.dStrength = self.dBefore
            self.times = io.number(TIMES_PROMPT, TIMES_ERROR)
            softened = max(self.beforeSoftening - 2 * self.times, 0)
            self.aDiff = self.aAttack - softened
            self.computation_pass()


def run_dialogue(answers, responder=None):
    """Returns (status, output, answers) for a whole run on the answer text;
    a responder, when given, makes up each answer that the text lacks from
    the output so far."""
    io = Dialogue(answers, responder)
    try:
        while True:
            Combat(io).run()
            if not yes(io.yes_no('\nWould you like to check the odds of another '
                                 'combat? (Y/N)\n>> ')):
                return 0, ''.join(io.out), io.data
    except InputEnded:
        return 1, ''.join(io.out), io.data

# --------------------------------------------------------------------------
# Random dialogues with huge answers, compared with the program.


def random_responder(rng, limit=1500):
    count = [0]

    def respond(recent):
        count[0] += 1
        if count[0] > limit:
            return None
        if recent.endswith('(Y/N):\n>> ') or recent.endswith('(Y/N)\n>> '):
            if 'Combat Support' in recent:
                return rng.choice(['y', 'y', 'Y', 'yes', 'n', ''])
            if 'another' in recent:
                return rng.choice(['y', 'n', 'n', 'Y', '', 'yes'])
            if 'combat? (Y/N)' in recent:
                return rng.choice(['y', 'n', 'n'])
            return rng.choice(['y', 'n', 'Y', 'N', '', 'x', 'y', 'n'])
        kind = rng.random()
        if 'Combat Support unit:' in recent and kind < 0.8:
            return '999999999'
        if kind < 0.45:
            return str(rng.choice([999999999, rng.randrange(10 ** 8, 10 ** 9)]))
        if kind < 0.85:
            return str(rng.randrange(0, 13))
        return rng.choice(['', 'abc', '-3', '+7', ' 8', '000000005', '05',
                           '1234567890', 'z' * 99, 'q' * 105, '-999999999'])
    return respond


def compare_random(count, program, seed=1):
    rng = random.Random(seed)
    failures = 0
    for i in range(count):
        status, out, answers = run_dialogue('', random_responder(rng))
        run = subprocess.run([program], input=answers.encode('latin-1'),
                             capture_output=True)
        actual = run.stdout.decode('latin-1')
        if run.returncode != status or actual != out:
            failures += 1
            name = 'random_failure_%d.in' % i
            with open(name, 'w', newline='') as f:
                f.write(answers)
            at = next((k for k in range(min(len(out), len(actual)))
                       if out[k] != actual[k]), min(len(out), len(actual)))
            print('dialogue %d differs (status %d, expected %d); answers in %s'
                  % (i, run.returncode, status, name))
            print('  expected: %r' % out[max(0, at - 300):at + 200])
            print('  actual:   %r' % actual[max(0, at - 300):at + 200])
    print('%d random dialogues, %d differ' % (count, failures))
    return failures == 0


if __name__ == '__main__':
    if sys.argv[1:2] == ['random']:
        ok = compare_random(int(sys.argv[2]), sys.argv[3],
                            int(sys.argv[4]) if len(sys.argv) > 4 else 1)
        sys.exit(0 if ok else 1)

# --------------------------------------------------------------------------
# The transcripts.

BIG = '999999999'


def support(units):
    """Answers of a Combat Support loop with `units` units of 999999999."""
    answers = []
    for i in range(units):
        answers += ['y' if i == 0 else 'Y', BIG]
    return answers + ['n']


def infantry_artillery():
    """Infantry against entrenched infantry at long range, three artillery
    pieces, the attacker striking first, softening recomputations."""
    a = ['000000001', '000000001', 'n', 'y', 'y', 'y']
    a += [BIG] * 8 + ['y', 'y'] + support(60) + ['000000003']
    a += [BIG] * 8 + ['n', 'n', 'n', BIG] + support(24) + ['000000002', BIG]
    a += [BIG]                                   # close defense
    a += ['y', BIG, BIG, BIG, 'y'] + support(24) + ['000000001']
    a += ['y', BIG, BIG, BIG, 'n'] + support(36) + ['000000002']
    a += ['y', BIG, BIG, BIG, 'y'] + support(80) + ['000000003']
    a += ['y', '000000000', 'y', BIG, 'n', 'n']
    return a


def fighter_air_defense():
    """A fighter attacking a tank under overcast skies, three air-defense
    units, the defender striking first."""
    a = ['000000008', '000000002', 'y']
    a += [BIG] * 4 + support(70) + ['000000006']
    a += [BIG] * 5 + ['n', 'n', 'y', BIG] + support(30) + ['000000003']
    a += ['y', 'y', BIG, BIG, BIG, BIG] + support(24) + ['000000001']
    a += ['Y', 'n', BIG, BIG, BIG] + support(36) + ['000000002']
    a += ['y', 'Y', BIG, BIG, BIG] + support(80) + ['000000003']
    a += ['y', BIG, 'n', 'n']
    return a


def infantry_assault():
    """An infantry assault on infantry in a city: a certain rugged defense,
    the ground defense of the assault chosen so that two pieces stay below
    the cap, and a third that passes it."""
    a = ['000000001', '000000001', 'y', 'n']
    a += [BIG] * 6 + ['000000000', 'n', 'y'] + support(36) + ['000000004']
    a += [BIG] * 7 + ['y', 'n', 'n', BIG] + support(48) + ['000000005', BIG]
    a += ['y', BIG, BIG, BIG, 'y'] + support(36) + ['000000002', '999999996']
    a += ['y', BIG, BIG, BIG, 'n'] + support(36) + ['000000001']
    a += ['y', BIG, BIG, BIG, 'y'] + support(40) + ['000000003']
    a += ['y', '000000000', 'n', 'n']
    return a


def crlf():
    """A tank against a tank, every answer ended by a carriage return."""
    return ['2', '2', 'n',
            '123456789', '      10', '5', '7', '0', '0', '1', '10', '0', 'n',
            'y', '', '7',
            '8', '5', '6', '0', '', '0', '1', '10', '0', 'n', 'n', 'n', '0',
            'n', '6',
            'y', '',
            'y', '1', 'n', 'n']


TRANSCRIPTS = {
    'extreme_infantry_artillery': (infantry_artillery(), '\n'),
    'extreme_fighter_air_defense': (fighter_air_defense(), '\n'),
    'extreme_infantry_assault': (infantry_assault(), '\n'),
    'crlf_tank_combat': (crlf(), '\r\n'),
}


def transcripts(directory, write):
    same = True
    for name, (answers, end) in TRANSCRIPTS.items():
        text = ''.join(line + end for line in answers)
        status, out, _ = run_dialogue(text)
        assert status == 0, name
        assert Dialogue(text).data == text
        for suffix, content in (('.in', text), ('.out', out)):
            path = os.path.join(directory, name + suffix)
            if write:
                with open(path, 'w', newline='', encoding='latin-1') as f:
                    f.write(content)
            else:
                with open(path, newline='', encoding='latin-1') as f:
                    if f.read() != content:
                        print('%s differs from the model' % path)
                        same = False
    return same


if __name__ == '__main__' and sys.argv[1:2] in (['write'], ['check']):
    here = os.path.dirname(os.path.abspath(__file__))
    folder = os.path.join(here, '..', 'transcripts')
    sys.exit(0 if transcripts(folder, sys.argv[1] == 'write') else 1)
