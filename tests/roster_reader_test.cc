// Rosters of presets: what the reader refuses (one line per problem, at the
// field's line), what a preset puts into a scenario, and the order of a
// comparison.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "files/compare.h"
#include "files/roster_reader.h"
#include "files/scenario_reader.h"
#include "scenario/preset_fields.h"

namespace {

// The problems of a roster as the command line prints them.
std::vector<std::string> problemsOf(const std::string& text) {
  const RosterReading reading = parseRoster(text);
  std::vector<std::string> lines;
  for (const Problem& problem : reading.problems.told) {
    std::string line = fileProblemLine("r.json", 1, problem);
    line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string roster(const std::string& presets) {
  return "{\"presets\": [\n" + presets + "\n]}";
}

TEST(RosterReader, RefusesEachMistakeOnItsOwnLine) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"duplicate names, named at the later name's line",
       roster(R"({"name": "Reed Pikes", "sides": ["attacker"]},)"
              "\n"
              R"({"sides": ["defender"],)"
              "\n"
              R"( "name": "Reed Pikes"})"),
       {"r.json:4: preset \"Reed Pikes\": name: given to another preset too, "
        "on line 2 (allowed: a name of its own)"}},
      {"an unknown field on the line below the name",
       roster("{\"name\": \"Moth\", \"sides\": [\"attacker\"],\n"
              " \"strenght\": 4}"),
       {"r.json:3: preset Moth: strenght: unknown name (allowed: name, sides, "
        "class, isInfantry, infantryLeader, attackValue, initiative, "
        "defenseValue, rangedDefense, experience, firingRange, strength, "
        "entrenchment, canMoveAfter, antiTankHasLeader, combatSupport, "
        "leaderChoice)"}},
      {"situation fields, each its own line",
       roster("{\"name\": \"Moth\", \"sides\": [\"defender\"],\n"
              " \"inRiver\": true,\n \"combatRange\": 2,\n \"terrain\": {},\n"
              " \"defenderClass\": 3}"),
       {"r.json:3: preset Moth: inRiver: part of the combat's situation, not "
        "of a unit (allowed: name, sides, class, isInfantry, infantryLeader, "
        "attackValue, initiative, defenseValue, rangedDefense, experience, "
        "firingRange, strength, entrenchment, canMoveAfter, "
        "antiTankHasLeader, combatSupport, leaderChoice)",
        "r.json:4: preset Moth: combatRange: part of the combat's situation, "
        "not of a unit (allowed: name, sides, class, isInfantry, "
        "infantryLeader, attackValue, initiative, defenseValue, "
        "rangedDefense, experience, firingRange, strength, entrenchment, "
        "canMoveAfter, antiTankHasLeader, combatSupport, leaderChoice)",
        "r.json:5: preset Moth: terrain: a group of the scenario, not an "
        "answer of a unit (allowed: name, sides, class, isInfantry, "
        "infantryLeader, attackValue, initiative, defenseValue, "
        "rangedDefense, experience, firingRange, strength, entrenchment, "
        "canMoveAfter, antiTankHasLeader, combatSupport, leaderChoice)",
        "r.json:6: preset Moth: defenderClass: a preset writes it as class "
        "(allowed: name, sides, class, isInfantry, infantryLeader, "
        "attackValue, initiative, defenseValue, rangedDefense, experience, "
        "firingRange, strength, entrenchment, canMoveAfter, "
        "antiTankHasLeader, combatSupport, leaderChoice)"}},
      {"out of range for its side, found whichever comes first",
       roster("{\"strength\": 0,\n \"name\": \"Moth\", \"sides\": "
              "[\"attacker\"]}"),
       {"r.json:2: preset Moth: strength: 0 is out of range (allowed: 1 to "
        "999999999)"}},
      {"the defender's last class is not an attacker's",
       roster(R"({"name": "Gull", "sides": ["attacker"], "class": 12})"),
       {"r.json:2: preset Gull: class: 12 is out of range (allowed: 1 to "
        "11)"}},
      {"a menu number that means two things for a preset of both sides",
       roster("{\"name\": \"Gull\", \"sides\": [\"attacker\", \"defender\"],\n"
              " \"class\": 11, \"leaderChoice\": 6}"),
       {"r.json:3: preset Gull: class: 11 is out of range for both sides "
        "(allowed: 1 to 10)",
        "r.json:3: preset Gull: leaderChoice: 6 is out of range for both "
        "sides (allowed: 1 to 5)"}},
      {"menu words: one a side's menu lacks, one that means two entries",
       roster("{\"name\": \"Gull\", \"sides\": [\"attacker\", \"defender\"],\n"
              " \"class\": \"Half-Track\",\n"
              " \"leaderChoice\": \"none of the above\"},\n"
              "{\"name\": \"Tern\", \"sides\": [\"attacker\"], \"class\": "
              "\"hovercraft\"}"),
       {"r.json:3: preset Gull: class: unknown word \"Half-Track\" for the "
        "defender (allowed: \"infantry\", \"tank\", \"recon\", \"anti-tank\", "
        "\"fort\", \"artillery\", \"air-defense\", \"fighter\", \"bomber\", "
        "\"naval units\", \"ground transport\", \"air transport\")",
        "r.json:4: preset Gull: leaderChoice: \"none of the above\" is entry 7 "
        "for the attacker but 6 for the defender (allowed: a preset for one "
        "side)",
        "r.json:5: preset Tern: class: unknown word \"hovercraft\" for the "
        "attacker (allowed: \"infantry\", \"tank\", \"recon\", \"anti-tank\", "
        "\"fort\", \"artillery\", \"air-defense\", \"fighter\", \"bomber\", "
        "\"naval units\", \"half-track\")"}},
      {"a field of the other side",
       roster(R"({"name": "Gull", "sides": ["defender"], "canMoveAfter": true})"),
       {"r.json:2: preset Gull: canMoveAfter: not asked of a defender, and "
        "this preset is for the defender only (allowed: class, isInfantry, "
        "infantryLeader, attackValue, initiative, defenseValue, "
        "rangedDefense, experience, firingRange, strength, entrenchment, "
        "combatSupport, leaderChoice)"}},
      {"wrong types",
       roster("{\"name\": \"Gull\", \"sides\": [\"attacker\"],\n"
              " \"strength\": \"9\",\n \"infantryLeader\": 1,\n"
              " \"combatSupport\": [1,\n 1.5],\n \"attackValue\": 2.5e-1,\n"
              " \"antiTankHasLeader\": []}"),
       {"r.json:3: preset Gull: strength: must be a whole number (allowed: 1 "
        "to 999999999)",
        "r.json:4: preset Gull: infantryLeader: must be true, false or null "
        "(allowed: true, false, null)",
        "r.json:6: preset Gull: combatSupport.1: must be a whole number "
        "(allowed: 0 to 999999999)",
        "r.json:7: preset Gull: attackValue: must be a whole number "
        "(allowed: 1 to 999999999)",
        "r.json:8: preset Gull: antiTankHasLeader: must be true, false or "
        "null (allowed: true, false, null)"}},
      {"Combat Support entries, each at its own line",
       roster("{\"name\": \"Gull\", \"sides\": [\"attacker\"],\n"
              " \"combatSupport\": [2,\n -1,\n 3, 1e10]},\n"
              "{\"name\": \"Tern\", \"sides\": [\"defender\"], "
              "\"combatSupport\": {}}"),
       {"r.json:4: preset Gull: combatSupport.1: -1 is out of range "
        "(allowed: 0 to 999999999)",
        "r.json:5: preset Gull: combatSupport.3: 10000000000 is out of range "
        "(allowed: 0 to 999999999)",
        "r.json:6: preset Tern: combatSupport: must be a list of experience "
        "bars (allowed: a list of whole numbers from 0 to 999999999)"}},
      {"whole numbers written with a fraction or an exponent are whole",
       roster(R"({"name": "Gull", "sides": ["attacker"], "strength": 1E1, )"
              R"("attackValue": 12.0, "combatSupport": [2e0]})"),
       {}},
      {"a whole number beyond 64 bits written with an exponent",
       roster(R"({"name": "Gull", "sides": ["attacker"], "strength": 1e19})"),
       {"r.json:2: preset Gull: strength: the number is out of range "
        "(allowed: 1 to 999999999)"}},
      {"a number beyond 64 bits",
       roster(R"({"name": "Gull", "sides": ["attacker"], "strength": 99999999999999999999})"),
       {"r.json:2: preset Gull: strength: the number is out of range "
        "(allowed: 1 to 999999999)"}},
      {"a number too large for a double, among other problems",
       roster("{\"name\": \"Gull\", \"sides\": [\"attacker\"],\n"
              " \"strength\": 1e400, \"initiative\": -1E+999,\n"
              " \"attackValue\": -1}"),
       {"r.json:3: preset Gull: initiative: the number is out of range "
        "(allowed: 0 to 999999999)",
        "r.json:3: preset Gull: strength: the number is out of range "
        "(allowed: 1 to 999999999)",
        "r.json:4: preset Gull: attackValue: -1 is out of range (allowed: 1 "
        "to 999999999)"}},
      {"a field given twice",
       roster(R"({"name": "Gull", "sides": ["attacker"], "strength": 5, )"
              R"("strength": 6})"),
       {"r.json:2: preset Gull: strength: given twice (allowed: once)"}},
      {"no name, no sides, known by its place",
       roster("{\"name\": \"Gull\", \"sides\": [\"attacker\"]},\n{}"),
       {"r.json:3: preset #2: name: missing (allowed: a text)",
        "r.json:3: preset #2: sides: missing (allowed: attacker, defender)"}},
      {"a name that is no text: one problem, on its line",
       roster("{\"sides\": [\"attacker\"],\n \"name\": 7}"),
       {"r.json:3: preset #1: name: must be a text (allowed: a name)"}},
      {"a side that is none, a side twice, each at its entry's line",
       roster("{\"name\": \"Gull\", \"sides\": [\"flank\",\n"
              " \"attacker\", \"attacker\",\n 4]}"),
       {"r.json:2: preset Gull: sides.0: flank is not a side (allowed: "
        "attacker, defender)",
        "r.json:3: preset Gull: sides.2: attacker given twice (allowed: each "
        "side once)",
        "r.json:4: preset Gull: sides.3: must be a text (allowed: attacker, "
        "defender)"}},
      {"no side at all, at the list's line; sides of the wrong kind",
       roster("{\"name\": \"Gull\",\n \"sides\":\n [],\n"
              " \"strength\": 3},\n"
              "{\"name\": \"Tern\", \"sides\": \"attacker\"}"),
       {"r.json:4: preset Gull: sides: empty (allowed: attacker, defender)",
        "r.json:6: preset Tern: sides: must be a list of \"attacker\" and "
        "\"defender\" (allowed: attacker, defender)"}},
      {"a name with a line break is shown escaped",
       roster(R"({"name": "Gu\nll", "sides": ["attacker"], "x": 1})"),
       {"r.json:2: preset \"Gu\\nll\": x: unknown name (allowed: name, "
        "sides, class, isInfantry, infantryLeader, attackValue, initiative, "
        "defenseValue, rangedDefense, experience, firingRange, strength, "
        "entrenchment, canMoveAfter, antiTankHasLeader, combatSupport, "
        "leaderChoice)",
        "r.json:2: preset \"Gu\\nll\": name: must be 1 to 60 characters, "
        "none of them a control character (allowed: a short text)"}},
      {"a preset that is no object, named by its place in the list",
       roster("{\"name\": \"Gull\", \"sides\": [\"attacker\"]},\n\"Tern\""),
       {"r.json:3: presets.1: must be an object (allowed: name, sides, "
        "class, isInfantry, infantryLeader, attackValue, initiative, "
        "defenseValue, rangedDefense, experience, firingRange, strength, "
        "entrenchment, canMoveAfter, antiTankHasLeader, combatSupport, "
        "leaderChoice)"}},
      {"the file's shape",
       "{\"presets\": 3}", {"r.json:1: presets: must be a list of presets "
                            "(allowed: a JSON array)"}},
      {"no presets at all", "{\"units\": []}",
       {"r.json:1: units: unknown name (allowed: presets)",
        "r.json:1: presets: missing (allowed: a list of presets)"}},
      {"a syntax error on a later line",
       "{\"presets\": [\n{\"name\": \"Gull\",\n \"sides\": [\"attacker\"],,}]}",
       {"r.json:3: roster: not valid JSON: syntax error while parsing object "
        "key - unexpected ','; expected string literal (allowed: one JSON "
        "object)"}},
      {"a list for a file", "[]",
       {"r.json:1: roster: must be a JSON object (allowed: presets)"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(problemsOf(c.text), c.expected) << c.what;
  }
}

// A whole number is whole however JSON writes it, as in a scenario.
TEST(RosterReader, TakesWholeNumbersWrittenWithAnExponent) {
  const RosterReading reading = parseRoster(roster(
      R"({"name": "Gull", "sides": ["attacker"], "strength": 1E1, )"
      R"("attackValue": 12.0, "combatSupport": [2e0, 3]})"));
  ASSERT_TRUE(reading.problems.told.empty());
  const Preset& gull = reading.roster.presets.at(0);
  EXPECT_EQ(gull.values[*presetFieldOf(Field::attackerStrength)], 10);
  EXPECT_EQ(gull.values[*presetFieldOf(Field::attackerAttackValue)], 12);
  EXPECT_EQ(gull.combatSupport, (std::vector<std::int64_t>{2, 3}));
}

TEST(RosterReader, ListsTwentyProblemsAndCountsTheRest) {
  std::string presets;
  for (int i = 0; i < 25; ++i) {
    if (i > 0) presets += ",\n";
    presets += R"({"name": "P)" + std::to_string(i) +
               R"(", "sides": ["attacker"], "strength": 0})";
  }
  const RosterReading reading = parseRoster(roster(presets));
  ASSERT_EQ(reading.problems.told.size(), kMostProblemsTold);
  EXPECT_EQ(reading.problems.untold, 5u);
  EXPECT_EQ(reading.problems.told.front().place.line, 2u);
  EXPECT_EQ(reading.problems.told.back().place.line, 21u);
  EXPECT_TRUE(reading.roster.presets.empty());  // nothing of it is used
}

