#include "combat/exact.h"
#include "combat/fire.h"
#include "combat/support_fire.h"
#include "dialogue/combat_support.h"
#include "scenario/shared_texts.h"

#include <limits>

namespace {

// A fighter meets the airplane's air defense, raised by its experience and
// Determined Defense; any other supporting unit its applicable defense.
std::int64_t airplaneDefenseAgainst(const CombatScenario& s) {
  std::int64_t defense = s.attackerDefenseValue;
  if (isYes(s.supportIsFighter)) {
    Wide airDefense = static_cast<Wide>(s.airplaneAirDefense) + s.attackerExperience;
    if (s.attackerLeaderChoice == leader::kDeterminedDefense) airDefense += 2;
    defense = saturate(airDefense);
  }
  return defense < 0 ? 0 : defense;
}

}  // namespace

void runAirDefenseSupportFire(CombatScenario& s, Console& console) {
  constexpr std::int64_t kNoMaximum = std::numeric_limits<std::int64_t>::max();
  if (s.airToSurfaceAttack != 'y') return;

  console.out << text::kSupportFireHeading;
  bool another = isYes(askYesNo(
      console, "\nIs there any air defense support within range?  (Y/N):\n>> "));
  const SupportFireTexts texts{
      "\nThis supporting unit is predicted to do ",
      "\nAll supporting units so far are predicted to do ",
      "\nIs there another supporting unit within range?  (Y/N):\n>> "};
  while (another) {
    s.supportIsFighter =
        askYesNo(console, "\nIs the support unit a fighter? (Y/N):\n>> ");
    if (isYes(s.supportIsFighter) && !s.supportTargetDefenseAsked) {
      s.airplaneAirDefense = askNumber(
          console,
          "\nPlease enter the air defense value of the attacking airplane:\n>> ",
          "\nThe air defense value must be a number, and it must be zero or "
          "greater.  Please\nreenter:\n>> ");
      s.supportTargetDefenseAsked = true;
    }
    s.supportAttackValue = askNumber(
        console,
        "\nPlease enter the applicable attack value of the supporting unit:\n>> ",
        text::kAttackValueZeroError);
    s.supportExperience = askNumber(
        console,
        "\nPlease enter the experience bars of the supporting unit:\n>> ",
        text::kExperienceError);
    s.supportStrength = askCount(
        console,
        "\nPlease enter the applicable strength of the supporting unit:\n>> ",
        text::kStrengthError, 1, kNoMaximum);
    askCombatSupport(console, s.supportExperience, s.supportSupportExperience);
    s.supportLeaderChoice = askCount(console, text::kSupportChoiceMenu,
                                     text::kSupportChoiceError, 1, 3);

    if (s.supportLeaderChoice == leader::kAggressiveAttack) {
      s.supportAttackValue += 2;
    }
    // Overcast skies halve every supporting unit.
    if (isYes(s.weatherOvercast)) s.supportStrength /= 2;
    s.supportAttackValue = saturatingAdd(s.supportAttackValue, s.supportExperience);
    s.supportTargetDefense = airplaneDefenseAgainst(s);
    s.supportDifference = saturate(static_cast<Wide>(s.supportAttackValue) -
                                   s.supportTargetDefense);
    const FireResult fire = resolveFire(
        s.supportDifference, s.supportStrength, FireFamily::standard,
        Scaling::truncated, s.supportLeaderChoice, s.attackerLeaderChoice);
    s.supportDamage = fire.losses;
    s.supportSuppression = fire.suppression;
    another = settleSupportFire(console, s.supportDamage, s.supportSuppression,
                                s.supportStrength, s.attackerStrengthWhole,
                                s.airDefenseDamageTotal,
                                s.airDefenseSuppressionTotal, texts);
  }
  subtractSupportFire(s, s.airDefenseDamageTotal, s.airDefenseSuppressionTotal);
}
