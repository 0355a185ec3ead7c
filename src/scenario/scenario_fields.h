// Every answer of a combat by name: how a scenario file spells it, what kind
// of answer it is, the range its question accepts, and where the record
// keeps it.  Listed in the order the dialogue asks the questions.
#ifndef ZELVORN_SCENARIO_SCENARIO_FIELDS_H_
#define ZELVORN_SCENARIO_SCENARIO_FIELDS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/combat_scenario.h"

// The most a nine-character answer can hold.
constexpr std::int64_t kLargestAnswer = 999999999;

// The Combat Support loop, asked for both units and every supporting unit:
// whether there is a first unit, each unit's bars (with their error text),
// and whether there is another.
constexpr std::string_view kCombatSupportFirst =
    "\nIs there at least one Combat Support unit adjacent to this unit? "
    "(Y/N):\n>> ";
constexpr std::string_view kCombatSupportBars =
    "\nPlease enter the experience bars of the Combat Support unit:\n>> ";
constexpr std::string_view kExperienceError =
    "\nThe experience bars must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr std::string_view kCombatSupportAnother =
    "\nIs there another Combat Support unit adjacent to this unit? "
    "(Y/N):\n>> ";

// The attacker's infantry leader, asked of a half-track in words of its own.
constexpr std::string_view kHalfTrackLeaderPrompt =
    "\nIs the attacking unit infantry with a leader? (Y/N):\n>> ";

// The answers of a combat that stand once in it, in the order of the
// dialogue (the attacker's infantry leader after the assault, on which it
// depends; the number of times attacked last).
enum class Field {
  attackerClass,
  defenderIsInfantry,
  defenderClass,
  isAssault,
  attackerInfantryLeader,
  defenderInfantryLeader,
  weatherSnowOrRain,
  weatherOvercast,
  attackerAttackValue,
  attackerInitiative,
  attackerDefenseValue,
  attackerRangedDefense,
  attackerExperience,
  attackerFiringRange,
  attackerStrength,
  attackerEntrenchment,
  attackerInCityForestMountain,
  attackerInRiver,
  attackerCanMoveAfter,
  attackerOutOfFuel,
  antiTankHasLeader,
  attackerCombatSupport,
  attackerLeaderChoice,
  defenderAttackValue,
  defenderInitiative,
  defenderDefenseValue,
  defenderRangedDefense,
  defenderExperience,
  defenderFiringRange,
  defenderStrength,
  defenderEntrenchment,
  defenderInCityForestMountain,
  defenderInCity,
  defenderInRiver,
  defenderOutOfAmmo,
  defenderOutOfFuel,
  shipAlreadyAttackedByShip,
  defenderCombatSupport,
  defenderLeaderChoice,
  combatRange,
  terrainClearOrSandy,
  terrainRoughBocageOrHills,
  terrainForest,
  terrainCitiesOrMountains,
  attackerCloseDefense,
  artillery,
  attackerGroundDefense,
  airDefense,
  airplaneAirDefense,
  timesAttacked,
};

// What kind of answer a field holds.
enum class FieldKind {
  whole,  // a whole number from `minimum` to `maximum`
  yesNo,  // the first character of a yes/no answer
  bars,   // the experience bars of each Combat Support unit, one by one
  units,  // the list of artillery pieces or of air-defense units
};

// A menu's entry: its word, as files and the command line give it and the
// reader takes it ("naval units"), and its label, a player's word for it
// as the page shows it ("Naval unit").
struct MenuEntry {
  std::string_view word;
  std::string_view label;
  // An entry stands for its word wherever a word is wanted.
  constexpr operator std::string_view() const { return word; }
};

// A field of the combat, of an artillery piece (Unit = ArtilleryPiece) or of
// an air-defense unit (Unit = AirDefenseUnit).  Exactly one of the three
// member pointers is set, after the kind, except for lists of units.
template <typename Record>
struct FieldInfo {
  const char* group;  // the object that holds it; "" at the top
  const char* name;
  const char* label;  // a player's short word for it, such as "Strength"
  FieldKind kind;
  std::int64_t minimum;
  std::int64_t maximum;
  std::int64_t Record::*whole;
  char Record::*yesNo;
  std::vector<std::int64_t> Record::*bars;
  const char* meaning;  // a short description for the manual and the schema
  // When the dialogue asks it, for the manual and the schema: "" when it is
  // always asked (where its object is).
  const char* asked;
  // The dialogue's question and its error text, exactly as printed.  A
  // menu's question is its first line; a list's question asks whether there
  // is a first entry.
  std::string_view prompt;
  std::string_view errorText;
  // A menu's entries, the first numbered 1.
  std::span<const MenuEntry> options;
  // Its place among the combat's fields (the Field it is), for the check
  // that the catalogue stays in the order of Field; 0 for a unit's field.
  std::size_t position = 0;
};

