#include "dialogue/report_pass.h"

#include <string>

#include "report/report.h"

void reportPass(const CombatScenario& s, const PreparedCombat& prepared,
                std::int64_t timesAttacked, Console& console,
                const DialogueOptions& /*options*/) {
  const Prediction prediction = predictSoftening(s, prepared, timesAttacked);
  std::string text;
  renderPass(prediction, &text);
  say(console, text);
}
