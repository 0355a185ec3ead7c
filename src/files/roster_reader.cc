#include "files/roster_reader.h"

#include <algorithm>
#include <array>

#include "files/json_reader.h"

namespace {

const JsonDocument kRosterDocument{"roster", false, "a roster of at most 16 MiB"};

std::string listOfFields(bool attacker, bool defender) {
  std::string list;
  for (const PresetField& field : presetFields()) {
    if (!(attacker && field.attacker) && !(defender && field.defender)) continue;
    if (!list.empty()) list += ", ";
    list += field.name;
  }
  return list;
}

std::string allowedPresetNames() { return "name, sides, " + listOfFields(true, true); }

// A name or a text of the file as a message shows it; a colon, which
// stands between the parts of a message, quotes it too.
std::string shown(std::string_view text) { return shownText(text, ":"); }

// What a name of the scenario that is not a unit's own stands for, for the
// message that refuses it in a preset.
std::string unknownNameText(std::string_view name) {
  for (const std::string_view group : {"general", "attacker", "defender", "terrain"}) {
    if (name == group) return "a group of the scenario, not an answer of a unit";
  }
  for (const ScenarioField& info : scenarioFields()) {
    if (name != info.name) continue;
    if (const auto own = presetFieldOf(static_cast<Field>(&info - scenarioFields().data()))) {
      return "a preset writes it as " + std::string(presetFields()[*own].name);
    }
    return "part of the combat's situation, not of a unit";
  }
  for (const std::string_view unit : {"closeDefense", "groundDefense", "airDefense"}) {
    if (name == unit) return "part of the combat's situation, not of a unit";
  }
  return "unknown name";
}

// The catalogue's entry for a unit field: the attacker's, or the
// defender's where the attacker has none.
const ScenarioField& infoOf(const PresetField& field) {
  return fieldInfo(field.attacker ? *field.attacker : *field.defender);
}

struct RosterRead {
  const JsonText& json;
  LinePlacer placer;
  std::vector<Problem> problems;  // all of them, put in the order of lines
  std::vector<std::size_t> nameLines;  // of each preset kept
};

void addAt(std::vector<Problem>* problems, Place place, std::string field,
           std::string message, Reason reason) {
  Problem problem{std::move(field), std::move(message), {place.line, 0}};
  problem.reason = reason;
  problems->push_back(std::move(problem));
}

// The preset whose object begins at token `at`, the `item`th of the list:
// its names first, then its answers checked against its sides (which may
// come last).
void readPreset(RosterRead* read, std::size_t at, std::size_t item, Roster* roster) {
  const JsonText& json = read->json;
  const auto placeOf = [&](std::size_t i) { return placeAt(&read->placer, json.tokens[i].offset); };
  Preset preset;
  preset.line = placeOf(at).line;
  std::vector<Problem> problems;
  constexpr std::size_t kNone = ~std::size_t{0};
  std::array<std::size_t, kPresetFieldCount> value;  // each field's value token
  value.fill(kNone);
  std::array<Place, kPresetFieldCount> places{};
  std::size_t nameValue = kNone;
  std::size_t sidesValue = kNone;
  Place namePlace;
  bool nameRefused = false;
  bool sidesRefused = false;
  const std::size_t end = static_cast<std::size_t>(json.tokens[at].value);
  for (std::size_t i = at + 1; i + 1 < end; i = afterValue(json, i + 1)) {
    const std::string_view name = wordOf(json, json.tokens[i]);
    const Place place = placeOf(i);
    const JsonToken& token = json.tokens[i + 1];
    const auto fields = presetFields();
    const auto field = std::find_if(fields.begin(), fields.end(),
                                    [&](const PresetField& f) { return f.name == name; });
    std::size_t* slot = field != fields.end() ? &value[field - fields.begin()]
                        : name == "name"      ? &nameValue
                        : name == "sides"     ? &sidesValue
                                              : nullptr;
    if (slot == nullptr) {
      addAt(&problems, place, shown(name),
            unknownNameText(name) + " (allowed: " + allowedPresetNames() + ")",
            Reason::unknownName);
    } else if (*slot != kNone) {
      addAt(&problems, place, std::string(name), "given twice (allowed: once)", Reason::givenTwice);
    } else if (slot == &nameValue) {
      nameRefused = token.kind != JsonKind::text;
      if (nameRefused) {
        addAt(&problems, place, "name", "must be a text (allowed: a name)", Reason::wrongType);
      } else {
        nameValue = i + 1;
        namePlace = place;
        preset.name = std::string(wordOf(json, token));
      }
    } else if (slot == &sidesValue) {
      sidesValue = i + 1;
      if (token.kind != JsonKind::list) {
        sidesRefused = true;
        addAt(&problems, place, "sides",
              "must be a list of \"attacker\" and \"defender\" (allowed: attacker, defender)",
              Reason::wrongType);
        continue;
      }
      const std::size_t listEnd = static_cast<std::size_t>(token.value);
      for (std::size_t e = i + 2, n = 0; e < listEnd; e = afterValue(json, e), ++n) {
        const std::string entry = "sides." + std::to_string(n);
        const std::string_view side = json.tokens[e].kind == JsonKind::text
                                          ? wordOf(json, json.tokens[e]) : "";
        bool* served = side == "attacker"   ? &preset.attacker
                       : side == "defender" ? &preset.defender : nullptr;
        sidesRefused = sidesRefused || served == nullptr;
        if (json.tokens[e].kind != JsonKind::text) {
          addAt(&problems, placeOf(e), entry, "must be a text (allowed: attacker, defender)",
                Reason::wrongType);
        } else if (served == nullptr) {
          addAt(&problems, placeOf(e), entry,
                shown(side) + " is not a side (allowed: attacker, defender)", Reason::unknownWord);
        } else if (*served) {
          addAt(&problems, placeOf(e), entry,
                std::string(side) + " given twice (allowed: each side once)", Reason::givenTwice);
        }
        if (served != nullptr) *served = true;
      }
      if (!preset.attacker && !preset.defender && !sidesRefused) {
        addAt(&problems, placeOf(i + 1), "sides", "empty (allowed: attacker, defender)",
              Reason::missing);
      }
    } else {
      const std::size_t f = static_cast<std::size_t>(field - fields.begin());
      const ScenarioField& info = infoOf(*field);
      const bool fits = info.kind == FieldKind::whole
                            ? token.kind == JsonKind::number ||
                                  (token.kind == JsonKind::text && !info.options.empty())
                        : info.kind == FieldKind::yesNo
                            ? token.kind == JsonKind::yes || token.kind == JsonKind::no ||
                                  token.kind == JsonKind::null
                            : token.kind == JsonKind::list;
      *slot = fits ? i + 1 : kNone - 1;
      places[f] = place;
      if (!fits) {
        addAt(&problems, place, std::string(name),
              wrongKindText(info.kind, info.minimum, info.maximum), wrongKindReason(token));
      } else if (info.kind == FieldKind::bars) {
        preset.combatSupport = readBars(json, i + 1, name, &read->placer, &problems);
      }
    }
  }
  if (nameValue == kNone && !nameRefused) {
    addAt(&problems, {preset.line, 0}, "name", "missing (allowed: a text)", Reason::missing);
  } else if (nameValue != kNone &&
             (preset.name.empty() || preset.name.size() > kLongestPresetName ||
              std::any_of(preset.name.begin(), preset.name.end(), [](char c) {
                return static_cast<unsigned char>(c) < ' ' || c == '\x7f';
              }))) {
    addAt(&problems, namePlace, "name",
          "must be 1 to " + std::to_string(kLongestPresetName) +
              " characters, none of them a control character (allowed: a short text)",
          Reason::outOfRange);
  }
  if (sidesValue == kNone) {
    addAt(&problems, {preset.line, 0}, "sides", "missing (allowed: attacker, defender)",
          Reason::missing);
  }
  const auto fields = presetFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (value[i] >= kNone - 1 || (!preset.attacker && !preset.defender)) continue;
    preset.given.set(i);
    const PresetField& field = fields[i];
    const bool forAttacker = preset.attacker && field.attacker;
    const bool forDefender = preset.defender && field.defender;
    if (!forAttacker && !forDefender) {
      addAt(&problems, places[i], std::string(field.name),
            "not asked of " + std::string(field.attacker ? "a defender" : "an attacker") +
                ", and this preset is for " + sidesText(preset.attacker, preset.defender) +
                " (allowed: " + listOfFields(preset.attacker, preset.defender) + ")",
            Reason::conflict);
      continue;
    }
    const JsonToken& token = json.tokens[value[i]];
    if (token.kind == JsonKind::yes || token.kind == JsonKind::no || token.kind == JsonKind::null) {
      preset.values[i] = token.kind == JsonKind::yes ? answer::kYes
                         : token.kind == JsonKind::no ? answer::kNo : answer::kNeither;
    } else if (token.kind == JsonKind::text) {
      // A menu's word names the same entry for every side it serves.
      const std::string_view word = wordOf(json, token);
      std::int64_t entry = 0;
      for (const Side side : {Side::attacker, Side::defender}) {
        const std::optional<Field> own = fieldFor(field, side);
        if (!own || !serves(preset, side)) continue;
        const std::int64_t number = menuEntry(fieldInfo(*own).options, word);
        const std::string sideText(sideName(side));
        if (number == 0) {
          addAt(&problems, places[i], std::string(field.name),
                unknownWordMessage(word, fieldInfo(*own).options, " for the " + sideText),
                Reason::unknownWord);
          break;
        }
        if (entry != 0 && number != entry) {
          addAt(&problems, places[i], std::string(field.name),
                quotedWord(word) + " is entry " + std::to_string(entry) +
                    " for the attacker but " + std::to_string(number) +
                    " for the defender (allowed: a preset for one side)",
                Reason::conflict);
          break;
        }
        entry = number;
      }
      preset.values[i] = entry;
    } else if (token.kind == JsonKind::number) {
      const WholeRange range = presetRange(field, forAttacker, forDefender);
      const Reason reason = rangeReason(wholeOf(token), range.minimum, range.maximum);
      if (reason != Reason::none) {
        addAt(&problems, places[i], std::string(field.name),
              outOfRangeMessage(wholeOf(token), range.minimum, range.maximum,
                                forAttacker && forDefender ? " for both sides" : ""),
              reason);
      }
      preset.values[i] = token.value;
    }
  }
  // A preset without a name is known by its place in the list.
  const std::string known = nameValue != kNone ? shown(preset.name) : "#" + std::to_string(item + 1);
  for (Problem& problem : problems) {
    problem.preset = known;
    read->problems.push_back(std::move(problem));
  }
  // Kept even when it is wrong, so that its name counts among those
  // given; a roster with any problem is refused as a whole.
  if (nameValue != kNone) {
    roster->presets.push_back(std::move(preset));
    read->nameLines.push_back(namePlace.line);
  }
}

