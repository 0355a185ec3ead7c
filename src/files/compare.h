// One combat against many units: a scenario's attacker (or defender)
// replaced by each preset of the roster for that side in turn, a row of
// figures per preset, as a table sorted best first, CSV or JSON Lines.
#ifndef ZELVORN_FILES_COMPARE_H_
#define ZELVORN_FILES_COMPARE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "combat/prediction.h"
#include "files/roster_reader.h"
#include "files/scenario_reader.h"
#include "files/sweep.h"
#include "io/output.h"
#include "report/compare_table.h"

// What --compare and --sort ask for: the side whose unit is replaced, and
// the figure that orders the table (empty for the usual order).
struct CompareRequest {
  Side side = Side::attacker;
  std::string sort;
};

// One preset's row: its figures, or the reason it does not fit the
// scenario (a question that it leaves unanswered).
struct CompareRow {
  const Preset* preset = nullptr;
  std::optional<Problem> error;
  SupportFire supportFire;
  Prediction prediction;
};

// The row as the report's writers of a comparison take it, pointing into
// `row`.
ComparedUnit comparedUnit(const CompareRow& row);

// The rows of every preset for `side`, in the order of the roster.
std::vector<CompareRow> compareRows(const ScenarioText& scenario,
                                    const Roster& roster, Side side);

// Orders the rows best first for the attacker by `sort` (see
// compareSortNames; empty: the defender's losses, most first, then the
// attacker's, fewest first), rows with an error last; rows that tie on
// `sort` (or on both usual figures) keep the roster's order.
void sortRows(std::vector<CompareRow>* rows, std::string_view sort);

// The place among figureColumns() of the figure that `sort` names; nothing
// for the name or for the usual order (empty).
std::optional<std::size_t> sortColumn(std::string_view sort);

// Whether the figures `a` go before `b`, best for the attacker first: by
// the figure in `column` (a blank one after the others) and then, when
// `usual`, by the usual order; false when they tie.
bool goesBefore(const TableRow& a, const TableRow& b,
                std::optional<std::size_t> column, bool usual);

// Writes the rows as a table with a heading, as CSV or as JSON Lines, with
// the report's writers of a comparison.
void writeCompare(const std::vector<CompareRow>& rows, OutputFormat format,
                  Output* out);

#endif  // ZELVORN_FILES_COMPARE_H_
