#include "scenario/scenario_fields.h"

#include <array>
#include <string>

namespace {

constexpr std::int64_t kMost = kLargestAnswer;

template <typename Record>
constexpr FieldInfo<Record> whole(const char* group, const char* name,
                                  std::int64_t Record::*member,
                                  std::int64_t minimum, std::int64_t maximum,
                                  const char* meaning, std::string_view prompt,
                                  std::string_view errorText,
                                  std::span<const std::string_view> options = {}) {
  return {group,   name,    FieldKind::whole, minimum, maximum, member,
          nullptr, nullptr, meaning,          prompt,  errorText, options};
}

template <typename Record>
constexpr FieldInfo<Record> yesNo(const char* group, const char* name,
                                  char Record::*member, const char* meaning,
                                  std::string_view prompt) {
  return {group,  name,    FieldKind::yesNo, 0,      0,  nullptr,
          member, nullptr, meaning,          prompt, {}, {}};
}

template <typename Record>
constexpr FieldInfo<Record> bars(const char* group, const char* name,
                                 std::vector<std::int64_t> Record::*member,
                                 const char* meaning) {
  return {group,   name,   FieldKind::bars,       0,          kMost, nullptr,
          nullptr, member, meaning, kCombatSupportFirst, kExperienceError, {}};
}

constexpr ScenarioField units(const char* name, const char* meaning,
                              std::string_view prompt) {
  return {"",      name,    FieldKind::units, 0,      0,  nullptr,
          nullptr, nullptr, meaning,          prompt, {}, {}};
}

// Error texts that several questions share.
constexpr std::string_view kAttackValueZeroError =
    "\nThe attack value must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr std::string_view kDefenseValueZeroError =
    "\nThe defense value must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr std::string_view kRangedDefenseError =
    "\nThe ranged defense must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr std::string_view kEntrenchmentError =
    "\nThe entrenchment must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr std::string_view kStrengthError =
    "\nThe strength must be a number, and it must be greater than zero.  "
    "Please\nreenter:\n>> ";
constexpr std::string_view kSupportChoicePrompt =
    "\nPlease enter a choice for the support unit: ";
constexpr std::string_view kSupportChoiceError =
    "\nThis choice must be a number between one and three.  Please "
    "reenter:\n>> ";

// The entries of the menus.
constexpr std::string_view kAttackerClasses[] = {
    "infantry", "tank",     "recon",  "anti-tank",   "fort",      "artillery",
    "air-defense", "fighter", "bomber", "naval units", "half-track"};
constexpr std::string_view kDefenderClasses[] = {
    "infantry",    "tank",    "recon",  "anti-tank",   "fort",
    "artillery",   "air-defense", "fighter", "bomber", "naval units",
    "ground transport", "air transport"};
constexpr std::string_view kAttackerLeaders[] = {
    "Aggressive Attack",  "Overwhelming Attack",   "First Strike",
    "Resilience",         "Determined Defense",    "Skilled Ground Attack",
    "None of the above"};
constexpr std::string_view kDefenderLeaders[] = {
    "Aggressive Attack", "Overwhelming Attack", "First Strike",
    "Resilience",        "Determined Defense",  "None of the above"};
constexpr std::string_view kSupportLeaders[] = {
    "Aggressive Attack", "Overwhelming Attack", "None of the above"};

using S = CombatScenario;
constexpr const char* kGeneral = "general";
constexpr const char* kAttacker = "attacker";
constexpr const char* kDefender = "defender";
constexpr const char* kTerrain = "terrain";
constexpr const char* kTop = "";

// A combat's field at its place in the catalogue.
constexpr ScenarioField at(Field field, ScenarioField info) {
  info.position = static_cast<std::size_t>(field);
  return info;
}

constexpr std::array<ScenarioField,
                     static_cast<std::size_t>(Field::timesAttacked) + 1>
    kCatalogue = {{
        at(Field::attackerClass,
           whole(kGeneral, "attackerClass", &S::attackerClassEntered, 1,
                 unit_class::kLastAttackerClass,
                 "class of the attacking unit: 1 infantry, 2 tank, 3 recon, "
                 "4 anti-tank, 5 fort, 6 artillery, 7 air-defense, 8 fighter, "
                 "9 bomber, 10 naval units, 11 half-track (fights as a tank)",
                 "\nPlease enter the class of the attacking unit:  ",
                 "\nThe class must be number between one and eleven.  Please "
                 "reenter:\n>> ",
                 kAttackerClasses)),
        at(Field::defenderIsInfantry,
           yesNo(kGeneral, "defenderIsInfantry", &S::defenderIsInfantry,
                 "the target of an artillery attacker is infantry (otherwise it "
                 "counts as a tank)",
                 "\nIs the defending unit infantry? (Y/N):\n>> ")),
        at(Field::defenderClass,
           whole(kGeneral, "defenderClass", &S::defenderClassEntered, 1,
                 unit_class::kLastDefenderClass,
                 "class of the defending unit: 1 to 10 as for the attacker, "
                 "11 ground transport (fights as a tank), 12 air transport "
                 "(fights as a bomber)",
                 "\nPlease enter the class of the defending unit:  ",
                 "\nThe class must be a number between one and twelve.  Please "
                 "reenter:\n>> ",
                 kDefenderClasses)),
        at(Field::isAssault,
           yesNo(kGeneral, "isAssault", &S::isAssault,
                 "the infantry attack is an assault",
                 "\nIs this combat an assault? (Y/N):\n>> ")),
        at(Field::attackerInfantryLeader,
           yesNo(kGeneral, "attackerInfantryLeader", &S::attackerInfantryLeader,
                 "the attacking infantry (or the infantry in a half-track) has a "
                 "leader",
                 "\nDoes the attacking infantry have a leader? (Y/N):\n>> ")),
        at(Field::defenderInfantryLeader,
           yesNo(kGeneral, "defenderInfantryLeader", &S::defenderInfantryLeader,
                 "the defending infantry has a leader",
                 "\nDoes the defending infantry have a leader? (Y/N):\n>> ")),
        at(Field::weatherSnowOrRain,
           yesNo(kGeneral, "snowOrRain", &S::weatherSnowOrRain,
                 "the weather is snow or rain",
                 "\nIs the weather snow or rain?  (Y/N):\n>> ")),
        at(Field::weatherOvercast,
           yesNo(kGeneral, "overcast", &S::weatherOvercast, "the weather is overcast",
                 "\nIs the weather overcast?  (Y/N):\n>> ")),

        at(Field::attackerAttackValue,
           whole(kAttacker, "attackValue", &S::attackerAttackValue, 1, kMost,
                 "applicable attack value",
                 "\nPlease enter the applicable attack value of the attacking "
                 "unit:\n>> ",
                 "\nThe attack value must be a number, and it must be greater "
                 "than zero.  Please\nreenter:\n>> ")),
        at(Field::attackerInitiative,
           whole(kAttacker, "initiative", &S::attackerInitiative, 0, kMost,
                 "initiative",
                 "\nPlease enter the initiative of the attacking unit:\n>> ",
                 "\nThe initiative value must be a number, and it must be zero or "
                 "greater.  Please\nreenter:\n>> ")),
        at(Field::attackerDefenseValue,
           whole(kAttacker, "defenseValue", &S::attackerDefenseValue, 0, kMost,
                 "applicable defense value",
                 "\nPlease enter the applicable defense value of the attacking "
                 "unit:\n>> ",
                 kDefenseValueZeroError)),
        at(Field::attackerRangedDefense,
           whole(kAttacker, "rangedDefense", &S::attackerRangedDefense, 0, kMost,
                 "ranged defense",
                 "\nPlease enter the ranged defense of the attacking unit:\n>> ",
                 kRangedDefenseError)),
        at(Field::attackerExperience,
           whole(kAttacker, "experience", &S::attackerExperience, 0, kMost,
                 "experience bars of the unit itself",
                 "\nPlease enter the experience bars of the attacking unit:\n>> ",
                 kExperienceError)),
        at(Field::attackerFiringRange,
           whole(kAttacker, "firingRange", &S::attackerFiringRange, 0, kMost,
                 "firing range",
                 "\nPlease enter the firing range of the attacking unit:\n>> ",
                 "\nThe firing range must be a number, and it must be zero or "
                 "greater.  Please\nreenter:\n>> ")),
        at(Field::attackerStrength,
           whole(kAttacker, "strength", &S::attackerStrength, 1, kMost, "strength",
                 "\nPlease enter the strength of the attacking unit:\n>> ",
                 kStrengthError)),
        at(Field::attackerEntrenchment,
           whole(kAttacker, "entrenchment", &S::attackerEntrenchment, 0, kMost,
                 "entrenchment",
                 "\nPlease enter the entrenchment of the attacking unit:\n>> ",
                 kEntrenchmentError)),
        at(Field::attackerInCityForestMountain,
           yesNo(kAttacker, "inCityForestMountain",
                 &S::attackerInCityForestMountain,
                 "the entrenched infantry is in a city, forest or mountain",
                 "\nIs the attacking unit in a city, forest, or mountain? "
                 "(Y/N):\n>> ")),
        at(Field::attackerInRiver,
           yesNo(kAttacker, "inRiver", &S::attackerInRiver, "the unit is in a river",
                 "\nIs the attacking unit in a river? (Y/N):\n>> ")),
        at(Field::attackerCanMoveAfter,
           yesNo(kAttacker, "canMoveAfter", &S::attackerCanMoveAfter,
                 "the unit can move after the combat",
                 "\nCan the attacking unit move after this combat?  (Y/N):\n>> ")),
        at(Field::attackerOutOfFuel,
           yesNo(kAttacker, "outOfFuel", &S::attackerOutOfFuel,
                 "the unit is out of fuel",
                 "\nIs the attacking unit out of fuel? (Y/N):\n>> ")),
        at(Field::antiTankHasLeader,
           yesNo(kAttacker, "antiTankHasLeader", &S::antiTankHasLeader,
                 "the anti-tank unit has a leader",
                 "\nDoes the anti-tank have a leader? (Y/N):\n>> ")),
        at(Field::attackerCombatSupport,
           bars(kAttacker, "combatSupport", &S::attackerCombatSupport,
                "experience bars of each adjacent Combat Support unit")),
        at(Field::attackerLeaderChoice,
           whole(kAttacker, "leaderChoice", &S::attackerLeaderChoice, 1,
                 leader::kAttackerNone,
                 "leader ability: 1 Aggressive Attack, 2 Overwhelming Attack, "
                 "3 First Strike, 4 Resilience, 5 Determined Defense, "
                 "6 Skilled Ground Attack, 7 none",
                 "\nPlease enter a leader choice for the attacking unit:  ",
                 "\nThis choice must be a number between one and seven.  Please "
                 "reenter:\n>> ",
                 kAttackerLeaders)),

        at(Field::defenderAttackValue,
           whole(kDefender, "attackValue", &S::defenderAttackValue, 0, kMost,
                 "applicable attack value",
                 "\nPlease enter the applicable attack value of the defending "
                 "unit:\n>> ",
                 kAttackValueZeroError)),
        at(Field::defenderInitiative,
           whole(kDefender, "initiative", &S::defenderInitiative, 0, kMost,
                 "initiative",
                 "\nPlease enter the initiative of the defending unit:\n>> ",
                 "\nThe initiative must be a number, and it must be zero or "
                 "greater.  Please\nreenter:\n>> ")),
        at(Field::defenderDefenseValue,
           whole(kDefender, "defenseValue", &S::defenderDefenseValue, 0, kMost,
                 "applicable defense value",
                 "\nPlease enter the applicable defense value of the defending "
                 "unit:\n>> ",
                 kDefenseValueZeroError)),
        at(Field::defenderRangedDefense,
           whole(kDefender, "rangedDefense", &S::defenderRangedDefense, 0, kMost,
                 "ranged defense",
                 "\nPlease enter the ranged defense of the defending unit:\n>> ",
                 kRangedDefenseError)),
        at(Field::defenderExperience,
           whole(kDefender, "experience", &S::defenderExperience, 0, kMost,
                 "experience bars of the unit itself",
                 "\nPlease enter the experience bars of the defending unit:\n>> ",
                 kExperienceError)),
        at(Field::defenderFiringRange,
           whole(kDefender, "firingRange", &S::defenderFiringRange, 0, kMost,
                 "firing range",
                 "\nPlease enter the firing range of the defending unit:\n>> ",
                 "\nThe firing range must be a number, and it must be zero or "
                 "greater.  Please reenter:\n>> ")),
        at(Field::defenderStrength,
           whole(kDefender, "strength", &S::defenderStrength, 1, kMost,
                 "applicable strength",
                 "\nPlease enter the applicable strength of the defending "
                 "unit:\n>> ",
                 kStrengthError)),
        at(Field::defenderEntrenchment,
           whole(kDefender, "entrenchment", &S::defenderEntrenchment, 0, kMost,
                 "entrenchment",
                 "\nPlease enter the entrenchment of the defending unit:\n>> ",
                 kEntrenchmentError)),
        at(Field::defenderInCityForestMountain,
           yesNo(kDefender, "inCityForestMountain",
                 &S::defenderInCityForestMountain,
                 "the entrenched infantry is in a city, forest or mountain",
                 "\nIs the defending unit in a city, forest, or mountain? "
                 "(Y/N):\n>> ")),
        at(Field::defenderInCity,
           yesNo(kDefender, "inCity", &S::defenderInCity,
                 "the assaulted infantry is in a city",
                 "\nIs the defender in a city? (Y/N):\n>> ")),
        at(Field::defenderInRiver,
           yesNo(kDefender, "inRiver", &S::defenderInRiver, "the unit is in a river",
                 "\nIs the defending unit in a river? (Y/N):\n>> ")),
        at(Field::defenderOutOfAmmo,
           yesNo(kDefender, "outOfAmmo", &S::defenderOutOfAmmo,
                 "the unit is out of ammunition",
                 "\nIs the defending unit out of ammunition? (Y/N):\n>> ")),
        at(Field::defenderOutOfFuel,
           yesNo(kDefender, "outOfFuel", &S::defenderOutOfFuel,
                 "the unit is out of fuel",
                 "\nIs the defending unit out of fuel? (Y/N):\n>> ")),
        at(Field::shipAlreadyAttackedByShip,
           yesNo(kDefender, "shipAlreadyAttackedByShip",
                 &S::shipAlreadyAttackedByShip,
                 "the defending ship has already been attacked by another ship",
                 "\nHas the defending ship already been attacked by another ship? "
                 "(Y/N):\n>> ")),
        at(Field::defenderCombatSupport,
           bars(kDefender, "combatSupport", &S::defenderCombatSupport,
                "experience bars of each adjacent Combat Support unit")),
        at(Field::defenderLeaderChoice,
           whole(kDefender, "leaderChoice", &S::defenderLeaderChoice, 1,
                 leader::kDefenderNone,
                 "leader ability: 1 Aggressive Attack, 2 Overwhelming Attack, "
                 "3 First Strike, 4 Resilience, 5 Determined Defense, 6 none",
                 "\nPlease enter a choice for the defending unit: ",
                 "\nThis choice must be a number between one and six.  Please "
                 "reenter:\n>> ",
                 kDefenderLeaders)),
        at(Field::combatRange,
           whole(kTop, "combatRange", &S::combatRange, 1, kMost,
                 "range of the combat",
                 "\nPlease enter the range of the combat:\n>> ",
                 "\nThe range of the combat must be a number greater than zero.  "
                 "Please reenter:\n>> ")),

        at(Field::terrainClearOrSandy,
           yesNo(kTerrain, "clearOrSandy", &S::terrainClearOrSandy,
                 "at least one of the units is in clear or sandy terrain",
                 "\nIs at least one of the units in clear or sandy terrain?  "
                 "(Y/N):\n>> ")),
        at(Field::terrainRoughBocageOrHills,
           yesNo(kTerrain, "roughBocageOrHills", &S::terrainRoughBocageOrHills,
                 "at least one of the units is in rough, bocage or hills",
                 "\nIs at least one of the units in rough, bocage, or hills?  "
                 "(Y/N):\n>> ")),
        at(Field::terrainForest,
           yesNo(kTerrain, "forest", &S::terrainForest,
                 "at least one of the units is in a forest",
                 "\nIs at least one of the units in a forest?  (Y/N):\n>> ")),
        at(Field::terrainCitiesOrMountains,
           yesNo(kTerrain, "citiesOrMountains", &S::terrainCitiesOrMountains,
                 "both units are in cities and/or mountains",
                 "\nAre both of the units in cities and/or mountains?  "
                 "(Y/N):\n>> ")),

        at(Field::attackerCloseDefense,
           whole(kTop, "attackerCloseDefense", &S::attackerCloseDefense, 0, kMost,
                 "close defense of the attacking unit",
                 "\nPlease enter the close defense of the attacking unit:\n>> ",
                 "\nThe close defense must be zero or greater.  Please "
                 "reenter:\n>> ")),
        at(Field::artillery,
           units("artillery", "the defensive artillery pieces, in order",
                 "\nIs there any defensive artillery support?  (Y/N):\n>> ")),
        at(Field::attackerGroundDefense,
           whole(kTop, "attackerGroundDefense", &S::attackerGroundDefense, 0, kMost,
                 "ground defense of the attacking unit",
                 "\nPlease enter the ground defense of the attacking unit:\n>> ",
                 "\nThe ground defense must be a number, and it must be zero or "
                 "greater.  Please\nreenter:\n>> ")),
        at(Field::airDefense,
           units("airDefense",
                 "the air-defense units and fighters firing at the airplane, in "
                 "order",
                 "\nIs there any air defense support within range?  (Y/N):\n>> ")),
        at(Field::airplaneAirDefense,
           whole(kTop, "airplaneAirDefense", &S::airplaneAirDefense, 0, kMost,
                 "air defense value of the attacking airplane",
                 "\nPlease enter the air defense value of the attacking "
                 "airplane:\n>> ",
                 "\nThe air defense value must be a number, and it must be zero "
                 "or greater.  Please\nreenter:\n>> ")),
        at(Field::timesAttacked,
           whole(kTop, "timesAttacked", &S::timesAttacked, 0, kMost,
                 "number of times the defending unit has already been attacked "
                 "(its softening)",
                 "\nPlease enter the number of times the defending unit has "
                 "already been attacked:\n>> ",
                 "\nThe number of times attacked must be zero or greater.  Please "
                 "reenter:\n>> ")),
    }};

// The catalogue is indexed by Field: an entry out of its place would give
// one question another's answer.
constexpr bool inFieldOrder() {
  for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
    if (kCatalogue[i].position != i) return false;
  }
  return true;
}
static_assert(inFieldOrder(), "the catalogue must list the fields in the order of Field");

}  // namespace

