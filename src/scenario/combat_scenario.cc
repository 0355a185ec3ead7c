#include "scenario/combat_scenario.h"

namespace {

bool isAir(std::int64_t unitClass) {
  return unitClass == unit_class::kFighter || unitClass == unit_class::kBomber;
}

}  // namespace

void settleUnitClasses(CombatScenario* s) {
  using namespace unit_class;
  s->attackerClass = s->attackerClassEntered == kHalfTrackOrGroundTransport
                         ? kTank
                         : s->attackerClassEntered;
  // An artillery attacker's target counts as infantry or as a tank.
  if (s->attackerClassEntered == kArtillery) {
    s->defenderClass = isYes(s->defenderIsInfantry) ? kInfantry : kTank;
  } else {
    s->defenderClass = s->defenderClassEntered;
  }
  if (s->defenderClass == kHalfTrackOrGroundTransport) s->defenderClass = kTank;
  if (s->defenderClass == kAirTransport) s->defenderClass = kBomber;
  s->airToSurfaceAttack = isAir(s->attackerClass) && !isAir(s->defenderClass);
  s->navalVsNonNaval = s->attackerClass == kNaval && s->defenderClass != kNaval;
}

char defenderCloseTerrain(const CombatScenario& s) {
  using namespace unit_class;
  if (isYes(s.isAssault) && s.attackerClass == kInfantry &&
      s.defenderClass == kInfantry) {
    return answer::kYes;
  }
  return s.defenderInCityForestMountain;
}
