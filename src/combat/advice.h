// What the attacker can still change about a combat before it attacks:
// each change that applies to a scenario, and the scenario with it made.
// Presets are chosen above this layer; here they are only numbered.
#ifndef ZELVORN_COMBAT_ADVICE_H_
#define ZELVORN_COMBAT_ADVICE_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "scenario/combat_scenario.h"
#include "scenario/scenario_fields.h"

// The kinds of change, in the order their rows are listed before sorting.
enum class ChangeKind {
  asGiven,           // the combat as it stands
  soften,            // the defender attacked `amount` more times first
  silenceArtillery,  // artillery piece `amount` left out; 0: every piece
  silenceAirDefense, // air-defense unit `amount` left out; 0: every unit
  leaveRiver,        // the attacker out of the river
  refuel,            // the attacker not out of fuel
  clearWeather,      // neither snow nor rain
  range,             // the combat fought at range `amount`
  preset,            // the attacker replaced by preset `amount` of a list
};

struct Change {
  ChangeKind kind = ChangeKind::asGiven;
  std::int64_t amount = 0;
};

// The most earlier attacks that softening first suggests.
constexpr std::int64_t kMostSofteningAdvised = 3;

// Ranges beyond this one are not suggested, however far the attacker
// fires: the model tells no range apart from the next once both are beyond
// the defender's firing range, and a table of every range would be long.
constexpr std::int64_t kFarthestAdvisedRange = 10;

// Every change (but presets) that applies to the combat `checked` (as the
// scenario check settled it), in the order of ChangeKind: softening where
// the times attacked are asked, each supporting unit that fires silenced on
// its own and, when there are several, all at once, the river, the fuel and
// the weather where the attacker has them against it, and each other range
// where the range is asked.
std::vector<Change> changesOf(const CombatScenario& checked);

// The field of the combat that `change` sets (the times attacked, the
// range, a yes/no answer, or the list of supporting units); nothing for the
// combat as given and for a preset.
std::optional<Field> changedField(const Change& change);

// The scenario `given` (as the file gave it, before the check) with
// `change` made; `checked` supplies the values it counts from (the times
// attacked).  A preset leaves it as it is.
CombatScenario changedScenario(const CombatScenario& given,
                               const CombatScenario& checked,
                               const Change& change);

#endif  // ZELVORN_COMBAT_ADVICE_H_
