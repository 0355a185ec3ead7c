// The numbers of the game's rules that more than one step of the combat
// uses, each named once.
#ifndef ZELVORN_SCENARIO_GAME_NUMBERS_H_
#define ZELVORN_SCENARIO_GAME_NUMBERS_H_

#include <cstdint>

// A unit of a strength above this does at least one point of damage.
constexpr std::int64_t kMinimumDamageStrength = 9;

// A rugged defense of this chance, in percent, is certain: it becomes the
// combat's outcome.
constexpr std::int64_t kCertainRuggedChance = 100;

// In the rugged exchange the defender counts this much more in defense and
// in attack than in the ordinary exchange.
constexpr std::int64_t kRuggedDefenseBonus = 4;

// Each earlier attack on the defender takes this much off its defense.
constexpr std::int64_t kSofteningStep = 2;

// Terrain limits on both initiatives at close range, and the limit on the
// attacker's initiative at a range of at most 1.
constexpr std::int64_t kRoughInitiativeCap = 5;
constexpr std::int64_t kForestInitiativeCap = 3;
constexpr std::int64_t kCityInitiativeCap = 1;
constexpr std::int64_t kCloseRangeInitiativeCap = 8;

// The side that wins the initiative exchange gains at most this much combat
// difference, and the other side loses exactly this much; a side whose
// difference is this far behind cannot win the exchange.
constexpr std::int64_t kInitiativeShift = 4;

#endif  // ZELVORN_SCENARIO_GAME_NUMBERS_H_
