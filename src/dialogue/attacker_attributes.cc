#include <limits>

#include "combat/exact.h"
#include "dialogue/combat_support.h"
#include "dialogue/questionnaires.h"
#include "scenario/shared_texts.h"

void askAttackerAttributes(CombatScenario& s, Console& console) {
  using namespace unit_class;
  constexpr std::int64_t kNoMaximum = std::numeric_limits<std::int64_t>::max();
  const std::int64_t c = s.attackerClass;
  const bool supportClass = c == kArtillery || c == kAirDefense;
  const bool airToSurface = s.airToSurfaceAttack == 'y';

  console.out << "\nAttacker Attributes:\n";

  s.attackerAttackValue = askCount(
      console,
      "\nPlease enter the applicable attack value of the attacking unit:\n>> ",
      "\nThe attack value must be a number, and it must be greater than zero.  "
      "Please\nreenter:\n>> ",
      1, kNoMaximum);

  if (!supportClass && !airToSurface) {
    s.attackerInitiative = askNumber(
        console, "\nPlease enter the initiative of the attacking unit:\n>> ",
        "\nThe initiative value must be a number, and it must be zero or "
        "greater.  Please\nreenter:\n>> ");
    s.attackerInitiativeEntered = s.attackerInitiative;
  }

  if (!supportClass) {
    s.attackerDefenseValue = askNumber(
        console,
        "\nPlease enter the applicable defense value of the attacking unit:\n>> ",
        text::kDefenseValueZeroError);
    s.attackerDefenseValueEntered = s.attackerDefenseValue;
  }

  if (!isYes(s.isAssault) && !supportClass && c != kFighter && c != kBomber) {
    s.attackerRangedDefense = askNumber(
        console, "\nPlease enter the ranged defense of the attacking unit:\n>> ",
        "\nThe ranged defense must be a number, and it must be zero or "
        "greater.  Please\nreenter:\n>> ");
  }

  s.attackerExperience = askNumber(
      console, "\nPlease enter the experience bars of the attacking unit:\n>> ",
      text::kExperienceError);

  if (!supportClass && !airToSurface) {
    s.attackerFiringRange = askNumber(
        console, "\nPlease enter the firing range of the attacking unit:\n>> ",
        "\nThe firing range must be a number, and it must be zero or greater.  "
        "Please\nreenter:\n>> ");
  }

  s.attackerStrength = static_cast<float>(
      askCount(console, "\nPlease enter the strength of the attacking unit:\n>> ",
               text::kStrengthError, 1, kNoMaximum));
  s.attackerStrengthWhole = truncateStrength(s.attackerStrength);

  const bool groundUnit = !supportClass && c != kFighter && c != kBomber &&
                          c != kNaval;
  if (groundUnit) {
    s.attackerEntrenchment = askNumber(
        console, "\nPlease enter the entrenchment of the attacking unit:\n>> ",
        "\nThe entrenchment must be a number, and it must be zero or greater.  "
        "Please\nreenter:\n>> ");
  }

  if (c == kInfantry && s.attackerEntrenchment > 0) {
    s.attackerInCityForestMountain = askYesNo(
        console,
        "\nIs the attacking unit in a city, forest, or mountain? (Y/N):\n>> ");
  }

  if (!isYes(s.attackerInCityForestMountain) && groundUnit) {
    s.attackerInRiver =
        askYesNo(console, "\nIs the attacking unit in a river? (Y/N):\n>> ");
  }

  // Fuel and the anti-tank leader only matter for a unit that stays put.
  if (c != kFort && !supportClass && c != kNaval && !airToSurface) {
    s.attackerCanMoveAfter = askYesNo(
        console, "\nCan the attacking unit move after this combat?  (Y/N):\n>> ");
    if (!isYes(s.attackerCanMoveAfter) && c != kFighter && c != kBomber) {
      s.attackerOutOfFuel =
          askYesNo(console, "\nIs the attacking unit out of fuel? (Y/N):\n>> ");
    }
    if (c == kAntiTank && !isYes(s.attackerCanMoveAfter) &&
        !isYes(s.attackerOutOfFuel)) {
      s.antiTankHasLeader =
          askYesNo(console, "\nDoes the anti-tank have a leader? (Y/N):\n>> ");
    }
  }

  askCombatSupport(console, s.attackerExperience, s.attackerSupportExperience);

  // Only a plain no keeps the menu away: a question that was not asked, an
  // empty answer or any other character let it be shown.
  if (isNo(s.antiTankHasLeader) || c == kNaval || c == kFort ||
      isNo(s.attackerInfantryLeader)) {
    return;
  }
  console.out << "\nPlease enter a leader choice for the attacking unit:  "
                 "\n\n******************\n1 for Aggressive Attack, "
                 "\n2 for Overwhelming Attack,";
  if (!supportClass) {
    console.out << "\n3 for First Strike,";
    console.out << "\n4 for Resilience, \n5 for Determined Defense,";
  }
  if (airToSurface) console.out << "\n6 for Skilled Ground Attack,";
  console.out << "\n7 for None of the above";
  console.out << "\n******************\n\n>> ";
  s.attackerLeaderChoice = askCount(
      console, "",
      "\nThis choice must be a number between one and seven.  Please "
      "reenter:\n>> ",
      1, 7);
}
