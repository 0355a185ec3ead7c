#include "dialogue/combat_support.h"

#include "combat/exact.h"
#include "scenario/combat_scenario.h"
#include "scenario/shared_texts.h"

void askCombatSupport(Console& console, std::int64_t& experience,
                      std::int64_t& lastUnitBars) {
  char reply = askYesNo(console, text::kCombatSupportFirst);
  while (isYes(reply)) {
    lastUnitBars =
        askNumber(console, text::kCombatSupportBars, text::kExperienceError);
    experience = saturatingAdd(experience, lastUnitBars);
    reply = askYesNo(console, text::kCombatSupportAnother);
  }
}
