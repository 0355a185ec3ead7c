// The fire formulas: how one unit's fire, given its combat difference and
// its strength, becomes the losses and suppression of the unit it fires at.
// Pure functions; they keep no state and print nothing.
#ifndef ZELVORN_COMBAT_FIRE_H_
#define ZELVORN_COMBAT_FIRE_H_

#include <cstdint>

#include "scenario/combat_scenario.h"
#include "scenario/exact.h"

// Which factor table a unit fires with; the calling phase decides by class.
enum class FireFamily { standard, artillery };

// How factor x strength / 20 is turned into a whole number of points.
enum class Scaling {
  truncated,     // quotient rounded toward zero
  rounded,       // quotient + 0.5, rounded toward zero
  wholeRounded,  // whole quotient, raised by one when it is negative
};

// Losses and suppression that one side's fire inflicts, in strength points.
// Either may be negative or larger than the target; callers apply limits.
struct FireResult {
  std::int64_t losses = 0;
  std::int64_t suppression = 0;
};

// The factor for a firing unit of strength 20 at combat difference d.
std::int64_t killFactor(std::int64_t d, FireFamily family);
std::int64_t suppressionFactor(std::int64_t d, FireFamily family);

// factor x strength / 20 under the given rule, computed exactly.
std::int64_t scaleByStrength(std::int64_t factor, std::int64_t strength,
                             Scaling rule);

// (x + 2) / 4, rounded toward zero: the share that a leader ability moves
// from one figure to the other.
std::int64_t quarterShare(std::int64_t x);

// Overwhelming Attack on the firing side moves a quarter of the suppression
// into the losses, Resilience on the target side a quarter of the losses into
// the suppression; with both present neither happens.
FireResult applyLeaderTransfers(FireResult fire, std::int64_t shooterChoice,
                                std::int64_t targetChoice);

// The formulas themselves, inline so that every fire of the model is
// computed for its own family and scaling.
namespace fire_formulas {

// Differences of this size or less cannot overflow 64 bits in any factor;
// only absurd answers take the 128-bit way.
inline constexpr std::int64_t kSmall = std::int64_t{1} << 60;

inline bool small(std::int64_t value) { return value > -kSmall && value < kSmall; }

template <typename Number>
inline Number kill(Number d, FireFamily family) {
  if (family == FireFamily::standard) {
    return d <= 4 ? d + 7 : (4 * d - 16) / 10 + 11;
  }
  return d <= 4 ? d + 2 : (2 * d - 8) / 5 + 6;
}

template <typename Number>
inline Number suppression(Number d, FireFamily family) {
  if (family == FireFamily::standard) return d + 2;
  return d <= -2 ? d + 9 : (2 * d + 4) / 5 + 7;
}

template <typename Number>
inline Number scaled(Number product, Scaling rule) {
  switch (rule) {
    case Scaling::truncated:
      return product / 20;
    case Scaling::rounded:
      // Adding a half before truncating is adding 10 twentieths.
      return (product + 10) / 20;
    case Scaling::wholeRounded: {
      const Number quotient = product / 20;
      return quotient < 0 ? quotient + 1 : quotient;
    }
  }
  return 0;
}

inline std::int64_t killFactorOf(std::int64_t d, FireFamily family) {
  if (small(d)) return kill(d, family);
  return saturate(kill(static_cast<Wide>(d), family));
}

inline std::int64_t suppressionFactorOf(std::int64_t d, FireFamily family) {
  if (small(d)) return suppression(d, family);
  return saturate(suppression(static_cast<Wide>(d), family));
}

inline std::int64_t scale(std::int64_t factor, std::int64_t strength,
                          Scaling rule) {
  std::int64_t product;
  if (!__builtin_mul_overflow(factor, strength, &product) && small(product)) {
    return scaled(product, rule);
  }
  return saturate(scaled(static_cast<Wide>(factor) * strength, rule));
}

inline std::int64_t quarterOf(std::int64_t x) {
  if (small(x)) return (x + 2) / 4;
  return saturate((static_cast<Wide>(x) + 2) / 4);
}

inline FireResult transfer(FireResult fire, std::int64_t shooterChoice,
                           std::int64_t targetChoice) {
  if (shooterChoice == leader::kOverwhelmingAttack &&
      targetChoice != leader::kResilience) {
    const std::int64_t share = quarterOf(fire.suppression);
    fire.losses = saturatingAdd(fire.losses, share);
    fire.suppression = saturate(static_cast<Wide>(fire.suppression) - share);
  }
  if (targetChoice == leader::kResilience &&
      shooterChoice != leader::kOverwhelmingAttack) {
    const std::int64_t share = quarterOf(fire.losses);
    fire.suppression = saturatingAdd(fire.suppression, share);
    fire.losses = saturate(static_cast<Wide>(fire.losses) - share);
  }
  return fire;
}

}  // namespace fire_formulas

// One complete fire: both factors scaled by strength, then the leader
// transfers (shooter's choice first).
[[gnu::always_inline]] inline FireResult resolveFire(std::int64_t d, std::int64_t strength,
                              FireFamily family, Scaling rule,
                              std::int64_t shooterChoice,
                              std::int64_t targetChoice) {
  using namespace fire_formulas;
  const FireResult fire{scale(killFactorOf(d, family), strength, rule),
                        scale(suppressionFactorOf(d, family), strength, rule)};
  return transfer(fire, shooterChoice, targetChoice);
}

#endif  // ZELVORN_COMBAT_FIRE_H_
