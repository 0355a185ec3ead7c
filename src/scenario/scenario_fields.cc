#include "scenario/scenario_fields.h"

#include <array>
#include <string>

namespace {

constexpr std::int64_t kMost = kLargestAnswer;

template <typename Record>
constexpr FieldInfo<Record> whole(const char* group, const char* name,
                                  const char* label, std::int64_t Record::*member,
                                  std::int64_t minimum, std::int64_t maximum,
                                  const char* meaning, const char* asked,
                                  std::string_view prompt,
                                  std::string_view errorText,
                                  std::span<const MenuEntry> options = {}) {
  return {group,   name,    label,   FieldKind::whole, minimum, maximum,   member,
          nullptr, nullptr, meaning, asked,            prompt,  errorText, options};
}

template <typename Record>
constexpr FieldInfo<Record> yesNo(const char* group, const char* name,
                                  const char* label, char Record::*member,
                                  const char* meaning, const char* asked,
                                  std::string_view prompt) {
  return {group,  name,    label,   FieldKind::yesNo, 0,      0,  nullptr,
          member, nullptr, meaning, asked,            prompt, {}, {}};
}

template <typename Record>
constexpr FieldInfo<Record> bars(const char* group, const char* name,
                                 const char* label,
                                 std::vector<std::int64_t> Record::*member,
                                 const char* meaning) {
  return {group,   name,    label,  FieldKind::bars, 0,  kMost,
          nullptr, nullptr, member, meaning,         "", kCombatSupportFirst,
          kExperienceError, {}};
}

constexpr ScenarioField units(const char* name, const char* label,
                              const char* meaning, const char* asked,
                              std::string_view prompt) {
  return {"",      name,    label,   FieldKind::units, 0,      0,  nullptr,
          nullptr, nullptr, meaning, asked,            prompt, {}, {}};
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
constexpr const char* kCombatSupportMeaning =
    "experience bars of each adjacent Combat Support unit";
constexpr std::string_view kSupportChoicePrompt =
    "\nPlease enter a choice for the support unit: ";
constexpr std::string_view kSupportChoiceError =
    "\nThis choice must be a number between one and three.  Please "
    "reenter:\n>> ";

// A menu of `first`'s entries and then `rest`'s.
template <std::size_t A, std::size_t B>
constexpr std::array<MenuEntry, A + B> joined(const std::array<MenuEntry, A>& first,
                                              const std::array<MenuEntry, B>& rest) {
  std::array<MenuEntry, A + B> menu{};
  for (std::size_t i = 0; i < A; ++i) menu[i] = first[i];
  for (std::size_t i = 0; i < B; ++i) menu[A + i] = rest[i];
  return menu;
}

// The entries of the menus.  The page shows an entry by its label, in a
// player's words: a capital first, one unit rather than a class of them,
// "None" for the menu's last resort.  The classes and leaders that both
// sides have come first, numbered alike.
constexpr std::array<MenuEntry, 10> kBothSidesClasses = {{
    {"infantry", "Infantry"},       {"tank", "Tank"},
    {"recon", "Recon"},             {"anti-tank", "Anti-tank"},
    {"fort", "Fort"},               {"artillery", "Artillery"},
    {"air-defense", "Air defense"}, {"fighter", "Fighter"},
    {"bomber", "Bomber"},           {"naval units", "Naval unit"}}};
constexpr auto kAttackerClasses =
    joined(kBothSidesClasses, std::array<MenuEntry, 1>{{{"half-track", "Half-track"}}});
constexpr auto kDefenderClasses =
    joined(kBothSidesClasses, std::array<MenuEntry, 2>{{{"ground transport", "Ground transport"},
                                                        {"air transport", "Air transport"}}});
constexpr MenuEntry kNoLeader = {"None of the above", "None"};
constexpr std::array<MenuEntry, 5> kBothSidesLeaders = {{
    {"Aggressive Attack", "Aggressive Attack"},
    {"Overwhelming Attack", "Overwhelming Attack"},
    {"First Strike", "First Strike"},
    {"Resilience", "Resilience"},
    {"Determined Defense", "Determined Defense"}}};
constexpr auto kAttackerLeaders = joined(
    kBothSidesLeaders,
    std::array<MenuEntry, 2>{{{"Skilled Ground Attack", "Skilled Ground Attack"}, kNoLeader}});
constexpr auto kDefenderLeaders = joined(kBothSidesLeaders, std::array<MenuEntry, 1>{{kNoLeader}});
constexpr std::array<MenuEntry, 3> kSupportLeaders = {
    {kBothSidesLeaders[0], kBothSidesLeaders[1], kNoLeader}};
// A menu holds one entry for each number that its question accepts.
static_assert(kAttackerClasses.size() == unit_class::kLastAttackerClass &&
              kDefenderClasses.size() == unit_class::kLastDefenderClass &&
              kAttackerLeaders.size() == leader::kAttackerNone &&
              kDefenderLeaders.size() == leader::kDefenderNone &&
              kSupportLeaders.size() == leader::kSupportNone);

using S = CombatScenario;
constexpr const char* kGeneral = "general";
constexpr const char* kTerrain = "terrain";
constexpr const char* kTop = "";
constexpr const char* kAlways = "";

constexpr std::size_t kFieldCount = static_cast<std::size_t>(Field::timesAttacked) + 1;
using Catalogue = std::array<ScenarioField, kFieldCount>;

// What a question of one side accepts and what it means, where that
// differs between the sides (the menus; an attacker's attack value).
struct SideTerms {
  std::int64_t minimum;
  std::int64_t maximum;
  std::span<const MenuEntry> options;
  const char* meaning;
};

// One side's question of a unit's own field: the combat's field it
// answers, the record's member, when it is asked, and the dialogue's
// question and error text.  A class or an infantry leader stands among the
// general factors under a name of its own; the rest stand in the side's
// object under the unit's name.
struct SideQuestion {
  std::optional<Field> field;
  const char* generalName = nullptr;
  std::int64_t S::*whole = nullptr;
  char S::*yesNo = nullptr;
  std::vector<std::int64_t> S::*bars = nullptr;
  const char* asked = kAlways;
  std::string_view prompt;
  std::string_view errorText;
  const SideTerms* own = nullptr;  // nullptr: the unit's terms
};

constexpr SideQuestion ask(Field field, std::int64_t S::*member, const char* asked,
                           std::string_view prompt, std::string_view errorText,
                           const SideTerms* own = nullptr) {
  return {field, nullptr, member, nullptr, nullptr, asked, prompt, errorText, own};
}
constexpr SideQuestion ask(Field field, char S::*member, const char* asked,
                           std::string_view prompt) {
  return {field, nullptr, nullptr, member, nullptr, asked, prompt, {}, nullptr};
}
constexpr SideQuestion ask(Field field, std::vector<std::int64_t> S::*member) {
  return {field,   nullptr, nullptr, nullptr, member, kAlways, kCombatSupportFirst,
          kExperienceError, nullptr};
}
// The same question among the general factors, as `name`.
constexpr SideQuestion inGeneral(const char* name, SideQuestion question) {
  question.generalName = name;
  return question;
}
constexpr SideQuestion kNotAskedOfThisSide{};

// A unit's own field, once for both sides.
struct UnitEntry {
  const char* name;
  const char* label;
  FieldKind kind;
  SideTerms terms;
  SideQuestion attacker;
  SideQuestion defender;
};

constexpr SideTerms kAttackerClassTerms = {
    1, unit_class::kLastAttackerClass, kAttackerClasses,
    "class of the attacking unit: 1 infantry, 2 tank, 3 recon, 4 anti-tank, "
    "5 fort, 6 artillery, 7 air-defense, 8 fighter, 9 bomber, 10 naval units, "
    "11 half-track (fights as a tank)"};
constexpr SideTerms kDefenderClassTerms = {
    1, unit_class::kLastDefenderClass, kDefenderClasses,
    "class of the defending unit: 1 to 10 as for the attacker, 11 ground "
    "transport (fights as a tank), 12 air transport (fights as a bomber)"};
constexpr SideTerms kAttackerAttackTerms = {1, kMost, {}, "applicable attack value"};
constexpr SideTerms kAttackerLeaderTerms = {
    1, leader::kAttackerNone, kAttackerLeaders,
    "leader ability: 1 Aggressive Attack, 2 Overwhelming Attack, 3 First "
    "Strike, 4 Resilience, 5 Determined Defense, 6 Skilled Ground Attack, "
    "7 none"};
constexpr SideTerms kDefenderLeaderTerms = {
    1, leader::kDefenderNone, kDefenderLeaders,
    "leader ability: 1 Aggressive Attack, 2 Overwhelming Attack, 3 First "
    "Strike, 4 Resilience, 5 Determined Defense, 6 none"};

using F = Field;
constexpr const char* kUnlessArtilleryOrAirDefense =
    "unless the attacker is artillery or air-defense";
constexpr const char* kUnlessArtilleryAirDefenseOrAirAttack =
    "unless the attacker is artillery or air-defense, or in an air attack";

// A unit's own fields, in the order of the dialogue.  Whether a unit can
// move after the combat and an anti-tank's leader are asked of the attacker
// only; whether the target of artillery is infantry of the defender only.
constexpr std::array<UnitEntry, kUnitFieldCount> kUnitEntries = {{
    {"class", "Class", FieldKind::whole,
     {1, unit_class::kLastDefenderClass, {}, "class of the unit, numbered as in the side's class menu"},
     inGeneral("attackerClass",
               ask(F::attackerClass, &S::attackerClassEntered, kAlways,
                   "\nPlease enter the class of the attacking unit:  ",
                   "\nThe class must be number between one and eleven.  Please "
                   "reenter:\n>> ",
                   &kAttackerClassTerms)),
     inGeneral("defenderClass",
               ask(F::defenderClass, &S::defenderClassEntered,
                   "unless the attacker is artillery",
                   "\nPlease enter the class of the defending unit:  ",
                   "\nThe class must be a number between one and twelve.  Please "
                   "reenter:\n>> ",
                   &kDefenderClassTerms))},
    {"isInfantry", "Infantry target", FieldKind::yesNo,
     {0, 0, {}, "the target of an artillery attacker is infantry (otherwise it "
                "counts as a tank)"},
     kNotAskedOfThisSide,
     inGeneral("defenderIsInfantry",
               ask(F::defenderIsInfantry, &S::defenderIsInfantry,
                   "instead of defenderClass, when the attacker is artillery",
                   "\nIs the defending unit infantry? (Y/N):\n>> "))},
    {"infantryLeader", "Infantry leader", FieldKind::yesNo,
     {0, 0, {}, "the unit's infantry (attacking, also the infantry in a "
                "half-track) has a leader; a no takes away the leader menu"},
     inGeneral("attackerInfantryLeader",
               ask(F::attackerInfantryLeader, &S::attackerInfantryLeader,
                   "of a half-track's infantry, and of infantry outside an assault",
                   "\nDoes the attacking infantry have a leader? (Y/N):\n>> ")),
     inGeneral("defenderInfantryLeader",
               ask(F::defenderInfantryLeader, &S::defenderInfantryLeader,
                   "of an infantry defender outside an assault",
                   "\nDoes the defending infantry have a leader? (Y/N):\n>> "))},
    {"attackValue", "Attack", FieldKind::whole, {0, kMost, {}, "applicable attack value"},
     ask(F::attackerAttackValue, &S::attackerAttackValue, kAlways,
         "\nPlease enter the applicable attack value of the attacking unit:\n>> ",
         "\nThe attack value must be a number, and it must be greater than "
         "zero.  Please\nreenter:\n>> ",
         &kAttackerAttackTerms),
     ask(F::defenderAttackValue, &S::defenderAttackValue, kUnlessArtilleryOrAirDefense,
         "\nPlease enter the applicable attack value of the defending unit:\n>> ",
         kAttackValueZeroError)},
    {"initiative", "Initiative", FieldKind::whole, {0, kMost, {}, "initiative"},
     ask(F::attackerInitiative, &S::attackerInitiative,
         kUnlessArtilleryAirDefenseOrAirAttack,
         "\nPlease enter the initiative of the attacking unit:\n>> ",
         "\nThe initiative value must be a number, and it must be zero or "
         "greater.  Please\nreenter:\n>> "),
     ask(F::defenderInitiative, &S::defenderInitiative,
         kUnlessArtilleryAirDefenseOrAirAttack,
         "\nPlease enter the initiative of the defending unit:\n>> ",
         "\nThe initiative must be a number, and it must be zero or greater.  "
         "Please\nreenter:\n>> ")},
    {"defenseValue", "Defense", FieldKind::whole,
     {0, kMost, {}, "applicable defense value"},
     ask(F::attackerDefenseValue, &S::attackerDefenseValue, kUnlessArtilleryOrAirDefense,
         "\nPlease enter the applicable defense value of the attacking unit:\n>> ",
         kDefenseValueZeroError),
     ask(F::defenderDefenseValue, &S::defenderDefenseValue, kAlways,
         "\nPlease enter the applicable defense value of the defending unit:\n>> ",
         kDefenseValueZeroError)},
    {"rangedDefense", "Ranged defense", FieldKind::whole, {0, kMost, {}, "ranged defense"},
     ask(F::attackerRangedDefense, &S::attackerRangedDefense,
         "unless in an assault, or the attacker is artillery, air-defense, a "
         "fighter or a bomber",
         "\nPlease enter the ranged defense of the attacking unit:\n>> ",
         kRangedDefenseError),
     ask(F::defenderRangedDefense, &S::defenderRangedDefense,
         "unless in an assault or an air attack, or the attacker is artillery "
         "or air-defense, or the defender a fighter or bomber",
         "\nPlease enter the ranged defense of the defending unit:\n>> ",
         kRangedDefenseError)},
    {"experience", "Experience", FieldKind::whole,
     {0, kMost, {}, "experience bars of the unit itself"},
     ask(F::attackerExperience, &S::attackerExperience, kAlways,
         "\nPlease enter the experience bars of the attacking unit:\n>> ",
         kExperienceError),
     ask(F::defenderExperience, &S::defenderExperience, kAlways,
         "\nPlease enter the experience bars of the defending unit:\n>> ",
         kExperienceError)},
    {"firingRange", "Firing range", FieldKind::whole, {0, kMost, {}, "firing range"},
     ask(F::attackerFiringRange, &S::attackerFiringRange,
         kUnlessArtilleryAirDefenseOrAirAttack,
         "\nPlease enter the firing range of the attacking unit:\n>> ",
         "\nThe firing range must be a number, and it must be zero or "
         "greater.  Please\nreenter:\n>> "),
     ask(F::defenderFiringRange, &S::defenderFiringRange,
         kUnlessArtilleryAirDefenseOrAirAttack,
         "\nPlease enter the firing range of the defending unit:\n>> ",
         "\nThe firing range must be a number, and it must be zero or "
         "greater.  Please reenter:\n>> ")},
    {"strength", "Strength", FieldKind::whole, {1, kMost, {}, "applicable strength"},
     ask(F::attackerStrength, &S::attackerStrength, kAlways,
         "\nPlease enter the strength of the attacking unit:\n>> ", kStrengthError),
     ask(F::defenderStrength, &S::defenderStrength, kAlways,
         "\nPlease enter the applicable strength of the defending unit:\n>> ",
         kStrengthError)},
    {"entrenchment", "Entrenchment", FieldKind::whole, {0, kMost, {}, "entrenchment"},
     ask(F::attackerEntrenchment, &S::attackerEntrenchment,
         "unless the attacker is artillery, air-defense, a fighter, a bomber or "
         "a naval unit",
         "\nPlease enter the entrenchment of the attacking unit:\n>> ",
         kEntrenchmentError),
     ask(F::defenderEntrenchment, &S::defenderEntrenchment,
         "unless the defender is a fighter, bomber or naval unit",
         "\nPlease enter the entrenchment of the defending unit:\n>> ",
         kEntrenchmentError)},
    {"canMoveAfter", "Can move after the combat", FieldKind::yesNo,
     {0, 0, {}, "the unit can move after the combat"},
     ask(F::attackerCanMoveAfter, &S::attackerCanMoveAfter,
         "unless the attacker is a fort, artillery, air-defense or a naval "
         "unit, or in an air attack",
         "\nCan the attacking unit move after this combat?  (Y/N):\n>> "),
     kNotAskedOfThisSide},
    {"antiTankHasLeader", "Anti-tank unit has a leader", FieldKind::yesNo,
     {0, 0, {}, "the anti-tank unit has a leader; a no takes away the leader menu"},
     ask(F::antiTankHasLeader, &S::antiTankHasLeader,
         "of an anti-tank unit that cannot move after the combat and is not "
         "out of fuel",
         "\nDoes the anti-tank have a leader? (Y/N):\n>> "),
     kNotAskedOfThisSide},
    {"combatSupport", "Combat Support", FieldKind::bars,
     {0, kMost, {}, kCombatSupportMeaning},
     ask(F::attackerCombatSupport, &S::attackerCombatSupport),
     ask(F::defenderCombatSupport, &S::defenderCombatSupport)},
    {"leaderChoice", "Leader", FieldKind::whole,
     {1, leader::kAttackerNone, {}, "leader ability, numbered as in the side's leader menu"},
     ask(F::attackerLeaderChoice, &S::attackerLeaderChoice,
         "unless the attacker is a fort or a naval unit or a leader question "
         "was answered no",
         "\nPlease enter a leader choice for the attacking unit:  ",
         "\nThis choice must be a number between one and seven.  Please "
         "reenter:\n>> ",
         &kAttackerLeaderTerms),
     ask(F::defenderLeaderChoice, &S::defenderLeaderChoice,
         "unless the defender is a fort or a naval unit or its infantry leader "
         "question was answered no",
         "\nPlease enter a choice for the defending unit: ",
         "\nThis choice must be a number between one and six.  Please "
         "reenter:\n>> ",
         &kDefenderLeaderTerms)},
}};

constexpr const SideQuestion& questionOf(const UnitEntry& unit, Side side) {
  return side == Side::attacker ? unit.attacker : unit.defender;
}

// The catalogue's entry for one side's question of a unit's own field.
constexpr ScenarioField sideField(const UnitEntry& unit, Side side) {
  const SideQuestion& question = questionOf(unit, side);
  const SideTerms& terms = question.own != nullptr ? *question.own : unit.terms;
  const bool general = question.generalName != nullptr;
  return {general ? kGeneral : (side == Side::attacker ? "attacker" : "defender"),
          general ? question.generalName : unit.name,
          unit.label,
          unit.kind,
          terms.minimum,
          terms.maximum,
          question.whole,
          question.yesNo,
          question.bars,
          terms.meaning,
          question.asked,
          question.prompt,
          question.errorText,
          terms.options,
          static_cast<std::size_t>(*question.field)};
}

// A combat's field of the situation at its place in the catalogue.
constexpr ScenarioField at(Field field, ScenarioField info) {
  info.position = static_cast<std::size_t>(field);
  return info;
}

// The fields of the combat that are no unit's own, in the order of Field.
constexpr ScenarioField kSituation[] = {
    at(Field::isAssault,
       yesNo(kGeneral, "isAssault", "Assault", &S::isAssault,
             "the infantry attack is an assault",
             "when infantry attacks a unit that is not a fighter, bomber or "
             "naval unit",
             "\nIs this combat an assault? (Y/N):\n>> ")),
    at(Field::weatherSnowOrRain,
       yesNo(kGeneral, "snowOrRain", "Snow or rain", &S::weatherSnowOrRain,
             "the weather is snow or rain", "unless a fighter or bomber takes part",
             "\nIs the weather snow or rain?  (Y/N):\n>> ")),
    at(Field::weatherOvercast,
       yesNo(kGeneral, "overcast", "Overcast", &S::weatherOvercast,
             "the weather is overcast",
             "when the attacker is a fighter or bomber, or air-defense against "
             "a fighter or bomber",
             "\nIs the weather overcast?  (Y/N):\n>> ")),
    at(Field::attackerInCityForestMountain,
       yesNo("attacker", "inCityForestMountain", "In a city, forest or mountain",
             &S::attackerInCityForestMountain,
             "the entrenched infantry is in a city, forest or mountain",
             "of infantry with an entrenchment above 0",
             "\nIs the attacking unit in a city, forest, or mountain? "
             "(Y/N):\n>> ")),
    at(Field::attackerInRiver,
       yesNo("attacker", "inRiver", "In a river", &S::attackerInRiver,
             "the unit is in a river",
             "when an entrenchment is asked and the unit is not in a city, "
             "forest or mountain",
             "\nIs the attacking unit in a river? (Y/N):\n>> ")),
    at(Field::attackerOutOfFuel,
       yesNo("attacker", "outOfFuel", "Out of fuel", &S::attackerOutOfFuel,
             "the unit is out of fuel",
             "when the unit cannot move after the combat and is not a fighter "
             "or bomber",
             "\nIs the attacking unit out of fuel? (Y/N):\n>> ")),
    at(Field::defenderInCityForestMountain,
       yesNo("defender", "inCityForestMountain", "In a city, forest or mountain",
             &S::defenderInCityForestMountain,
             "the entrenched infantry is in a city, forest or mountain (infantry "
             "assaulting infantry counts as such a defender)",
             "of entrenched infantry attacked by a unit that is not infantry",
             "\nIs the defending unit in a city, forest, or mountain? "
             "(Y/N):\n>> ")),
    at(Field::defenderInCity,
       yesNo("defender", "inCity", "In a city", &S::defenderInCity,
             "the assaulted infantry is in a city",
             "of infantry assaulted by an attacker that can move after the "
             "combat",
             "\nIs the defender in a city? (Y/N):\n>> ")),
    at(Field::defenderInRiver,
       yesNo("defender", "inRiver", "In a river", &S::defenderInRiver,
             "the unit is in a river",
             "outside an assault, when the defender is not in a city, forest or "
             "mountain and is not a fighter, bomber or naval unit",
             "\nIs the defending unit in a river? (Y/N):\n>> ")),
    at(Field::defenderOutOfAmmo,
       yesNo("defender", "outOfAmmo", "Out of ammunition", &S::defenderOutOfAmmo,
             "the unit is out of ammunition",
             "when the defender's attack value is above 0 and the attacker is "
             "not artillery or air-defense",
             "\nIs the defending unit out of ammunition? (Y/N):\n>> ")),
    at(Field::defenderOutOfFuel,
       yesNo("defender", "outOfFuel", "Out of fuel", &S::defenderOutOfFuel,
             "the unit is out of fuel",
             "when the defender's attack value is above 0, the attacker is not "
             "artillery or air-defense and the defender not a fort, fighter or "
             "bomber",
             "\nIs the defending unit out of fuel? (Y/N):\n>> ")),
    at(Field::shipAlreadyAttackedByShip,
       yesNo("defender", "shipAlreadyAttackedByShip",
             "Ship already attacked by a ship", &S::shipAlreadyAttackedByShip,
             "the defending ship has already been attacked by another ship",
             "when a naval unit attacks a naval unit",
             "\nHas the defending ship already been attacked by another ship? "
             "(Y/N):\n>> ")),
    at(Field::combatRange,
       whole(kTop, "combatRange", "Range of the combat", &S::combatRange, 1, kMost,
             "range of the combat", "when the attacker's firing range is above 1",
             "\nPlease enter the range of the combat:\n>> ",
             "\nThe range of the combat must be a number greater than zero.  "
             "Please reenter:\n>> ")),
    at(Field::terrainClearOrSandy,
       yesNo(kTerrain, "clearOrSandy", "Clear or sandy", &S::terrainClearOrSandy,
             "at least one of the units is in clear or sandy terrain",
             "first in the chain, unless both units are in a city, forest or "
             "mountain",
             "\nIs at least one of the units in clear or sandy terrain?  "
             "(Y/N):\n>> ")),
    at(Field::terrainRoughBocageOrHills,
       yesNo(kTerrain, "roughBocageOrHills", "Rough, bocage or hills",
             &S::terrainRoughBocageOrHills,
             "at least one of the units is in rough, bocage or hills",
             "after a no to the question before it in the chain",
             "\nIs at least one of the units in rough, bocage, or hills?  "
             "(Y/N):\n>> ")),
    at(Field::terrainForest,
       yesNo(kTerrain, "forest", "Forest", &S::terrainForest,
             "at least one of the units is in a forest",
             "after a no to the question before it in the chain",
             "\nIs at least one of the units in a forest?  (Y/N):\n>> ")),
    at(Field::terrainCitiesOrMountains,
       yesNo(kTerrain, "citiesOrMountains", "Cities or mountains",
             &S::terrainCitiesOrMountains,
             "both units are in cities and/or mountains",
             "after a no to the question before it in the chain",
             "\nAre both of the units in cities and/or mountains?  "
             "(Y/N):\n>> ")),
    at(Field::attackerCloseDefense,
       whole(kTop, "attackerCloseDefense", "Attacker's close defense",
             &S::attackerCloseDefense, 0, kMost,
             "close defense of the attacking unit",
             "when infantry attacks entrenched infantry outside an assault and "
             "a rugged defense is possible",
             "\nPlease enter the close defense of the attacking unit:\n>> ",
             "\nThe close defense must be zero or greater.  Please "
             "reenter:\n>> ")),
    at(Field::artillery,
       units("artillery", "Defending artillery",
             "the defensive artillery pieces, in order; pieces after the one "
             "whose fire reaches the attacker's strength are ignored, with a "
             "note",
             "for infantry, tank, recon, anti-tank and fort attackers",
             "\nIs there any defensive artillery support?  (Y/N):\n>> ")),
    at(Field::attackerGroundDefense,
       whole(kTop, "attackerGroundDefense", "Attacker's ground defense",
             &S::attackerGroundDefense, 0, kMost,
             "ground defense of the attacking unit",
             "in an assault under defensive artillery",
             "\nPlease enter the ground defense of the attacking unit:\n>> ",
             "\nThe ground defense must be a number, and it must be zero or "
             "greater.  Please\nreenter:\n>> ")),
    at(Field::airDefense,
       units("airDefense", "Supporting air defense",
             "the air-defense units and fighters firing at the airplane, in "
             "order",
             "in an air attack (a fighter or bomber attacking a unit that is "
             "neither)",
             "\nIs there any air defense support within range?  (Y/N):\n>> ")),
    at(Field::airplaneAirDefense,
       whole(kTop, "airplaneAirDefense", "Airplane's air defense",
             &S::airplaneAirDefense, 0, kMost,
             "air defense value of the attacking airplane",
             "when a fighter is among the air-defense units",
             "\nPlease enter the air defense value of the attacking "
             "airplane:\n>> ",
             "\nThe air defense value must be a number, and it must be zero "
             "or greater.  Please\nreenter:\n>> ")),
    at(Field::timesAttacked,
       whole(kTop, "timesAttacked", "Times attacked before", &S::timesAttacked, 0,
             kMost,
             "number of times the defending unit has already been attacked "
             "(its softening)",
             "unless the attacker is artillery, a bomber or a naval unit",
             "\nPlease enter the number of times the defending unit has "
             "already been attacked:\n>> ",
             "\nThe number of times attacked must be zero or greater.  Please "
             "reenter:\n>> ")),
};

// Every field of the combat at its place: the situation's as listed, each
// side's questions of a unit's own fields made from their one description.
constexpr Catalogue makeCatalogue() {
  Catalogue catalogue{};
  for (const ScenarioField& info : kSituation) catalogue[info.position] = info;
  for (const UnitEntry& unit : kUnitEntries) {
    for (const Side side : {Side::attacker, Side::defender}) {
      if (questionOf(unit, side).field) {
        const ScenarioField info = sideField(unit, side);
        catalogue[info.position] = info;
      }
    }
  }
  return catalogue;
}

constexpr Catalogue kCatalogue = makeCatalogue();

// The catalogue is indexed by Field: a field left out, or listed twice,
// would give one question another's answer.
constexpr bool everyFieldOnce() {
  for (std::size_t i = 0; i < kCatalogue.size(); ++i) {
    if (kCatalogue[i].name == nullptr || kCatalogue[i].position != i) return false;
  }
  return std::size(kSituation) + 2 * kUnitEntries.size() - 3 == kCatalogue.size();
}
static_assert(everyFieldOnce(), "every Field must stand once in the catalogue");

// A side's question keeps its answer in a member of the unit field's kind.
constexpr bool membersOfTheirKind() {
  for (const UnitEntry& unit : kUnitEntries) {
    for (const Side side : {Side::attacker, Side::defender}) {
      const SideQuestion& q = questionOf(unit, side);
      if (!q.field) continue;
      if ((q.whole != nullptr) != (unit.kind == FieldKind::whole) ||
          (q.yesNo != nullptr) != (unit.kind == FieldKind::yesNo) ||
          (q.bars != nullptr) != (unit.kind == FieldKind::bars)) {
        return false;
      }
    }
  }
  return true;
}
static_assert(membersOfTheirKind(), "a unit's answer must be kept as its kind says");

constexpr std::array<UnitField, kUnitEntries.size()> makeUnitFields() {
  std::array<UnitField, kUnitEntries.size()> fields{};
  for (std::size_t i = 0; i < kUnitEntries.size(); ++i) {
    const UnitEntry& unit = kUnitEntries[i];
    fields[i] = {unit.name, unit.label, unit.kind, unit.terms.meaning,
                 unit.attacker.field, unit.defender.field};
  }
  return fields;
}

constexpr std::array<UnitField, kUnitEntries.size()> kUnitFields = makeUnitFields();

}  // namespace

const Catalogue kScenarioFields = kCatalogue;

std::string_view sideName(Side side) {
  return side == Side::attacker ? "attacker" : "defender";
}

std::span<const UnitField> unitFields() { return kUnitFields; }

std::optional<Field> fieldFor(const UnitField& field, Side side) {
  return side == Side::attacker ? field.attacker : field.defender;
}

std::optional<UnitPlace> unitPlaceOf(Field field) {
  for (std::size_t i = 0; i < kUnitFields.size(); ++i) {
    if (kUnitFields[i].attacker == field) return UnitPlace{i, Side::attacker};
    if (kUnitFields[i].defender == field) return UnitPlace{i, Side::defender};
  }
  return std::nullopt;
}

namespace {

// The last two questions of a supporting unit, whether an artillery piece
// or an air-defense unit: its Combat Support and its leader.
template <typename Unit>
constexpr FieldInfo<Unit> supportCombatSupport(const char* group) {
  return bars(group, "combatSupport", "Combat Support", &Unit::combatSupport,
              kCombatSupportMeaning);
}
template <typename Unit>
constexpr FieldInfo<Unit> supportLeader(const char* group) {
  return whole(group, "leaderChoice", "Leader", &Unit::leaderChoice, 1,
               leader::kSupportNone, "1 Aggressive Attack, 2 Overwhelming Attack, 3 none",
               kAlways, kSupportChoicePrompt, kSupportChoiceError, kSupportLeaders);
}

using A = ArtilleryPiece;
constexpr const char* kArtillery = "artillery";
const std::array<ArtilleryField, 6> kArtilleryFields = {{
    whole(kArtillery, "attackValue", "Attack", &A::attackValue, 0, kMost,
          "applicable attack value", kAlways,
          "\nPlease enter the applicable attack value of the artillery "
          "piece:\n>> ",
          kAttackValueZeroError),
    whole(kArtillery, "experience", "Experience", &A::experience, 0, kMost,
          "experience bars of the piece itself", kAlways,
          "\nPlease enter the experience bars of the artillery piece:\n>> ",
          kExperienceError),
    whole(kArtillery, "strength", "Strength", &A::strength, 1, kMost,
          "applicable strength", kAlways,
          "\nPlease enter the applicable strength of the artillery piece:\n>> ",
          kStrengthError),
    yesNo(kArtillery, "adjacent", "Adjacent", &A::adjacent,
          "the piece is adjacent to the defending unit (otherwise it fires at "
          "half strength)",
          kAlways, "\nIs this piece adjacent to the defending unit? (Y/N):\n>> "),
    supportCombatSupport<A>(kArtillery),
    supportLeader<A>(kArtillery),
}};

using U = AirDefenseUnit;
constexpr const char* kAirDefense = "airDefense";
const std::array<AirDefenseField, 6> kAirDefenseFields = {{
    yesNo(kAirDefense, "isFighter", "Fighter", &U::isFighter,
          "the supporting unit is a fighter", kAlways,
          "\nIs the support unit a fighter? (Y/N):\n>> "),
    whole(kAirDefense, "attackValue", "Attack", &U::attackValue, 0, kMost,
          "applicable attack value", kAlways,
          "\nPlease enter the applicable attack value of the supporting "
          "unit:\n>> ",
          kAttackValueZeroError),
    whole(kAirDefense, "experience", "Experience", &U::experience, 0, kMost,
          "experience bars of the unit itself", kAlways,
          "\nPlease enter the experience bars of the supporting unit:\n>> ",
          kExperienceError),
    whole(kAirDefense, "strength", "Strength", &U::strength, 1, kMost,
          "applicable strength (halved when overcast)", kAlways,
          "\nPlease enter the applicable strength of the supporting unit:\n>> ",
          kStrengthError),
    supportCombatSupport<U>(kAirDefense),
    supportLeader<U>(kAirDefense),
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

char lowerCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Without copies, as every menu word of every scenario is looked up.
bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerCase(a[i]) != lowerCase(b[i])) return false;
  }
  return true;
}

std::int64_t menuEntry(std::span<const MenuEntry> options,
                       std::string_view word) {
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (sameWord(options[i], word)) return static_cast<std::int64_t>(i) + 1;
  }
  return 0;
}
