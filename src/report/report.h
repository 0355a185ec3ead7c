// The result texts of the dialogue, rendered from a prediction: each
// supporting unit's lines, the rugged-defense lines and the odds.  Text is
// appended to a string, so that a caller decides where it goes.
#ifndef ZELVORN_REPORT_REPORT_H_
#define ZELVORN_REPORT_REPORT_H_

#include <cstdint>
#include <string>

#include "combat/prediction.h"

// Appends `value` in plain decimal digits.
void appendNumber(std::string* out, std::int64_t value);

// The lines of one supporting unit of the given family: what the unit is
// predicted to do and, when the totals differ from it and no cap was
// reached, what all units so far are predicted to do.
void renderSupportUnit(SupportFamily family, const SettledFire& fire,
                       std::string* out);

// The chance of a rugged defense and, unless it is certain, the outcome
// under one; nothing when no rugged defense is possible.
void renderRuggedDefense(const Prediction& prediction, std::string* out);

// The odds block between its two separators, with the odds without support
// fire when the support fire changed them.
void renderOdds(const Prediction& prediction, std::string* out);

// The rugged-defense lines and the odds: what one computation pass prints.
void renderPass(const Prediction& prediction, std::string* out);

// Every supporting unit's lines, in order.
void renderSupportFire(const SupportFire& supportFire, std::string* out);

// Every result text of a combat in the dialogue's order: each supporting
// unit's lines, then what the pass prints.
void renderPrediction(const SupportFire& supportFire,
                      const Prediction& prediction, std::string* out);

#endif  // ZELVORN_REPORT_REPORT_H_
