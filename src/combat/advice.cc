#include "combat/advice.h"

#include <algorithm>

#include "combat/questions.h"

namespace {

// A supporting unit silenced, one at a time, then every one of them when
// there are several (one alone silenced is already all of them).
void addSilencing(ChangeKind kind, std::size_t firing,
                  std::vector<Change>* changes) {
  for (std::size_t unit = 1; unit <= firing; ++unit) {
    changes->push_back({kind, static_cast<std::int64_t>(unit)});
  }
  if (firing > 1) changes->push_back({kind, 0});
}

template <typename Unit>
void silence(std::vector<Unit>* units, std::int64_t which) {
  if (which == 0) {
    units->clear();
  } else if (static_cast<std::size_t>(which) <= units->size()) {
    units->erase(units->begin() + (which - 1));
  }
}

}  // namespace

std::vector<Change> changesOf(const CombatScenario& checked) {
  std::vector<Change> changes;
  if (asks(Field::timesAttacked, checked)) {
    const std::int64_t most = fieldInfo(Field::timesAttacked).maximum;
    for (std::int64_t more = 1; more <= kMostSofteningAdvised; ++more) {
      if (checked.timesAttacked <= most - more) {
        changes.push_back({ChangeKind::soften, more});
      }
    }
  }
  // The check keeps only the supporting units that fire.
  if (asks(Field::artillery, checked)) {
    addSilencing(ChangeKind::silenceArtillery, checked.artillery.size(), &changes);
  }
  if (asks(Field::airDefense, checked)) {
    addSilencing(ChangeKind::silenceAirDefense, checked.airDefense.size(), &changes);
  }
  if (asks(Field::attackerInRiver, checked) && isYes(checked.attackerInRiver)) {
    changes.push_back({ChangeKind::leaveRiver, 0});
  }
  if (asks(Field::attackerOutOfFuel, checked) && isYes(checked.attackerOutOfFuel)) {
    changes.push_back({ChangeKind::refuel, 0});
  }
  if (asks(Field::weatherSnowOrRain, checked) &&
      isYes(checked.weatherSnowOrRain)) {
    changes.push_back({ChangeKind::clearWeather, 0});
  }
  if (asks(Field::combatRange, checked)) {
    const std::int64_t farthest =
        std::min(checked.attackerFiringRange, kFarthestAdvisedRange);
    for (std::int64_t range = 1; range <= farthest; ++range) {
      if (range != checked.combatRange) changes.push_back({ChangeKind::range, range});
    }
  }
  return changes;
}

std::optional<Field> changedField(const Change& change) {
  switch (change.kind) {
    case ChangeKind::soften:
      return Field::timesAttacked;
    case ChangeKind::silenceArtillery:
      return Field::artillery;
    case ChangeKind::silenceAirDefense:
      return Field::airDefense;
    case ChangeKind::leaveRiver:
      return Field::attackerInRiver;
    case ChangeKind::refuel:
      return Field::attackerOutOfFuel;
    case ChangeKind::clearWeather:
      return Field::weatherSnowOrRain;
    case ChangeKind::range:
      return Field::combatRange;
    case ChangeKind::asGiven:
    case ChangeKind::preset:
      break;
  }
  return std::nullopt;
}

CombatScenario changedScenario(const CombatScenario& given,
                               const CombatScenario& checked,
                               const Change& change) {
  CombatScenario changed = given;
  switch (change.kind) {
    case ChangeKind::soften:
      changed.timesAttacked = checked.timesAttacked + change.amount;
      break;
    case ChangeKind::silenceArtillery:
      silence(&changed.artillery, change.amount);
      break;
    case ChangeKind::silenceAirDefense:
      silence(&changed.airDefense, change.amount);
      break;
    case ChangeKind::leaveRiver:
      changed.attackerInRiver = answer::kNo;
      break;
    case ChangeKind::refuel:
      changed.attackerOutOfFuel = answer::kNo;
      break;
    case ChangeKind::clearWeather:
      changed.weatherSnowOrRain = answer::kNo;
      break;
    case ChangeKind::range:
      changed.combatRange = change.amount;
      break;
    case ChangeKind::asGiven:
    case ChangeKind::preset:
      break;
  }
  return changed;
}
