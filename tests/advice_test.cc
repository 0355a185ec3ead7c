// What would help: which changes apply to a combat, the scenario each one
// makes, and the words its row is given.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "combat/advice.h"
#include "report/advice_report.h"
#include "report/prediction_table.h"

namespace {

using namespace unit_class;

// A combat of the two classes as settled, at range 1 between units of
// firing range 1, the attacker able to move after it.
CombatScenario combatOf(std::int64_t attacker, std::int64_t defender) {
  CombatScenario s;
  s.attackerClassEntered = attacker;
  s.defenderClassEntered = defender;
  settleUnitClasses(&s);
  s.attackerAttackValue = s.defenderAttackValue = 8;
  s.attackerStrength = s.defenderStrength = 10;
  s.attackerFiringRange = s.defenderFiringRange = 1;
  return s;
}

ArtilleryPiece pieceOf(std::int64_t attack) {
  ArtilleryPiece piece;
  piece.attackValue = attack;
  piece.strength = 10;
  return piece;
}

// The changes as their rows' words, which name every kind and amount.
std::vector<std::string> wordsOf(const std::vector<Change>& changes) {
  std::vector<std::string> words;
  for (const Change& change : changes) words.push_back(changeWords(change));
  return words;
}

const std::vector<std::string> kSoftening = {"Attack it 1 more time first",
                                             "Attack it 2 more times first",
                                             "Attack it 3 more times first"};

std::vector<std::string> softeningAnd(std::vector<std::string> more) {
  std::vector<std::string> words = kSoftening;
  words.insert(words.end(), more.begin(), more.end());
  return words;
}

TEST(Advice, ChangesThatApply) {
  struct Case {
    const char* name;
    std::function<CombatScenario()> combat;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"a tank duel: only softening", [] { return combatOf(kTank, kTank); },
       kSoftening},
      {"in a river, out of fuel, in snow",
       [] {
         CombatScenario s = combatOf(kTank, kTank);
         s.attackerInRiver = answer::kYes;
         s.attackerCanMoveAfter = answer::kNo;
         s.attackerOutOfFuel = 'Y';
         s.weatherSnowOrRain = answer::kYes;
         return s;
       },
       softeningAnd({"Leave the river first", "Refuel first",
                     "Wait for dry weather"})},
      {"out of fuel but able to move: the fuel is not asked",
       [] {
         CombatScenario s = combatOf(kTank, kTank);
         s.attackerOutOfFuel = answer::kYes;
         return s;
       },
       kSoftening},
      {"an artillery attacker: nothing applies",
       [] {
         CombatScenario s = combatOf(kArtillery, kTank);
         s.weatherSnowOrRain = answer::kNo;
         return s;
       },
       {}},
      {"three artillery pieces",
       [] {
         CombatScenario s = combatOf(kInfantry, kInfantry);
         s.artillery = {pieceOf(1), pieceOf(2), pieceOf(3)};
         return s;
       },
       softeningAnd({"Silence artillery piece 1 first",
                     "Silence artillery piece 2 first",
                     "Silence artillery piece 3 first",
                     "Silence all the artillery first"})},
      {"a bomber against one air-defense unit: no softening, no all",
       [] {
         CombatScenario s = combatOf(kBomber, kTank);
         s.airDefense.resize(1);
         return s;
       },
       {"Silence air-defense unit 1 first"}},
      {"a fighter over a tank in snow: the weather is not asked",
       [] {
         CombatScenario s = combatOf(kFighter, kTank);
         s.weatherSnowOrRain = answer::kYes;
         return s;
       },
       kSoftening},
      {"firing range 3 at range 2",
       [] {
         CombatScenario s = combatOf(kTank, kTank);
         s.attackerFiringRange = 3;
         s.combatRange = 2;
         return s;
       },
       softeningAnd({"Attack from range 1", "Attack from range 3"})},
      {"firing range 15 at range 12: ranges up to 10",
       [] {
         CombatScenario s = combatOf(kTank, kTank);
         s.attackerFiringRange = 15;
         s.combatRange = 12;
         return s;
       },
       softeningAnd({"Attack from range 1", "Attack from range 2",
                     "Attack from range 3", "Attack from range 4",
                     "Attack from range 5", "Attack from range 6",
                     "Attack from range 7", "Attack from range 8",
                     "Attack from range 9", "Attack from range 10"})},
      {"attacked almost as often as an answer can say",
       [] {
         CombatScenario s = combatOf(kTank, kTank);
         s.timesAttacked = kLargestAnswer - 1;
         return s;
       },
       {"Attack it 1 more time first"}},
      {"a ship against a ship: no times attacked",
       [] { return combatOf(kNaval, kNaval); }, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wordsOf(changesOf(c.combat())), c.words) << c.name;
  }
}

