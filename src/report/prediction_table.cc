#include "report/prediction_table.h"

#include <nlohmann/json.hpp>

#include <algorithm>

#include "report/prediction_json.h"

namespace {

// The columns of the CSV, after the label.
constexpr std::string_view kCsvColumns[kTableFigures] = {
    "attackerLosses",          "defenderLosses",
    "defenderSuppression",     "attackerLossesNoSupport",
    "defenderLossesNoSupport", "defenderSuppressionNoSupport",
    "ruggedChance",            "ruggedAttackerLosses",
    "ruggedDefenderLosses",    "ruggedDefenderSuppression"};

// The table's two-line heading: each column named under its group, a
// group's name over its first column.
struct TableColumn {
  std::string_view group;
  std::string_view name;
};
constexpr TableColumn kTableColumns[kTableFigures] = {
    {"odds", "attacker"},          {"", "defender"},
    {"", "suppression"},           {"odds without support", "attacker"},
    {"", "defender"},              {"", "suppression"},
    {"rugged defense", "chance"},  {"", "attacker"},
    {"", "defender"},              {"", "suppression"}};

constexpr std::size_t kFirstNoSupport = 3;
constexpr std::size_t kFirstRuggedOutcome = 7;

// A rugged outcome's figure when no rugged defense is possible: blank.
bool blank(const TableRow& row, std::size_t column) {
  return column >= kFirstRuggedOutcome && !row.rugged;
}

void appendCell(std::string* line, std::string_view text, std::size_t width) {
  if (!line->empty()) *line += "  ";
  if (text.size() < width) line->append(width - text.size(), ' ');
  *line += text;
}

// Which columns the table shows.
std::array<bool, kTableFigures> shownColumns(const std::vector<TableRow>& rows) {
  std::array<bool, kTableFigures> shown;
  shown.fill(true);
  const bool sameWithoutSupport =
      std::all_of(rows.begin(), rows.end(), [](const TableRow& row) {
        return std::equal(row.figures.begin(),
                          row.figures.begin() + kFirstNoSupport,
                          row.figures.begin() + kFirstNoSupport);
      });
  const bool noRugged = std::none_of(
      rows.begin(), rows.end(), [](const TableRow& row) { return row.rugged; });
  for (std::size_t i = 0; i < kTableFigures; ++i) {
    if (sameWithoutSupport && i >= kFirstNoSupport && i < kFirstNoSupport + 3) {
      shown[i] = false;
    }
    if (noRugged && i >= kFirstRuggedOutcome) shown[i] = false;
  }
  return shown;
}

}  // namespace

TableRow tableRow(std::string label, const Prediction& p) {
  const Odds& o = p.odds;
  return {std::move(label),
          {o.attackerLosses, o.defenderLosses, o.defenderSuppression,
           o.attackerLossesNoSupport, o.defenderLossesNoSupport,
           o.defenderSuppressionNoSupport, p.ruggedChance,
           p.rugged.attackerLosses, p.rugged.defenderLosses,
           p.rugged.defenderSuppression},
          p.ruggedChance > 0};
}

std::string predictionTable(std::string_view labelHeading,
                            const std::vector<TableRow>& rows) {
  const std::array<bool, kTableFigures> shown = shownColumns(rows);
  std::size_t labelWidth = labelHeading.size();
  for (const TableRow& row : rows) {
    labelWidth = std::max(labelWidth, row.label.size());
  }
  std::string groups;
  std::string names;
  appendCell(&names, labelHeading, labelWidth);
  for (std::size_t i = 0; i < kTableFigures; ++i) {
    if (!shown[i]) continue;
    const TableColumn& column = kTableColumns[i];
    appendCell(&names, column.name, column.name.size());
    if (!column.group.empty()) {
      groups.resize(names.size() - column.name.size(), ' ');
      groups += column.group;
    }
  }
  std::string table = groups + '\n' + names + '\n';
  for (const TableRow& row : rows) {
    std::string line;
    appendCell(&line, row.label, labelWidth);
    for (std::size_t i = 0; i < kTableFigures; ++i) {
      if (!shown[i]) continue;
      appendCell(&line,
                 blank(row, i) ? "-" : std::to_string(row.figures[i]),
                 kTableColumns[i].name.size());
    }
    table += line + '\n';
  }
  return table;
}

std::string csvHeading(std::string_view labelHeading) {
  std::string line(labelHeading);
  for (const std::string_view column : kCsvColumns) {
    line += ',';
    line += column;
  }
  return line + '\n';
}

std::string csvLine(const TableRow& row) {
  std::string line = row.label;
  for (std::size_t i = 0; i < kTableFigures; ++i) {
    line += ',';
    if (!blank(row, i)) line += std::to_string(row.figures[i]);
  }
  return line + '\n';
}

std::string sweepJsonLine(std::string_view field, std::int64_t value,
                          const SupportFire& supportFire,
                          const Prediction& prediction) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  json["field"] = field;
  json["value"] = value;
  json.update(predictionJson(supportFire, prediction));
  return json.dump() + '\n';
}
