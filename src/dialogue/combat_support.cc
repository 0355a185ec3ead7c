#include "dialogue/combat_support.h"

#include "dialogue/texts.h"
#include "scenario/combat_scenario.h"

std::vector<std::int64_t> askCombatSupport(Console& console) {
  std::vector<std::int64_t> bars;
  char reply = askYesNo(console, text::kCombatSupportFirst);
  while (isYes(reply)) {
    bars.push_back(
        askNumber(console, text::kCombatSupportBars, text::kExperienceError));
    reply = askYesNo(console, text::kCombatSupportAnother);
  }
  return bars;
}
