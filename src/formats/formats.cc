#include "formats/formats.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "files/roster_reader.h"
#include "scenario/preset_fields.h"
#include "scenario/scenario_fields.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kYesNoNote = " (true: yes, false: no, null: any other answer)";
constexpr const char* kWordsNote = "; the menu's words also stand for its numbers (any case)";

// What each object of a scenario holds, for the schema and the manual.
struct Group {
  const char* name;
  const char* description;
};
constexpr Group kGroups[] = {
    {"general", "General factors: the unit classes, assault, infantry leaders and weather"},
    {"attacker", "The attacking unit"},
    {"defender", "The defending unit"},
    {"terrain",
     "The terrain chain, asked at close range between ground units when an "
     "initiative is above 1 and neither unit is in a river: each question "
     "after the first only after a no, and the first yes ends it"},
};

const char* groupDescription(std::string_view name) {
  for (const Group& group : kGroups) {
    if (group.name == name) return group.description;
  }
  return "";
}

Json words(std::span<const MenuEntry> options) {
  Json list = Json::array();
  for (const std::string_view word : options) list.push_back(std::string(word));
  return list;
}

// The values a field takes, as JSON Schema says it: a menu also takes its
// words, in the menu's own spelling.
Json valueSchema(FieldKind kind, std::int64_t minimum, std::int64_t maximum,
                 std::span<const MenuEntry> options) {
  Json number = {{"type", "integer"}, {"minimum", minimum}, {"maximum", maximum}};
  switch (kind) {
    case FieldKind::whole:
      if (options.empty()) return number;
      return {{"anyOf", Json::array({number, {{"enum", words(options)}}})}};
    case FieldKind::yesNo:
      return {{"type", Json::array({"boolean", "null"})}};
    case FieldKind::bars:
      return {{"type", "array"}, {"items", number}};
    case FieldKind::units:
      return {{"type", "array"}};
  }
  return Json::object();
}

template <typename Record>
std::string schemaDescription(const FieldInfo<Record>& info) {
  std::string text = info.meaning;
  if (*info.asked != '\0') text += std::string("; asked ") + info.asked;
  if (info.kind == FieldKind::yesNo) text += kYesNoNote;
  if (!info.options.empty()) text += kWordsNote;
  return text;
}

template <typename Record>
Json fieldSchema(const FieldInfo<Record>& info) {
  Json json = {{"description", schemaDescription(info)}};
  json.update(valueSchema(info.kind, info.minimum, info.maximum, info.options));
  return json;
}

// A required field is one that must be given whenever its object is: a
// number without a value of its own that the dialogue always asks.
template <typename Record>
bool alwaysRequired(const FieldInfo<Record>& info) {
  return isRequired(info) && *info.asked == '\0';
}

Json objectSchema(const char* description) {
  Json json = Json::object();
  if (description != nullptr) json["description"] = description;
  json["type"] = "object";
  json["additionalProperties"] = false;
  json["properties"] = Json::object();
  return json;
}

template <typename Record>
Json unitSchema(std::span<const FieldInfo<Record>> fields) {
  Json json = objectSchema(nullptr);
  Json required = Json::array();
  for (const FieldInfo<Record>& info : fields) {
    json["properties"][info.name] = fieldSchema(info);
    if (alwaysRequired(info)) required.push_back(info.name);
  }
  if (!required.empty()) json["required"] = required;
  return json;
}

std::string dump(const Json& json) { return json.dump(2) + "\n"; }

// The opening of a schema of the program's files: what it is written in,
// its name (`file`) and what it describes, an object of no other names.
Json schemaHead(const std::string& file, const std::string& description) {
  Json schema = Json::object();
  schema["$schema"] = "http://json-schema.org/draft-07/schema#";
  schema["$id"] = "https://zelvorn-odds.example/" + file + ".schema.json";
  schema["title"] = "zelvorn-odds " + file;
  schema["description"] = description;
  schema["type"] = "object";
  schema["additionalProperties"] = false;
  return schema;
}

