// Predictions side by side, one row each: a table for people, CSV and JSON
// Lines for tools.  A row is a label (a swept value, or a combat's name)
// and the prediction's figures.
#ifndef ZELVORN_REPORT_PREDICTION_TABLE_H_
#define ZELVORN_REPORT_PREDICTION_TABLE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "combat/prediction.h"

enum class OutputFormat { text, json, csv };

// The figures of a row, in the order of the columns: the odds, the odds
// without support, the rugged-defense chance and outcome.
constexpr std::size_t kTableFigures = 10;

struct TableRow {
  std::string label;
  std::array<std::int64_t, kTableFigures> figures{};
  bool rugged = false;  // a rugged defense is possible: its outcome counts
  // Why the row has no figures (a combat that could not be computed); its
  // figures are then not shown.
  std::string error;
};

// How labels stand in their column: numbers to the right, names to the left.
enum class LabelAlign { right, left };

// The row of `prediction` under `label`.
TableRow tableRow(std::string label, const Prediction& prediction);

// The rows as a table under a two-line heading, `labelHeading` over the
// labels, each column as wide as its widest cell.  Where support fire
// changed the odds of some row, each odds cell shows the odds without
// support beside them, "2 (3)"; rugged outcomes that no row has are left
// out, and beside those that some row has the suppression columns are
// headed "supp.", so that the table stays narrow.  A row with an error
// shows the error in place of its figures, and counts for no column.
std::string predictionTable(std::string_view labelHeading,
                            const std::vector<TableRow>& rows,
                            LabelAlign align = LabelAlign::right);

// The CSV heading line, every column named, `labelHeading` first; with
// `withError`, a last column for the rows' errors.
std::string csvHeading(std::string_view labelHeading, bool withError = false);

// One CSV line; a rugged outcome that is not possible is left empty, as
// are the figures of a row with an error.  The label is quoted where it
// holds a separator, a quote or a line break.
std::string csvLine(const TableRow& row, bool withError = false);

// One line of JSON Lines for a swept value: the field, the value, and the
// prediction as --json prints it.
std::string sweepJsonLine(std::string_view field, std::int64_t value,
                          const SupportFire& supportFire,
                          const Prediction& prediction);

#endif  // ZELVORN_REPORT_PREDICTION_TABLE_H_
