#include "web/binding.h"

#include <nlohmann/json.hpp>

#include <sstream>

#include "combat/combat.h"
#include "files/scenario_file.h"
#include "files/scenario_reader.h"
#include "files/scenario_source.h"
#include "files/sweep.h"
#include "report/prediction_json.h"
#include "report/scenario_json.h"
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

template <typename Record>
Json fieldJson(const FieldInfo<Record>& info) {
  Json json = Json::object();
  json["name"] = dottedName(info);
  json["group"] = info.group;
  json["key"] = info.name;
  json["kind"] = kindName(info.kind);
  if (info.kind == FieldKind::whole || info.kind == FieldKind::bars) {
    json["minimum"] = info.minimum;
    json["maximum"] = info.maximum;
  }
  json["required"] = isRequired(info);
  json["meaning"] = info.meaning;
  json["prompt"] = std::string(info.prompt);
  json["errorText"] = std::string(info.errorText);
  Json options = Json::array();
  for (const std::string_view option : info.options) {
    options.push_back(std::string(option));
  }
  json["options"] = std::move(options);
  return json;
}

template <typename Fields>
Json fieldList(const Fields& fields) {
  Json list = Json::array();
  for (const auto& info : fields) list.push_back(fieldJson(info));
  return list;
}

Json problemJson(const Problem& problem) {
  Json json = Json::object();
  json["field"] = problem.field;
  json["message"] = problem.message;
  return json;
}

// The dialogue's own error text for a field named as messages name it, or
// an empty text.
std::string errorTextOf(std::string_view name) {
  for (const ScenarioField& info : scenarioFields()) {
    if (dottedName(info) == name) return std::string(info.errorText);
  }
  // A field of a unit: artillery.N.name or airDefense.N.name.
  const std::size_t first = name.find('.');
  const std::size_t second = name.find('.', first + 1);
  if (first == std::string_view::npos || second == std::string_view::npos) {
    return "";
  }
  const std::string_view list = name.substr(0, first);
  const std::string_view key = name.substr(second + 1);
  if (list == "artillery") {
    for (const auto& info : artilleryFields()) {
      if (key == info.name) return std::string(info.errorText);
    }
  } else if (list == "airDefense") {
    for (const auto& info : airDefenseFields()) {
      if (key == info.name) return std::string(info.errorText);
    }
  }
  return "";
}

Json errorJson(const Problem& problem) {
  Json json = problemJson(problem);
  json["errorText"] = errorTextOf(problem.field);
  return json;
}

}  // namespace

std::string fieldsJson() {
  Json json = Json::object();
  json["fields"] = fieldList(scenarioFields());
  json["artillery"] = fieldList(artilleryFields());
  json["airDefense"] = fieldList(airDefenseFields());
  Json support = Json::object();
  support["first"] = std::string(kCombatSupportFirst);
  support["bars"] = std::string(kCombatSupportBars);
  support["another"] = std::string(kCombatSupportAnother);
  support["errorText"] = std::string(kExperienceError);
  json["combatSupport"] = std::move(support);
  json["halfTrack"] = {{"class", unit_class::kHalfTrackOrGroundTransport},
                       {"leaderPrompt", std::string(kHalfTrackLeaderPrompt)}};
  return json.dump();
}

std::string predictJson(std::string_view text) {
  // Read on past a wrong value, so that the form still knows which fields
  // to show.
  const ScenarioText parsed = parseScenario(text, true);
  CheckedScenario checked;
  if (parsed.complete) {
    checked = checkScenario(parsed.scenario, parsed.given, true);
  }
  if (parsed.error) checked.error = parsed.error;
  Json json = Json::object();
  json["valid"] = !checked.error.has_value();
  json["asked"] = checked.asked;
  Json notes = Json::array();
  for (const Problem& note : checked.notes) notes.push_back(problemJson(note));
  json["notes"] = std::move(notes);
  if (checked.error) {
    json["error"] = errorJson(*checked.error);
    json["prediction"] = nullptr;
    json["scenario"] = nullptr;
    return json.dump();
  }
  json["error"] = nullptr;
  const CombatPrediction predicted = predictCombat(checked.scenario);
  json["prediction"] = predictionJson(predicted.supportFire, predicted.prediction);
  json["scenario"] = Json::parse(scenarioJson(checked.scenario));
  return json.dump();
}

std::string sweepJson(std::string_view text, std::string_view field,
                      std::int64_t from, std::int64_t to) {
  Json json = Json::object();
  const ScenarioText parsed = parseScenario(text);
  std::optional<Problem> error = parsed.error;
  if (!error) error = checkScenario(parsed.scenario, parsed.given).error;
  std::stringbuf rows;
  if (!error) {
    Output out = outputToStream(&rows);
    Problem problem;
    if (!runSweep(parsed, {std::string(field), from, to}, OutputFormat::json,
                  &out, &problem)) {
      error = problem;
    }
    flushOutput(&out);
  }
  json["valid"] = !error.has_value();
  json["error"] = error ? errorJson(*error) : Json(nullptr);
  Json list = Json::array();
  std::istringstream lines(rows.str());
  for (std::string line; std::getline(lines, line);) {
    list.push_back(Json::parse(line));
  }
  json["rows"] = std::move(list);
  return json.dump();
}

std::string importJson(std::string_view fileText, std::string_view fileName) {
  ScenarioFileOptions options;
  options.path = std::string(fileName);
  options.format = OutputFormat::json;
  // The messages, as the command line gives them for the whole file.
  std::stringbuf file{std::string(fileText)};
  std::stringbuf figures;
  std::stringbuf messages;
  Output out = outputToStream(&figures);
  Output err = outputToStream(&messages);
  ScenarioSource source = scenarioSource(inputFromStream(&file));
  runScenarios(&source, options, &out, &err);
  flushOutput(&err);
  Json json = Json::object();
  Json lines = Json::array();
  std::istringstream text(messages.str());
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  json["messages"] = std::move(lines);
  // The first scenario that is valid goes into the form.
  std::stringbuf again{std::string(fileText)};
  ScenarioSource scenarios = scenarioSource(inputFromStream(&again));
  json["scenario"] = nullptr;
  while (const std::optional<ScenarioChunk> chunk = nextScenario(&scenarios)) {
    if (chunk->tooLong) continue;
    if (!readScenario(chunk->text).checked.error) {
      json["scenario"] = chunk->text;
      break;
    }
  }
  return json.dump();
}
