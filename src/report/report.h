// The final figures of a computation pass and the printed odds.
#ifndef ZELVORN_REPORT_REPORT_H_
#define ZELVORN_REPORT_REPORT_H_

#include <ostream>

#include "scenario/combat_scenario.h"

// Limits the predicted figures to what each side can inflict and suffer,
// removes the defender's fire where it cannot fire back, and adds the
// support-fire damage to the attacker's losses.
void applyFinalLimits(CombatScenario& scenario);

// Prints the odds block, with the odds without support fire when the
// support fire changed them.
void printOdds(const CombatScenario& scenario, std::ostream& out);

#endif  // ZELVORN_REPORT_REPORT_H_
