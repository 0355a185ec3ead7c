#include "files/compare.h"

#include <algorithm>

#include "combat/combat.h"
#include "files/json_answer.h"
#include "report/prediction_json.h"
#include "report/prediction_table.h"

namespace {

constexpr std::string_view kNameColumn = "preset";

// The rows as the report's table and CSV writers take them.
std::vector<TableRow> tableRows(const std::vector<CompareRow>& rows) {
  std::vector<TableRow> table;
  table.reserve(rows.size());
  for (const CompareRow& row : rows) {
    TableRow& line = table.emplace_back(tableRow(row.preset->name, row.prediction));
    if (row.error) line.error = problemText(*row.error);
  }
  return table;
}

// The figures as --scenario --json gives them.
nlohmann::ordered_json rowJson(const CompareRow& row) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  json["preset"] = row.preset->name;
  if (row.error) {
    json["error"] = {{"field", row.error->field}, {"message", row.error->message}};
    return json;
  }
  json.update(predictionJson(row.supportFire, row.prediction));
  return json;
}

// A row's problem as the roster would name it: a missing answer that the
// preset gives is the preset's own field ("class"), with the words of its
// menu, rather than the scenario's ("general.attackerClass").
Problem presetProblem(Problem problem, Side side) {
  const auto fields = scenarioFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (dottedName(fields[i]) != problem.field) continue;
    const std::optional<UnitPlace> place = unitPlaceOf(static_cast<Field>(i));
    if (!place || place->side != side) break;
    const ScenarioField& info = fields[i];
    problem.field = std::string(unitFields()[place->unitField].name);
    if (!info.options.empty()) {
      problem.message = "missing (allowed: " + menuWordList(info.options) +
                        ", or " + rangeText(info.minimum, info.maximum) + ")";
    }
    break;
  }
  return problem;
}

}  // namespace

std::vector<std::string_view> compareSortNames() {
  std::vector<std::string_view> names{kNameColumn};
  for (const FigureColumn& column : figureColumns()) names.push_back(column.name);
  return names;
}

std::vector<CompareRow> compareRows(const ScenarioText& text,
                                    const Roster& roster, Side side) {
  std::vector<CompareRow> rows;
  // The scenario without the side's unit, made once; each preset is put
  // into a copy of it (whose vectors keep their room from row to row).
  CombatScenario without = text.scenario;
  GivenFields withoutGiven = text.given;
  clearUnit(side, &without, &withoutGiven);
  CombatScenario scenario;
  GivenFields given;
  for (const Preset& preset : roster.presets) {
    if (!serves(preset, side)) continue;
    scenario = without;
    given = withoutGiven;
    applyPreset(preset, side, &scenario, &given);
    // The notes of a row are not shown: only its figures or its error.
    CheckedScenario checked = checkScenario(scenario, given, FieldPlaces{}, false, false);
    CompareRow& row = rows.emplace_back();
    row.preset = &preset;
    if (!checked.errors.told.empty()) {
      row.error = presetProblem(std::move(checked.errors.told.front()), side);
      continue;
    }
    CombatPrediction predicted = predictCombat(checked.scenario);
    row.supportFire = std::move(predicted.supportFire);
    row.prediction = predicted.prediction;
  }
  return rows;
}

void sortRows(std::vector<CompareRow>* rows, std::string_view sort) {
  const auto names = compareSortNames();
  const auto named = std::find(names.begin(), names.end(), sort);
  // The figure's column, or none for the name or the usual order.
  std::optional<std::size_t> column;
  if (named != names.end() && named != names.begin()) {
    column = static_cast<std::size_t>(named - names.begin()) - 1;
  }
  const bool byName = sort == kNameColumn;
  // Each row's figures once, rather than at every comparison.
  std::vector<TableRow> figures;
  figures.reserve(rows->size());
  for (CompareRow& row : *rows) figures.push_back(tableRow({}, row.prediction));
  std::vector<std::size_t> order(rows->size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  // Negative: a before b; positive: b before a.
  const auto compareBy = [&](std::size_t a, std::size_t b, std::size_t c) {
    const std::int64_t x = figures[a].figures[c];
    const std::int64_t y = figures[b].figures[c];
    if (x == y) return 0;
    return (x > y) == figureColumns()[c].moreIsBetter ? -1 : 1;
  };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const CompareRow& ra = (*rows)[a];
    const CompareRow& rb = (*rows)[b];
    if (ra.error || rb.error) return !ra.error && rb.error;
    if (byName && ra.preset->name != rb.preset->name) {
      return ra.preset->name < rb.preset->name;
    }
    if (column) {
      const bool blankA = blank(figures[a], *column);
      const bool blankB = blank(figures[b], *column);
      if (blankA || blankB) {
        if (blankA != blankB) return blankB;
      } else if (const int order = compareBy(a, b, *column); order != 0) {
        return order < 0;
      }
    }
    // Rows that tie on the figure asked for keep the roster's order; the
    // usual order counts only when no figure is asked for.
    if (!sort.empty()) return false;
    for (const std::size_t usual :
         {figure_column::kDefenderLosses, figure_column::kAttackerLosses}) {
      if (const int order = compareBy(a, b, usual); order != 0) return order < 0;
    }
    return false;
  });
  std::vector<CompareRow> sorted;
  sorted.reserve(rows->size());
  for (const std::size_t i : order) sorted.push_back(std::move((*rows)[i]));
  *rows = std::move(sorted);
}

void writeCompare(const std::vector<CompareRow>& rows, OutputFormat format,
                  Output* out) {
  switch (format) {
    case OutputFormat::text:
      put(out, predictionTable(kNameColumn, tableRows(rows), LabelKind::name));
      return;
    case OutputFormat::csv:
      put(out, csvHeading(kNameColumn, true));
      for (const TableRow& row : tableRows(rows)) put(out, csvLine(row, LabelKind::name, true));
      return;
    case OutputFormat::json:
      for (const CompareRow& row : rows) {
        put(out, rowJson(row).dump());
        put(out, "\n");
      }
      return;
  }
}
