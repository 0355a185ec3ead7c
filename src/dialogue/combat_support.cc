#include "dialogue/combat_support.h"

#include "scenario/combat_scenario.h"
#include "scenario/scenario_fields.h"

std::vector<std::int64_t> askCombatSupport(Console& console) {
  std::vector<std::int64_t> bars;
  char reply = askYesNo(console, kCombatSupportFirst);
  while (isYes(reply)) {
    bars.push_back(askNumber(console, kCombatSupportBars, kExperienceError));
    reply = askYesNo(console, kCombatSupportAnother);
  }
  return bars;
}

std::vector<std::int64_t> askCombatSupport(Console& console, Field field,
                                           const ChosenPresets& presets) {
  const Preset* preset = presetFor(presets, field);
  if (preset != nullptr && holds(*preset, field)) return preset->combatSupport;
  return askCombatSupport(console);
}
