// First strike: the side that strikes first leaves the other side to fire
// back only with what is left of it.
#ifndef ZELVORN_COMBAT_FIRST_STRIKE_H_
#define ZELVORN_COMBAT_FIRST_STRIKE_H_

#include "combat/combat_state.h"
#include "scenario/combat_scenario.h"

// After the exchange of fire: when a side strikes first (by winning the
// initiative with First Strike, or with First Strike in an air attack on a
// surface unit), reduces the other side's strength in `*state` and computes
// its fire again.
void resolveFirstStrike(const CombatScenario& scenario, CombatState* state);

#endif  // ZELVORN_COMBAT_FIRST_STRIKE_H_