TEST(RosterReader, RefusesMorePresetsThanItHolds) {
  std::string presets;
  for (std::size_t i = 0; i <= kMostPresets; ++i) {
    if (i > 0) presets += ",";
    presets += R"({"name":"P)" + std::to_string(i) + R"(","sides":["attacker"]})";
  }
  EXPECT_EQ(problemsOf(roster(presets)),
            std::vector<std::string>{
                "r.json:2: presets: more than 100000 presets (allowed: at "
                "most 100000)"});
}

// The page hands over a text rather than a file: one just past the limit
// is refused unread, as the file would be.
TEST(RosterReader, RefusesATextLongerThanTheLimitUnread) {
  const std::string blanks(kLongestJson - roster("").size(), ' ');
  EXPECT_EQ(problemsOf(roster(blanks)), std::vector<std::string>{});
  EXPECT_EQ(problemsOf(roster(blanks + " ")),
            std::vector<std::string>{
                "r.json:1: roster: longer than 16 MiB (allowed: a roster of at "
                "most 16 MiB)"});
}

const std::string kRoster = roster(
    R"({"name": "Reed Pikes", "sides": ["attacker", "defender"], "class": 1,)"
    R"( "attackValue": 5, "defenseValue": 4, "strength": 10,)"
    R"( "infantryLeader": true, "combatSupport": [2, 3], "leaderChoice": 4},)"
    "\n"
    R"({"name": "Ox Carts", "sides": ["defender"], "class": 11,)"
    R"( "isInfantry": false, "defenseValue": 2, "strength": 7},)"
    "\n"
    R"({"name": "Slag Mortar", "sides": ["attacker"], "class": 6, "canMoveAfter": false})");

