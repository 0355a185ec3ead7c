// The combat model on its own: answers in, figures out, no console.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "combat/combat.h"
#include "combat/differences.h"
#include "combat/modifiers.h"
#include "combat/questions.h"
#include "combat/rugged.h"
#include "combat/support_fire.h"
#include "report/report.h"

namespace {

// A tank attacking a tank, both of strength 10, at range 1 against a
// defender of firing range 1.
CombatScenario tankAgainstTank() {
  CombatScenario s;
  s.attackerClassEntered = 2;
  s.defenderClassEntered = 2;
  settleUnitClasses(&s);
  s.attackerAttackValue = 10;
  s.attackerDefenseValue = 7;
  s.defenderAttackValue = 8;
  s.defenderDefenseValue = 6;
  s.attackerStrength = s.defenderStrength = 10;
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

TEST(CombatModel, RuggedChanceCountsCombatSupportAndNeedsEntrenchedInfantry) {
  CombatScenario s = tankAgainstTank();
  s.attackerClassEntered = s.defenderClassEntered = 1;
  settleUnitClasses(&s);
  s.defenderEntrenchment = 1;
  s.attackerEntrenchment = 2;
  s.defenderCombatSupport = {1};  // 10 / 3 = 3, x 3 = 9, / 2 = 4
  EXPECT_EQ(ruggedChanceOf(s), 4);
  EXPECT_TRUE(asks(Field::attackerCloseDefense, s));
  s.isAssault = 'y';  // the chance stands, the close defense is not asked
  EXPECT_EQ(ruggedChanceOf(s), 4);
  EXPECT_FALSE(asks(Field::attackerCloseDefense, s));
  s.defenderEntrenchment = 0;
  EXPECT_EQ(ruggedChanceOf(s), 0);
  CombatScenario tank = tankAgainstTank();
  tank.defenderEntrenchment = 5;
  EXPECT_EQ(ruggedChanceOf(tank), 0);
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
      {"experience with Combat Support",
       [](auto& s) {
         s.attackerExperience = 1;
         s.attackerCombatSupport = {2, 3};
         s.defenderCombatSupport = {1};
       },
       16, 13, 9, 7},
      {"leader choices",
       [](auto& s) { s.attackerLeaderChoice = 1; s.defenderLeaderChoice = 5; },
       12, 7, 8, 8},
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
       [](auto& s) {
         s.attackerClassEntered = 9;
         settleUnitClasses(&s);
         s.attackerLeaderChoice = 6;
       },
       14, 7, 8, 6},
      {"skilled ground attack on the ground does nothing",
       [](auto& s) { s.attackerLeaderChoice = 6; }, 10, 7, 8, 6},
      {"snow", [](auto& s) { s.weatherSnowOrRain = 'y'; }, 10, 10, 8, 9},
      {"the softening is left to the pass",
       [](auto& s) { s.timesAttacked = 3; }, 10, 7, 8, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CombatScenario s = tankAgainstTank();
    c.setup(s);
    const CombatState state = applyCombatValueModifiers(s);
    EXPECT_EQ(state.attackerAttackValue, c.attackerAttack);
    EXPECT_EQ(state.attackerDefenseValue, c.attackerDefense);
    EXPECT_EQ(state.defenderAttackValue, c.defenderAttack);
    EXPECT_EQ(state.defenderDefenseValue, c.defenderDefense);
    EXPECT_EQ(state.ruggedChance, 0);
  }
}

TEST(CombatModel, InfantryAssaultOnInfantryDefendsAsInCloseTerrain) {
  CombatScenario s = tankAgainstTank();
  s.attackerClassEntered = s.defenderClassEntered = 1;
  settleUnitClasses(&s);
  s.isAssault = 'y';
  s.defenderEntrenchment = 3;
  EXPECT_EQ(applyCombatValueModifiers(s).defenderDefenseValue, 6 + 2 * 3);
  EXPECT_FALSE(asks(Field::defenderInRiver, s));
  s.isAssault = 'n';
  EXPECT_EQ(applyCombatValueModifiers(s).defenderDefenseValue, 6 + 3);
}

TEST(CombatModel, OvercastAndOutOfFuelHalveTheStrengths) {
  CombatScenario s = tankAgainstTank();
  s.attackerStrength = 7;
  s.defenderStrength = 1;
  s.weatherOvercast = 'y';
  s.attackerOutOfFuel = 'y';
  const CombatState state = applyCombatValueModifiers(s);
  EXPECT_EQ(state.attackerStrength, 1.0f);
  EXPECT_EQ(state.defenderStrength, 0.0f);
  EXPECT_EQ(state.attackerStrengthBeforeSupport, 1.0f);
  EXPECT_EQ(state.defenderStrengthBeforeSupport, 0.0f);
  EXPECT_EQ(state.attackerStrengthWhole, 7);
  EXPECT_EQ(state.defenderStrengthWhole, 1);

  CombatScenario d = tankAgainstTank();
  d.defenderStrength = 7;
  d.weatherOvercast = 'Y';
  d.defenderOutOfFuel = 'y';
  EXPECT_EQ(applyCombatValueModifiers(d).attackerStrength, 5.0f);
  EXPECT_EQ(applyCombatValueModifiers(d).defenderStrength, 1.0f);
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
         s.attackerClassEntered = 4;
         settleUnitClasses(&s);
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
    CombatState state = applyCombatValueModifiers(s);
    formCombatDifferences(s, &state);
    EXPECT_EQ(state.attackerDefenseValue, c.attackerDefense);
    EXPECT_EQ(state.defenderDefenseValue, c.defenderDefense);
    EXPECT_EQ(attackerDifferenceFor(s, state, 0),
              state.attackerAttackValue - c.defenderDefense);
    EXPECT_EQ(state.defenderDifference,
              state.defenderAttackValue - c.attackerDefense);
  }
}

