#include "report/compare_table.h"

#include "report/json_text.h"
#include "report/prediction_json.h"

namespace {

bool hasFigures(const ComparedUnit& unit) {
  return unit.prediction != nullptr && unit.supportFire != nullptr;
}

// The row as the table's and the CSV's writers take it.
TableRow tableRowOf(const ComparedUnit& unit) {
  if (!hasFigures(unit)) {
    TableRow row;
    row.label = std::string(unit.name);
    row.error = unit.errorText;
    return row;
  }
  return tableRow(std::string(unit.name), *unit.prediction);
}

}  // namespace

std::vector<std::string_view> compareSortNames() {
  std::vector<std::string_view> names{kCompareNameColumn};
  for (const FigureColumn& column : figureColumns()) names.push_back(column.name);
  return names;
}

std::string compareTable(std::span<const ComparedUnit> rows) {
  std::vector<TableRow> table;
  table.reserve(rows.size());
  for (const ComparedUnit& row : rows) table.push_back(tableRowOf(row));
  return predictionTable(kCompareNameColumn, table, LabelKind::name);
}

std::string compareCsvHeading() { return csvHeading(kCompareNameColumn, true); }

std::string compareCsvLine(const ComparedUnit& row) {
  return csvLine(tableRowOf(row), LabelKind::name, true);
}

std::string compareRowJson(const ComparedUnit& row) {
  std::string json = "{\"preset\":";
  json += jsonString(row.name);
  if (!hasFigures(row)) {
    json += ",\"error\":{\"field\":";
    json += jsonString(row.errorField);
    json += ",\"message\":";
    json += jsonString(row.errorMessage);
    json += "}}";
    return json;
  }
  // The prediction's members follow the name in the same object.
  const std::string figures = predictionJsonText(*row.supportFire, *row.prediction);
  json += ',';
  json.append(figures, 1);
  return json;
}
