#include "combat/modifiers.h"

#include "scenario/exact.h"
#include "scenario/game_numbers.h"

namespace {

constexpr std::int64_t kAssaultAttackBonus = 4;
constexpr std::int64_t kAggressiveAttackBonus = 2;
constexpr std::int64_t kDeterminedDefenseBonus = 2;
constexpr std::int64_t kInfantryLeaderDefenseBonus = 4;
constexpr std::int64_t kSkilledGroundAttackBonus = 4;
constexpr std::int64_t kArtilleryTargetDefenseBonus = 3;
constexpr std::int64_t kAntiTankAgainstInfantryBonus = 2;
constexpr std::int64_t kSnowOrRainDefenseBonus = 3;
constexpr std::int64_t kRiverBonus = 4;

}  // namespace

std::int64_t experienceWithSupport(std::int64_t ownBars,
                                   const std::vector<std::int64_t>& support) {
  std::int64_t bars = ownBars;
  for (const std::int64_t unitBars : support) bars = saturatingAdd(bars, unitBars);
  return bars;
}

std::int64_t ruggedDefenseChance(std::int64_t defenderEntrenchment,
                                 std::int64_t attackerEntrenchment,
                                 std::int64_t defenderExperience,
                                 std::int64_t attackerExperience) {
  Wide t = (static_cast<Wide>(defenderEntrenchment) * 5 + 5) /
           (static_cast<Wide>(attackerEntrenchment) + 1);
  t = t * (static_cast<Wide>(defenderExperience) + 2);
  t = t / (static_cast<Wide>(attackerExperience) + 2);
  return t > kCertainRuggedChance ? kCertainRuggedChance
                                  : static_cast<std::int64_t>(t);
}

std::int64_t ruggedChanceOf(const CombatScenario& s) {
  using unit_class::kInfantry;
  if (s.attackerClass != kInfantry || s.defenderClass != kInfantry ||
      s.defenderEntrenchment <= 0) {
    return 0;
  }
  return ruggedDefenseChance(
      s.defenderEntrenchment, s.attackerEntrenchment,
      experienceWithSupport(s.defenderExperience, s.defenderCombatSupport),
      experienceWithSupport(s.attackerExperience, s.attackerCombatSupport));
}

float halveStrength(float strength) {
  return static_cast<float>(truncateStrength(strength * 0.5f));
}

CombatState applyCombatValueModifiers(const CombatScenario& s) {
  using namespace unit_class;
  CombatState c;
  c.attackerExperience =
      experienceWithSupport(s.attackerExperience, s.attackerCombatSupport);
  c.defenderExperience =
      experienceWithSupport(s.defenderExperience, s.defenderCombatSupport);
  c.ruggedChance = ruggedChanceOf(s);
  c.attackerAttackValue = s.attackerAttackValue;
  c.attackerDefenseValue = s.attackerDefenseValue;
  c.defenderAttackValue = s.defenderAttackValue;
  c.defenderDefenseValue = s.defenderDefenseValue;
  c.attackerStrength = static_cast<float>(s.attackerStrength);
  c.defenderStrength = static_cast<float>(s.defenderStrength);
  c.attackerStrengthWhole = truncateStrength(c.attackerStrength);
  c.defenderStrengthWhole = truncateStrength(c.defenderStrength);

  const bool assault = isYes(s.isAssault);
  if (assault) {
    addTo(&c.attackerAttackValue, kAssaultAttackBonus);
    addTo(&c.defenderAttackValue, kAssaultAttackBonus);
  }
  if (s.attackerLeaderChoice == leader::kAggressiveAttack) {
    addTo(&c.attackerAttackValue, kAggressiveAttackBonus);
  }
  if (s.attackerLeaderChoice == leader::kDeterminedDefense) {
    addTo(&c.attackerDefenseValue, kDeterminedDefenseBonus);
  }
  if (isYes(s.attackerInfantryLeader) && !assault) {
    addTo(&c.attackerDefenseValue, kInfantryLeaderDefenseBonus);
  }
  if (s.attackerLeaderChoice == leader::kSkilledGroundAttack &&
      s.airToSurfaceAttack) {
    addTo(&c.attackerAttackValue, kSkilledGroundAttackBonus);
  }
  if (s.defenderLeaderChoice == leader::kAggressiveAttack) {
    addTo(&c.defenderAttackValue, kAggressiveAttackBonus);
  }
  if (s.defenderLeaderChoice == leader::kDeterminedDefense) {
    addTo(&c.defenderDefenseValue, kDeterminedDefenseBonus);
  }
  if (isYes(s.defenderInfantryLeader) && !assault) {
    addTo(&c.defenderDefenseValue, kInfantryLeaderDefenseBonus);
  }
  addTo(&c.attackerAttackValue, c.attackerExperience);
  addTo(&c.defenderAttackValue, c.defenderExperience);
  addTo(&c.attackerDefenseValue, c.attackerExperience);
  addTo(&c.defenderDefenseValue, c.defenderExperience);
  // Entrenchment counts double in a city, forest or mountain.
  addTo(&c.attackerDefenseValue,
        static_cast<Wide>(s.attackerEntrenchment) *
            (isYes(s.attackerInCityForestMountain) ? 2 : 1));
  addTo(&c.defenderDefenseValue,
        static_cast<Wide>(s.defenderEntrenchment) *
            (isYes(defenderCloseTerrain(s)) ? 2 : 1));
  if (s.defenderClass == kArtillery) {
    addTo(&c.attackerDefenseValue, kArtilleryTargetDefenseBonus);
  }
  if (s.attackerClass == kAntiTank && s.defenderClass == kInfantry) {
    addTo(&c.defenderDefenseValue, kAntiTankAgainstInfantryBonus);
  }
  if (s.defenderClass == kAntiTank && s.attackerClass == kInfantry) {
    addTo(&c.attackerDefenseValue, kAntiTankAgainstInfantryBonus);
  }
  if (isYes(s.weatherSnowOrRain)) {
    addTo(&c.attackerDefenseValue, kSnowOrRainDefenseBonus);
    addTo(&c.defenderDefenseValue, kSnowOrRainDefenseBonus);
  }
  if (isYes(s.weatherOvercast)) {
    c.attackerStrength = halveStrength(c.attackerStrength);
    c.defenderStrength = halveStrength(c.defenderStrength);
  }
  // A unit attacking out of a river fights at a disadvantage both ways.
  if (isYes(s.attackerInRiver)) {
    addTo(&c.defenderAttackValue, kRiverBonus);
    addTo(&c.defenderDefenseValue, kRiverBonus);
  }
  if (isYes(s.defenderInRiver)) {
    addTo(&c.attackerAttackValue, kRiverBonus);
    addTo(&c.attackerDefenseValue, kRiverBonus);
  }
  // The softening would come here; the computation pass applies it to the
  // defender's defense instead, so that everything before the pass holds
  // for every number of times attacked.
  if (isYes(s.attackerOutOfFuel)) {
    c.attackerStrength = halveStrength(c.attackerStrength);
  }
  if (isYes(s.defenderOutOfFuel)) {
    c.defenderStrength = halveStrength(c.defenderStrength);
  }

  c.attackerStrengthBeforeSupport = c.attackerStrength;
  c.defenderStrengthBeforeSupport = c.defenderStrength;
  return c;
}
