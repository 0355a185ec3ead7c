// Runs the scenario reader on arbitrary bytes, as one scenario and as a
// whole file of them, and the roster reader on the same bytes.  Besides the
// sanitizers it checks what a scenario promises: a valid one is computed
// and written back as a scenario that reads the same; an invalid one gets
// its errors and no figures.  A roster is refused with problems that
// each name a line of the text, or holds only presets whose answers fit
// their sides, and is then compared against a combat.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "combat/combat.h"
#include "files/compare.h"
#include "files/roster_reader.h"
#include "files/scenario_file.h"
#include "files/scenario_reader.h"
#include "report/prediction_json.h"
#include "report/report.h"
#include "report/scenario_json.h"

namespace {

void checkOneScenario(std::string_view text) {
  const CheckedScenario reading = readScenario(text);
  if (!reading.errors.told.empty()) {
    for (const Problem& error : reading.errors.told) {
      if (error.field.empty() || error.message.empty()) std::abort();
    }
    return;
  }
  const CombatPrediction predicted = predictCombat(reading.scenario);
  std::string rendered;
  renderPrediction(predicted.supportFire, predicted.prediction, &rendered);
  if (rendered.find("The odds are") == std::string::npos) std::abort();
  predictionJson(predicted.supportFire, predicted.prediction).dump();
  // Written as a scenario, it reads back the same, with nothing to note.
  const std::string written = scenarioJson(reading.scenario);
  const CheckedScenario again = readScenario(written);
  if (!again.errors.told.empty() || !again.notes.empty() ||
      scenarioJson(again.scenario) != written) {
    std::abort();
  }
}

// A roster that every scenario of checkFile may name.
const Roster& fixedRoster() {
  static const RosterReading reading = parseRoster(
      R"({"presets": [{"name": "A", "sides": ["attacker", "defender"],)"
      R"( "class": 2, "attackValue": 10, "defenseValue": 7, "strength": 10},)"
      R"( {"name": "B", "sides": ["defender"], "class": 12}]})");
  if (!reading.problems.told.empty()) std::abort();
  return reading.roster;
}

void checkRoster(std::string_view text) {
  const RosterReading reading = parseRoster(text);
  const auto lines =
      static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  for (const Problem& problem : reading.problems.told) {
    if (problem.place.line < 1 || problem.place.line > lines ||
        problem.field.empty() || problem.message.empty() ||
        problem.message.find('\n') != std::string::npos) {
      std::abort();
    }
  }
  if (!reading.problems.told.empty()) {
    if (!reading.roster.presets.empty()) std::abort();
    return;
  }
  for (const Preset& preset : reading.roster.presets) {
    if (!preset.attacker && !preset.defender) std::abort();
    if (findPreset(reading.roster, preset.name) == nullptr) std::abort();
  }
  // Every preset of either side against a combat: a row each, with its
  // figures or its error.
  const ScenarioText duel = parseScenario(
      R"({"general": {"attackerClass": 2, "defenderClass": 2},)"
      R"( "attacker": {"attackValue": 10, "defenseValue": 7, "strength": 10},)"
      R"( "defender": {"attackValue": 8, "defenseValue": 6, "strength": 10}})");
  for (const Side side : {Side::attacker, Side::defender}) {
    std::vector<CompareRow> rows = compareRows(duel, reading.roster, side);
    sortRows(&rows, "defenderLosses");
    for (const CompareRow& row : rows) {
      if (!row.error && row.prediction.odds.defenderLosses < 0) std::abort();
    }
  }
}

void checkFile(std::string_view text) {
  std::stringbuf file{std::string(text)};
  std::stringbuf figures;
  std::stringbuf messages;
  Output out = outputToStream(&figures);
  Output err = outputToStream(&messages);
  ScenarioSource source = scenarioSource(inputFromStream(&file));
  ScenarioFileOptions options;
  options.path = "fuzz";
  options.roster = &fixedRoster();
  const int status = runScenarios(&source, options, &out, &err);
  flushOutput(&out);
  flushOutput(&err);
  if (status != 0 && status != 1) std::abort();
  if (status == 1 && messages.str().empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  checkOneScenario(text);
  checkFile(text);
  checkRoster(text);
  return 0;
}
