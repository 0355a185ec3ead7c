// Which questions a combat asks: the condition of every question of the
// dialogue, from the answers given before it.  The dialogue asks by these
// conditions, and a scenario file is read by them.
#ifndef ZELVORN_COMBAT_QUESTIONS_H_
#define ZELVORN_COMBAT_QUESTIONS_H_

#include <cstddef>

#include "scenario/combat_scenario.h"
#include "scenario/scenario_fields.h"

// True when the dialogue asks for `field` in this combat.  Only the answers
// before the field in the dialogue's order count, and the unit classes must
// be settled.
bool asks(Field field, const CombatScenario& scenario);

// Whether the terrain questions are asked at all.
bool asksTerrain(const CombatScenario& scenario);

// How many of the combat's supporting units fire: the dialogue asks for no
// unit after one whose fire reaches the attacker's entered strength.
std::size_t supportUnitsFiring(const CombatScenario& scenario);

#endif  // ZELVORN_COMBAT_QUESTIONS_H_
