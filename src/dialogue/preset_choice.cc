#include "dialogue/preset_choice.h"

#include <string>
#include <string_view>
#include <vector>

#include "io/line_editor.h"

namespace {

std::string_view unitOf(Side side) {
  return side == Side::attacker ? "attacking unit" : "defending unit";
}

// The answer without the blanks around it (a carriage return of an answer
// file written on another system among them).
std::string_view trimmed(std::string_view line) {
  while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
  return line;
}

std::vector<std::string> namesFor(const Roster& roster, Side side) {
  std::vector<std::string> names;
  for (const std::uint32_t index : roster.byName) {
    const Preset& preset = roster.presets[index];
    if (serves(preset, side)) names.push_back(preset.name);
  }
  return names;
}

}  // namespace

const Preset* askPreset(Console& console, const Roster& roster, Side side) {
  say(console, "\nPlease enter the preset of the ");
  say(console, unitOf(side));
  say(console, ", or nothing to enter its values:\n>> ");
  offerCompletions(console.in.editor, namesFor(roster, side));
  for (;;) {
    if (!readLine(console)) {
      offerCompletions(console.in.editor, {});
      throw InputEnded{};
    }
    // A name may itself begin or end with a blank: as typed, it wins.
    const std::string_view name = trimmed(console.line);
    const Preset* preset = presetNamed(roster, console.line);
    if (preset == nullptr && !name.empty()) preset = presetNamed(roster, name);
    if (preset != nullptr ? serves(*preset, side) : name.empty()) {
      offerCompletions(console.in.editor, {});
      return preset;
    }
    // A name kept for the other side only is no name for this one.
    say(console, "\nThe roster has no preset of that name for the ");
    say(console, unitOf(side));
    const std::vector<std::string_view> closest =
        closestPresetNames(roster, name, side, kClosestNamesShown);
    for (std::size_t i = 0; i < closest.size(); ++i) {
      say(console, i == 0 ? "; the closest: " : ", ");
      say(console, closest[i]);
    }
    say(console, ".  Please reenter:\n>> ");
  }
}

ChosenPresets askPresets(Console& console, const Roster* roster) {
  ChosenPresets presets;
  if (roster == nullptr) return presets;
  presets.attacker = askPreset(console, *roster, Side::attacker);
  presets.defender = askPreset(console, *roster, Side::defender);
  return presets;
}

const Preset* presetFor(const ChosenPresets& presets, Field field) {
  const std::optional<UnitPlace> place = unitPlaceOf(field);
  if (!place) return nullptr;
  return place->side == Side::attacker ? presets.attacker : presets.defender;
}

std::optional<std::int64_t> presetAnswer(const ChosenPresets& presets,
                                         Field field) {
  const Preset* preset = presetFor(presets, field);
  if (preset == nullptr) return std::nullopt;
  return heldAnswer(*preset, field);
}
