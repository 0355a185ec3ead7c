#include "web/binding.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "combat/combat.h"
#include "combat/questions.h"
#include "files/advise.h"
#include "files/compare.h"
#include "files/problem.h"
#include "files/roster_reader.h"
#include "files/scenario_file.h"
#include "files/scenario_reader.h"
#include "files/scenario_source.h"
#include "files/sweep.h"
#include "report/compare_table.h"
#include "report/prediction_json.h"
#include "report/prediction_table.h"
#include "report/report.h"
#include "report/scenario_json.h"
#include "scenario/field_path.h"
#include "scenario/preset_fields.h"
#include "scenario/scenario_fields.h"

namespace {

using Json = nlohmann::ordered_json;

const char* kindName(FieldKind kind) {
  switch (kind) {
    case FieldKind::whole:
      return "whole";
    case FieldKind::yesNo:
      return "yesNo";
    case FieldKind::bars:
      return "bars";
    case FieldKind::units:
      return "units";
  }
  return "";
}

Json yesNoValue(char answer) {
  if (isYes(answer)) return true;
  if (isNo(answer)) return false;
  return nullptr;
}

template <typename Record>
Json fieldJson(const FieldInfo<Record>& info) {
  Json json = Json::object();
  json["name"] = dottedName(info);
  json["group"] = info.group;
  json["key"] = info.name;
  json["label"] = info.label;
  json["kind"] = kindName(info.kind);
  if (info.kind == FieldKind::whole || info.kind == FieldKind::bars) {
    json["minimum"] = info.minimum;
    json["maximum"] = info.maximum;
  }
  json["required"] = isRequired(info);
  json["meaning"] = info.meaning;
  json["prompt"] = std::string(info.prompt);
  json["errorText"] = std::string(info.errorText);
  // A menu's entries: the words a file gives, and beside them the labels
  // that the page shows.
  Json options = Json::array();
  Json optionLabels = Json::array();
  for (const MenuEntry& entry : info.options) {
    options.push_back(std::string(entry.word));
    optionLabels.push_back(std::string(entry.label));
  }
  json["options"] = std::move(options);
  json["optionLabels"] = std::move(optionLabels);
  // A yes/no answer that a file leaves out: the value the reader then
  // takes, which the page shows as the answer of a question just asked.
  if (info.kind == FieldKind::yesNo) {
    static const Record kLeftOut{};
    json["default"] = yesNoValue(kLeftOut.*info.yesNo);
  }
  return json;
}

// Where the page shows a field of the combat: the units' attributes side by
// side (each with its side and the attribute it answers), then short groups.
struct PagePlace {
  std::string_view section;
  std::string_view side;       // "attacker", "defender" or ""
  std::string_view attribute;  // the row of the units' table, or ""
};

PagePlace placeOf(const ScenarioField& info, Field field) {
  if (const std::optional<UnitPlace> unit = unitPlaceOf(field)) {
    return {"units", sideName(unit->side), unitFields()[unit->unitField].name};
  }
  const std::string_view group = info.group;
  if (group == "attacker" || group == "defender") {
    return {"units", info.group, info.name};
  }
  switch (field) {
    case Field::combatRange:
      return {"general", "", ""};
    case Field::timesAttacked:
      return {"softening", "", ""};
    case Field::attackerCloseDefense:
      return {"rugged", "", ""};
    case Field::artillery:
    case Field::attackerGroundDefense:
    case Field::airDefense:
    case Field::airplaneAirDefense:
      return {"support", "", ""};
    default:
      return {info.group, "", ""};
  }
}

Json combatFieldList() {
  Json list = Json::array();
  const auto fields = scenarioFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    Json json = fieldJson(fields[i]);
    const PagePlace place = placeOf(fields[i], static_cast<Field>(i));
    json["section"] = std::string(place.section);
    json["side"] = std::string(place.side);
    json["attribute"] = std::string(place.attribute);
    // A number that a file may leave out: the value the reader then takes,
    // which the page shows in a blank field.
    if (fields[i].kind == FieldKind::whole && !isRequired(fields[i])) {
      CombatScenario blank;
      resetAnswer(&blank, static_cast<Field>(i));
      if (const auto path = resolveFieldPath(dottedName(fields[i]))) {
        if (const std::int64_t* value = wholeValueAt(&blank, *path)) {
          json["default"] = *value;
        }
      }
    }
    list.push_back(std::move(json));
  }
  return list;
}

