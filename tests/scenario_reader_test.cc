// Scenarios by name: what the reader takes and makes of them, and the
// schema and manual that describe them, held against the fields.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "combat/questions.h"
#include "files/scenario_reader.h"
#include "report/scenario_json.h"
#include "scenario/scenario_fields.h"
#include "web/binding.h"

namespace {

using Json = nlohmann::json;

std::string readFile(const std::string& path) {
  std::ifstream file(std::string(ZELVORN_SOURCE_DIR) + "/" + path);
  return {std::istreambuf_iterator<char>(file), {}};
}

const std::string kTanks =
    R"({"general":{"attackerClass":2,"defenderClass":2},)"
    R"("attacker":{"attackValue":10,"defenseValue":7,"strength":10},)"
    R"("defender":{"attackValue":8,"defenseValue":6,"strength":10}})";

// The schema's description of a field of the combat or of a unit.
const Json& schemaOf(const Json& schema, const std::string& group,
                     const std::string& name) {
  const Json& top = schema.at("properties");
  if (group.empty()) return top.at(name);
  if (group == "artillery" || group == "airDefense") {
    return top.at(group).at("items").at("properties").at(name);
  }
  return top.at(group).at("properties").at(name);
}

template <typename Record>
void expectSchemaAgrees(const Json& schema, const FieldInfo<Record>& info) {
  SCOPED_TRACE(dottedName(info));
  const Json& field = schemaOf(schema, info.group, info.name);
  switch (info.kind) {
    case FieldKind::whole:
      EXPECT_EQ(field.at("type"), "integer");
      EXPECT_EQ(field.at("minimum"), info.minimum);
      EXPECT_EQ(field.at("maximum"), info.maximum);
      break;
    case FieldKind::yesNo:
      EXPECT_EQ(field.at("type"), Json::array({"boolean", "null"}));
      break;
    case FieldKind::bars:
      EXPECT_EQ(field.at("type"), "array");
      EXPECT_EQ(field.at("items").at("minimum"), 0);
      EXPECT_EQ(field.at("items").at("maximum"), info.maximum);
      break;
    case FieldKind::units:
      EXPECT_EQ(field.at("type"), "array");
      break;
  }
}

TEST(ScenarioSchema, DescribesEveryFieldAndNoOther) {
  const Json schema = Json::parse(readFile("docs/scenario.schema.json"));
  std::size_t fields = 0;
  for (const ScenarioField& info : scenarioFields()) {
    expectSchemaAgrees(schema, info);
    ++fields;
  }
  for (const ArtilleryField& info : artilleryFields()) {
    expectSchemaAgrees(schema, info);
    ++fields;
  }
  for (const AirDefenseField& info : airDefenseFields()) {
    expectSchemaAgrees(schema, info);
    ++fields;
  }
  // As many properties in the schema as fields, the groups aside.
  std::size_t properties = 0;
  for (const auto& [name, property] : schema.at("properties").items()) {
    if (property.contains("properties")) {
      properties += property.at("properties").size();
    } else if (property.contains("items")) {
      properties += 1 + property.at("items").at("properties").size();
    } else {
      ++properties;
    }
  }
  EXPECT_EQ(properties, fields);
  // Required where the reader requires them, always.
  const Json& required = schema.at("properties").at("attacker").at("required");
  EXPECT_EQ(required, Json::array({"attackValue", "strength"}));
}

TEST(ScenarioManual, NamesEveryField) {
  const std::string manual = readFile("man/zelvorn-odds.1");
  const auto named = [&manual](const std::string& name) {
    return manual.find(name) != std::string::npos;
  };
  for (const ScenarioField& info : scenarioFields()) {
    EXPECT_TRUE(named(info.name)) << dottedName(info);
  }
  for (const ArtilleryField& info : artilleryFields()) {
    EXPECT_TRUE(named(info.name)) << dottedName(info);
  }
  for (const AirDefenseField& info : airDefenseFields()) {
    EXPECT_TRUE(named(info.name)) << dottedName(info);
  }
}

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
    const ScenarioReading reading = readScenario(c.json);
    ASSERT_FALSE(reading.checked.error) << reading.checked.error->message;
    std::vector<std::string> noted;
    for (const Problem& note : reading.checked.notes) noted.push_back(note.field);
    EXPECT_EQ(noted, c.notes);
  }
  const CombatScenario artillery =
      readScenario(cases[1].json).checked.scenario;
  EXPECT_EQ(artillery.defenderClass, unit_class::kTank);
  const CombatScenario ship = readScenario(cases[2].json).checked.scenario;
  EXPECT_EQ(ship.timesAttacked, 0);
  EXPECT_TRUE(ship.airDefense.empty());
}

