// Putting the presets of a roster into scenarios: a side's unit given by a
// preset's answers, for a scenario that names it or for each row of a
// comparison.
#ifndef ZELVORN_FILES_PRESET_USE_H_
#define ZELVORN_FILES_PRESET_USE_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "files/json_reader.h"
#include "files/problem.h"
#include "files/scenario_reader.h"
#include "scenario/roster.h"

// Which sides a preset serves, in words: "the attacker only", ...
std::string sidesText(bool attacker, bool defender);

// The names of the unit fields asked of the sides given, separated by
// commas, as a preset for them may give them.
std::string presetFieldList(bool attacker, bool defender);

// What a name that a preset does not take stands for in a scenario ("part
// of the combat's situation, not of a unit"), or "unknown name".
std::string notAUnitField(std::string_view name);

// Gives unit field `i` of `*preset` the answer of its value token, checked
// for the sides the preset serves (a menu's word must name the same entry
// for each); returns the problem at `place` where it does not fit them.
std::vector<Problem> settlePresetAnswer(const JsonText& json, const JsonToken& token,
                                        std::size_t i, Place place, Preset* preset);

// The problem of a roster that has no preset for `side`, said of the roster
// as a whole with the side its presets serve instead; none when a preset
// serves `side`.
Problems noPresetProblem(const Roster& roster, Side side);

// Gives `side` of `*scenario` the preset's answers for every field that
// `*given` does not already hold, and marks them given; returns the fields
// it gave.
GivenFields applyPreset(const Preset& preset, Side side,
                        CombatScenario* scenario, GivenFields* given);

// Takes away every answer of `side` that a preset could give, so that a
// preset put in afterwards is that side's unit alone.
void clearUnit(Side side, CombatScenario* scenario, GivenFields* given);

// Puts in the presets that a scenario names in its attacker or defender
// (the answers written beside a name stay), marking the fields they gave in
// `fromPresets`: a field of a unit that this combat does not ask is no
// mistake of the scenario's when its preset gave it.  The problem of a
// name that the roster lacks, or of a preset for the other side.
Problems applyNamedPresets(const Roster& roster, ScenarioText* scenario);

#endif  // ZELVORN_FILES_PRESET_USE_H_
