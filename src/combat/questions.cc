#include "combat/questions.h"

#include "combat/modifiers.h"
#include "combat/support_fire.h"

namespace {

using namespace unit_class;

bool isAir(std::int64_t unitClass) {
  return unitClass == kFighter || unitClass == kBomber;
}

// Artillery and air-defense attackers fire from afar: the defender's attack
// and initiative do not matter against them.
bool supportAttacker(const CombatScenario& s) {
  return s.attackerClass == kArtillery || s.attackerClass == kAirDefense;
}

bool asksAttackerMove(const CombatScenario& s) {
  return s.attackerClass != kFort && !supportAttacker(s) &&
         s.attackerClass != kNaval && !s.airToSurfaceAttack;
}

bool attackerIsGroundUnit(const CombatScenario& s) {
  return !supportAttacker(s) && !isAir(s.attackerClass) &&
         s.attackerClass != kNaval;
}

// Artillery, bombers and ships bombarding land do not soften the defender.
bool attackerSoftens(const CombatScenario& s) {
  return s.attackerClass != kArtillery && s.attackerClass != kBomber &&
         !s.navalVsNonNaval;
}

bool asksTerrainClear(const CombatScenario& s) {
  return asksTerrain(s) && (isNo(s.attackerInCityForestMountain) ||
                            isNo(defenderCloseTerrain(s)));
}

}  // namespace

bool asksTerrain(const CombatScenario& s) {
  // Terrain only limits initiative at close range between ground units, and
  // only when some initiative above 1 is at stake.
  const auto involves = [&s](std::int64_t unitClass) {
    return s.attackerClass == unitClass || s.defenderClass == unitClass;
  };
  return !(isYes(s.attackerInRiver) || isYes(s.defenderInRiver) ||
           supportAttacker(s) || s.combatRange > 1 || involves(kNaval) ||
           (s.attackerInitiative <= 1 && s.defenderInitiative <= 1) ||
           involves(kFighter) || involves(kBomber));
}

std::size_t supportUnitsFiring(const CombatScenario& s) {
  if (supportFamilyOf(s) == SupportFamily::none) return 0;
  return runSupportFire(s, applyCombatValueModifiers(s)).units.size();
}

