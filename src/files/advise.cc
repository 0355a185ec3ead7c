#include "files/advise.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "combat/combat.h"
#include "files/compare.h"
#include "files/roster_reader.h"
#include "report/scenario_json.h"

namespace {

using Json = nlohmann::ordered_json;

// The place in a scenario's JSON of a field of the combat: its group's
// object (the top for a field of none).
Json& placeOf(Json* patch, const ScenarioField& info) {
  if (info.group[0] == '\0') return *patch;
  return (*patch)[info.group];
}

// The merge patch that writes `field` of `changed` (checked) over the
// scenario as given.
Json fieldPatch(Field field, const CombatScenario& changed) {
  Json patch = Json::object();
  const ScenarioField& info = fieldInfo(field);
  Json& place = placeOf(&patch, info);
  switch (info.kind) {
    case FieldKind::whole:
      place[info.name] = changed.*info.whole;
      break;
    case FieldKind::yesNo:
      place[info.name] = isYes(changed.*info.yesNo)  ? Json(true)
                         : isNo(changed.*info.yesNo) ? Json(false)
                                                     : Json(nullptr);
      break;
    case FieldKind::bars:
      place[info.name] = changed.*info.bars;
      break;
    case FieldKind::units:
      // The supporting units as the changed scenario writes them.
      place[info.name] = supportUnitsObject(changed, field);
      break;
  }
  return patch;
}

// The merge patch that puts `preset` in for the attacker: its name, and
// every answer of the attacker's unit that the scenario wrote out taken
// away, so that the preset's answers stand (as --compare puts it in).
Json presetPatch(const ScenarioText& text, const Preset& preset) {
  Json patch = Json::object();
  patch["attacker"]["preset"] = preset.name;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const std::optional<UnitPlace> place = unitPlaceOf(static_cast<Field>(i));
    if (!place || place->side != Side::attacker) continue;
    if (!text.given[i] || text.fromPresets[i]) continue;
    placeOf(&patch, scenarioFields()[i])[scenarioFields()[i].name] = nullptr;
  }
  return patch;
}

AdviceRow failedRow(AdviceRow row, const Problem& problem) {
  row.failed = true;
  row.errorField = problem.field;
  row.errorMessage = problem.message;
  row.errorText = problemText(problem);
  return row;
}

// The row of a change other than a preset.
AdviceRow changeRow(const ScenarioText& text, const CheckedScenario& checked,
                    const PreparedCombat& prepared, const Change& change) {
  AdviceRow row;
  row.change = change;
  const Field field = *changedField(change);
  if (change.kind == ChangeKind::soften) {
    // The times attacked are asked last and change nothing else of the
    // combat: the prepared combat serves every softening.
    CombatScenario changed = checked.scenario;
    changed.timesAttacked += change.amount;
    row.changed = fieldPatch(field, changed);
    row.scenario = changed;
    row.supportFire = prepared.supportFire;
    row.prediction = predictSoftening(changed, prepared, changed.timesAttacked);
    return row;
  }
  GivenFields given = text.given;
  given[static_cast<std::size_t>(field)] = true;
  CheckedScenario changed = checkScenario(
      changedScenario(text.scenario, checked.scenario, change), given,
      FieldPlaces{}, false, false);
  if (!changed.errors.told.empty()) {
    return failedRow(std::move(row), changed.errors.told.front());
  }
  row.changed = fieldPatch(field, changed.scenario);
  CombatPrediction predicted = predictCombat(changed.scenario);
  row.scenario = std::move(changed.scenario);
  row.supportFire = std::move(predicted.supportFire);
  row.prediction = predicted.prediction;
  return row;
}

// The best presets for the attacker other than the one the scenario names.
void addPresetRows(const ScenarioText& text, const Roster& roster,
                   std::string_view sort, std::vector<AdviceRow>* rows) {
  std::vector<CompareRow> compared = compareRows(text, roster, Side::attacker);
  sortRows(&compared, sort);
  std::size_t added = 0;
  for (CompareRow& presetRow : compared) {
    if (added == kAdvisedPresets || presetRow.error) break;
    if (text.attackerPreset && *text.attackerPreset == presetRow.preset->name) {
      continue;
    }
    AdviceRow& row = rows->emplace_back();
    row.change = {ChangeKind::preset, static_cast<std::int64_t>(added)};
    row.presetName = presetRow.preset->name;
    row.changed = presetPatch(text, *presetRow.preset);
    // The combat as the comparison made it, for a caller that writes it out.
    CombatScenario scenario = text.scenario;
    GivenFields given = text.given;
    clearUnit(Side::attacker, &scenario, &given);
    applyPreset(*presetRow.preset, Side::attacker, &scenario, &given);
    row.scenario = checkScenario(scenario, given, FieldPlaces{}, false, false).scenario;
    row.supportFire = std::move(presetRow.supportFire);
    row.prediction = presetRow.prediction;
    ++added;
  }
}

}  // namespace

std::vector<std::string_view> adviceSortNames() {
  std::vector<std::string_view> names = compareSortNames();
  names.erase(names.begin());
  return names;
}

std::vector<AdviceRow> adviceRows(const ScenarioText& text,
                                  const CheckedScenario& checked,
                                  const Roster* roster, std::string_view sort) {
  const std::vector<Change> changes = changesOf(checked.scenario);
  std::vector<AdviceRow> rows;
  rows.reserve(1 + changes.size() + (roster != nullptr ? kAdvisedPresets : 0));
  const PreparedCombat prepared = prepareCombat(checked.scenario);
  AdviceRow& asGiven = rows.emplace_back();
  asGiven.scenario = checked.scenario;
  asGiven.supportFire = prepared.supportFire;
  asGiven.prediction =
      predictSoftening(checked.scenario, prepared, checked.scenario.timesAttacked);
  for (const Change& change : changes) {
    rows.push_back(changeRow(text, checked, prepared, change));
  }
  if (roster != nullptr) addPresetRows(text, *roster, sort, &rows);

  // The combat as given stays first; the changes follow best first, those
  // without figures last, ties in the order they were made.
  const std::optional<std::size_t> column = sortColumn(sort);
  std::vector<TableRow> figures;
  figures.reserve(rows.size());
  for (const AdviceRow& row : rows) figures.push_back(tableRow({}, row.prediction));
  std::vector<std::size_t> order(rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin() + 1, order.end(), [&](std::size_t a, std::size_t b) {
    if (rows[a].failed || rows[b].failed) return !rows[a].failed && rows[b].failed;
    return goesBefore(figures[a], figures[b], column, sort.empty());
  });
  std::vector<AdviceRow> sorted;
  sorted.reserve(rows.size());
  for (const std::size_t i : order) sorted.push_back(std::move(rows[i]));
  return sorted;
}

void writeAdvice(const std::vector<AdviceRow>& rows, OutputFormat format,
                 Output* out) {
  switch (format) {
    case OutputFormat::text:
      put(out, adviceTable(rows));
      return;
    case OutputFormat::csv:
      put(out, adviceCsv(rows));
      return;
    case OutputFormat::json:
      put(out, adviceJsonLines(rows));
      return;
  }
}
