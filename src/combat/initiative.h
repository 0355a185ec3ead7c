// The initiative exchange at the start of every computation pass.
#ifndef ZELVORN_COMBAT_INITIATIVE_H_
#define ZELVORN_COMBAT_INITIATIVE_H_

#include "combat/combat_state.h"
#include "scenario/combat_scenario.h"

// The terrain code that the terrain answers condense into: the first terrain
// answered yes, from rough to cities and mountains, or none.
char terrainCodeOf(const CombatScenario& scenario);

// Limits both initiatives of the pass by terrain, range and situation, adds
// experience and the softening, and gives the side with the higher
// initiative up to 4 points of combat difference; names the side that
// strikes first by it.  Reads and changes the pass's fields of `*state`.
void resolveInitiative(const CombatScenario& scenario, CombatState* state);

#endif  // ZELVORN_COMBAT_INITIATIVE_H_
