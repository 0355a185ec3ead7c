// The second questionnaire of a combat: the attacking unit.
#ifndef ZELVORN_DIALOGUE_ATTACKER_ATTRIBUTES_H_
#define ZELVORN_DIALOGUE_ATTACKER_ATTRIBUTES_H_

#include "dialogue/console.h"
#include "dialogue/preset_choice.h"
#include "scenario/combat_scenario.h"

// Asks for the attacking unit's values, situation, Combat Support and leader
// in the order of the dialogue and fills them into `*scenario`; the
// answers that the attacker's chosen preset holds are taken, not asked.
void askAttackerAttributes(CombatScenario* scenario, Console& console,
                           const ChosenPresets& presets);

#endif  // ZELVORN_DIALOGUE_ATTACKER_ATTRIBUTES_H_
