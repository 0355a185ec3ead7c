#include "files/preset_use.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "files/json_answer.h"
#include "files/json_reader.h"

namespace {

// A name of the file as a message shows it; a colon, which stands between
// the parts of a message, quotes it too.
std::string shown(std::string_view text) { return shownText(text, ":"); }

}  // namespace

std::string presetFieldList(bool attacker, bool defender) {
  std::string list;
  for (const PresetField& field : presetFields()) {
    if (!(attacker && field.attacker) && !(defender && field.defender)) continue;
    list += (list.empty() ? "" : ", ") + std::string(field.name);
  }
  return list;
}

std::string notAUnitField(std::string_view name) {
  constexpr std::string_view kGroups[] = {"general", "attacker", "defender", "terrain"};
  constexpr std::string_view kUnits[] = {"closeDefense", "groundDefense", "airDefense"};
  if (std::find(std::begin(kGroups), std::end(kGroups), name) != std::end(kGroups)) {
    return "a group of the scenario, not an answer of a unit";
  }
  for (const ScenarioField& info : scenarioFields()) {
    if (name != info.name) continue;
    if (const auto own = presetFieldOf(static_cast<Field>(&info - scenarioFields().data()))) {
      return "a preset writes it as " + std::string(presetFields()[*own].name);
    }
    return "part of the combat's situation, not of a unit";
  }
  if (std::find(std::begin(kUnits), std::end(kUnits), name) != std::end(kUnits)) {
    return "part of the combat's situation, not of a unit";
  }
  return "unknown name";
}

std::vector<Problem> settlePresetAnswer(const JsonText& json, const JsonToken& token,
                                        std::size_t i, Place place, Preset* preset) {
  std::vector<Problem> problems;
  const PresetField& field = presetFields()[i];
  const bool forAttacker = preset->attacker && field.attacker;
  const bool forDefender = preset->defender && field.defender;
  const std::string name(field.name);
  if (!forAttacker && !forDefender) {
    addProblemAt(&problems, place, name,
        "not asked of " + std::string(field.attacker ? "a defender" : "an attacker") +
            ", and this preset is for " + sidesText(preset->attacker, preset->defender) +
            " (allowed: " + presetFieldList(preset->attacker, preset->defender) + ")",
        Reason::conflict);
  } else if (token.kind == JsonKind::number) {
    const WholeRange range = presetRange(field, forAttacker, forDefender);
    if (const Reason reason = rangeReason(wholeOf(token), range.minimum, range.maximum);
        reason != Reason::none) {
      addProblemAt(&problems, place, name,
          outOfRangeMessage(wholeOf(token), range.minimum, range.maximum,
                            forAttacker && forDefender ? " for both sides" : ""),
          reason);
    }
    preset->values[i] = token.value;
  } else if (token.kind == JsonKind::text) {
    const std::string_view word = wordOf(json, token);
    for (const Side side : {Side::attacker, Side::defender}) {
      if (!fieldFor(field, side) || !serves(*preset, side)) continue;
      const auto options = fieldInfo(*fieldFor(field, side)).options;
      const std::int64_t entry = menuEntry(options, word);
      if (entry == 0 || (preset->values[i] != 0 && entry != preset->values[i])) {
        addProblemAt(&problems, place, name,
            entry == 0 ? unknownWordMessage(word, options, " for the " + std::string(sideName(side)))
                       : quotedWord(word) + " is entry " + std::to_string(preset->values[i]) +
                             " for the attacker but " + std::to_string(entry) +
                             " for the defender (allowed: a preset for one side)",
            entry == 0 ? Reason::unknownWord : Reason::conflict);
        break;
      }
      preset->values[i] = entry;
    }
  } else if (token.kind != JsonKind::list) {
    preset->values[i] = yesNoOf(token);
  }
  return problems;
}


std::string sidesText(bool attacker, bool defender) {
  if (attacker && defender) return "the attacker and the defender";
  return attacker ? "the attacker only" : "the defender only";
}

GivenFields applyPreset(const Preset& preset, Side side,
                        CombatScenario* scenario, GivenFields* given) {
  GivenFields gave{};
  const auto fields = presetFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!preset.given.test(i)) continue;
    const std::optional<Field> field = fieldFor(fields[i], side);
    if (!field) continue;
    const auto place = static_cast<std::size_t>(*field);
    if ((*given)[place]) continue;
    const ScenarioField& info = fieldInfo(*field);
    switch (info.kind) {
      case FieldKind::whole:
        scenario->*info.whole = preset.values[i];
        break;
      case FieldKind::yesNo:
        scenario->*info.yesNo = static_cast<char>(preset.values[i]);
        break;
      case FieldKind::bars:
        scenario->*info.bars = preset.combatSupport;
        break;
      case FieldKind::units:
        break;
    }
    (*given)[place] = true;
    gave[place] = true;
  }
  return gave;
}

void clearUnit(Side side, CombatScenario* scenario, GivenFields* given) {
  for (const PresetField& own : presetFields()) {
    if (const std::optional<Field> field = fieldFor(own, side)) {
      resetAnswer(scenario, *field);
      (*given)[static_cast<std::size_t>(*field)] = false;
    }
  }
}

Problems noPresetProblem(const Roster& roster, Side side) {
  const auto& presets = roster.presets;
  if (std::any_of(presets.begin(), presets.end(),
                  [side](const Preset& preset) { return serves(preset, side); })) {
    return {};
  }
  const std::string sideText(sideName(side));
  // None serves `side`, so every preset serves the other side only.
  const std::string held =
      presets.empty() ? "it holds no preset"
                      : "its presets are for " +
                            sidesText(side == Side::defender,
                                      side == Side::attacker);
  Problem problem{"roster",
                  "no preset for the " + sideText + "; " + held +
                      " (allowed: presets whose sides include the " + sideText +
                      ")",
                  {1, 0}};
  problem.reason = Reason::missing;
  return {{std::move(problem)}, 0};
}

Problems applyNamedPresets(const Roster& roster, ScenarioText* scenario) {
  for (const Side side : {Side::attacker, Side::defender}) {
    const std::optional<std::string>& name = side == Side::attacker
                                                 ? scenario->attackerPreset
                                                 : scenario->defenderPreset;
    if (!name) continue;
    const std::string field = std::string(sideName(side)) + ".preset";
    const Place place = side == Side::attacker ? scenario->attackerPresetPlace
                                               : scenario->defenderPresetPlace;
    const Preset* preset = findPreset(roster, *name);
    if (preset == nullptr || !serves(*preset, side)) {
      Problem problem{field,
                      preset == nullptr
                          ? "no preset named " + shown(*name) +
                                " in the roster (allowed: a preset of the "
                                "roster for the " +
                                std::string(sideName(side)) + ")"
                          : shown(*name) + " is a preset for " +
                                sidesText(preset->attacker, preset->defender) +
                                " (allowed: a preset for the " +
                                std::string(sideName(side)) + ")",
                      place};
      problem.reason = preset == nullptr ? Reason::unknownName : Reason::conflict;
      return {{std::move(problem)}, 0};
    }
    const GivenFields gave =
        applyPreset(*preset, side, &scenario->scenario, &scenario->given);
    for (std::size_t i = 0; i < gave.size(); ++i) {
      if (gave[i]) scenario->fromPresets[i] = true;
    }
  }
  return {};
}