bool asks(Field field, const CombatScenario& s) {
  const std::int64_t a = s.attackerClass;
  const std::int64_t d = s.defenderClass;
  const bool assault = isYes(s.isAssault);
  switch (field) {
    // General factors.
    case Field::attackerClass:
      return true;
    case Field::defenderIsInfantry:
      return s.attackerClassEntered == kArtillery;
    case Field::defenderClass:
      return s.attackerClassEntered != kArtillery;
    case Field::isAssault:
      return a == kInfantry && !isAir(d) && d != kNaval;
    case Field::attackerInfantryLeader:
      // Asked of a half-track's infantry, or of attacking infantry outside
      // an assault.
      return s.attackerClassEntered == kHalfTrackOrGroundTransport ||
             (a == kInfantry && !assault);
    case Field::defenderInfantryLeader:
      return d == kInfantry && !assault;
    case Field::weatherSnowOrRain:
      return !isAir(a) && !isAir(d);
    case Field::weatherOvercast:
      return isAir(a) || (a == kAirDefense && isAir(d));

    // Attacker attributes.
    case Field::attackerAttackValue:
    case Field::attackerExperience:
    case Field::attackerStrength:
    case Field::attackerCombatSupport:
      return true;
    case Field::attackerInitiative:
    case Field::attackerFiringRange:
      return !supportAttacker(s) && !s.airToSurfaceAttack;
    case Field::attackerDefenseValue:
      return !supportAttacker(s);
    case Field::attackerRangedDefense:
      return !assault && !supportAttacker(s) && !isAir(a);
    case Field::attackerEntrenchment:
      return attackerIsGroundUnit(s);
    case Field::attackerInCityForestMountain:
      return a == kInfantry && s.attackerEntrenchment > 0;
    case Field::attackerInRiver:
      return !isYes(s.attackerInCityForestMountain) && attackerIsGroundUnit(s);
    case Field::attackerCanMoveAfter:
      return asksAttackerMove(s);
    case Field::attackerOutOfFuel:
      // Fuel and the anti-tank leader only matter for a unit that stays put.
      return asksAttackerMove(s) && !isYes(s.attackerCanMoveAfter) && !isAir(a);
    case Field::antiTankHasLeader:
      return asksAttackerMove(s) && a == kAntiTank &&
             !isYes(s.attackerCanMoveAfter) && !isYes(s.attackerOutOfFuel);
    case Field::attackerLeaderChoice:
      // Only a plain no keeps the menu away: a question that was not asked,
      // an empty answer or any other character let it be shown.
      return !(isNo(s.antiTankHasLeader) || a == kNaval || a == kFort ||
               isNo(s.attackerInfantryLeader));

    // Defender attributes and the range of the combat.
    case Field::defenderAttackValue:
      return !supportAttacker(s);
    case Field::defenderInitiative:
    case Field::defenderFiringRange:
      return !supportAttacker(s) && !s.airToSurfaceAttack;
    case Field::defenderDefenseValue:
    case Field::defenderExperience:
    case Field::defenderStrength:
    case Field::defenderCombatSupport:
      return true;
    case Field::defenderRangedDefense:
      return !assault && !s.airToSurfaceAttack && !supportAttacker(s) &&
             !isAir(d);
    case Field::defenderEntrenchment:
      return !isAir(d) && d != kNaval;
    case Field::defenderInCityForestMountain:
      return d == kInfantry && s.defenderEntrenchment > 0 && a != kInfantry;
    case Field::defenderInCity:
      return assault && isYes(s.attackerCanMoveAfter) && d == kInfantry;
    case Field::defenderInRiver:
      return !isYes(defenderCloseTerrain(s)) && !isAir(d) && d != kNaval &&
             !assault;
    case Field::defenderOutOfAmmo:
      return !supportAttacker(s) && s.defenderAttackValue > 0;
    case Field::defenderOutOfFuel:
      return !supportAttacker(s) && d != kFort && !isAir(d) &&
             s.defenderAttackValue > 0;
    case Field::shipAlreadyAttackedByShip:
      return attackerSoftens(s) && a == kNaval && d == kNaval;
    case Field::timesAttacked:
      return attackerSoftens(s) && !(a == kNaval && d == kNaval);
    case Field::defenderLeaderChoice:
      return d != kFort && d != kNaval && !isNo(s.defenderInfantryLeader);
    case Field::combatRange:
      return s.attackerFiringRange > 1;

    // The terrain chain: the first yes ends it, and so does an answer that
    // is neither yes nor no.
    case Field::terrainClearOrSandy:
      return asksTerrainClear(s);
    case Field::terrainRoughBocageOrHills:
      return asksTerrainClear(s) && isNo(s.terrainClearOrSandy);
    case Field::terrainForest:
      return asksTerrain(s) &&
             (!asksTerrainClear(s) || (isNo(s.terrainClearOrSandy) &&
                                       isNo(s.terrainRoughBocageOrHills)));
    case Field::terrainCitiesOrMountains:
      return asks(Field::terrainForest, s) && isNo(s.terrainForest);

    case Field::attackerCloseDefense:
      return !assault && a == kInfantry && d == kInfantry &&
             s.defenderEntrenchment > 0 && ruggedChanceOf(s) > 0;

    // Support fire.
    case Field::artillery:
      return supportFamilyOf(s) == SupportFamily::artillery;
    case Field::attackerGroundDefense:
      return supportFamilyOf(s) == SupportFamily::artillery && assault &&
             !s.artillery.empty();
    case Field::airDefense:
      return supportFamilyOf(s) == SupportFamily::airDefense;
    case Field::airplaneAirDefense: {
      if (supportFamilyOf(s) != SupportFamily::airDefense) return false;
      const std::size_t firing = supportUnitsFiring(s);
      for (std::size_t i = 0; i < firing; ++i) {
        if (isYes(s.airDefense[i].isFighter)) return true;
      }
      return false;
    }
  }
  return false;
}
