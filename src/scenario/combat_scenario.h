// The one record of a combat: every answer, derived flag, intermediate value
// and result, with the defaults that each new combat starts from.
#ifndef ZELVORN_SCENARIO_COMBAT_SCENARIO_H_
#define ZELVORN_SCENARIO_COMBAT_SCENARIO_H_

#include <cstdint>

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

// Yes/no fields hold the first character of the answer.  kNotAsked marks a
// question that was skipped: it is neither a yes nor a no.
namespace answer {
constexpr char kYes = 'y';
constexpr char kNo = 'n';
constexpr char kNotAsked = 'x';
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

enum class FirstStrikeSide { none, attacker, defender };

// Whole numbers are 64-bit so that sums of many experience bars and the
// differences built from them stay exact; strengths are single precision and
// always hold whole numbers.
struct CombatScenario {
  // General factors.
  std::int64_t attackerClass = 0;
  std::int64_t defenderClass = 0;
  char attackerInfantryLeader = answer::kNotAsked;
  char defenderInfantryLeader = answer::kNotAsked;
  char isAssault = answer::kNo;
  char weatherSnowOrRain = answer::kNo;
  char weatherOvercast = answer::kNo;
  char airToSurfaceAttack = answer::kNo;
  char navalVsNonNaval = answer::kNo;

  // Attacker attributes.
  std::int64_t attackerAttackValue = 0;
  std::int64_t attackerInitiative = 0;
  std::int64_t attackerInitiativeEntered = 0;
  std::int64_t attackerDefenseValue = 0;
  std::int64_t attackerDefenseValueEntered = 0;
  std::int64_t attackerRangedDefense = 0;
  std::int64_t attackerExperience = 0;
  std::int64_t attackerSupportExperience = 0;
  std::int64_t attackerFiringRange = 0;
  float attackerStrength = 0.0f;
  std::int64_t attackerStrengthWhole = 0;
  std::int64_t attackerEntrenchment = 0;
  char attackerInCityForestMountain = answer::kNo;
  char attackerInRiver = answer::kNo;
  char attackerCanMoveAfter = answer::kYes;
  char attackerOutOfFuel = answer::kNo;
  char antiTankHasLeader = answer::kNotAsked;
  std::int64_t attackerLeaderChoice = leader::kAttackerNone;

  // Defender attributes and the range of the combat.
  std::int64_t defenderAttackValue = 0;
  std::int64_t defenderInitiative = 0;
  std::int64_t defenderInitiativeEntered = 0;
  std::int64_t defenderDefenseValue = 0;
  std::int64_t defenderRangedDefense = 0;
  std::int64_t defenderExperience = 0;
  std::int64_t defenderFiringRange = 0;
  float defenderStrength = 0.0f;
  std::int64_t defenderStrengthWhole = 0;
  std::int64_t defenderEntrenchment = 0;
  char defenderInCityForestMountain = answer::kNo;
  char defenderInCity = answer::kNo;
  char defenderInRiver = answer::kNo;
  char defenderOutOfAmmo = answer::kNo;
  char defenderOutOfFuel = answer::kNo;
  std::int64_t timesAttacked = 0;
  char shipAlreadyAttackedByShip = answer::kNo;
  std::int64_t defenderSupportExperience = 0;
  std::int64_t defenderLeaderChoice = leader::kDefenderNone;
  std::int64_t combatRange = 0;

  // Terrain that limits initiative at close range.
  char terrainCode = terrain::kNone;

  // Rugged-defense chance and the strengths before any support fire.
  std::int64_t ruggedChance = 0;
  std::int64_t attackerCloseDefense = 0;
  float attackerStrengthBeforeSupport = 0.0f;
  float defenderStrengthBeforeSupport = 0.0f;

  // Defensive artillery, one piece at a time.
  std::int64_t artilleryAttackValue = 0;
  std::int64_t artilleryExperience = 0;
  std::int64_t artilleryStrength = 0;
  char artilleryAdjacent = answer::kNo;
  std::int64_t artillerySupportExperience = 0;
  std::int64_t artilleryLeaderChoice = 0;
  std::int64_t attackerGroundDefense = 0;
  std::int64_t artilleryDifference = 0;
  std::int64_t artilleryDamage = 0;
  std::int64_t artillerySuppression = 0;
  std::int64_t artilleryDamageTotal = 0;
  std::int64_t artillerySuppressionTotal = 0;
  // True once the defense that support fire aims at has been asked: the
  // attacker's ground defense in an assault, or the airplane's air defense.
  bool supportTargetDefenseAsked = false;

  // Air-defense support, one supporting unit at a time.
  char supportIsFighter = answer::kNo;
  std::int64_t airplaneAirDefense = 0;
  std::int64_t supportAttackValue = 0;
  std::int64_t supportExperience = 0;
  std::int64_t supportStrength = 0;
  std::int64_t supportSupportExperience = 0;
  std::int64_t supportLeaderChoice = 0;
  std::int64_t supportTargetDefense = 0;
  std::int64_t supportDifference = 0;
  std::int64_t supportDamage = 0;
  std::int64_t supportSuppression = 0;
  std::int64_t airDefenseDamageTotal = 0;
  std::int64_t airDefenseSuppressionTotal = 0;

  // Combat differences.
  std::int64_t attackerDifference = 0;
  std::int64_t defenderDifference = 0;
  std::int64_t defenseBeforeSoftening = 0;
  std::int64_t softenedDefense = 0;
  std::int64_t ruggedAttackerDifference = 0;
  std::int64_t ruggedDefenderDifference = 0;
  std::int64_t attackerCloseDefenseTotal = 0;

  // Initiative exchange.
  FirstStrikeSide firstStrikeSide = FirstStrikeSide::none;
  std::int64_t initiativeShift = 0;

  // Exchange of fire and the report.
  std::int64_t defenderLosses = 0;
  std::int64_t defenderSuppression = 0;
  std::int64_t attackerLosses = 0;
  std::int64_t attackerSuppression = 0;
  std::int64_t defenderLossesNoSupport = 0;
  std::int64_t defenderSuppressionNoSupport = 0;
  std::int64_t attackerLossesNoSupport = 0;

  // Rugged-defense outcome.
  std::int64_t ruggedAttackerLosses = 0;
  std::int64_t ruggedAttackerLossesNoArtillery = 0;
  std::int64_t ruggedAttackerSuppression = 0;
  std::int64_t attackerRemainingWithSupport = 0;
  std::int64_t attackerRemainingNoSupport = 0;
  std::int64_t ruggedDefenderLosses = 0;
  std::int64_t ruggedDefenderSuppression = 0;
  std::int64_t ruggedDefenderLossesNoSupport = 0;
  std::int64_t ruggedDefenderSuppressionNoSupport = 0;
};

#endif  // ZELVORN_SCENARIO_COMBAT_SCENARIO_H_
