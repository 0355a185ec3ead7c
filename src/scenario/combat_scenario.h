// One combat as the player describes it: every answer of the questionnaires,
// with the value each takes when its question is not asked, and the few
// facts that the program derives from the unit classes.
#ifndef ZELVORN_SCENARIO_COMBAT_SCENARIO_H_
#define ZELVORN_SCENARIO_COMBAT_SCENARIO_H_

#include <cstdint>
#include <vector>

// Unit classes as the menus number them.  Half-tracks and ground transports
// (11) fight as tanks and air transports (12) as bombers, so only 1 to 10
// reach the combat model.
namespace unit_class {
constexpr std::int64_t kInfantry = 1;
constexpr std::int64_t kTank = 2;
constexpr std::int64_t kRecon = 3;
constexpr std::int64_t kAntiTank = 4;
constexpr std::int64_t kFort = 5;
constexpr std::int64_t kArtillery = 6;
constexpr std::int64_t kAirDefense = 7;
constexpr std::int64_t kFighter = 8;
constexpr std::int64_t kBomber = 9;
constexpr std::int64_t kNaval = 10;
constexpr std::int64_t kHalfTrackOrGroundTransport = 11;
constexpr std::int64_t kAirTransport = 12;
// The last entry of the attacker's and of the defender's class menu.
constexpr std::int64_t kLastAttackerClass = kHalfTrackOrGroundTransport;
constexpr std::int64_t kLastDefenderClass = kAirTransport;
}  // namespace unit_class

// Leader choices as the leader menus number them.  The last number of each
// menu means none: 7 for the attacker, 6 for the defender and 3 for a
// supporting unit.
namespace leader {
constexpr std::int64_t kAggressiveAttack = 1;
constexpr std::int64_t kOverwhelmingAttack = 2;
constexpr std::int64_t kFirstStrike = 3;
constexpr std::int64_t kResilience = 4;
constexpr std::int64_t kDeterminedDefense = 5;
constexpr std::int64_t kSkilledGroundAttack = 6;
constexpr std::int64_t kAttackerNone = 7;
constexpr std::int64_t kDefenderNone = 6;
constexpr std::int64_t kSupportNone = 3;
}  // namespace leader

// Yes/no answers hold the first character typed.  kNotAsked marks a
// question that was skipped: like an empty answer it is neither a yes nor a
// no.
namespace answer {
constexpr char kYes = 'y';
constexpr char kNo = 'n';
constexpr char kNotAsked = 'x';
constexpr char kNeither = '\0';
}  // namespace answer

// A yes is an answer starting with y or Y, a no one starting with n or N;
// anything else (an empty answer, the not-asked marker) is neither.
inline bool isYes(char c) { return c == 'y' || c == 'Y'; }
inline bool isNo(char c) { return c == 'n' || c == 'N'; }

// Terrain codes, from no limit to the tightest limit on initiative.
namespace terrain {
constexpr char kNone = 'x';
constexpr char kRough = 'r';
constexpr char kForest = 'f';
constexpr char kCity = 'c';
}  // namespace terrain

// One defensive artillery piece, as its questions are answered.
struct ArtilleryPiece {
  std::int64_t attackValue = 0;
  std::int64_t experience = 0;
  std::int64_t strength = 0;
  char adjacent = answer::kNo;
  std::vector<std::int64_t> combatSupport;  // bars of each Combat Support unit
  std::int64_t leaderChoice = leader::kSupportNone;
};

// One air-defense unit or fighter firing at an attacking airplane.
struct AirDefenseUnit {
  char isFighter = answer::kNo;
  std::int64_t attackValue = 0;
  std::int64_t experience = 0;
  std::int64_t strength = 0;
  std::vector<std::int64_t> combatSupport;
  std::int64_t leaderChoice = leader::kSupportNone;
};

