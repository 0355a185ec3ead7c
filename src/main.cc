// The calculator's entry: the dialogue on the standard streams.
#include <iostream>

#include "dialogue/main_loop.h"

int main() {
  std::ios::sync_with_stdio(false);
  return runOdds(std::cin, std::cout, std::cerr);
}
