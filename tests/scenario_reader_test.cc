// Scenarios by name: what the reader takes and makes of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "combat/questions.h"
#include "files/problem.h"
#include "files/scenario_file.h"
#include "files/scenario_reader.h"
#include "files/scenario_source.h"
#include "files/sweep.h"
#include "report/scenario_json.h"
#include "scenario/scenario_fields.h"
#include "web/binding.h"

namespace {

using Json = nlohmann::json;

const std::string kTanks =
    R"({"general":{"attackerClass":2,"defenderClass":2},)"
    R"("attacker":{"attackValue":10,"defenseValue":7,"strength":10},)"
    R"("defender":{"attackValue":8,"defenseValue":6,"strength":10}})";

TEST(ScenarioReader, NotAskedFieldsAreNotedAndTakeTheirNotAskedValue) {
  struct Case {
    const char* name;
    std::string json;
    std::vector<std::string> notes;
  };
  const std::vector<Case> cases = {
      {"an infantry leader for a tank",
       R"({"general":{"attackerClass":2,"defenderClass":2,)"
       R"("attackerInfantryLeader":true},)"
       R"("attacker":{"attackValue":10,"strength":10},"defender":{"strength":10}})",
       {"general.attackerInfantryLeader"}},
      {"the class of an artillery attacker's target",
       R"({"general":{"attackerClass":6,"defenderClass":1},)"
       R"("attacker":{"attackValue":10,"strength":10},"defender":{"strength":10}})",
       {"general.defenderClass"}},
      {"a ship's earlier attacks and the air defense of a ship",
       R"({"general":{"attackerClass":10,"defenderClass":2},)"
       R"("attacker":{"attackValue":10,"strength":10},"defender":{"strength":10},)"
       R"("timesAttacked":3,"airDefense":[{"strength":5}]})",
       {"airDefense", "timesAttacked"}},
      {"terrain after a yes",
       R"({"general":{"attackerClass":2,"defenderClass":2},)"
       R"("attacker":{"attackValue":10,"initiative":4,"strength":10},)"
       R"("defender":{"strength":10},)"
       R"("terrain":{"clearOrSandy":true,"forest":true}})",
       {"terrain.forest"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CheckedScenario reading = readScenario(c.json);
    ASSERT_TRUE(reading.errors.told.empty()) << reading.errors.told.front().message;
    std::vector<std::string> noted;
    for (const Problem& note : reading.notes) noted.push_back(note.field);
    EXPECT_EQ(noted, c.notes);
  }
  const CombatScenario artillery =
      readScenario(cases[1].json).scenario;
  EXPECT_EQ(artillery.defenderClass, unit_class::kTank);
  const CombatScenario ship = readScenario(cases[2].json).scenario;
  EXPECT_EQ(ship.timesAttacked, 0);
  EXPECT_TRUE(ship.airDefense.empty());
}

TEST(ScenarioReader, AnswersAsTheDialogueTakesThem) {
  // An artillery attacker's target declared infantry is infantry; a
  // half-track fights as a tank and its infantry's leader is asked.
  const CombatScenario s = readScenario(
      R"({"general":{"attackerClass":6,"defenderIsInfantry":true},)"
      R"("attacker":{"attackValue":10,"strength":10},"defender":{"strength":10}})")
                               .scenario;
  EXPECT_EQ(s.defenderClass, unit_class::kInfantry);
  const CheckedScenario halfTrack = readScenario(
      R"({"general":{"attackerClass":11,"defenderClass":12,)"
      R"("attackerInfantryLeader":false},)"
      R"("attacker":{"attackValue":10,"strength":10},"defender":{"strength":10}})");
  EXPECT_TRUE(halfTrack.notes.empty());
  EXPECT_EQ(halfTrack.scenario.attackerClass, unit_class::kTank);
  EXPECT_EQ(halfTrack.scenario.defenderClass, unit_class::kBomber);
  EXPECT_EQ(halfTrack.scenario.attackerInfantryLeader, answer::kNo);
  // null is any other answer: neither yes nor no.
  const CombatScenario neither = readScenario(
      R"({"general":{"attackerClass":1,"defenderClass":1,"isAssault":null},)"
      R"("attacker":{"attackValue":10,"strength":10},"defender":{"strength":10}})")
                                     .scenario;
  EXPECT_FALSE(isYes(neither.isAssault));
  EXPECT_FALSE(isNo(neither.isAssault));
}

TEST(ScenarioReader, ScenariosSurviveTheWayThroughJson) {
  // A combat with every kind of answer, written and read again.
  const std::string text =
      R"({"general":{"attackerClass":"infantry","defenderClass":"infantry",)"
      R"("isAssault":false,)"
      R"("attackerInfantryLeader":null,"defenderInfantryLeader":true,)"
      R"("snowOrRain":false},"attacker":{"attackValue":9,"initiative":3,)"
      R"("defenseValue":6,"rangedDefense":1,"experience":2,"firingRange":1,)"
      R"("strength":15,"entrenchment":1,"inCityForestMountain":false,)"
      R"("inRiver":false,"canMoveAfter":true,"combatSupport":[1,2],)"
      R"("leaderChoice":"First Strike"},"defender":{"attackValue":7,)"
      R"("initiative":2,)"
      R"("defenseValue":5,"rangedDefense":2,"experience":1,"firingRange":1,)"
      R"("strength":10,"entrenchment":2,"inRiver":false,"outOfAmmo":false,)"
      R"("outOfFuel":false,"combatSupport":[],"leaderChoice":"Resilience"},)"
      R"("terrain":{"clearOrSandy":false,"roughBocageOrHills":true},)"
      R"("attackerCloseDefense":4,"artillery":[{"attackValue":8,)"
      R"("experience":1,"strength":10,"adjacent":true,"combatSupport":[3],)"
      R"("leaderChoice":"Overwhelming Attack"}],"timesAttacked":1})";
  const CheckedScenario reading = readScenario(text);
  ASSERT_TRUE(reading.errors.told.empty()) << reading.errors.told.front().message;
  EXPECT_TRUE(reading.notes.empty());
  EXPECT_EQ(scenarioJson(reading.scenario), text);
  // Files with the menus' numbers read the same.
  std::string numbers = text;
  for (const auto& [word, number] :
       {std::pair{"\"infantry\"", "1"}, {"\"infantry\"", "1"},
        {"\"First Strike\"", "3"}, {"\"Resilience\"", "4"},
        {"\"Overwhelming Attack\"", "2"}}) {
    numbers.replace(numbers.find(word), std::string_view(word).size(), number);
  }
  EXPECT_EQ(scenarioJson(readScenario(numbers).scenario), text);
}

TEST(ScenarioReader, KeepsGoingPastAWrongValue) {
  // The web page still learns which questions stand when one value is wrong.
  const std::string text =
      R"({"general":{"attackerClass":6,"defenderIsInfantry":true},)"
      R"("attacker":{"attackValue":0,"strength":10},"defender":{"strength":10}})";
  const ScenarioText parsed = parseScenario(text);
  EXPECT_TRUE(parsed.complete);
  ASSERT_EQ(parsed.errors.told.size(), 1u);
  EXPECT_EQ(parsed.errors.told[0].field, "attacker.attackValue");
  const Json answer = Json::parse(predictJson(text));
  EXPECT_FALSE(answer.at("valid"));
  EXPECT_EQ(answer.at("error").at("errorText"),
            "\nThe attack value must be a number, and it must be greater than "
            "zero.  Please\nreenter:\n>> ");
  EXPECT_TRUE(answer.at("prediction").is_null());
  const auto asked = answer.at("asked").get<std::vector<std::string>>();
  EXPECT_NE(std::find(asked.begin(), asked.end(), "general.defenderIsInfantry"),
            asked.end());
  EXPECT_EQ(std::find(asked.begin(), asked.end(), "general.defenderClass"),
            asked.end());
}

// Every problem of a scenario as the file's messages give it, the scenario
// standing on the first line of a file "s".
std::string problemLines(std::string_view text) {
  const CheckedScenario checked = readScenario(text);
  std::string lines;
  for (const Problem& problem : checked.errors.told) {
    lines += fileProblemLine("s", 1, problem);
  }
  for (const Problem& note : checked.notes) {
    lines += fileProblemLine("s", 1, note);
  }
  return lines;
}

// kTanks with `from` replaced by `to` (the first time it stands).
std::string tanksWith(std::string_view from, std::string_view to) {
  std::string text = kTanks;
  const std::size_t at = text.find(from);
  if (at == std::string::npos) return "not in kTanks: " + std::string(from);
  return text.replace(at, from.size(), to);
}

TEST(ScenarioReader, ProblemsStandAtTheLineOfTheirField) {
  const std::string kGeneralNames =
      "(allowed: attackerClass, defenderIsInfantry, defenderClass, isAssault, "
      "attackerInfantryLeader, defenderInfantryLeader, snowOrRain, overcast)";
  const std::string kStrong =
      R"({"attackValue":40,"strength":999999999,"adjacent":true})";
  const std::string kDropped =
      ": ignored: the support fire had already reached the attacker's "
      "strength\n";
  struct Case {
    const char* name;
    std::string text;
    std::string lines;  // as the file's messages give them
  };
  const std::vector<Case> cases = {
      {"a misspelt name on the fourteenth line",
       "{\n\"general\": {\n\"attackerClass\": 2,\n\"defenderClass\": 2\n},\n"
       "\"defender\": {\"strength\": 10},\n"
       "\"attacker\": {\n\"attackValue\": 10,\n\n\n\n\n\n"
       "  \"strenght\": 10\n}\n}",
       "s:14: attacker.strenght: unknown name (did you mean "
       "attacker.strength?)\n"
       "s:7: attacker.strength: missing (allowed: 1 to 999999999)\n"},
      {"every problem, each at its own line",
       "{\"general\": {\"attackerClass\": 0,\n\"defenderClass\": true},\n"
       "\"attacker\": {\"attackValue\": 10, \"strength\": 10,\n"
       "\"combatSupport\": [1, \"x\", -1\n]},\n"
       "\"defender\": [],\n\"bogus\": {\"a\": [1, {\"b\": 2}]}}",
       "s:1: general.attackerClass: 0 is out of range (allowed: 1 to 11)\n"
       "s:2: general.defenderClass: must be a whole number (allowed: 1 to 12)\n"
       "s:4: attacker.combatSupport.1: must be a whole number (allowed: 0 to "
       "999999999)\n"
       "s:4: attacker.combatSupport.2: -1 is out of range (allowed: 0 to "
       "999999999)\n"
       "s:6: defender: must be an object (allowed: attackValue, initiative, "
       "defenseValue, rangedDefense, experience, firingRange, strength, "
       "entrenchment, inCityForestMountain, inCity, inRiver, outOfAmmo, "
       "outOfFuel, shipAlreadyAttackedByShip, combatSupport, leaderChoice)\n"
       "s:7: bogus: unknown name (allowed: general, attacker, defender, "
       "terrain, combatRange, attackerCloseDefense, artillery, "
       "attackerGroundDefense, airDefense, airplaneAirDefense, "
       "timesAttacked)\n"},
      {"a supporting unit without strength, at its brace",
       tanksWith("}}", "},\n\"artillery\": [{\"strength\": 3},\n {\"attackValue\": "
                       "2}]}"),
       "s:3: artillery.1.strength: missing (allowed: 1 to 999999999)\n"},
      {"a syntax error at a line break inside an object",
       "{\n  \"general\": {\"attackerClass\": 2,\n\n  }\n}",
       "s:4:3: scenario: not valid JSON: syntax error while parsing object "
       "key - unexpected '}'; expected string literal (allowed: one JSON "
       "object)\n"},
      {"a leading zero is not JSON, not an answer of 0",
       tanksWith("\"attackValue\":10", "\"attackValue\":010"),
       "s:1:78: scenario: not valid JSON: syntax error while parsing object - "
       "unexpected number literal; expected '}' (allowed: one JSON object)\n"},
      {"hexadecimal is not JSON",
       tanksWith("\"attackValue\":10", "\"attackValue\":0x0A"),
       "s:1:77: scenario: not valid JSON: syntax error while parsing object - "
       "invalid literal; last read: '0x'; expected '}' (allowed: one JSON "
       "object)\n"},
      {"a number too large for a double is out of range, and the rest is "
       "read",
       tanksWith("\"attackValue\":10", "\"attackValue\":1e400,\n"
                 "\"initiative\":-123456789e300,\"experience\":-1"),
       "s:1: attacker.attackValue: the number is out of range (allowed: 1 to "
       "999999999)\n"
       "s:2: attacker.initiative: the number is out of range (allowed: 0 to "
       "999999999)\n"
       "s:2: attacker.experience: -1 is out of range (allowed: 0 to "
       "999999999)\n"},
      {"whole numbers written with a fraction or an exponent",
       tanksWith("\"strength\":10", "\"strength\":1E1") + "\n",
       ""},
      {"a fraction",
       tanksWith("\"strength\":10", "\"strength\":10.5"),
       "s:1: attacker.strength: must be a whole number (allowed: 1 to "
       "999999999)\n"},
      {"a whole number beyond 64 bits written with an exponent",
       tanksWith("\"strength\":10", "\"strength\":1e19"),
       "s:1: attacker.strength: the number is out of range (allowed: 1 to "
       "999999999)\n"},
      {"menu entries by their words, case aside",
       tanksWith("\"attackerClass\":2,\"defenderClass\":2",
                 "\"attackerClass\":\"Naval Units\",\"defenderClass\":"
                 "\"air transport\""),
       ""},
      {"an unknown word",
       tanksWith("\"attackerClass\":2", "\"attackerClass\":\"panzer\\n\""),
       "s:1: general.attackerClass: unknown word \"panzer\\n\" (allowed: "
       "\"infantry\", \"tank\", \"recon\", \"anti-tank\", \"fort\", "
       "\"artillery\", \"air-defense\", \"fighter\", \"bomber\", \"naval "
       "units\", \"half-track\", or 1 to 11)\n"},
      {"a word where no menu is",
       tanksWith("\"strength\":10", "\"strength\":\"tank\""),
       "s:1: attacker.strength: must be a whole number (allowed: 1 to "
       "999999999)\n"},
      {"a note at the line of its field",
       tanksWith("\"defender\":{", "\n\"defender\":{\n\"inCity\":true,"),
       "s:3: defender.inCity: ignored: not asked for this combat\n"},
      {"exactly one supporting unit dropped",
       tanksWith("}}", "},\n\"artillery\":[" + kStrong + ",\n" + kStrong + "]}"),
       "s:3: artillery.1" + kDropped},
      {"exactly two supporting units dropped",
       tanksWith("}}", "},\n\"artillery\":[" + kStrong + ",\n" + kStrong + "," +
                           kStrong + "]}"),
       "s:3: artillery.1 to artillery.2" + kDropped},
      {"the names of a unit, in either list, and what each takes",
       tanksWith("}}", "},\n\"artillery\":[{\"strength\":3,\"strenght\":3}],\n"
                       "\"airDefense\":[{\"strength\":2,\"isFighter\":3,\n"
                       "\"combatSupport\":[1,\"x\"],\"leaderChoice\":\"bogus\"},"
                       "\n 5]}"),
       "s:2: artillery.0.strenght: unknown name (did you mean "
       "artillery.0.strength?)\n"
       "s:3: airDefense.0.isFighter: must be true, false or null (allowed: "
       "true, false, null)\n"
       "s:4: airDefense.0.combatSupport.1: must be a whole number (allowed: 0 "
       "to 999999999)\n"
       "s:4: airDefense.0.leaderChoice: unknown word \"bogus\" (allowed: "
       "\"Aggressive Attack\", \"Overwhelming Attack\", \"None of the above\", "
       "or 1 to 3)\n"
       "s:5: airDefense.1: must be an object (allowed: isFighter, attackValue, "
       "experience, strength, combatSupport, leaderChoice)\n"},
      {"a unit's field given twice",
       tanksWith("}}", "},\n\"artillery\":[{\"strength\":3,\n\"strength\":4}]}"),
       "s:3: artillery.0.strength: given twice (allowed: once)\n"},
      {"a unit's menu entry by its words",
       tanksWith("}}", "},\n\"artillery\":[{\"strength\":3,\"attackValue\":1,"
                       "\"leaderChoice\":\"overwhelming attack\"}]}"),
       ""},
      {"a preset that is no text",
       tanksWith("\"attacker\":{", "\"attacker\":{\"preset\":5,"),
       "s:1: attacker.preset: must be the name of a preset (allowed: a text, "
       "with --roster)\n"},
      {"an object and a list where single values belong",
       tanksWith("\"attacker\":{", "\"combatRange\":{\"a\":1},\n"
                                   "\"attacker\":{\"canMoveAfter\":[true],"),
       "s:1: combatRange: must be a whole number (allowed: 1 to 999999999)\n"
       "s:2: attacker.canMoveAfter: must be true, false or null (allowed: "
       "true, false, null)\n"},
      {"names with escapes, each at its own line",
       tanksWith("{\"attackerClass\"",
                 "{\n\"a\\\"b\\\\\":1,\n  \"\\\"\\\"ab\":2,\"attackerClass\""),
       "s:2: general.\"a\\\"b\\\\\": unknown name " + kGeneralNames + "\n"
       "s:3: general.\"\\\"\\\"ab\": unknown name " + kGeneralNames + "\n"},
      {"a group of the wrong kind hides nothing else",
       tanksWith("{\"attackerClass\":2,\"defenderClass\":2}", "[[[2]]]"),
       "s:1: general: must be an object " + kGeneralNames + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(problemLines(c.text), c.lines);
  }
}

// A name stands at its opening quotation mark, escapes and all.
TEST(ScenarioReader, PlacesANameAtItsOpeningMark) {
  for (const std::string name : {"bogus", "\\\"\\\"ab", "a\\\"b\\\\",
                                 "\\u0041\\\"", "\\\\"}) {
    SCOPED_TRACE(name);
    const ScenarioText read =
        parseScenario("{\"general\":{\"" + name + "\":1,\n \"" + name + "x\":2}}");
    ASSERT_EQ(read.errors.told.size(), 2u);
    EXPECT_EQ(read.errors.told[0].place.line, 1u);
    EXPECT_EQ(read.errors.told[0].place.column, 13u);
    EXPECT_EQ(read.errors.told[1].place.line, 2u);
    EXPECT_EQ(read.errors.told[1].place.column, 2u);
  }
}

// With a roster, the attacker and the defender may each name one preset.
TEST(ScenarioReader, TakesOnePresetASide) {
  const ScenarioText read = parseScenario(
      tanksWith("\"attacker\":{", "\"attacker\":{\"preset\":\"Gull\",\n"
                                  "\"preset\":\"Tern\","),
      true);
  EXPECT_EQ(read.attackerPreset, "Gull");
  EXPECT_FALSE(read.defenderPreset.has_value());
  ASSERT_EQ(read.errors.told.size(), 1u);
  EXPECT_EQ(fileProblemLine("s", 1, read.errors.told[0]),
            "s:2: attacker.preset: given twice (allowed: once)\n");
  // A group that is not the attacker's or the defender's names none.
  const ScenarioText general =
      parseScenario(tanksWith("{\"attackerClass\"", "{\"preset\":\"Gull\","
                                                    "\"attackerClass\""),
                    true);
  ASSERT_EQ(general.errors.told.size(), 1u);
  EXPECT_EQ(general.errors.told[0].field, "general.preset");
}

TEST(ScenarioReader, TellsAtMostTwentyProblemsAScenario) {
  std::string general = "{\"general\":{";
  for (int i = 0; i < 23; ++i) general += "\"wrong" + std::to_string(i) + "\":1,";
  const CheckedScenario checked =
      readScenario(tanksWith("{\"general\":{", general));
  ASSERT_EQ(checked.errors.told.size(), kMostProblemsTold);
  EXPECT_EQ(checked.errors.told.back().field, "general.wrong19");
  EXPECT_EQ(checked.errors.untold, 3u);
  EXPECT_EQ(moreProblemsLine("s", 4, checked.errors.untold), "s:4: and 3 more\n");
  // Memory stays bounded however many problems a scenario has: only their
  // number is kept past the first ones.
  std::string bars = "[";
  for (int i = 0; i < 200000; ++i) bars += "-1,";
  bars += "-1]";
  const CheckedScenario wrongBars = readScenario(
      tanksWith("\"defender\":{", "\"defender\":{\"combatSupport\":" + bars + ","));
  EXPECT_EQ(wrongBars.errors.told.size(), kMostProblemsTold);
  EXPECT_EQ(wrongBars.errors.untold, 200001u - kMostProblemsTold);
}

TEST(Binding, PredictsReadsAndSweepsAsTheCommandLine) {
  const Json predicted = Json::parse(predictJson(kTanks));
  ASSERT_TRUE(predicted.at("valid"));
  EXPECT_EQ(predicted.at("prediction").at("odds"),
            Json::parse(R"({"attackerLosses":4,"defenderLosses":5,)"
                        R"("defenderSuppression":3})"));
  // A file read gives the lines --scenario prints on its error output,
  // each with the same as data, "field: message" whole among it.
  const Json imported = Json::parse(
      readJson("{\"general\": 5}\n" + kTanks + "\n", "combats.jsonl"));
  EXPECT_EQ(imported.at("messages"),
            Json::array({"combats.jsonl:1: general: must be an object (allowed: "
                         "attackerClass, defenderIsInfantry, defenderClass, "
                         "isAssault, attackerInfantryLeader, "
                         "defenderInfantryLeader, snowOrRain, overcast)",
                         "combats.jsonl:1: attacker.attackValue: missing "
                         "(allowed: 1 to 999999999)",
                         "combats.jsonl:1: attacker.strength: missing (allowed: "
                         "1 to 999999999)",
                         "combats.jsonl:1: defender.strength: missing (allowed: "
                         "1 to 999999999)"}));
  ASSERT_EQ(imported.at("said").size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    const Json& said = imported.at("said")[i];
    EXPECT_EQ(said.at("program"), imported.at("messages")[i]);
    EXPECT_EQ("combats.jsonl:1: " + said.at("text").get<std::string>(), said.at("program"));
  }
  EXPECT_TRUE(imported.at("refused"));
  EXPECT_EQ(imported.at("shown"), 1);
  EXPECT_EQ(imported.at("values").at("attacker.strength"), 10);
  const Json empty = Json::parse(readJson("\n\n", "empty.jsonl"));
  EXPECT_EQ(empty.at("messages"),
            Json::array({"empty.jsonl:1: scenario: the file holds no scenario "
                         "(allowed: JSON Lines, or one JSON object)"}));
  EXPECT_TRUE(empty.at("refused"));
  EXPECT_TRUE(empty.at("shown").is_null());
  // The figures as --scenario prints them, for a scenario it takes.
  const Json result = Json::parse(resultTextJson(kTanks));
  EXPECT_NE(result.at("text").get<std::string>().find("5"), std::string::npos);
  EXPECT_TRUE(Json::parse(resultTextJson("{}")).at("text").is_null());
  // The chart comes with the prediction: the attacker's strength unless
  // another field is asked for and --vary takes it, over the range around
  // its value, each row as --vary --json gives it.
  const Json chart = predicted.at("chart");
  EXPECT_EQ(chart.at("field"), "attacker.strength");
  EXPECT_EQ(chart.at("value"), 10);
  EXPECT_EQ(chart.at("from"), 1);
  EXPECT_EQ(chart.at("to"), 21);
  EXPECT_TRUE(chart.at("valid"));
  EXPECT_TRUE(chart.at("error").is_null());
  ASSERT_EQ(chart.at("rows").size(), 21u);
  for (std::size_t i = 0; i < 21; ++i) {
    EXPECT_EQ(chart.at("rows")[i].at("field"), "attacker.strength");
    EXPECT_EQ(chart.at("rows")[i].at("value"), i + 1);
  }
  EXPECT_EQ(chart.at("rows")[9].at("odds"), predicted.at("prediction").at("odds"));
  EXPECT_EQ(chart.at("rows")[9].at("supportFire"), predicted.at("prediction").at("supportFire"));
  const Json attack = Json::parse(predictJson(kTanks, "defender.attackValue")).at("chart");
  EXPECT_EQ(attack.at("field"), "defender.attackValue");
  EXPECT_EQ(attack.at("value"), 8);
  EXPECT_EQ(attack.at("from"), 0);
  EXPECT_EQ(attack.at("to"), 20);
  EXPECT_EQ(attack.at("rows").size(), 21u);
  // A field that --vary does not take for this combat leaves the chart to
  // the attacker's strength.
  for (const char* other : {"artillery.0.strength", "nonsense", "general.isAssault", ""}) {
    EXPECT_EQ(Json::parse(predictJson(kTanks, other)).at("chart").at("field"),
              "attacker.strength") << other;
  }
  EXPECT_TRUE(Json::parse(predictJson("{}", "attacker.strength")).at("chart").is_null());
  // A value that asks a question the scenario leaves unanswered stops the
  // chart, with --vary's message: a firing range of 2 asks the range of the
  // combat.
  const Json stopped = Json::parse(predictJson(kTanks, "attacker.firingRange")).at("chart");
  EXPECT_EQ(stopped.at("field"), "attacker.firingRange");
  EXPECT_FALSE(stopped.at("valid"));
  EXPECT_EQ(stopped.at("rows"), Json::array());
  EXPECT_EQ(stopped.at("error").at("text"),
            "attacker.firingRange=2: combatRange: missing (allowed: 1 to 999999999)");

  // The page's sweep offers what --vary takes: each whole number that the
  // combat asks, each Combat Support unit's bars and each field of a
  // supporting unit, and every one of them is swept.
  const std::string withSupport =
      R"({"general":{"attackerClass":2,"defenderClass":2},)"
      R"("attacker":{"attackValue":10,"defenseValue":7,"strength":10,"combatSupport":[2]},)"
      R"("defender":{"attackValue":8,"defenseValue":6,"strength":10},)"
      R"("artillery":[{"attackValue":3,"strength":4}]})";
  const Json offered = Json::parse(predictJson(withSupport));
  ASSERT_TRUE(offered.at("valid")) << withSupport;
  EXPECT_EQ(offered.at("sweptFields"),
            Json::parse(R"(["general.attackerClass","general.defenderClass",)"
                        R"("attacker.attackValue","attacker.initiative",)"
                        R"("attacker.defenseValue","attacker.rangedDefense",)"
                        R"("attacker.experience","attacker.firingRange",)"
                        R"("attacker.strength","attacker.entrenchment",)"
                        R"("attacker.combatSupport.0","attacker.leaderChoice",)"
                        R"("defender.attackValue","defender.initiative",)"
                        R"("defender.defenseValue","defender.rangedDefense",)"
                        R"("defender.experience","defender.firingRange",)"
                        R"("defender.strength","defender.entrenchment",)"
                        R"("defender.leaderChoice","timesAttacked",)"
                        R"("artillery.0.attackValue","artillery.0.experience",)"
                        R"("artillery.0.strength","artillery.0.leaderChoice"])"));
  for (const Json& name : offered.at("sweptFields")) {
    const Json each = Json::parse(predictJson(withSupport, name.get<std::string>()));
    EXPECT_EQ(each.at("chart").at("field"), name);
    // A firing range of 2 asks the range of the combat, left out here.
    if (name == "attacker.firingRange") {
      EXPECT_FALSE(each.at("chart").at("valid"));
      continue;
    }
    EXPECT_TRUE(each.at("chart").at("valid")) << name << each.at("chart").at("error");
    EXPECT_EQ(each.at("chart").at("rows").size(),
              each.at("chart").at("to").get<std::size_t>() -
                  each.at("chart").at("from").get<std::size_t>() + 1) << name;
  }
  EXPECT_EQ(Json::parse(predictJson("{}")).at("sweptFields"), Json::array());

  // A problem names its field as the page words it: by the catalogue's
  // label, and a unit's own field among the general factors by its side.
  const Json lacking = Json::parse(predictJson(tanksWith("\"attackerClass\":2,", "")));
  ASSERT_FALSE(lacking.at("valid"));
  EXPECT_EQ(lacking.at("error").at("key"), "attackerClass");
  EXPECT_EQ(lacking.at("error").at("label"), "Class");
  EXPECT_EQ(lacking.at("error").at("side"), "attacker");
  const Json weak = Json::parse(predictJson(tanksWith("\"strength\":10}}", "\"strength\":0}}")));
  EXPECT_EQ(weak.at("error").at("label"), "Strength");
  EXPECT_EQ(weak.at("error").at("side"), "defender");

  // A half-track's infantry leader is asked in words of its own; other
  // combats word every question as the field list does.
  EXPECT_EQ(predicted.at("prompts"), Json::object());
  const Json halfTrack =
      Json::parse(predictJson(tanksWith("\"attackerClass\":2", "\"attackerClass\":11")));
  EXPECT_EQ(halfTrack.at("prompts"),
            Json({{"general.attackerInfantryLeader", std::string(kHalfTrackLeaderPrompt)}}));
}

// A chart runs from the field's minimum to twice its value, over at least
// 20 values past the minimum and at most 200, never past the maximum.
TEST(Sweep, AChartRunsFromTheMinimumToTwiceTheValue) {
  constexpr std::int64_t kMost = 999999999;
  const struct {
    std::int64_t minimum, maximum, current, from, to;
  } cases[] = {
      {1, kMost, 10, 1, 21},       {0, kMost, 8, 0, 20},
      {0, kMost, 0, 0, 20},        {1, kMost, 11, 1, 22},
      {1, kMost, 100, 1, 200},     {0, kMost, 100, 0, 199},
      {1, kMost, 101, 1, 200},     {1, kMost, 105, 5, 204},
      {1, kMost, 150, 50, 249},    {1, kMost, kMost, kMost - 199, kMost},
      {1, kMost, kMost - 50, kMost - 199, kMost},
      {1, 12, 5, 1, 12},           {0, 5, 3, 0, 5},
      {1, 11, 11, 1, 11},          {1, 500, 450, 301, 500},
  };
  for (const auto& c : cases) {
    const auto [from, to] = sweepRange(c.minimum, c.maximum, c.current);
    EXPECT_EQ(from, c.from) << c.current << " in " << c.minimum << ".." << c.maximum;
    EXPECT_EQ(to, c.to) << c.current << " in " << c.minimum << ".." << c.maximum;
    EXPECT_TRUE(c.minimum <= from && from <= c.current && c.current <= to &&
                to <= c.maximum && to - from < 200);
  }
}

// The page refuses a file over the limit unread, as a file too long for it:
// its first line, which may be a valid combat, is not the fault.  The
// reading has the shape that readJson gives.
TEST(Binding, RefusesAFileOverTheLimitAsTooLong) {
  const Json read = Json::parse(readJson(kTanks, "big17.json"));
  const Json refused = Json::parse(tooLongFileJson("big17.json"));
  for (const auto& [key, value] : read.items()) {
    EXPECT_TRUE(refused.contains(key)) << key;
  }
  EXPECT_FALSE(refused.at("valid"));
  EXPECT_TRUE(refused.at("values").is_null());
  EXPECT_EQ(refused.at("messages"),
            Json::array({"big17.json: the file is longer than 16 MiB, the most "
                         "the page reads"}));
}

// A file of several combats: each listed with its first line, whether it
// is valid and its answers; the first valid one is the one shown.
TEST(Binding, ListsTheCombatsOfAFile) {
  const std::string text = "{\"general\": 5}\n" + kTanks + "\n{\"general\":\n" +
                           tanksWith("\"strength\":10", "\"strength\":3") + "\n";
  const Json read = Json::parse(readJson(text, "combats.jsonl"));
  EXPECT_EQ(read.at("combatCount"), 4);
  ASSERT_EQ(read.at("combats").size(), 4u);
  std::vector<int> lines;
  std::vector<bool> valid;
  for (const Json& combat : read.at("combats")) {
    lines.push_back(combat.at("line").get<int>());
    valid.push_back(combat.at("valid").get<bool>());
  }
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(valid, (std::vector<bool>{false, true, false, true}));
  EXPECT_TRUE(read.at("combats")[2].at("values").is_null());
  EXPECT_EQ(read.at("combats")[3].at("values").at("attacker.strength"), 3);
  EXPECT_EQ(read.at("shown"), 1);
  EXPECT_EQ(read.at("values"), read.at("combats")[1].at("values"));
  EXPECT_TRUE(read.at("valid"));
}

// The page's reading of a file says what --scenario says of it, line for
// line, and refuses what it refuses: errors and notes past the first 20
// counted, a file of no scenario, text that is not JSON.
TEST(Binding, ReadsAFileAsTheCommandLineDoes) {
  std::string manyWrong = "{\"attacker\":{\"combatSupport\":[";
  for (int i = 0; i < 24; ++i) manyWrong += "-1,";
  manyWrong += "-1]}}";
  const std::string manyNotes =
      R"json({"general": {"attackerClass": 2, "defenderClass": 2, "defenderIsInfantry": true, "isAssault": true, "attackerInfantryLeader": true, "defenderInfantryLeader": true, "snowOrRain": true, "overcast": true}, "attacker": {"attackValue": 10, "initiative": 5, "defenseValue": 7, "strength": 1, "inCityForestMountain": true, "inRiver": true, "canMoveAfter": true, "outOfFuel": true, "antiTankHasLeader": true}, "defender": {"attackValue": 8, "initiative": 5, "defenseValue": 6, "strength": 10, "inCityForestMountain": true, "inCity": true, "inRiver": true, "outOfAmmo": true, "outOfFuel": true, "shipAlreadyAttackedByShip": true}, "terrain": {"clearOrSandy": true, "roughBocageOrHills": true, "forest": true, "citiesOrMountains": true}, "combatRange": 1, "attackerCloseDefense": 3, "attackerGroundDefense": 2, "airplaneAirDefense": 2, "artillery": [{"attackValue": 60, "strength": 15, "experience": 0}, {"attackValue": 60, "strength": 15, "experience": 0}, {"attackValue": 60, "strength": 15, "experience": 0}], "airDefense": [{"attackValue": 60, "strength": 15, "experience": 0}, {"attackValue": 60, "strength": 15, "experience": 0}, {"attackValue": 60, "strength": 15, "experience": 0}]})json";
  for (const std::string& text :
       {kTanks, "{\"general\": 5}\n" + kTanks + "\n", manyWrong, manyNotes,
        manyNotes + "\n" + manyWrong + "\n" + kTanks, std::string("\n\n"),
        std::string("{\"general\":\n[1,\n"), std::string("not json\n{}\n")}) {
    std::string figures;
    std::string said;
    Output out = outputToString(&figures);
    Output err = outputToString(&said);
    ScenarioSource source = scenarioSource(inputFromText(text));
    ScenarioFileOptions options;
    options.path = "f.jsonl";
    const int status = runScenarios(&source, options, &out, &err);
    flushOutput(&err);
    Json lines = Json::array();
    for (std::size_t end; (end = said.find('\n')) != std::string::npos;
         said.erase(0, end + 1)) {
      lines.push_back(said.substr(0, end));
    }
    const Json read = Json::parse(readJson(text, "f.jsonl"));
    EXPECT_EQ(read.at("messages"), lines) << text;
    EXPECT_EQ(read.at("refused"), status != 0) << text;
  }
}

// A yes/no question left out of a file takes the answer it has when not
// asked; the page shows that answer when the question appears.
TEST(Binding, GivesTheAnswerOfAYesNoQuestionLeftOut) {
  const Json catalogue = Json::parse(fieldsJson());
  std::map<std::string, Json> defaults;
  for (const Json& field : catalogue.at("fields")) {
    if (field.at("kind") == "yesNo") defaults[field.at("name")] = field.at("default");
  }
  EXPECT_EQ(defaults.at("general.attackerInfantryLeader"), nullptr);
  EXPECT_EQ(defaults.at("terrain.roughBocageOrHills"), nullptr);
  EXPECT_EQ(defaults.at("attacker.canMoveAfter"), true);
  EXPECT_EQ(defaults.at("general.isAssault"), false);
  EXPECT_EQ(catalogue.at("artillery")[3].at("default"), false);
}

}  // namespace

// The value of an unknown name is passed over whatever it is, a fraction
// included: the name alone is the problem.
TEST(ScenarioReader, PassesOverTheValueOfAnUnknownName) {
  for (const char* value : {"1.5", "-2.25e-3", "\"x\"", "true", "null", "7",
                            "{\"a\": 1.5}", "[1.5, \"y\"]"}) {
    const std::string text =
        std::string(R"({"general": {"bogus": )") + value + "}}";
    const CheckedScenario read = readScenario(text);
    ASSERT_FALSE(read.errors.told.empty()) << value;
    EXPECT_EQ(read.errors.told.front().field, "general.bogus") << value;
    EXPECT_EQ(read.errors.told.front().message.rfind("unknown name", 0), 0u)
        << value << ": " << read.errors.told.front().message;
  }
}