// Whole numbers are 64-bit so that sums of many experience bars stay exact.
// A field whose question is not asked keeps the value given here.
struct CombatScenario {
  // General factors: the classes as chosen in the menus (an artillery
  // attacker is only asked whether its target is infantry) ...
  std::int64_t attackerClassEntered = 0;
  char defenderIsInfantry = answer::kNo;
  std::int64_t defenderClassEntered = 0;
  char attackerInfantryLeader = answer::kNotAsked;
  char isAssault = answer::kNo;
  char defenderInfantryLeader = answer::kNotAsked;
  char weatherSnowOrRain = answer::kNo;
  char weatherOvercast = answer::kNo;
  // ... and what the program derives from them (settleUnitClasses).
  std::int64_t attackerClass = 0;
  std::int64_t defenderClass = 0;
  bool airToSurfaceAttack = false;
  bool navalVsNonNaval = false;

  // Attacker attributes.  The experience is the unit's own bars; the bars of
  // its Combat Support units are kept one by one.
  std::int64_t attackerAttackValue = 0;
  std::int64_t attackerInitiative = 0;
  std::int64_t attackerDefenseValue = 0;
  std::int64_t attackerRangedDefense = 0;
  std::int64_t attackerExperience = 0;
  std::int64_t attackerFiringRange = 0;
  std::int64_t attackerStrength = 0;
  std::int64_t attackerEntrenchment = 0;
  char attackerInCityForestMountain = answer::kNo;
  char attackerInRiver = answer::kNo;
  char attackerCanMoveAfter = answer::kYes;
  char attackerOutOfFuel = answer::kNo;
  char antiTankHasLeader = answer::kNotAsked;
  std::vector<std::int64_t> attackerCombatSupport;
  std::int64_t attackerLeaderChoice = leader::kAttackerNone;

  // Defender attributes and the range of the combat.
  std::int64_t defenderAttackValue = 0;
  std::int64_t defenderInitiative = 0;
  std::int64_t defenderDefenseValue = 0;
  std::int64_t defenderRangedDefense = 0;
  std::int64_t defenderExperience = 0;
  std::int64_t defenderFiringRange = 0;
  std::int64_t defenderStrength = 0;
  std::int64_t defenderEntrenchment = 0;
  char defenderInCityForestMountain = answer::kNo;
  char defenderInCity = answer::kNo;
  char defenderInRiver = answer::kNo;
  char defenderOutOfAmmo = answer::kNo;
  char defenderOutOfFuel = answer::kNo;
  std::int64_t timesAttacked = 0;
  char shipAlreadyAttackedByShip = answer::kNo;
  std::vector<std::int64_t> defenderCombatSupport;
  std::int64_t defenderLeaderChoice = leader::kDefenderNone;
  std::int64_t combatRange = 0;

  // The terrain chain, from the least to the most restrictive terrain.
  char terrainClearOrSandy = answer::kNotAsked;
  char terrainRoughBocageOrHills = answer::kNotAsked;
  char terrainForest = answer::kNotAsked;
  char terrainCitiesOrMountains = answer::kNotAsked;

  // Asked when a rugged defense is possible outside an assault.
  std::int64_t attackerCloseDefense = 0;

  // Support fire: the pieces and units in the order they were entered, the
  // attacker's ground defense (asked once, in an assault) and the
  // airplane's air defense (asked once, for the first fighter).
  std::vector<ArtilleryPiece> artillery;
  std::int64_t attackerGroundDefense = 0;
  std::vector<AirDefenseUnit> airDefense;
  std::int64_t airplaneAirDefense = 0;
};

// Turns the classes as chosen into the classes that fight (half-tracks and
// ground transports become tanks, air transports bombers) and derives the
// kind of combat: an airplane attacking a surface unit, a ship attacking a
// unit that is not a ship.
void settleUnitClasses(CombatScenario* scenario);

// The defender's close-terrain answer as the rules read it: an infantry
// assault on infantry counts as a defender in a city, forest or mountain.
char defenderCloseTerrain(const CombatScenario& scenario);

#endif  // ZELVORN_SCENARIO_COMBAT_SCENARIO_H_
