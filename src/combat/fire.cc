#include "combat/fire.h"

#include "scenario/exact.h"
#include "scenario/combat_scenario.h"

// Above its bend a factor grows by two fifths of a point per point of
// difference; every division here has a positive numerator.
std::int64_t killFactor(std::int64_t d, FireFamily family) {
  const Wide w = d;
  if (family == FireFamily::standard) {
    return saturate(w <= 4 ? w + 7 : (4 * w - 16) / 10 + 11);
  }
  return saturate(w <= 4 ? w + 2 : (2 * w - 8) / 5 + 6);
}

std::int64_t suppressionFactor(std::int64_t d, FireFamily family) {
  const Wide w = d;
  if (family == FireFamily::standard) return saturate(w + 2);
  return saturate(w <= -2 ? w + 9 : (2 * w + 4) / 5 + 7);
}

std::int64_t scaleByStrength(std::int64_t factor, std::int64_t strength,
                             Scaling rule) {
  const Wide product = static_cast<Wide>(factor) * strength;
  switch (rule) {
    case Scaling::truncated:
      return saturate(product / 20);
    case Scaling::rounded:
      // Adding a half before truncating is adding 10 twentieths.
      return saturate((product + 10) / 20);
    case Scaling::wholeRounded: {
      const Wide quotient = product / 20;
      return saturate(quotient < 0 ? quotient + 1 : quotient);
    }
  }
  return 0;
}

std::int64_t quarterShare(std::int64_t x) {
  return saturate((static_cast<Wide>(x) + 2) / 4);
}

void applyLeaderTransfers(FireResult& fire, std::int64_t shooterChoice,
                          std::int64_t targetChoice) {
  if (shooterChoice == leader::kOverwhelmingAttack &&
      targetChoice != leader::kResilience) {
    const std::int64_t share = quarterShare(fire.suppression);
    fire.losses = saturatingAdd(fire.losses, share);
    fire.suppression = saturate(static_cast<Wide>(fire.suppression) - share);
  }
  if (targetChoice == leader::kResilience &&
      shooterChoice != leader::kOverwhelmingAttack) {
    const std::int64_t share = quarterShare(fire.losses);
    fire.suppression = saturatingAdd(fire.suppression, share);
    fire.losses = saturate(static_cast<Wide>(fire.losses) - share);
  }
}

FireResult resolveFire(std::int64_t d, std::int64_t strength, FireFamily family,
                       Scaling rule, std::int64_t shooterChoice,
                       std::int64_t targetChoice) {
  FireResult fire;
  fire.losses = scaleByStrength(killFactor(d, family), strength, rule);
  fire.suppression = scaleByStrength(suppressionFactor(d, family), strength, rule);
  applyLeaderTransfers(fire, shooterChoice, targetChoice);
  return fire;
}
