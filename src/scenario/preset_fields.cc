#include "scenario/preset_fields.h"

#include <algorithm>

namespace {

// The largest n such that the first n entries of both menus read the same.
std::int64_t sharedEntries(std::span<const MenuEntry> a,
                           std::span<const MenuEntry> b) {
  std::size_t n = 0;
  while (n < a.size() && n < b.size() && a[n].word == b[n].word) ++n;
  return static_cast<std::int64_t>(n);
}

}  // namespace

std::span<const PresetField> presetFields() { return unitFields(); }

std::optional<std::size_t> presetFieldOf(Field field) {
  const std::optional<UnitPlace> place = unitPlaceOf(field);
  if (!place) return std::nullopt;
  return place->unitField;
}

WholeRange presetRange(const PresetField& field, bool attacker, bool defender) {
  WholeRange range{0, kLargestAnswer};
  std::span<const MenuEntry> menu;
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