template <typename Fields>
Json fieldList(const Fields& fields) {
  Json list = Json::array();
  for (const auto& info : fields) list.push_back(fieldJson(info));
  return list;
}

// A problem's field and message, and the two as one line, "field:
// message", for the page to show where it has no words of its own.
Json problemJson(const Problem& problem) {
  Json json = Json::object();
  json["field"] = problem.field;
  json["message"] = problem.message;
  json["text"] = problemText(problem);
  return json;
}

// The page's word for why the reader refused a whole number's value, or
// nullptr where the value itself is not at fault (such as a field given
// twice).
const char* wholeReason(Reason reason) {
  switch (reason) {
    case Reason::missing:
      return "missing";
    case Reason::belowMinimum:
      return "belowMinimum";
    case Reason::aboveMaximum:
      return "aboveMaximum";
    case Reason::notWhole:
      return "notWhole";
    case Reason::wrongType:
    case Reason::unknownWord:
      return "wrongKind";
    default:
      return nullptr;
  }
}

// Where a problem's field stands, for the page to name it in a player's
// words: its group, key and label (and the side of a unit's own field), the
// list and index of a supporting unit, the index of a Combat Support unit,
// its kind and range, whether it is a menu, and (for a scenario read
// whole) why its value was refused.  Nothing where the problem names no
// field of a combat.
void addWhere(const Problem& problem, bool read, Json* json) {
  const std::optional<FieldPath> path = resolveFieldPath(problem.field);
  if (!path) return;
  const ScenarioField& info = fieldInfo(path->field);
  (*json)["group"] = info.group;
  const char* key = info.name;
  const char* label = info.label;
  bool menu = !info.options.empty();
  if (path->unit) {
    const auto take = [&](const auto& unitField) {
      key = unitField.name;
      label = unitField.label;
      menu = !unitField.options.empty();
    };
    if (path->field == Field::artillery) {
      take(artilleryFields()[path->unitField]);
    } else {
      take(airDefenseFields()[path->unitField]);
    }
  }
  (*json)["key"] = key;
  if (path->unit) {
    (*json)["list"] = info.name;
    (*json)["unit"] = *path->unit;
  }
  // The field's short label, and for a unit's own field the side whose it
  // is, so that the page names it as a player does: "Class of the
  // attacker".
  (*json)["label"] = label;
  if (const std::optional<UnitPlace> place = unitPlaceOf(path->field)) {
    (*json)["side"] = std::string(sideName(place->side));
  }
  // A menu's value is one of its entries, by number or by word.
  if (menu) (*json)["menu"] = true;
  if (path->bar) (*json)["bar"] = *path->bar;
  (*json)["fieldKind"] = kindName(path->kind);
  if (path->kind == FieldKind::whole || path->kind == FieldKind::bars) {
    (*json)["minimum"] = path->bar ? 0 : path->minimum;
    (*json)["maximum"] = path->maximum;
  }
  const bool wholeValue = path->kind == FieldKind::whole || path->bar;
  if (read && wholeValue) {
    if (const char* reason = wholeReason(problem.reason)) (*json)["reason"] = reason;
  } else if (problem.reason == Reason::missing) {
    (*json)["reason"] = "missing";
  }
}

Json errorJson(const Problem& problem, bool read = false) {
  Json json = problemJson(problem);
  const std::optional<FieldPath> path = resolveFieldPath(problem.field);
  json["errorText"] = path ? std::string(path->errorText) : std::string();
  addWhere(problem, read, &json);
  return json;
}

// The combats of a file that the page lists for the player to choose from.
constexpr std::size_t kMostCombatsListed = 100;

