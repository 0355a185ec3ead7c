// The outcome of the combat if the defender mounts a rugged defense.
#ifndef ZELVORN_COMBAT_RUGGED_H_
#define ZELVORN_COMBAT_RUGGED_H_

#include "combat/combat_state.h"
#include "scenario/combat_scenario.h"

// When a rugged defense is possible: the defender fires first at full
// strength and the attacker answers with what is left of it, with and
// without the artillery's fire taken off too.  Fills `state->rugged`; a
// certain rugged defense also becomes the pass's main result.
void resolveRuggedDefense(const CombatScenario& scenario, CombatState* state);

#endif  // ZELVORN_COMBAT_RUGGED_H_
