#include "dialogue/defender_attributes.h"

#include "combat/questions.h"
#include "dialogue/combat_support.h"
#include "dialogue/texts.h"

void askDefenderAttributes(CombatScenario* s, Console& console) {
  using namespace unit_class;
  const bool supportAttacker =
      s->attackerClass == kArtillery || s->attackerClass == kAirDefense;

  say(console, "\n\nDefender Attributes:\n\n");

  if (asks(Field::defenderAttackValue, *s)) {
    s->defenderAttackValue = askNumber(
        console,
        "\nPlease enter the applicable attack value of the defending unit:\n>> ",
        text::kAttackValueZeroError);
  }

  if (asks(Field::defenderInitiative, *s)) {
    s->defenderInitiative = askNumber(
        console, "\nPlease enter the initiative of the defending unit:\n>> ",
        "\nThe initiative must be a number, and it must be zero or greater.  "
        "Please\nreenter:\n>> ");
  }

  s->defenderDefenseValue = askNumber(
      console,
      "\nPlease enter the applicable defense value of the defending unit:\n>> ",
      text::kDefenseValueZeroError);

  if (asks(Field::defenderRangedDefense, *s)) {
    s->defenderRangedDefense = askNumber(
        console, "\nPlease enter the ranged defense of the defending unit:\n>> ",
        "\nThe ranged defense must be a number, and it must be zero or "
        "greater.  Please\nreenter:\n>> ");
  }

  s->defenderExperience = askNumber(
      console, "\nPlease enter the experience bars of the defending unit:\n>> ",
      text::kExperienceError);

  if (asks(Field::defenderFiringRange, *s)) {
    s->defenderFiringRange = askNumber(
        console, "\nPlease enter the firing range of the defending unit:\n>> ",
        "\nThe firing range must be a number, and it must be zero or greater.  "
        "Please reenter:\n>> ");
  }

  s->defenderStrength = askCount(
      console,
      "\nPlease enter the applicable strength of the defending unit:\n>> ",
      text::kStrengthError, 1, kNoMaximum);

  if (asks(Field::defenderEntrenchment, *s)) {
    s->defenderEntrenchment = askNumber(
        console, "\nPlease enter the entrenchment of the defending unit:\n>> ",
        "\nThe entrenchment must be a number, and it must be zero or greater.  "
        "Please\nreenter:\n>> ");
  }

  if (asks(Field::defenderInCityForestMountain, *s)) {
    s->defenderInCityForestMountain = askYesNo(
        console,
        "\nIs the defending unit in a city, forest, or mountain? (Y/N):\n>> ");
  }

  if (asks(Field::defenderInCity, *s)) {
    s->defenderInCity =
        askYesNo(console, "\nIs the defender in a city? (Y/N):\n>> ");
  }

  if (asks(Field::defenderInRiver, *s)) {
    s->defenderInRiver =
        askYesNo(console, "\nIs the defending unit in a river? (Y/N):\n>> ");
  }

  if (asks(Field::defenderOutOfAmmo, *s)) {
    s->defenderOutOfAmmo = askYesNo(
        console, "\nIs the defending unit out of ammunition? (Y/N):\n>> ");
  }

  if (asks(Field::defenderOutOfFuel, *s)) {
    s->defenderOutOfFuel =
        askYesNo(console, "\nIs the defending unit out of fuel? (Y/N):\n>> ");
  }

  // Artillery, bombers and ships bombarding land do not soften the defender;
  // a ship fighting a ship only asks whether another ship got there first.
  if (asks(Field::shipAlreadyAttackedByShip, *s)) {
    s->shipAlreadyAttackedByShip = askYesNo(
        console,
        "\nHas the defending ship already been attacked by another ship? "
        "(Y/N):\n>> ");
  }
  if (asks(Field::timesAttacked, *s)) {
    s->timesAttacked = askNumber(console, text::kTimesAttackedPrompt,
                                 text::kTimesAttackedError);
  }

  s->defenderCombatSupport = askCombatSupport(console);

  if (asks(Field::defenderLeaderChoice, *s)) {
    say(console,
        "\nPlease enter a choice for the defending unit: "
        "\n\n******************");
    if (!supportAttacker && s->defenderAttackValue > 0 &&
        !isYes(s->defenderOutOfAmmo)) {
      say(console,
          "\n1 for Aggressive Attack, \n2 for Overwhelming Attack, "
          "\n3 for First Strike,");
    }
    say(console, "\n4 for Resilience, \n5 for Determined Defense,");
    say(console, "\n6 for None of the above\n******************\n\n>> ");
    s->defenderLeaderChoice = askCount(
        console, "",
        "\nThis choice must be a number between one and six.  Please "
        "reenter:\n>> ",
        1, leader::kDefenderNone);
  }

  if (asks(Field::combatRange, *s)) {
    s->combatRange = askCount(
        console, "\nPlease enter the range of the combat:\n>> ",
        "\nThe range of the combat must be a number greater than zero.  Please "
        "reenter:\n>> ",
        1, kNoMaximum);
  }
}
