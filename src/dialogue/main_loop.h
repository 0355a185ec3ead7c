// The calculator's dialogue as a whole: combat after combat until the user
// declines another one.
#ifndef ZELVORN_DIALOGUE_MAIN_LOOP_H_
#define ZELVORN_DIALOGUE_MAIN_LOOP_H_

#include <istream>
#include <ostream>
#include <string_view>

#include "dialogue/console.h"
#include "dialogue/dialogue_options.h"
#include "io/output.h"

// The banner printed at the start of every combat.
extern const std::string_view kBanner;

// Runs the dialogue and returns the exit status: 0 when the user declines
// another combat, 1 when the input ends while a number is asked, 2 when the
// input cannot be read or the output cannot be written.  A one-line message
// goes to `err` in the last cases, after everything printed before it.
int runDialogue(Console& console, Output& err, const DialogueOptions& options);

// The dialogue over streams, as tests and the fuzzer run it.
int runOdds(std::istream& in, std::ostream& out, std::ostream& err);

#endif  // ZELVORN_DIALOGUE_MAIN_LOOP_H_
