// The calculator as a whole: combat after combat until the user declines
// another one.
#ifndef ZELVORN_DIALOGUE_MAIN_LOOP_H_
#define ZELVORN_DIALOGUE_MAIN_LOOP_H_

#include <istream>
#include <ostream>

#include "dialogue/console.h"
#include "scenario/combat_scenario.h"

// The banner printed at the start of every combat.
extern const char* const kBanner;

// Runs the dialogue on the given streams and returns the exit status: 0 when
// the user declines another combat, 1 when the input ends while a number is
// asked, 2 when the output cannot be written.  A one-line message goes to
// `err` in the last two cases.
int runOdds(std::istream& in, std::ostream& out, std::ostream& err);

// One computation pass: initiative, exchange of fire, first strike, the
// rugged-defense outcome when one is possible, and the printed odds.
void runComputationPass(CombatScenario& scenario, Console& console);

// After the report, recomputes the same combat for other numbers of times
// the defender has been attacked, for as long as the user asks.
void offerSofteningRecomputation(CombatScenario& scenario, Console& console);

#endif  // ZELVORN_DIALOGUE_MAIN_LOOP_H_
