// A field of a scenario by its dotted name, as messages, the command line
// and the web page spell it: "attacker.strength", "attacker.combatSupport.0",
// "artillery.2.experience", "airDefense.0.combatSupport.1".
#ifndef ZELVORN_SCENARIO_FIELD_PATH_H_
#define ZELVORN_SCENARIO_FIELD_PATH_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// The objects of a scenario that hold names of their own: the scenario, its
// four groups, and a supporting unit of either list.
enum class Scope : std::uint8_t {
  scenario,
  general,
  attacker,
  defender,
  terrain,
  artilleryUnit,
  airDefenseUnit,
};

// What a name stands for inside an object: a group, a field of the combat
// or a field of a supporting unit.
enum class NameKind : std::uint8_t { group, field, unitField };

// One name of an object.  `field` is the Field of a field of the combat,
// or the place of a unit's field among artilleryFields() or
// airDefenseFields(); `inner` is the object that a group, or each entry of
// a list of units, holds.  `kind`, `minimum` and `maximum` describe the
// value (a group's are unused); `required` says whether a whole number
// must be given when its question is asked.
struct ScopedName {
  std::string_view name;
  NameKind nameKind = NameKind::field;
  std::size_t field = 0;
  Scope inner = Scope::scenario;
  FieldKind kind = FieldKind::whole;
  std::int64_t minimum = 0;
  std::int64_t maximum = 0;
  bool required = false;
};

// The names that an object of `scope` takes: the scenario's groups before
// its own fields, then every field in the order the dialogue asks them.
std::span<const ScopedName> namesIn(Scope scope);

// The name `name` among `names` (the names of one object, as namesIn()
// gives them), or nullptr when the object takes no such name.  Its place
// in `names` tells names apart.  Inline, as a reader asks it for every name
// of every scenario.
inline const ScopedName* findName(std::span<const ScopedName> names,
                                  std::string_view name) {
  for (const ScopedName& candidate : names) {
    if (candidate.name == name) return &candidate;
  }
  return nullptr;
}

// The same among namesIn(scope).
const ScopedName* findName(Scope scope, std::string_view name);

// The field that `path` names, or nothing when no field has that name.
// The places of units and bars are not checked against any scenario.
std::optional<FieldPath> resolveFieldPath(std::string_view path);

// The place of the value that `path` names in `*scenario`, or nullptr when
// the path names no whole number or its unit or bar is not in the scenario.
std::int64_t* wholeValueAt(CombatScenario* scenario, const FieldPath& path);

// The number of characters to insert, delete or replace to turn `a` into
// `b`.
std::size_t spellingDistance(std::string_view a, std::string_view b);

// The names of every whole-number field (those that a sweep can vary), in
// the order the dialogue asks them, with 0 for each place in a list.
std::vector<std::string> wholeFieldNames();

// The name of the whole-number field closest in spelling to `path` (its
// numbers kept), or "" when none is close.
std::string closestWholeField(std::string_view path);

// The name among `names` (those of one object) closest in spelling to
// `name`, by the same measure, or nullptr when none is close.
const ScopedName* closestName(std::span<const ScopedName> names,
                              std::string_view name);

#endif  // ZELVORN_SCENARIO_FIELD_PATH_H_
