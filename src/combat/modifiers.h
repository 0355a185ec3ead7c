// The first step of the combat model: the rugged-defense chance, the close
// defense it needs, and the modifiers that turn the entered values into the
// effective attack and defense values and strengths.
#ifndef ZELVORN_COMBAT_MODIFIERS_H_
#define ZELVORN_COMBAT_MODIFIERS_H_

#include <cstdint>

#include "dialogue/console.h"
#include "scenario/combat_scenario.h"

// The chance in percent that entrenched infantry mounts a rugged defense
// against infantry; each division rounds before the next step.
std::int64_t ruggedDefenseChance(std::int64_t defenderEntrenchment,
                                 std::int64_t attackerEntrenchment,
                                 std::int64_t defenderExperience,
                                 std::int64_t attackerExperience);

// Half a strength, rounded down to a whole number of points.
float halveStrength(float strength);

// Computes `ruggedChance`, asks the attacker's close defense when a rugged
// defense is possible outside an assault, applies every modifier in order and
// keeps the strengths as they stand before support fire.
void applyCombatValueModifiers(CombatScenario& scenario, Console& console);

#endif  // ZELVORN_COMBAT_MODIFIERS_H_
