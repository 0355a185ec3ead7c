// The calculator's entry: the dialogue on the standard streams.
#include <iostream>

#include "dialogue/main_loop.h"

int main() {
  // Unsynchronised streams keep their own buffers, so a piped answer file
  // gets its output in large blocks; the dialogue flushes before any wait.
  std::ios::sync_with_stdio(false);
  std::cin.tie(nullptr);
  return runOdds(std::cin, std::cout, std::cerr);
}