const std::array<ScenarioField, static_cast<std::size_t>(Field::timesAttacked) + 1>
    kScenarioFields = kCatalogue;

namespace {

using A = ArtilleryPiece;
constexpr const char* kArtillery = "artillery";
const std::array<ArtilleryField, 6> kArtilleryFields = {{
    whole(kArtillery, "attackValue", &A::attackValue, 0, kMost,
          "applicable attack value",
          "\nPlease enter the applicable attack value of the artillery "
          "piece:\n>> ",
          kAttackValueZeroError),
    whole(kArtillery, "experience", &A::experience, 0, kMost,
          "experience bars of the piece itself",
          "\nPlease enter the experience bars of the artillery piece:\n>> ",
          kExperienceError),
    whole(kArtillery, "strength", &A::strength, 1, kMost, "applicable strength",
          "\nPlease enter the applicable strength of the artillery piece:\n>> ",
          kStrengthError),
    yesNo(kArtillery, "adjacent", &A::adjacent,
          "the piece is adjacent to the defending unit (otherwise it fires at "
          "half strength)",
          "\nIs this piece adjacent to the defending unit? (Y/N):\n>> "),
    bars(kArtillery, "combatSupport", &A::combatSupport,
         "experience bars of each adjacent Combat Support unit"),
    whole(kArtillery, "leaderChoice", &A::leaderChoice, 1, leader::kSupportNone,
          "1 Aggressive Attack, 2 Overwhelming Attack, 3 none",
          kSupportChoicePrompt, kSupportChoiceError, kSupportLeaders),
}};

using U = AirDefenseUnit;
constexpr const char* kAirDefense = "airDefense";
const std::array<AirDefenseField, 6> kAirDefenseFields = {{
    yesNo(kAirDefense, "isFighter", &U::isFighter,
          "the supporting unit is a fighter",
          "\nIs the support unit a fighter? (Y/N):\n>> "),
    whole(kAirDefense, "attackValue", &U::attackValue, 0, kMost,
          "applicable attack value",
          "\nPlease enter the applicable attack value of the supporting "
          "unit:\n>> ",
          kAttackValueZeroError),
    whole(kAirDefense, "experience", &U::experience, 0, kMost,
          "experience bars of the unit itself",
          "\nPlease enter the experience bars of the supporting unit:\n>> ",
          kExperienceError),
    whole(kAirDefense, "strength", &U::strength, 1, kMost,
          "applicable strength (halved when overcast)",
          "\nPlease enter the applicable strength of the supporting unit:\n>> ",
          kStrengthError),
    bars(kAirDefense, "combatSupport", &U::combatSupport,
         "experience bars of each adjacent Combat Support unit"),
    whole(kAirDefense, "leaderChoice", &U::leaderChoice, 1, leader::kSupportNone,
          "1 Aggressive Attack, 2 Overwhelming Attack, 3 none",
          kSupportChoicePrompt, kSupportChoiceError, kSupportLeaders),
}};

}  // namespace

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

namespace {

char lowerCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether two words are the same, the case of ASCII letters aside; without
// copies, as every menu word of every scenario is looked up.
bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerCase(a[i]) != lowerCase(b[i])) return false;
  }
  return true;
}

}  // namespace

std::int64_t menuEntry(std::span<const std::string_view> options,
                       std::string_view word) {
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (sameWord(options[i], word)) return static_cast<std::int64_t>(i) + 1;
  }
  return 0;
}