// A text for the page whatever bytes a file held: a byte that is not UTF-8
// becomes U+FFFD rather than stopping the module.
std::string dumpForPage(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The answers of one record for `fields`, by key (all of them, or those
// that `given` lets through), as the page's controls take them.
template <typename Record, typename Fields, typename Given>
void addValues(const Record& record, const Fields& fields, Given given,
               bool dotted, Json* json);

template <typename Unit, typename Fields>
Json unitValues(const std::vector<Unit>& units, const Fields& fields) {
  Json list = Json::array();
  for (const Unit& unit : units) {
    Json values = Json::object();
    addValues(unit, fields, [](std::size_t) { return true; }, false, &values);
    list.push_back(std::move(values));
  }
  return list;
}

template <typename Record, typename Fields, typename Given>
void addValues(const Record& record, const Fields& fields, Given given,
               bool dotted, Json* json) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto& info = fields[i];
    if (!given(i)) continue;
    const std::string name = dotted ? dottedName(info) : std::string(info.name);
    switch (info.kind) {
      case FieldKind::whole:
        (*json)[name] = record.*info.whole;
        break;
      case FieldKind::yesNo:
        (*json)[name] = yesNoValue(record.*info.yesNo);
        break;
      case FieldKind::bars:
        (*json)[name] = record.*info.bars;
        break;
      case FieldKind::units:
        break;
    }
  }
}

// The answers that a scenario's text gives, by dotted name; the lists of
// supporting units whole.
Json givenValues(const ScenarioText& parsed) {
  Json values = Json::object();
  const auto given = [&parsed](std::size_t i) { return parsed.given[i]; };
  addValues(parsed.scenario, scenarioFields(), given, true, &values);
  if (parsed.given[static_cast<std::size_t>(Field::artillery)]) {
    values["artillery"] = unitValues(parsed.scenario.artillery, artilleryFields());
  }
  if (parsed.given[static_cast<std::size_t>(Field::airDefense)]) {
    values["airDefense"] = unitValues(parsed.scenario.airDefense, airDefenseFields());
  }
  return values;
}

// The notes on what the dialogue would not ask, each with its kind: a
// field not asked for this combat ("notAsked"), or supporting units after
// the one whose fire reached the attacker's strength ("beyondStrength",
// with the names of those units).
Json notesJson(std::size_t artilleryGiven, std::size_t airDefenseGiven,
               const CheckedScenario& checked) {
  Json notes = Json::array();
  for (const Problem& note : checked.notes) {
    Json json = problemJson(note);
    json["kind"] = "notAsked";
    notes.push_back(std::move(json));
  }
  const auto dropped = [&](const char* list, std::size_t kept,
                           std::size_t count) {
    if (count <= kept) return;
    Json units = Json::array();
    for (std::size_t i = kept; i < count; ++i) {
      units.push_back(std::string(list) + "." + std::to_string(i));
    }
    for (Json& note : notes) {
      if (note["field"].get<std::string>().rfind(units[0].get<std::string>(), 0) == 0) {
        note["kind"] = "beyondStrength";
        note["units"] = units;
      }
    }
  };
  dropped("artillery", checked.scenario.artillery.size(), artilleryGiven);
  dropped("airDefense", checked.scenario.airDefense.size(), airDefenseGiven);
  return notes;
}

// Where the questions that the dialogue asks within the list of supporting
// units stand: the attacker's ground defense after the first artillery
// piece, the airplane's air defense after the first fighter (after its
// answers, so that it comes next to whoever types them); the list's own
// name while there is no such unit (then after its units).
Json placedJson(const CombatScenario& s) {
  Json json = Json::object();
  json["attackerGroundDefense"] = s.artillery.empty() ? "artillery" : "artillery.0";
  json["airplaneAirDefense"] = "airDefense";
  for (std::size_t i = 0; i < s.airDefense.size(); ++i) {
    if (isYes(s.airDefense[i].isFighter)) {
      json["airplaneAirDefense"] = "airDefense." + std::to_string(i);
      break;
    }
  }
  return json;
}

