// Asking a field's question as the catalogue of fields words it, with the
// reader that its range calls for.
#ifndef ZELVORN_DIALOGUE_ASK_FIELD_H_
#define ZELVORN_DIALOGUE_ASK_FIELD_H_

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "dialogue/console.h"
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

// A yes/no question.
template <typename Record>
char askYesNo(Console& console, const FieldInfo<Record>& info) {
  return askYesNo(console, info.prompt);
}

inline char askYesNo(Console& console, Field field) {
  return askYesNo(console, fieldInfo(field));
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

#endif  // ZELVORN_DIALOGUE_ASK_FIELD_H_
