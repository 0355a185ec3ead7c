// The combat model as a whole: one complete description of a combat in,
// every predicted figure out.  Nothing here asks or prints.
#ifndef ZELVORN_COMBAT_COMBAT_H_
#define ZELVORN_COMBAT_COMBAT_H_

#include <cstdint>

#include "combat/combat_state.h"
#include "combat/prediction.h"
#include "scenario/combat_scenario.h"

// Everything the model computes once per combat: the effective values, the
// support fire and the combat differences.  None of it depends on the number
// of times the defender has been attacked.
struct PreparedCombat {
  CombatState state;
  SupportFire supportFire;
};

// Runs the steps before the computation pass: modifiers, support fire,
// combat differences.
PreparedCombat prepareCombat(const CombatScenario& scenario);

// The same, from the combat values that applyCombatValueModifiers gave for
// the scenario.
PreparedCombat prepareCombat(const CombatScenario& scenario,
                             const CombatState& beforeSupport);

// One computation pass for a softening of `timesAttacked`: initiative,
// exchange of fire, first strike, the rugged-defense outcome and the final
// limits.  A pass depends on nothing but its arguments.
CombatState runComputationPass(const CombatScenario& scenario,
                               const PreparedCombat& prepared,
                               std::int64_t timesAttacked);

// The prediction of a pass, as the reports present it.
Prediction predictionOf(const PreparedCombat& prepared, const CombatState& pass);

// The prediction for the prepared combat for `timesAttacked`, as the
// softening recomputation gives it.
Prediction predictSoftening(const CombatScenario& scenario,
                            const PreparedCombat& prepared,
                            std::int64_t timesAttacked);

// A whole combat for its own number of times attacked: its support fire and
// the prediction of its pass.
struct CombatPrediction {
  SupportFire supportFire;
  Prediction prediction;
};
CombatPrediction predictCombat(const CombatScenario& scenario);

#endif  // ZELVORN_COMBAT_COMBAT_H_
