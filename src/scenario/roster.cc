#include "scenario/roster.h"

#include <algorithm>
#include <string>
#include <utility>

#include "scenario/field_path.h"

namespace {

// A name typed in the wrong case is as close as one can be.
std::string lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = lowerCase(c);
  return lower;
}

}  // namespace

void indexByName(Roster* roster) {
  const auto& presets = roster->presets;
  roster->byName.resize(presets.size());
  for (std::size_t i = 0; i < presets.size(); ++i) {
    roster->byName[i] = static_cast<std::uint32_t>(i);
  }
  // Equal names keep the order of the file.
  std::sort(roster->byName.begin(), roster->byName.end(),
            [&](std::uint32_t a, std::uint32_t b) {
              const int order = presets[a].name.compare(presets[b].name);
              return order != 0 ? order < 0 : a < b;
            });
}

const Preset* findPreset(const Roster& roster, std::string_view name) {
  const auto place = std::lower_bound(
      roster.byName.begin(), roster.byName.end(), name,
      [&](std::uint32_t index, std::string_view wanted) {
        return roster.presets[index].name < wanted;
      });
  if (place == roster.byName.end() || roster.presets[*place].name != name) {
    return nullptr;
  }
  return &roster.presets[*place];
}

const Preset* presetNamed(const Roster& roster, std::string_view typed) {
  if (const Preset* exact = findPreset(roster, typed)) return exact;
  const Preset* found = nullptr;
  for (const Preset& preset : roster.presets) {
    if (!sameWord(preset.name, typed)) continue;
    if (found != nullptr) return nullptr;
    found = &preset;
  }
  return found;
}

bool serves(const Preset& preset, Side side) {
  return side == Side::attacker ? preset.attacker : preset.defender;
}

std::vector<std::string_view> closestPresetNames(const Roster& roster,
                                                 std::string_view typed,
                                                 Side side, std::size_t most) {
  const std::string wanted = lowered(typed);
  std::vector<std::pair<std::size_t, std::uint32_t>> ranked;
  for (const std::uint32_t index : roster.byName) {
    const Preset& preset = roster.presets[index];
    if (!serves(preset, side)) continue;
    ranked.emplace_back(spellingDistance(wanted, lowered(preset.name)), index);
  }
  // Equally close names keep the order of their spelling.
  std::stable_sort(
      ranked.begin(), ranked.end(),
      [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string_view> names;
  for (std::size_t i = 0; i < ranked.size() && i < most; ++i) {
    names.push_back(roster.presets[ranked[i].second].name);
  }
  return names;
}

bool holds(const Preset& preset, Field field) {
  const std::optional<std::size_t> place = presetFieldOf(field);
  return place && preset.given.test(*place);
}

std::optional<std::int64_t> heldAnswer(const Preset& preset, Field field) {
  if (!holds(preset, field)) return std::nullopt;
  return preset.values[*presetFieldOf(field)];
}