// A line as printed, without its line feed.
std::string printed(std::string line) {
  if (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

// The answers a preset may hold: for each, its name in a roster, its short
// label and the dotted names of the attacker's and the defender's field it
// answers (null where that side has none).
Json presetFieldList() {
  Json list = Json::array();
  for (const PresetField& field : presetFields()) {
    Json json = Json::object();
    json["name"] = field.name;
    json["label"] = field.label;
    for (const Side side : {Side::attacker, Side::defender}) {
      const std::optional<Field> own = fieldFor(field, side);
      json[std::string(sideName(side))] =
          own ? Json(dottedName(fieldInfo(*own))) : Json(nullptr);
    }
    list.push_back(std::move(json));
  }
  return list;
}

// The lines that --scenario or --roster prints for `problems`, each
// without its line feed.
Json problemLines(std::string_view fileName, std::size_t firstLine,
                  const Problems& problems) {
  Json lines = Json::array();
  for (const Problem& problem : problems.told) {
    lines.push_back(printed(fileProblemLine(fileName, firstLine, problem)));
  }
  if (problems.untold > 0) {
    lines.push_back(printed(moreProblemsLine(fileName, firstLine, problems.untold)));
  }
  return lines;
}

// One scenario of a file, as --scenario reads it: the lines it prints for
// it, appended to `*lines`, and the same as data that the page words,
// appended to `*said` (each error and each note with the line it stands
// on, its kind ("error", "more", "notAsked" or "beyondStrength"), where its
// field stands, and the line that --scenario prints for it, "program", so
// that the page puts its words in place of that very line); and the combat
// as the page lists it: its first line, whether it is valid and its
// answers (null for one not read to its end, or beyond those kept).
Json readCombat(const ScenarioRead& read, std::string_view fileName, Json* lines,
                Json* said) {
  const CheckedScenario& checked = read.checked;
  const auto lineOf = [&read](const Problem& problem) {
    return problem.place.line == 0 ? read.firstLine
                                   : read.firstLine + problem.place.line - 1;
  };
  // Its errors, else its notes, each as data: the first kMostProblemsTold
  // of them, and a line that counts the rest, as --scenario tells them.
  const bool refused = !checked.errors.told.empty();
  const std::vector<Problem>& problems = refused ? checked.errors.told : checked.notes;
  Json items = Json::array();
  if (refused) {
    for (const Problem& error : problems) {
      Json item = errorJson(error, true);
      item.erase("errorText");
      item["kind"] = "error";
      items.push_back(std::move(item));
    }
  } else {
    items = notesJson(read.artilleryGiven, read.airDefenseGiven, checked);
    for (std::size_t i = 0; i < items.size(); ++i) addWhere(problems[i], false, &items[i]);
  }
  const auto tell = [&](Json item, const std::string& line) {
    item["program"] = printed(line);
    lines->push_back(item["program"]);
    said->push_back(std::move(item));
  };
  const std::size_t told = std::min(problems.size(), kMostProblemsTold);
  for (std::size_t i = 0; i < told; ++i) {
    items[i]["line"] = lineOf(problems[i]);
    tell(std::move(items[i]), fileProblemLine(fileName, read.firstLine, problems[i]));
  }
  const std::size_t untold = (refused ? checked.errors.untold : 0) + (problems.size() - told);
  if (untold > 0 && refused) {
    tell({{"line", read.firstLine}, {"kind", "more"}, {"count", untold}},
         moreProblemsLine(fileName, read.firstLine, untold));
  } else if (untold > 0) {
    // Notes past the first ones: the page shows the line as it stands.
    lines->push_back(printed(moreProblemsLine(fileName, read.firstLine, untold)));
  }
  Json combat = Json::object();
  combat["line"] = read.firstLine;
  combat["valid"] = read.complete && checked.errors.told.empty();
  combat["values"] = read.given ? givenValues(*read.given) : Json(nullptr);
  return combat;
}

// `object`, a JSON object's text, with one member more: `key` (a plain
// name), whose value is the JSON text `value`.  A chart's rows are written
// once, as --vary --json writes them, rather than read back and written
// again: they are most of a prediction's answer.
std::string withMember(std::string object, std::string_view key, std::string_view value) {
  object.pop_back();  // the closing brace
  if (object.size() > 1) object += ',';
  object += '"';
  object += key;
  object += "\":";
  object += value;
  object += '}';
  return object;
}

// The chart of a valid scenario (`checked`, as checked), as JSON text: the
// field it sweeps, `preferred` where --vary takes it (`swept`), else the
// attacker's strength, else the first field taken; that field's value and
// the range around it; and the sweep's rows, each as --vary --json gives
// it, or the first problem that refuses the sweep.  Null where no field is
// taken.
std::string chartText(const ScenarioText& parsed, CombatScenario checked,
                      const std::vector<std::string>& swept, std::string_view preferred) {
  if (swept.empty()) return "null";
  const auto taken = [&swept](std::string_view name) {
    return std::find(swept.begin(), swept.end(), name) != swept.end();
  };
  std::string field = swept.front();
  if (taken(preferred)) {
    field = preferred;
  } else if (taken("attacker.strength")) {
    field = "attacker.strength";
  }
  const std::optional<FieldPath> path = resolveFieldPath(field);
  const std::int64_t* value = path ? wholeValueAt(&checked, *path) : nullptr;
  if (value == nullptr) return "null";  // every field swept has a value
  const auto [from, to] = sweepRange(path->minimum, path->maximum, *value);
  const SweepRequest request{field, from, to};
  std::vector<Problem> errors;
  std::string rows = "[";
  if (Problems problems = checkSweepRequest(request); !problems.told.empty()) {
    errors = std::move(problems.told);
  } else {
    OrProblems<SweepPlan> planned = planSweep(parsed, request);
    if (SweepPlan* plan = std::get_if<SweepPlan>(&planned)) {
      for (std::int64_t each = from; each <= to; ++each) {
        const SweepRow row = sweepRow(plan, each);
        if (each != from) rows += ',';
        rows += printed(sweepJsonLine(field, each, row.predicted.supportFire,
                                      row.predicted.prediction));
      }
    } else {
      errors = std::move(std::get<Problems>(planned).told);
    }
  }
  rows += ']';
  Json json = Json::object();
  json["field"] = field;
  json["value"] = *value;
  json["from"] = from;
  json["to"] = to;
  json["valid"] = errors.empty();
  json["error"] = errors.empty() ? Json(nullptr) : errorJson(errors.front());
  return withMember(json.dump(), "rows", errors.empty() ? rows : "[]");
}

}  // namespace

std::string fieldsJson() {
  Json json = Json::object();
  json["fields"] = combatFieldList();
  json["artillery"] = fieldList(artilleryFields());
  json["airDefense"] = fieldList(airDefenseFields());
  Json support = Json::object();
  support["first"] = std::string(kCombatSupportFirst);
  support["bars"] = std::string(kCombatSupportBars);
  support["another"] = std::string(kCombatSupportAnother);
  support["errorText"] = std::string(kExperienceError);
  json["combatSupport"] = std::move(support);
  // A file longer than one scenario may be is refused before it is read.
  json["longestFile"] = kLongestScenario;
  json["presetFields"] = presetFieldList();
  // The figures of a comparison, in the order of its CSV, each as --sort
  // names it and with which way is better for the attacker.
  Json figures = Json::array();
  for (const FigureColumn& column : figureColumns()) {
    figures.push_back({{"name", std::string(column.name)},
                       {"moreIsBetter", column.moreIsBetter}});
  }
  json["figures"] = std::move(figures);
  json["longestRoster"] = kLongestJson;
  return json.dump();
}

std::string predictJson(std::string_view text, std::string_view chartField) {
  // Read on past a wrong value, so that the form still knows which fields
  // to show.
  const ScenarioText parsed = parseScenario(text);
  const CheckedScenario checked = checkText(parsed, true);
  Json json = Json::object();
  json["valid"] = checked.errors.told.empty();
  json["asked"] = checked.asked;
  json["notes"] = notesJson(parsed.scenario.artillery.size(),
                            parsed.scenario.airDefense.size(), checked);
  json["placed"] = placedJson(parsed.scenario);
  // The questions that this combat words otherwise than the field list.
  Json prompts = Json::object();
  const auto fields = scenarioFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string_view question = questionOf(static_cast<Field>(i), parsed.scenario);
    if (question != fields[i].prompt) prompts[dottedName(fields[i])] = std::string(question);
  }
  json["prompts"] = std::move(prompts);
  if (!checked.errors.told.empty()) {
    Json errors = Json::array();
    for (const Problem& error : checked.errors.told) errors.push_back(errorJson(error, true));
    json["error"] = errors.front();
    json["errors"] = std::move(errors);
    json["prediction"] = nullptr;
    json["scenarioText"] = nullptr;
    json["sweptFields"] = Json::array();
    json["chart"] = nullptr;
    return json.dump();
  }
  json["error"] = nullptr;
  json["errors"] = Json::array();
  const CombatPrediction predicted = predictCombat(checked.scenario);
  json["prediction"] = predictionJson(predicted.supportFire, predicted.prediction);
  // As --save writes it, for the address and for export.
  json["scenarioText"] = scenarioJson(checked.scenario);
  // What --vary takes for it, for the page's sweep, and the chart of one of
  // them: the chart comes with the figures, in the same call.
  const std::vector<std::string> swept = sweptFields(checked.scenario);
  json["sweptFields"] = swept;
  return withMember(json.dump(), "chart", chartText(parsed, checked.scenario, swept, chartField));
}

