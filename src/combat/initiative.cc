#include "combat/initiative.h"

#include <algorithm>

#include "scenario/exact.h"
#include "scenario/game_numbers.h"

namespace {

void capAt(std::int64_t* initiative, std::int64_t limit) {
  if (*initiative > limit) *initiative = limit;
}

}  // namespace

char terrainCodeOf(const CombatScenario& s) {
  // Clear or sandy terrain ends the chain without a limit.
  if (isYes(s.terrainClearOrSandy)) return terrain::kNone;
  if (isYes(s.terrainRoughBocageOrHills)) return terrain::kRough;
  if (isYes(s.terrainForest)) return terrain::kForest;
  if (isYes(s.terrainCitiesOrMountains)) return terrain::kCity;
  return terrain::kNone;
}

void resolveInitiative(const CombatScenario& s, CombatState* c) {
  using namespace unit_class;
  c->firstStrikeSide = FirstStrikeSide::none;
  // Air attacks on surface units and support classes fire without an
  // initiative exchange.
  if (s.airToSurfaceAttack || s.attackerClass == kArtillery ||
      s.attackerClass == kAirDefense) {
    return;
  }

  // A defender in a city limits both initiatives as cities do.
  const char terrainCode =
      isYes(s.defenderInCity) ? terrain::kCity : terrainCodeOf(s);
  std::int64_t terrainCap = -1;
  if (terrainCode == terrain::kCity) terrainCap = kCityInitiativeCap;
  if (terrainCode == terrain::kForest) terrainCap = kForestInitiativeCap;
  if (terrainCode == terrain::kRough) terrainCap = kRoughInitiativeCap;
  if (terrainCap >= 0) {
    capAt(&c->attackerInitiative, terrainCap);
    capAt(&c->defenderInitiative, terrainCap);
  }

  const bool naval = s.attackerClass == kNaval;
  if (!naval && s.combatRange <= 1) {
    capAt(&c->attackerInitiative, kCloseRangeInitiativeCap);
  }
  // An attacker that may move after the combat picks its moment: it is never
  // behind the defender's initiative as entered.
  if (!naval && isYes(s.attackerCanMoveAfter) &&
      c->defenderInitiative > c->attackerInitiative) {
    c->attackerInitiative = s.defenderInitiative;
  }
  if (!naval && s.combatRange == 2 && s.defenderFiringRange == 1 &&
      s.defenderInitiative > c->attackerInitiative) {
    c->attackerInitiative = s.defenderInitiative;
  }

  c->attackerInitiative =
      saturate(static_cast<Wide>(c->attackerInitiative) +
               (static_cast<Wide>(c->attackerExperience) + 1) / 2);
  c->defenderInitiative =
      saturate(static_cast<Wide>(c->defenderInitiative) +
               (static_cast<Wide>(c->defenderExperience) + 1) / 2 -
               c->timesAttacked);
  if (c->defenderInitiative < 0) c->defenderInitiative = 0;

  if (s.attackerClass == kAntiTank && !isYes(s.antiTankHasLeader) &&
      !isYes(s.attackerCanMoveAfter)) {
    c->attackerInitiative -= 2;
    if (c->defenderInitiative > c->attackerInitiative) c->attackerInitiative = 0;
  }
  if (c->attackerInitiative < 0) c->attackerInitiative = 0;

  const bool attackerWins = c->attackerDifference > -kInitiativeShift &&
                            c->attackerInitiative > c->defenderInitiative &&
                            c->ruggedChance < kCertainRuggedChance;
  if (attackerWins) {
    c->defenderDifference =
        saturate(static_cast<Wide>(c->defenderDifference) - kInitiativeShift);
    c->initiativeShift = std::min<std::int64_t>(
        c->attackerInitiative - c->defenderInitiative, kInitiativeShift);
    c->attackerDifference =
        saturatingAdd(c->attackerDifference, c->initiativeShift);
    if (s.attackerLeaderChoice == leader::kFirstStrike) {
      c->firstStrikeSide = FirstStrikeSide::attacker;
    }
    return;
  }
  // A certain rugged defense always hands the exchange to the defender.
  const bool defenderWins =
      !isYes(s.defenderOutOfAmmo) && s.combatRange <= s.defenderFiringRange &&
      ((c->defenderDifference > -kInitiativeShift &&
        c->defenderInitiative > c->attackerInitiative) ||
       c->ruggedChance == kCertainRuggedChance);
  if (defenderWins) {
    c->attackerDifference =
        saturate(static_cast<Wide>(c->attackerDifference) - kInitiativeShift);
    c->initiativeShift = saturate(std::min<Wide>(
        static_cast<Wide>(c->defenderInitiative) - c->attackerInitiative,
        kInitiativeShift));
    c->defenderDifference =
        saturatingAdd(c->defenderDifference, c->initiativeShift);
    if (s.defenderLeaderChoice == leader::kFirstStrike) {
      c->firstStrikeSide = FirstStrikeSide::defender;
    }
  }
}
