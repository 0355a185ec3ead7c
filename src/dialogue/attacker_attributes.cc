#include "dialogue/attacker_attributes.h"

#include "combat/questions.h"
#include "dialogue/ask_field.h"
#include "dialogue/combat_support.h"

void askAttackerAttributes(CombatScenario* s, Console& console,
                           const ChosenPresets& presets) {
  using namespace unit_class;
  const bool supportClass =
      s->attackerClass == kArtillery || s->attackerClass == kAirDefense;

  say(console, "\nAttacker Attributes:\n");

  s->attackerAttackValue =
      askWhole(console, Field::attackerAttackValue, presets);
  if (asks(Field::attackerInitiative, *s)) {
    s->attackerInitiative =
        askWhole(console, Field::attackerInitiative, presets);
  }
  if (asks(Field::attackerDefenseValue, *s)) {
    s->attackerDefenseValue =
        askWhole(console, Field::attackerDefenseValue, presets);
  }
  if (asks(Field::attackerRangedDefense, *s)) {
    s->attackerRangedDefense =
        askWhole(console, Field::attackerRangedDefense, presets);
  }
  s->attackerExperience = askWhole(console, Field::attackerExperience, presets);
  if (asks(Field::attackerFiringRange, *s)) {
    s->attackerFiringRange =
        askWhole(console, Field::attackerFiringRange, presets);
  }
  s->attackerStrength = askWhole(console, Field::attackerStrength, presets);
  if (asks(Field::attackerEntrenchment, *s)) {
    s->attackerEntrenchment =
        askWhole(console, Field::attackerEntrenchment, presets);
  }
  if (asks(Field::attackerInCityForestMountain, *s)) {
    s->attackerInCityForestMountain =
        askYesNo(console, Field::attackerInCityForestMountain);
  }
  if (asks(Field::attackerInRiver, *s)) {
    s->attackerInRiver = askYesNo(console, Field::attackerInRiver);
  }
  if (asks(Field::attackerCanMoveAfter, *s)) {
    s->attackerCanMoveAfter =
        askYesNo(console, Field::attackerCanMoveAfter, presets);
  }
  if (asks(Field::attackerOutOfFuel, *s)) {
    s->attackerOutOfFuel = askYesNo(console, Field::attackerOutOfFuel);
  }
  if (asks(Field::antiTankHasLeader, *s)) {
    s->antiTankHasLeader = askYesNo(console, Field::antiTankHasLeader, presets);
  }
  s->attackerCombatSupport =
      askCombatSupport(console, Field::attackerCombatSupport, presets);

  // The menu shows only the abilities that the attacker can use, but takes
  // every choice from 1 to 7.
  if (!asks(Field::attackerLeaderChoice, *s)) return;
  s->attackerLeaderChoice = askMenu(
      console, Field::attackerLeaderChoice, presets,
      {"\n\n******************\n1 for Aggressive Attack, "
       "\n2 for Overwhelming Attack,",
       supportClass ? "" : "\n3 for First Strike,",
       supportClass ? "" : "\n4 for Resilience, \n5 for Determined Defense,",
       s->airToSurfaceAttack ? "\n6 for Skilled Ground Attack," : "",
       "\n7 for None of the above", "\n******************\n\n>> "});
}
