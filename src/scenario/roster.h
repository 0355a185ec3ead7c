// Units kept by name: the presets of a roster as the calculator holds them
// once read, whichever front end asks for them.
#ifndef ZELVORN_SCENARIO_ROSTER_H_
#define ZELVORN_SCENARIO_ROSTER_H_

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/preset_fields.h"

// One preset: its name, the sides it serves and the answers it gives, by
// their place in presetFields().  Whole numbers and yes/no answers (as
// the dialogue keeps them) share `values`.
struct Preset {
  std::string name;
  bool attacker = false;
  bool defender = false;
  std::size_t line = 0;  // where its object begins in the file
  std::bitset<kPresetFieldCount> given;
  std::array<std::int64_t, kPresetFieldCount> values{};
  std::vector<std::int64_t> combatSupport;
};

struct Roster {
  std::vector<Preset> presets;  // in the order of the file
  std::vector<std::uint32_t> byName;  // places in `presets`, sorted by name
};

// Fills `byName` for the presets as they stand.
void indexByName(Roster* roster);

// The preset named `name`, or null.
const Preset* findPreset(const Roster& roster, std::string_view name);

// The preset that a person means by `typed`: the one named so, else the
// one whose name differs only in the case of letters, when just one does;
// null otherwise.
const Preset* presetNamed(const Roster& roster, std::string_view typed);

// Whether `preset` serves `side`.
bool serves(const Preset& preset, Side side);

// The names of the presets for `side` closest in spelling to `typed`,
// closest first, at most `most` of them.
std::vector<std::string_view> closestPresetNames(const Roster& roster,
                                                 std::string_view typed,
                                                 Side side, std::size_t most);

// Whether `preset` holds an answer for `field` of the combat (for the side
// that the field belongs to).
bool holds(const Preset& preset, Field field);

// The whole number, or the yes/no answer as its character, that `preset`
// holds for `field`; nothing when it holds none.  (Combat Support is held
// as the preset's `combatSupport`.)
std::optional<std::int64_t> heldAnswer(const Preset& preset, Field field);

#endif  // ZELVORN_SCENARIO_ROSTER_H_
