// The calculator's entry: the dialogue on the standard streams.
#include <iostream>

#include "dialogue/main_loop.h"

namespace {
// Piped answer files produce much output between two waits for input; a
// large buffer lets it go out in few writes.
char outputBuffer[1 << 16];
}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  std::cout.rdbuf()->pubsetbuf(outputBuffer, sizeof outputBuffer);
  std::cin.tie(nullptr);
  return runOdds(std::cin, std::cout, std::cerr);
}