TEST(RosterReader, KeepsEveryAnswerAndFindsPresetsByName) {
  const RosterReading reading = parseRoster(kRoster);
  ASSERT_TRUE(reading.problems.told.empty()) << reading.problems.told[0].message;
  ASSERT_EQ(reading.roster.presets.size(), 3u);
  const Preset* pikes = findPreset(reading.roster, "Reed Pikes");
  ASSERT_NE(pikes, nullptr);
  EXPECT_EQ(pikes->line, 2u);
  EXPECT_TRUE(pikes->attacker && pikes->defender);
  EXPECT_EQ(pikes->combatSupport, (std::vector<std::int64_t>{2, 3}));
  EXPECT_EQ(findPreset(reading.roster, "Ox Carts")->line, 3u);
  EXPECT_EQ(findPreset(reading.roster, "Slag Mortar")->line, 4u);
  EXPECT_EQ(findPreset(reading.roster, "Reed"), nullptr);
  EXPECT_EQ(findPreset(reading.roster, "reed pikes"), nullptr);
}

// A name typed at the console: the case of letters counts only where it
// tells two names apart, and a wrong name is met with the closest names of
// presets for the side.
TEST(RosterReader, NamesAsTypedAndTheClosestNames) {
  const RosterReading reading = parseRoster(roster(
      R"({"name": "Ash", "sides": ["defender"]},)"
      R"({"name": "ASH", "sides": ["defender"]},)"
      R"({"name": "Asp", "sides": ["attacker", "defender"]},)"
      R"({"name": "Bask", "sides": ["defender"]},)"
      R"({"name": "Cask", "sides": ["defender"]},)"
      R"({"name": "Dusk", "sides": ["defender"]},)"
      R"({"name": "Zebra", "sides": ["defender"]},)"
      R"({"name": "Ashen", "sides": ["attacker"]})"));
  ASSERT_TRUE(reading.problems.told.empty());
  const Roster& r = reading.roster;
  const auto named = [&](std::string_view typed) {
    const Preset* preset = presetNamed(r, typed);
    return preset != nullptr ? preset->name : std::string("-");
  };
  EXPECT_EQ(named("Ash"), "Ash");
  EXPECT_EQ(named("ASH"), "ASH");
  EXPECT_EQ(named("ash"), "-");  // two names differ only in case
  EXPECT_EQ(named("aSHEN"), "Ashen");
  EXPECT_EQ(named("zebra"), "Zebra");
  EXPECT_EQ(named("Zebr"), "-");
  using Names = std::vector<std::string_view>;
  EXPECT_EQ(closestPresetNames(r, "ash", Side::defender, 5),
            (Names{"ASH", "Ash", "Asp", "Bask", "Cask"}));
  EXPECT_EQ(closestPresetNames(r, "Ashe", Side::attacker, 5),
            (Names{"Ashen", "Asp"}));
  EXPECT_EQ(closestPresetNames(r, "zebro", Side::defender, 1),
            (Names{"Zebra"}));
  EXPECT_EQ(closestPresetNames(r, "x", Side::attacker, 0), Names{});
}

