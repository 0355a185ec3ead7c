// A prediction as JSON, every figure named, for tools and the web page.
#ifndef ZELVORN_REPORT_PREDICTION_JSON_H_
#define ZELVORN_REPORT_PREDICTION_JSON_H_

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

#include "combat/prediction.h"

// The prediction as one line of JSON, an object (no line feed): the support
// fire unit by unit with its running totals, the number of times attacked,
// the rugged-defense chance and outcome (null when none is possible), the
// odds and the odds without support fire.  Written directly, as the JSON
// library would write the same object.
std::string predictionJsonText(const SupportFire& supportFire,
                               const Prediction& prediction);

// The same object as the JSON library's value, for a document that holds
// it.
nlohmann::ordered_json predictionJson(const SupportFire& supportFire,
                                      const Prediction& prediction);

#endif  // ZELVORN_REPORT_PREDICTION_JSON_H_
