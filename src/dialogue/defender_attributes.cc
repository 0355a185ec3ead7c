#include <limits>

#include "combat/exact.h"
#include "dialogue/combat_support.h"
#include "dialogue/questionnaires.h"
#include "scenario/shared_texts.h"

void askDefenderAttributes(CombatScenario& s, Console& console) {
  using namespace unit_class;
  constexpr std::int64_t kNoMaximum = std::numeric_limits<std::int64_t>::max();
  const std::int64_t a = s.attackerClass;
  const std::int64_t d = s.defenderClass;
  const bool supportAttacker = a == kArtillery || a == kAirDefense;
  const bool airToSurface = s.airToSurfaceAttack == 'y';
  const bool airDefender = d == kFighter || d == kBomber;

  console.out << "\n\nDefender Attributes:\n\n";

  if (!supportAttacker) {
    s.defenderAttackValue = askNumber(
        console,
        "\nPlease enter the applicable attack value of the defending unit:\n>> ",
        text::kAttackValueZeroError);
  }

  if (!supportAttacker && !airToSurface) {
    s.defenderInitiative = askNumber(
        console, "\nPlease enter the initiative of the defending unit:\n>> ",
        "\nThe initiative must be a number, and it must be zero or greater.  "
        "Please\nreenter:\n>> ");
    s.defenderInitiativeEntered = s.defenderInitiative;
  }

  s.defenderDefenseValue = askNumber(
      console,
      "\nPlease enter the applicable defense value of the defending unit:\n>> ",
      text::kDefenseValueZeroError);

  if (!isYes(s.isAssault) && !airToSurface && !supportAttacker && !airDefender) {
    s.defenderRangedDefense = askNumber(
        console, "\nPlease enter the ranged defense of the defending unit:\n>> ",
        "\nThe ranged defense must be a number, and it must be zero or "
        "greater.  Please\nreenter:\n>> ");
  }

  s.defenderExperience = askNumber(
      console, "\nPlease enter the experience bars of the defending unit:\n>> ",
      text::kExperienceError);

  if (!supportAttacker && !airToSurface) {
    s.defenderFiringRange = askNumber(
        console, "\nPlease enter the firing range of the defending unit:\n>> ",
        "\nThe firing range must be a number, and it must be zero or greater.  "
        "Please reenter:\n>> ");
  }

  s.defenderStrength = static_cast<float>(askCount(
      console,
      "\nPlease enter the applicable strength of the defending unit:\n>> ",
      text::kStrengthError, 1, kNoMaximum));
  s.defenderStrengthWhole = truncateStrength(s.defenderStrength);

  if (!airDefender && d != kNaval) {
    s.defenderEntrenchment = askNumber(
        console, "\nPlease enter the entrenchment of the defending unit:\n>> ",
        "\nThe entrenchment must be a number, and it must be zero or greater.  "
        "Please\nreenter:\n>> ");
  }

  if (d == kInfantry && s.defenderEntrenchment > 0 && a != kInfantry) {
    s.defenderInCityForestMountain = askYesNo(
        console,
        "\nIs the defending unit in a city, forest, or mountain? (Y/N):\n>> ");
  }

  if (isYes(s.isAssault) && isYes(s.attackerCanMoveAfter) && d == kInfantry) {
    s.defenderInCity =
        askYesNo(console, "\nIs the defender in a city? (Y/N):\n>> ");
  }

  if (!isYes(s.defenderInCityForestMountain) && !airDefender && d != kNaval &&
      !isYes(s.isAssault)) {
    s.defenderInRiver =
        askYesNo(console, "\nIs the defending unit in a river? (Y/N):\n>> ");
  }

  if (!supportAttacker && s.defenderAttackValue > 0) {
    s.defenderOutOfAmmo = askYesNo(
        console, "\nIs the defending unit out of ammunition? (Y/N):\n>> ");
  }

  if (!supportAttacker && d != kFort && !airDefender &&
      s.defenderAttackValue > 0) {
    s.defenderOutOfFuel =
        askYesNo(console, "\nIs the defending unit out of fuel? (Y/N):\n>> ");
  }

  // Artillery, bombers and ships bombarding land do not soften the defender;
  // a ship fighting a ship only asks whether another ship got there first.
  if (a == kArtillery || a == kBomber || s.navalVsNonNaval == 'y') {
    s.timesAttacked = 0;
  } else if (a == kNaval && d == kNaval) {
    s.shipAlreadyAttackedByShip = askYesNo(
        console,
        "\nHas the defending ship already been attacked by another ship? "
        "(Y/N):\n>> ");
    s.timesAttacked = 0;
  } else {
    s.timesAttacked = askNumber(console, text::kTimesAttackedPrompt,
                                text::kTimesAttackedError);
  }

  askCombatSupport(console, s.defenderExperience, s.defenderSupportExperience);

  if (d != kFort && d != kNaval && !isNo(s.defenderInfantryLeader)) {
    console.out << "\nPlease enter a choice for the defending unit: "
                   "\n\n******************";
    if (!supportAttacker && s.defenderAttackValue > 0 &&
        !isYes(s.defenderOutOfAmmo)) {
      console.out << "\n1 for Aggressive Attack, \n2 for Overwhelming Attack, "
                     "\n3 for First Strike,";
    }
    console.out << "\n4 for Resilience, \n5 for Determined Defense,";
    console.out << "\n6 for None of the above\n******************\n\n>> ";
    s.defenderLeaderChoice = askCount(
        console, "",
        "\nThis choice must be a number between one and six.  Please "
        "reenter:\n>> ",
        1, 6);
  }

  if (s.attackerFiringRange > 1) {
    s.combatRange = askCount(
        console, "\nPlease enter the range of the combat:\n>> ",
        "\nThe range of the combat must be a number greater than zero.  Please "
        "reenter:\n>> ",
        1, kNoMaximum);
  }
}
