#include <algorithm>

#include "combat/exact.h"
#include "combat/exchange.h"

namespace {

void capAt(std::int64_t& initiative, std::int64_t limit) {
  if (initiative > limit) initiative = limit;
}

}  // namespace

void resolveInitiative(CombatScenario& s) {
  using namespace unit_class;
  s.firstStrikeSide = FirstStrikeSide::none;
  // Air attacks on surface units and support classes fire without an
  // initiative exchange.
  if (s.airToSurfaceAttack == 'y' || s.attackerClass == kArtillery ||
      s.attackerClass == kAirDefense) {
    return;
  }

  if (isYes(s.defenderInCity)) s.terrainCode = terrain::kCity;
  std::int64_t terrainLimit = -1;
  if (s.terrainCode == terrain::kCity) terrainLimit = 1;
  if (s.terrainCode == terrain::kForest) terrainLimit = 3;
  if (s.terrainCode == terrain::kRough) terrainLimit = 5;
  if (terrainLimit >= 0) {
    capAt(s.attackerInitiative, terrainLimit);
    capAt(s.defenderInitiative, terrainLimit);
  }

  const bool naval = s.attackerClass == kNaval;
  if (!naval && s.combatRange <= 1) capAt(s.attackerInitiative, 8);
  // An attacker that may move after the combat picks its moment: it is never
  // behind the defender's initiative as entered.
  if (!naval && isYes(s.attackerCanMoveAfter) &&
      s.defenderInitiative > s.attackerInitiative) {
    s.attackerInitiative = s.defenderInitiativeEntered;
  }
  if (!naval && s.combatRange == 2 && s.defenderFiringRange == 1 &&
      s.defenderInitiativeEntered > s.attackerInitiative) {
    s.attackerInitiative = s.defenderInitiativeEntered;
  }

  s.attackerInitiative = saturate(static_cast<Wide>(s.attackerInitiative) +
                                  (static_cast<Wide>(s.attackerExperience) + 1) / 2);
  s.defenderInitiative = saturate(static_cast<Wide>(s.defenderInitiative) +
                                  (static_cast<Wide>(s.defenderExperience) + 1) / 2 -
                                  s.timesAttacked);
  if (s.defenderInitiative < 0) s.defenderInitiative = 0;

  if (s.attackerClass == kAntiTank && !isYes(s.antiTankHasLeader) &&
      !isYes(s.attackerCanMoveAfter)) {
    s.attackerInitiative -= 2;
    if (s.defenderInitiative > s.attackerInitiative) s.attackerInitiative = 0;
  }
  if (s.attackerInitiative < 0) s.attackerInitiative = 0;

  const bool attackerWins = s.attackerDifference > -4 &&
                            s.attackerInitiative > s.defenderInitiative &&
                            s.ruggedChance < 100;
  if (attackerWins) {
    s.defenderDifference = saturate(static_cast<Wide>(s.defenderDifference) - 4);
    s.initiativeShift = std::min<std::int64_t>(
        s.attackerInitiative - s.defenderInitiative, 4);
    s.attackerDifference = saturatingAdd(s.attackerDifference, s.initiativeShift);
    if (s.attackerLeaderChoice == leader::kFirstStrike) {
      s.firstStrikeSide = FirstStrikeSide::attacker;
    }
    return;
  }
  // A certain rugged defense always hands the exchange to the defender.
  const bool defenderWins =
      !isYes(s.defenderOutOfAmmo) && s.combatRange <= s.defenderFiringRange &&
      ((s.defenderDifference > -4 &&
        s.defenderInitiative > s.attackerInitiative) ||
       s.ruggedChance == 100);
  if (defenderWins) {
    s.attackerDifference = saturate(static_cast<Wide>(s.attackerDifference) - 4);
    s.initiativeShift = saturate(std::min<Wide>(
        static_cast<Wide>(s.defenderInitiative) - s.attackerInitiative, 4));
    s.defenderDifference = saturatingAdd(s.defenderDifference, s.initiativeShift);
    if (s.defenderLeaderChoice == leader::kFirstStrike) {
      s.firstStrikeSide = FirstStrikeSide::defender;
    }
  }
}
