#include "report/report.h"

#include <charconv>
#include <string_view>

#include "scenario/game_numbers.h"

namespace {

// The line of 79 asterisks that opens the rugged-defense lines and the odds.
constexpr std::string_view kSeparator =
    "\n\n*************************************************************"
    "******************";
constexpr std::string_view kArtilleryLead =
    "\n\nIf not for artillery support, the odds would have been ";
constexpr std::string_view kAirDefenseLead =
    "\n\nIf not for air-defense, the odds would have been ";

void append(std::string* out, std::string_view text) { out->append(text); }

// "Also, the attacker is predicted to inflict N suppression." when the
// defender is not wiped out and there is suppression to speak of.
void renderSuppressionLine(std::int64_t defenderLosses, std::int64_t suppression,
                           std::int64_t defenderStrengthWhole,
                           std::string* out) {
  if (defenderLosses < defenderStrengthWhole && suppression > 0) {
    append(out, "\n\nAlso, the attacker is predicted to inflict ");
    appendNumber(out, suppression);
    append(out, " suppression.");
  }
}

// The odds as they would have been: `lead`, the two losses on two lines,
// and the suppression that would have been inflicted when it applies.
void renderWouldHaveBeen(std::string_view lead, std::int64_t attackerLosses,
                         std::int64_t defenderLosses, std::int64_t suppression,
                         std::int64_t defenderStrengthWhole, std::string* out) {
  append(out, lead);
  appendNumber(out, attackerLosses);
  append(out, " against the attacker,\nand ");
  appendNumber(out, defenderLosses);
  append(out, " against the defender.");
  if (defenderStrengthWhole > defenderLosses && suppression > 0) {
    append(out, "\n\nAlso, the attacker would have been predicted to inflict ");
    appendNumber(out, suppression);
    append(out, " suppression.");
  }
}

void renderDamageAndSuppression(std::string_view lead, std::int64_t damage,
                                std::int64_t suppression, std::string* out) {
  append(out, lead);
  appendNumber(out, damage);
  append(out, " damage and ");
  appendNumber(out, suppression);
  append(out, " suppression.\n");
}

bool fired(const Prediction& p, SupportFamily family) {
  return p.supportFamily == family &&
         (p.supportDamageTotal > 0 || p.supportSuppressionTotal > 0);
}

}  // namespace

namespace {

[[gnu::noinline]] void appendManyDigits(std::string* out, std::int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out->append(digits, result.ptr);
}

}  // namespace

void appendNumber(std::string* out, std::int64_t value) {
  // Most figures are single digits.
  if (value >= 0 && value < 10) {
    out->push_back(static_cast<char>('0' + value));
    return;
  }
  appendManyDigits(out, value);
}

void renderSupportUnit(SupportFamily family, const SettledFire& fire,
                       std::string* out) {
  const bool artillery = family == SupportFamily::artillery;
  renderDamageAndSuppression(artillery
                                 ? "\nThis artillery piece is predicted to do "
                                 : "\nThis supporting unit is predicted to do ",
                             fire.damage, fire.suppression, out);
  // After the first unit the totals equal its own figures.
  if (!fire.damageCapped && (fire.suppression != fire.suppressionTotal ||
                             fire.damage != fire.damageTotal)) {
    renderDamageAndSuppression(
        artillery ? "\nAll artillery so far is predicted to do "
                  : "\nAll supporting units so far are predicted to do ",
        fire.damageTotal, fire.suppressionTotal, out);
  }
}

void renderRuggedDefense(const Prediction& p, std::string* out) {
  if (p.ruggedChance <= 0) return;
  append(out, kSeparator);
  append(out, "\n\nThe chances of a rugged defense are ");
  appendNumber(out, p.ruggedChance);
  append(out, "%.");
  // A certain rugged defense is the outcome that the odds show.
  if (p.ruggedChance >= kCertainRuggedChance) return;
  const RuggedOutcome& r = p.rugged;
  append(out, "\n\nIf there is a rugged defense, the odds will be ");
  appendNumber(out, r.attackerLosses);
  append(out, " against the attacker,\nand ");
  appendNumber(out, r.defenderLosses);
  append(out, " against the defender.");
  renderSuppressionLine(r.defenderLosses, r.defenderSuppression,
                        p.defenderStrengthWhole, out);
  if (fired(p, SupportFamily::artillery) &&
      (r.defenderLosses != r.defenderLossesNoSupport ||
       r.attackerLosses != r.attackerLossesNoArtillery)) {
    renderWouldHaveBeen(kArtilleryLead, r.attackerLossesNoArtillery,
                        r.defenderLossesNoSupport,
                        r.defenderSuppressionNoSupport, p.defenderStrengthWhole,
                        out);
  }
}

void renderOdds(const Prediction& p, std::string* out) {
  const Odds& o = p.odds;
  append(out, kSeparator);
  append(out, "\n\nThe odds are ");
  appendNumber(out, o.attackerLosses);
  append(out, " against the attacker, ");
  appendNumber(out, o.defenderLosses);
  append(out, " against the defender.");
  renderSuppressionLine(o.defenderLosses, o.defenderSuppression,
                        p.defenderStrengthWhole, out);
  const bool changed = o.defenderLosses != o.defenderLossesNoSupport ||
                       o.attackerLosses != o.attackerLossesNoSupport;
  if (changed && fired(p, SupportFamily::artillery)) {
    renderWouldHaveBeen(kArtilleryLead, o.attackerLossesNoSupport,
                        o.defenderLossesNoSupport,
                        o.defenderSuppressionNoSupport, p.defenderStrengthWhole,
                        out);
  }
  if (changed && fired(p, SupportFamily::airDefense)) {
    renderWouldHaveBeen(kAirDefenseLead, o.attackerLossesNoSupport,
                        o.defenderLossesNoSupport,
                        o.defenderSuppressionNoSupport, p.defenderStrengthWhole,
                        out);
  }
  append(out, kSeparator);
  append(out, "\n\n");
}

void renderPass(const Prediction& p, std::string* out) {
  renderRuggedDefense(p, out);
  renderOdds(p, out);
}

void renderSupportFire(const SupportFire& supportFire, std::string* out) {
  for (const SettledFire& fire : supportFire.units) {
    renderSupportUnit(supportFire.family, fire, out);
  }
}

void renderPrediction(const SupportFire& supportFire, const Prediction& p,
                      std::string* out) {
  renderSupportFire(supportFire, out);
  renderPass(p, out);
}