TEST(CombatModel, ShipPenaltyAndSofteningLargerThanTheDefense) {
  CombatScenario ship = tankAgainstTank();
  ship.attackerClassEntered = ship.defenderClassEntered = 10;
  settleUnitClasses(&ship);
  ship.shipAlreadyAttackedByShip = 'y';
  CombatState shipState = applyCombatValueModifiers(ship);
  formCombatDifferences(ship, &shipState);
  EXPECT_EQ(shipState.defenderAttackValue, 1);  // 8 - 10 fights with 1
  EXPECT_EQ(shipState.defenderDifference, 1 - 7);

  // Defense 5 against 3 earlier attacks.
  CombatScenario soft = tankAgainstTank();
  soft.defenderDefenseValue = 5;
  soft.timesAttacked = 3;
  CombatState state = applyCombatValueModifiers(soft);
  formCombatDifferences(soft, &state);
  EXPECT_EQ(state.defenseBeforeSoftening, 5);
  EXPECT_EQ(attackerDifferenceFor(soft, state, 3), 10);
  EXPECT_EQ(attackerDifferenceFor(soft, state, 1), 10 - 3);
  EXPECT_EQ(softenedDefense(5, 3), 0);
  EXPECT_EQ(softenedDefense(5, 0), 5);
  // Artillery and bombers do not soften the defender.
  soft.attackerClassEntered = 9;
  settleUnitClasses(&soft);
  EXPECT_EQ(attackerDifferenceFor(soft, state, 3), 10 - 5);
}

SettledFire settled(std::int64_t damage, std::int64_t suppression,
                    std::int64_t damageTotal, std::int64_t suppressionTotal,
                    bool capped) {
  return {damage, suppression, damageTotal, suppressionTotal, capped};
}

void expectSettled(const SettledFire& actual, const SettledFire& expected) {
  EXPECT_EQ(actual.damage, expected.damage);
  EXPECT_EQ(actual.suppression, expected.suppression);
  EXPECT_EQ(actual.damageTotal, expected.damageTotal);
  EXPECT_EQ(actual.suppressionTotal, expected.suppressionTotal);
  EXPECT_EQ(actual.damageCapped, expected.damageCapped);
}

