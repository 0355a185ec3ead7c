// Support fire before the combat: defensive artillery against a ground
// attacker, air-defense units and fighters against an attacking airplane.
// Each phase asks for its supporting units one by one, prints what each is
// predicted to do, and takes the totals off the attacker's strength.
#ifndef ZELVORN_COMBAT_SUPPORT_FIRE_H_
#define ZELVORN_COMBAT_SUPPORT_FIRE_H_

#include <cstdint>

#include "dialogue/console.h"
#include "scenario/combat_scenario.h"

// The texts with which a support-fire phase reports one unit and its totals,
// and asks for the next unit.
struct SupportFireTexts {
  const char* unitLine;
  const char* totalsLine;
  const char* nextUnitQuestion;
};

// Settles one supporting unit's fire: no negative figures, at least one
// damage from a unit of strength above 9, every figure capped at the
// attacker's entered strength.  Prints the unit line and, when the totals
// differ from it, the totals line; a unit whose own damage passes the cap is
// not added to the totals.  Returns whether the next unit is to be asked.
bool settleSupportFire(Console& console, std::int64_t damage,
                       std::int64_t suppression, std::int64_t unitStrength,
                       std::int64_t attackerStrengthWhole,
                       std::int64_t& damageTotal,
                       std::int64_t& suppressionTotal,
                       const SupportFireTexts& texts);

// Takes the totals of a support-fire phase off the attacker's strength, not
// below 0.0.
void subtractSupportFire(CombatScenario& scenario, std::int64_t damageTotal,
                         std::int64_t suppressionTotal);

// Defensive artillery, for infantry, tank, recon, anti-tank and fort
// attackers.
void runArtillerySupportFire(CombatScenario& scenario, Console& console);

// Air-defense support, for a fighter or bomber attacking a surface unit.
void runAirDefenseSupportFire(CombatScenario& scenario, Console& console);

#endif  // ZELVORN_COMBAT_SUPPORT_FIRE_H_
