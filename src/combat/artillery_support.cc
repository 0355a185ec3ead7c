#include "combat/exact.h"
#include "combat/fire.h"
#include "combat/support_fire.h"
#include "dialogue/combat_support.h"
#include "scenario/shared_texts.h"

#include <limits>

namespace {

// The defense that the artillery fires at.  In an assault it is the
// attacker's ground defense, asked once and given the same net adjustment as
// the applicable defense value; otherwise the applicable defense value.
void setGroundDefense(CombatScenario& s, Console& console) {
  if (isYes(s.isAssault) && !s.supportTargetDefenseAsked) {
    s.attackerGroundDefense = askNumber(
        console, "\nPlease enter the ground defense of the attacking unit:\n>> ",
        "\nThe ground defense must be a number, and it must be zero or "
        "greater.  Please\nreenter:\n>> ");
    s.attackerGroundDefense =
        saturate(static_cast<Wide>(s.attackerGroundDefense) +
                 s.attackerDefenseValue - s.attackerDefenseValueEntered);
    s.supportTargetDefenseAsked = true;
  } else if (!s.supportTargetDefenseAsked) {
    s.attackerGroundDefense = s.attackerDefenseValue;
  }
  if (s.attackerGroundDefense < 0) s.attackerGroundDefense = 0;
}

}  // namespace

void runArtillerySupportFire(CombatScenario& s, Console& console) {
  using namespace unit_class;
  constexpr std::int64_t kNoMaximum = std::numeric_limits<std::int64_t>::max();
  if (s.attackerClass >= kArtillery) return;

  console.out << text::kSupportFireHeading;
  bool another =
      isYes(askYesNo(console, "\nIs there any defensive artillery support?  "
                              "(Y/N):\n>> "));
  const SupportFireTexts texts{
      "\nThis artillery piece is predicted to do ",
      "\nAll artillery so far is predicted to do ",
      "\nIs there another defending artillery piece?  (Y/N):\n>> "};
  while (another) {
    s.artilleryAttackValue = askNumber(
        console,
        "\nPlease enter the applicable attack value of the artillery piece:\n>> ",
        text::kAttackValueZeroError);
    s.artilleryExperience = askNumber(
        console, "\nPlease enter the experience bars of the artillery piece:\n>> ",
        text::kExperienceError);
    s.artilleryStrength = askCount(
        console,
        "\nPlease enter the applicable strength of the artillery piece:\n>> ",
        text::kStrengthError, 1, kNoMaximum);
    s.artilleryAdjacent = askYesNo(
        console, "\nIs this piece adjacent to the defending unit? (Y/N):\n>> ");
    // A piece that is not adjacent fires at half strength.
    if (!isYes(s.artilleryAdjacent)) s.artilleryStrength /= 2;
    askCombatSupport(console, s.artilleryExperience,
                     s.artillerySupportExperience);
    s.artilleryLeaderChoice = askCount(console, text::kSupportChoiceMenu,
                                       text::kSupportChoiceError, 1, 3);

    if (s.artilleryLeaderChoice == leader::kAggressiveAttack) {
      s.artilleryAttackValue += 2;
    }
    s.artilleryAttackValue =
        saturatingAdd(s.artilleryAttackValue, s.artilleryExperience);
    setGroundDefense(s, console);

    s.artilleryDifference = saturate(static_cast<Wide>(s.artilleryAttackValue) -
                                     s.attackerGroundDefense);
    const FireResult fire = resolveFire(
        s.artilleryDifference, s.artilleryStrength, FireFamily::artillery,
        Scaling::wholeRounded, s.artilleryLeaderChoice, s.attackerLeaderChoice);
    s.artilleryDamage = fire.losses;
    s.artillerySuppression = fire.suppression;
    another = settleSupportFire(console, s.artilleryDamage,
                                s.artillerySuppression, s.artilleryStrength,
                                s.attackerStrengthWhole, s.artilleryDamageTotal,
                                s.artillerySuppressionTotal, texts);
  }
  subtractSupportFire(s, s.artilleryDamageTotal, s.artillerySuppressionTotal);
}
