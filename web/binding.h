// What the web page asks of the calculator, as JSON text in and out: the
// fields and their wording, a prediction for the form's scenario with the
// sweep of one value for its chart, a file read as the command line reads
// it, what would help, and the presets of a roster and their comparison.
#ifndef ZELVORN_WEB_BINDING_H_
#define ZELVORN_WEB_BINDING_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "files/roster_reader.h"

// Every field of a scenario: its dotted name, short label, kind, range,
// whether it is required, the answer a file that leaves it out gets (a
// yes/no answer, or a number that is not required), the dialogue's question
// and error text, a menu's entries, and where the page shows it (its
// section, and for a unit's attribute its side and the attribute); the same
// for the fields of an artillery piece and an air-defense unit, and the
// texts of the Combat Support loop; the answers a preset holds (each with
// its label), the figures of a comparison with which way each is better
// for the attacker, and the longest file and roster read.
std::string fieldsJson();

// For a scenario as JSON text: whether it is valid, the fields that the
// dialogue asks for it (also when it is not valid) and the questions it
// words otherwise than fieldsJson (a half-track's), the notes on fields
// that it does not ask (each with its kind), where the questions asked
// within the supporting units stand, the errors and the first of them
// (each with the field's own error text and, for the page to word it, the
// field's group, key, unit, Combat Support unit, range and why its value is
// refused), the prediction as --json prints it, the scenario's text as
// --save writes it, the fields that --vary takes for it, and the chart of
// one of them, so that a change of an answer takes one call: the field
// (`chartField` where --vary takes it, else the attacker's strength where
// it takes that, else the first it takes), its value, the values FROM..TO
// that sweepRange gives for it, and each row as --vary --json gives it, or
// the error that stops the sweep.  No fields and no chart when it is not
// valid.
std::string predictJson(std::string_view scenario, std::string_view chartField = "");

// A scenario file's or a link's text read as --scenario reads a file, and
// checked, without a prediction: the lines --scenario prints on its error
// output, the same as data (each note and error with its line, where its
// field stands, "field: message" as one text, and the line it stands for),
// whether it refuses any scenario, each combat (its first line, whether it
// is valid, its answers by dotted name; the first 100 of them) and how
// many there are, and which one is shown: the first valid one, else the
// first one read to its end, else none (null), with its validity and
// answers.
std::string readJson(std::string_view fileText, std::string_view fileName);

// What would help the attacker in a scenario, with the presets of
// `roster` when it holds any: whether the scenario is valid,
// and the rows as --scenario --roster --advise --json gives them, each with
// the text of its changed scenario as --save writes it (null for a row
// without figures).
std::string adviceJson(std::string_view scenario, const Roster& roster);

// A file longer than kLongestScenario as readJson gives it, refused before
// it is read: a message that names the file as too long for the page.
std::string tooLongFileJson(std::string_view fileName);

// The result texts that --scenario prints for a scenario, or null for one
// it refuses.
std::string resultTextJson(std::string_view scenario);

// A roster as --roster reads it (`fileName` names it in messages): whether
// it is valid, its error lines as the command line prints them, and each
// preset's name and the sides it serves.
std::string rosterJson(const RosterReading& reading, std::string_view fileName);

// The answers that the preset `name` of `roster` gives `side`, by dotted
// name as the page's controls take them (with the usual value of a number
// that a scenario file may leave out, where the preset leaves it out);
// null when the roster holds no such preset for that side.
std::string presetJson(const Roster& roster, std::string_view name,
                       std::string_view side);

// The scenario against every preset of `side` in `roster`, as --scenario
// --roster --compare SIDE --sort SORT --json compares it: the rows, best
// first, as one array (a row without figures has its error, with "field:
// message" as one text), and the error lines that refuse the comparison.
std::string compareJson(std::string_view scenario, const Roster& roster,
                        std::string_view side, std::string_view sort);

#endif  // ZELVORN_WEB_BINDING_H_
