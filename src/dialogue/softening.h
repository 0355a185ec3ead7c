// The softening recomputation: the same combat for other numbers of times
// the defender has already been attacked.
#ifndef ZELVORN_DIALOGUE_SOFTENING_H_
#define ZELVORN_DIALOGUE_SOFTENING_H_

#include "combat/combat.h"
#include "dialogue/console.h"
#include "dialogue/dialogue_options.h"
#include "scenario/combat_scenario.h"

// After the report, asks for another number of times attacked and prints
// the pass for it, for as long as the user asks; each pass starts from the
// combat as `prepared` holds it.
void offerSofteningRecomputation(const CombatScenario& scenario,
                                 const PreparedCombat& prepared,
                                 Console& console,
                                 const DialogueOptions& options);

#endif  // ZELVORN_DIALOGUE_SOFTENING_H_
