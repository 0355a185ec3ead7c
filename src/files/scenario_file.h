// Predictions for the scenarios of a file: JSON Lines, or one object over
// several lines, read as a stream.
#ifndef ZELVORN_FILES_SCENARIO_FILE_H_
#define ZELVORN_FILES_SCENARIO_FILE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "files/advise.h"
#include "files/compare.h"
#include "files/problem.h"
#include "files/roster_reader.h"
#include "files/scenario_source.h"
#include "files/sweep.h"
#include "io/output.h"

struct ScenarioFileOptions {
  std::string path;  // "-" for standard input
  OutputFormat format = OutputFormat::text;
  std::optional<SweepRequest> sweep;  // one scenario, for every value
  const Roster* roster = nullptr;     // the presets that scenarios may name
  std::string rosterPath = "roster";  // the roster's file, as messages name it
  std::optional<CompareRequest> compare;  // one scenario, for every preset
  // One scenario, for every change that would help the attacker (with
  // `roster`, its best presets too), ordered by the figure named (empty:
  // the usual order).
  std::optional<std::string> advise;
};

// Computes every valid scenario of the file and writes its result texts
// (or its JSON) to `out`; each problem of an invalid scenario gets one line
// on `err`, "FILE:LINE: field: what is wrong (allowed: ...)", at most
// kMostProblemsTold a scenario, and a field that the combat does not ask
// gets one note there.  A sweep writes nothing unless the whole file holds
// one valid scenario and the sweep can be made.  Returns the exit status: 0
// when every scenario was valid, 1 when one was not (or the sweep could not
// be made), 2 when the file or the output could not be read or written.
int runScenarioFile(const ScenarioFileOptions& options, Output* out,
                    Output* err);

// The same for scenarios that come from `source` rather than from the file
// that `options.path` names (which still names it in messages).
int runScenarios(ScenarioSource* source, const ScenarioFileOptions& options,
                 Output* out, Output* err);

// One scenario of a file read and checked as --scenario checks it, before
// any figure: its text and the line it begins on, whether it was read to
// its end, its answers as checked with the lines --scenario prints for it
// (its errors, the first kMostProblemsTold and a count of the rest, or else
// its notes, none of them on an answer that a preset gave), how many
// supporting units of each list it gave, and (where asked for, and it was
// read to its end) its answers as given.
struct ScenarioRead {
  std::string text;  // the scenario's own text
  std::size_t firstLine = 0;
  bool complete = false;
  CheckedScenario checked;
  std::size_t artilleryGiven = 0;
  std::size_t airDefenseGiven = 0;
  std::optional<ScenarioText> given;
};

// The next scenario of `source`, read and checked (with the presets of
// `roster`, when there is one, put in; with its answers as given when
// `keepGiven`), or nothing at the end of the file.
std::optional<ScenarioRead> readNextScenario(ScenarioSource* source,
                                             const Roster* roster,
                                             bool keepGiven);

// The problem of a file that holds no scenario, on its first line.
Problem noScenarioProblem();

// The scenario of `text`, with the presets of `roster` that it names put
// in (an unknown preset is one more of its problems); with `compared`, the
// side whose unit a comparison replaces, which needs no preset of its own.
ScenarioText parseWithPresets(std::string_view text, const Roster* roster,
                              std::optional<Side> compared = std::nullopt);

// The problem of a scenario longer than kLongestScenario, after which the
// file is read no further.
Problem tooLongScenario();

#endif  // ZELVORN_FILES_SCENARIO_FILE_H_
