#include "dialogue/support_fire.h"

#include "combat/questions.h"
#include "combat/support_fire.h"
#include "dialogue/combat_support.h"
#include "dialogue/texts.h"
#include "report/report.h"

namespace {

// The choice menu of a supporting unit.
std::int64_t askSupportChoice(Console& console) {
  return askCount(console, text::kSupportChoiceMenu, text::kSupportChoiceError,
                  1, leader::kSupportNone);
}

ArtilleryPiece askArtilleryPiece(Console& console) {
  ArtilleryPiece piece;
  piece.attackValue = askNumber(
      console,
      "\nPlease enter the applicable attack value of the artillery piece:\n>> ",
      text::kAttackValueZeroError);
  piece.experience = askNumber(
      console, "\nPlease enter the experience bars of the artillery piece:\n>> ",
      text::kExperienceError);
  piece.strength = askCount(
      console,
      "\nPlease enter the applicable strength of the artillery piece:\n>> ",
      text::kStrengthError, 1, kNoMaximum);
  piece.adjacent = askYesNo(
      console, "\nIs this piece adjacent to the defending unit? (Y/N):\n>> ");
  piece.combatSupport = askCombatSupport(console);
  piece.leaderChoice = askSupportChoice(console);
  return piece;
}

// The airplane's air defense is asked once, for the first fighter.
AirDefenseUnit askAirDefenseUnit(CombatScenario* s, bool* airDefenseAsked,
                                 Console& console) {
  AirDefenseUnit unit;
  unit.isFighter =
      askYesNo(console, "\nIs the support unit a fighter? (Y/N):\n>> ");
  if (isYes(unit.isFighter) && !*airDefenseAsked) {
    s->airplaneAirDefense = askNumber(
        console,
        "\nPlease enter the air defense value of the attacking airplane:\n>> ",
        "\nThe air defense value must be a number, and it must be zero or "
        "greater.  Please\nreenter:\n>> ");
    *airDefenseAsked = true;
  }
  unit.attackValue = askNumber(
      console,
      "\nPlease enter the applicable attack value of the supporting unit:\n>> ",
      text::kAttackValueZeroError);
  unit.experience = askNumber(
      console, "\nPlease enter the experience bars of the supporting unit:\n>> ",
      text::kExperienceError);
  unit.strength = askCount(
      console,
      "\nPlease enter the applicable strength of the supporting unit:\n>> ",
      text::kStrengthError, 1, kNoMaximum);
  unit.combatSupport = askCombatSupport(console);
  unit.leaderChoice = askSupportChoice(console);
  return unit;
}

}  // namespace

void askSupportFire(CombatScenario* s, const CombatState& state,
                    Console& console) {
  const SupportFamily family = supportFamilyOf(*s);
  if (family == SupportFamily::none) return;
  const bool artillery = family == SupportFamily::artillery;

  say(console, text::kSupportFireHeading);
  bool another = isYes(askYesNo(
      console, artillery
                   ? "\nIs there any defensive artillery support?  (Y/N):\n>> "
                   : "\nIs there any air defense support within range?  "
                     "(Y/N):\n>> "));
  SettledFire last;
  bool airDefenseAsked = false;
  while (another) {
    if (artillery) {
      s->artillery.push_back(askArtilleryPiece(console));
      // In an assault the artillery fires at the ground defense, asked once.
      if (s->artillery.size() == 1 && asks(Field::attackerGroundDefense, *s)) {
        s->attackerGroundDefense = askNumber(
            console,
            "\nPlease enter the ground defense of the attacking unit:\n>> ",
            "\nThe ground defense must be a number, and it must be zero or "
            "greater.  Please\nreenter:\n>> ");
      }
    } else {
      s->airDefense.push_back(askAirDefenseUnit(s, &airDefenseAsked, console));
    }
    const std::size_t index =
        artillery ? s->artillery.size() - 1 : s->airDefense.size() - 1;
    last = fireSupportUnit(*s, state, index, last);
    console.text.clear();
    renderSupportUnit(family, last, &console.text);
    say(console, console.text);
    // Once the attacker is wiped out, further support cannot add anything.
    if (last.damageCapped) break;
    another = isYes(askYesNo(
        console, artillery
                     ? "\nIs there another defending artillery piece?  "
                       "(Y/N):\n>> "
                     : "\nIs there another supporting unit within range?  "
                       "(Y/N):\n>> "));
  }
}
