// The model's working record of one combat: the effective values that the
// steps before the computation pass leave, and what one pass computes.
#ifndef ZELVORN_COMBAT_COMBAT_STATE_H_
#define ZELVORN_COMBAT_COMBAT_STATE_H_

#include <cstdint>

#include "combat/prediction.h"
#include "scenario/combat_scenario.h"

enum class FirstStrikeSide { none, attacker, defender };

struct CombatState {
  // The combat values after the modifiers, and after the ranged defenses,
  // the naval rules, the ship penalty and the limits at zero.
  std::int64_t attackerAttackValue = 0;
  std::int64_t attackerDefenseValue = 0;
  std::int64_t defenderAttackValue = 0;
  std::int64_t defenderDefenseValue = 0;
  // Experience bars, each unit's Combat Support units' bars included.
  std::int64_t attackerExperience = 0;
  std::int64_t defenderExperience = 0;
  std::int64_t ruggedChance = 0;

  // Strengths: as entered (whole), before support fire (after the weather
  // and fuel halvings) and current.
  std::int64_t attackerStrengthWhole = 0;
  std::int64_t defenderStrengthWhole = 0;
  float attackerStrengthBeforeSupport = 0.0f;
  float defenderStrengthBeforeSupport = 0.0f;
  float attackerStrength = 0.0f;
  float defenderStrength = 0.0f;

  // Support-fire totals; at most one of the two phases fires.
  std::int64_t artilleryDamageTotal = 0;
  std::int64_t artillerySuppressionTotal = 0;
  std::int64_t airDefenseDamageTotal = 0;
  std::int64_t airDefenseSuppressionTotal = 0;

  // The defender's defense without the softening, and the differences of
  // the rugged exchange.
  std::int64_t defenseBeforeSoftening = 0;
  std::int64_t ruggedAttackerDifference = 0;
  std::int64_t ruggedDefenderDifference = 0;

  // One computation pass.
  std::int64_t timesAttacked = 0;
  std::int64_t attackerInitiative = 0;
  std::int64_t defenderInitiative = 0;
  std::int64_t attackerDifference = 0;
  std::int64_t defenderDifference = 0;
  std::int64_t initiativeShift = 0;
  FirstStrikeSide firstStrikeSide = FirstStrikeSide::none;
  std::int64_t defenderLosses = 0;
  std::int64_t defenderSuppression = 0;
  std::int64_t attackerLosses = 0;
  std::int64_t attackerSuppression = 0;
  std::int64_t defenderLossesNoSupport = 0;
  std::int64_t defenderSuppressionNoSupport = 0;
  std::int64_t attackerLossesNoSupport = 0;
  RuggedOutcome rugged;
};

#endif  // ZELVORN_COMBAT_COMBAT_STATE_H_
