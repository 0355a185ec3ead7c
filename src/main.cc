// The calculator's entry: the dialogue on the standard streams.
#include <unistd.h>

#include "dialogue/main_loop.h"

int main() {
  Console console;
  console.in = inputFromFd(STDIN_FILENO);
  console.out = outputToFd(STDOUT_FILENO);
  Output err = outputToFd(STDERR_FILENO);
  return runDialogue(console, err, DialogueOptions{});
}
