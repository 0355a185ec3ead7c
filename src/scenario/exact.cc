#include "scenario/exact.h"

#include <limits>

namespace {
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
}  // namespace

std::int64_t saturate(Wide value) {
  if (value > kMax) return kMax;
  if (value < kMin) return kMin;
  return static_cast<std::int64_t>(value);
}

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
  return saturate(static_cast<Wide>(a) + b);
}

void addTo(std::int64_t* value, Wide amount) {
  *value = saturate(static_cast<Wide>(*value) + amount);
}

std::int64_t truncateStrength(float strength) {
  // 2^63 is exactly representable; anything at or past it does not fit.
  constexpr float kLimit = 9223372036854775808.0f;
  if (strength != strength) return 0;
  if (strength >= kLimit) return kMax;
  if (strength <= -kLimit) return kMin;
  return static_cast<std::int64_t>(strength);
}

float strengthAfter(float strength, Wide points) {
  const float left = strength - static_cast<float>(points);
  return left < 0.0f ? 0.0f : left;
}
