// Exact whole-number helpers.  Products of a factor and a strength and sums
// of many figures can pass 64 bits for extreme answers, so they are formed in
// 128 bits; a figure beyond the 64-bit range is held at the end of that
// range, which is always far past every limit that later applies, so the
// printed figures stay exact.
#ifndef ZELVORN_SCENARIO_EXACT_H_
#define ZELVORN_SCENARIO_EXACT_H_

#include <cstdint>
#include <limits>

__extension__ typedef __int128 Wide;

// Narrows a 128-bit value to 64 bits, holding it at the nearest end of the
// 64-bit range when it does not fit.
inline std::int64_t saturate(Wide value) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  if (value > kMax) return kMax;
  if (value < kMin) return kMin;
  return static_cast<std::int64_t>(value);
}

// Adds two whole numbers, holding the sum at the end of the 64-bit range.
inline std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return saturate(static_cast<Wide>(a) + b);
}

// Adds `amount` to `*value`, holding the result inside 64 bits.
inline void addTo(std::int64_t* value, Wide amount) {
  *value = saturate(static_cast<Wide>(*value) + amount);
}

// Truncates a strength toward zero to a whole number; strengths beyond the
// 64-bit range are held at its end.
inline std::int64_t truncateStrength(float strength) {
  // 2^63 is exactly representable; anything at or past it does not fit.
  constexpr float kLimit = 9223372036854775808.0f;
  if (strength > -kLimit && strength < kLimit) {
    return static_cast<std::int64_t>(strength);
  }
  if (strength != strength) return 0;
  return strength > 0 ? std::numeric_limits<std::int64_t>::max()
                      : std::numeric_limits<std::int64_t>::min();
}

// The strength left after taking off a whole number of points: the points are
// summed as a whole number and subtracted in single precision, and a result
// below zero becomes 0.0.
float strengthAfter(float strength, Wide points);

#endif  // ZELVORN_SCENARIO_EXACT_H_
