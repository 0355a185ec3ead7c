// Prints the result of one computation pass and keeps its scenario.
#ifndef ZELVORN_DIALOGUE_REPORT_PASS_H_
#define ZELVORN_DIALOGUE_REPORT_PASS_H_

#include <cstdint>

#include "combat/combat.h"
#include "dialogue/console.h"
#include "dialogue/dialogue_options.h"
#include "scenario/combat_scenario.h"

// Thrown when a computed combat cannot be saved; `error` is the errno.
struct SaveFailed {
  int error;
};

// Computes the pass of the prepared combat for `timesAttacked`, prints the
// rugged-defense lines and the odds, and saves the scenario that reproduces
// them when the options ask for it (throwing SaveFailed when that fails).
void reportPass(const CombatScenario& scenario, const PreparedCombat& prepared,
                std::int64_t timesAttacked, Console& console,
                const DialogueOptions& options);

#endif  // ZELVORN_DIALOGUE_REPORT_PASS_H_
