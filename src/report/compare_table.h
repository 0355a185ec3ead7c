// One combat with one side's unit replaced by each of several units, a row
// a unit: the figures it can be sorted by, and its rows as a table for
// people, as CSV and as JSON Lines for tools (and the web page).
#ifndef ZELVORN_REPORT_COMPARE_TABLE_H_
#define ZELVORN_REPORT_COMPARE_TABLE_H_

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "combat/prediction.h"
#include "report/prediction_table.h"

// The heading of the units' names, which also sorts by the names.
constexpr std::string_view kCompareNameColumn = "preset";

// The figures that a comparison can be sorted by: kCompareNameColumn and
// the columns of the CSV, such as "defenderLosses".
std::vector<std::string_view> compareSortNames();

// A unit's row: the unit's name and its figures, or, where its combat
// cannot be computed, what is wrong with it in their place (the field and
// the message of its first problem, and the two as a message writes them).
struct ComparedUnit {
  std::string_view name;
  const SupportFire* supportFire = nullptr;  // set when the row has figures
  const Prediction* prediction = nullptr;
  std::string_view errorField;
  std::string_view errorMessage;
  std::string errorText;
};

// The rows as a table under a two-line heading, each name cut short where
// the table would be wider than kTableWidth, a row's error in place of its
// figures as "field: message".
std::string compareTable(std::span<const ComparedUnit> rows);

// The CSV heading line, the names' column first and the errors' last.
std::string compareCsvHeading();

// One CSV line: the name, the figures (a rugged outcome that is not
// possible left empty) and the error, as "field: message", or empty.
std::string compareCsvLine(const ComparedUnit& row);

// One row as one line of JSON, an object (no line feed): "preset", the
// unit's name, then the prediction's figures as --scenario --json gives
// them, or an "error" object of the field and the message.
std::string compareRowJson(const ComparedUnit& row);

#endif  // ZELVORN_REPORT_COMPARE_TABLE_H_