// The list of presets that begins at token `at`.
void readPresets(RosterRead* read, std::size_t at, Roster* roster) {
  const JsonText& json = read->json;
  const std::size_t end = static_cast<std::size_t>(json.tokens[at].value);
  std::size_t item = 0;
  for (std::size_t i = at + 1; i < end; i = afterValue(json, i), ++item) {
    const JsonToken& token = json.tokens[i];
    const Place place = placeAt(&read->placer, token.offset);
    if (token.kind != JsonKind::object) {
      addAt(&read->problems, place, "presets." + std::to_string(item),
            "must be an object (allowed: " + allowedPresetNames() + ")", wrongKindReason(token));
    } else if (item >= kMostPresets) {
      addAt(&read->problems, place, "presets",
            "more than " + std::to_string(kMostPresets) + " presets (allowed: at most " +
                std::to_string(kMostPresets) + ")", Reason::outOfRange);
      return;
    } else if (static_cast<std::size_t>(token.value) < json.tokens.size()) {
      readPreset(read, i, item, roster);
    }
  }
}

// Names given to more than one preset: each after the first is a problem,
// at its name.
void checkUniqueNames(RosterRead* read, Roster* roster) {
  const auto& presets = roster->presets;
  roster->byName.resize(presets.size());
  for (std::size_t i = 0; i < presets.size(); ++i) roster->byName[i] = static_cast<std::uint32_t>(i);
  std::sort(roster->byName.begin(), roster->byName.end(), [&](std::uint32_t a, std::uint32_t b) {
    const int order = presets[a].name.compare(presets[b].name);
    return order != 0 ? order < 0 : a < b;
  });
  for (std::size_t i = 1; i < roster->byName.size(); ++i) {
    const std::uint32_t earlier = roster->byName[i - 1];
    const std::uint32_t later = roster->byName[i];
    if (presets[earlier].name != presets[later].name) continue;
    addAt(&read->problems, {read->nameLines[later], 0}, "name",
          "given to another preset too, on line " + std::to_string(read->nameLines[earlier]) +
              " (allowed: a name of its own)", Reason::givenTwice);
    read->problems.back().preset = shown(presets[later].name);
  }
}

}  // namespace