TEST(Advice, ChangedScenario) {
  CombatScenario given = combatOf(kInfantry, kInfantry);
  given.artillery = {pieceOf(1), pieceOf(2), pieceOf(3)};
  given.attackerInRiver = answer::kYes;
  given.weatherSnowOrRain = answer::kYes;
  // The check may have dropped pieces and settled the times attacked.
  CombatScenario checked = given;
  checked.timesAttacked = 2;
  checked.artillery.resize(2);

  const auto attacks = [](const CombatScenario& s) {
    std::vector<std::int64_t> values;
    for (const ArtilleryPiece& piece : s.artillery) values.push_back(piece.attackValue);
    return values;
  };
  const CombatScenario second =
      changedScenario(given, checked, {ChangeKind::silenceArtillery, 2});
  EXPECT_EQ(attacks(second), (std::vector<std::int64_t>{1, 3}));
  EXPECT_TRUE(changedScenario(given, checked, {ChangeKind::silenceArtillery, 0})
                  .artillery.empty());
  EXPECT_EQ(changedScenario(given, checked, {ChangeKind::soften, 3}).timesAttacked, 5);
  EXPECT_EQ(changedScenario(given, checked, {ChangeKind::range, 4}).combatRange, 4);
  EXPECT_EQ(changedScenario(given, checked, {ChangeKind::leaveRiver, 0}).attackerInRiver,
            answer::kNo);
  EXPECT_EQ(changedScenario(given, checked, {ChangeKind::clearWeather, 0})
                .weatherSnowOrRain,
            answer::kNo);
  // Each change touches its own field only.
  const CombatScenario river = changedScenario(given, checked, {ChangeKind::leaveRiver, 0});
  EXPECT_EQ(river.weatherSnowOrRain, answer::kYes);
  EXPECT_EQ(attacks(river), (std::vector<std::int64_t>{1, 2, 3}));
  EXPECT_EQ(changedField({ChangeKind::silenceAirDefense, 1}), Field::airDefense);
  EXPECT_EQ(changedField({ChangeKind::preset, 0}), std::nullopt);
}

TEST(Advice, Words) {
  const struct {
    Change change;
    const char* name;
    const char* words;
  } cases[] = {
      {{ChangeKind::asGiven, 0}, "", "As given"},
      {{ChangeKind::soften, 2}, "", "Attack it 2 more times first"},
      {{ChangeKind::silenceArtillery, 2}, "", "Silence artillery piece 2 first"},
      {{ChangeKind::silenceAirDefense, 0}, "", "Silence all the air defense first"},
      {{ChangeKind::leaveRiver, 0}, "", "Leave the river first"},
      {{ChangeKind::refuel, 0}, "", "Refuel first"},
      {{ChangeKind::range, 2}, "", "Attack from range 2"},
      {{ChangeKind::preset, 1}, "Old Ironside", "Attack with Old Ironside instead"},
  };
  for (const auto& c : cases) EXPECT_EQ(changeWords(c.change, c.name), c.words);
}

// The table stays within 80 columns whatever the names and figures: a long
// preset's name is cut short, and every figure and difference stays whole.
TEST(Advice, TableStaysWithinEightyColumns) {
  std::vector<AdviceRow> rows(3);
  rows[0].prediction.odds.attackerLosses = 999999999;
  rows[0].prediction.odds.defenderLosses = 0;
  rows[1].change = {ChangeKind::preset, 0};
  rows[1].presetName = std::string(60, 'N');
  rows[1].prediction.odds.defenderLosses = 999999999;
  rows[1].prediction.ruggedChance = 100;
  rows[2].change = {ChangeKind::soften, 2};
  rows[2].failed = true;
  rows[2].errorField = "artillery.1.strength";
  rows[2].errorMessage = std::string(120, 'x');
  rows[2].errorText = "artillery.1.strength: " + rows[2].errorMessage;
  const std::string table = adviceTable(rows);
  std::istringstream lines(table);
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), kTableWidth) << line;
    all.push_back(line);
  }
  ASSERT_EQ(all.size(), 5u);  // two heading lines and a line a row
  EXPECT_NE(all[3].find("..."), std::string::npos);
  EXPECT_NE(all[3].find("-999999999"), std::string::npos);
  EXPECT_NE(all[3].find("+999999999"), std::string::npos);
  EXPECT_NE(all[3].find("+100"), std::string::npos);
  EXPECT_EQ(all[4].rfind("Attack it", 0), 0u);
  EXPECT_NE(all[4].find("artillery.1.strength: xxx"), std::string::npos);
}

}  // namespace
