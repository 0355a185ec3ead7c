// The Combat Support loop that every unit of the dialogue is asked: the
// experience bars of each adjacent Combat Support unit count in full.
#ifndef ZELVORN_DIALOGUE_COMBAT_SUPPORT_H_
#define ZELVORN_DIALOGUE_COMBAT_SUPPORT_H_

#include <cstdint>
#include <vector>

#include "dialogue/console.h"
#include "dialogue/preset_choice.h"
#include "scenario/scenario_fields.h"

// Asks for Combat Support units while the answer is yes and gives the bars
// of each, in order.
std::vector<std::int64_t> askCombatSupport(Console& console);

// A unit's Combat Support, `field`: the chosen preset's when it holds it,
// else asked.
std::vector<std::int64_t> askCombatSupport(Console& console, Field field,
                                           const ChosenPresets& presets);

#endif  // ZELVORN_DIALOGUE_COMBAT_SUPPORT_H_