TEST(Presets, FillWhatTheScenarioLeavesOutForTheirSide) {
  const RosterReading reading = parseRoster(kRoster);
  ScenarioText text = parseScenario(
      R"({"attacker": {"preset": "Reed Pikes", "strength": 6},)"
      R"( "defender": {"preset": "Ox Carts"}, "general": {"defenderClass": 2}})",
      true);
  ASSERT_TRUE(text.errors.told.empty());
  EXPECT_EQ(text.attackerPreset, "Reed Pikes");
  EXPECT_EQ(text.defenderPreset, "Ox Carts");
  ASSERT_TRUE(applyNamedPresets(reading.roster, &text).told.empty());
  const CombatScenario& s = text.scenario;
  const auto given = [&](Field f) { return text.given[static_cast<std::size_t>(f)]; };
  const auto fromPreset = [&](Field f) {
    return text.fromPresets[static_cast<std::size_t>(f)];
  };
  // Written beside the name: the scenario's own.
  EXPECT_EQ(s.attackerStrength, 6);
  EXPECT_FALSE(fromPreset(Field::attackerStrength));
  EXPECT_EQ(s.defenderClassEntered, 2);
  EXPECT_FALSE(fromPreset(Field::defenderClass));
  // The rest from the presets, each for its own side.
  EXPECT_EQ(s.attackerClassEntered, 1);
  EXPECT_EQ(s.attackerAttackValue, 5);
  EXPECT_EQ(s.attackerInfantryLeader, answer::kYes);
  EXPECT_EQ(s.attackerCombatSupport, (std::vector<std::int64_t>{2, 3}));
  EXPECT_EQ(s.attackerLeaderChoice, 4);
  EXPECT_TRUE(given(Field::attackerLeaderChoice));
  EXPECT_TRUE(fromPreset(Field::attackerLeaderChoice));
  EXPECT_EQ(s.defenderDefenseValue, 2);
  EXPECT_EQ(s.defenderStrength, 7);
  EXPECT_EQ(s.defenderIsInfantry, answer::kNo);
  EXPECT_TRUE(given(Field::defenderIsInfantry));
  // Nothing of the situation, nothing the presets leave out.
  EXPECT_FALSE(given(Field::combatRange));
  EXPECT_FALSE(given(Field::defenderInitiative));
  EXPECT_FALSE(given(Field::defenderLeaderChoice));
}

