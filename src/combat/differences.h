// The combat differences: ranged defenses by range, the naval rules, the
// ship penalty, the limits at zero, and the differences of the ordinary and
// the rugged exchange.
#ifndef ZELVORN_COMBAT_DIFFERENCES_H_
#define ZELVORN_COMBAT_DIFFERENCES_H_

#include <cstdint>

#include "combat/combat_state.h"
#include "scenario/combat_scenario.h"

// Runs once per combat, after support fire: adjusts and limits the four
// combat values in `*state`, forms the defender's difference and the rugged
// differences, and keeps `defenseBeforeSoftening` so that every softening
// value can be tried without running it again.
void formCombatDifferences(const CombatScenario& scenario, CombatState* state);

// The defender's defense after `timesAttacked` earlier attacks, limited at 0.
std::int64_t softenedDefense(std::int64_t defenseBeforeSoftening,
                             std::int64_t timesAttacked);

// The attacker's combat difference for a softening of `timesAttacked`.
std::int64_t attackerDifferenceFor(const CombatScenario& scenario,
                                   const CombatState& state,
                                   std::int64_t timesAttacked);

#endif  // ZELVORN_COMBAT_DIFFERENCES_H_
