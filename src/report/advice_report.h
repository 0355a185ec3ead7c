// What would help: the rows of a combat's changes in a player's words, with
// their figures and each figure's difference from the combat as given, as a
// table, CSV or JSON Lines.  The command line and the web page both take
// the rows' words from here.
#ifndef ZELVORN_REPORT_ADVICE_REPORT_H_
#define ZELVORN_REPORT_ADVICE_REPORT_H_

#include <nlohmann/json.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "combat/advice.h"
#include "combat/prediction.h"
#include "scenario/combat_scenario.h"

// The words of a change as a player would say it: "Attack it 2 more times
// first", "Silence artillery piece 2 first", "Leave the river first",
// "Attack from range 2", "Attack with NAME instead" (`presetName` is the
// preset's name).
std::string changeWords(const Change& change, std::string_view presetName = {});

// One row: the change, the fields it changed as a JSON merge patch of the
// scenario as given (so that the changed scenario can be written out), the
// changed scenario as checked, and its prediction, or why it could not be
// computed.
struct AdviceRow {
  Change change;
  std::string presetName;
  nlohmann::ordered_json changed = nlohmann::ordered_json::object();
  CombatScenario scenario;
  bool failed = false;
  std::string errorField;
  std::string errorMessage;
  std::string errorText;  // the two as a message writes them
  SupportFire supportFire;
  Prediction prediction;
};

// The figures that a row shows, as places among figureColumns(): the
// attacker's and the defender's losses, the suppression and the rugged
// chance.
constexpr std::size_t kAdviceFigures = 4;
std::array<std::size_t, kAdviceFigures> adviceFigureColumns();

// The row's figures less those of `asGiven`, in the order of
// adviceFigureColumns().
std::array<std::int64_t, kAdviceFigures> adviceDifferences(
    const AdviceRow& row, const AdviceRow& asGiven);

// The rows as a table at most kTableWidth wide, the first row (the combat
// as given) with its figures alone and every other with each figure's
// difference beside it; a row that could not be computed shows why.
std::string adviceTable(const std::vector<AdviceRow>& rows);

// The rows as CSV under a heading line: the change's words, every figure as
// --compare --csv gives it, the error, the four differences and the changed
// fields as JSON text.
std::string adviceCsv(const std::vector<AdviceRow>& rows);

// One row as a JSON object: "change" (its words), "changed" (the merge
// patch), the prediction as --scenario --json gives it and "differences",
// or "error" in place of the last two.
nlohmann::ordered_json adviceRowJson(const AdviceRow& row,
                                     const AdviceRow& asGiven);

// The rows as JSON Lines, one adviceRowJson a line.
std::string adviceJsonLines(const std::vector<AdviceRow>& rows);

#endif  // ZELVORN_REPORT_ADVICE_REPORT_H_
