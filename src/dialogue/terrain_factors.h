// The terrain that limits initiative at close range.
#ifndef ZELVORN_DIALOGUE_TERRAIN_FACTORS_H_
#define ZELVORN_DIALOGUE_TERRAIN_FACTORS_H_

#include "dialogue/console.h"
#include "scenario/combat_scenario.h"

// Asks the terrain chain, from the least to the most restrictive terrain,
// where initiative can matter, and fills the answers into `*scenario`.
void askTerrainFactors(CombatScenario* scenario, Console& console);

#endif  // ZELVORN_DIALOGUE_TERRAIN_FACTORS_H_