std::string readJson(std::string_view fileText, std::string_view fileName) {
  Json json = Json::object();
  json["messages"] = Json::array();
  json["said"] = Json::array();
  // Each combat of the file.  The form shows the first valid one; failing
  // that, the first one read to its end, so that it shows what the file
  // says beside its error.
  ScenarioSource source = scenarioSource(inputFromText(fileText));
  Json combats = Json::array();
  std::size_t total = 0;
  bool refused = false;
  std::optional<std::size_t> shown;
  while (const std::optional<ScenarioRead> read =
             readNextScenario(&source, nullptr, total < kMostCombatsListed)) {
    ++total;
    refused = refused || !read->checked.errors.told.empty();
    Json combat = readCombat(*read, fileName, &json["messages"], &json["said"]);
    if (combats.size() == kMostCombatsListed) continue;
    if (!combat["values"].is_null()) {
      const bool fine = combat["valid"].get<bool>();
      if (!shown || (fine && !combats[*shown]["valid"].get<bool>())) shown = combats.size();
    }
    combats.push_back(std::move(combat));
  }
  if (total == 0) {
    // The page shows this line as it stands.
    refused = true;
    json["messages"].push_back(printed(fileProblemLine(fileName, 1, noScenarioProblem())));
  }
  json["refused"] = refused;
  json["valid"] = shown && combats[*shown]["valid"].get<bool>();
  json["values"] = shown ? combats[*shown]["values"] : Json(nullptr);
  json["shown"] = shown ? Json(*shown) : Json(nullptr);
  json["combats"] = std::move(combats);
  json["combatCount"] = total;
  return dumpForPage(json);
}