TEST(ScenarioReader, AnswersAsTheDialogueTakesThem) {
  // An artillery attacker's target declared infantry is infantry; a
  // half-track fights as a tank and its infantry's leader is asked.
  const CombatScenario s = readScenario(
      R"({"general":{"attackerClass":6,"defenderIsInfantry":true},)"
      R"("attacker":{"attackValue":10,"strength":10},"defender":{"strength":10}})")
                               .checked.scenario;
  EXPECT_EQ(s.defenderClass, unit_class::kInfantry);
  const ScenarioReading halfTrack = readScenario(
      R"({"general":{"attackerClass":11,"defenderClass":12,)"
      R"("attackerInfantryLeader":false},)"
      R"("attacker":{"attackValue":10,"strength":10},"defender":{"strength":10}})");
  EXPECT_TRUE(halfTrack.checked.notes.empty());
  EXPECT_EQ(halfTrack.checked.scenario.attackerClass, unit_class::kTank);
  EXPECT_EQ(halfTrack.checked.scenario.defenderClass, unit_class::kBomber);
  EXPECT_EQ(halfTrack.checked.scenario.attackerInfantryLeader, answer::kNo);
  // null is any other answer: neither yes nor no.
  const CombatScenario neither = readScenario(
      R"({"general":{"attackerClass":1,"defenderClass":1,"isAssault":null},)"
      R"("attacker":{"attackValue":10,"strength":10},"defender":{"strength":10}})")
                                     .checked.scenario;
  EXPECT_FALSE(isYes(neither.isAssault));
  EXPECT_FALSE(isNo(neither.isAssault));
}

TEST(ScenarioReader, ScenariosSurviveTheWayThroughJson) {
  // A combat with every kind of answer, written and read again.
  const std::string text =
      R"({"general":{"attackerClass":1,"defenderClass":1,"isAssault":false,)"
      R"("attackerInfantryLeader":null,"defenderInfantryLeader":true,)"
      R"("snowOrRain":false},"attacker":{"attackValue":9,"initiative":3,)"
      R"("defenseValue":6,"rangedDefense":1,"experience":2,"firingRange":1,)"
      R"("strength":15,"entrenchment":1,"inCityForestMountain":false,)"
      R"("inRiver":false,"canMoveAfter":true,"combatSupport":[1,2],)"
      R"("leaderChoice":3},"defender":{"attackValue":7,"initiative":2,)"
      R"("defenseValue":5,"rangedDefense":2,"experience":1,"firingRange":1,)"
      R"("strength":10,"entrenchment":2,"inRiver":false,"outOfAmmo":false,)"
      R"("outOfFuel":false,"combatSupport":[],"leaderChoice":4},)"
      R"("terrain":{"clearOrSandy":false,"roughBocageOrHills":true},)"
      R"("attackerCloseDefense":4,"artillery":[{"attackValue":8,)"
      R"("experience":1,"strength":10,"adjacent":true,"combatSupport":[3],)"
      R"("leaderChoice":2}],"timesAttacked":1})";
  const ScenarioReading reading = readScenario(text);
  ASSERT_FALSE(reading.checked.error) << reading.checked.error->message;
  EXPECT_TRUE(reading.checked.notes.empty());
  EXPECT_EQ(scenarioJson(reading.checked.scenario), text);
}

TEST(ScenarioReader, KeepsGoingPastAWrongValueWhenAsked) {
  // The web page still learns which questions stand when one value is wrong.
  const std::string text =
      R"({"general":{"attackerClass":6,"defenderIsInfantry":true},)"
      R"("attacker":{"attackValue":0,"strength":10},"defender":{"strength":10}})";
  EXPECT_FALSE(parseScenario(text).complete);
  const ScenarioText lenient = parseScenario(text, true);
  EXPECT_TRUE(lenient.complete);
  ASSERT_TRUE(lenient.error);
  EXPECT_EQ(lenient.error->field, "attacker.attackValue");
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

TEST(Binding, PredictsImportsAndSweepsAsTheCommandLine) {
  const Json predicted = Json::parse(predictJson(kTanks));
  ASSERT_TRUE(predicted.at("valid"));
  EXPECT_EQ(predicted.at("prediction").at("odds"),
            Json::parse(R"({"attackerLosses":4,"defenderLosses":5,)"
                        R"("defenderSuppression":3})"));
  const Json imported = Json::parse(
      importJson("{\"general\": 5}\n" + kTanks + "\n", "combats.jsonl"));
  EXPECT_EQ(imported.at("messages"),
            Json::array({"combats.jsonl:1: general: must be an object (allowed: "
                         "attackerClass, defenderIsInfantry, defenderClass, "
                         "isAssault, attackerInfantryLeader, "
                         "defenderInfantryLeader, snowOrRain, overcast)"}));
  EXPECT_EQ(imported.at("scenario"), kTanks);
  const Json swept = Json::parse(sweepJson(kTanks, "attacker.strength", 9, 10));
  ASSERT_EQ(swept.at("rows").size(), 2u);
  EXPECT_EQ(swept.at("rows")[1].at("odds").at("defenderLosses"), 5);
  EXPECT_FALSE(Json::parse(sweepJson(kTanks, "attacker.strength", 0, 3))
                   .at("valid"));
}

}  // namespace
