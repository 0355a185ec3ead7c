// Predictions side by side, one row each: a table for people, CSV and JSON
// Lines for tools.  A row is a label (a swept value, or a combat's name)
// and the prediction's figures.
#ifndef ZELVORN_REPORT_PREDICTION_TABLE_H_
#define ZELVORN_REPORT_PREDICTION_TABLE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "combat/prediction.h"

enum class OutputFormat { text, json, csv };

// The figures of a row, in the order of the columns: the odds, the odds
// without support, the rugged-defense chance and outcome.
constexpr std::size_t kTableFigures = 10;

// A figure's column: its name as the CSV heads it and a comparison is
// sorted by it, its place in the text table's two-line heading (under
// `group`, which heads the first column of a group; a shorter name beside
// the rugged outcome, to stay narrow; none for the odds without support,
// which stand in the odds' own cells), which way is better for the
// attacker, and whether it is an outcome of a rugged defense, blank when
// none is possible.
struct FigureColumn {
  std::string_view name;
  std::string_view group;
  std::string_view heading;
  std::string_view shortHeading;
  bool moreIsBetter;
  bool ruggedOutcome;
};

// The figures' columns, in the order of a row's figures.
std::span<const FigureColumn, kTableFigures> figureColumns();

// Where the figures of the usual order stand among the columns.
namespace figure_column {
constexpr std::size_t kAttackerLosses = 0;
constexpr std::size_t kDefenderLosses = 1;
constexpr std::size_t kDefenderSuppression = 2;
constexpr std::size_t kRuggedChance = 6;
}  // namespace figure_column

struct TableRow {
  std::string label;
  std::array<std::int64_t, kTableFigures> figures{};
  bool rugged = false;  // a rugged defense is possible: its outcome counts
  // Why the row has no figures (a combat that could not be computed); its
  // figures are then not shown.
  std::string error;
};

// What the rows' labels are: numbers (swept values), which stand to the
// right and are never cut short, or names, which stand to the left, are cut
// short where the table would be too wide, and are text in CSV.
enum class LabelKind { number, name };

// The widest a text table is, in characters.
constexpr std::size_t kTableWidth = 80;

// Whether the row's figure in `column` is blank: a rugged outcome where no
// rugged defense is possible.
bool blank(const TableRow& row, std::size_t column);

// The row of `prediction` under `label`.
TableRow tableRow(std::string label, const Prediction& prediction);

// The rows as a table under a two-line heading, `labelHeading` over the
// labels, each column as wide as its widest cell.  In an odds column where
// support fire changed some row's figure, each cell shows the figure without
// support beside it, "2 (3)"; the rugged-defense chance is left out when it
// is 0 in every row, rugged outcomes that no row has are left out, and
// beside those that some row has the suppression columns are headed
// "supp.", so that the table stays narrow.  A heading or a name that would
// make the table wider than kTableWidth is cut short, ending in "...".  A
// row with an error shows the error in place of its figures (over several
// lines where it is long), and counts for no column.
std::string predictionTable(std::string_view labelHeading,
                            const std::vector<TableRow>& rows,
                            LabelKind labels = LabelKind::number);

// The CSV heading line, every column named, `labelHeading` first; with
// `withError`, a last column for the rows' errors.
std::string csvHeading(std::string_view labelHeading, bool withError = false);

// One CSV line; a rugged outcome that is not possible is left empty, as
// are the figures of a row with an error.  A text (a name, an error) is
// quoted where it holds a separator, a quote or a line break, and where a
// spreadsheet would take it for a formula (it begins with =, +, -, @, a tab
// or a carriage return) it is quoted with a ' before it, so that it stays
// text.
std::string csvLine(const TableRow& row, LabelKind labels = LabelKind::number,
                    bool withError = false);

// One line of JSON Lines for a swept value: the field, the value, and the
// prediction as --json prints it.
std::string sweepJsonLine(std::string_view field, std::int64_t value,
                          const SupportFire& supportFire,
                          const Prediction& prediction);

// The width of `text` as a terminal shows it (UTF-8 counted by
// characters), and `text` cut short to `width` places, ending in "...",
// as the tables cut a long name.
std::size_t displayWidth(std::string_view text);
std::string fittedToWidth(std::string_view text, std::size_t width);

// `text` as one CSV field, quoted as csvLine quotes a text.
std::string csvField(std::string_view text);

#endif  // ZELVORN_REPORT_PREDICTION_TABLE_H_
