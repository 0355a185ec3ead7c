// How the dialogue runs besides its questions and answers.
#ifndef ZELVORN_DIALOGUE_DIALOGUE_OPTIONS_H_
#define ZELVORN_DIALOGUE_DIALOGUE_OPTIONS_H_

#include <string>

#include "io/output.h"
#include "scenario/roster.h"

struct DialogueOptions {
  // Standard output is a terminal: when the input ends, the output ends
  // with a line feed so that what follows starts on a fresh line.
  bool outputIsTerminal = false;
  // Where each computed combat is saved as a scenario, one per line; none
  // when null.  `savePath` names it in messages.
  Output* save = nullptr;
  std::string savePath;
  // The presets that the units of each combat may be taken from by name;
  // with none, no preset is asked for.
  const Roster* roster = nullptr;
};

#endif  // ZELVORN_DIALOGUE_DIALOGUE_OPTIONS_H_
