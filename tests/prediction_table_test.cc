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
  EXPECT_EQ(predictionTable("preset", namedRows(), LabelKind::name),
            "              odds\n"
            "preset        attacker  defender  suppression\n"
            "\xc3\x9cnit                 1         6            3\n"
            "Long name, B         2         5            0\n"
            "Gap           attacker.strength: missing\n");
}

// Every table fits in 80 columns: a long name or heading is cut short, as
// wide as a terminal shows it, and a long error goes on over more lines;
// numbers are never cut.
TEST(PredictionTable, StaysWithinEightyColumns) {
  const std::string aeroe = "\xc3\x86r\xc3\xb8sk\xc3\xb8" "bing";  // 10 wide
  const std::array<std::int64_t, kTableFigures> figures = {1, 6, 3, 1, 6,
                                                           3, 0, 0, 0, 0};
  EXPECT_EQ(predictionTable("preset", {row(aeroe, figures, false),
                                       row("Brass", figures, false)},
                            LabelKind::name),
            "            odds\n"
            "preset      attacker  defender  suppression\n" +
                aeroe + "         1         6            3\n"
                "Brass              1         6            3\n");
  const std::string sixty(60, 'L');
  const std::string table = predictionTable(
      "preset",
      {row(sixty, figures, false),
       row("Gap", figures, false,
           "general.attackerClass: missing (allowed: \"infantry\", \"tank\", "
           "\"recon\", \"anti-tank\", \"fort\", or 1 to 11)")},
      LabelKind::name);
  // The figures take 33 columns, which leaves the names 47.
  const std::string indent(49, ' ');
  EXPECT_EQ(table,
            indent + "odds\n" + "preset" + std::string(43, ' ') +
                "attacker  defender  suppression\n" + sixty.substr(0, 44) +
                "...         1         6            3\n"
                "Gap" + std::string(46, ' ') +
                "general.attackerClass: missing\n" + indent +
                "(allowed: \"infantry\", \"tank\",\n" + indent +
                "\"recon\", \"anti-tank\", \"fort\",\n" + indent +
                "or 1 to 11)\n");
  const std::array<std::int64_t, kTableFigures> rugged = {5, 0, 0, 5, 1, 0,
                                                          40, 7, 0, 0};
  EXPECT_EQ(predictionTable("artillery.2.combatSupport.1",
                            {row("999999999", rugged, true)}),
            "                    odds (without support)     rugged defense\n"
            "artillery.2.com...  attacker  defender  supp.  chance  attacker  "
            "defender  supp.\n"
            "         999999999         5     0 (1)      0      40         7  "
            "       0      0\n");
}

// The layouts of the text table: the odds without support in brackets only
// in the columns where support fire changed some row's figure, the rugged
// chance only where some row's is not 0, the rugged outcome only where some
// row has one (with short suppression headings beside it), and every column
// as wide as its widest cell.
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
       "   odds (without support)\n"
       "x  attacker  defender  suppression\n"
       "1         4         5        3 (3)\n"
       "2         4         5        2 (3)\n"},
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
       "1  123456789 (1)         5  12 (3)     100         1         1  "
       "1234567\n"},
      {"a row with an error counts for no column",
       {row("1", {4, 5, 3, 4, 5, 3, 0, 0, 0, 0}, false),
        row("2", {1, 1, 1, 9, 9, 9, 50, 1, 1, 1}, true, "wrong")},
       "   odds\n"
       "x  attacker  defender  suppression\n"
       "1         4         5            3\n"
       "2  wrong\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(predictionTable("x", c.rows), c.table) << c.what;
  }
}

TEST(PredictionTable, CsvKeepsEveryColumnAndQuotesNames) {
  std::string csv = csvHeading("preset", true);
  for (const TableRow& r : namedRows()) csv += csvLine(r, LabelKind::name, true);
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

// A name or an error that a spreadsheet would take for a formula is quoted
// with a ' before it, so that it is shown as text; numbers stay numbers.
TEST(PredictionTable, CsvKeepsTextsFromBecomingFormulas) {
  const std::array<std::int64_t, kTableFigures> figures = {1, 6, -3, 1, 6,
                                                           -3, 0, 0, 0, 0};
  for (const auto& [label, field] :
       {std::pair{"=SUM(A1)", "\"'=SUM(A1)\""}, {"+1", "\"'+1\""},
        {"-1", "\"'-1\""}, {"@cmd", "\"'@cmd\""}, {"\tx", "\"'\tx\""},
        {"\rx", "\"'\rx\""}, {"=a,\"b\"", "\"'=a,\"\"b\"\"\""},
        {"a=1", "a=1"}, {"Bo-ar", "Bo-ar"}}) {
    EXPECT_EQ(csvLine(row(label, figures, false), LabelKind::name),
              std::string(field) + ",1,6,-3,1,6,-3,0,,,\n")
        << label;
  }
  EXPECT_EQ(csvLine(row("-5", figures, false)), "-5,1,6,-3,1,6,-3,0,,,\n");
  EXPECT_EQ(csvLine(row("Gap", figures, false, "-x: missing"), LabelKind::name,
                    true),
            "Gap,,,,,,,,,,,\"'-x: missing\"\n");
}

}  // namespace
