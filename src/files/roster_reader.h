// Rosters: units kept by name.  A roster is a JSON file of presets, each a
// unit's own answers (see presetFields()) under a name, for the attacker,
// the defender or both; a scenario may name a preset in place of writing
// out its attacker or defender.
#ifndef ZELVORN_FILES_ROSTER_READER_H_
#define ZELVORN_FILES_ROSTER_READER_H_

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/scenario_reader.h"
#include "scenario/preset_fields.h"
#include "scenario/roster.h"

// No roster may hold more presets, or be longer: beyond either it is
// refused with one error, and memory stays bounded.
constexpr std::size_t kMostPresets = 100000;
constexpr std::size_t kLongestRoster = 16 * 1024 * 1024;
// A preset's name is shown in tables and messages: it is kept short.
constexpr std::size_t kLongestPresetName = 60;
// No more problems of a roster are listed; the rest are counted.
constexpr std::size_t kMostRosterProblems = 20;

// A problem of a roster: the line of the field at fault, the preset it
// belongs to (as messages show its name; empty for the file as a whole),
// and the field and what is wrong with it.
struct RosterProblem {
  std::size_t line = 0;
  std::string preset;
  Problem problem;
};

// A roster as read: valid only when `problems` is empty.  Problems are in
// the order of their lines.
struct RosterReading {
  Roster roster;
  std::vector<RosterProblem> problems;
  std::size_t moreProblems = 0;  // found beyond kMostRosterProblems
};

// Reads a roster from JSON text, checking every preset against the sides
// it serves; a text longer than kLongestRoster is refused unread.
RosterReading parseRoster(std::string_view text);

// Reads the roster file at `path` ("-" is not allowed: standard input
// holds the scenarios).  Gives errno in `*error` when it cannot be read.
RosterReading readRosterFile(const std::string& path, int* error);

// One line of error output for a problem of the roster file `path`:
// "FILE:LINE: preset NAME: field: problem (allowed: ...)".
std::string rosterProblemLine(const std::string& path,
                              const RosterProblem& problem);

// The problem of a roster that has no preset for `side`, said of the roster
// as a whole with the side its presets serve instead; nothing when a preset
// serves `side`.
std::optional<RosterProblem> noPresetProblem(const Roster& roster, Side side);

// Gives `side` of `*scenario` the preset's answers for every field that
// `*given` does not already hold, and marks them given; returns the fields
// it gave.
GivenFields applyPreset(const Preset& preset, Side side,
                        CombatScenario* scenario, GivenFields* given);

// Takes away every answer of `side` that a preset could give, so that a
// preset put in afterwards is that side's unit alone.
void clearUnit(Side side, CombatScenario* scenario, GivenFields* given);

// Puts in the presets that a scenario names in its attacker or defender
// (the answers written beside a name stay).  The problem of a name that
// the roster lacks, or of a preset for the other side.  The fields that presets gave are
// marked in `fromPresets`: a field of a unit that this combat does not ask
// is no mistake of the scenario's when its preset gave it.
std::optional<Problem> applyNamedPresets(const Roster& roster,
                                         ScenarioText* scenario);

#endif  // ZELVORN_FILES_ROSTER_READER_H_
