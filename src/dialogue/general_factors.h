// The first questionnaire of a combat: the unit classes, the kind of
// combat, assault, infantry leaders and weather.
#ifndef ZELVORN_DIALOGUE_GENERAL_FACTORS_H_
#define ZELVORN_DIALOGUE_GENERAL_FACTORS_H_

#include "dialogue/console.h"
#include "dialogue/preset_choice.h"
#include "scenario/combat_scenario.h"

// Asks the general factors in the order of the dialogue, fills them into
// `*scenario` and settles the unit classes; the classes and leaders that the
// chosen presets hold are taken, not asked.
void askGeneralFactors(CombatScenario* scenario, Console& console,
                       const ChosenPresets& presets);

#endif  // ZELVORN_DIALOGUE_GENERAL_FACTORS_H_
