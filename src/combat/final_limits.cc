#include "combat/final_limits.h"

#include "scenario/exact.h"
#include "scenario/game_numbers.h"

namespace {

// Limits the suppression so that losses and suppression together stay
// within the defender's strength as entered.  A poor difference gives a
// negative suppression factor; the defender cannot gain strength from it, so
// it becomes 0 whether or not the sum reached the strength.
void limitSuppression(std::int64_t* suppression, std::int64_t losses,
                      std::int64_t defenderStrengthWhole) {
  if (static_cast<Wide>(*suppression) + losses > defenderStrengthWhole) {
    *suppression = saturate(static_cast<Wide>(defenderStrengthWhole) - losses);
  }
  if (*suppression < 0) *suppression = 0;
}

void limitToStrength(std::int64_t* losses, float strength) {
  if (static_cast<float>(*losses) > strength) *losses = truncateStrength(strength);
}

}  // namespace

void applyFinalLimits(const CombatScenario& s, CombatState* c) {
  using namespace unit_class;
  const float minimumDamageStrength = static_cast<float>(kMinimumDamageStrength);
  if (c->attackerLosses < 0) c->attackerLosses = 0;
  if (c->defenderLosses < 0) c->defenderLosses = 0;
  limitSuppression(&c->defenderSuppression, c->defenderLosses,
                   c->defenderStrengthWhole);

  // A side cannot inflict more than its own strength, nor lose more than it
  // has.
  limitToStrength(&c->attackerLosses, c->defenderStrength);
  limitToStrength(&c->defenderLosses, c->attackerStrength);
  if (c->defenderLosses > c->defenderStrengthWhole) {
    c->defenderLosses = c->defenderStrengthWhole;
  }
  if (c->attackerLosses > c->attackerStrengthWhole) {
    c->attackerLosses = c->attackerStrengthWhole;
  }

  if (c->defenderLosses == 0 && c->attackerStrength > minimumDamageStrength) {
    c->defenderLosses = 1;
  }
  if (c->attackerLosses == 0 && c->defenderStrength > minimumDamageStrength &&
      c->defenderAttackValue > 0) {
    c->attackerLosses = 1;
  }

  // No return fire from where the defender cannot reach or has nothing to
  // fire with.
  if (s.attackerClass == kArtillery || s.attackerClass == kAirDefense ||
      isYes(s.defenderOutOfAmmo) || s.combatRange > s.defenderFiringRange ||
      (s.attackerClass == kFort && s.attackerFiringRange > 1) ||
      c->defenderAttackValue == 0) {
    c->attackerLosses = 0;
  }

  if (c->defenderLossesNoSupport < 0) c->defenderLossesNoSupport = 0;
  limitSuppression(&c->defenderSuppressionNoSupport, c->defenderLossesNoSupport,
                   c->defenderStrengthWhole);
  limitToStrength(&c->defenderLossesNoSupport, c->attackerStrengthBeforeSupport);
  if (c->defenderLossesNoSupport > c->defenderStrengthWhole) {
    c->defenderLossesNoSupport = c->defenderStrengthWhole;
  }
  if (c->defenderLossesNoSupport == 0 &&
      c->attackerStrength > minimumDamageStrength) {
    c->defenderLossesNoSupport = 1;
  }

  c->attackerLossesNoSupport = c->attackerLosses;
  const Wide withSupport = static_cast<Wide>(c->airDefenseDamageTotal) +
                           c->attackerLosses + c->artilleryDamageTotal;
  c->attackerLosses = withSupport > c->attackerStrengthWhole
                          ? c->attackerStrengthWhole
                          : static_cast<std::int64_t>(withSupport);
}
