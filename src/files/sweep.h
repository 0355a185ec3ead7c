// "What if": one scenario predicted for every whole value of one of its
// fields.  The sweep is checked whole before any row is made; the rows are
// written by the report's table, CSV and JSON Lines writers.
#ifndef ZELVORN_FILES_SWEEP_H_
#define ZELVORN_FILES_SWEEP_H_

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "combat/combat.h"
#include "files/problem.h"
#include "files/scenario_reader.h"
#include "report/prediction_table.h"
#include "scenario/field_path.h"

// The most values one sweep may take.
constexpr std::int64_t kMostSweepValues = 100000;

// FIELD=FROM..TO as the command line gives it.
struct SweepRequest {
  std::string field;
  std::int64_t from = 0;
  std::int64_t to = 0;
};

// Parses FIELD=FROM..TO, with FIELD the name of a whole-number field and
// FROM..TO within its range; the problem names FIELD when it is at fault,
// no field when the text is not of that form.
OrProblems<SweepRequest> parseSweepRequest(std::string_view text);

// What is wrong with a request given as data rather than as text: FIELD
// is not a whole-number field, or FROM..TO is not within its range or
// holds too many values; none when it may be planned.
Problems checkSweepRequest(const SweepRequest& request);

// The values FROM..TO that a chart sweeps for a field of the range
// `minimum`..`maximum` (at least 0) whose value is `current`: from the
// minimum to twice the current value or to the minimum plus 20, at most 200
// values, then around the current value, never past the maximum.
std::pair<std::int64_t, std::int64_t> sweepRange(std::int64_t minimum, std::int64_t maximum,
                                                 std::int64_t current);

// Which of the combat's questions are asked.
using AskedSet = std::bitset<kFieldCount>;

// A sweep checked against its scenario and ready to give its rows.
struct SweepPlan {
  SweepRequest request;
  FieldPath path;
  CombatScenario given;    // the scenario as given
  GivenFields givenFields;
  CombatScenario base;     // as checked, with every unit the sweep needs
  bool unitsKept = true;   // the check dropped no supporting unit
  AskedSet baseAsked;
  std::optional<PreparedCombat> prepared;  // when the times attacked vary
  CombatScenario work;     // the scenario of the last row
};

// The sweep of `request` over the scenario `text`, or the problems that
// refuse it: the field is not in this scenario or not asked for its combat,
// the values leave its range or are too many, or a value gives an invalid
// scenario.  The scenario itself must be valid.
OrProblems<SweepPlan> planSweep(const ScenarioText& text,
                                const SweepRequest& request);

// The fields that a sweep of the scenario `checked` (as checked) takes, by
// their dotted names in the order of the dialogue: every whole number, of
// the combat, of an entry of its bars or of a supporting unit it keeps,
// that planSweep finds in the scenario and asked.
std::vector<std::string> sweptFields(const CombatScenario& checked);

// One row of the sweep.
struct SweepRow {
  std::int64_t value = 0;
  CombatPrediction predicted;
};

// The prediction for `value` (from the plan's FROM to TO).
SweepRow sweepRow(SweepPlan* plan, std::int64_t value);

#endif  // ZELVORN_FILES_SWEEP_H_
