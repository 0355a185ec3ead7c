// The fire formulas: how one unit's fire, given its combat difference and
// its strength, becomes the losses and suppression of the unit it fires at.
// Pure functions; they keep no state and print nothing.
#ifndef ZELVORN_COMBAT_FIRE_H_
#define ZELVORN_COMBAT_FIRE_H_

#include <cstdint>

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
void applyLeaderTransfers(FireResult& fire, std::int64_t shooterChoice,
                          std::int64_t targetChoice);

// One complete fire: both factors scaled by strength, then the leader
// transfers (shooter's choice first).
FireResult resolveFire(std::int64_t d, std::int64_t strength, FireFamily family,
                       Scaling rule, std::int64_t shooterChoice,
                       std::int64_t targetChoice);

#endif  // ZELVORN_COMBAT_FIRE_H_
