#include "dialogue/general_factors.h"

#include "combat/questions.h"
#include "dialogue/ask_field.h"

void askGeneralFactors(CombatScenario* s, Console& console,
                       const ChosenPresets& presets) {
  using namespace unit_class;
  constexpr std::string_view kClassMiddle =
      "\n3 for recon, \n4 for anti-tank, \n5 for fort, \n6 for artillery, "
      "\n7 for air-defense, \n8 for fighter, \n9 for bomber,";

  say(console, "\n\nGeneral Factors:\n\n");

  s->attackerClassEntered =
      askMenu(console, Field::attackerClass, presets,
              {"\n\n******************\n1 for infantry, \n2 for tank,",
               kClassMiddle,
               "\n10 for naval units, \n11 for half-track\n"
               "******************\n\n>> "});

  // An artillery attacker only needs to know whether its target is infantry.
  if (asks(Field::defenderIsInfantry, *s)) {
    s->defenderIsInfantry =
        askYesNo(console, Field::defenderIsInfantry, presets);
  }
  if (asks(Field::defenderClass, *s)) {
    s->defenderClassEntered =
        askMenu(console, Field::defenderClass, presets,
                {"\n\n************************\n1 for infantry, \n2 for tank,",
                 kClassMiddle,
                 "\n10 for naval units, \n11 for ground transport, "
                 "\n12 for air transport\n************************\n\n>> "});
  }

  // A half-track carries infantry that may have a leader; it fights as a
  // tank.
  if (s->attackerClassEntered == kHalfTrackOrGroundTransport) {
    s->attackerInfantryLeader =
        askYesNo(console, questionOf(Field::attackerInfantryLeader, *s),
                 Field::attackerInfantryLeader, presets);
  }
  settleUnitClasses(s);

  if (asks(Field::isAssault, *s)) {
    s->isAssault = askYesNo(console, Field::isAssault);
  }
  if (s->attackerClass == kInfantry && asks(Field::attackerInfantryLeader, *s)) {
    s->attackerInfantryLeader =
        askYesNo(console, Field::attackerInfantryLeader, presets);
  }
  if (asks(Field::defenderInfantryLeader, *s)) {
    s->defenderInfantryLeader =
        askYesNo(console, Field::defenderInfantryLeader, presets);
  }
  if (asks(Field::weatherSnowOrRain, *s)) {
    s->weatherSnowOrRain = askYesNo(console, Field::weatherSnowOrRain);
  }
  if (asks(Field::weatherOvercast, *s)) {
    s->weatherOvercast = askYesNo(console, Field::weatherOvercast);
  }
}
