#include "dialogue/report_pass.h"

#include "report/report.h"
#include "report/scenario_json.h"

void reportPass(const CombatScenario& s, const PreparedCombat& prepared,
                std::int64_t timesAttacked, Console& console,
                const DialogueOptions& options) {
  const Prediction prediction = predictSoftening(s, prepared, timesAttacked);
  console.text.clear();
  renderPass(prediction, &console.text);
  say(console, console.text);
  if (options.save == nullptr) return;
  // The same combat for this number of times attacked reproduces the pass.
  CombatScenario saved = s;
  saved.timesAttacked = timesAttacked;
  put(options.save, scenarioJson(saved));
  put(options.save, "\n");
  if (!flushOutput(options.save)) throw SaveFailed{options.save->error};
}