TEST(CombatModel, SettleSupportFire) {
  struct Case {
    const char* name;
    FireResult fire;
    std::int64_t unitStrength;
    SettledFire before, expected;
  };
  const std::vector<Case> cases = {
      {"first unit", {3, 5}, 10, {}, settled(3, 5, 3, 5, false)},
      {"second unit: suppression total capped", {3, 5}, 10,
       settled(3, 5, 3, 5, false), settled(3, 5, 6, 4, false)},
      {"negative figures become 0", {-2, -7}, 9, {}, settled(0, 0, 0, 0, false)},
      {"strength 10 does at least one damage", {-2, -7}, 10, {},
       settled(1, 0, 1, 0, false)},
      {"own damage past the cap does not count", {12, 3}, 20,
       settled(2, 1, 2, 1, false), settled(10, 0, 2, 1, true)},
      {"totals past the cap", {6, 0}, 20, settled(6, 0, 6, 0, false),
       settled(6, 0, 10, 0, true)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectSettled(settleSupportFire(c.fire, c.unitStrength, c.before, 10),
                  c.expected);
  }
}

TEST(CombatModel, SubtractSupportFire) {
  EXPECT_EQ(subtractSupportFire(5.0f, 6, 2), 0.0f);
  EXPECT_EQ(subtractSupportFire(10.0f, 2, 3), 5.0f);
  EXPECT_EQ(subtractSupportFire(5.0f, 0, 0), 5.0f);
}

std::string separator() { return "\n\n" + std::string(79, '*'); }

// Three tank-against-tank combats at range 1, through the model and the
// report; the third under two artillery pieces.
TEST(CombatModel, ReportWorkedCombats) {
  struct Case {
    std::int64_t attackerInitiative;
    std::vector<ArtilleryPiece> artillery;
    std::string odds;
  };
  // Difference 10 - 7 = 3: 5 x 8 / 20 = 2 damage, 9 x 8 / 20 = 3
  // suppression; then a piece of strength 0 that does nothing.
  ArtilleryPiece piece;
  piece.attackValue = 10;
  piece.strength = 8;
  piece.adjacent = 'y';
  ArtilleryPiece silent;
  silent.attackValue = 0;
  silent.strength = 1;
  const std::vector<Case> cases = {
      {5, {},
       "\n\nThe odds are 4 against the attacker, 5 against the defender."
       "\n\nAlso, the attacker is predicted to inflict 3 suppression."},
      {7, {},
       "\n\nThe odds are 2 against the attacker, 5 against the defender."
       "\n\nAlso, the attacker is predicted to inflict 4 suppression."},
      {5, {piece, silent},
       "\n\nThe odds are 6 against the attacker, 2 against the defender."
       "\n\nAlso, the attacker is predicted to inflict 1 suppression."
       "\n\nIf not for artillery support, the odds would have been 4 against "
       "the attacker,\nand 5 against the defender."
       "\n\nAlso, the attacker would have been predicted to inflict 3 suppression."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attackerInitiative);
    CombatScenario s = tankAgainstTank();
    s.attackerInitiative = c.attackerInitiative;
    s.defenderInitiative = 5;
    s.artillery = c.artillery;
    const Prediction p = predictCombat(s).prediction;
    std::string out;
    renderOdds(p, &out);
    EXPECT_EQ(out, separator() + c.odds + separator() + "\n\n");
  }
}

// Entrenched infantry attacked by infantry, with a 22 % rugged-defense chance
// and two defensive artillery pieces, computed by the model alone.
TEST(CombatModel, CompleteCombatWithArtilleryAndRuggedDefense) {
  CombatScenario s;
  s.attackerClassEntered = s.defenderClassEntered = 1;
  settleUnitClasses(&s);
  s.isAssault = 'n';
  s.attackerInfantryLeader = s.defenderInfantryLeader = 'n';
  s.attackerAttackValue = 10;
  s.attackerInitiative = 3;
  s.attackerDefenseValue = 6;
  s.attackerFiringRange = 1;
  s.attackerStrength = 15;
  s.defenderAttackValue = 7;
  s.defenderInitiative = 2;
  s.defenderDefenseValue = 5;
  s.defenderExperience = 1;
  s.defenderFiringRange = 1;
  s.defenderStrength = 10;
  s.defenderEntrenchment = 2;
  s.timesAttacked = 1;
  s.terrainClearOrSandy = 'n';
  s.terrainRoughBocageOrHills = 'y';
  s.attackerCloseDefense = 4;
  ArtilleryPiece first;  // difference 9 - 6 = 3: 5 x 10 / 20, 9 x 10 / 20
  first.attackValue = 8;
  first.experience = 1;
  first.strength = 10;
  first.adjacent = 'y';
  ArtilleryPiece second;  // half strength 6, difference 0, Overwhelming Attack
  second.attackValue = 6;
  second.strength = 12;
  second.adjacent = 'n';
  second.leaderChoice = 2;
  s.artillery = {first, second};

  // (5 x 2 + 5) / 1 = 15, x (1 + 2) = 45, / (0 + 2) = 22.
  EXPECT_EQ(ruggedChanceOf(s), 22);
  const CombatPrediction whole = predictCombat(s);
  const SupportFire& fire = whole.supportFire;
  const Prediction& p = whole.prediction;

  EXPECT_EQ(fire.family, SupportFamily::artillery);
  ASSERT_EQ(fire.units.size(), 2u);
  expectSettled(fire.units[0], settled(2, 4, 2, 4, false));
  // 2 x 6 / 20 = 0 and 7 x 6 / 20 = 2, then a quarter of the suppression
  // moves into the damage.
  expectSettled(fire.units[1], settled(1, 1, 3, 5, false));
  EXPECT_EQ(fire.damageTotal, 3);
  EXPECT_EQ(fire.suppressionTotal, 5);
  EXPECT_EQ(p.supportFamily, SupportFamily::artillery);
  EXPECT_EQ(p.supportDamageTotal, 3);
  EXPECT_EQ(p.supportSuppressionTotal, 5);

  EXPECT_EQ(p.timesAttacked, 1);
  EXPECT_EQ(p.defenderStrengthWhole, 10);
  EXPECT_EQ(p.ruggedChance, 22);
  // The defender fires at difference (8 + 4) - 4 / 2 = 10 with strength 10:
  // 13 x 10 / 20 = 6 losses and 12 x 10 / 20 = 6 suppression, which with
  // the artillery's 8 points leave the attacker nothing, and without it 3
  // points that do nothing at difference 10 - (8 + 4) = -2.
  EXPECT_EQ(p.rugged.attackerLosses, 6 + 3);
  EXPECT_EQ(p.rugged.attackerLossesNoArtillery, 6);
  EXPECT_EQ(p.rugged.defenderLosses, 0);
  EXPECT_EQ(p.rugged.defenderSuppression, 0);
  EXPECT_EQ(p.rugged.defenderLossesNoSupport, 0);
  EXPECT_EQ(p.rugged.defenderSuppressionNoSupport, 0);

  // Differences 10 - (8 - 2) = 4 and 8 - 6 = 2; initiatives 3 and
  // 2 + 1 - 1 = 2 in rough terrain: the attacker wins by 1 (5 and -2).  The
  // attacker fires with 15 - 8 = 7: 11 x 7 / 20 = 3 and 7 x 7 / 20 = 2, or
  // with 15 without support: 8 and 5, limited to 2 by the defender's 10.
  // The defender fires 5 x 10 / 20 = 2; the artillery adds its 3 damage.
  EXPECT_EQ(p.odds.attackerLosses, 5);
  EXPECT_EQ(p.odds.defenderLosses, 3);
  EXPECT_EQ(p.odds.defenderSuppression, 2);
  EXPECT_EQ(p.odds.attackerLossesNoSupport, 2);
  EXPECT_EQ(p.odds.defenderLossesNoSupport, 8);
  EXPECT_EQ(p.odds.defenderSuppressionNoSupport, 2);

  std::string text;
  renderPrediction(fire, p, &text);
  EXPECT_EQ(text,
            "\nThis artillery piece is predicted to do 2 damage and 4 "
            "suppression.\n"
            "\nThis artillery piece is predicted to do 1 damage and 1 "
            "suppression.\n"
            "\nAll artillery so far is predicted to do 3 damage and 5 "
            "suppression.\n" +
                separator() +
                "\n\nThe chances of a rugged defense are 22%."
                "\n\nIf there is a rugged defense, the odds will be 9 against "
                "the attacker,\nand 0 against the defender."
                "\n\nIf not for artillery support, the odds would have been 6 "
                "against the attacker,\nand 0 against the defender." +
                separator() +
                "\n\nThe odds are 5 against the attacker, 3 against the "
                "defender."
                "\n\nAlso, the attacker is predicted to inflict 2 suppression."
                "\n\nIf not for artillery support, the odds would have been 2 "
                "against the attacker,\nand 8 against the defender."
                "\n\nAlso, the attacker would have been predicted to inflict 2 "
                "suppression." +
                separator() + "\n\n");
}

struct RuggedCase {
  const char* name;
  std::function<void(CombatScenario&, CombatState&)> setup;
  RuggedOutcome expected;
};

RuggedOutcome rugged(std::int64_t attackerLosses,
                     std::int64_t attackerLossesNoArtillery,
                     std::int64_t defenderLosses,
                     std::int64_t defenderSuppression,
                     std::int64_t defenderLossesNoSupport,
                     std::int64_t defenderSuppressionNoSupport) {
  return {attackerLosses,          attackerLossesNoArtillery,
          defenderLosses,          defenderSuppression,
          defenderLossesNoSupport, defenderSuppressionNoSupport};
}

void attackerOf(float strength, CombatState* c) {
  c->attackerStrength = c->attackerStrengthBeforeSupport = strength;
  c->attackerStrengthWhole = static_cast<std::int64_t>(strength);
}

void defenderOf(float strength, CombatState* c) {
  c->defenderStrength = c->defenderStrengthBeforeSupport = strength;
  c->defenderStrengthWhole = static_cast<std::int64_t>(strength);
}

// The rugged exchange on its own.  Unless a case says otherwise the
// defender of strength 10 fires at difference 9: 13 x 10 / 20 = 6 losses and
// 11 x 10 / 20 = 5 suppression, so the attacker answers with 11 points less.
TEST(CombatModel, RuggedOutcome) {
  const auto attacker = [](float strength, std::int64_t difference) {
    return [=](CombatScenario&, CombatState& c) {
      attackerOf(strength, &c);
      c.ruggedAttackerDifference = difference;
    };
  };
  const std::vector<RuggedCase> cases = {
      {"nothing left to answer with", attacker(10, 0), rugged(6, 6, 0, 0, 0, 0)},
      // 4 left at difference 0: 7 x 4 / 20 = 1, 2 x 4 / 20 = 0.
      {"4 left", attacker(15, 0), rugged(6, 6, 1, 0, 1, 0)},
      // Difference -6: 1 x 9 / 20 = 0 losses; 9 points are too few for the
      // minimum of one, and -4 x 9 / 20 = -1 suppression becomes 0.
      {"9 left: no minimum of one", attacker(20, -6), rugged(6, 6, 0, 0, 0, 0)},
      {"10 left: the minimum of one", attacker(21, -6), rugged(6, 6, 1, 0, 1, 0)},
      // 4 damage and 6 suppression of artillery leave 30 - 21 = 9 with it,
      // 19 without it.
      {"the artillery's fire leaves 9",
       [&](CombatScenario& s, CombatState& c) {
         attacker(30, -6)(s, c);
         c.artilleryDamageTotal = 4;
         c.artillerySuppressionTotal = 6;
       },
       rugged(10, 6, 0, 0, 1, 0)},
      // 29 left at difference 4: 11 x 29 / 20 = 15 losses, more than the
      // defender has, and no room for the 6 x 29 / 20 = 8 suppression.
      {"the answer limited to the defender's strength", attacker(40, 4),
       rugged(6, 6, 10, 0, 10, 0)},
      // The attacker answers with all its 10: 7 x 10 / 20 = 3, 2 x 10 / 20 = 1.
      {"a defender out of ammunition",
       [&](CombatScenario& s, CombatState& c) {
         attacker(10, 0)(s, c);
         s.defenderOutOfAmmo = 'Y';
       },
       rugged(0, 0, 3, 1, 3, 1)},
      // Difference -6 at strength 9: 0 losses and -1 suppression, which
      // leaves the attacker 11 to answer with: 7 x 11 / 20 = 3, 2 x 11 / 20 = 1.
      {"a defender of strength 9 that kills nothing",
       [&](CombatScenario& s, CombatState& c) {
         attacker(10, 0)(s, c);
         defenderOf(9, &c);
         c.ruggedDefenderDifference = -6;
       },
       rugged(0, 0, 3, 1, 3, 1)},
      // At strength 10: 0 losses lifted to 1, -2 suppression; 11 left.
      {"a defender of strength 10 kills at least one",
       [&](CombatScenario& s, CombatState& c) {
         attacker(10, 0)(s, c);
         c.ruggedDefenderDifference = -6;
       },
       rugged(1, 1, 3, 1, 3, 1)},
  };
  for (const RuggedCase& c : cases) {
    SCOPED_TRACE(c.name);
    CombatScenario s = tankAgainstTank();
    s.attackerClassEntered = s.defenderClassEntered = 1;
    settleUnitClasses(&s);
    CombatState state;
    state.ruggedChance = 25;
    defenderOf(10, &state);
    state.ruggedDefenderDifference = 9;
    c.setup(s, state);
    resolveRuggedDefense(s, &state);
    const RuggedOutcome& r = state.rugged;
    EXPECT_EQ(r.attackerLosses, c.expected.attackerLosses);
    EXPECT_EQ(r.attackerLossesNoArtillery, c.expected.attackerLossesNoArtillery);
    EXPECT_EQ(r.defenderLosses, c.expected.defenderLosses);
    EXPECT_EQ(r.defenderSuppression, c.expected.defenderSuppression);
    EXPECT_EQ(r.defenderLossesNoSupport, c.expected.defenderLossesNoSupport);
    EXPECT_EQ(r.defenderSuppressionNoSupport,
              c.expected.defenderSuppressionNoSupport);
  }
}

void expectNoneBelowZero(const Prediction& p) {
  for (std::int64_t figure :
       {p.odds.attackerLosses, p.odds.defenderLosses, p.odds.defenderSuppression,
        p.odds.attackerLossesNoSupport, p.odds.defenderLossesNoSupport,
        p.odds.defenderSuppressionNoSupport, p.rugged.attackerLosses,
        p.rugged.attackerLossesNoArtillery, p.rugged.defenderLosses,
        p.rugged.defenderSuppression, p.rugged.defenderLossesNoSupport,
        p.rugged.defenderSuppressionNoSupport}) {
    EXPECT_GE(figure, 0);
  }
}

// A poor difference gives a negative suppression factor; the suppression
// that the attacker is reported to inflict is 0 then, with support fire and
// without, also where the losses leave room below the defender's strength.
TEST(CombatModel, NoSuppressionBelowZero) {
  struct Case {
    const char* name;
    std::vector<ArtilleryPiece> artillery;
    std::int64_t defenderLosses, defenderLossesNoSupport;
  };
  // A piece at difference 1 - 7 = -6: -2 damage raised to -1, then lifted to
  // 1 at strength 10; 3 x 10 / 20 = 1 suppression.
  ArtilleryPiece piece;
  piece.attackValue = 1;
  piece.strength = 10;
  piece.adjacent = 'y';
  // The attacker fires at difference 0 - 6 = -6.
  const std::vector<Case> cases = {
      // 1 x 10 / 20 = 0 losses lifted to 1; -4 x 10 / 20 = -2 suppression.
      {"no support fire", {}, 1, 1},
      // With 10 - 2 = 8: 0 losses, too weak for the minimum of one, and
      // -4 x 8 / 20 = -1 suppression; without support -2 as above, and the
      // minimum of one goes by the strength after support fire.
      {"under artillery", {piece}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CombatScenario s = tankAgainstTank();
    s.attackerAttackValue = 0;
    s.artillery = c.artillery;
    const Prediction p = predictCombat(s).prediction;
    EXPECT_EQ(p.odds.defenderLosses, c.defenderLosses);
    EXPECT_EQ(p.odds.defenderLossesNoSupport, c.defenderLossesNoSupport);
    EXPECT_EQ(p.odds.defenderSuppression, 0);
    EXPECT_EQ(p.odds.defenderSuppressionNoSupport, 0);
    expectNoneBelowZero(p);
  }

  // Every attack value from hopeless to overwhelming, against defenders
  // small and large, with and without artillery and a rugged defense.
  for (std::int64_t attack = 0; attack <= 24; attack += 2) {
    for (std::int64_t defender : {1, 2, 5, 10, 15}) {
      for (bool withArtillery : {false, true}) {
        SCOPED_TRACE(attack);
        SCOPED_TRACE(defender);
        CombatScenario s = tankAgainstTank();
        s.attackerClassEntered = s.defenderClassEntered = 1;
        settleUnitClasses(&s);
        s.defenderEntrenchment = 2;
        s.attackerAttackValue = attack;
        s.defenderStrength = defender;
        if (withArtillery) s.artillery = {piece};
        expectNoneBelowZero(predictCombat(s).prediction);
      }
    }
  }
}

// A pass depends on nothing but the prepared combat and its softening: the
// same value gives the same prediction whatever was tried before, and equals
// a fresh prediction of the combat with that value.
TEST(CombatModel, SofteningPassesAreIndependent) {
  CombatScenario s = tankAgainstTank();
  s.attackerInitiative = 2;
  s.defenderInitiative = 4;
  s.defenderExperience = 3;
  const PreparedCombat prepared = prepareCombat(s);
  for (std::int64_t t : {0, 3, 7, 1, 0, 3}) {
    SCOPED_TRACE(t);
    CombatScenario fresh = s;
    fresh.timesAttacked = t;
    std::string recomputed, predicted;
    renderPass(predictSoftening(s, prepared, t), &recomputed);
    renderPass(predictCombat(fresh).prediction, &predicted);
    EXPECT_EQ(recomputed, predicted);
  }
}

}  // namespace
