// What the combat model predicts for one combat, as plain values.  Every
// text and every JSON figure of the program is rendered from these.
#ifndef ZELVORN_COMBAT_PREDICTION_H_
#define ZELVORN_COMBAT_PREDICTION_H_

#include <cstdint>
#include <vector>

// Which support fire a combat has: defensive artillery against a ground
// attacker, air defense against an airplane attacking a surface unit, or
// none for every other attacker.
enum class SupportFamily { none, artillery, airDefense };

// One supporting unit's fire after settling, and the running totals of its
// phase after it.
struct SettledFire {
  std::int64_t damage = 0;
  std::int64_t suppression = 0;
  std::int64_t damageTotal = 0;
  std::int64_t suppressionTotal = 0;
  // The unit's own damage or the totals reached the attacker's entered
  // strength: the unit may not count, and no further unit fires.
  bool damageCapped = false;
};

// The support fire of a combat, unit by unit, up to the first damage cap.
struct SupportFire {
  SupportFamily family = SupportFamily::none;
  std::vector<SettledFire> units;
  std::int64_t damageTotal = 0;
  std::int64_t suppressionTotal = 0;
};

// The outcome if the defender mounts a rugged defense.
struct RuggedOutcome {
  std::int64_t attackerLosses = 0;  // the artillery's damage included
  std::int64_t attackerLossesNoArtillery = 0;
  std::int64_t defenderLosses = 0;
  std::int64_t defenderSuppression = 0;
  std::int64_t defenderLossesNoSupport = 0;
  std::int64_t defenderSuppressionNoSupport = 0;
};

// The odds: what each side is predicted to lose and the suppression the
// attacker inflicts, with the support fire and as if there had been none
// (the same figures when no support fire counted).  None is below 0.
struct Odds {
  std::int64_t attackerLosses = 0;
  std::int64_t defenderLosses = 0;
  std::int64_t defenderSuppression = 0;
  std::int64_t attackerLossesNoSupport = 0;
  std::int64_t defenderLossesNoSupport = 0;
  std::int64_t defenderSuppressionNoSupport = 0;
};

// Everything the dialogue prints as the result of one computation pass; the
// support fire's unit-by-unit figures stay with the combat (SupportFire), as
// no pass changes them.
struct Prediction {
  SupportFamily supportFamily = SupportFamily::none;
  std::int64_t supportDamageTotal = 0;
  std::int64_t supportSuppressionTotal = 0;
  std::int64_t timesAttacked = 0;
  std::int64_t ruggedChance = 0;
  RuggedOutcome rugged;  // meaningful when ruggedChance is above 0
  Odds odds;
  // The defender's strength as entered, against which the printed lines
  // are chosen.
  std::int64_t defenderStrengthWhole = 0;
};

#endif  // ZELVORN_COMBAT_PREDICTION_H_
