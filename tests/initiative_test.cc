// The initiative exchange and first strike, case by case.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "combat/first_strike.h"
#include "combat/initiative.h"
#include "combat/modifiers.h"

namespace {

// A tank attacking a tank at range 1, with the given initiatives.
CombatScenario tanks(std::int64_t attackerInitiative,
                     std::int64_t defenderInitiative) {
  CombatScenario s;
  s.attackerClassEntered = s.defenderClassEntered = 2;
  settleUnitClasses(&s);
  s.attackerInitiative = attackerInitiative;
  s.defenderInitiative = defenderInitiative;
  s.attackerStrength = s.defenderStrength = 10;
  s.combatRange = 1;
  s.defenderFiringRange = 1;
  return s;
}

struct InitiativeCase {
  const char* name;
  CombatScenario scenario;
  std::function<void(CombatScenario&, CombatState&)> setup;
  std::int64_t attackerInitiative, defenderInitiative;
  std::int64_t attackerDifference, defenderDifference, shift;
  FirstStrikeSide firstStrike;
};

void classes(CombatScenario& s, std::int64_t attacker, std::int64_t defender) {
  s.attackerClassEntered = attacker;
  s.defenderClassEntered = defender;
  settleUnitClasses(&s);
}

TEST(Initiative, Exchange) {
  using enum FirstStrikeSide;
  const auto nothing = [](CombatScenario&, CombatState&) {};
  const auto mustStay = [](CombatScenario& s, CombatState&) {
    s.attackerCanMoveAfter = 'n';
  };
  const std::vector<InitiativeCase> cases = {
      {"worked example: experience and softening, a lead of 4", tanks(7, 4),
       [](CombatScenario& s, CombatState& c) {
         s.attackerExperience = 2;
         s.defenderExperience = 1;
         c.timesAttacked = 1;
         c.attackerDifference = 3;
         c.defenderDifference = 1;
       },
       8, 4, 7, -3, 4, none},
      {"close range caps the attacker at 8: a tie", tanks(9, 8), nothing, 8, 8,
       0, 0, 0, none},
      {"no cap at range 2", tanks(9, 8),
       [](CombatScenario& s, CombatState&) {
         s.combatRange = 2;
         s.defenderFiringRange = 2;
       },
       9, 8, 1, -4, 1, none},
      {"a ship is not capped; the lead counts 4 at most", tanks(12, 0),
       [](CombatScenario& s, CombatState&) { classes(s, 10, 10); }, 12, 0, 4,
       -4, 4, none},
      {"rough terrain caps both at 5", tanks(9, 7),
       [](CombatScenario& s, CombatState&) {
         s.terrainClearOrSandy = 'n';
         s.terrainRoughBocageOrHills = 'y';
       },
       5, 5, 0, 0, 0, none},
      {"forest caps both at 3", tanks(6, 2),
       [](CombatScenario& s, CombatState&) {
         s.terrainClearOrSandy = s.terrainRoughBocageOrHills = 'n';
         s.terrainForest = 'Y';
       },
       3, 2, 1, -4, 1, none},
      {"cities and mountains cap both at 1", tanks(4, 0),
       [](CombatScenario& s, CombatState&) {
         s.terrainClearOrSandy = s.terrainRoughBocageOrHills = 'n';
         s.terrainForest = 'n';
         s.terrainCitiesOrMountains = 'y';
       },
       1, 0, 1, -4, 1, none},
      {"clear terrain sets no cap", tanks(7, 2),
       [](CombatScenario& s, CombatState&) { s.terrainClearOrSandy = 'y'; }, 7,
       2, 4, -4, 4, none},
      {"a defender in a city caps at 1; a mobile attacker takes the "
       "defender's entered initiative",
       tanks(0, 5),
       [](CombatScenario& s, CombatState&) { s.defenderInCity = 'y'; }, 5, 1,
       4, -4, 4, none},
      {"an attacker that must stay keeps its own", tanks(0, 5),
       [](CombatScenario& s, CombatState&) {
         s.defenderInCity = 'y';
         s.attackerCanMoveAfter = 'n';
       },
       0, 1, -4, 1, 1, none},
      {"range 2 against firing range 1: the defender's entered initiative",
       tanks(1, 6),
       [](CombatScenario& s, CombatState&) {
         s.attackerCanMoveAfter = 'n';
         s.combatRange = 2;
       },
       6, 6, 0, 0, 0, none},
      {"a difference of -4 never wins", tanks(6, 2),
       [](CombatScenario&, CombatState& c) { c.attackerDifference = -4; }, 6, 2,
       -4, 0, 0, none},
      {"a defender out of ammunition never wins", tanks(2, 6),
       [](CombatScenario& s, CombatState&) {
         s.attackerCanMoveAfter = 'n';
         s.defenderOutOfAmmo = 'Y';
       },
       2, 6, 0, 0, 0, none},
      {"a defender out of reach never wins", tanks(2, 6),
       [](CombatScenario& s, CombatState&) {
         s.attackerCanMoveAfter = 'n';
         s.defenderFiringRange = 0;
       },
       2, 6, 0, 0, 0, none},
      {"the defender wins by up to 4", tanks(2, 9), mustStay, 2, 9, -4, 4, 4,
       none},
      {"softening lowers the defender's initiative, not below 0", tanks(3, 5),
       [](CombatScenario& s, CombatState& c) {
         s.attackerCanMoveAfter = 'n';
         c.timesAttacked = 7;
       },
       3, 0, 3, -4, 3, none},
      {"experience 3 adds 2, experience 1 adds 1", tanks(2, 2),
       [](CombatScenario& s, CombatState&) {
         s.attackerCanMoveAfter = 'n';
         s.attackerExperience = 3;
         s.defenderExperience = 1;
       },
       4, 3, 1, -4, 1, none},
      {"an anti-tank that must stay without a leader loses 2", tanks(5, 2),
       [](CombatScenario& s, CombatState&) {
         classes(s, 4, 2);
         s.attackerCanMoveAfter = 'n';
         s.antiTankHasLeader = 'n';
       },
       3, 2, 1, -4, 1, none},
      {"... and falls to 0 when that leaves it behind", tanks(3, 2),
       [](CombatScenario& s, CombatState&) {
         classes(s, 4, 2);
         s.attackerCanMoveAfter = 'n';
         s.antiTankHasLeader = 'n';
       },
       0, 2, -4, 2, 2, none},
      {"... but keeps what is left when that ties it with the defender: no "
       "exchange",
       tanks(4, 2),
       [](CombatScenario& s, CombatState&) {
         classes(s, 4, 2);
         s.attackerCanMoveAfter = 'n';
         s.antiTankHasLeader = 'n';
       },
       2, 2, 0, 0, 0, none},
      {"the attacker wins with First Strike", tanks(6, 2),
       [](CombatScenario& s, CombatState&) { s.attackerLeaderChoice = 3; }, 6,
       2, 4, -4, 4, attacker},
      {"the defender wins with First Strike", tanks(2, 6),
       [](CombatScenario& s, CombatState&) {
         s.attackerCanMoveAfter = 'n';
         s.defenderLeaderChoice = 3;
       },
       2, 6, -4, 4, 4, defender},
      {"a certain rugged defense hands the defender the exchange, whatever "
       "the initiatives",
       tanks(6, 2),
       [](CombatScenario& s, CombatState& c) {
         classes(s, 1, 1);
         s.attackerLeaderChoice = 3;
         s.defenderLeaderChoice = 3;
         c.ruggedChance = 100;
       },
       6, 2, -4, -4, -4, defender},
      {"no exchange in an air attack on a surface unit", tanks(6, 2),
       [](CombatScenario& s, CombatState&) {
         classes(s, 9, 2);
         s.attackerLeaderChoice = 3;
       },
       6, 2, 0, 0, 0, none},
  };
  for (InitiativeCase c : cases) {
    SCOPED_TRACE(c.name);
    CombatScenario& s = c.scenario;
    CombatState state;
    c.setup(s, state);
    const CombatState modified = applyCombatValueModifiers(s);
    state.attackerExperience = modified.attackerExperience;
    state.defenderExperience = modified.defenderExperience;
    state.attackerInitiative = s.attackerInitiative;
    state.defenderInitiative = s.defenderInitiative;
    resolveInitiative(s, &state);
    EXPECT_EQ(state.attackerInitiative, c.attackerInitiative);
    EXPECT_EQ(state.defenderInitiative, c.defenderInitiative);
    EXPECT_EQ(state.attackerDifference, c.attackerDifference);
    EXPECT_EQ(state.defenderDifference, c.defenderDifference);
    EXPECT_EQ(state.initiativeShift, c.shift);
    EXPECT_EQ(state.firstStrikeSide, c.firstStrike);
  }
}

struct FirstStrikeCase {
  const char* name;
  std::function<void(CombatScenario&, CombatState&)> setup;
  float attackerStrength, defenderStrength;
  std::int64_t attackerLosses, attackerSuppression;
  std::int64_t defenderLosses, defenderSuppression;
  std::int64_t defenderLossesNoSupport, defenderSuppressionNoSupport;
};

TEST(FirstStrike, WhoStrikesFirstAndWhatIsLeft) {
  const auto attackerByInitiative = [](CombatScenario&, CombatState& c) {
    c.firstStrikeSide = FirstStrikeSide::attacker;
  };
  const auto defenderByInitiative = [](CombatScenario&, CombatState& c) {
    c.firstStrikeSide = FirstStrikeSide::defender;
  };
  const auto airAttack = [](CombatScenario& s, std::int64_t attackerChoice,
                            std::int64_t defenderChoice) {
    classes(s, 9, 2);
    s.attackerLeaderChoice = attackerChoice;
    s.defenderLeaderChoice = defenderChoice;
  };
  // Before first strike: the attacker inflicts 5 and 4 at difference 6, the
  // defender 3 and 1 at difference 2, both with strength 10.
  const std::vector<FirstStrikeCase> cases = {
      {"nobody strikes first", [](CombatScenario&, CombatState&) {}, 10, 12, 3,
       1, 5, 4, 0, 0},
      // 12 - (5 + 4) = 3 left: 9 x 3 / 20 = 1, 4 x 3 / 20 = 0.
      {"the attacker by initiative", attackerByInitiative, 10, 3, 1, 0, 5, 4,
       0, 0},
      // Struck first, a fort, an artillery piece or a ship answers in the
      // artillery family with halves rounded up: at difference 2 with 3
      // left, (4 x 3 + 10) / 20 = 1 and (8 x 3 + 10) / 20 = 1.
      {"a fort struck first answers like artillery",
       [&](CombatScenario& s, CombatState& c) {
         attackerByInitiative(s, c);
         classes(s, 2, 5);
       },
       10, 3, 1, 1, 5, 4, 0, 0},
      {"an artillery piece struck first",
       [&](CombatScenario& s, CombatState& c) {
         attackerByInitiative(s, c);
         classes(s, 2, 6);
       },
       10, 3, 1, 1, 5, 4, 0, 0},
      {"a ship struck first by a ship answers like artillery",
       [&](CombatScenario& s, CombatState& c) {
         attackerByInitiative(s, c);
         classes(s, 10, 10);
       },
       10, 3, 1, 1, 5, 4, 0, 0},
      {"not by initiative under a certain rugged defense",
       [](CombatScenario& s, CombatState& c) {
         classes(s, 1, 1);
         c.firstStrikeSide = FirstStrikeSide::attacker;
         c.ruggedChance = 100;
       },
       10, 12, 3, 1, 5, 4, 0, 0},
      {"an airplane with First Strike, no initiative needed",
       [&](CombatScenario& s, CombatState&) { airAttack(s, 3, 6); }, 10, 3, 1,
       0, 5, 4, 0, 0},
      {"both with First Strike: neither",
       [&](CombatScenario& s, CombatState&) { airAttack(s, 3, 3); }, 10, 12, 3,
       1, 5, 4, 0, 0},
      // 10 - (3 + 1) = 6 left: 11 x 6 / 20 = 3, 8 x 6 / 20 = 2.
      {"the defender by initiative", defenderByInitiative, 6, 12, 3, 1, 3, 2, 0,
       0},
      {"the defender against an airplane",
       [&](CombatScenario& s, CombatState&) { airAttack(s, 7, 3); }, 6, 12, 3,
       1, 3, 2, 0, 0},
      {"not a defender out of ammunition",
       [&](CombatScenario& s, CombatState&) {
         airAttack(s, 7, 3);
         s.defenderOutOfAmmo = 'y';
       },
       10, 12, 3, 1, 5, 4, 0, 0},
      {"the defender by initiative under a rugged defense below certain",
       [](CombatScenario& s, CombatState& c) {
         classes(s, 1, 1);
         c.firstStrikeSide = FirstStrikeSide::defender;
         c.ruggedChance = 99;
       },
       6, 12, 3, 1, 3, 2, 0, 0},
      {"not the defender by initiative under a certain rugged defense",
       [](CombatScenario& s, CombatState& c) {
         classes(s, 1, 1);
         c.firstStrikeSide = FirstStrikeSide::defender;
         c.ruggedChance = 100;
       },
       10, 12, 3, 1, 5, 4, 0, 0},
      // Without support the attacker had 15: 15 - 4 = 11 left, 11 x 11 / 20
      // = 6 and 8 x 11 / 20 = 4.
      {"the defender, with the figures without support fire",
       [](CombatScenario&, CombatState& c) {
         c.firstStrikeSide = FirstStrikeSide::defender;
         c.attackerStrengthBeforeSupport = 15.0f;
         c.artilleryDamageTotal = 2;
         c.artillerySuppressionTotal = 3;
       },
       6, 12, 3, 1, 3, 2, 6, 4},
  };
  for (const FirstStrikeCase& c : cases) {
    SCOPED_TRACE(c.name);
    CombatScenario s = tanks(0, 0);
    CombatState state;
    state.attackerDifference = 6;
    state.defenderDifference = 2;
    state.attackerStrength = state.attackerStrengthBeforeSupport = 10.0f;
    state.defenderStrength = 12.0f;
    state.defenderLosses = 5;
    state.defenderSuppression = 4;
    state.attackerLosses = 3;
    state.attackerSuppression = 1;
    c.setup(s, state);
    resolveFirstStrike(s, &state);
    EXPECT_EQ(state.attackerStrength, c.attackerStrength);
    EXPECT_EQ(state.defenderStrength, c.defenderStrength);
    EXPECT_EQ(state.attackerLosses, c.attackerLosses);
    EXPECT_EQ(state.attackerSuppression, c.attackerSuppression);
    EXPECT_EQ(state.defenderLosses, c.defenderLosses);
    EXPECT_EQ(state.defenderSuppression, c.defenderSuppression);
    EXPECT_EQ(state.defenderLossesNoSupport, c.defenderLossesNoSupport);
    EXPECT_EQ(state.defenderSuppressionNoSupport, c.defenderSuppressionNoSupport);
  }
}

}  // namespace