TEST(Presets, MenuWordsAreTheEntriesOfTheSidesTheyServe) {
  const RosterReading reading = parseRoster(roster(
      R"({"name": "Ram", "sides": ["attacker", "defender"], "class": "TANK",)"
      R"( "leaderChoice": "first strike", "strength": 4},)"
      "\n"
      R"({"name": "Raft", "sides": ["defender"], "class": "Ground Transport",)"
      R"( "leaderChoice": "None of the above", "strength": 2})"));
  ASSERT_TRUE(reading.problems.told.empty());
  const auto value = [&](const char* preset, std::string_view field) {
    const auto fields = presetFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (fields[i].name == field) return findPreset(reading.roster, preset)->values[i];
    }
    return std::int64_t{-1};
  };
  EXPECT_EQ(value("Ram", "class"), 2);
  EXPECT_EQ(value("Ram", "leaderChoice"), 3);
  EXPECT_EQ(value("Raft", "class"), 11);
  EXPECT_EQ(value("Raft", "leaderChoice"), 6);
}

TEST(Presets, NamedWrongAreErrorsThatNameThem) {
  const RosterReading reading = parseRoster(kRoster);
  struct Case {
    const char* scenario;
    const char* field;
    const char* message;
  };
  const Case cases[] = {
      {R"({"defender": {"preset": "Reed Spears"}})",
       "defender.preset",
       "no preset named \"Reed Spears\" in the roster (allowed: a preset of "
       "the roster for the defender)"},
      {R"({"attacker": {"preset": "Ox Carts"}})",
       "attacker.preset",
       "\"Ox Carts\" is a preset for the defender only (allowed: a preset "
       "for the attacker)"},
      {R"({"defender": {"preset": "Slag Mortar"}})",
       "defender.preset",
       "\"Slag Mortar\" is a preset for the attacker only (allowed: a preset "
       "for the defender)"},
  };
  for (const Case& c : cases) {
    ScenarioText text = parseScenario(c.scenario, true);
    ASSERT_TRUE(text.errors.told.empty()) << c.scenario;
    const Problems problems = applyNamedPresets(reading.roster, &text);
    ASSERT_EQ(problems.told.size(), 1u) << c.scenario;
    const Problem* problem = &problems.told.front();
    EXPECT_EQ(problem->field, c.field);
    EXPECT_EQ(problem->message, c.message);
  }
  // Where the scenario reader itself refuses a preset's name: without a
  // roster (as the page and every reader without one), of the wrong type,
  // twice, or outside the attacker and the defender.
  struct Refused {
    const char* scenario;
    bool roster;
    const char* message;
  };
  const Refused refused[] = {
      {R"({"attacker": {"strength": 1, "preset": "Reed Pikes"}})", false,
       "\"Reed Pikes\" names a preset, but there is no roster (allowed: with "
       "--roster FILE)"},
      {R"({"attacker": {"preset": 3}})", true,
       "must be the name of a preset (allowed: a text, with --roster)"},
      {R"({"defender": {"preset": "A", "preset": "B"}})", true,
       "given twice (allowed: once)"},
      {R"({"general": {"preset": "A"}})", true, "unknown name"},
      {R"({"preset": "A"})", true, "unknown name"},
  };
  for (const Refused& r : refused) {
    const ScenarioText text = parseScenario(r.scenario, r.roster);
    ASSERT_EQ(text.errors.told.size(), 1u) << r.scenario;
    EXPECT_NE(text.errors.told[0].message.find(r.message), std::string::npos)
        << r.scenario << ": " << text.errors.told[0].message;
  }
}

