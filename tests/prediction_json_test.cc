// Predictions as JSON: every figure under its name, and null where a figure
// does not exist.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/prediction_json.h"

namespace {

Prediction tanksPrediction() {
  Prediction p;
  p.timesAttacked = 2;
  p.odds = {4, 5, 3, 4, 5, 3};
  p.defenderStrengthWhole = 10;
  return p;
}

TEST(PredictionJson, EveryFigureByName) {
  struct Case {
    const char* name;
    SupportFire fire;
    Prediction prediction;
    std::string expected;
  };
  const std::string odds =
      R"("odds":{"attackerLosses":4,"defenderLosses":5,"defenderSuppression":3},)"
      R"("oddsNoSupport":{"attackerLosses":4,"defenderLosses":5,)"
      R"("defenderSuppression":3}})";
  const std::string noFire =
      R"({"timesAttacked":2,"supportFire":{"kind":"none","units":[],)"
      R"("damageTotal":0,"suppressionTotal":0},)";

  // Figures of a rugged outcome left behind where the chance is 0 are not
  // an outcome.
  Prediction noChance = tanksPrediction();
  noChance.rugged = {6, 6, 1, 1, 1, 1};
  Prediction possible = noChance;
  possible.ruggedChance = 25;
  possible.rugged = {9, 6, 1, 2, 3, 4};
  Prediction certain = possible;
  certain.ruggedChance = 100;

  SupportFire artillery;
  artillery.family = SupportFamily::artillery;
  artillery.units = {{2, 4, 2, 4, false}, {12, 0, 2, 4, true}};
  artillery.damageTotal = 2;
  artillery.suppressionTotal = 4;
  Prediction underFire = tanksPrediction();
  underFire.odds = {6, 2, 1, 4, 5, 3};
  SupportFire airDefense;
  airDefense.family = SupportFamily::airDefense;

  const std::vector<Case> cases = {
      {"no rugged chance", {}, noChance,
       noFire + R"("ruggedChance":0,"rugged":null,)" + odds},
      {"a rugged chance", {}, possible,
       noFire +
           R"("ruggedChance":25,"rugged":{"attackerLosses":9,)"
           R"("defenderLosses":1,"defenderSuppression":2,)"
           R"("attackerLossesNoSupport":6,"defenderLossesNoSupport":3,)"
           R"("defenderSuppressionNoSupport":4},)" +
           odds},
      {"a certain rugged defense", {}, certain,
       noFire +
           R"("ruggedChance":100,"rugged":{"attackerLosses":9,)"
           R"("defenderLosses":1,"defenderSuppression":2,)"
           R"("attackerLossesNoSupport":6,"defenderLossesNoSupport":3,)"
           R"("defenderSuppressionNoSupport":4},)" +
           odds},
      {"artillery, the second piece capped", artillery, underFire,
       R"({"timesAttacked":2,"supportFire":{"kind":"artillery","units":[)"
       R"({"damage":2,"suppression":4,"damageTotal":2,"suppressionTotal":4,)"
       R"("capped":false},)"
       R"({"damage":12,"suppression":0,"damageTotal":2,"suppressionTotal":4,)"
       R"("capped":true}],"damageTotal":2,"suppressionTotal":4},)"
       R"("ruggedChance":0,"rugged":null,)"
       R"("odds":{"attackerLosses":6,"defenderLosses":2,"defenderSuppression":1},)"
       R"("oddsNoSupport":{"attackerLosses":4,"defenderLosses":5,)"
       R"("defenderSuppression":3}})"},
      {"air defense that did nothing", airDefense, tanksPrediction(),
       R"({"timesAttacked":2,"supportFire":{"kind":"airDefense","units":[],)"
       R"("damageTotal":0,"suppressionTotal":0},)"
       R"("ruggedChance":0,"rugged":null,)" +
           odds},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(predictionJson(c.fire, c.prediction).dump(), c.expected);
  }
}

}  // namespace
