#include "combat/exact.h"
#include "combat/exchange.h"
#include "combat/fire.h"
#include "report/report.h"
#include "scenario/shared_texts.h"

namespace {

// What is left of the attacker to answer with after `points` strength points.
std::int64_t remainingStrength(float strength, Wide points) {
  return truncateStrength(strengthAfter(strength, points));
}

// The attacker's answer to a rugged defense with what is left of it.
FireResult attackerAnswer(const CombatScenario& s, std::int64_t remaining) {
  return resolveFire(s.ruggedAttackerDifference, remaining, FireFamily::standard,
                     Scaling::truncated, s.attackerLeaderChoice,
                     s.defenderLeaderChoice);
}

// The limits on what the attacker inflicts when it answers with `remaining`.
void limitAnswer(std::int64_t& losses, std::int64_t& suppression,
                 std::int64_t remaining, std::int64_t defenderStrengthWhole) {
  if (losses > remaining) losses = remaining;
  if (losses > defenderStrengthWhole) losses = defenderStrengthWhole;
  if (losses == 0 && remaining > 9) losses = 1;
  if (losses < 0) losses = 0;
  if (static_cast<Wide>(suppression) + losses > defenderStrengthWhole) {
    suppression = defenderStrengthWhole - losses;
  }
  if (suppression < 0) suppression = 0;
}

}  // namespace

void resolveRuggedDefense(CombatScenario& s, Console& console) {
  console.out << text::kSeparator << "\n\nThe chances of a rugged defense are "
              << s.ruggedChance << "%.";

  // The defender fires first, at full strength.
  const FireResult defenderFire = resolveFire(
      s.ruggedDefenderDifference, truncateStrength(s.defenderStrengthBeforeSupport),
      FireFamily::standard, Scaling::truncated, s.defenderLeaderChoice,
      s.attackerLeaderChoice);
  s.ruggedAttackerLosses = defenderFire.losses;
  s.ruggedAttackerSuppression = defenderFire.suppression;
  if (s.ruggedAttackerLosses < 0) s.ruggedAttackerLosses = 0;
  if (s.ruggedAttackerLosses == 0 && s.defenderStrength > 9.0f) {
    s.ruggedAttackerLosses = 1;
  }
  if (isYes(s.defenderOutOfAmmo)) {
    s.ruggedAttackerLosses = 0;
    s.ruggedAttackerSuppression = 0;
  }
  if (static_cast<float>(s.ruggedAttackerLosses) > s.defenderStrength) {
    s.ruggedAttackerLosses = truncateStrength(s.defenderStrength);
  }
  if (s.ruggedAttackerLosses > s.attackerStrengthWhole) {
    s.ruggedAttackerLosses = s.attackerStrengthWhole;
  }

  // The attacker answers with what is left, with and without the
  // artillery's fire taken off as well.
  const Wide struck =
      static_cast<Wide>(s.ruggedAttackerLosses) + s.ruggedAttackerSuppression;
  s.attackerRemainingWithSupport = remainingStrength(
      s.attackerStrengthBeforeSupport,
      struck + s.artillerySuppressionTotal + s.artilleryDamageTotal);
  s.attackerRemainingNoSupport =
      remainingStrength(s.attackerStrengthBeforeSupport, struck);

  const FireResult answer = attackerAnswer(s, s.attackerRemainingWithSupport);
  s.ruggedDefenderLosses = answer.losses;
  s.ruggedDefenderSuppression = answer.suppression;
  const FireResult answerNoSupport =
      attackerAnswer(s, s.attackerRemainingNoSupport);
  s.ruggedDefenderLossesNoSupport = answerNoSupport.losses;
  s.ruggedDefenderSuppressionNoSupport = answerNoSupport.suppression;

  s.ruggedAttackerLossesNoArtillery = s.ruggedAttackerLosses;
  s.ruggedAttackerLosses =
      saturatingAdd(s.ruggedAttackerLosses, s.artilleryDamageTotal);

  limitAnswer(s.ruggedDefenderLosses, s.ruggedDefenderSuppression,
              s.attackerRemainingWithSupport, s.defenderStrengthWhole);
  limitAnswer(s.ruggedDefenderLossesNoSupport,
              s.ruggedDefenderSuppressionNoSupport, s.attackerRemainingNoSupport,
              s.defenderStrengthWhole);

  if (s.ruggedChance < 100) {
    console.out << "\n\nIf there is a rugged defense, the odds will be "
                << s.ruggedAttackerLosses << " against the attacker,\nand "
                << s.ruggedDefenderLosses << " against the defender.";
    printSuppressionLine(console.out, s.ruggedDefenderLosses,
                         s.ruggedDefenderSuppression, s.defenderStrengthWhole);
    if ((s.artillerySuppressionTotal > 0 || s.artilleryDamageTotal > 0) &&
        (s.ruggedDefenderLosses != s.ruggedDefenderLossesNoSupport ||
         s.ruggedAttackerLosses != s.ruggedAttackerLossesNoArtillery)) {
      printWouldHaveBeen(console.out, text::kArtilleryLead,
                         s.ruggedAttackerLossesNoArtillery,
                         s.ruggedDefenderLossesNoSupport,
                         s.ruggedDefenderSuppressionNoSupport,
                         s.defenderStrengthWhole);
    }
    return;
  }
  // A certain rugged defense is the combat's outcome; the report adds the
  // support-fire damage once.
  s.defenderLosses = s.ruggedDefenderLosses;
  s.attackerLosses = s.ruggedAttackerLossesNoArtillery;
  s.defenderSuppression = s.ruggedDefenderSuppression;
  s.defenderLossesNoSupport = s.ruggedDefenderLossesNoSupport;
  s.defenderSuppressionNoSupport = s.ruggedDefenderSuppressionNoSupport;
}
