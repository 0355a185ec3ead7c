#include "files/scenario_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "combat/combat.h"
#include "files/problem.h"
#include "files/scenario_reader.h"
#include "files/scenario_source.h"
#include "io/input.h"
#include "report/prediction_json.h"
#include "report/prediction_table.h"
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

// The problems of the scenario that begins on `firstLine`, each on a line
// of its own, and the count of those beyond.
void tell(Run* run, std::size_t firstLine, const Problems& problems) {
  if (problems.told.empty() && problems.untold == 0) return;
  flushOutput(run->out);  // what came before them is printed before them
  put(run->err, fileProblemLines(run->name, firstLine, problems));
  flushOutput(run->err);
}

void invalid(Run* run, std::size_t firstLine, const Problems& problems) {
  run->anyInvalid = true;
  tell(run, firstLine, problems);
}

void invalidScenario(Run* run, std::size_t firstLine, Problem problem) {
  invalid(run, firstLine, Problems{{std::move(problem)}, 0});
}

// Leaves out the notes on fields that a preset gave rather than the
// scenario's own text: a preset is no mistake of the scenario's.
std::vector<Problem> ownNotes(const GivenFields& fromPresets,
                              std::vector<Problem> notes) {
  std::erase_if(notes, [&](const Problem& note) {
    for (std::size_t i = 0; i < fromPresets.size(); ++i) {
      if (fromPresets[i] && dottedName(scenarioFields()[i]) == note.field) {
        return true;
      }
    }
    return false;
  });
  return notes;
}

// Tells the notes on a scenario: the first kMostProblemsTold, and a count
// of the rest.
void tellNotes(Run* run, std::size_t firstLine, std::vector<Problem> notes) {
  Problems told;
  for (Problem& note : notes) addProblem(&told, std::move(note));
  tell(run, firstLine, told);
}

// The side that the run's comparison replaces, if it makes one.
std::optional<Side> compared(const Run& run) {
  if (!run.options.compare) return std::nullopt;
  return run.options.compare->side;
}

// One scenario: its figures, or its errors.
void runOne(Run* run, const ScenarioRead& read) {
  const CheckedScenario& checked = read.checked;
  if (!checked.errors.told.empty()) {
    invalid(run, read.firstLine, checked.errors);
    return;
  }
  tellNotes(run, read.firstLine, checked.notes);
  const CombatPrediction predicted = predictCombat(checked.scenario);
  run->text.clear();
  if (run->options.format == OutputFormat::json) {
    run->text = predictionJsonText(predicted.supportFire, predicted.prediction);
    run->text += '\n';
  } else {
    renderPrediction(predicted.supportFire, predicted.prediction, &run->text);
  }
  put(run->out, run->text);
}

// The one scenario that `option` takes, the whole file read: a second
// scenario is an error of its own, and nothing is given when the file holds
// none or its scenario is too long to be read.
std::optional<ScenarioChunk> onlyScenario(Run* run, ScenarioSource* source,
                                          std::string_view option) {
  std::optional<ScenarioChunk> chunk = nextScenario(source);
  if (!chunk) return std::nullopt;
  ++run->scenarios;
  if (const std::optional<ScenarioChunk> second = nextScenario(source)) {
    invalidScenario(run, second->firstLine,
                    {"scenario",
                     "a second scenario (allowed: one scenario with " +
                         std::string(option) + ")",
                     {}});
  }
  if (chunk->tooLong) {
    invalidScenario(run, chunk->firstLine, tooLongScenario());
    return std::nullopt;
  }
  return chunk;
}

// The one scenario that `option` takes, read and checked, with its notes
// told; nothing when it is refused (its errors told) or when the file had
// another problem.
struct OnlyCombat {
  std::size_t firstLine = 0;
  ScenarioText parsed;
  CheckedScenario checked;
};

