#include "combat/differences.h"

#include "scenario/exact.h"
#include "scenario/game_numbers.h"

namespace {

std::int64_t difference(std::int64_t attack, std::int64_t defense) {
  return saturate(static_cast<Wide>(attack) - defense);
}

void limitAtZero(std::int64_t* value) {
  if (*value < 0) *value = 0;
}

}  // namespace

std::int64_t softenedDefense(std::int64_t defenseBeforeSoftening,
                             std::int64_t timesAttacked) {
  const Wide defense = static_cast<Wide>(defenseBeforeSoftening) -
                       kSofteningStep * static_cast<Wide>(timesAttacked);
  return defense < 0 ? 0 : saturate(defense);
}

std::int64_t attackerDifferenceFor(const CombatScenario& s, const CombatState& c,
                                   std::int64_t timesAttacked) {
  // Artillery and bombers do not soften the defender.
  const bool softens = s.attackerClass != unit_class::kArtillery &&
                       s.attackerClass != unit_class::kBomber;
  return difference(c.attackerAttackValue,
                    softenedDefense(c.defenseBeforeSoftening,
                                    softens ? timesAttacked : 0));
}

void formCombatDifferences(const CombatScenario& s, CombatState* c) {
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
      addTo(&c->defenderDefenseValue, s.defenderRangedDefense);
      addTo(&c->attackerDefenseValue, attackerGain);
    } else if (s.combatRange <= 1 && s.defenderFiringRange <= 1) {
      addTo(&c->defenderDefenseValue, s.defenderRangedDefense / 2);
      addTo(&c->attackerDefenseValue, attackerGain);
    } else if (s.combatRange <= 1 && s.defenderFiringRange == 2) {
      addTo(&c->defenderDefenseValue, s.defenderRangedDefense / 2);
      addTo(&c->attackerDefenseValue, attackerGain / 2);
    }
  }

  if (s.navalVsNonNaval ||
      (s.defenderClass == kNaval && a != kFighter && a != kBomber)) {
    addTo(&c->attackerDefenseValue, s.attackerRangedDefense / 2);
    addTo(&c->defenderDefenseValue, s.defenderRangedDefense / 2);
  }

  // A ship already attacked by another ship fights on with at least 1.
  if (isYes(s.shipAlreadyAttackedByShip)) {
    addTo(&c->defenderAttackValue, -10);
    if (c->defenderAttackValue <= 0) c->defenderAttackValue = 1;
  }

  // The modifiers leave the softening out, so this is the defense without it.
  c->defenseBeforeSoftening = c->defenderDefenseValue;

  limitAtZero(&c->attackerAttackValue);
  limitAtZero(&c->defenderAttackValue);
  limitAtZero(&c->attackerDefenseValue);
  limitAtZero(&c->defenderDefenseValue);

  c->defenderDifference =
      difference(c->defenderAttackValue, c->attackerDefenseValue);

  if (c->ruggedChance > 0) {
    // The rugged defense does not count the softening.
    c->ruggedAttackerDifference = difference(
        c->attackerAttackValue,
        saturatingAdd(c->defenseBeforeSoftening, kRuggedDefenseBonus));
    const std::int64_t ruggedAttack =
        saturatingAdd(c->defenderAttackValue, kRuggedDefenseBonus);
    if (isYes(s.isAssault)) {
      c->ruggedDefenderDifference =
          difference(ruggedAttack, c->attackerDefenseValue / 2);
    } else {
      // The close defense with every change made to the defense value.
      std::int64_t closeDefenseTotal =
          saturate(static_cast<Wide>(s.attackerCloseDefense) +
                   c->attackerDefenseValue - s.attackerDefenseValue);
      limitAtZero(&closeDefenseTotal);
      c->ruggedDefenderDifference =
          difference(ruggedAttack, closeDefenseTotal / 2);
    }
  }
}
