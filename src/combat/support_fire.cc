#include "combat/support_fire.h"

#include "combat/modifiers.h"
#include "scenario/exact.h"
#include "scenario/game_numbers.h"

namespace {

// One supporting unit in the terms both phases share.
struct SupportShot {
  std::int64_t attackValue;  // with leader bonus and experience
  std::int64_t targetDefense;
  std::int64_t strength;  // after the halving of its phase
  std::int64_t leaderChoice;
};

std::int64_t aggressiveAttack(std::int64_t attackValue, std::int64_t choice) {
  return choice == leader::kAggressiveAttack ? saturatingAdd(attackValue, 2)
                                             : attackValue;
}

std::int64_t atLeastZero(std::int64_t value) { return value < 0 ? 0 : value; }

// The defense the artillery fires at.  In an assault it is the attacker's
// ground defense, given the same net adjustment as the applicable defense
// value; otherwise the applicable defense value.
std::int64_t groundDefenseOf(const CombatScenario& s, const CombatState& c) {
  if (!isYes(s.isAssault)) return atLeastZero(c.attackerDefenseValue);
  return atLeastZero(saturate(static_cast<Wide>(s.attackerGroundDefense) +
                              c.attackerDefenseValue - s.attackerDefenseValue));
}

SupportShot artilleryShot(const CombatScenario& s, const CombatState& c,
                          const ArtilleryPiece& piece) {
  // A piece that is not adjacent fires at half strength.
  const std::int64_t strength =
      isYes(piece.adjacent) ? piece.strength : piece.strength / 2;
  return {saturatingAdd(aggressiveAttack(piece.attackValue, piece.leaderChoice),
                        experienceWithSupport(piece.experience,
                                              piece.combatSupport)),
          groundDefenseOf(s, c), strength, piece.leaderChoice};
}

// A fighter meets the airplane's air defense, raised by its experience and
// Determined Defense; any other supporting unit its applicable defense.
SupportShot airDefenseShot(const CombatScenario& s, const CombatState& c,
                           const AirDefenseUnit& unit) {
  std::int64_t defense = c.attackerDefenseValue;
  if (isYes(unit.isFighter)) {
    Wide airDefense = static_cast<Wide>(s.airplaneAirDefense) + c.attackerExperience;
    if (s.attackerLeaderChoice == leader::kDeterminedDefense) airDefense += 2;
    defense = saturate(airDefense);
  }
  // Overcast skies halve every supporting unit.
  const std::int64_t strength =
      isYes(s.weatherOvercast) ? unit.strength / 2 : unit.strength;
  return {saturatingAdd(aggressiveAttack(unit.attackValue, unit.leaderChoice),
                        experienceWithSupport(unit.experience,
                                              unit.combatSupport)),
          atLeastZero(defense), strength, unit.leaderChoice};
}

std::size_t unitCount(const CombatScenario& s) {
  switch (supportFamilyOf(s)) {
    case SupportFamily::artillery:
      return s.artillery.size();
    case SupportFamily::airDefense:
      return s.airDefense.size();
    case SupportFamily::none:
      break;
  }
  return 0;
}

}  // namespace

SupportFamily supportFamilyOf(const CombatScenario& s) {
  if (s.attackerClass >= unit_class::kInfantry &&
      s.attackerClass < unit_class::kArtillery) {
    return SupportFamily::artillery;
  }
  return s.airToSurfaceAttack ? SupportFamily::airDefense : SupportFamily::none;
}

SettledFire settleSupportFire(FireResult fire, std::int64_t unitStrength,
                              const SettledFire& before,
                              std::int64_t attackerStrengthWhole) {
  const std::int64_t cap = attackerStrengthWhole;
  SettledFire settled;
  settled.damage = atLeastZero(fire.losses);
  settled.suppression = atLeastZero(fire.suppression);
  if (settled.damage == 0 && unitStrength > kMinimumDamageStrength) {
    settled.damage = 1;
  }
  if (settled.damage > cap) {
    settled.damage = cap;
    settled.damageCapped = true;
  }
  if (settled.suppression > cap - settled.damage) {
    settled.suppression = cap - settled.damage;
  }
  settled.damageTotal = before.damageTotal;
  settled.suppressionTotal = before.suppressionTotal;
  if (!settled.damageCapped) {
    settled.damageTotal += settled.damage;
    settled.suppressionTotal += settled.suppression;
  }
  if (settled.damageTotal > cap) {
    settled.damageTotal = cap;
    settled.damageCapped = true;
  }
  if (settled.suppressionTotal > cap - settled.damageTotal) {
    settled.suppressionTotal = cap - settled.damageTotal;
  }
  return settled;
}

float subtractSupportFire(float attackerStrength, std::int64_t damageTotal,
                          std::int64_t suppressionTotal) {
  if (damageTotal <= 0 && suppressionTotal <= 0) return attackerStrength;
  return strengthAfter(attackerStrength,
                       static_cast<Wide>(damageTotal) + suppressionTotal);
}

SettledFire fireSupportUnit(const CombatScenario& s, const CombatState& c,
                            std::size_t index, const SettledFire& before) {
  const bool artillery = supportFamilyOf(s) == SupportFamily::artillery;
  const SupportShot shot = artillery ? artilleryShot(s, c, s.artillery[index])
                                     : airDefenseShot(s, c, s.airDefense[index]);
  // The artillery's negative quotients move one toward zero; the air
  // defense's are truncated like any standard fire.
  const FireResult fire = resolveFire(
      saturate(static_cast<Wide>(shot.attackValue) - shot.targetDefense),
      shot.strength, artillery ? FireFamily::artillery : FireFamily::standard,
      artillery ? Scaling::wholeRounded : Scaling::truncated,
      shot.leaderChoice, s.attackerLeaderChoice);
  return settleSupportFire(fire, shot.strength, before, c.attackerStrengthWhole);
}

SupportFire runSupportFire(const CombatScenario& s, const CombatState& c) {
  SupportFire support;
  support.family = supportFamilyOf(s);
  SettledFire last;
  const std::size_t count = unitCount(s);
  support.units.reserve(count);
  for (std::size_t i = 0; i < count && !last.damageCapped; ++i) {
    last = fireSupportUnit(s, c, i, last);
    support.units.push_back(last);
  }
  support.damageTotal = last.damageTotal;
  support.suppressionTotal = last.suppressionTotal;
  return support;
}
