// Runs the whole calculator on arbitrary bytes as its answers.  Besides the
// sanitizers, it checks the promises of the program as a function: every run
// ends, with status 0 (the dialogue was declined or ran out at a yes/no
// question) or 1 (the input ended while a number was asked, with exactly one
// line on the error stream); memory streams never fail, so never status 2.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "dialogue/main_loop.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::istringstream in(
      std::string(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  std::ostringstream err;
  const int status = runOdds(in, out, err);
  const std::string message = err.str();
  const bool oneLine = !message.empty() && message.back() == '\n' &&
                       message.find('\n') == message.size() - 1;
  if (status == 0 && !message.empty()) std::abort();
  if (status == 1 && !oneLine) std::abort();
  if (status != 0 && status != 1) std::abort();
  return 0;
}
