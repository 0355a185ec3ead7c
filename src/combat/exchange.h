// The steps of one computation pass of the combat model, in the order they
// run.  Each may run again for the same combat with another softening value.
#ifndef ZELVORN_COMBAT_EXCHANGE_H_
#define ZELVORN_COMBAT_EXCHANGE_H_

#include "dialogue/console.h"
#include "scenario/combat_scenario.h"

// Limits both initiatives by terrain, range and situation, adds experience
// and softening, and gives the side with the higher initiative up to 4
// points of combat difference; names the side that strikes first by it.
void resolveInitiative(CombatScenario& scenario);

// Both fires at once, each with the strength its side has at the start of
// the pass, and the attacker's fire without support fire where there was any.
void exchangeFire(CombatScenario& scenario);

// When a side strikes first, the other fires back only with what is left
// of it.
void resolveFirstStrike(CombatScenario& scenario);

// The outcome under a rugged defense: printed after the chance when it is
// below 100, made the main result when it is certain.
void resolveRuggedDefense(CombatScenario& scenario, Console& console);

#endif  // ZELVORN_COMBAT_EXCHANGE_H_
