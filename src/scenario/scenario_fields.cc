#include "scenario/scenario_fields.h"

#include <array>

namespace {

constexpr std::int64_t kMost = kLargestAnswer;

template <typename Record>
constexpr FieldInfo<Record> whole(const char* group, const char* name,
                                  std::int64_t Record::*member,
                                  std::int64_t minimum, std::int64_t maximum,
                                  const char* meaning) {
  return {group,  name,    FieldKind::whole, minimum,
          maximum, member, nullptr, nullptr, meaning};
}

template <typename Record>
constexpr FieldInfo<Record> yesNo(const char* group, const char* name,
                                  char Record::*member, const char* meaning) {
  return {group, name, FieldKind::yesNo, 0, 0, nullptr, member, nullptr, meaning};
}

template <typename Record>
constexpr FieldInfo<Record> bars(const char* group, const char* name,
                                 std::vector<std::int64_t> Record::*member,
                                 const char* meaning) {
  return {group,   name,    FieldKind::bars, 0, kMost,
          nullptr, nullptr, member,          meaning};
}

constexpr ScenarioField units(const char* name, const char* meaning) {
  return {"", name, FieldKind::units, 0, 0, nullptr, nullptr, nullptr, meaning};
}

using S = CombatScenario;
constexpr const char* kGeneral = "general";
constexpr const char* kAttacker = "attacker";
constexpr const char* kDefender = "defender";
constexpr const char* kTerrain = "terrain";
constexpr const char* kTop = "";

const std::array<ScenarioField, static_cast<std::size_t>(Field::timesAttacked) + 1>
    kScenarioFields = {{
        whole(kGeneral, "attackerClass", &S::attackerClassEntered, 1,
              unit_class::kLastAttackerClass,
              "class of the attacking unit: 1 infantry, 2 tank, 3 recon, "
              "4 anti-tank, 5 fort, 6 artillery, 7 air-defense, 8 fighter, "
              "9 bomber, 10 naval units, 11 half-track (fights as a tank)"),
        yesNo(kGeneral, "defenderIsInfantry", &S::defenderIsInfantry,
              "the target of an artillery attacker is infantry (otherwise it "
              "counts as a tank)"),
        whole(kGeneral, "defenderClass", &S::defenderClassEntered, 1,
              unit_class::kLastDefenderClass,
              "class of the defending unit: 1 to 10 as for the attacker, "
              "11 ground transport (fights as a tank), 12 air transport "
              "(fights as a bomber)"),
        yesNo(kGeneral, "isAssault", &S::isAssault,
              "the infantry attack is an assault"),
        yesNo(kGeneral, "attackerInfantryLeader", &S::attackerInfantryLeader,
              "the attacking infantry (or the infantry in a half-track) has a "
              "leader"),
        yesNo(kGeneral, "defenderInfantryLeader", &S::defenderInfantryLeader,
              "the defending infantry has a leader"),
        yesNo(kGeneral, "snowOrRain", &S::weatherSnowOrRain,
              "the weather is snow or rain"),
        yesNo(kGeneral, "overcast", &S::weatherOvercast,
              "the weather is overcast"),

        whole(kAttacker, "attackValue", &S::attackerAttackValue, 1, kMost,
              "applicable attack value"),
        whole(kAttacker, "initiative", &S::attackerInitiative, 0, kMost,
              "initiative"),
        whole(kAttacker, "defenseValue", &S::attackerDefenseValue, 0, kMost,
              "applicable defense value"),
        whole(kAttacker, "rangedDefense", &S::attackerRangedDefense, 0, kMost,
              "ranged defense"),
        whole(kAttacker, "experience", &S::attackerExperience, 0, kMost,
              "experience bars of the unit itself"),
        whole(kAttacker, "firingRange", &S::attackerFiringRange, 0, kMost,
              "firing range"),
        whole(kAttacker, "strength", &S::attackerStrength, 1, kMost,
              "strength"),
        whole(kAttacker, "entrenchment", &S::attackerEntrenchment, 0, kMost,
              "entrenchment"),
        yesNo(kAttacker, "inCityForestMountain",
              &S::attackerInCityForestMountain,
              "the entrenched infantry is in a city, forest or mountain"),
        yesNo(kAttacker, "inRiver", &S::attackerInRiver, "the unit is in a river"),
        yesNo(kAttacker, "canMoveAfter", &S::attackerCanMoveAfter,
              "the unit can move after the combat"),
        yesNo(kAttacker, "outOfFuel", &S::attackerOutOfFuel,
              "the unit is out of fuel"),
        yesNo(kAttacker, "antiTankHasLeader", &S::antiTankHasLeader,
              "the anti-tank unit has a leader"),
        bars(kAttacker, "combatSupport", &S::attackerCombatSupport,
             "experience bars of each adjacent Combat Support unit"),
        whole(kAttacker, "leaderChoice", &S::attackerLeaderChoice, 1,
              leader::kAttackerNone,
              "leader ability: 1 Aggressive Attack, 2 Overwhelming Attack, "
              "3 First Strike, 4 Resilience, 5 Determined Defense, "
              "6 Skilled Ground Attack, 7 none"),

        whole(kDefender, "attackValue", &S::defenderAttackValue, 0, kMost,
              "applicable attack value"),
        whole(kDefender, "initiative", &S::defenderInitiative, 0, kMost,
              "initiative"),
        whole(kDefender, "defenseValue", &S::defenderDefenseValue, 0, kMost,
              "applicable defense value"),
        whole(kDefender, "rangedDefense", &S::defenderRangedDefense, 0, kMost,
              "ranged defense"),
        whole(kDefender, "experience", &S::defenderExperience, 0, kMost,
              "experience bars of the unit itself"),
        whole(kDefender, "firingRange", &S::defenderFiringRange, 0, kMost,
              "firing range"),
        whole(kDefender, "strength", &S::defenderStrength, 1, kMost,
              "applicable strength"),
        whole(kDefender, "entrenchment", &S::defenderEntrenchment, 0, kMost,
              "entrenchment"),
        yesNo(kDefender, "inCityForestMountain",
              &S::defenderInCityForestMountain,
              "the entrenched infantry is in a city, forest or mountain"),
        yesNo(kDefender, "inCity", &S::defenderInCity,
              "the assaulted infantry is in a city"),
        yesNo(kDefender, "inRiver", &S::defenderInRiver, "the unit is in a river"),
        yesNo(kDefender, "outOfAmmo", &S::defenderOutOfAmmo,
              "the unit is out of ammunition"),
        yesNo(kDefender, "outOfFuel", &S::defenderOutOfFuel,
              "the unit is out of fuel"),
        yesNo(kDefender, "shipAlreadyAttackedByShip",
              &S::shipAlreadyAttackedByShip,
              "the defending ship has already been attacked by another ship"),
        bars(kDefender, "combatSupport", &S::defenderCombatSupport,
             "experience bars of each adjacent Combat Support unit"),
        whole(kDefender, "leaderChoice", &S::defenderLeaderChoice, 1,
              leader::kDefenderNone,
              "leader ability: 1 Aggressive Attack, 2 Overwhelming Attack, "
              "3 First Strike, 4 Resilience, 5 Determined Defense, 6 none"),
        whole(kTop, "combatRange", &S::combatRange, 1, kMost,
              "range of the combat"),

        yesNo(kTerrain, "clearOrSandy", &S::terrainClearOrSandy,
              "at least one of the units is in clear or sandy terrain"),
        yesNo(kTerrain, "roughBocageOrHills", &S::terrainRoughBocageOrHills,
              "at least one of the units is in rough, bocage or hills"),
        yesNo(kTerrain, "forest", &S::terrainForest,
              "at least one of the units is in a forest"),
        yesNo(kTerrain, "citiesOrMountains", &S::terrainCitiesOrMountains,
              "both units are in cities and/or mountains"),

        whole(kTop, "attackerCloseDefense", &S::attackerCloseDefense, 0, kMost,
              "close defense of the attacking unit"),
        units("artillery", "the defensive artillery pieces, in order"),
        whole(kTop, "attackerGroundDefense", &S::attackerGroundDefense, 0, kMost,
              "ground defense of the attacking unit"),
        units("airDefense",
              "the air-defense units and fighters firing at the airplane, in "
              "order"),
        whole(kTop, "airplaneAirDefense", &S::airplaneAirDefense, 0, kMost,
              "air defense value of the attacking airplane"),
        whole(kTop, "timesAttacked", &S::timesAttacked, 0, kMost,
              "number of times the defending unit has already been attacked "
              "(its softening)"),
    }};

using A = ArtilleryPiece;
constexpr const char* kArtillery = "artillery";
const std::array<ArtilleryField, 6> kArtilleryFields = {{
    whole(kArtillery, "attackValue", &A::attackValue, 0, kMost,
          "applicable attack value"),
    whole(kArtillery, "experience", &A::experience, 0, kMost,
          "experience bars of the piece itself"),
    whole(kArtillery, "strength", &A::strength, 1, kMost, "applicable strength"),
    yesNo(kArtillery, "adjacent", &A::adjacent,
          "the piece is adjacent to the defending unit (otherwise it fires at "
          "half strength)"),
    bars(kArtillery, "combatSupport", &A::combatSupport,
         "experience bars of each adjacent Combat Support unit"),
    whole(kArtillery, "leaderChoice", &A::leaderChoice, 1, leader::kSupportNone,
          "1 Aggressive Attack, 2 Overwhelming Attack, 3 none"),
}};

using U = AirDefenseUnit;
constexpr const char* kAirDefense = "airDefense";
const std::array<AirDefenseField, 6> kAirDefenseFields = {{
    yesNo(kAirDefense, "isFighter", &U::isFighter,
          "the supporting unit is a fighter"),
    whole(kAirDefense, "attackValue", &U::attackValue, 0, kMost,
          "applicable attack value"),
    whole(kAirDefense, "experience", &U::experience, 0, kMost,
          "experience bars of the unit itself"),
    whole(kAirDefense, "strength", &U::strength, 1, kMost,
          "applicable strength (halved when overcast)"),
    bars(kAirDefense, "combatSupport", &U::combatSupport,
         "experience bars of each adjacent Combat Support unit"),
    whole(kAirDefense, "leaderChoice", &U::leaderChoice, 1, leader::kSupportNone,
          "1 Aggressive Attack, 2 Overwhelming Attack, 3 none"),
}};

}  // namespace

std::span<const ScenarioField> scenarioFields() { return kScenarioFields; }

const ScenarioField& fieldInfo(Field field) {
  return kScenarioFields[static_cast<std::size_t>(field)];
}

std::span<const ArtilleryField> artilleryFields() { return kArtilleryFields; }

std::span<const AirDefenseField> airDefenseFields() { return kAirDefenseFields; }

void resetAnswer(CombatScenario* s, Field field) {
  static const CombatScenario kNotAsked;
  const ScenarioField& info = fieldInfo(field);
  if (info.whole != nullptr) s->*info.whole = kNotAsked.*info.whole;
  if (info.yesNo != nullptr) s->*info.yesNo = kNotAsked.*info.yesNo;
  if (info.bars != nullptr) (s->*info.bars).clear();
  if (field == Field::artillery) s->artillery.clear();
  if (field == Field::airDefense) s->airDefense.clear();
}
