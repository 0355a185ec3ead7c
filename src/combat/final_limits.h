// The final limits on the figures of a computation pass.
#ifndef ZELVORN_COMBAT_FINAL_LIMITS_H_
#define ZELVORN_COMBAT_FINAL_LIMITS_H_

#include "combat/combat_state.h"
#include "scenario/combat_scenario.h"

// Limits the predicted figures in `*state` to what each side can inflict
// and suffer (no figure below 0, suppressions included), removes the
// defender's fire where it cannot fire back, and adds the support-fire damage
// to the attacker's losses.
void applyFinalLimits(const CombatScenario& scenario, CombatState* state);

#endif  // ZELVORN_COMBAT_FINAL_LIMITS_H_
