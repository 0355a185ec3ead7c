#include "dialogue/main_loop.h"

#include <cstring>

#include "combat/combat.h"
#include "combat/modifiers.h"
#include "combat/questions.h"
#include "dialogue/ask_field.h"
#include "dialogue/attacker_attributes.h"
#include "dialogue/defender_attributes.h"
#include "dialogue/general_factors.h"
#include "dialogue/preset_choice.h"
#include "dialogue/report_pass.h"
#include "dialogue/softening.h"
#include "dialogue/support_fire.h"
#include "dialogue/terrain_factors.h"
#include "io/output.h"

const std::string_view kBanner =
    "Zelvorn Odds Calculator version 1.1.\n"
    "Predicts the losses and suppression of one combat between two units.\n";

namespace {

void askCloseDefense(CombatScenario* s, Console& console) {
  if (!asks(Field::attackerCloseDefense, *s)) return;
  say(console, "\n\nRugged Defense Factor:\n\n");
  s->attackerCloseDefense = askWhole(console, Field::attackerCloseDefense);
}

void runCombat(Console& console, const DialogueOptions& options) {
  CombatScenario scenario;
  say(console, kBanner);
  const ChosenPresets presets = askPresets(console, options.roster);
  askGeneralFactors(&scenario, console, presets);
  askAttackerAttributes(&scenario, console, presets);
  askDefenderAttributes(&scenario, console, presets);
  askTerrainFactors(&scenario, console);
  askCloseDefense(&scenario, console);
  const CombatState beforeSupport = applyCombatValueModifiers(scenario);
  askSupportFire(&scenario, beforeSupport, console);
  const PreparedCombat prepared = prepareCombat(scenario, beforeSupport);
  reportPass(scenario, prepared, scenario.timesAttacked, console, options);
  offerSofteningRecomputation(scenario, prepared, console, options);
}

// At a terminal, what follows the end of the answers (a message, or the
// shell's prompt) starts on a fresh line.
void endOnFreshLine(Console& console, const DialogueOptions& options) {
  const char last = lastWritten(console.out);
  if (options.outputIsTerminal && last != '\0' && last != '\n') {
    say(console, "\n");
  }
}

void complain(Output& err, std::string_view message) {
  put(&err, kMessagePrefix);
  put(&err, message);
  put(&err, "\n");
  flushOutput(&err);
}

}  // namespace

int runDialogue(Console& console, Output& err, const DialogueOptions& options) {
  try {
    do {
      runCombat(console, options);
    } while (isYes(askYesNo(
        console, "\nWould you like to check the odds of another combat? "
                 "(Y/N)\n>> ")));
    // A typed no has taken the cursor to a fresh line already.
    if (console.in.ended) endOnFreshLine(console, options);
    flushOrFail(console);
    return 0;
  } catch (const InputEnded&) {
    // Whatever was printed goes out before the message.
    endOnFreshLine(console, options);
    if (flushOutput(&console.out)) {
      complain(err, "the input ended before the answer was given");
      return 1;
    }
  } catch (const InputFailed& failure) {
    endOnFreshLine(console, options);
    if (flushOutput(&console.out)) {
      complain(err, std::string("cannot read the answers: ") +
                        std::strerror(failure.error));
      return 2;
    }
  } catch (const SaveFailed& failure) {
    if (flushOutput(&console.out)) {
      complain(err, "cannot write " + options.savePath + ": " +
                        std::strerror(failure.error));
      return 2;
    }
  } catch (const OutputFailed&) {
  }
  complain(err, "the output could not be written");
  return 2;
}

int runOdds(std::istream& in, std::ostream& out, std::ostream& err) {
  Console console;
  console.in = inputFromStream(in.rdbuf());
  console.out = outputToStream(out.rdbuf());
  Output errors = outputToStream(err.rdbuf());
  return runDialogue(console, errors, DialogueOptions{});
}
