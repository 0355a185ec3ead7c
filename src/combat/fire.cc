#include "combat/fire.h"



using namespace fire_formulas;

// Above its bend a factor grows by two fifths of a point per point of
// difference; every division here has a positive numerator.
std::int64_t killFactor(std::int64_t d, FireFamily family) {
  return killFactorOf(d, family);
}

std::int64_t suppressionFactor(std::int64_t d, FireFamily family) {
  return suppressionFactorOf(d, family);
}

std::int64_t scaleByStrength(std::int64_t factor, std::int64_t strength,
                             Scaling rule) {
  return scale(factor, strength, rule);
}

std::int64_t quarterShare(std::int64_t x) { return quarterOf(x); }

FireResult applyLeaderTransfers(FireResult fire, std::int64_t shooterChoice,
                                std::int64_t targetChoice) {
  return transfer(fire, shooterChoice, targetChoice);
}

