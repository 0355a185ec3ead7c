#include "files/scenario_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>

#include "combat/combat.h"
#include "files/scenario_reader.h"
#include "files/scenario_source.h"
#include "io/input.h"
#include "report/prediction_json.h"
#include "report/report.h"

namespace {

struct Run {
  const ScenarioFileOptions& options;
  Output* out;
  Output* err;
  std::string name;  // the file as messages name it
  bool anyInvalid = false;
  std::size_t scenarios = 0;
  std::string text;  // a prediction's text, reused
};

void complain(Run* run, std::size_t line, const Problem& problem) {
  flushOutput(run->out);  // what came before it is printed before it
  put(run->err, run->name);
  put(run->err, ":");
  putNumber(run->err, static_cast<std::int64_t>(line));
  put(run->err, ": ");
  put(run->err, problem.field);
  put(run->err, ": ");
  put(run->err, problem.message);
  put(run->err, "\n");
  flushOutput(run->err);
}

// The line of the file on which a syntax error at `offset` of a scenario
// that begins on line `firstLine` stands.
std::size_t lineOf(std::string_view text, std::size_t offset,
                   std::size_t firstLine) {
  std::size_t line = firstLine;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') ++line;
  }
  return line;
}

// Whether the field that a note names came from a preset rather than from
// the scenario's own text.
bool givenByPreset(const ScenarioText& parsed, std::string_view field) {
  for (std::size_t i = 0; i < parsed.fromPresets.size(); ++i) {
    if (parsed.fromPresets[i] && dottedName(scenarioFields()[i]) == field) {
      return true;
    }
  }
  return false;
}

void invalid(Run* run, std::size_t line, const Problem& problem) {
  run->anyInvalid = true;
  complain(run, line, problem);
}

// The scenario that begins on line `firstLine`, read and checked: nothing
// when it is invalid (its error told), else with its notes told.
std::optional<CheckedScenario> readAndCheck(Run* run, std::string_view text,
                                            std::size_t firstLine,
                                            ScenarioText* parsed) {
  const Roster* roster = run->options.roster;
  *parsed = parseScenario(text, false, roster != nullptr);
  if (!parsed->error && roster != nullptr) {
    parsed->error = applyNamedPresets(*roster, parsed);
  }
  if (parsed->error) {
    invalid(run,
            parsed->syntaxError ? lineOf(text, parsed->errorOffset, firstLine)
                                : firstLine,
            *parsed->error);
    return std::nullopt;
  }
  // A comparison checks each preset's combat on its own.
  if (run->options.compare) return CheckedScenario{};
  CheckedScenario checked = checkScenario(parsed->scenario, parsed->given);
  if (checked.error) {
    invalid(run, firstLine, *checked.error);
    return std::nullopt;
  }
  for (const Problem& note : checked.notes) {
    if (!givenByPreset(*parsed, note.field)) complain(run, firstLine, note);
  }
  return checked;
}

// One scenario: its figures, or its error.
void runOne(Run* run, std::string_view text, std::size_t firstLine) {
  ScenarioText parsed;
  const std::optional<CheckedScenario> checked =
      readAndCheck(run, text, firstLine, &parsed);
  if (!checked) return;
  const CombatPrediction predicted = predictCombat(checked->scenario);
  run->text.clear();
  if (run->options.format == OutputFormat::json) {
    run->text = predictionJson(predicted.supportFire, predicted.prediction).dump();
    run->text += '\n';
  } else {
    renderPrediction(predicted.supportFire, predicted.prediction, &run->text);
  }
  put(run->out, run->text);
}

// One scenario swept over the values of one field.
void runSweepOn(Run* run, std::string_view text, std::size_t firstLine) {
  ScenarioText parsed;
  if (!readAndCheck(run, text, firstLine, &parsed)) return;
  Problem error;
  if (!runSweep(parsed, *run->options.sweep, run->options.format, run->out,
                &error)) {
    invalid(run, firstLine, error);
  }
}

// One scenario against every preset of a side: a row each, where a preset
// that does not fit the scenario gets its error in its row.
void runCompareOn(Run* run, std::string_view text, std::size_t firstLine) {
  ScenarioText parsed;
  if (!readAndCheck(run, text, firstLine, &parsed)) return;
  const CompareRequest& request = *run->options.compare;
  std::vector<CompareRow> rows =
      compareRows(parsed, *run->options.roster, request.side);
  if (rows.empty()) {
    invalid(run, firstLine,
            {"roster", "no preset for the " + std::string(sideName(request.side)) +
                           " (allowed: presets whose sides include it)"});
    return;
  }
  sortRows(&rows, request.sort);
  writeCompare(rows, run->options.format, run->out);
  // The table stands, but a row without figures counts as a scenario that
  // could not be computed.
  run->anyInvalid = run->anyInvalid ||
                    std::any_of(rows.begin(), rows.end(),
                                [](const CompareRow& row) { return row.error.has_value(); });
}

int cannotRead(Run* run, int error) {
  flushOutput(run->out);
  put(run->err, "zelvorn-odds: cannot read ");
  put(run->err, run->name);
  put(run->err, ": ");
  put(run->err, std::strerror(error));
  put(run->err, "\n");
  flushOutput(run->err);
  return 2;
}

// One scenario of the file, with or without a sweep; a sweep takes one
// scenario only.
void runScenario(Run* run, const ScenarioChunk& chunk) {
  ++run->scenarios;
  if (chunk.tooLong) {
    invalid(run, chunk.firstLine,
            {"scenario", "longer than 16 MiB (allowed: one JSON object of at "
                         "most 16 MiB)"});
  } else if (!run->options.sweep && !run->options.compare) {
    runOne(run, chunk.text, chunk.firstLine);
  } else if (run->scenarios == 1) {
    if (run->options.sweep) {
      runSweepOn(run, chunk.text, chunk.firstLine);
    } else {
      runCompareOn(run, chunk.text, chunk.firstLine);
    }
  } else {
    invalid(run, chunk.firstLine,
            {"scenario", std::string("a second scenario (allowed: one scenario "
                                     "with ") +
                             (run->options.sweep ? "--vary" : "--compare") + ")"});
  }
}

}  // namespace

int runScenarioFile(const ScenarioFileOptions& options, Output* out,
                    Output* err) {
  Run run{options, out, err, options.path, false, 0, {}};
  int fd = STDIN_FILENO;
  if (options.path != "-") {
    fd = open(options.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return cannotRead(&run, errno);
  }
  ScenarioSource source = scenarioSource(inputFromFd(fd));
  const int status = runScenarios(&source, options, out, err);
  if (fd != STDIN_FILENO) close(fd);
  return status;
}

int runScenarios(ScenarioSource* source, const ScenarioFileOptions& options,
                 Output* out, Output* err) {
  Run run{options, out, err, options.path, false, 0, {}};
  while (const std::optional<ScenarioChunk> chunk = nextScenario(source)) {
    runScenario(&run, *chunk);
    if (out->failed) break;
  }
  if (source->in.error != 0) return cannotRead(&run, source->in.error);
  if (run.scenarios == 0) {
    invalid(&run, 1, {"scenario", "the file holds no scenario (allowed: JSON "
                                  "Lines, or one JSON object)"});
  }
  if (!flushOutput(out)) {
    put(err, "zelvorn-odds: the output could not be written\n");
    flushOutput(err);
    return 2;
  }
  return run.anyInvalid ? 1 : 0;
}
