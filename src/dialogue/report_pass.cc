#include "dialogue/report_pass.h"

#include "report/report.h"

void reportPass(const CombatScenario& s, const PreparedCombat& prepared,
                std::int64_t timesAttacked, Console& console,
                const DialogueOptions& /*options*/) {
  const Prediction prediction = predictSoftening(s, prepared, timesAttacked);
  console.text.clear();
  renderPass(prediction, &console.text);
  say(console, console.text);
}