std::optional<OnlyCombat> checkedOnlyScenario(Run* run, ScenarioSource* source,
                                              std::string_view option) {
  const std::optional<ScenarioChunk> chunk = onlyScenario(run, source, option);
  if (!chunk) return std::nullopt;
  OnlyCombat combat;
  combat.firstLine = chunk->firstLine;
  combat.parsed = parseWithPresets(chunk->text, run->options.roster, compared(*run));
  combat.checked = checkText(combat.parsed);
  if (!combat.checked.errors.told.empty()) {
    invalid(run, chunk->firstLine, combat.checked.errors);
    return std::nullopt;
  }
  if (run->anyInvalid || source->in.error != 0) return std::nullopt;
  tellNotes(run, chunk->firstLine,
            ownNotes(combat.parsed.fromPresets, combat.checked.notes));
  return combat;
}

// The one scenario of a sweep, swept over the values of its field: the
// whole file is read and the sweep checked before any row is written, so
// that a refused sweep prints nothing.
void runSweep(Run* run, ScenarioSource* source) {
  const std::optional<OnlyCombat> combat = checkedOnlyScenario(run, source, "--vary");
  if (!combat) return;
  const ScenarioText& parsed = combat->parsed;
  const SweepRequest& request = *run->options.sweep;
  OrProblems<SweepPlan> planned = planSweep(parsed, request);
  if (const Problems* problems = std::get_if<Problems>(&planned)) {
    invalid(run, combat->firstLine, *problems);
    return;
  }
  SweepPlan& plan = std::get<SweepPlan>(planned);
  const OutputFormat format = run->options.format;
  // The table sizes its columns to every row; CSV and JSON Lines go row by
  // row.
  std::vector<TableRow> table;
  if (format == OutputFormat::csv) put(run->out, csvHeading(request.field));
  for (std::int64_t value = request.from; value <= request.to; ++value) {
    const SweepRow row = sweepRow(&plan, value);
    switch (format) {
      case OutputFormat::text:
        table.push_back(tableRow(std::to_string(value), row.predicted.prediction));
        break;
      case OutputFormat::csv:
        put(run->out,
            csvLine(tableRow(std::to_string(value), row.predicted.prediction)));
        break;
      case OutputFormat::json:
        put(run->out, sweepJsonLine(request.field, value,
                                    row.predicted.supportFire,
                                    row.predicted.prediction));
        break;
    }
    if (run->out->failed) return;
  }
  if (format == OutputFormat::text) {
    put(run->out, predictionTable(request.field, table));
  }
}

// The one scenario of a comparison against every preset of a side: a row
// each, where a preset that does not fit the scenario gets its error in its
// row.  The whole file is read first, so that a refused comparison prints
// nothing.
void runCompare(Run* run, ScenarioSource* source) {
  const std::optional<ScenarioChunk> chunk =
      onlyScenario(run, source, "--compare");
  if (!chunk) return;
  const CompareRequest& request = *run->options.compare;
  // A roster with nothing to compare is at fault, whatever the scenario.
  const Problems unfit = noPresetProblem(*run->options.roster, request.side);
  if (!unfit.told.empty()) {
    run->anyInvalid = true;
    flushOutput(run->out);
    put(run->err, fileProblemLines(run->options.rosterPath, 1, unfit));
    flushOutput(run->err);
    return;
  }
  // Each preset's combat is checked on its own: only what is wrong with
  // the scenario's text refuses the comparison.
  const ScenarioText parsed =
      parseWithPresets(chunk->text, run->options.roster, compared(*run));
  if (!parsed.errors.told.empty()) {
    invalid(run, chunk->firstLine, parsed.errors);
    return;
  }
  if (run->anyInvalid || source->in.error != 0) return;
  std::vector<CompareRow> rows =
      compareRows(parsed, *run->options.roster, request.side);
  sortRows(&rows, request.sort);
  writeCompare(rows, run->options.format, run->out);
  // The table stands, but a row without figures counts as a scenario that
  // could not be computed.
  run->anyInvalid =
      run->anyInvalid ||
      std::any_of(rows.begin(), rows.end(),
                  [](const CompareRow& row) { return row.error.has_value(); });
}

