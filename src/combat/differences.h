// The combat differences: ranged defenses by range, the naval rules, the
// ship penalty, the limits at zero, and the differences of the ordinary and
// the rugged exchange.
#ifndef ZELVORN_COMBAT_DIFFERENCES_H_
#define ZELVORN_COMBAT_DIFFERENCES_H_

#include "scenario/combat_scenario.h"

// Runs once per combat, after support fire.  Keeps `defenseBeforeSoftening`
// so that another softening value can be tried without running it again.
void formCombatDifferences(CombatScenario& scenario);

// The defender's defense for a softening of `timesAttacked`, limited at 0.
std::int64_t softenedDefenseFor(const CombatScenario& scenario,
                                std::int64_t timesAttacked);

#endif  // ZELVORN_COMBAT_DIFFERENCES_H_