std::string tooLongFileJson(std::string_view fileName) {
  // The whole file is the fault, not its first line: the page holds a file
  // in the module's memory, and the command line reads it line by line.
  Json json = Json::object();
  json["messages"] = Json::array({std::string(fileName) + ": the file is longer than " +
                                  std::to_string(kLongestScenario / (1024 * 1024)) +
                                  " MiB, the most the page reads"});
  // Already a sentence of the page's own: nothing for the page to reword.
  json["said"] = Json::array();
  json["refused"] = true;
  json["valid"] = false;
  json["values"] = nullptr;
  json["shown"] = nullptr;
  json["combats"] = Json::array();
  json["combatCount"] = 0;
  return dumpForPage(json);
}

std::string resultTextJson(std::string_view scenario) {
  // As --scenario prints the figures of a file of this one scenario.
  const CheckedScenario checked = readScenario(scenario);
  Json json = Json::object();
  json["text"] = nullptr;
  if (checked.errors.told.empty()) {
    const CombatPrediction predicted = predictCombat(checked.scenario);
    std::string text;
    renderPrediction(predicted.supportFire, predicted.prediction, &text);
    json["text"] = std::move(text);
  }
  return dumpForPage(json);
}

std::string rosterJson(const RosterReading& reading, std::string_view fileName) {
  Json json = Json::object();
  json["valid"] = reading.problems.told.empty();
  json["messages"] = problemLines(fileName, 1, reading.problems);
  Json presets = Json::array();
  for (const Preset& preset : reading.roster.presets) {
    presets.push_back({{"name", preset.name},
                       {"attacker", preset.attacker},
                       {"defender", preset.defender}});
  }
  json["presets"] = std::move(presets);
  return dumpForPage(json);
}

