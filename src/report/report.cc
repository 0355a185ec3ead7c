#include "report/report.h"

#include "combat/exact.h"
#include "scenario/shared_texts.h"

namespace {

// Limits the suppression so that losses and suppression together stay
// within the defender's strength as entered.
void limitSuppression(std::int64_t& suppression, std::int64_t losses,
                      std::int64_t defenderStrengthWhole) {
  if (static_cast<Wide>(suppression) + losses > defenderStrengthWhole) {
    suppression = saturate(static_cast<Wide>(defenderStrengthWhole) - losses);
    if (suppression < 0) suppression = 0;
  }
}

void limitToStrength(std::int64_t& losses, float strength) {
  if (static_cast<float>(losses) > strength) losses = truncateStrength(strength);
}

}  // namespace

void applyFinalLimits(CombatScenario& s) {
  using namespace unit_class;
  if (s.attackerLosses < 0) s.attackerLosses = 0;
  if (s.defenderLosses < 0) s.defenderLosses = 0;
  limitSuppression(s.defenderSuppression, s.defenderLosses,
                   s.defenderStrengthWhole);

  // A side cannot inflict more than its own strength, nor lose more than it
  // has.
  limitToStrength(s.attackerLosses, s.defenderStrength);
  limitToStrength(s.defenderLosses, s.attackerStrength);
  if (s.defenderLosses > s.defenderStrengthWhole) {
    s.defenderLosses = s.defenderStrengthWhole;
  }
  if (s.attackerLosses > s.attackerStrengthWhole) {
    s.attackerLosses = s.attackerStrengthWhole;
  }

  if (s.defenderLosses == 0 && s.attackerStrength > 9.0f) s.defenderLosses = 1;
  if (s.attackerLosses == 0 && s.defenderStrength > 9.0f &&
      s.defenderAttackValue > 0) {
    s.attackerLosses = 1;
  }

  if (s.attackerClass == kArtillery || s.attackerClass == kAirDefense ||
      isYes(s.defenderOutOfAmmo) || s.combatRange > s.defenderFiringRange ||
      (s.attackerClass == kFort && s.attackerFiringRange > 1) ||
      s.defenderAttackValue == 0) {
    s.attackerLosses = 0;
  }

  if (s.defenderLossesNoSupport < 0) s.defenderLossesNoSupport = 0;
  limitSuppression(s.defenderSuppressionNoSupport, s.defenderLossesNoSupport,
                   s.defenderStrengthWhole);
  limitToStrength(s.defenderLossesNoSupport, s.attackerStrengthBeforeSupport);
  if (s.defenderLossesNoSupport > s.defenderStrengthWhole) {
    s.defenderLossesNoSupport = s.defenderStrengthWhole;
  }
  if (s.defenderLossesNoSupport == 0 && s.attackerStrength > 9.0f) {
    s.defenderLossesNoSupport = 1;
  }

  s.attackerLossesNoSupport = s.attackerLosses;
  const Wide withSupport = static_cast<Wide>(s.airDefenseDamageTotal) +
                           s.attackerLosses + s.artilleryDamageTotal;
  s.attackerLosses = withSupport > s.attackerStrengthWhole
                         ? s.attackerStrengthWhole
                         : static_cast<std::int64_t>(withSupport);
}

void printSuppressionLine(std::ostream& out, std::int64_t defenderLosses,
                          std::int64_t suppression,
                          std::int64_t defenderStrengthWhole) {
  if (defenderLosses < defenderStrengthWhole && suppression > 0) {
    out << "\n\nAlso, the attacker is predicted to inflict " << suppression
        << " suppression.";
  }
}

void printWouldHaveBeen(std::ostream& out, const char* lead,
                        std::int64_t attackerLosses,
                        std::int64_t defenderLosses, std::int64_t suppression,
                        std::int64_t defenderStrengthWhole) {
  out << lead << attackerLosses << " against the attacker,\nand "
      << defenderLosses << " against the defender.";
  if (defenderStrengthWhole > defenderLosses && suppression > 0) {
    out << "\n\nAlso, the attacker would have been predicted to inflict "
        << suppression << " suppression.";
  }
}

void printOdds(const CombatScenario& s, std::ostream& out) {
  out << text::kSeparator << "\n\nThe odds are " << s.attackerLosses
      << " against the attacker, " << s.defenderLosses << " against the defender.";
  printSuppressionLine(out, s.defenderLosses, s.defenderSuppression,
                       s.defenderStrengthWhole);
  const bool changed = s.defenderLosses != s.defenderLossesNoSupport ||
                       s.attackerLosses != s.attackerLossesNoSupport;
  if ((s.artillerySuppressionTotal > 0 || s.artilleryDamageTotal > 0) &&
      changed) {
    printWouldHaveBeen(out, text::kArtilleryLead, s.attackerLossesNoSupport,
                       s.defenderLossesNoSupport, s.defenderSuppressionNoSupport,
                       s.defenderStrengthWhole);
  }
  if ((s.airDefenseSuppressionTotal > 0 || s.airDefenseDamageTotal > 0) &&
      changed) {
    printWouldHaveBeen(out, "\n\nIf not for air-defense, the odds would have been ",
                       s.attackerLossesNoSupport, s.defenderLossesNoSupport,
                       s.defenderSuppressionNoSupport, s.defenderStrengthWhole);
  }
  out << text::kSeparator << "\n\n";
}
