#include "files/compare.h"

#include <algorithm>
#include <array>

#include "combat/combat.h"
#include "files/json_answer.h"
#include "report/prediction_json.h"
#include "report/prediction_table.h"

namespace {

// The figures of a row, in the order of the CSV's columns after the name.
constexpr std::string_view kColumns[] = {
    "attackerLosses",          "defenderLosses",
    "defenderSuppression",     "attackerLossesNoSupport",
    "defenderLossesNoSupport", "defenderSuppressionNoSupport",
    "ruggedChance",            "ruggedAttackerLosses",
    "ruggedDefenderLosses",    "ruggedDefenderSuppression"};
constexpr std::size_t kFigures = std::size(kColumns);
constexpr std::string_view kNameColumn = "preset";

// Where the figures stand that the usual order and the rugged outcome use.
constexpr std::size_t kAttackerLosses = 0;
constexpr std::size_t kDefenderLosses = 1;
constexpr std::size_t kFirstRuggedOutcome = 7;

std::int64_t notBelowZero(std::int64_t value) { return value < 0 ? 0 : value; }

std::array<std::int64_t, kFigures> figuresOf(const Prediction& p) {
  const Odds& o = p.odds;
  return {o.attackerLosses,
          o.defenderLosses,
          notBelowZero(o.defenderSuppression),
          o.attackerLossesNoSupport,
          o.defenderLossesNoSupport,
          notBelowZero(o.defenderSuppressionNoSupport),
          p.ruggedChance,
          p.rugged.attackerLosses,
          p.rugged.defenderLosses,
          notBelowZero(p.rugged.defenderSuppression)};
}

// The rugged outcome is blank when no rugged defense is possible.
bool blank(const Prediction& p, std::size_t column) {
  return column >= kFirstRuggedOutcome && p.ruggedChance <= 0;
}

// Whether a larger figure is better for the attacker, column by column:
// the defender's losses and suppression are, the attacker's losses and the
// chance of a rugged defense are not.
constexpr bool kMoreIsBetter[kFigures] = {false, true,  true,  false, true,
                                          true,  false, false, true,  true};
bool moreIsBetter(std::size_t column) { return kMoreIsBetter[column]; }

// The rows as the report's table and CSV writers take them.
std::vector<TableRow> tableRows(const std::vector<CompareRow>& rows) {
  std::vector<TableRow> table;
  table.reserve(rows.size());
  for (const CompareRow& row : rows) {
    TableRow& line = table.emplace_back(tableRow(row.preset->name, row.prediction));
    if (row.error) line.error = row.error->field + ": " + row.error->message;
  }
  return table;
}

// The figures as --scenario --json gives them, but no suppression below 0.
nlohmann::ordered_json rowJson(const CompareRow& row) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  json["preset"] = row.preset->name;
  if (row.error) {
    json["error"] = {{"field", row.error->field}, {"message", row.error->message}};
    return json;
  }
  json.update(predictionJson(row.supportFire, row.prediction));
  for (const char* losses : {"odds", "oddsNoSupport", "rugged"}) {
    nlohmann::ordered_json& figures = json[losses];
    if (figures.is_null()) continue;
    for (const char* suppression : {"defenderSuppression", "defenderSuppressionNoSupport"}) {
      if (figures.contains(suppression)) {
        figures[suppression] = notBelowZero(figures[suppression].get<std::int64_t>());
      }
    }
  }
  return json;
}

// A row's problem as the roster would name it: a missing answer that the
// preset gives is the preset's own field ("class"), with the words of its
// menu, rather than the scenario's ("general.attackerClass").
Problem presetProblem(Problem problem, Side side) {
  const auto fields = scenarioFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (dottedName(fields[i]) != problem.field) continue;
    const auto field = static_cast<Field>(i);
    const std::optional<std::size_t> answer = presetFieldOf(field);
    if (!answer || fieldFor(presetFields()[*answer], side) != field) break;
    const ScenarioField& info = fields[i];
    problem.field = std::string(presetFields()[*answer].name);
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
  names.insert(names.end(), std::begin(kColumns), std::end(kColumns));
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
    if (!checked.errors.empty()) {
      row.error = presetProblem(std::move(checked.errors.front()), side);
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
  std::vector<std::array<std::int64_t, kFigures>> figures;
  figures.reserve(rows->size());
  for (CompareRow& row : *rows) figures.push_back(figuresOf(row.prediction));
  std::vector<std::size_t> order(rows->size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  // Negative: a before b; positive: b before a.
  const auto compareBy = [&](std::size_t a, std::size_t b, std::size_t c) {
    const std::int64_t x = figures[a][c];
    const std::int64_t y = figures[b][c];
    if (x == y) return 0;
    return (x > y) == moreIsBetter(c) ? -1 : 1;
  };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const CompareRow& ra = (*rows)[a];
    const CompareRow& rb = (*rows)[b];
    if (ra.error || rb.error) return !ra.error && rb.error;
    if (byName && ra.preset->name != rb.preset->name) {
      return ra.preset->name < rb.preset->name;
    }
    if (column) {
      const bool blankA = blank(ra.prediction, *column);
      const bool blankB = blank(rb.prediction, *column);
      if (blankA || blankB) {
        if (blankA != blankB) return blankB;
      } else if (const int order = compareBy(a, b, *column); order != 0) {
        return order < 0;
      }
    }
    // Rows that tie on the figure asked for keep the roster's order; the
    // usual order counts only when no figure is asked for.
    if (!sort.empty()) return false;
    for (const std::size_t usual : {kDefenderLosses, kAttackerLosses}) {
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
