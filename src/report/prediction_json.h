// A prediction as JSON, every figure named, for tools and the web page.
#ifndef ZELVORN_REPORT_PREDICTION_JSON_H_
#define ZELVORN_REPORT_PREDICTION_JSON_H_

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

#include "combat/prediction.h"

// The prediction as a JSON object: the support fire unit by unit with its
// running totals, the number of times attacked, the rugged-defense chance
// and outcome (null when none is possible), the odds and the odds without
// support fire.
nlohmann::ordered_json predictionJson(const SupportFire& supportFire,
                                      const Prediction& prediction);

// A row of a comparison as --compare --json writes it: the preset's name,
// then the prediction as predictionJson gives it.
nlohmann::ordered_json compareRowJson(std::string_view preset,
                                      const SupportFire& supportFire,
                                      const Prediction& prediction);

// The row of a preset that does not fit the scenario: its name, and the
// field and message of the reason, as {"preset", "error": {"field",
// "message"}}.
nlohmann::ordered_json compareRowJson(std::string_view preset,
                                      std::string_view field,
                                      std::string_view message);

#endif  // ZELVORN_REPORT_PREDICTION_JSON_H_