TEST(Presets, ReplacingASideLeavesNothingOfTheOldUnit) {
  const RosterReading reading = parseRoster(kRoster);
  ScenarioText text = parseScenario(
      R"({"general": {"attackerClass": 2, "defenderClass": 1},)"
      R"( "attacker": {"attackValue": 9, "initiative": 4, "strength": 10,)"
      R"( "combatSupport": [5], "inRiver": true}, "combatRange": 1})");
  ASSERT_TRUE(text.errors.told.empty());
  const Preset& mortar = *findPreset(reading.roster, "Slag Mortar");
  CombatScenario s = text.scenario;
  GivenFields given = text.given;
  clearUnit(Side::attacker, &s, &given);
  applyPreset(mortar, Side::attacker, &s, &given);
  EXPECT_EQ(s.attackerClassEntered, 6);
  EXPECT_EQ(s.attackerCanMoveAfter, answer::kNo);
  EXPECT_EQ(s.attackerAttackValue, 0);
  EXPECT_FALSE(given[static_cast<std::size_t>(Field::attackerAttackValue)]);
  EXPECT_TRUE(s.attackerCombatSupport.empty());
  // The situation stays.
  EXPECT_EQ(s.attackerInRiver, answer::kYes);
  EXPECT_EQ(s.combatRange, 1);
  // So the mortar, which gives no strength, does not fit.
  EXPECT_FALSE(checkScenario(s, given).errors.told.empty());
}

