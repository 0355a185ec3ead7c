#include "combat/support_fire.h"

#include "combat/exact.h"

bool settleSupportFire(Console& console, std::int64_t damage,
                       std::int64_t suppression, std::int64_t unitStrength,
                       std::int64_t attackerStrengthWhole,
                       std::int64_t& damageTotal,
                       std::int64_t& suppressionTotal,
                       const SupportFireTexts& texts) {
  const std::int64_t cap = attackerStrengthWhole;
  if (damage < 0) damage = 0;
  if (suppression < 0) suppression = 0;
  // A unit of strength 10 or more always does some damage.
  if (damage == 0 && unitStrength > 9) damage = 1;
  bool damageCapped = false;
  if (damage > cap) {
    damage = cap;
    damageCapped = true;
  }
  if (suppression > cap - damage) suppression = cap - damage;

  console.out << texts.unitLine << damage << " damage and " << suppression
              << " suppression.\n";

  if (!damageCapped) {
    damageTotal += damage;
    suppressionTotal += suppression;
  }
  if (damageTotal > cap) {
    damageTotal = cap;
    damageCapped = true;
  }
  if (suppressionTotal > cap - damageTotal) {
    suppressionTotal = cap - damageTotal;
  }
  if (!damageCapped &&
      (suppression != suppressionTotal || damage != damageTotal)) {
    console.out << texts.totalsLine << damageTotal << " damage and "
                << suppressionTotal << " suppression.\n";
  }
  // Once the attacker is wiped out, further support cannot add anything.
  if (damageCapped) return false;
  return isYes(askYesNo(console, texts.nextUnitQuestion));
}

void subtractSupportFire(CombatScenario& s, std::int64_t damageTotal,
                         std::int64_t suppressionTotal) {
  if (damageTotal > 0 || suppressionTotal > 0) {
    s.attackerStrength = strengthAfter(
        s.attackerStrength, static_cast<Wide>(damageTotal) + suppressionTotal);
  }
}
