// Rows of predictions under names: the table for people (names to the left,
// measured as a terminal shows them, a row's error in place of its figures)
// and CSV for tools (every column, names quoted where they must be).
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "report/prediction_table.h"

namespace {

TableRow row(std::string label, std::array<std::int64_t, kTableFigures> figures,
             bool rugged, std::string error = "") {
  return {std::move(label), figures, rugged, std::move(error)};
}

const std::vector<TableRow>& namedRows() {
  static const std::vector<TableRow> rows = {
      row("\xc3\x9cnit", {1, 6, 3, 1, 6, 3, 0, 0, 0, 0}, false),
      row("Long name, B", {2, 5, 0, 2, 5, 0, 0, 0, 0, 0}, false),
      // An error row's figures count for no column: these would show the
      // columns without support and the rugged outcome.
      row("Gap", {9, 9, 9, 1, 1, 1, 50, 1, 1, 1}, true,
          "attacker.strength: missing"),
  };
  return rows;
}

TEST(PredictionTable, NamesStandLeftAndAnErrorTakesTheFiguresPlace) {
  EXPECT_EQ(predictionTable("preset", namedRows(), LabelAlign::left),
            "              odds                             rugged defense\n"
            "preset        attacker  defender  suppression  chance\n"
            "\xc3\x9cnit                 1         6            3       0\n"
            "Long name, B         2         5            0       0\n"
            "Gap           attacker.strength: missing\n");
}

// The layouts of the text table: the odds without support in brackets only
// where support fire changed some row's odds, the rugged outcome only where
// some row has one (with short suppression headings beside it), and every
// column as wide as its widest cell.
TEST(PredictionTable, ShowsOnlyWhatDiffersAndStaysNarrow) {
  struct Case {
    const char* what;
    std::vector<TableRow> rows;
    std::string table;
  };
  const Case cases[] = {
      {"support fire changed one figure of one row",
       {row("1", {4, 5, 3, 4, 5, 3, 0, 0, 0, 0}, false),
        row("2", {4, 5, 2, 4, 5, 3, 0, 0, 0, 0}, false)},
       "   odds (without support)           rugged defense\n"
       "x  attacker  defender  suppression  chance\n"
       "1     4 (4)     5 (5)        3 (3)       0\n"
       "2     4 (4)     5 (5)        2 (3)       0\n"},
      {"a rugged outcome in one row, \"-\" in the other",
       {row("1", {4, 5, 3, 4, 5, 3, 0, 0, 0, 0}, false),
        row("2", {4, 5, 3, 4, 5, 3, 25, 6, 1, 0}, true)},
       "   odds                       rugged defense\n"
       "x  attacker  defender  supp.  chance  attacker  defender  supp.\n"
       "1         4         5      3       0         -         -      -\n"
       "2         4         5      3      25         6         1      0\n"},
      {"cells wider than their headings widen their columns",
       {row("1", {123456789, 5, 12, 1, 5, 3, 100, 1, 1, 1234567}, true)},
       "   odds (without support)           rugged defense\n"
       "x       attacker  defender   supp.  chance  attacker  defender    "
       "supp.\n"
       "1  123456789 (1)     5 (5)  12 (3)     100         1         1  "
       "1234567\n"},
      {"a row with an error counts for no column",
       {row("1", {4, 5, 3, 4, 5, 3, 0, 0, 0, 0}, false),
        row("2", {1, 1, 1, 9, 9, 9, 50, 1, 1, 1}, true, "wrong")},
       "   odds                             rugged defense\n"
       "x  attacker  defender  suppression  chance\n"
       "1         4         5            3       0\n"
       "2  wrong\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(predictionTable("x", c.rows), c.table) << c.what;
  }
}

TEST(PredictionTable, CsvKeepsEveryColumnAndQuotesNames) {
  std::string csv = csvHeading("preset", true);
  for (const TableRow& r : namedRows()) csv += csvLine(r, true);
  EXPECT_EQ(csv,
            "preset,attackerLosses,defenderLosses,defenderSuppression,"
            "attackerLossesNoSupport,defenderLossesNoSupport,"
            "defenderSuppressionNoSupport,ruggedChance,ruggedAttackerLosses,"
            "ruggedDefenderLosses,ruggedDefenderSuppression,error\n"
            "\xc3\x9cnit,1,6,3,1,6,3,0,,,,\n"
            "\"Long name, B\",2,5,0,2,5,0,0,,,,\n"
            "Gap,,,,,,,,,,,attacker.strength: missing\n");
  // Without the error column, as --vary writes it.
  EXPECT_EQ(csvLine(namedRows()[0]), "\xc3\x9cnit,1,6,3,1,6,3,0,,,\n");
}

}  // namespace
