#include "web/binding.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <sstream>
#include <variant>
#include <vector>

#include "combat/combat.h"
#include "files/scenario_file.h"
#include "files/scenario_reader.h"
#include "files/scenario_source.h"
#include "files/sweep.h"
#include "report/prediction_json.h"
#include "report/scenario_json.h"
#include "scenario/field_path.h"
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

Json errorJson(const Problem& problem) {
  Json json = problemJson(problem);
  const std::optional<FieldPath> path = resolveFieldPath(problem.field);
  json["errorText"] = path ? std::string(path->errorText) : std::string();
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
  const CheckedScenario checked = readScenario(text, true);
  Json json = Json::object();
  json["valid"] = checked.errors.empty();
  json["asked"] = checked.asked;
  Json notes = Json::array();
  for (const Problem& note : checked.notes) notes.push_back(problemJson(note));
  json["notes"] = std::move(notes);
  if (!checked.errors.empty()) {
    json["error"] = errorJson(checked.errors.front());
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
  std::vector<Problem> errors = checkText(parsed).errors;
  Json rows = Json::array();
  if (errors.empty()) {
    // The request as the command line would give it, checked as there.
    std::variant<SweepRequest, Problem> request = parseSweepRequest(
        std::string(field) + "=" + std::to_string(from) + ".." +
        std::to_string(to));
    std::variant<SweepPlan, std::vector<Problem>> planned =
        std::vector<Problem>{};
    if (const Problem* problem = std::get_if<Problem>(&request)) {
      errors.push_back(*problem);
    } else {
      planned = planSweep(parsed, std::get<SweepRequest>(request));
    }
    if (SweepPlan* plan = std::get_if<SweepPlan>(&planned)) {
      for (std::int64_t value = from; value <= to; ++value) {
        const SweepRow row = sweepRow(plan, value);
        Json line = Json::object();
        line["field"] = field;
        line["value"] = value;
        line.update(predictionJson(row.predicted.supportFire,
                                   row.predicted.prediction));
        rows.push_back(std::move(line));
      }
    } else if (errors.empty()) {
      errors = std::get<std::vector<Problem>>(planned);
    }
  }
  json["valid"] = errors.empty();
  json["error"] = errors.empty() ? Json(nullptr) : errorJson(errors.front());
  json["rows"] = std::move(rows);
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
    if (readScenario(chunk->text).errors.empty()) {
      json["scenario"] = chunk->text;
      break;
    }
  }
  return json.dump();
}
