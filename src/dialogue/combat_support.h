// The Combat Support loop that every unit of the dialogue is asked: the
// experience bars of each adjacent Combat Support unit count in full.
#ifndef ZELVORN_DIALOGUE_COMBAT_SUPPORT_H_
#define ZELVORN_DIALOGUE_COMBAT_SUPPORT_H_

#include <cstdint>

#include "dialogue/console.h"

// Asks for Combat Support units while the answer is yes, storing each unit's
// bars in `lastUnitBars` and adding them to `experience`.
void askCombatSupport(Console& console, std::int64_t& experience,
                      std::int64_t& lastUnitBars);

#endif  // ZELVORN_DIALOGUE_COMBAT_SUPPORT_H_
