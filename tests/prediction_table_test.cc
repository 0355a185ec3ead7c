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
