// The questionnaires of a combat, each one procedure that asks its questions
// in the order of the dialogue and fills the scenario.  A question whose
// condition does not hold is skipped and its field keeps its default.
#ifndef ZELVORN_DIALOGUE_QUESTIONNAIRES_H_
#define ZELVORN_DIALOGUE_QUESTIONNAIRES_H_

#include "dialogue/console.h"
#include "scenario/combat_scenario.h"

// Unit classes, the kind of combat, assault, infantry leaders and weather.
void askGeneralFactors(CombatScenario& scenario, Console& console);

// The attacking unit's values, situation, Combat Support and leader.
void askAttackerAttributes(CombatScenario& scenario, Console& console);

// The defending unit's values, situation, earlier attacks, Combat Support,
// choice, and the range of the combat.
void askDefenderAttributes(CombatScenario& scenario, Console& console);

// The terrain that limits initiative at close range, condensed into
// `terrainCode`.
void askTerrainFactors(CombatScenario& scenario, Console& console);

#endif  // ZELVORN_DIALOGUE_QUESTIONNAIRES_H_