TEST(PresetFields, RangesMeanTheSameForEverySideTheyServe) {
  struct Case {
    const char* field;
    bool attacker;
    bool defender;
    std::int64_t minimum;
    std::int64_t maximum;
  };
  const Case cases[] = {
      {"class", true, false, 1, 11},        {"class", false, true, 1, 12},
      {"class", true, true, 1, 10},         {"leaderChoice", true, false, 1, 7},
      {"leaderChoice", false, true, 1, 6},  {"leaderChoice", true, true, 1, 5},
      {"attackValue", false, true, 0, 999999999},
      {"attackValue", true, true, 1, 999999999},
  };
  for (const Case& c : cases) {
    const auto fields = presetFields();
    const auto field = std::find_if(fields.begin(), fields.end(), [&](const PresetField& f) {
      return f.name == c.field;
    });
    ASSERT_NE(field, fields.end());
    const WholeRange range = presetRange(*field, c.attacker, c.defender);
    EXPECT_EQ(range.minimum, c.minimum) << c.field << c.attacker << c.defender;
    EXPECT_EQ(range.maximum, c.maximum) << c.field << c.attacker << c.defender;
  }
  // No field of the situation is a unit's own.
  for (const Field situation : {Field::isAssault, Field::weatherSnowOrRain,
                                Field::attackerInRiver, Field::attackerOutOfFuel,
                                Field::defenderOutOfAmmo, Field::combatRange,
                                Field::terrainForest, Field::attackerCloseDefense,
                                Field::artillery, Field::timesAttacked,
                                Field::attackerGroundDefense,
                                Field::airplaneAirDefense}) {
    EXPECT_FALSE(presetFieldOf(situation)) << static_cast<int>(situation);
  }
}

