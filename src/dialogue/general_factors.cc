#include "dialogue/general_factors.h"

#include "combat/questions.h"

void askGeneralFactors(CombatScenario* s, Console& console) {
  using namespace unit_class;
  constexpr std::string_view kClassMiddle =
      "\n3 for recon, \n4 for anti-tank, \n5 for fort, \n6 for artillery, "
      "\n7 for air-defense, \n8 for fighter, \n9 for bomber,";

  say(console, "\n\nGeneral Factors:\n\n");

  say(console,
      "\nPlease enter the class of the attacking unit:  "
      "\n\n******************\n1 for infantry, \n2 for tank,");
  say(console, kClassMiddle);
  say(console,
      "\n10 for naval units, \n11 for half-track\n"
      "******************\n\n>> ");
  s->attackerClassEntered = askCount(
      console, "",
      "\nThe class must be number between one and eleven.  Please "
      "reenter:\n>> ",
      1, kLastAttackerClass);

  // An artillery attacker only needs to know whether its target is infantry.
  if (asks(Field::defenderIsInfantry, *s)) {
    s->defenderIsInfantry =
        askYesNo(console, "\nIs the defending unit infantry? (Y/N):\n>> ");
  }
  if (asks(Field::defenderClass, *s)) {
    say(console,
        "\nPlease enter the class of the defending unit:  "
        "\n\n************************\n1 for infantry, \n2 for tank,");
    say(console, kClassMiddle);
    say(console,
        "\n10 for naval units, \n11 for ground transport, "
        "\n12 for air transport\n************************\n\n>> ");
    s->defenderClassEntered = askCount(
        console, "",
        "\nThe class must be a number between one and twelve.  Please "
        "reenter:\n>> ",
        1, kLastDefenderClass);
  }

  // A half-track carries infantry that may have a leader; it fights as a
  // tank.
  if (s->attackerClassEntered == kHalfTrackOrGroundTransport) {
    s->attackerInfantryLeader = askYesNo(
        console, "\nIs the attacking unit infantry with a leader? (Y/N):\n>> ");
  }
  settleUnitClasses(s);

  if (asks(Field::isAssault, *s)) {
    s->isAssault = askYesNo(console, "\nIs this combat an assault? (Y/N):\n>> ");
  }
  if (s->attackerClass == kInfantry && asks(Field::attackerInfantryLeader, *s)) {
    s->attackerInfantryLeader = askYesNo(
        console, "\nDoes the attacking infantry have a leader? (Y/N):\n>> ");
  }
  if (asks(Field::defenderInfantryLeader, *s)) {
    s->defenderInfantryLeader = askYesNo(
        console, "\nDoes the defending infantry have a leader? (Y/N):\n>> ");
  }
  if (asks(Field::weatherSnowOrRain, *s)) {
    s->weatherSnowOrRain =
        askYesNo(console, "\nIs the weather snow or rain?  (Y/N):\n>> ");
  }
  if (asks(Field::weatherOvercast, *s)) {
    s->weatherOvercast =
        askYesNo(console, "\nIs the weather overcast?  (Y/N):\n>> ");
  }
}
