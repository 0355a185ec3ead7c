#include "combat/questions.h"

bool asksTerrain(const CombatScenario& s) {
  using namespace unit_class;
  using question_conditions::isAir;
  // Terrain only limits initiative at close range between ground units, and
  // only when some initiative above 1 is at stake.
  const auto involves = [&s](std::int64_t unitClass) {
    return s.attackerClass == unitClass || s.defenderClass == unitClass;
  };
  return !(isYes(s.attackerInRiver) || isYes(s.defenderInRiver) ||
           question_conditions::supportAttacker(s) || s.combatRange > 1 ||
           involves(kNaval) ||
           (s.attackerInitiative <= 1 && s.defenderInitiative <= 1) ||
           involves(kFighter) || involves(kBomber));
}

std::size_t supportUnitsFiring(const CombatScenario& s) {
  if (supportFamilyOf(s) == SupportFamily::none) return 0;
  return runSupportFire(s, applyCombatValueModifiers(s)).units.size();
}

bool asksAirplaneAirDefense(const CombatScenario& s) {
  if (supportFamilyOf(s) != SupportFamily::airDefense) return false;
  const std::size_t firing = supportUnitsFiring(s);
  for (std::size_t i = 0; i < firing; ++i) {
    if (isYes(s.airDefense[i].isFighter)) return true;
  }
  return false;
}

std::string_view questionOf(Field field, const CombatScenario& s) {
  if (field == Field::attackerInfantryLeader &&
      s.attackerClassEntered == unit_class::kHalfTrackOrGroundTransport) {
    return kHalfTrackLeaderPrompt;
  }
  return fieldInfo(field).prompt;
}
