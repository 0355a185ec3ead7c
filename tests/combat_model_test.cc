#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "combat/differences.h"
#include "combat/exchange.h"
#include "combat/modifiers.h"
#include "combat/support_fire.h"
#include "report/report.h"

namespace {

// A console for code that must not ask anything: a question would meet the
// end of the input and throw.
struct Silent {
  std::istringstream in{""};
  std::ostringstream out;
  Console console{in, out};
};

// A tank attacking a tank, both of strength 10, with the values as entered.
CombatScenario tankAgainstTank() {
  CombatScenario s;
  s.attackerClass = 2;
  s.defenderClass = 2;
  s.attackerAttackValue = 10;
  s.attackerDefenseValue = 7;
  s.attackerDefenseValueEntered = 7;
  s.defenderAttackValue = 8;
  s.defenderDefenseValue = 6;
  s.attackerStrength = s.defenderStrength = 10.0f;
  s.attackerStrengthWhole = s.defenderStrengthWhole = 10;
  s.combatRange = 1;
  s.defenderFiringRange = 1;
  s.attackerFiringRange = 1;
  return s;
}

TEST(CombatModel, RuggedDefenseChance) {
  struct Case {
    std::int64_t defenderEntrenchment, attackerEntrenchment;
    std::int64_t defenderExperience, attackerExperience, chance;
  };
  const std::vector<Case> cases = {
      {2, 0, 0, 0, 15},
      {5, 1, 3, 1, 25},
      {10, 0, 4, 0, 100},
      {1, 2, 1, 0, 4},  // 10 / 3 = 3, x 3 = 9, / 2 = 4: each division first
      {1, 10, 0, 0, 0},
      // 5e9 x 4e18 passes 64 bits before the division
      {999999999, 0, 4000000000000000000, 0, 100},
      {999999999, 0, 4000000000000000000, 4000000000000000000, 100},
      {1, 999999999, 4000000000000000000, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.defenderEntrenchment);
    EXPECT_EQ(ruggedDefenseChance(c.defenderEntrenchment, c.attackerEntrenchment,
                                  c.defenderExperience, c.attackerExperience),
              c.chance);
  }
}

TEST(CombatModel, HalveStrength) {
  EXPECT_EQ(halveStrength(7.0f), 3.0f);
  EXPECT_EQ(halveStrength(1.0f), 0.0f);
  EXPECT_EQ(halveStrength(0.0f), 0.0f);
  EXPECT_EQ(halveStrength(10.0f), 5.0f);
  EXPECT_EQ(halveStrength(halveStrength(7.0f)), 1.0f);
}

TEST(CombatModel, ModifierRows) {
  struct Case {
    const char* name;
    std::function<void(CombatScenario&)> setup;
    std::int64_t attackerAttack, attackerDefense, defenderAttack, defenderDefense;
  };
  const std::vector<Case> cases = {
      {"nothing", [](auto&) {}, 10, 7, 8, 6},
      {"assault, infantry leaders do not count",
       [](auto& s) {
         s.isAssault = 'y';
         s.attackerInfantryLeader = s.defenderInfantryLeader = 'Y';
       },
       14, 7, 12, 6},
      {"infantry leaders outside an assault",
       [](auto& s) { s.attackerInfantryLeader = s.defenderInfantryLeader = 'y'; },
       10, 11, 8, 10},
      {"softening 3 on defense 5",
       [](auto& s) { s.defenderDefenseValue = 5; s.timesAttacked = 3; },
       10, 7, 8, -1},
      {"no softening from artillery",
       [](auto& s) { s.attackerClass = 6; s.timesAttacked = 3; },
       10, 7, 8, 6},
      {"no softening from a bomber",
       [](auto& s) { s.attackerClass = 9; s.timesAttacked = 3; },
       10, 7, 8, 6},
      {"both in a river",
       [](auto& s) { s.attackerInRiver = s.defenderInRiver = 'y'; },
       14, 11, 12, 10},
      {"attacker entrenched in a city",
       [](auto& s) {
         s.attackerEntrenchment = 2;
         s.attackerInCityForestMountain = 'y';
         s.defenderEntrenchment = 3;
       },
       10, 11, 8, 9},
      {"defender entrenched in a forest",
       [](auto& s) {
         s.attackerEntrenchment = 2;
         s.defenderEntrenchment = 3;
         s.defenderInCityForestMountain = 'Y';
       },
       10, 9, 8, 12},
      {"skilled ground attack from the air",
       [](auto& s) { s.attackerLeaderChoice = 6; s.airToSurfaceAttack = 'y'; },
       14, 7, 8, 6},
      {"snow", [](auto& s) { s.weatherSnowOrRain = 'y'; }, 10, 10, 8, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CombatScenario s = tankAgainstTank();
    c.setup(s);
    Silent io;
    applyCombatValueModifiers(s, io.console);
    EXPECT_EQ(s.attackerAttackValue, c.attackerAttack);
    EXPECT_EQ(s.attackerDefenseValue, c.attackerDefense);
    EXPECT_EQ(s.defenderAttackValue, c.defenderAttack);
    EXPECT_EQ(s.defenderDefenseValue, c.defenderDefense);
    EXPECT_EQ(s.ruggedChance, 0);
    EXPECT_EQ(io.out.str(), "");
  }
}

TEST(CombatModel, OvercastAndOutOfFuelHalveTheStrengths) {
  CombatScenario s = tankAgainstTank();
  s.attackerStrength = 7.0f;
  s.defenderStrength = 1.0f;
  s.weatherOvercast = 'y';
  s.attackerOutOfFuel = 'y';
  Silent io;
  applyCombatValueModifiers(s, io.console);
  EXPECT_EQ(s.attackerStrength, 1.0f);
  EXPECT_EQ(s.defenderStrength, 0.0f);
  EXPECT_EQ(s.attackerStrengthBeforeSupport, 1.0f);
  EXPECT_EQ(s.defenderStrengthBeforeSupport, 0.0f);

  CombatScenario d = tankAgainstTank();
  d.defenderStrength = 7.0f;
  d.weatherOvercast = 'Y';
  d.defenderOutOfFuel = 'y';
  applyCombatValueModifiers(d, io.console);
  EXPECT_EQ(d.attackerStrength, 5.0f);
  EXPECT_EQ(d.defenderStrength, 1.0f);
}

TEST(CombatModel, CloseDefenseAskedOnlyForAPossibleRuggedDefense) {
  CombatScenario s = tankAgainstTank();
  s.attackerClass = s.defenderClass = 1;
  s.defenderEntrenchment = 2;
  std::istringstream in("abc\n4\n");
  std::ostringstream out;
  Console console{in, out};
  applyCombatValueModifiers(s, console);
  EXPECT_EQ(s.ruggedChance, 15);
  EXPECT_EQ(s.attackerCloseDefense, 4);
  EXPECT_EQ(out.str(),
            "\n\nRugged Defense Factor:\n\n"
            "\nPlease enter the close defense of the attacking unit:\n>> "
            "\nThe close defense must be zero or greater.  Please reenter:\n>> ");

  CombatScenario assault = tankAgainstTank();
  assault.attackerClass = assault.defenderClass = 1;
  assault.defenderEntrenchment = 2;
  assault.isAssault = 'y';
  Silent io;
  applyCombatValueModifiers(assault, io.console);
  EXPECT_EQ(assault.ruggedChance, 15);
  EXPECT_EQ(assault.attackerCloseDefense, 0);
  EXPECT_EQ(io.out.str(), "");

  CombatScenario none = tankAgainstTank();
  none.attackerClass = none.defenderClass = 1;
  none.defenderEntrenchment = 1;
  none.attackerEntrenchment = 10;
  applyCombatValueModifiers(none, io.console);
  EXPECT_EQ(none.ruggedChance, 0);
  EXPECT_EQ(io.out.str(), "");
}

TEST(CombatModel, RangedDefenseByRange) {
  struct Case {
    const char* name;
    std::function<void(CombatScenario&)> setup;
    std::int64_t attackerDefense, defenderDefense;
  };
  const std::vector<Case> cases = {
      {"range 2", [](auto& s) { s.combatRange = 2; s.defenderFiringRange = 2; }, 11, 9},
      {"range 1, firing range 1", [](auto&) {}, 11, 7},
      {"range 1, firing range 2", [](auto& s) { s.defenderFiringRange = 2; }, 9, 7},
      {"range 1, firing range 3", [](auto& s) { s.defenderFiringRange = 3; }, 7, 6},
      {"assault", [](auto& s) { s.isAssault = 'y'; s.combatRange = 2; }, 7, 6},
      {"anti-tank that must stay",
       [](auto& s) {
         s.attackerClass = 4;
         s.attackerCanMoveAfter = s.antiTankHasLeader = 'n';
         s.combatRange = 2;
       },
       7, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CombatScenario s = tankAgainstTank();
    s.attackerRangedDefense = 4;
    s.defenderRangedDefense = 3;
    c.setup(s);
    formCombatDifferences(s);
    EXPECT_EQ(s.attackerDefenseValue, c.attackerDefense);
    EXPECT_EQ(s.defenderDefenseValue, c.defenderDefense);
    EXPECT_EQ(s.attackerDifference, 10 - c.defenderDefense);
    EXPECT_EQ(s.defenderDifference, 8 - c.attackerDefense);
  }
}

TEST(CombatModel, ShipPenaltyAndSofteningLargerThanTheDefense) {
  CombatScenario ship = tankAgainstTank();
  ship.attackerClass = ship.defenderClass = 10;
  ship.shipAlreadyAttackedByShip = 'y';
  formCombatDifferences(ship);
  EXPECT_EQ(ship.defenderAttackValue, 1);  // 8 - 10 fights with 1
  EXPECT_EQ(ship.defenderDifference, 1 - 7);

  // Defense 5 less 2 x 3 earlier attacks, as the modifiers leave it.
  CombatScenario soft = tankAgainstTank();
  soft.defenderDefenseValue = -1;
  soft.timesAttacked = 3;
  formCombatDifferences(soft);
  EXPECT_EQ(soft.defenseBeforeSoftening, 5);
  EXPECT_EQ(soft.defenderDefenseValue, 0);
  EXPECT_EQ(soft.attackerDifference, 10);
  EXPECT_EQ(softenedDefenseFor(soft, 3), 0);
  EXPECT_EQ(softenedDefenseFor(soft, 1), 3);
  EXPECT_EQ(softenedDefenseFor(soft, 0), 5);
}

const SupportFireTexts kTexts{"U", "T", "Q"};

TEST(CombatModel, SupportFireTotals) {
  std::istringstream in("y\nn\n");
  std::ostringstream out;
  Console console{in, out};
  std::int64_t damage = 0, suppression = 0;
  EXPECT_TRUE(settleSupportFire(console, 3, 5, 10, 10, damage, suppression, kTexts));
  EXPECT_EQ(out.str(), "U3 damage and 5 suppression.\nQ");
  out.str("");
  EXPECT_FALSE(settleSupportFire(console, 3, 5, 10, 10, damage, suppression, kTexts));
  EXPECT_EQ(out.str(),
            "U3 damage and 5 suppression.\nT6 damage and 4 suppression.\nQ");
  EXPECT_EQ(damage, 6);
  EXPECT_EQ(suppression, 4);
}

TEST(CombatModel, SupportFireCapsEndThePhaseWithoutAsking) {
  Silent io;
  std::int64_t damage = 0, suppression = 0;
  EXPECT_FALSE(settleSupportFire(io.console, 12, 3, 20, 10, damage, suppression, kTexts));
  EXPECT_EQ(io.out.str(), "U10 damage and 0 suppression.\n");
  EXPECT_EQ(damage, 0);
  EXPECT_EQ(suppression, 0);

  // The totals pass the cap although no single unit does.
  Silent twice;
  damage = 6;
  suppression = 0;
  EXPECT_FALSE(settleSupportFire(twice.console, 6, 0, 20, 10, damage, suppression, kTexts));
  EXPECT_EQ(twice.out.str(), "U6 damage and 0 suppression.\n");
  EXPECT_EQ(damage, 10);
  EXPECT_EQ(suppression, 0);
}

TEST(CombatModel, SubtractSupportFire) {
  CombatScenario s;
  s.attackerStrength = 5.0f;
  subtractSupportFire(s, 6, 2);
  EXPECT_EQ(s.attackerStrength, 0.0f);
  s.attackerStrength = 10.0f;
  subtractSupportFire(s, 2, 3);
  EXPECT_EQ(s.attackerStrength, 5.0f);
  subtractSupportFire(s, 0, 0);
  EXPECT_EQ(s.attackerStrength, 5.0f);
}

std::string separator() { return "\n\n" + std::string(79, '*'); }

// Three tank-against-tank combats at range 1, run through a whole pass.
TEST(CombatModel, ReportWorkedCombats) {
  struct Case {
    std::int64_t attackerInitiative, artilleryDamage, artillerySuppression;
    std::string odds;
  };
  const std::vector<Case> cases = {
      {5, 0, 0,
       "\n\nThe odds are 4 against the attacker, 5 against the defender."
       "\n\nAlso, the attacker is predicted to inflict 3 suppression."},
      {7, 0, 0,
       "\n\nThe odds are 2 against the attacker, 5 against the defender."
       "\n\nAlso, the attacker is predicted to inflict 4 suppression."},
      {5, 2, 3,
       "\n\nThe odds are 6 against the attacker, 2 against the defender."
       "\n\nAlso, the attacker is predicted to inflict 1 suppression."
       "\n\nIf not for artillery support, the odds would have been 4 against "
       "the attacker,\nand 5 against the defender."
       "\n\nAlso, the attacker would have been predicted to inflict 3 suppression."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attackerInitiative);
    CombatScenario s = tankAgainstTank();
    s.attackerInitiative = s.attackerInitiativeEntered = c.attackerInitiative;
    s.defenderInitiative = s.defenderInitiativeEntered = 5;
    s.attackerStrengthBeforeSupport = s.defenderStrengthBeforeSupport = 10.0f;
    s.artilleryDamageTotal = c.artilleryDamage;
    s.artillerySuppressionTotal = c.artillerySuppression;
    subtractSupportFire(s, c.artilleryDamage, c.artillerySuppression);
    formCombatDifferences(s);
    resolveInitiative(s);
    exchangeFire(s);
    resolveFirstStrike(s);
    applyFinalLimits(s);  // no rugged-defense chance: that step is skipped
    std::ostringstream out;
    printOdds(s, out);
    EXPECT_EQ(out.str(), separator() + c.odds + separator() + "\n\n");
  }
}

}  // namespace
