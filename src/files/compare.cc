#include "files/compare.h"

#include <algorithm>

#include "combat/combat.h"
#include "files/json_answer.h"
#include "report/prediction_table.h"

namespace {

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

ComparedUnit comparedUnit(const CompareRow& row) {
  ComparedUnit unit;
  unit.name = row.preset->name;
  if (row.error) {
    unit.errorField = row.error->field;
    unit.errorMessage = row.error->message;
    unit.errorText = problemText(*row.error);
  } else {
    unit.supportFire = &row.supportFire;
    unit.prediction = &row.prediction;
  }
  return unit;
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

std::optional<std::size_t> sortColumn(std::string_view sort) {
  const auto names = compareSortNames();
  const auto named = std::find(names.begin(), names.end(), sort);
  if (named == names.end() || named == names.begin()) return std::nullopt;
  return static_cast<std::size_t>(named - names.begin()) - 1;
}

bool goesBefore(const TableRow& a, const TableRow& b,
                std::optional<std::size_t> column, bool usual) {
  // Negative: a before b; positive: b before a.
  const auto compareBy = [&](std::size_t c) {
    const std::int64_t x = a.figures[c];
    const std::int64_t y = b.figures[c];
    if (x == y) return 0;
    return (x > y) == figureColumns()[c].moreIsBetter ? -1 : 1;
  };
  if (column) {
    const bool blankA = blank(a, *column);
    const bool blankB = blank(b, *column);
    if (blankA || blankB) {
      if (blankA != blankB) return blankB;
    } else if (const int order = compareBy(*column); order != 0) {
      return order < 0;
    }
  }
  if (!usual) return false;
  for (const std::size_t figure :
       {figure_column::kDefenderLosses, figure_column::kAttackerLosses}) {
    if (const int order = compareBy(figure); order != 0) return order < 0;
  }
  return false;
}

void sortRows(std::vector<CompareRow>* rows, std::string_view sort) {
  // The figure's column, or none for the name or the usual order.
  const std::optional<std::size_t> column = sortColumn(sort);
  const bool byName = sort == kCompareNameColumn;
  // Each row's figures once, rather than at every comparison.
  std::vector<TableRow> figures;
  figures.reserve(rows->size());
  for (CompareRow& row : *rows) figures.push_back(tableRow({}, row.prediction));
  std::vector<std::size_t> order(rows->size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const CompareRow& ra = (*rows)[a];
    const CompareRow& rb = (*rows)[b];
    if (ra.error || rb.error) return !ra.error && rb.error;
    if (byName && ra.preset->name != rb.preset->name) {
      return ra.preset->name < rb.preset->name;
    }
    // Rows that tie on the figure asked for keep the roster's order; the
    // usual order counts only when no figure is asked for.
    return goesBefore(figures[a], figures[b], column, sort.empty());
  });
  std::vector<CompareRow> sorted;
  sorted.reserve(rows->size());
  for (const std::size_t i : order) sorted.push_back(std::move((*rows)[i]));
  *rows = std::move(sorted);
}

void writeCompare(const std::vector<CompareRow>& rows, OutputFormat format,
                  Output* out) {
  switch (format) {
    case OutputFormat::text: {
      std::vector<ComparedUnit> units;
      units.reserve(rows.size());
      for (const CompareRow& row : rows) units.push_back(comparedUnit(row));
      put(out, compareTable(units));
      return;
    }
    case OutputFormat::csv:
      put(out, compareCsvHeading());
      for (const CompareRow& row : rows) put(out, compareCsvLine(comparedUnit(row)));
      return;
    case OutputFormat::json:
      for (const CompareRow& row : rows) {
        put(out, compareRowJson(comparedUnit(row)));
        put(out, "\n");
      }
      return;
  }
}
