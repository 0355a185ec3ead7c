// Runs the scenario reader on arbitrary bytes, as one scenario and as a
// whole file of them.  Besides the sanitizers it checks what a scenario
// promises: a valid one is computed and written back as a scenario that
// reads the same; an invalid one gets its errors and no figures.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "combat/combat.h"
#include "files/scenario_file.h"
#include "files/scenario_reader.h"
#include "report/prediction_json.h"
#include "report/report.h"
#include "report/scenario_json.h"

namespace {

void checkOneScenario(std::string_view text) {
  const CheckedScenario reading = readScenario(text);
  if (!reading.errors.empty()) {
    for (const Problem& error : reading.errors) {
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
  if (!again.errors.empty() || !again.notes.empty() ||
      scenarioJson(again.scenario) != written) {
    std::abort();
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
  return 0;
}
