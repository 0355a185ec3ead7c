#include "dialogue/support_fire.h"

#include "combat/questions.h"
#include "combat/support_fire.h"
#include "dialogue/ask_field.h"
#include "dialogue/combat_support.h"
#include "report/report.h"

namespace {

// The choice menu of a supporting unit.
template <typename Record>
std::int64_t askSupportChoice(Console& console, const FieldInfo<Record>& info) {
  return askMenu(console, info,
                 {"\n\n******************\n1 for Aggressive Attack, "
                  "\n2 for Overwhelming Attack,"
                  "\n3 for None of the above\n******************\n\n>> "});
}

ArtilleryPiece askArtilleryPiece(Console& console) {
  using namespace artillery_field;
  const auto fields = artilleryFields();
  ArtilleryPiece piece;
  piece.attackValue = askWhole(console, fields[kAttackValue]);
  piece.experience = askWhole(console, fields[kExperience]);
  piece.strength = askWhole(console, fields[kStrength]);
  piece.adjacent = askYesNo(console, fields[kAdjacent]);
  piece.combatSupport = askCombatSupport(console);
  piece.leaderChoice = askSupportChoice(console, fields[kLeaderChoice]);
  return piece;
}

// The airplane's air defense is asked once, for the first fighter.
AirDefenseUnit askAirDefenseUnit(CombatScenario* s, bool* airDefenseAsked,
                                 Console& console) {
  using namespace air_defense_field;
  const auto fields = airDefenseFields();
  AirDefenseUnit unit;
  unit.isFighter = askYesNo(console, fields[kIsFighter]);
  if (isYes(unit.isFighter) && !*airDefenseAsked) {
    s->airplaneAirDefense = askWhole(console, Field::airplaneAirDefense);
    *airDefenseAsked = true;
  }
  unit.attackValue = askWhole(console, fields[kAttackValue]);
  unit.experience = askWhole(console, fields[kExperience]);
  unit.strength = askWhole(console, fields[kStrength]);
  unit.combatSupport = askCombatSupport(console);
  unit.leaderChoice = askSupportChoice(console, fields[kLeaderChoice]);
  return unit;
}

}  // namespace

void askSupportFire(CombatScenario* s, const CombatState& state,
                    Console& console) {
  const SupportFamily family = supportFamilyOf(*s);
  if (family == SupportFamily::none) return;
  const bool artillery = family == SupportFamily::artillery;

  say(console, "\n\nSupport Fire:\n\n");
  bool another = isYes(askYesNo(
      console, artillery ? Field::artillery : Field::airDefense));
  SettledFire last;
  bool airDefenseAsked = false;
  while (another) {
    if (artillery) {
      s->artillery.push_back(askArtilleryPiece(console));
      // In an assault the artillery fires at the ground defense, asked once.
      if (s->artillery.size() == 1 && asks(Field::attackerGroundDefense, *s)) {
        s->attackerGroundDefense = askWhole(console, Field::attackerGroundDefense);
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
