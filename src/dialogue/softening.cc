#include "dialogue/softening.h"

#include "combat/questions.h"
#include "dialogue/report_pass.h"
#include "dialogue/ask_field.h"

void offerSofteningRecomputation(const CombatScenario& s,
                                 const PreparedCombat& prepared,
                                 Console& console,
                                 const DialogueOptions& options) {
  // Exactly the attackers that soften the defender are asked how often it
  // was attacked, and only they are offered another softening.
  if (!asks(Field::timesAttacked, s)) return;
  while (isYes(askYesNo(console,
                        "\nWould you like to check the odds of this combat "
                        "with a different softening\nvalue? (Y/N)\n>> "))) {
    const std::int64_t timesAttacked = askWhole(console, Field::timesAttacked);
    reportPass(s, prepared, timesAttacked, console, options);
  }
}
