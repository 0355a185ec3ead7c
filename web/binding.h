// What the web page asks of the calculator, as JSON text in and out: the
// fields and their wording, a prediction for the form's scenario, a sweep
// of one value, and an imported file read as the command line reads it.
#ifndef ZELVORN_WEB_BINDING_H_
#define ZELVORN_WEB_BINDING_H_

#include <cstdint>
#include <string>
#include <string_view>

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
// --save writes it, and the fields that --vary takes for it (none when it
// is not valid).
std::string predictJson(std::string_view scenario);

// The scenario predicted for every value of one field, as --vary --json
// gives the rows, or the error that stops the sweep.
std::string sweepJson(std::string_view scenario, std::string_view field,
                      std::int64_t from, std::int64_t to);

// A file of scenarios as --scenario reads it: the messages it gives
// ("FILE:LINE: field: what is wrong", and the notes), and the text of the
// first scenario that is valid, or null.
std::string importJson(std::string_view fileText, std::string_view fileName);

// A scenario file's or a link's text read as --scenario reads a file: the
// messages it gives, the same as data (each note and error with the line
// the command line prints for it, and where its field stands), whether it
// refuses any scenario, each combat (its first line, whether it is valid,
// its answers by dotted name; the first 100 of them) and how many there
// are, and which one is shown: the first valid one, else the first one read
// to its end, else none (null), with its validity and answers.
std::string readJson(std::string_view fileText, std::string_view fileName);

// A roster file's text read as --roster reads it: whether it is valid, its
// error lines as the command line prints them, and each preset's name and
// the sides it serves.
std::string rosterJson(std::string_view rosterText, std::string_view fileName);

// The answers that the preset `name` of a roster gives `side`, by dotted
// name as the page's controls take them (with the usual value of a number
// that a scenario file may leave out, where the preset leaves it out);
// null when the roster holds no such preset for that side.
std::string presetJson(std::string_view rosterText, std::string_view name,
                       std::string_view side);

// The scenario against every preset of `side`, as --scenario --roster
// --compare SIDE --sort SORT --json gives it: the rows (JSON Lines, best
// first) and the error lines.
std::string compareJson(std::string_view scenario, std::string_view rosterText,
                        std::string_view side, std::string_view sort);
// What would help the attacker in a scenario, with the presets of
// `rosterText` when it is a valid roster: whether the scenario is valid,
// and the rows as --scenario --roster --advise --json gives them, each with
// the text of its changed scenario as --save writes it (null for a row
// without figures).
std::string adviceJson(std::string_view scenario, std::string_view rosterText);

// A file longer than kLongestScenario as readJson gives it, refused before
// it is read: a message that names the file as too long for the page.
std::string tooLongFileJson(std::string_view fileName);

// The result texts that --scenario prints for a scenario, or null for one
// it refuses.
std::string resultTextJson(std::string_view scenario);

#endif  // ZELVORN_WEB_BINDING_H_
