// The final figures of a computation pass and the printed odds.
#ifndef ZELVORN_REPORT_REPORT_H_
#define ZELVORN_REPORT_REPORT_H_

#include <cstdint>
#include <ostream>

#include "scenario/combat_scenario.h"

// Limits the predicted figures to what each side can inflict and suffer,
// removes the defender's fire where it cannot fire back, and adds the
// support-fire damage to the attacker's losses.
void applyFinalLimits(CombatScenario& scenario);

// Prints "Also, the attacker is predicted to inflict N suppression." when the
// defender is not wiped out and there is suppression to speak of.
void printSuppressionLine(std::ostream& out, std::int64_t defenderLosses,
                          std::int64_t suppression,
                          std::int64_t defenderStrengthWhole);

// Prints the odds as they would have been: `lead`, the two losses on two
// lines, and the suppression that would have been inflicted when it applies.
void printWouldHaveBeen(std::ostream& out, const char* lead,
                        std::int64_t attackerLosses,
                        std::int64_t defenderLosses, std::int64_t suppression,
                        std::int64_t defenderStrengthWhole);

// Prints the odds block, with the odds without support fire when the
// support fire changed them.
void printOdds(const CombatScenario& scenario, std::ostream& out);

#endif  // ZELVORN_REPORT_REPORT_H_
