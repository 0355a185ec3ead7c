// Support fire before the combat: defensive artillery against a ground
// attacker, air-defense units and fighters against an airplane attacking a
// surface unit.  Both phases fire unit by unit through one settle step and
// take their totals off the attacker's strength.
#ifndef ZELVORN_COMBAT_SUPPORT_FIRE_H_
#define ZELVORN_COMBAT_SUPPORT_FIRE_H_

#include <cstddef>
#include <cstdint>

#include "combat/combat_state.h"
#include "combat/fire.h"
#include "combat/prediction.h"
#include "scenario/combat_scenario.h"

// The support fire that the attacker's class draws: artillery for infantry,
// tanks, recon, anti-tank and forts, air defense for an airplane attacking a
// surface unit, none otherwise.
SupportFamily supportFamilyOf(const CombatScenario& scenario);

// Settles one supporting unit's fire (`fire` as resolveFire gives it, from a
// unit of strength `unitStrength`) against the totals of the units before
// it: no negative figures, at least one damage from a unit of strength above
// 9, every figure capped at the attacker's entered strength; a unit whose
// own damage passes the cap does not count in the totals.
SettledFire settleSupportFire(FireResult fire, std::int64_t unitStrength,
                              const SettledFire& before,
                              std::int64_t attackerStrengthWhole);

// The attacker's strength after the support fire's totals, not below 0.0;
// unchanged when both totals are 0.
float subtractSupportFire(float attackerStrength, std::int64_t damageTotal,
                          std::int64_t suppressionTotal);

// The fire of unit `index` of the combat's support fire (its artillery
// piece or air-defense unit of that index), settled against `before`, the
// totals after the units before it (nothing for the first).
SettledFire fireSupportUnit(const CombatScenario& scenario,
                            const CombatState& state, std::size_t index,
                            const SettledFire& before);

// Every supporting unit of the combat in order, up to the first damage cap.
SupportFire runSupportFire(const CombatScenario& scenario,
                           const CombatState& state);

#endif  // ZELVORN_COMBAT_SUPPORT_FIRE_H_