// Sides that a unit's own field is asked of.
std::vector<Side> sidesOf(const UnitField& field) {
  std::vector<Side> sides;
  for (const Side side : {Side::attacker, Side::defender}) {
    if (fieldFor(field, side)) sides.push_back(side);
  }
  return sides;
}

const ScenarioField& sideInfo(const UnitField& field, Side side) {
  return fieldInfo(*fieldFor(field, side));
}

// "the attacker's only", "the attacker's and the defender's".
std::string whoseText(const UnitField& field) {
  const std::vector<Side> sides = sidesOf(field);
  std::string text = "the " + std::string(sideName(sides[0])) + "'s";
  if (sides.size() == 1) return text + " only";
  return text + " and the " + std::string(sideName(sides[1])) + "'s";
}

// What a preset's field takes where that differs between the sides: each
// side's menu, or each side's range, and what a preset of both sides takes.
std::string sideTermsText(const UnitField& field) {
  const std::vector<Side> sides = sidesOf(field);
  if (sides.size() < 2) return "";
  const ScenarioField& attacker = sideInfo(field, Side::attacker);
  const ScenarioField& defender = sideInfo(field, Side::defender);
  const WholeRange both = presetRange(field, true, true);
  const std::string bothText = "a preset of both sides takes " +
                               std::to_string(both.minimum) + " to " +
                               std::to_string(both.maximum);
  if (!attacker.options.empty()) {
    return std::string("; attacking, ") + attacker.meaning + "; defending, " +
           defender.meaning + "; " + bothText;
  }
  if (attacker.minimum != defender.minimum || attacker.maximum != defender.maximum) {
    return "; " + bothText;
  }
  return "";
}

// The values a preset's field takes for either side: the widest range and
// every word of either side's menu.
Json presetValueSchema(const UnitField& field) {
  std::int64_t minimum = kLargestAnswer;
  std::int64_t maximum = 0;
  std::vector<MenuEntry> options;
  for (const Side side : sidesOf(field)) {
    const ScenarioField& info = sideInfo(field, side);
    minimum = std::min(minimum, info.minimum);
    maximum = std::max(maximum, info.maximum);
    for (const MenuEntry& entry : info.options) {
      if (std::none_of(options.begin(), options.end(), [&](const MenuEntry& kept) {
            return kept.word == entry.word;
          })) {
        options.push_back(entry);
      }
    }
  }
  return valueSchema(field.kind, minimum, maximum, options);
}

bool hasMenu(const UnitField& field) {
  return !sideInfo(field, sidesOf(field)[0]).options.empty();
}

std::string presetDescription(const UnitField& field) {
  std::string text = field.meaning + sideTermsText(field);
  if (field.kind == FieldKind::yesNo) text += kYesNoNote;
  if (hasMenu(field)) {
    text += std::string(kWordsNote) +
            ", a word of both sides' menus only where it is the same entry in both";
  }
  return text + "; " + whoseText(field);
}

// The numbers of the menus that a preset of both sides may take, for the
// roster's description: "class 1 to 10, leaderChoice 1 to 5".
std::string sharedMenuNumbers() {
  std::string text;
  for (const UnitField& field : unitFields()) {
    if (field.kind != FieldKind::whole || sidesOf(field).size() < 2 || !hasMenu(field)) {
      continue;
    }
    const WholeRange both = presetRange(field, true, true);
    if (!text.empty()) text += ", ";
    text += std::string(field.name) + " " + std::to_string(both.minimum) + " to " +
            std::to_string(both.maximum);
  }
  return text;
}

// The rules that a side's fields belong to that side: a preset that does
// not serve it gives none of them.
Json sideOnlyRules() {
  Json rules = Json::array();
  for (const Side side : {Side::defender, Side::attacker}) {
    Json refused = Json::object();
    for (const UnitField& field : unitFields()) {
      const std::vector<Side> sides = sidesOf(field);
      if (sides.size() == 1 && sides[0] == side) refused[std::string(field.name)] = false;
    }
    if (refused.empty()) continue;
    Json rule = Json::object();
    rule["if"] = {{"properties",
                   {{"sides", {{"not", {{"contains", {{"const", std::string(sideName(side))}}}}}}}}}};
    rule["then"] = {{"properties", refused}};
    rules.push_back(rule);
  }
  return rules;
}

