#include "scenario/exact.h"

#include <limits>

float strengthAfter(float strength, Wide points) {
  const float left = strength - static_cast<float>(points);
  return left < 0.0f ? 0.0f : left;
}
