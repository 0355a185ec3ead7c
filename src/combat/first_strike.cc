#include "combat/first_strike.h"

#include "combat/exchange.h"
#include "scenario/exact.h"
#include "scenario/game_numbers.h"

void resolveFirstStrike(const CombatScenario& s, CombatState* c) {
  using namespace unit_class;
  const bool airAttack = s.airToSurfaceAttack;
  const bool initiativeCounts = c->ruggedChance < kCertainRuggedChance;
  const bool attackerFirst =
      (c->firstStrikeSide == FirstStrikeSide::attacker && initiativeCounts) ||
      (airAttack && s.attackerLeaderChoice == leader::kFirstStrike &&
       s.defenderLeaderChoice != leader::kFirstStrike);
  const bool defenderFirst =
      (c->firstStrikeSide == FirstStrikeSide::defender && initiativeCounts) ||
      (airAttack && s.defenderLeaderChoice == leader::kFirstStrike &&
       s.attackerLeaderChoice != leader::kFirstStrike);

  if (attackerFirst) {
    c->defenderStrength = strengthAfter(
        c->defenderStrength,
        static_cast<Wide>(c->defenderLosses) + c->defenderSuppression);
    // Struck first, forts and ships answer like artillery.
    const std::int64_t d = s.defenderClass;
    const FireFamily family = d == kFort || d == kArtillery || d == kNaval
                                  ? FireFamily::artillery
                                  : FireFamily::standard;
    const FireResult answer = resolveFire(
        c->defenderDifference, truncateStrength(c->defenderStrength), family,
        scalingFor(family), s.defenderLeaderChoice, s.attackerLeaderChoice);
    c->attackerLosses = answer.losses;
    c->attackerSuppression = answer.suppression;
  }

  if (defenderFirst && !isYes(s.defenderOutOfAmmo)) {
    const Wide struck =
        static_cast<Wide>(c->attackerLosses) + c->attackerSuppression;
    c->attackerStrength = strengthAfter(c->attackerStrength, struck);
    const std::int64_t a = s.attackerClass;
    const FireFamily family = a == kFort || a == kNaval ? FireFamily::artillery
                                                        : FireFamily::standard;
    const FireResult fire = resolveFire(
        c->attackerDifference, truncateStrength(c->attackerStrength), family,
        scalingFor(family), s.attackerLeaderChoice, s.defenderLeaderChoice);
    c->defenderLosses = fire.losses;
    c->defenderSuppression = fire.suppression;
    if (anySupportFire(*c)) {
      // Without support fire the attacker would have kept its full strength
      // up to the defender's first strike.
      const float left = strengthAfter(c->attackerStrengthBeforeSupport, struck);
      const Scaling rule = family == FireFamily::artillery ? Scaling::wholeRounded
                                                           : Scaling::truncated;
      const FireResult noSupport = resolveFire(
          c->attackerDifference, truncateStrength(left), family, rule,
          s.attackerLeaderChoice, s.defenderLeaderChoice);
      c->defenderLossesNoSupport = noSupport.losses;
      c->defenderSuppressionNoSupport = noSupport.suppression;
    }
  }
}
