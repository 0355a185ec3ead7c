// The third questionnaire of a combat: the defending unit and the range of
// the combat.
#ifndef ZELVORN_DIALOGUE_DEFENDER_ATTRIBUTES_H_
#define ZELVORN_DIALOGUE_DEFENDER_ATTRIBUTES_H_

#include "dialogue/console.h"
#include "dialogue/preset_choice.h"
#include "scenario/combat_scenario.h"

// Asks for the defending unit's values, situation, earlier attacks, Combat
// Support and choice, and the range of the combat, in the order of the
// dialogue, and fills them into `*scenario`; the answers that the
// defender's chosen preset holds are taken, not asked.
void askDefenderAttributes(CombatScenario* scenario, Console& console,
                           const ChosenPresets& presets);

#endif  // ZELVORN_DIALOGUE_DEFENDER_ATTRIBUTES_H_
