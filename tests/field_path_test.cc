// Fields of a scenario by name: the dotted names of the command line and
// the names that each object of a scenario file takes, from one resolver.
#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>

#include "scenario/field_path.h"
#include "scenario/scenario_fields.h"

namespace {

TEST(FieldPath, ResolvesEveryKindOfDottedName) {
  struct Case {
    const char* path;
    bool found;
    Field field;
    std::optional<std::size_t> unit;
    std::size_t unitField;
    std::optional<std::size_t> bar;
    FieldKind kind;
  };
  const Case cases[] = {
      {"attacker.strength", true, Field::attackerStrength, {}, 0, {},
       FieldKind::whole},
      {"timesAttacked", true, Field::timesAttacked, {}, 0, {}, FieldKind::whole},
      {"general.isAssault", true, Field::isAssault, {}, 0, {}, FieldKind::yesNo},
      {"defender.combatSupport", true, Field::defenderCombatSupport, {}, 0, {},
       FieldKind::bars},
      {"defender.combatSupport.4", true, Field::defenderCombatSupport, {}, 0,
       4, FieldKind::whole},
      {"artillery", true, Field::artillery, {}, 0, {}, FieldKind::units},
      {"artillery.2.experience", true, Field::artillery, 2,
       artillery_field::kExperience, {}, FieldKind::whole},
      {"airDefense.0.isFighter", true, Field::airDefense, 0,
       air_defense_field::kIsFighter, {}, FieldKind::yesNo},
      {"airDefense.1.combatSupport.3", true, Field::airDefense, 1,
       air_defense_field::kCombatSupport, 3, FieldKind::whole},
      // Names that stand in the wrong object, or hold nothing further.
      {"attacker", false, {}, {}, 0, {}, {}},
      {"strength", false, {}, {}, 0, {}, {}},
      {"general.strength", false, {}, {}, 0, {}, {}},
      {"attacker.combatRange", false, {}, {}, 0, {}, {}},
      {"artillery.isFighter", false, {}, {}, 0, {}, {}},
      {"artillery.0.isFighter", false, {}, {}, 0, {}, {}},
      {"airDefense.0.adjacent", false, {}, {}, 0, {}, {}},
      {"artillery.x.strength", false, {}, {}, 0, {}, {}},
      {"artillery.0", false, {}, {}, 0, {}, {}},
      {"attacker.strength.0", false, {}, {}, 0, {}, {}},
      {"attacker.combatSupport.1.2", false, {}, {}, 0, {}, {}},
      {"attacker.combatSupport.-1", false, {}, {}, 0, {}, {}},
      {"", false, {}, {}, 0, {}, {}},
      {"attacker..strength", false, {}, {}, 0, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::optional<FieldPath> path = resolveFieldPath(c.path);
    ASSERT_EQ(path.has_value(), c.found);
    if (!path) continue;
    EXPECT_EQ(path->field, c.field);
    EXPECT_EQ(path->unit, c.unit);
    if (c.unit) {
      EXPECT_EQ(path->unitField, c.unitField);
    }
    EXPECT_EQ(path->bar, c.bar);
    EXPECT_EQ(path->kind, c.kind);
  }
}

// Each field of the combat is found under its own name in exactly one
// object, the one its dotted name gives, and the resolver agrees.
TEST(FieldPath, NamesEachFieldInItsOwnObjectOnly) {
  const Scope scopes[] = {Scope::scenario, Scope::general, Scope::attacker,
                          Scope::defender, Scope::terrain};
  const auto fields = scenarioFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    SCOPED_TRACE(dottedName(fields[i]));
    std::size_t places = 0;
    for (const Scope scope : scopes) {
      const ScopedName* name = findName(scope, fields[i].name);
      if (name == nullptr || name->nameKind != NameKind::field ||
          name->field != i) {
        continue;
      }
      ++places;
      EXPECT_EQ(name->kind, fields[i].kind);
      EXPECT_EQ(name->minimum, fields[i].minimum);
      EXPECT_EQ(name->maximum, fields[i].maximum);
      EXPECT_EQ(name->required, isRequired(fields[i]));
    }
    EXPECT_EQ(places, 1u);
    const std::optional<FieldPath> path = resolveFieldPath(dottedName(fields[i]));
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->field, static_cast<Field>(i));
  }
}

TEST(FieldPath, GivesTheNamesOfEachObjectInOrder) {
  std::string top;
  for (const ScopedName& name : namesIn(Scope::scenario)) {
    top += std::string(name.name) + ' ';
  }
  EXPECT_EQ(top,
            "general attacker defender terrain combatRange "
            "attackerCloseDefense artillery attackerGroundDefense airDefense "
            "airplaneAirDefense timesAttacked ");
  const ScopedName* attacker = findName(Scope::scenario, "attacker");
  ASSERT_NE(attacker, nullptr);
  EXPECT_EQ(attacker->nameKind, NameKind::group);
  EXPECT_EQ(attacker->inner, Scope::attacker);
  EXPECT_EQ(findName(Scope::scenario, "artillery")->inner, Scope::artilleryUnit);
  EXPECT_EQ(findName(Scope::scenario, "airDefense")->inner,
            Scope::airDefenseUnit);
  ASSERT_EQ(namesIn(Scope::artilleryUnit).size(), artilleryFields().size());
  const ScopedName* strength = findName(Scope::artilleryUnit, "strength");
  ASSERT_NE(strength, nullptr);
  EXPECT_EQ(strength->nameKind, NameKind::unitField);
  EXPECT_EQ(strength->field, artillery_field::kStrength);
  EXPECT_TRUE(strength->required);
  EXPECT_EQ(findName(Scope::airDefenseUnit, "adjacent"), nullptr);
  EXPECT_EQ(findName(Scope::airDefenseUnit, "isFighter")->field,
            air_defense_field::kIsFighter);
  EXPECT_EQ(findName(Scope::terrain, "Forest"), nullptr);  // case counts
}

}  // namespace
