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

#include "scenario/combat_scenario.h"
#include "scenario/scenario_fields.h"

// What is wrong with a field, or what became of it: the field's dotted name
// and the message, such as "attacker.strength" and "0 is out of range
// (allowed: 1 to 999999999)".
struct Problem {
  std::string field;
  std::string message;
};

// Which of the combat's fields a scenario gave.
using GivenFields =
    std::array<bool, static_cast<std::size_t>(Field::timesAttacked) + 1>;

// A scenario as read: the answers as given, which fields were given, and
// the first error (then nothing else counts).  A syntax error also tells
// the byte of the text where it was found.
struct ScenarioText {
  CombatScenario scenario;
  GivenFields given{};
  std::optional<Problem> error;
  std::size_t errorOffset = 0;
  bool syntaxError = false;
  bool complete = false;  // read to its end (so the answers are all there)
  // The presets named for the attacker and the defender, whose answers
  // stand for those not written beside the name (see roster_reader.h).
  std::optional<std::string> attackerPreset;
  std::optional<std::string> defenderPreset;
  GivenFields fromPresets{};  // the given fields that a named preset gave
};

// Parses one scenario from JSON text, checking names, types and ranges.
// With `keepGoing`, a value that is wrong on its own (out of range, or not
// a number where one belongs) is left out and the rest is read, so that the
// other answers are known; the error stands all the same.  Without
// `presets` (a roster to take them from), naming a preset is an error.
ScenarioText parseScenario(std::string_view text, bool keepGoing = false,
                           bool presets = false);

// A scenario ready for the model, or the reason it is not.
struct CheckedScenario {
  CombatScenario scenario;
  std::vector<Problem> notes;  // fields given but not asked for this combat
  std::optional<Problem> error;
  // The dotted names of the fields that the dialogue asks for this combat,
  // in its order; known even when a required field is missing.
  std::vector<std::string> asked;
};

// Settles the answers as the dialogue would have taken them: every field
// whose question is not asked for this combat takes its not-asked value
// (a note names each one that was given), and a required field that is
// asked but missing is an error.  Supporting units after the one whose fire
// reaches the attacker's strength are dropped with a note, as the dialogue
// asks for none of them.  `listAsked` fills `asked`; without `withNotes`
// the notes are left out, for a caller that would not show them.
CheckedScenario checkScenario(const CombatScenario& scenario,
                              const GivenFields& given, bool listAsked = false,
                              bool withNotes = true);

// Both steps: the scenario of a JSON text, ready for the model.
struct ScenarioReading {
  CheckedScenario checked;
  std::size_t errorOffset = 0;  // for a syntax error
  bool syntaxError = false;
};
ScenarioReading readScenario(std::string_view text, bool listAsked = false);

#endif  // ZELVORN_FILES_SCENARIO_READER_H_
