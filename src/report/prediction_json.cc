#include "report/prediction_json.h"

#include <array>
#include <charconv>
#include <string_view>

namespace {

std::string_view familyName(SupportFamily family) {
  switch (family) {
    case SupportFamily::artillery:
      return "artillery";
    case SupportFamily::airDefense:
      return "airDefense";
    case SupportFamily::none:
      break;
  }
  return "none";
}

// `"key":` and a value after it; `first` says whether it opens its object.
void addKey(std::string* json, std::string_view key, bool first = false) {
  if (!first) *json += ',';
  *json += '"';
  *json += key;
  *json += "\":";
}

void addNumber(std::string* json, std::string_view key, std::int64_t value,
               bool first = false) {
  addKey(json, key, first);
  std::array<char, 24> digits;
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value);
  json->append(digits.data(), end.ptr);
}

void addLosses(std::string* json, std::int64_t attackerLosses,
               std::int64_t defenderLosses, std::int64_t defenderSuppression) {
  addNumber(json, "attackerLosses", attackerLosses, true);
  addNumber(json, "defenderLosses", defenderLosses);
  addNumber(json, "defenderSuppression", defenderSuppression);
}

}  // namespace

std::string predictionJsonText(const SupportFire& supportFire,
                               const Prediction& p) {
  std::string json;
  json.reserve(512);
  json += '{';
  addNumber(&json, "timesAttacked", p.timesAttacked, true);

  addKey(&json, "supportFire");
  json += '{';
  addKey(&json, "kind", true);
  json += '"';
  json += familyName(supportFire.family);
  json += '"';
  addKey(&json, "units");
  json += '[';
  bool firstUnit = true;
  for (const SettledFire& unit : supportFire.units) {
    if (!firstUnit) json += ',';
    firstUnit = false;
    json += '{';
    addNumber(&json, "damage", unit.damage, true);
    addNumber(&json, "suppression", unit.suppression);
    addNumber(&json, "damageTotal", unit.damageTotal);
    addNumber(&json, "suppressionTotal", unit.suppressionTotal);
    addKey(&json, "capped");
    json += unit.damageCapped ? "true" : "false";
    json += '}';
  }
  json += ']';
  addNumber(&json, "damageTotal", supportFire.damageTotal);
  addNumber(&json, "suppressionTotal", supportFire.suppressionTotal);
  json += '}';

  addNumber(&json, "ruggedChance", p.ruggedChance);
  addKey(&json, "rugged");
  if (p.ruggedChance > 0) {
    const RuggedOutcome& r = p.rugged;
    json += '{';
    addLosses(&json, r.attackerLosses, r.defenderLosses, r.defenderSuppression);
    addNumber(&json, "attackerLossesNoSupport", r.attackerLossesNoArtillery);
    addNumber(&json, "defenderLossesNoSupport", r.defenderLossesNoSupport);
    addNumber(&json, "defenderSuppressionNoSupport", r.defenderSuppressionNoSupport);
    json += '}';
  } else {
    json += "null";
  }

  const Odds& o = p.odds;
  addKey(&json, "odds");
  json += '{';
  addLosses(&json, o.attackerLosses, o.defenderLosses, o.defenderSuppression);
  json += '}';
  addKey(&json, "oddsNoSupport");
  json += '{';
  addLosses(&json, o.attackerLossesNoSupport, o.defenderLossesNoSupport,
            o.defenderSuppressionNoSupport);
  json += "}}";
  return json;
}

nlohmann::ordered_json predictionJson(const SupportFire& supportFire,
                                      const Prediction& prediction) {
  return nlohmann::ordered_json::parse(predictionJsonText(supportFire, prediction));
}
