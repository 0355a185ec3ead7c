#include "combat/exchange.h"

#include "scenario/exact.h"

namespace {

// Forts, artillery and ships bombarding land fire like artillery.
FireFamily attackerFamily(const CombatScenario& s) {
  using namespace unit_class;
  return s.attackerClass == kArtillery || s.attackerClass == kFort ||
                 s.navalVsNonNaval
             ? FireFamily::artillery
             : FireFamily::standard;
}

FireResult attackerFire(const CombatScenario& s, const CombatState& c,
                        float strength, FireFamily family) {
  return resolveFire(c.attackerDifference, truncateStrength(strength), family,
                     scalingFor(family), s.attackerLeaderChoice,
                     s.defenderLeaderChoice);
}

}  // namespace

bool anySupportFire(const CombatState& c) {
  return c.artilleryDamageTotal > 0 || c.artillerySuppressionTotal > 0 ||
         c.airDefenseDamageTotal > 0 || c.airDefenseSuppressionTotal > 0;
}

Scaling scalingFor(FireFamily family) {
  return family == FireFamily::artillery ? Scaling::rounded : Scaling::truncated;
}

void exchangeFire(const CombatScenario& s, CombatState* c) {
  using namespace unit_class;
  const FireFamily family = attackerFamily(s);
  const FireResult fire = attackerFire(s, *c, c->attackerStrength, family);
  c->defenderLosses = fire.losses;
  c->defenderSuppression = fire.suppression;
  if (anySupportFire(*c)) {
    const FireResult noSupport =
        attackerFire(s, *c, c->attackerStrengthBeforeSupport, family);
    c->defenderLossesNoSupport = noSupport.losses;
    c->defenderSuppressionNoSupport = noSupport.suppression;
  }

  // Artillery and air-defense attackers fire from where the defender cannot
  // answer; a defender out of ammunition answers only at sea.
  const std::int64_t a = s.attackerClass;
  const std::int64_t d = s.defenderClass;
  const bool canAnswer =
      !isYes(s.defenderOutOfAmmo) && a != kArtillery && a != kAirDefense;
  FireFamily returnFamily = FireFamily::standard;
  if ((canAnswer && d != kArtillery && d != kNaval) ||
      (d == kNaval && a == kNaval)) {
    returnFamily = FireFamily::standard;
  } else if (canAnswer && (d == kArtillery || d == kNaval)) {
    returnFamily = FireFamily::artillery;
  } else {
    return;
  }
  const FireResult answer = resolveFire(
      c->defenderDifference, truncateStrength(c->defenderStrength), returnFamily,
      scalingFor(returnFamily), s.defenderLeaderChoice, s.attackerLeaderChoice);
  c->attackerLosses = answer.losses;
  c->attackerSuppression = answer.suppression;
}
