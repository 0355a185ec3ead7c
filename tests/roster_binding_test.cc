// The web page's calls for presets: a roster read as --roster reads it, a
// preset's answers for one side of the roster kept, and --compare's rows.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "files/compare.h"
#include "files/roster_reader.h"
#include "web/binding.h"

namespace {

using Json = nlohmann::json;

const std::string kRoster =
    "{\"presets\": [\n"
    R"({"name": "Reed Pikes", "sides": ["attacker", "defender"], "class": 1,)"
    R"( "attackValue": 5, "defenseValue": 4, "strength": 10, "initiative": 3,)"
    R"( "infantryLeader": true, "combatSupport": [2, 3]},)"
    "\n"
    R"({"name": "Ox Carts", "sides": ["defender"], "class": 11,)"
    R"( "isInfantry": false, "defenseValue": 2, "strength": 7},)"
    "\n"
    R"({"name": "Bare", "sides": ["attacker"], "class": 2})"
    "\n]}";

const Roster kPresets = parseRoster(kRoster).roster;

const std::string kTanks =
    R"({"general":{"attackerClass":2,"defenderClass":2},)"
    R"("attacker":{"attackValue":10,"initiative":5,"defenseValue":7,"strength":10},)"
    R"("defender":{"attackValue":8,"initiative":5,"defenseValue":6,"strength":10}})";

// The page takes a unit's rows from the field list: each of a unit's own
// fields stands in the units' table under the preset's name, with the same
// label on both sides; every field, of a unit or of the situation, has one,
// and so has every entry of a menu.
TEST(RosterBinding, FieldListGivesEachUnitFieldOneRowAndEveryFieldALabel) {
  const Json fields = Json::parse(fieldsJson());
  for (const Json& preset : fields.at("presetFields")) {
    const std::string name = preset.at("name");
    const std::string label = preset.at("label");
    EXPECT_FALSE(label.empty()) << name;
    for (const char* side : {"attacker", "defender"}) {
      if (preset.at(side).is_null()) continue;
      bool found = false;
      for (const Json& field : fields.at("fields")) {
        if (field.at("name") != preset.at(side)) continue;
        found = true;
        EXPECT_EQ(field.at("section"), "units") << name;
        EXPECT_EQ(field.at("side"), side) << name;
        EXPECT_EQ(field.at("attribute"), name);
        EXPECT_EQ(field.at("label"), label) << name;
      }
      EXPECT_TRUE(found) << name << " " << side;
    }
  }
  // A menu's entry has a label too, a capital first: "Naval unit" for
  // "naval units".
  for (const char* list : {"fields", "artillery", "airDefense"}) {
    for (const Json& field : fields.at(list)) {
      EXPECT_FALSE(field.at("label").get<std::string>().empty()) << field.at("name");
      const Json& labels = field.at("optionLabels");
      ASSERT_EQ(labels.size(), field.at("options").size()) << field.at("name");
      for (const Json& label : labels) {
        const std::string text = label;
        EXPECT_TRUE(!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
            << field.at("name") << ": " << text;
      }
    }
  }
  // "Strength" and "Anti-tank unit has a leader", as a player says them.
  EXPECT_EQ(fields.at("presetFields").at(9).at("label"), "Strength");
  EXPECT_EQ(fields.at("presetFields").at(12).at("label"), "Anti-tank unit has a leader");
  // The Compare view's columns and their order, as --sort names them: the
  // defender's losses are better for the attacker the more they are, the
  // attacker's losses and the chance of a rugged defense the fewer.
  std::vector<std::string> names;
  for (const Json& figure : fields.at("figures")) {
    names.push_back(figure.at("name"));
    const std::string name = names.back();
    EXPECT_EQ(figure.at("moreIsBetter").get<bool>(),
              name.find("defender") != std::string::npos ||
                  name.find("Defender") != std::string::npos)
        << name;
  }
  const std::vector<std::string_view> sorts = compareSortNames();
  EXPECT_EQ(names, std::vector<std::string>(sorts.begin() + 1, sorts.end()));
}

TEST(RosterBinding, ReadsARosterAsTheCommandLineDoes) {
  const Json good = Json::parse(rosterJson(parseRoster(kRoster), "mine.json"));
  EXPECT_TRUE(good.at("valid"));
  EXPECT_EQ(good.at("messages"), Json::array());
  EXPECT_EQ(good.at("presets"),
            Json::parse(R"([{"name":"Reed Pikes","attacker":true,"defender":true},)"
                        R"({"name":"Ox Carts","attacker":false,"defender":true},)"
                        R"({"name":"Bare","attacker":true,"defender":false}])"));
  const Json bad = Json::parse(rosterJson(parseRoster(
      "{\"presets\": [\n{\"name\": \"X\", \"sides\": [\"attacker\"], \"strength\": 0},\n"
      "{\"name\": \"X\", \"sides\": [\"defender\"]}\n]}"),
      "mine.json"));
  EXPECT_FALSE(bad.at("valid"));
  EXPECT_EQ(bad.at("presets"), Json::array());  // nothing of it is used
  ASSERT_EQ(bad.at("messages").size(), 2u);
  EXPECT_EQ(bad.at("messages")[0].get<std::string>().rfind("mine.json:2: preset X: strength: ", 0),
            0u);
  EXPECT_EQ(bad.at("messages")[1].get<std::string>().rfind("mine.json:3: preset X: name: ", 0),
            0u);
}

TEST(RosterBinding, GivesAPresetsAnswersForOneSide) {
  const Json carts = Json::parse(presetJson(kPresets, "Ox Carts", "defender"));
  EXPECT_EQ(carts.at("general.defenderClass"), 11);
  EXPECT_EQ(carts.at("general.defenderIsInfantry"), false);
  EXPECT_EQ(carts.at("defender.strength"), 7);
  // A number a scenario file may leave out is the file's own value; one it
  // must give stays out.
  EXPECT_EQ(carts.at("defender.attackValue"), 0);
  EXPECT_FALSE(carts.contains("attacker.strength"));
  const Json bare = Json::parse(presetJson(kPresets, "Bare", "attacker"));
  EXPECT_EQ(bare.at("attacker.initiative"), 0);
  EXPECT_FALSE(bare.contains("attacker.attackValue"));
  EXPECT_FALSE(bare.contains("attacker.strength"));
  const Json pikes = Json::parse(presetJson(kPresets, "Reed Pikes", "attacker"));
  EXPECT_EQ(pikes.at("attacker.combatSupport"), Json::parse("[2, 3]"));
  EXPECT_EQ(pikes.at("general.attackerInfantryLeader"), true);
  for (const auto& [name, side] : std::vector<std::pair<const char*, const char*>>{
           {"Ox Carts", "attacker"}, {"Nobody", "defender"}}) {
    EXPECT_EQ(presetJson(kPresets, name, side), "null") << name << " " << side;
  }
  EXPECT_EQ(presetJson(Roster{}, "Bare", "attacker"), "null");
}

TEST(RosterBinding, ComparesAsCompareJsonDoes) {
  const Json byName = Json::parse(compareJson(kTanks, kPresets, "attacker", "preset"));
  EXPECT_EQ(byName.at("messages"), Json::array());
  const Json& rows = byName.at("rows");
  ASSERT_EQ(rows.size(), 2u);
  // A preset that leaves a question unanswered has its error, last, named
  // by the preset's own field, with the line's words whole.
  EXPECT_EQ(rows[0].at("preset"), "Reed Pikes");
  EXPECT_TRUE(rows[0].contains("odds"));
  EXPECT_EQ(rows[1].at("preset"), "Bare");
  EXPECT_EQ(rows[1].at("error").at("field"), "attackValue");
  EXPECT_EQ(rows[1].at("error").at("text").get<std::string>().rfind("attackValue: missing", 0),
            0u);
  // The rows in --sort's order: best first for the attacker by the
  // defender's losses, and by name.
  const Json both = Json::parse(compareJson(kTanks, kPresets, "defender", "preset"));
  ASSERT_EQ(both.at("rows").size(), 2u);
  EXPECT_EQ(both.at("rows")[0].at("preset"), "Ox Carts");
  EXPECT_EQ(both.at("rows")[1].at("preset"), "Reed Pikes");
  // A roster with nothing to compare or a scenario that is refused: its
  // lines, no rows.
  const Json none = Json::parse(compareJson(kTanks, Roster{}, "attacker", ""));
  EXPECT_EQ(none.at("rows"), Json::array());
  EXPECT_EQ(none.at("messages")[0].get<std::string>().rfind("presets:1: ", 0), 0u);
  const Json badScenario = Json::parse(compareJson("{\"x\": 1}", kPresets, "defender", ""));
  EXPECT_EQ(badScenario.at("rows"), Json::array());
  EXPECT_EQ(badScenario.at("messages")[0].get<std::string>().rfind("scenario:1: ", 0), 0u);
}

// What would help, for the page: the rows of --advise --json with the
// roster's presets, each with its changed combat's text, which the page's
// prediction computes to the row's own figures.
TEST(RosterBinding, AdvisesWithEachRowsCombatWrittenOut) {
  const Json answer = Json::parse(adviceJson(kTanks, kPresets));
  ASSERT_TRUE(answer.at("valid"));
  const Json& rows = answer.at("rows");
  ASSERT_EQ(rows.size(), 5u);  // as given, 3 softenings, one preset that fits
  EXPECT_EQ(rows[0].at("change"), "As given");
  std::vector<std::string> words;
  for (const Json& row : rows) {
    words.push_back(row.at("change"));
    Json figures = row;
    for (const char* key : {"change", "changed", "differences", "scenarioText"}) {
      figures.erase(key);
    }
    const Json predicted = Json::parse(predictJson(row.at("scenarioText").get<std::string>()));
    EXPECT_EQ(predicted.at("prediction"), figures) << row.at("change");
  }
  EXPECT_NE(std::find(words.begin(), words.end(), "Attack with Reed Pikes instead"),
            words.end());
  // Without kept presets there are none to try; a refused scenario has no
  // rows.
  EXPECT_EQ(Json::parse(adviceJson(kTanks, Roster{})).at("rows").size(), 4u);
  const Json refused = Json::parse(adviceJson("{\"x\": 1}", Roster{}));
  EXPECT_FALSE(refused.at("valid"));
  EXPECT_EQ(refused.at("rows"), Json::array());
}

}  // namespace

namespace {

// The page words a refused value by the reader's own reason for it: the
// same for a field of the combat, an entry of the bars and a field of a
// supporting unit, and none where the value is not at fault.
TEST(ScenarioBinding, GivesTheReasonAValueWasRefused) {
  const Json read = Json::parse(predictJson(
      R"({"general": {"attackerClass": 2, "defenderClass": "bogus"},)"
      R"( "attacker": {"attackValue": 0, "initiative": 1.5, "defenseValue": 7,)"
      R"( "strength": 1e12, "combatSupport": [1, -1], "experience": true},)"
      R"( "defender": {"attackValue": 8, "initiative": 5, "defenseValue": 6,)"
      R"( "defenseValue": 6, "strength": 10}, "artillery": [{"attackValue": 3}]})"));
  std::vector<std::string> reasons;
  for (const Json& error : read["errors"]) {
    reasons.push_back(error["field"].get<std::string>() + " " +
                      error.value("reason", std::string("-")));
  }
  EXPECT_EQ(reasons, (std::vector<std::string>{
                         "general.defenderClass wrongKind",
                         "attacker.attackValue belowMinimum",
                         "attacker.initiative notWhole",
                         "attacker.strength aboveMaximum",
                         "attacker.combatSupport.1 belowMinimum",
                         "attacker.experience wrongKind",
                         "defender.defenseValue -",
                         "artillery.0.strength missing",
                     }));
}

}  // namespace
