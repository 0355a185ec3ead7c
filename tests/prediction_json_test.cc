// Predictions as JSON: every figure under its name, and null where a figure
// does not exist; written directly, byte for byte as the JSON library
// writes the same values.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "report/compare_table.h"
#include "report/json_text.h"
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
    EXPECT_EQ(predictionJsonText(c.fire, c.prediction), c.expected);
    EXPECT_EQ(predictionJson(c.fire, c.prediction).dump(), c.expected);
  }
}

TEST(PredictionJson, NumbersAtTheirLimits) {
  for (const std::int64_t n : {std::numeric_limits<std::int64_t>::min(), std::int64_t{-1},
                               std::int64_t{0}, std::numeric_limits<std::int64_t>::max()}) {
    Prediction p;
    p.timesAttacked = n;
    p.ruggedChance = 1;
    p.rugged.defenderSuppressionNoSupport = n;
    p.odds.defenderSuppressionNoSupport = n;
    SupportFire fire;
    fire.units = {{n, n, n, n, false}};
    fire.suppressionTotal = n;
    const std::string text = predictionJsonText(fire, p);
    EXPECT_EQ(text, nlohmann::ordered_json::parse(text).dump()) << n;
    EXPECT_EQ(nlohmann::ordered_json::parse(text)["odds"]["attackerLosses"], 0);
    EXPECT_EQ(nlohmann::ordered_json::parse(text)["oddsNoSupport"]["defenderSuppression"], n);
  }
}

// A text as a JSON string, escaped where the JSON library escapes it and
// nowhere else.
TEST(JsonText, StringsAsTheLibraryWritesThem) {
  std::vector<std::string> texts = {"",
                                    "Unit 1",
                                    "quote \" and back\\slash",
                                    "a/b \x7f" "del",
                                    "\xc3\xbc" "nic\xc3\xb8" "d\xc3\xa9 \xe2\x9c\x93 \xf0\x9f\x98\x80",
                                    "=1+2,\"x\"",
                                    std::string("nul\0inside", 11)};
  std::string controls;
  for (char c = 1; c < 0x20; ++c) controls += c;
  texts.push_back(controls);
  for (const std::string& text : texts) {
    EXPECT_EQ(jsonString(text), nlohmann::json(text).dump()) << text;
  }
}

// A comparison's row: the name first, then the prediction's members in the
// same object, or the row's error.
TEST(CompareJson, NameThenFiguresOrError) {
  SupportFire fire;
  Prediction p;
  p.timesAttacked = 1;
  p.odds = {1, 11, 1, 2, 12, 3};
  const std::string figures = predictionJsonText(fire, p);
  ComparedUnit unit;
  unit.name = "Tank \"A\"";
  unit.supportFire = &fire;
  unit.prediction = &p;
  EXPECT_EQ(compareRowJson(unit), R"({"preset":"Tank \"A\"",)" + figures.substr(1));

  ComparedUnit failed;
  failed.name = "Scout";
  failed.errorField = "strength";
  failed.errorMessage = "missing (allowed: 1 to 999999999)";
  EXPECT_EQ(compareRowJson(failed),
            R"x({"preset":"Scout","error":{"field":"strength",)x"
            R"x("message":"missing (allowed: 1 to 999999999)"}})x");
  // Figures without their support fire are no figures.
  failed.prediction = &p;
  EXPECT_EQ(compareRowJson(failed).find("timesAttacked"), std::string::npos);
}

}  // namespace
