#include "dialogue/main_loop.h"

#include "combat/differences.h"
#include "combat/exchange.h"
#include "combat/modifiers.h"
#include "combat/support_fire.h"
#include "dialogue/questionnaires.h"
#include "report/report.h"

const char* const kBanner =
    "Zelvorn Odds Calculator version 1.1.\n"
    "Predicts the losses and suppression of one combat between two units.\n";

void runComputationPass(CombatScenario& s, Console& console) {
  resolveInitiative(s);
  exchangeFire(s);
  resolveFirstStrike(s);
  if (s.ruggedChance > 0) resolveRuggedDefense(s, console);
  applyFinalLimits(s);
  printOdds(s, console.out);
}

namespace {

void runCombat(Console& console) {
  CombatScenario scenario;
  console.out << kBanner;
  askGeneralFactors(scenario, console);
  askAttackerAttributes(scenario, console);
  askDefenderAttributes(scenario, console);
  askTerrainFactors(scenario, console);
  applyCombatValueModifiers(scenario, console);
  runArtillerySupportFire(scenario, console);
  runAirDefenseSupportFire(scenario, console);
  formCombatDifferences(scenario);
  runComputationPass(scenario, console);
  offerSofteningRecomputation(scenario, console);
}

}  // namespace

int runOdds(std::istream& in, std::ostream& out, std::ostream& err) {
  Console console{in, out};
  try {
    do {
      runCombat(console);
    } while (isYes(askYesNo(
        console, "\nWould you like to check the odds of another combat? "
                 "(Y/N)\n>> ")));
    flushOutput(console);
    return 0;
  } catch (const InputEnded&) {
    // Whatever was printed goes out before the message.
    out.flush();
    if (out) {
      err << "zelvorn-odds: the input ended before the answer was given\n";
      return 1;
    }
  } catch (const OutputFailed&) {
  }
  err << "zelvorn-odds: the output could not be written\n";
  return 2;
}