RosterReading parseRoster(std::string_view text) {
  const JsonText json = readJson(text, kRosterDocument);
  RosterReading reading;
  RosterRead read{json, LinePlacer{text}, {}, {}};
  const std::size_t count = json.tokens.size();
  bool listed = false;
  if (count > 0 && json.tokens[0].kind != JsonKind::object) {
    addAt(&read.problems, placeAt(&read.placer, json.tokens[0].offset), "roster",
          "must be a JSON object (allowed: presets)", wrongKindReason(json.tokens[0]));
    listed = true;
  }
  const std::size_t end = count > 0 && !listed ? static_cast<std::size_t>(json.tokens[0].value) : 0;
  for (std::size_t i = 1; i + 1 < end; i = afterValue(json, i + 1)) {
    const std::string_view name = wordOf(json, json.tokens[i]);
    const Place place = placeAt(&read.placer, json.tokens[i].offset);
    if (name != "presets") {
      addAt(&read.problems, place, shown(name), "unknown name (allowed: presets)",
            Reason::unknownName);
    } else if (listed) {
      addAt(&read.problems, place, "presets", "given twice (allowed: once)", Reason::givenTwice);
      break;
    } else if (json.tokens[i + 1].kind != JsonKind::list) {
      addAt(&read.problems, place, "presets", "must be a list of presets (allowed: a JSON array)",
            wrongKindReason(json.tokens[i + 1]));
      listed = true;
      break;
    } else {
      listed = true;
      readPresets(&read, i + 1, &reading.roster);
    }
  }
  if (json.complete && !listed) {
    addAt(&read.problems, {1, 0}, "presets", "missing (allowed: a list of presets)",
          Reason::missing);
  }
  if (!json.complete) read.problems.push_back(json.notJson);
  checkUniqueNames(&read, &reading.roster);
  std::stable_sort(read.problems.begin(), read.problems.end(),
                   [](const Problem& a, const Problem& b) { return a.place.line < b.place.line; });
  for (Problem& problem : read.problems) addProblem(&reading.problems, std::move(problem));
  if (!reading.problems.told.empty()) reading.roster = Roster{};
  return reading;
}

RosterReading readRosterFile(const std::string& path) {
  OrProblems<std::string> text = readJsonFile(path, kRosterDocument);
  if (Problems* problems = std::get_if<Problems>(&text)) return {{}, std::move(*problems)};
  return parseRoster(std::get<std::string>(text));
}