// A text of the catalogue as roff prints it, within a line: a backslash
// escaped, and a quote as a character of its own.
std::string roff(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '"') {
      out += "\\(dq";
    } else {
      out += c;
    }
  }
  return out;
}

std::string quotedWords(std::span<const MenuEntry> options) {
  std::string text;
  for (const std::string_view word : options) {
    if (!text.empty()) text += ", ";
    text += "\\(dq" + std::string(word) + "\\(dq";
  }
  return text;
}

// A field's entry of the manual: its name, what it takes, its value when
// not asked or that it is required, what it means and when it is asked.
template <typename Record>
std::string manualEntry(const FieldInfo<Record>& info, bool sayWhenAsked) {
  static const Record kNotAsked{};
  std::string text;
  switch (info.kind) {
    case FieldKind::whole:
      text = std::to_string(info.minimum) + " to " + std::to_string(info.maximum);
      if (!info.options.empty()) {
        text += ", or the menu's words (" + quotedWords(info.options) + ")";
      }
      break;
    case FieldKind::yesNo:
      text = "Yes/no";
      break;
    case FieldKind::bars:
      text = "A list of whole numbers, 0 to " + std::to_string(info.maximum) + " each";
      break;
    case FieldKind::units:
      text = "A list of objects, each with the fields below";
      break;
  }
  if (isRequired(info)) {
    text += *info.asked == '\0' ? "; required" : "; required when asked";
  } else {
    text += ", default ";
    switch (info.kind) {
      case FieldKind::whole: {
        const std::int64_t value = kNotAsked.*info.whole;
        text += std::to_string(value);
        if (value >= 1 && static_cast<std::size_t>(value) <= info.options.size()) {
          text += " (" + std::string(info.options[static_cast<std::size_t>(value) - 1].word) + ")";
        }
        break;
      }
      case FieldKind::yesNo: {
        const char value = kNotAsked.*info.yesNo;
        text += isYes(value) ? "true" : isNo(value) ? "false" : "null";
        break;
      }
      case FieldKind::bars:
      case FieldKind::units:
        text += "empty";
        break;
    }
  }
  text += ": " + roff(info.meaning);
  if (sayWhenAsked) {
    text += *info.asked == '\0' ? "; always asked" : "; asked " + roff(info.asked);
  }
  return ".TP\n.B " + std::string(info.name) + "\n" + text + ".\n";
}

template <typename Record>
std::string manualUnitSection(const char* title, std::span<const FieldInfo<Record>> fields) {
  std::string text = ".SS " + std::string(title) + "\n";
  for (const FieldInfo<Record>& info : fields) text += manualEntry(info, false);
  return text;
}

}  // namespace

std::string scenarioSchema() {
  Json schema = schemaHead(
      "scenario", "One combat of the wargame Zelvorn: every answer that the "
      "calculator's dialogue takes for it, by name. A field whose question the "
      "dialogue does not ask for this combat is ignored with a note; an "
      "omitted field takes the value it has when its question is not asked.");
  Json& properties = schema["properties"] = Json::object();
  Json required = Json::array();
  for (const ScenarioField& info : scenarioFields()) {
    Json field = fieldSchema(info);
    if (info.kind == FieldKind::units) {
      field["items"] = std::string_view(info.name) == "artillery"
                           ? unitSchema(artilleryFields())
                           : unitSchema(airDefenseFields());
    }
    if (*info.group == '\0') {
      properties[info.name] = field;
      continue;
    }
    if (!properties.contains(info.group)) {
      properties[info.group] = objectSchema(groupDescription(info.group));
    }
    Json& group = properties[info.group];
    group["properties"][info.name] = field;
    if (alwaysRequired(info)) {
      group["required"].push_back(info.name);
      if (std::find(required.begin(), required.end(), info.group) == required.end()) {
        required.push_back(info.group);
      }
    }
  }
  // The defender's class is asked unless the attacker is artillery, whose
  // target is only asked whether it is infantry.
  const ScenarioField& attackerClass = fieldInfo(Field::attackerClass);
  Json& general = properties[attackerClass.group];
  general["if"] = {
      {"properties",
       {{attackerClass.name,
         {{"enum",
           Json::array({unit_class::kArtillery,
                        std::string(attackerClass.options[unit_class::kArtillery - 1].word)})}}}}}};
  general["then"] = Json::object();
  general["else"] = {{"required", Json::array({fieldInfo(Field::defenderClass).name})}};
  schema["required"] = required;
  return dump(schema);
}

