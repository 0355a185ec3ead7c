#include "dialogue/attacker_attributes.h"

#include "combat/questions.h"
#include "dialogue/combat_support.h"
#include "dialogue/texts.h"

void askAttackerAttributes(CombatScenario* s, Console& console) {
  using namespace unit_class;
  const bool supportClass =
      s->attackerClass == kArtillery || s->attackerClass == kAirDefense;

  say(console, "\nAttacker Attributes:\n");

  s->attackerAttackValue = askCount(
      console,
      "\nPlease enter the applicable attack value of the attacking unit:\n>> ",
      "\nThe attack value must be a number, and it must be greater than zero.  "
      "Please\nreenter:\n>> ",
      1, kNoMaximum);

  if (asks(Field::attackerInitiative, *s)) {
    s->attackerInitiative = askNumber(
        console, "\nPlease enter the initiative of the attacking unit:\n>> ",
        "\nThe initiative value must be a number, and it must be zero or "
        "greater.  Please\nreenter:\n>> ");
  }

  if (asks(Field::attackerDefenseValue, *s)) {
    s->attackerDefenseValue = askNumber(
        console,
        "\nPlease enter the applicable defense value of the attacking unit:\n>> ",
        text::kDefenseValueZeroError);
  }

  if (asks(Field::attackerRangedDefense, *s)) {
    s->attackerRangedDefense = askNumber(
        console, "\nPlease enter the ranged defense of the attacking unit:\n>> ",
        "\nThe ranged defense must be a number, and it must be zero or "
        "greater.  Please\nreenter:\n>> ");
  }

  s->attackerExperience = askNumber(
      console, "\nPlease enter the experience bars of the attacking unit:\n>> ",
      text::kExperienceError);

  if (asks(Field::attackerFiringRange, *s)) {
    s->attackerFiringRange = askNumber(
        console, "\nPlease enter the firing range of the attacking unit:\n>> ",
        "\nThe firing range must be a number, and it must be zero or greater.  "
        "Please\nreenter:\n>> ");
  }

  s->attackerStrength =
      askCount(console, "\nPlease enter the strength of the attacking unit:\n>> ",
               text::kStrengthError, 1, kNoMaximum);

  if (asks(Field::attackerEntrenchment, *s)) {
    s->attackerEntrenchment = askNumber(
        console, "\nPlease enter the entrenchment of the attacking unit:\n>> ",
        "\nThe entrenchment must be a number, and it must be zero or greater.  "
        "Please\nreenter:\n>> ");
  }

  if (asks(Field::attackerInCityForestMountain, *s)) {
    s->attackerInCityForestMountain = askYesNo(
        console,
        "\nIs the attacking unit in a city, forest, or mountain? (Y/N):\n>> ");
  }

  if (asks(Field::attackerInRiver, *s)) {
    s->attackerInRiver =
        askYesNo(console, "\nIs the attacking unit in a river? (Y/N):\n>> ");
  }

  if (asks(Field::attackerCanMoveAfter, *s)) {
    s->attackerCanMoveAfter = askYesNo(
        console, "\nCan the attacking unit move after this combat?  (Y/N):\n>> ");
  }
  if (asks(Field::attackerOutOfFuel, *s)) {
    s->attackerOutOfFuel =
        askYesNo(console, "\nIs the attacking unit out of fuel? (Y/N):\n>> ");
  }
  if (asks(Field::antiTankHasLeader, *s)) {
    s->antiTankHasLeader =
        askYesNo(console, "\nDoes the anti-tank have a leader? (Y/N):\n>> ");
  }

  s->attackerCombatSupport = askCombatSupport(console);

  if (!asks(Field::attackerLeaderChoice, *s)) return;
  say(console,
      "\nPlease enter a leader choice for the attacking unit:  "
      "\n\n******************\n1 for Aggressive Attack, "
      "\n2 for Overwhelming Attack,");
  if (!supportClass) {
    say(console, "\n3 for First Strike,");
    say(console, "\n4 for Resilience, \n5 for Determined Defense,");
  }
  if (s->airToSurfaceAttack) say(console, "\n6 for Skilled Ground Attack,");
  say(console, "\n7 for None of the above");
  say(console, "\n******************\n\n>> ");
  s->attackerLeaderChoice = askCount(
      console, "",
      "\nThis choice must be a number between one and seven.  Please "
      "reenter:\n>> ",
      1, leader::kAttackerNone);
}
