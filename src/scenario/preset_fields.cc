#include "scenario/preset_fields.h"

#include <algorithm>
#include <array>

namespace {

using F = Field;

// A unit's own answers.  Whether a unit can move after the combat and an
// anti-tank's leader are asked of the attacker only; whether the target of
// artillery is infantry of the defender only.
constexpr std::array<PresetField, kPresetFieldCount> kPresetFields = {{
    {"class", F::attackerClass, F::defenderClass},
    {"isInfantry", std::nullopt, F::defenderIsInfantry},
    {"infantryLeader", F::attackerInfantryLeader, F::defenderInfantryLeader},
    {"attackValue", F::attackerAttackValue, F::defenderAttackValue},
    {"initiative", F::attackerInitiative, F::defenderInitiative},
    {"defenseValue", F::attackerDefenseValue, F::defenderDefenseValue},
    {"rangedDefense", F::attackerRangedDefense, F::defenderRangedDefense},
    {"experience", F::attackerExperience, F::defenderExperience},
    {"firingRange", F::attackerFiringRange, F::defenderFiringRange},
    {"strength", F::attackerStrength, F::defenderStrength},
    {"entrenchment", F::attackerEntrenchment, F::defenderEntrenchment},
    {"canMoveAfter", F::attackerCanMoveAfter, std::nullopt},
    {"antiTankHasLeader", F::antiTankHasLeader, std::nullopt},
    {"combatSupport", F::attackerCombatSupport, F::defenderCombatSupport},
    {"leaderChoice", F::attackerLeaderChoice, F::defenderLeaderChoice},
}};

// The largest n such that the first n entries of both menus read the same.
std::int64_t sharedEntries(std::span<const std::string_view> a,
                           std::span<const std::string_view> b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return static_cast<std::int64_t>(n);
}

}  // namespace

std::string_view sideName(Side side) {
  return side == Side::attacker ? "attacker" : "defender";
}

std::span<const PresetField> presetFields() {
  return kPresetFields;
}

std::optional<Field> fieldFor(const PresetField& field, Side side) {
  return side == Side::attacker ? field.attacker : field.defender;
}

std::optional<std::size_t> presetFieldOf(Field field) {
  const auto fields = presetFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].attacker == field || fields[i].defender == field) return i;
  }
  return std::nullopt;
}

WholeRange presetRange(const PresetField& field, bool attacker, bool defender) {
  WholeRange range{0, kLargestAnswer};
  std::span<const std::string_view> menu;
  bool first = true;
  for (const Side side : {Side::attacker, Side::defender}) {
    const std::optional<Field> own = fieldFor(field, side);
    if (!own || !(side == Side::attacker ? attacker : defender)) continue;
    const ScenarioField& info = fieldInfo(*own);
    range.minimum = std::max(range.minimum, info.minimum);
    range.maximum = std::min(range.maximum, info.maximum);
    if (!first && !menu.empty() && !info.options.empty()) {
      range.maximum = std::min(range.maximum, sharedEntries(menu, info.options));
    }
    menu = info.options;
    first = false;
  }
  return range;
}