// Written out by hand, apart from the one description of a unit's fields
// that the catalogue's entries for both sides are made from.
TEST(PresetFields, AreEachSidesOwnFieldsUnderTheirOwnNames) {
  using F = Field;
  struct Case {
    const char* name;
    std::optional<Field> attacker;
    std::optional<Field> defender;
    const char* attackerName;
    const char* defenderName;
  };
  const Case cases[] = {
      {"class", F::attackerClass, F::defenderClass, "general.attackerClass",
       "general.defenderClass"},
      {"isInfantry", std::nullopt, F::defenderIsInfantry, "", "general.defenderIsInfantry"},
      {"infantryLeader", F::attackerInfantryLeader, F::defenderInfantryLeader,
       "general.attackerInfantryLeader", "general.defenderInfantryLeader"},
      {"attackValue", F::attackerAttackValue, F::defenderAttackValue,
       "attacker.attackValue", "defender.attackValue"},
      {"initiative", F::attackerInitiative, F::defenderInitiative,
       "attacker.initiative", "defender.initiative"},
      {"defenseValue", F::attackerDefenseValue, F::defenderDefenseValue,
       "attacker.defenseValue", "defender.defenseValue"},
      {"rangedDefense", F::attackerRangedDefense, F::defenderRangedDefense,
       "attacker.rangedDefense", "defender.rangedDefense"},
      {"experience", F::attackerExperience, F::defenderExperience,
       "attacker.experience", "defender.experience"},
      {"firingRange", F::attackerFiringRange, F::defenderFiringRange,
       "attacker.firingRange", "defender.firingRange"},
      {"strength", F::attackerStrength, F::defenderStrength, "attacker.strength",
       "defender.strength"},
      {"entrenchment", F::attackerEntrenchment, F::defenderEntrenchment,
       "attacker.entrenchment", "defender.entrenchment"},
      {"canMoveAfter", F::attackerCanMoveAfter, std::nullopt, "attacker.canMoveAfter", ""},
      {"antiTankHasLeader", F::antiTankHasLeader, std::nullopt,
       "attacker.antiTankHasLeader", ""},
      {"combatSupport", F::attackerCombatSupport, F::defenderCombatSupport,
       "attacker.combatSupport", "defender.combatSupport"},
      {"leaderChoice", F::attackerLeaderChoice, F::defenderLeaderChoice,
       "attacker.leaderChoice", "defender.leaderChoice"},
  };
  const auto fields = presetFields();
  ASSERT_EQ(fields.size(), std::size(cases));
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.name);
    EXPECT_EQ(fields[i].name, c.name);
    EXPECT_EQ(fields[i].attacker, c.attacker);
    EXPECT_EQ(fields[i].defender, c.defender);
    for (const auto& [side, field, name] :
         {std::tuple{Side::attacker, c.attacker, c.attackerName},
          std::tuple{Side::defender, c.defender, c.defenderName}}) {
      if (!field) continue;
      const ScenarioField& info = fieldInfo(*field);
      EXPECT_EQ(dottedName(info), name);
      EXPECT_EQ(info.kind, fields[i].kind);
      EXPECT_STREQ(info.label, fields[i].label);
      const std::optional<UnitPlace> place = unitPlaceOf(*field);
      ASSERT_TRUE(place);
      EXPECT_EQ(place->unitField, i);
      EXPECT_EQ(place->side, side);
    }
  }
}

TEST(Compare, SortsBestForTheAttackerFirstAndErrorsLast) {
  const RosterReading reading = parseRoster(kRoster);
  const Preset& a = reading.roster.presets[0];
  const Preset& b = reading.roster.presets[1];
  const Preset& c = reading.roster.presets[2];
  const auto row = [](const Preset& preset, std::int64_t attacker,
                      std::int64_t defender, std::int64_t chance) {
    CompareRow r;
    r.preset = &preset;
    r.prediction.odds.attackerLosses = attacker;
    r.prediction.odds.defenderLosses = defender;
    r.prediction.ruggedChance = chance;
    r.prediction.rugged.attackerLosses = attacker + 1;
    return r;
  };
  const auto namesOf = [](const std::vector<CompareRow>& rows) {
    std::string names;
    for (const CompareRow& r : rows) names += r.preset->name.substr(0, 1);
    return names;
  };
  std::vector<CompareRow> rows{row(a, 3, 5, 0), row(b, 1, 5, 20), row(c, 0, 7, 10)};
  rows.push_back(row(a, 0, 9, 0));
  rows.back().error = Problem{"attacker.strength", "missing", {}};
  struct Case {
    const char* sort;
    const char* order;
  };
  const Case cases[] = {
      {"", "SORR"},                 // defender's losses most, then attacker's fewest
      {"attackerLosses", "SORR"},   // fewest first, ties by the usual order
      {"ruggedChance", "RSOR"},     // lowest chance first
      {"ruggedAttackerLosses", "SORR"},  // blank outcomes after the others
      {"preset", "ORSR"},           // by name
  };
  for (const Case& k : cases) {
    std::vector<CompareRow> sorted = rows;
    sortRows(&sorted, k.sort);
    EXPECT_EQ(namesOf(sorted), k.order) << k.sort;
    EXPECT_TRUE(sorted.back().error) << k.sort;
  }
}

}  // namespace
