#include "combat/combat.h"

#include "combat/differences.h"
#include "combat/exchange.h"
#include "combat/final_limits.h"
#include "combat/first_strike.h"
#include "combat/initiative.h"
#include "combat/modifiers.h"
#include "combat/rugged.h"
#include "combat/support_fire.h"

PreparedCombat prepareCombat(const CombatScenario& s) {
  return prepareCombat(s, applyCombatValueModifiers(s));
}

PreparedCombat prepareCombat(const CombatScenario& s,
                             const CombatState& beforeSupport) {
  PreparedCombat prepared;
  CombatState& c = prepared.state;
  c = beforeSupport;
  prepared.supportFire = runSupportFire(s, c);
  const SupportFire& fire = prepared.supportFire;
  if (fire.family == SupportFamily::artillery) {
    c.artilleryDamageTotal = fire.damageTotal;
    c.artillerySuppressionTotal = fire.suppressionTotal;
  } else if (fire.family == SupportFamily::airDefense) {
    c.airDefenseDamageTotal = fire.damageTotal;
    c.airDefenseSuppressionTotal = fire.suppressionTotal;
  }
  c.attackerStrength = subtractSupportFire(c.attackerStrength, fire.damageTotal,
                                           fire.suppressionTotal);
  formCombatDifferences(s, &c);
  return prepared;
}

CombatState runComputationPass(const CombatScenario& s,
                               const PreparedCombat& prepared,
                               std::int64_t timesAttacked) {
  CombatState c = prepared.state;
  c.timesAttacked = timesAttacked;
  c.attackerInitiative = s.attackerInitiative;
  c.defenderInitiative = s.defenderInitiative;
  c.attackerDifference = attackerDifferenceFor(s, c, timesAttacked);
  resolveInitiative(s, &c);
  exchangeFire(s, &c);
  resolveFirstStrike(s, &c);
  if (c.ruggedChance > 0) resolveRuggedDefense(s, &c);
  applyFinalLimits(s, &c);
  return c;
}

Prediction predictionOf(const PreparedCombat& prepared, const CombatState& c) {
  Prediction p;
  p.supportFamily = prepared.supportFire.family;
  p.supportDamageTotal = prepared.supportFire.damageTotal;
  p.supportSuppressionTotal = prepared.supportFire.suppressionTotal;
  p.timesAttacked = c.timesAttacked;
  p.ruggedChance = c.ruggedChance;
  p.rugged = c.rugged;
  p.odds.attackerLosses = c.attackerLosses;
  p.odds.defenderLosses = c.defenderLosses;
  p.odds.defenderSuppression = c.defenderSuppression;
  p.odds.attackerLossesNoSupport = c.attackerLossesNoSupport;
  p.odds.defenderLossesNoSupport = c.defenderLossesNoSupport;
  p.odds.defenderSuppressionNoSupport = c.defenderSuppressionNoSupport;
  // Without any support fire the odds without it are the odds themselves.
  if (!anySupportFire(c)) {
    p.odds.attackerLossesNoSupport = p.odds.attackerLosses;
    p.odds.defenderLossesNoSupport = p.odds.defenderLosses;
    p.odds.defenderSuppressionNoSupport = p.odds.defenderSuppression;
  }
  p.defenderStrengthWhole = c.defenderStrengthWhole;
  return p;
}

Prediction predictSoftening(const CombatScenario& s,
                            const PreparedCombat& prepared,
                            std::int64_t timesAttacked) {
  return predictionOf(prepared, runComputationPass(s, prepared, timesAttacked));
}

CombatPrediction predictCombat(const CombatScenario& s) {
  PreparedCombat prepared = prepareCombat(s);
  const Prediction prediction = predictSoftening(s, prepared, s.timesAttacked);
  return {std::move(prepared.supportFire), prediction};
}
