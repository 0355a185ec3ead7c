#include "report/prediction_json.h"

namespace {

using Json = nlohmann::ordered_json;

const char* familyName(SupportFamily family) {
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

Json lossesJson(std::int64_t attackerLosses, std::int64_t defenderLosses,
                std::int64_t defenderSuppression) {
  Json json = Json::object();
  json["attackerLosses"] = attackerLosses;
  json["defenderLosses"] = defenderLosses;
  json["defenderSuppression"] = defenderSuppression;
  return json;
}

}  // namespace

Json predictionJson(const SupportFire& supportFire, const Prediction& p) {
  Json json = Json::object();
  json["timesAttacked"] = p.timesAttacked;

  Json fire = Json::object();
  fire["kind"] = familyName(supportFire.family);
  Json units = Json::array();
  for (const SettledFire& unit : supportFire.units) {
    Json settled = Json::object();
    settled["damage"] = unit.damage;
    settled["suppression"] = unit.suppression;
    settled["damageTotal"] = unit.damageTotal;
    settled["suppressionTotal"] = unit.suppressionTotal;
    settled["capped"] = unit.damageCapped;
    units.push_back(std::move(settled));
  }
  fire["units"] = std::move(units);
  fire["damageTotal"] = supportFire.damageTotal;
  fire["suppressionTotal"] = supportFire.suppressionTotal;
  json["supportFire"] = std::move(fire);

  json["ruggedChance"] = p.ruggedChance;
  if (p.ruggedChance > 0) {
    const RuggedOutcome& r = p.rugged;
    Json rugged = lossesJson(r.attackerLosses, r.defenderLosses,
                             r.defenderSuppression);
    rugged["attackerLossesNoSupport"] = r.attackerLossesNoArtillery;
    rugged["defenderLossesNoSupport"] = r.defenderLossesNoSupport;
    rugged["defenderSuppressionNoSupport"] = r.defenderSuppressionNoSupport;
    json["rugged"] = std::move(rugged);
  } else {
    json["rugged"] = nullptr;
  }

  const Odds& o = p.odds;
  json["odds"] =
      lossesJson(o.attackerLosses, o.defenderLosses, o.defenderSuppression);
  json["oddsNoSupport"] =
      lossesJson(o.attackerLossesNoSupport, o.defenderLossesNoSupport,
                 o.defenderSuppressionNoSupport);
  return json;
}

Json compareRowJson(std::string_view preset, const SupportFire& supportFire,
                    const Prediction& prediction) {
  Json json = Json::object();
  json["preset"] = preset;
  json.update(predictionJson(supportFire, prediction));
  return json;
}

Json compareRowJson(std::string_view preset, std::string_view field,
                    std::string_view message) {
  Json json = Json::object();
  json["preset"] = preset;
  json["error"] = {{"field", field}, {"message", message}};
  return json;
}
