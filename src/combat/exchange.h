// The exchange of fire of a computation pass: both sides fire at once, each
// with the strength it has at the start of the pass.
#ifndef ZELVORN_COMBAT_EXCHANGE_H_
#define ZELVORN_COMBAT_EXCHANGE_H_

#include "combat/combat_state.h"
#include "combat/fire.h"
#include "scenario/combat_scenario.h"

// True when any supporting unit's fire counted against the attacker.
bool anySupportFire(const CombatState& state);

// Artillery-family fire is scaled with halves rounded up, standard fire
// truncated.
Scaling scalingFor(FireFamily family);

// Both fires of the pass, and the attacker's fire without support fire
// where there was any; fills the losses and suppressions of `*state`.
void exchangeFire(const CombatScenario& scenario, CombatState* state);

#endif  // ZELVORN_COMBAT_EXCHANGE_H_
