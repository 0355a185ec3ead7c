// The first step of the combat model: the rugged-defense chance and the
// modifiers that turn the entered values into the effective attack and
// defense values and strengths.
#ifndef ZELVORN_COMBAT_MODIFIERS_H_
#define ZELVORN_COMBAT_MODIFIERS_H_

#include <cstdint>
#include <vector>

#include "combat/combat_state.h"
#include "scenario/combat_scenario.h"

// A unit's own experience bars plus those of each Combat Support unit.
std::int64_t experienceWithSupport(std::int64_t ownBars,
                                   const std::vector<std::int64_t>& support);

// The chance in percent that entrenched infantry mounts a rugged defense
// against infantry; each division rounds before the next step.
std::int64_t ruggedDefenseChance(std::int64_t defenderEntrenchment,
                                 std::int64_t attackerEntrenchment,
                                 std::int64_t defenderExperience,
                                 std::int64_t attackerExperience);

// The rugged-defense chance of a combat: 0 unless infantry attacks
// entrenched infantry.
std::int64_t ruggedChanceOf(const CombatScenario& scenario);

// Half a strength, rounded down to a whole number of points.
float halveStrength(float strength);

// The combat as it stands before any support fire: every modifier applied
// in order, the strengths halved by weather and fuel, the rugged-defense
// chance.  The softening is left to the computation pass.
CombatState applyCombatValueModifiers(const CombatScenario& scenario);

#endif  // ZELVORN_COMBAT_MODIFIERS_H_
