// The support-fire phase of the dialogue: defensive artillery pieces or
// air-defense units, asked one by one, each one's predicted fire printed as
// soon as its answers are in.
#ifndef ZELVORN_DIALOGUE_SUPPORT_FIRE_H_
#define ZELVORN_DIALOGUE_SUPPORT_FIRE_H_

#include "combat/combat_state.h"
#include "dialogue/console.h"
#include "scenario/combat_scenario.h"

// Asks for the supporting units that the attacker's class draws and adds
// them to `*scenario`; `state` holds the combat values before support fire.
// Asks no further unit once one's fire reaches the attacker's strength.
void askSupportFire(CombatScenario* scenario, const CombatState& state,
                    Console& console);

#endif  // ZELVORN_DIALOGUE_SUPPORT_FIRE_H_
