#include "dialogue/defender_attributes.h"

#include "combat/questions.h"
#include "dialogue/ask_field.h"
#include "dialogue/combat_support.h"

void askDefenderAttributes(CombatScenario* s, Console& console,
                           const ChosenPresets& presets) {
  using namespace unit_class;
  const bool supportAttacker =
      s->attackerClass == kArtillery || s->attackerClass == kAirDefense;

  say(console, "\n\nDefender Attributes:\n\n");

  if (asks(Field::defenderAttackValue, *s)) {
    s->defenderAttackValue =
        askWhole(console, Field::defenderAttackValue, presets);
  }
  if (asks(Field::defenderInitiative, *s)) {
    s->defenderInitiative =
        askWhole(console, Field::defenderInitiative, presets);
  }
  s->defenderDefenseValue =
      askWhole(console, Field::defenderDefenseValue, presets);
  if (asks(Field::defenderRangedDefense, *s)) {
    s->defenderRangedDefense =
        askWhole(console, Field::defenderRangedDefense, presets);
  }
  s->defenderExperience = askWhole(console, Field::defenderExperience, presets);
  if (asks(Field::defenderFiringRange, *s)) {
    s->defenderFiringRange =
        askWhole(console, Field::defenderFiringRange, presets);
  }
  s->defenderStrength = askWhole(console, Field::defenderStrength, presets);
  if (asks(Field::defenderEntrenchment, *s)) {
    s->defenderEntrenchment =
        askWhole(console, Field::defenderEntrenchment, presets);
  }
  if (asks(Field::defenderInCityForestMountain, *s)) {
    s->defenderInCityForestMountain =
        askYesNo(console, Field::defenderInCityForestMountain);
  }
  if (asks(Field::defenderInCity, *s)) {
    s->defenderInCity = askYesNo(console, Field::defenderInCity);
  }
  if (asks(Field::defenderInRiver, *s)) {
    s->defenderInRiver = askYesNo(console, Field::defenderInRiver);
  }
  if (asks(Field::defenderOutOfAmmo, *s)) {
    s->defenderOutOfAmmo = askYesNo(console, Field::defenderOutOfAmmo);
  }
  if (asks(Field::defenderOutOfFuel, *s)) {
    s->defenderOutOfFuel = askYesNo(console, Field::defenderOutOfFuel);
  }
  // Artillery, bombers and ships bombarding land do not soften the defender;
  // a ship fighting a ship only asks whether another ship got there first.
  if (asks(Field::shipAlreadyAttackedByShip, *s)) {
    s->shipAlreadyAttackedByShip =
        askYesNo(console, Field::shipAlreadyAttackedByShip);
  }
  if (asks(Field::timesAttacked, *s)) {
    s->timesAttacked = askWhole(console, Field::timesAttacked);
  }
  s->defenderCombatSupport =
      askCombatSupport(console, Field::defenderCombatSupport, presets);

  // The first three abilities are shown only to a defender that fires back,
  // but every choice from 1 to 6 is taken.
  if (asks(Field::defenderLeaderChoice, *s)) {
    const bool firesBack = !supportAttacker && s->defenderAttackValue > 0 &&
                           !isYes(s->defenderOutOfAmmo);
    s->defenderLeaderChoice = askMenu(
        console, Field::defenderLeaderChoice, presets,
        {"\n\n******************",
         firesBack ? "\n1 for Aggressive Attack, \n2 for Overwhelming Attack, "
                     "\n3 for First Strike,"
                   : "",
         "\n4 for Resilience, \n5 for Determined Defense,",
         "\n6 for None of the above\n******************\n\n>> "});
  }
  if (asks(Field::combatRange, *s)) {
    s->combatRange = askWhole(console, Field::combatRange);
  }
}
