#include "combat/exchange.h"

#include "combat/exact.h"
#include "combat/fire.h"

namespace {

bool anySupportFire(const CombatScenario& s) {
  return s.artilleryDamageTotal > 0 || s.artillerySuppressionTotal > 0 ||
         s.airDefenseDamageTotal > 0 || s.airDefenseSuppressionTotal > 0;
}

Scaling scalingFor(FireFamily family) {
  return family == FireFamily::artillery ? Scaling::rounded : Scaling::truncated;
}

// Forts, artillery and ships bombarding land fire like artillery.
FireFamily attackerFamily(const CombatScenario& s) {
  using namespace unit_class;
  return s.attackerClass == kArtillery || s.attackerClass == kFort ||
                 s.navalVsNonNaval == 'y'
             ? FireFamily::artillery
             : FireFamily::standard;
}

FireResult attackerFire(const CombatScenario& s, float strength,
                        FireFamily family) {
  return resolveFire(s.attackerDifference, truncateStrength(strength), family,
                     scalingFor(family), s.attackerLeaderChoice,
                     s.defenderLeaderChoice);
}

FireResult defenderFire(const CombatScenario& s, FireFamily family) {
  return resolveFire(s.defenderDifference, truncateStrength(s.defenderStrength),
                     family, scalingFor(family), s.defenderLeaderChoice,
                     s.attackerLeaderChoice);
}

}  // namespace

void exchangeFire(CombatScenario& s) {
  using namespace unit_class;
  const FireFamily family = attackerFamily(s);
  const FireResult fire = attackerFire(s, s.attackerStrength, family);
  s.defenderLosses = fire.losses;
  s.defenderSuppression = fire.suppression;
  if (anySupportFire(s)) {
    const FireResult noSupport =
        attackerFire(s, s.attackerStrengthBeforeSupport, family);
    s.defenderLossesNoSupport = noSupport.losses;
    s.defenderSuppressionNoSupport = noSupport.suppression;
  }

  // Artillery and air-defense attackers fire from where the defender cannot
  // answer; a defender out of ammunition answers only at sea.
  const std::int64_t a = s.attackerClass;
  const std::int64_t d = s.defenderClass;
  const bool canAnswer = !isYes(s.defenderOutOfAmmo) && a != kArtillery &&
                         a != kAirDefense;
  bool fires = true;
  FireFamily returnFamily = FireFamily::standard;
  if ((canAnswer && d != kArtillery && d != kNaval) ||
      (d == kNaval && a == kNaval)) {
    returnFamily = FireFamily::standard;
  } else if (canAnswer && (d == kArtillery || d == kNaval)) {
    returnFamily = FireFamily::artillery;
  } else {
    fires = false;
  }
  if (fires) {
    const FireResult answer = defenderFire(s, returnFamily);
    s.attackerLosses = answer.losses;
    s.attackerSuppression = answer.suppression;
  }
}

void resolveFirstStrike(CombatScenario& s) {
  using namespace unit_class;
  const bool airAttack = s.airToSurfaceAttack == 'y';
  const bool attackerFirst =
      (s.firstStrikeSide == FirstStrikeSide::attacker && s.ruggedChance < 100) ||
      (airAttack && s.attackerLeaderChoice == leader::kFirstStrike &&
       s.defenderLeaderChoice != leader::kFirstStrike);
  const bool defenderFirst =
      (s.firstStrikeSide == FirstStrikeSide::defender && s.ruggedChance < 100) ||
      (airAttack && s.defenderLeaderChoice == leader::kFirstStrike &&
       s.attackerLeaderChoice != leader::kFirstStrike);

  if (attackerFirst) {
    s.defenderStrength = strengthAfter(
        s.defenderStrength, static_cast<Wide>(s.defenderLosses) + s.defenderSuppression);
    // Struck first, forts and ships answer like artillery.
    const std::int64_t d = s.defenderClass;
    const FireFamily family = d == kFort || d == kArtillery || d == kNaval
                                  ? FireFamily::artillery
                                  : FireFamily::standard;
    const FireResult answer = defenderFire(s, family);
    s.attackerLosses = answer.losses;
    s.attackerSuppression = answer.suppression;
  }

  if (defenderFirst && !isYes(s.defenderOutOfAmmo)) {
    const Wide struck = static_cast<Wide>(s.attackerLosses) + s.attackerSuppression;
    s.attackerStrength = strengthAfter(s.attackerStrength, struck);
    const std::int64_t a = s.attackerClass;
    const FireFamily family = a == kFort || a == kNaval ? FireFamily::artillery
                                                        : FireFamily::standard;
    const FireResult fire = attackerFire(s, s.attackerStrength, family);
    s.defenderLosses = fire.losses;
    s.defenderSuppression = fire.suppression;
    if (anySupportFire(s)) {
      // Without support fire the attacker would have kept its full strength
      // up to the defender's first strike.
      const float left = strengthAfter(s.attackerStrengthBeforeSupport, struck);
      const Scaling rule = family == FireFamily::artillery ? Scaling::wholeRounded
                                                           : Scaling::truncated;
      const FireResult noSupport = resolveFire(
          s.attackerDifference, truncateStrength(left), family, rule,
          s.attackerLeaderChoice, s.defenderLeaderChoice);
      s.defenderLossesNoSupport = noSupport.losses;
      s.defenderSuppressionNoSupport = noSupport.suppression;
    }
  }
}
