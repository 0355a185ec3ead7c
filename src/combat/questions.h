// Which questions a combat asks: the condition of every question of the
// dialogue, from the answers given before it.  The dialogue asks by these
// conditions, and a scenario file is read by them.
#ifndef ZELVORN_COMBAT_QUESTIONS_H_
#define ZELVORN_COMBAT_QUESTIONS_H_

#include <cstddef>
#include <string_view>

#include "combat/modifiers.h"
#include "combat/support_fire.h"
#include "scenario/combat_scenario.h"
#include "scenario/scenario_fields.h"

// Whether the terrain questions are asked at all.
bool asksTerrain(const CombatScenario& scenario);

// How many of the combat's supporting units fire: the dialogue asks for no
// unit after one whose fire reaches the attacker's entered strength.
std::size_t supportUnitsFiring(const CombatScenario& scenario);

// Whether the airplane's air defense is asked: when a fighter is among the
// supporting units that fire.
bool asksAirplaneAirDefense(const CombatScenario& scenario);

// The question the dialogue prints for `field` in this combat: the
// catalogue's, but for a half-track's infantry leader, asked in words of its
// own.  Only the class as entered counts, so that it holds before the
// classes are settled.
std::string_view questionOf(Field field, const CombatScenario& scenario);

namespace question_conditions {

using namespace unit_class;

inline bool isAir(std::int64_t unitClass) {
  return unitClass == kFighter || unitClass == kBomber;
}

// Artillery and air-defense attackers fire from afar: the defender's attack
// and initiative do not matter against them.
inline bool supportAttacker(const CombatScenario& s) {
  return s.attackerClass == kArtillery || s.attackerClass == kAirDefense;
}

inline bool asksAttackerMove(const CombatScenario& s) {
  return s.attackerClass != kFort && !supportAttacker(s) &&
         s.attackerClass != kNaval && !s.airToSurfaceAttack;
}

inline bool attackerIsGroundUnit(const CombatScenario& s) {
  return !supportAttacker(s) && !isAir(s.attackerClass) &&
         s.attackerClass != kNaval;
}

// Artillery, bombers and ships bombarding land do not soften the defender.
inline bool attackerSoftens(const CombatScenario& s) {
  return s.attackerClass != kArtillery && s.attackerClass != kBomber &&
         !s.navalVsNonNaval;
}

inline bool asksTerrainClear(const CombatScenario& s) {
  return asksTerrain(s) && (isNo(s.attackerInCityForestMountain) ||
                            isNo(defenderCloseTerrain(s)));
}

inline bool asksTerrainForest(const CombatScenario& s) {
  return asksTerrain(s) &&
         (!asksTerrainClear(s) ||
          (isNo(s.terrainClearOrSandy) && isNo(s.terrainRoughBocageOrHills)));
}

}  // namespace question_conditions

// True when the dialogue asks for `field` in this combat.  Only the answers
// before the field in the dialogue's order count, and the unit classes must
// be settled.  Inline, so that a question's condition comes down to its own
// few tests where the field is known.
[[gnu::always_inline]] inline bool asks(Field field, const CombatScenario& s) {
  using namespace question_conditions;
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
      return asksTerrainForest(s);
    case Field::terrainCitiesOrMountains:
      return asksTerrainForest(s) && isNo(s.terrainForest);

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
    case Field::airplaneAirDefense:
      return asksAirplaneAirDefense(s);
  }
  return false;
}

#endif  // ZELVORN_COMBAT_QUESTIONS_H_
