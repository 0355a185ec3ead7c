// The answers that describe a unit itself, as a preset keeps them: the
// unit's own fields (unitFields()), for either side.  Everything else of a
// combat (weather, terrain, range, river, fuel, ammunition, times attacked,
// close defense, support fire) belongs to the situation and never to a
// preset.
#ifndef ZELVORN_SCENARIO_PRESET_FIELDS_H_
#define ZELVORN_SCENARIO_PRESET_FIELDS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "scenario/scenario_fields.h"

// A preset keeps a unit's own answers under the unit fields' names.
using PresetField = UnitField;

// The number of answers a preset may hold.
constexpr std::size_t kPresetFieldCount = kUnitFieldCount;

// The answers of a preset, in the order of the dialogue: unitFields().
std::span<const PresetField> presetFields();

// The place in presetFields() of the answer that sets `field` of the combat
// for either side; nothing for a field of the situation.
std::optional<std::size_t> presetFieldOf(Field field);

// The smallest and the largest whole number that means the same answer for
// every side in `sides`: a menu entry counts only where both menus have it
// under the same number (class 11 is a half-track attacking but a ground
// transport defending).
struct WholeRange {
  std::int64_t minimum = 0;
  std::int64_t maximum = 0;
};
WholeRange presetRange(const PresetField& field, bool attacker, bool defender);

#endif  // ZELVORN_SCENARIO_PRESET_FIELDS_H_
