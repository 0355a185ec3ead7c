#include "dialogue/questionnaires.h"

namespace {

bool isAir(std::int64_t unitClass) {
  return unitClass == unit_class::kFighter || unitClass == unit_class::kBomber;
}

}  // namespace

void askGeneralFactors(CombatScenario& s, Console& console) {
  using namespace unit_class;
  constexpr const char* kClassMiddle =
      "\n3 for recon, \n4 for anti-tank, \n5 for fort, \n6 for artillery, "
      "\n7 for air-defense, \n8 for fighter, \n9 for bomber,";

  console.out << "\n\nGeneral Factors:\n\n";

  console.out << "\nPlease enter the class of the attacking unit:  "
                 "\n\n******************\n1 for infantry, \n2 for tank,"
              << kClassMiddle
              << "\n10 for naval units, \n11 for half-track\n"
                 "******************\n\n>> ";
  s.attackerClass = askCount(
      console, "",
      "\nThe class must be number between one and eleven.  Please "
      "reenter:\n>> ",
      1, 11);

  // An artillery attacker only needs to know whether its target is infantry.
  if (s.attackerClass == kArtillery) {
    const char infantry =
        askYesNo(console, "\nIs the defending unit infantry? (Y/N):\n>> ");
    s.defenderClass = isYes(infantry) ? kInfantry : kTank;
  } else {
    console.out << "\nPlease enter the class of the defending unit:  "
                   "\n\n************************\n1 for infantry, \n2 for tank,"
                << kClassMiddle
                << "\n10 for naval units, \n11 for ground transport, "
                   "\n12 for air transport\n************************\n\n>> ";
    s.defenderClass = askCount(
        console, "",
        "\nThe class must be a number between one and twelve.  Please "
        "reenter:\n>> ",
        1, 12);
  }

  // A half-track carries infantry that may have a leader; it fights as a
  // tank.
  if (s.attackerClass == kHalfTrackOrGroundTransport) {
    s.attackerInfantryLeader = askYesNo(
        console, "\nIs the attacking unit infantry with a leader? (Y/N):\n>> ");
    s.attackerClass = kTank;
  }
  if (s.defenderClass == kHalfTrackOrGroundTransport) s.defenderClass = kTank;
  if (s.defenderClass == kAirTransport) s.defenderClass = kBomber;

  s.airToSurfaceAttack =
      isAir(s.attackerClass) && !isAir(s.defenderClass) ? 'y' : 'n';
  s.navalVsNonNaval =
      s.attackerClass == kNaval && s.defenderClass != kNaval ? 'y' : 'n';

  if (s.attackerClass == kInfantry && s.defenderClass != kFighter &&
      s.defenderClass != kBomber && s.defenderClass != kNaval) {
    s.isAssault = askYesNo(console, "\nIs this combat an assault? (Y/N):\n>> ");
    // Infantry assaulting infantry fights as if the defender held a city,
    // forest or mountain.
    if (isYes(s.isAssault) && s.defenderClass == kInfantry) {
      s.defenderInCityForestMountain = 'y';
    }
  }
  if (s.attackerClass == kInfantry && !isYes(s.isAssault)) {
    s.attackerInfantryLeader = askYesNo(
        console, "\nDoes the attacking infantry have a leader? (Y/N):\n>> ");
  }
  if (s.defenderClass == kInfantry && !isYes(s.isAssault)) {
    s.defenderInfantryLeader = askYesNo(
        console, "\nDoes the defending infantry have a leader? (Y/N):\n>> ");
  }
  if (!isAir(s.attackerClass) && !isAir(s.defenderClass)) {
    s.weatherSnowOrRain =
        askYesNo(console, "\nIs the weather snow or rain?  (Y/N):\n>> ");
  }
  if (isAir(s.attackerClass) ||
      (s.attackerClass == kAirDefense && isAir(s.defenderClass))) {
    s.weatherOvercast =
        askYesNo(console, "\nIs the weather overcast?  (Y/N):\n>> ");
  }
}
