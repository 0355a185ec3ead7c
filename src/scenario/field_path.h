// A field of a scenario by its dotted name, as messages, the command line
// and the web page spell it: "attacker.strength", "attacker.combatSupport.0",
// "artillery.2.experience", "airDefense.0.combatSupport.1".
#ifndef ZELVORN_SCENARIO_FIELD_PATH_H_
#define ZELVORN_SCENARIO_FIELD_PATH_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scenario/scenario_fields.h"

// What a dotted name stands for.  `field` is the combat's field, or the
// list (Field::artillery, Field::airDefense) that holds the unit; `unit` and
// `unitField` say which unit and which of its fields; `bar` is an entry of
// a list of Combat Support bars.  `kind`, `minimum` and `maximum` describe
// the value named (an entry of bars is a whole number).
struct FieldPath {
  Field field = Field::attackerClass;
  std::optional<std::size_t> unit;
  std::size_t unitField = 0;
  std::optional<std::size_t> bar;
  FieldKind kind = FieldKind::whole;
  std::int64_t minimum = 0;
  std::int64_t maximum = 0;
  std::string_view errorText;  // the dialogue's error text for the field
};

// The field that `path` names, or nothing when no field has that name.
// The places of units and bars are not checked against any scenario.
std::optional<FieldPath> resolveFieldPath(std::string_view path);

// The place of the value that `path` names in `*scenario`, or nullptr when
// the path names no whole number or its unit or bar is not in the scenario.
std::int64_t* wholeValueAt(CombatScenario* scenario, const FieldPath& path);

// The name of the whole-number field closest in spelling to `path` (its
// numbers kept), or "" when none is close.
std::string closestWholeField(std::string_view path);

#endif  // ZELVORN_SCENARIO_FIELD_PATH_H_
