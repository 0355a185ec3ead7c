// Asking a field's question as the catalogue of fields words it, with the
// reader that its range calls for; a unit's own question is not asked when
// the preset chosen for the unit holds its answer.
#ifndef ZELVORN_DIALOGUE_ASK_FIELD_H_
#define ZELVORN_DIALOGUE_ASK_FIELD_H_

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "dialogue/console.h"
#include "dialogue/preset_choice.h"
#include "scenario/scenario_fields.h"

// A whole-number question: answers that start at 1 are read with readCount,
// answers that start at 0 with readNumber.
template <typename Record>
std::int64_t askWhole(Console& console, const FieldInfo<Record>& info) {
  if (info.minimum > 0) {
    return askCount(console, info.prompt, info.errorText, info.minimum,
                    info.maximum);
  }
  return askNumber(console, info.prompt, info.errorText);
}

inline std::int64_t askWhole(Console& console, Field field) {
  return askWhole(console, fieldInfo(field));
}

// A whole-number question, or the chosen preset's answer to it.
inline std::int64_t askWhole(Console& console, Field field,
                             const ChosenPresets& presets) {
  if (const auto held = presetAnswer(presets, field)) return *held;
  return askWhole(console, field);
}

// A yes/no question.
template <typename Record>
char askYesNo(Console& console, const FieldInfo<Record>& info) {
  return askYesNo(console, info.prompt);
}

inline char askYesNo(Console& console, Field field) {
  return askYesNo(console, fieldInfo(field));
}

// A yes/no question in words of its own that answers `field`, or the
// chosen preset's answer to it.
inline char askYesNo(Console& console, std::string_view prompt, Field field,
                     const ChosenPresets& presets) {
  if (const auto held = presetAnswer(presets, field)) {
    return static_cast<char>(*held);
  }
  return askYesNo(console, prompt);
}

// A yes/no question, or the chosen preset's answer to it.
inline char askYesNo(Console& console, Field field,
                     const ChosenPresets& presets) {
  return askYesNo(console, fieldInfo(field).prompt, field, presets);
}

// A menu: its first line, its entries in the pieces that `entries` shows
// them in, then the choice, read with readCount.
template <typename Record>
std::int64_t askMenu(Console& console, const FieldInfo<Record>& info,
                     std::initializer_list<std::string_view> entries) {
  say(console, info.prompt);
  for (const std::string_view piece : entries) {
    if (!piece.empty()) say(console, piece);
  }
  return askCount(console, "", info.errorText, info.minimum, info.maximum);
}

// A menu, or the chosen preset's answer to it.
inline std::int64_t askMenu(Console& console, Field field,
                            const ChosenPresets& presets,
                            std::initializer_list<std::string_view> entries) {
  if (const auto held = presetAnswer(presets, field)) return *held;
  return askMenu(console, fieldInfo(field), entries);
}

#endif  // ZELVORN_DIALOGUE_ASK_FIELD_H_
