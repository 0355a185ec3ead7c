// Reading a scenario: one combat described by name in JSON, checked field
// by field against what the dialogue would accept and ask.
#ifndef ZELVORN_FILES_SCENARIO_READER_H_
#define ZELVORN_FILES_SCENARIO_READER_H_

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/json_reader.h"
#include "files/problem.h"
#include "scenario/combat_scenario.h"
#include "scenario/scenario_fields.h"

// A scenario as a file's text: the messages of its text as a whole.
extern const JsonDocument kScenarioDocument;

constexpr std::size_t kFieldCount =
    static_cast<std::size_t>(Field::timesAttacked) + 1;

// Which of the combat's fields a scenario gave.
using GivenFields = std::array<bool, kFieldCount>;

// Where a scenario gave what it gave: the name of each field and group of
// the combat, and the opening brace of each supporting unit.
struct FieldPlaces {
  std::array<Place, kFieldCount> fields{};
  std::array<Place, 4> groups{};  // general, attacker, defender, terrain
  std::vector<Place> artillery;
  std::vector<Place> airDefense;
};

// A scenario as read: the answers as given (a wrong value left out), which
// fields were given and where, and every problem found in reading it.  A
// text that is not JSON has that one problem.
struct ScenarioText {
  CombatScenario scenario;
  GivenFields given{};
  FieldPlaces places;
  Problems errors;
  bool complete = false;  // JSON to its end (so the answers are all there)
  // The presets named for the attacker and the defender, whose answers
  // stand for those not written beside the name (see roster_reader.h), and
  // where the names stand.
  std::optional<std::string> attackerPreset;
  std::optional<std::string> defenderPreset;
  Place attackerPresetPlace;
  Place defenderPresetPlace;
  GivenFields fromPresets{};  // the given fields that a named preset gave
};

// Parses one scenario from JSON text, checking names, types and ranges; a
// wrong value is left out and the rest is read, so that every problem is
// found and the other answers are known.  Without `presets` (a roster to
// take them from), naming a preset is an error.
ScenarioText parseScenario(std::string_view text, bool presets = false);

// A scenario ready for the model, or the reasons it is not.
struct CheckedScenario {
  CombatScenario scenario;
  std::vector<Problem> notes;  // fields given but not asked for this combat
  Problems errors;
  // The dotted names of the fields that the dialogue asks for this combat,
  // in its order; known even when a required field is missing.
  std::vector<std::string> asked;
};

// Settles the answers as the dialogue would have taken them: every field
// whose question is not asked for this combat takes its not-asked value
// (a note names each one that was given), and each required field that is
// asked but missing is an error.  Supporting units after the one whose fire
// reaches the attacker's strength are dropped with a note, as the dialogue
// asks for none of them.  `places` places the notes and errors; `listAsked`
// fills `asked`; without `withNotes` the notes are left out, for a caller
// that would not show them.
CheckedScenario checkScenario(const CombatScenario& scenario,
                              const GivenFields& given,
                              const FieldPlaces& places = FieldPlaces{},
                              bool listAsked = false,
                              bool withNotes = true);

// Both steps: the scenario of a JSON text, ready for the model, with every
// problem of reading it and of checking it (the notes only when there is
// no error).
CheckedScenario readScenario(std::string_view text, bool listAsked = false);

// The second step alone, for a scenario already parsed.
CheckedScenario checkText(ScenarioText parsed, bool listAsked = false);

#endif  // ZELVORN_FILES_SCENARIO_READER_H_
