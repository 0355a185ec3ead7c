#include "combat/differences.h"
#include "combat/exact.h"
#include "dialogue/main_loop.h"
#include "scenario/shared_texts.h"

namespace {

// Gives back the values that a computation pass changes, so that every pass
// starts from the same point whatever was tried before.
void restoreForNewPass(CombatScenario& s) {
  s.ruggedDefenderLosses = 0;
  s.ruggedAttackerLosses = 0;
  s.defenderLosses = 0;
  s.attackerLosses = 0;
  s.defenderSuppression = 0;
  s.attackerSuppression = 0;
  s.initiativeShift = 0;
  s.attackerInitiative = s.attackerInitiativeEntered;
  s.defenderInitiative = s.defenderInitiativeEntered;
  s.defenderDifference =
      saturate(static_cast<Wide>(s.defenderAttackValue) - s.attackerDefenseValue);
  s.attackerStrength = strengthAfter(
      s.attackerStrengthBeforeSupport,
      static_cast<Wide>(s.airDefenseDamageTotal) + s.airDefenseSuppressionTotal +
          s.artillerySuppressionTotal + s.artilleryDamageTotal);
  s.defenderStrength = s.defenderStrengthBeforeSupport;
}

}  // namespace

void offerSofteningRecomputation(CombatScenario& s, Console& console) {
  using namespace unit_class;
  // These attackers do not soften the defender.
  if (s.attackerClass == kArtillery || s.attackerClass == kBomber ||
      s.attackerClass == kNaval) {
    return;
  }
  while (isYes(askYesNo(console,
                        "\nWould you like to check the odds of this combat "
                        "with a different softening\nvalue? (Y/N)\n>> "))) {
    restoreForNewPass(s);
    s.timesAttacked = askNumber(console, text::kTimesAttackedPrompt,
                                text::kTimesAttackedError);
    s.softenedDefense = softenedDefenseFor(s, s.timesAttacked);
    s.attackerDifference =
        saturate(static_cast<Wide>(s.attackerAttackValue) - s.softenedDefense);
    // The rugged defense does not count the softening, so its differences
    // stand as the first pass formed them.
    runComputationPass(s, console);
  }
}