std::string rosterSchema() {
  Json schema = schemaHead(
      "roster",
      "Units kept by name: each preset is one unit's own answers (never the "
      "situation: weather, terrain, range, river, fuel, ammunition, times "
      "attacked, close defense or support fire) for the attacker, the "
      "defender or both. The calculator checks more than this schema can "
      "say: a preset of one side may give only that side's fields and "
      "values, and a preset of both sides only the menu numbers that mean the "
      "same on both menus (" + sharedMenuNumbers() + ") and values that both "
      "sides' questions accept; names are unique.");
  schema["required"] = Json::array({"presets"});
  Json preset = Json::object();
  preset["type"] = "object";
  preset["additionalProperties"] = false;
  preset["required"] = Json::array({"name", "sides"});
  Json& properties = preset["properties"] = Json::object();
  properties["name"] = {
      {"description",
       "the preset's name, unique in the roster, as scenarios name it in "
       "{\"preset\": NAME}"},
      {"type", "string"},
      {"minLength", 1},
      {"maxLength", kLongestPresetName},
      {"pattern", "^[^\\u0000-\\u001f\\u007f]+$"}};
  properties["sides"] = {
      {"description", "the sides the preset serves"},
      {"type", "array"},
      {"minItems", 1},
      {"maxItems", 2},
      {"uniqueItems", true},
      {"items", {{"enum", Json::array({std::string(sideName(Side::attacker)), std::string(sideName(Side::defender))})}}}};
  for (const UnitField& field : presetFields()) {
    Json json = {{"description", presetDescription(field)}};
    json.update(presetValueSchema(field));
    properties[std::string(field.name)] = json;
  }
  preset["allOf"] = sideOnlyRules();
  schema["properties"] = {
      {"presets",
       {{"description", "the presets, in the order a comparison lists them when figures tie"},
        {"type", "array"},
        {"maxItems", kMostPresets},
        {"items", preset}}}};
  return dump(schema);
}

std::string manualScenarioFields() {
  std::string text;
  std::string_view section;
  std::string others;
  for (const ScenarioField& info : scenarioFields()) {
    if (*info.group == '\0') {
      others += manualEntry(info, true);
      continue;
    }
    if (section != info.group) {
      section = info.group;
      text += ".SS " + std::string(section) + "\n" + roff(groupDescription(section)) + ".\n";
    }
    text += manualEntry(info, true);
  }
  text += ".SS The other fields\n" + others;
  text += manualUnitSection("Each artillery piece", artilleryFields());
  text += manualUnitSection("Each air-defense unit", airDefenseFields());
  return text;
}

std::string manualPresetFields() {
  std::string text;
  for (const UnitField& field : presetFields()) {
    text += ".TP\n.B " + std::string(field.name) + "\n" +
            roff(std::string(field.meaning) + "; " + whoseText(field)) + ".\n";
  }
  return text;
}

std::optional<std::string> withManualPart(std::string_view manual,
                                          std::string_view part,
                                          std::string_view text) {
  const std::string begin = ".\\\" BEGIN " + std::string(part);
  const std::string end = ".\\\" END " + std::string(part) + "\n";
  const std::size_t opening = manual.find(begin);
  if (opening == std::string_view::npos) return std::nullopt;
  const std::size_t first = manual.find('\n', opening);
  const std::size_t closing = manual.find(end, first);
  if (first == std::string_view::npos || closing == std::string_view::npos) {
    return std::nullopt;
  }
  return std::string(manual.substr(0, first + 1)) + std::string(text) +
         std::string(manual.substr(closing));
}
