#include "combat/differences.h"

#include "combat/exact.h"

namespace {

std::int64_t difference(std::int64_t attack, std::int64_t defense) {
  return saturate(static_cast<Wide>(attack) - defense);
}

void limitAtZero(std::int64_t& value) {
  if (value < 0) value = 0;
}

}  // namespace

std::int64_t softenedDefenseFor(const CombatScenario& s,
                                std::int64_t timesAttacked) {
  const Wide defense =
      static_cast<Wide>(s.defenseBeforeSoftening) - 2 * static_cast<Wide>(timesAttacked);
  return defense < 0 ? 0 : saturate(defense);
}

void formCombatDifferences(CombatScenario& s) {
  using namespace unit_class;
  const std::int64_t a = s.attackerClass;

  // Ranged defense counts only against ground units firing from a distance.
  if (!isYes(s.isAssault) && (a < kArtillery || a > kNaval) &&
      s.defenderClass != kNaval) {
    const bool attackerRangedCounts = a != kAntiTank ||
                                      isYes(s.attackerCanMoveAfter) ||
                                      isYes(s.antiTankHasLeader);
    const std::int64_t attackerGain =
        attackerRangedCounts ? s.attackerRangedDefense : 0;
    if (s.combatRange == 2) {
      addTo(s.defenderDefenseValue, s.defenderRangedDefense);
      addTo(s.attackerDefenseValue, attackerGain);
    } else if (s.combatRange <= 1 && s.defenderFiringRange <= 1) {
      addTo(s.defenderDefenseValue, s.defenderRangedDefense / 2);
      addTo(s.attackerDefenseValue, attackerGain);
    } else if (s.combatRange <= 1 && s.defenderFiringRange == 2) {
      addTo(s.defenderDefenseValue, s.defenderRangedDefense / 2);
      addTo(s.attackerDefenseValue, attackerGain / 2);
    }
  }

  if (s.navalVsNonNaval == 'y' ||
      (s.defenderClass == kNaval && a != kFighter && a != kBomber)) {
    addTo(s.attackerDefenseValue, s.attackerRangedDefense / 2);
    addTo(s.defenderDefenseValue, s.defenderRangedDefense / 2);
  }

  if (isYes(s.shipAlreadyAttackedByShip)) {
    addTo(s.defenderAttackValue, -10);
    if (s.defenderAttackValue <= 0) s.defenderAttackValue = 1;
  }

  s.defenseBeforeSoftening =
      saturate(static_cast<Wide>(s.defenderDefenseValue) + 2 * static_cast<Wide>(s.timesAttacked));

  limitAtZero(s.attackerAttackValue);
  limitAtZero(s.defenderAttackValue);
  limitAtZero(s.attackerDefenseValue);
  limitAtZero(s.defenderDefenseValue);

  s.attackerDifference = difference(s.attackerAttackValue, s.defenderDefenseValue);
  s.defenderDifference = difference(s.defenderAttackValue, s.attackerDefenseValue);

  if (s.ruggedChance > 0) {
    // The rugged defense does not count the softening.
    s.ruggedAttackerDifference =
        difference(s.attackerAttackValue,
                   saturate(static_cast<Wide>(s.defenseBeforeSoftening) + 4));
    if (isYes(s.isAssault)) {
      s.ruggedDefenderDifference =
          difference(saturate(static_cast<Wide>(s.defenderAttackValue) + 4),
                     s.attackerDefenseValue / 2);
    } else {
      s.attackerCloseDefenseTotal = saturate(
          static_cast<Wide>(s.attackerCloseDefense) + s.attackerDefenseValue -
          s.attackerDefenseValueEntered);
      limitAtZero(s.attackerCloseDefenseTotal);
      s.ruggedDefenderDifference =
          difference(saturate(static_cast<Wide>(s.defenderAttackValue) + 4),
                     s.attackerCloseDefenseTotal / 2);
    }
  }
}
