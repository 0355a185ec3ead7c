// The answers that describe a unit itself, as a preset keeps them: one list
// for both sides, each entry naming the attacker's and the defender's field
// it answers.  Everything else of a combat (weather, terrain, range, river,
// fuel, ammunition, times attacked, close defense, support fire) belongs to
// the situation and never to a preset.
#ifndef ZELVORN_SCENARIO_PRESET_FIELDS_H_
#define ZELVORN_SCENARIO_PRESET_FIELDS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "scenario/scenario_fields.h"

// The two sides a preset may serve.
enum class Side { attacker, defender };

// The name of a side as files spell it: "attacker" or "defender".
std::string_view sideName(Side side);

// One answer of a preset: its name in a roster, and the field of the combat
// that it answers for each side (none where that side has no such
// question, such as an attacker's "isInfantry").
struct PresetField {
  std::string_view name;
  std::optional<Field> attacker;
  std::optional<Field> defender;
};

// The number of answers a preset may hold.
constexpr std::size_t kPresetFieldCount = 15;

// The answers of a preset, in the order of the dialogue.
std::span<const PresetField> presetFields();

// The combat's field that `field` answers for `side`, if that side has it.
std::optional<Field> fieldFor(const PresetField& field, Side side);

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
