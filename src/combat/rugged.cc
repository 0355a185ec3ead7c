#include "combat/rugged.h"

#include "combat/fire.h"
#include "scenario/exact.h"
#include "scenario/game_numbers.h"

namespace {

// What is left of the attacker to answer with after `points` strength points.
std::int64_t remainingStrength(float strength, Wide points) {
  return truncateStrength(strengthAfter(strength, points));
}

// The attacker's answer to a rugged defense with what is left of it.
FireResult attackerAnswer(const CombatScenario& s, const CombatState& c,
                          std::int64_t remaining) {
  return resolveFire(c.ruggedAttackerDifference, remaining, FireFamily::standard,
                     Scaling::truncated, s.attackerLeaderChoice,
                     s.defenderLeaderChoice);
}

// The limits on what the attacker inflicts when it answers with `remaining`.
void limitAnswer(std::int64_t* losses, std::int64_t* suppression,
                 std::int64_t remaining, std::int64_t defenderStrengthWhole) {
  if (*losses > remaining) *losses = remaining;
  if (*losses > defenderStrengthWhole) *losses = defenderStrengthWhole;
  if (*losses == 0 && remaining > kMinimumDamageStrength) *losses = 1;
  if (*losses < 0) *losses = 0;
  if (static_cast<Wide>(*suppression) + *losses > defenderStrengthWhole) {
    *suppression = defenderStrengthWhole - *losses;
  }
  if (*suppression < 0) *suppression = 0;
}

}  // namespace

void resolveRuggedDefense(const CombatScenario& s, CombatState* c) {
  RuggedOutcome& r = c->rugged;
  // The defender fires first, at full strength.
  const FireResult defenderFire = resolveFire(
      c->ruggedDefenderDifference,
      truncateStrength(c->defenderStrengthBeforeSupport), FireFamily::standard,
      Scaling::truncated, s.defenderLeaderChoice, s.attackerLeaderChoice);
  std::int64_t attackerLosses = defenderFire.losses;
  std::int64_t attackerSuppression = defenderFire.suppression;
  if (attackerLosses < 0) attackerLosses = 0;
  if (attackerLosses == 0 &&
      c->defenderStrength > static_cast<float>(kMinimumDamageStrength)) {
    attackerLosses = 1;
  }
  if (isYes(s.defenderOutOfAmmo)) {
    attackerLosses = 0;
    attackerSuppression = 0;
  }
  if (static_cast<float>(attackerLosses) > c->defenderStrength) {
    attackerLosses = truncateStrength(c->defenderStrength);
  }
  if (attackerLosses > c->attackerStrengthWhole) {
    attackerLosses = c->attackerStrengthWhole;
  }

  // The attacker answers with what is left, with and without the
  // artillery's fire taken off as well.
  const Wide struck = static_cast<Wide>(attackerLosses) + attackerSuppression;
  const std::int64_t remainingWithSupport = remainingStrength(
      c->attackerStrengthBeforeSupport,
      struck + c->artillerySuppressionTotal + c->artilleryDamageTotal);
  const std::int64_t remainingNoSupport =
      remainingStrength(c->attackerStrengthBeforeSupport, struck);

  const FireResult answer = attackerAnswer(s, *c, remainingWithSupport);
  r.defenderLosses = answer.losses;
  r.defenderSuppression = answer.suppression;
  const FireResult answerNoSupport = attackerAnswer(s, *c, remainingNoSupport);
  r.defenderLossesNoSupport = answerNoSupport.losses;
  r.defenderSuppressionNoSupport = answerNoSupport.suppression;

  r.attackerLossesNoArtillery = attackerLosses;
  r.attackerLosses = saturatingAdd(attackerLosses, c->artilleryDamageTotal);

  limitAnswer(&r.defenderLosses, &r.defenderSuppression, remainingWithSupport,
              c->defenderStrengthWhole);
  limitAnswer(&r.defenderLossesNoSupport, &r.defenderSuppressionNoSupport,
              remainingNoSupport, c->defenderStrengthWhole);

  if (c->ruggedChance < kCertainRuggedChance) return;
  // A certain rugged defense is the combat's outcome; the final limits add
  // the support-fire damage once.
  c->defenderLosses = r.defenderLosses;
  c->attackerLosses = r.attackerLossesNoArtillery;
  c->defenderSuppression = r.defenderSuppression;
  c->defenderLossesNoSupport = r.defenderLossesNoSupport;
  c->defenderSuppressionNoSupport = r.defenderSuppressionNoSupport;
}