// The one scenario of the advice on what would help, a row for each change
// that applies to it.  The whole file is read first, so that refused advice
// prints nothing.
void runAdvise(Run* run, ScenarioSource* source) {
  const std::optional<OnlyCombat> combat = checkedOnlyScenario(run, source, "--advise");
  if (!combat) return;
  const std::vector<AdviceRow> rows = adviceRows(
      combat->parsed, combat->checked, run->options.roster, *run->options.advise);
  writeAdvice(rows, run->options.format, run->out);
  // As in a comparison, a row without figures counts as a scenario that
  // could not be computed.
  run->anyInvalid = std::any_of(rows.begin(), rows.end(),
                                [](const AdviceRow& row) { return row.failed; });
}

int cannotRead(Run* run, int error) {
  flushOutput(run->out);
  put(run->err, programProblemLine(cannotProblem("read", run->name, error)));
  flushOutput(run->err);
  return 2;
}

}  // namespace

ScenarioText parseWithPresets(std::string_view text, const Roster* roster,
                              std::optional<Side> compared) {
  ScenarioText parsed = parseScenario(text, roster != nullptr);
  if (compared) {
    (*compared == Side::attacker ? parsed.attackerPreset
                                 : parsed.defenderPreset)
        .reset();
  }
  if (roster != nullptr && parsed.complete) {
    Problems problems = applyNamedPresets(*roster, &parsed);
    if (!problems.told.empty()) {
      addProblem(&parsed.errors, std::move(problems.told.front()));
      std::vector<Problem>& told = parsed.errors.told;
      std::stable_sort(told.begin(), told.end(),
                       [](const Problem& a, const Problem& b) {
                         return a.place.line < b.place.line;
                       });
    }
  }
  return parsed;
}

std::optional<ScenarioRead> readNextScenario(ScenarioSource* source,
                                             const Roster* roster,
                                             bool keepGiven) {
  std::optional<ScenarioChunk> chunk = nextScenario(source);
  if (!chunk) return std::nullopt;
  ScenarioRead read;
  read.firstLine = chunk->firstLine;
  if (chunk->tooLong) {
    addProblem(&read.checked.errors, tooLongScenario());
    return read;
  }
  ScenarioText parsed = parseWithPresets(chunk->text, roster);
  read.complete = parsed.complete;
  read.artilleryGiven = parsed.scenario.artillery.size();
  read.airDefenseGiven = parsed.scenario.airDefense.size();
  const GivenFields fromPresets = parsed.fromPresets;
  if (keepGiven && parsed.complete) read.given = parsed;
  read.checked = checkText(std::move(parsed));
  read.text = std::move(chunk->text);
  if (read.checked.errors.told.empty()) {
    read.checked.notes = ownNotes(fromPresets, std::move(read.checked.notes));
  }
  return read;
}

Problem noScenarioProblem() {
  return {"scenario",
          "the file holds no scenario (allowed: JSON Lines, or one JSON object)",
          {}};
}

Problem tooLongScenario() {
  Problem problem = tooLongProblem(kScenarioDocument);
  problem.message += "; the rest of the file is not read";
  return problem;
}

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
  if (options.sweep) {
    runSweep(&run, source);
  } else if (options.compare) {
    runCompare(&run, source);
  } else if (options.advise) {
    runAdvise(&run, source);
  } else {
    while (const std::optional<ScenarioRead> read =
               readNextScenario(source, options.roster, false)) {
      ++run.scenarios;
      runOne(&run, *read);
      if (out->failed) break;
    }
  }
  if (source->in.error != 0) return cannotRead(&run, source->in.error);
  if (run.scenarios == 0) {
    invalidScenario(&run, 1, noScenarioProblem());
  }
  if (!flushOutput(out)) {
    put(err, programProblemLine({"", "the output could not be written", {}}));
    flushOutput(err);
    return 2;
  }
  return run.anyInvalid ? 1 : 0;
}