using ScenarioField = FieldInfo<CombatScenario>;
using ArtilleryField = FieldInfo<ArtilleryPiece>;
using AirDefenseField = FieldInfo<AirDefenseUnit>;

// The fields of the combat, indexed by Field.
extern const std::array<ScenarioField,
                        static_cast<std::size_t>(Field::timesAttacked) + 1>
    kScenarioFields;
inline std::span<const ScenarioField> scenarioFields() { return kScenarioFields; }
inline const ScenarioField& fieldInfo(Field field) {
  return kScenarioFields[static_cast<std::size_t>(field)];
}

// The two sides of a combat.
enum class Side { attacker, defender };

// The name of a side as files spell it: "attacker" or "defender".
std::string_view sideName(Side side);

// A unit's own field (its class, strength, leader and the like, never the
// situation of the combat), described once for both sides: its name as a
// preset keeps it, its short label, what it means, and the field of the
// combat that it is for each side (none where that side is not asked it,
// such as an attacker's isInfantry).  The catalogue's entries for the two
// sides are made from the same description.
struct UnitField {
  std::string_view name;
  const char* label;
  FieldKind kind;
  const char* meaning;
  std::optional<Field> attacker;
  std::optional<Field> defender;
};

// A unit's own fields, in the order of the dialogue.
constexpr std::size_t kUnitFieldCount = 15;
std::span<const UnitField> unitFields();

// The combat's field that `field` is for `side`, if that side has it.
std::optional<Field> fieldFor(const UnitField& field, Side side);

// Which unit's own field, of which side, a field of the combat is; nothing
// for a field of the situation.
struct UnitPlace {
  std::size_t unitField;  // its place in unitFields()
  Side side;
};
std::optional<UnitPlace> unitPlaceOf(Field field);

// The fields of each artillery piece and of each air-defense unit, in the
// order they are asked, at the places named below.
std::span<const ArtilleryField> artilleryFields();
std::span<const AirDefenseField> airDefenseFields();

namespace artillery_field {
constexpr std::size_t kAttackValue = 0;
constexpr std::size_t kExperience = 1;
constexpr std::size_t kStrength = 2;
constexpr std::size_t kAdjacent = 3;
constexpr std::size_t kCombatSupport = 4;
constexpr std::size_t kLeaderChoice = 5;
}  // namespace artillery_field

namespace air_defense_field {
constexpr std::size_t kIsFighter = 0;
constexpr std::size_t kAttackValue = 1;
constexpr std::size_t kExperience = 2;
constexpr std::size_t kStrength = 3;
constexpr std::size_t kCombatSupport = 4;
constexpr std::size_t kLeaderChoice = 5;
}  // namespace air_defense_field

// A missing field is an error when its question is asked: the value it has
// when not asked lies outside what its question accepts.
template <typename Record>
bool isRequired(const FieldInfo<Record>& info) {
  static const Record kNotAsked{};
  return info.whole != nullptr && kNotAsked.*info.whole < info.minimum;
}

// The name of a field as scenario files and the command line spell it, such
// as "attacker.strength" or "timesAttacked".
template <typename Record>
std::string dottedName(const FieldInfo<Record>& info) {
  std::string name = info.group;
  if (!name.empty()) name += '.';
  return name + info.name;
}

// Gives `field` of `*scenario` the value it has when its question is not
// asked.
void resetAnswer(CombatScenario* scenario, Field field);

// `c` as a lower-case letter when it is an ASCII capital, else itself.
char lowerCase(char c);

// Whether two words are the same, the case of ASCII letters aside.
bool sameWord(std::string_view a, std::string_view b);

// The menu entry that `word` names among `options`, case aside, numbered
// from 1; 0 when it names none.
std::int64_t menuEntry(std::span<const MenuEntry> options,
                       std::string_view word);

#endif  // ZELVORN_SCENARIO_SCENARIO_FIELDS_H_