std::string presetJson(const Roster& roster, std::string_view name,
                       std::string_view side) {
  const Side wanted = side == "defender" ? Side::defender : Side::attacker;
  const Preset* preset = findPreset(roster, name);
  if (preset == nullptr || !serves(*preset, wanted)) return "null";
  ScenarioText answers;
  applyPreset(*preset, wanted, &answers.scenario, &answers.given);
  // A number that the preset leaves out and that a scenario file may leave
  // out too is the file's: the record's own value, as --compare takes it.
  for (const PresetField& field : presetFields()) {
    const std::optional<Field> own = fieldFor(field, wanted);
    if (!own) continue;
    const ScenarioField& info = fieldInfo(*own);
    if (info.kind == FieldKind::whole && !isRequired(info)) {
      answers.given[static_cast<std::size_t>(*own)] = true;
    }
  }
  return dumpForPage(givenValues(answers));
}

std::string compareJson(std::string_view scenario, const Roster& roster,
                        std::string_view side, std::string_view sort) {
  const Side compared = side == "defender" ? Side::defender : Side::attacker;
  Json json = Json::object();
  Json messages = Json::array();
  Json rows = Json::array();
  // As --scenario --roster --compare --sort --json compares: a roster with
  // nothing to compare is at fault first, then the scenario's text; each
  // preset's combat is checked on its own.
  if (const Problems unfit = noPresetProblem(roster, compared); !unfit.told.empty()) {
    messages = problemLines("presets", 1, unfit);
  } else if (const ScenarioText parsed = parseWithPresets(scenario, &roster, compared);
             !parsed.errors.told.empty()) {
    messages = problemLines("scenario", 1, parsed.errors);
  } else {
    std::vector<CompareRow> compareds = compareRows(parsed, roster, compared);
    sortRows(&compareds, sort);
    for (const CompareRow& row : compareds) {
      Json json = Json::parse(compareRowJson(comparedUnit(row)));
      if (row.error) json["error"]["text"] = problemText(*row.error);
      rows.push_back(std::move(json));
    }
  }
  json["messages"] = std::move(messages);
  json["rows"] = std::move(rows);
  return dumpForPage(json);
}

std::string adviceJson(std::string_view scenario, const Roster& kept) {
  const Roster* roster = kept.presets.empty() ? nullptr : &kept;
  // Read as --scenario --roster --advise reads its scenario.
  const ScenarioText parsed = parseWithPresets(scenario, roster);
  const CheckedScenario checked = checkText(parsed);
  Json json = Json::object();
  json["valid"] = checked.errors.told.empty();
  Json rows = Json::array();
  if (checked.errors.told.empty()) {
    const std::vector<AdviceRow> advice = adviceRows(parsed, checked, roster, "");
    for (const AdviceRow& row : advice) {
      Json line = adviceRowJson(row, advice.front());
      if (row.failed) line["error"]["text"] = row.errorText;
      line["scenarioText"] = row.failed ? Json(nullptr) : Json(scenarioJson(row.scenario));
      rows.push_back(std::move(line));
    }
  }
  json["rows"] = std::move(rows);
  return dumpForPage(json);
}
