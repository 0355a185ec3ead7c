#include "report/scenario_json.h"

#include <nlohmann/json.hpp>

#include "combat/questions.h"

namespace {

using Json = nlohmann::ordered_json;

Json yesNoValue(char answer) {
  if (isYes(answer)) return true;
  if (isNo(answer)) return false;
  return nullptr;
}

// A menu's answer as the menu words it; any other number as it is.
template <typename Info>
Json wholeValue(const Info& info, std::int64_t value) {
  if (value >= 1 && static_cast<std::size_t>(value) <= info.options.size()) {
    return std::string(info.options[static_cast<std::size_t>(value) - 1].word);
  }
  return value;
}

// The answers of one record (the combat, a piece or a unit) for the fields
// that `asked` lets through, grouped by their group names.
template <typename Record, typename Fields, typename Asked>
void addAnswers(const Record& record, const Fields& fields, Asked asked,
                bool grouped, Json* json) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto& info = fields[i];
    if (info.kind == FieldKind::units || !asked(i)) continue;
    Json& place = grouped && info.group[0] != '\0' ? (*json)[info.group] : *json;
    switch (info.kind) {
      case FieldKind::whole:
        place[info.name] = wholeValue(info, record.*info.whole);
        break;
      case FieldKind::yesNo:
        place[info.name] = yesNoValue(record.*info.yesNo);
        break;
      case FieldKind::bars:
        place[info.name] = record.*info.bars;
        break;
      case FieldKind::units:
        break;
    }
  }
}

template <typename Unit, typename Fields>
Json unitList(const std::vector<Unit>& units, std::size_t count,
              const Fields& fields) {
  Json list = Json::array();
  for (std::size_t i = 0; i < count && i < units.size(); ++i) {
    Json unit = Json::object();
    addAnswers(units[i], fields, [](std::size_t) { return true; }, false, &unit);
    list.push_back(std::move(unit));
  }
  return list;
}

}  // namespace

std::string scenarioJson(const CombatScenario& s) {
  return scenarioObject(s).dump();
}

nlohmann::ordered_json scenarioObject(const CombatScenario& s) {
  Json json = Json::object();
  const auto fields = scenarioFields();
  const auto asked = [&s](std::size_t i) {
    return asks(static_cast<Field>(i), s);
  };
  // The groups stand in the order of the dialogue, the lists of supporting
  // units where their phase comes.
  addAnswers(s, fields.first(static_cast<std::size_t>(Field::artillery)),
             asked, true, &json);
  const std::size_t firing = supportUnitsFiring(s);
  if (asks(Field::artillery, s)) {
    json["artillery"] = unitList(s.artillery, firing, artilleryFields());
  }
  if (asks(Field::attackerGroundDefense, s)) {
    json["attackerGroundDefense"] = s.attackerGroundDefense;
  }
  if (asks(Field::airDefense, s)) {
    json["airDefense"] = unitList(s.airDefense, firing, airDefenseFields());
  }
  if (asks(Field::airplaneAirDefense, s)) {
    json["airplaneAirDefense"] = s.airplaneAirDefense;
  }
  if (asks(Field::timesAttacked, s)) json["timesAttacked"] = s.timesAttacked;
  return json;
}

nlohmann::ordered_json supportUnitsObject(const CombatScenario& s, Field list) {
  if (!asks(list, s)) return Json::array();
  const std::size_t firing = supportUnitsFiring(s);
  return list == Field::artillery ? unitList(s.artillery, firing, artilleryFields())
                                  : unitList(s.airDefense, firing, airDefenseFields());
}
