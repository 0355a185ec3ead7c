#include "combat/modifiers.h"

#include "combat/exact.h"

std::int64_t ruggedDefenseChance(std::int64_t defenderEntrenchment,
                                 std::int64_t attackerEntrenchment,
                                 std::int64_t defenderExperience,
                                 std::int64_t attackerExperience) {
  Wide t = (static_cast<Wide>(defenderEntrenchment) * 5 + 5) /
           (static_cast<Wide>(attackerEntrenchment) + 1);
  t = t * (static_cast<Wide>(defenderExperience) + 2);
  t = t / (static_cast<Wide>(attackerExperience) + 2);
  return t > 100 ? 100 : static_cast<std::int64_t>(t);
}

float halveStrength(float strength) {
  return static_cast<float>(truncateStrength(strength * 0.5f));
}

namespace {

void askCloseDefense(CombatScenario& s, Console& console) {
  console.out << "\n\nRugged Defense Factor:\n\n";
  s.attackerCloseDefense = askNumber(
      console, "\nPlease enter the close defense of the attacking unit:\n>> ",
      "\nThe close defense must be zero or greater.  Please reenter:\n>> ");
}

}  // namespace

void applyCombatValueModifiers(CombatScenario& s, Console& console) {
  using namespace unit_class;
  const bool infantryFight =
      s.attackerClass == kInfantry && s.defenderClass == kInfantry;
  const bool assault = isYes(s.isAssault);

  if (infantryFight && s.defenderEntrenchment > 0) {
    s.ruggedChance =
        ruggedDefenseChance(s.defenderEntrenchment, s.attackerEntrenchment,
                            s.defenderExperience, s.attackerExperience);
  }
  if (!assault && infantryFight && s.defenderEntrenchment > 0 &&
      s.ruggedChance > 0) {
    askCloseDefense(s, console);
  }

  if (assault) {
    addTo(s.attackerAttackValue, 4);
    addTo(s.defenderAttackValue, 4);
  }
  if (s.attackerLeaderChoice == leader::kAggressiveAttack) {
    addTo(s.attackerAttackValue, 2);
  }
  if (s.attackerLeaderChoice == leader::kDeterminedDefense) {
    addTo(s.attackerDefenseValue, 2);
  }
  if (isYes(s.attackerInfantryLeader) && !assault) {
    addTo(s.attackerDefenseValue, 4);
  }
  if (s.attackerLeaderChoice == leader::kSkilledGroundAttack &&
      s.airToSurfaceAttack == 'y') {
    addTo(s.attackerAttackValue, 4);
  }
  if (s.defenderLeaderChoice == leader::kAggressiveAttack) {
    addTo(s.defenderAttackValue, 2);
  }
  if (s.defenderLeaderChoice == leader::kDeterminedDefense) {
    addTo(s.defenderDefenseValue, 2);
  }
  if (isYes(s.defenderInfantryLeader) && !assault) {
    addTo(s.defenderDefenseValue, 4);
  }
  addTo(s.attackerAttackValue, s.attackerExperience);
  addTo(s.defenderAttackValue, s.defenderExperience);
  addTo(s.attackerDefenseValue, s.attackerExperience);
  addTo(s.defenderDefenseValue, s.defenderExperience);
  // Entrenchment counts double in a city, forest or mountain.
  addTo(s.attackerDefenseValue,
      static_cast<Wide>(s.attackerEntrenchment) *
          (isYes(s.attackerInCityForestMountain) ? 2 : 1));
  addTo(s.defenderDefenseValue,
      static_cast<Wide>(s.defenderEntrenchment) *
          (isYes(s.defenderInCityForestMountain) ? 2 : 1));
  if (s.defenderClass == kArtillery) addTo(s.attackerDefenseValue, 3);
  if (s.attackerClass == kAntiTank && s.defenderClass == kInfantry) {
    addTo(s.defenderDefenseValue, 2);
  }
  if (s.defenderClass == kAntiTank && s.attackerClass == kInfantry) {
    addTo(s.attackerDefenseValue, 2);
  }
  if (isYes(s.weatherSnowOrRain)) {
    addTo(s.attackerDefenseValue, 3);
    addTo(s.defenderDefenseValue, 3);
  }
  if (isYes(s.weatherOvercast)) {
    s.attackerStrength = halveStrength(s.attackerStrength);
    s.defenderStrength = halveStrength(s.defenderStrength);
  }
  // A unit attacking out of a river fights at a disadvantage both ways.
  if (isYes(s.attackerInRiver)) {
    addTo(s.defenderAttackValue, 4);
    addTo(s.defenderDefenseValue, 4);
  }
  if (isYes(s.defenderInRiver)) {
    addTo(s.attackerAttackValue, 4);
    addTo(s.attackerDefenseValue, 4);
  }
  // Softening: each earlier attack costs the defender two points of defense.
  if (s.attackerClass != kArtillery && s.attackerClass != kBomber) {
    addTo(s.defenderDefenseValue, -2 * static_cast<Wide>(s.timesAttacked));
  }
  if (isYes(s.attackerOutOfFuel)) {
    s.attackerStrength = halveStrength(s.attackerStrength);
  }
  if (isYes(s.defenderOutOfFuel)) {
    s.defenderStrength = halveStrength(s.defenderStrength);
  }

  s.attackerStrengthBeforeSupport = s.attackerStrength;
  s.defenderStrengthBeforeSupport = s.defenderStrength;
}
