#include "dialogue/console.h"

#include <limits>

void flushOutput(Console& console) {
  console.out.flush();
  if (!console.out) throw OutputFailed{};
}

bool readLine(Console& console, std::string& line) {
  if (!console.out) throw OutputFailed{};
  line.clear();
  std::streambuf* input = console.in.rdbuf();
  if (input == nullptr) {
    flushOutput(console);
    return false;
  }
  while (line.size() < kLineCapacity) {
    // Everything printed so far must be out before the program may have to
    // wait for input; while the answer is already waiting (a piped answer
    // file) the output is left to go out in large blocks.
    if (input->in_avail() <= 0) flushOutput(console);
    const int c = input->sbumpc();
    if (c == std::char_traits<char>::eof()) return !line.empty();
    if (c == '\n') return true;
    line.push_back(static_cast<char>(c));
  }
  // A full buffer leaves the rest of the line, line feed included, for the
  // next read.
  return true;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string readNumberLine(Console& console) {
  std::string line;
  if (!readLine(console, line)) throw InputEnded{};
  while (line.size() > kNumberLineLimit) {
    console.out << "\nYou entered too many characters. Please reenter:\n>> ";
    if (!readLine(console, line)) throw InputEnded{};
  }
  return line;
}

}  // namespace

std::int64_t convertDecimal(const std::string& line) {
  std::size_t i = 0;
  while (i < line.size() && isBlank(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) {
    negative = line[i] == '-';
    ++i;
  }
  // Accepted lines have at most nine characters; the bound only keeps a
  // longer line given to this function from running past 64 bits.
  constexpr std::int64_t kBound = std::numeric_limits<std::int64_t>::max() / 10 - 9;
  std::int64_t value = 0;
  while (i < line.size() && isDigit(line[i]) && value < kBound) {
    value = value * 10 + (line[i] - '0');
    ++i;
  }
  return negative ? -value : value;
}

std::int64_t readCount(Console& console) {
  return convertDecimal(readNumberLine(console));
}

std::int64_t readNumber(Console& console) {
  const std::string line = readNumberLine(console);
  if (!line.empty() && line[0] == '0') return 0;
  const std::int64_t value = convertDecimal(line);
  return value == 0 ? -1 : value;
}

char readYesNo(Console& console) {
  std::string line;
  if (!readLine(console, line) || line.empty()) return '\0';
  return line[0];
}

std::int64_t askCount(Console& console, const char* prompt,
                      const char* errorText, std::int64_t minimum,
                      std::int64_t maximum) {
  console.out << prompt;
  std::int64_t value = readCount(console);
  while (value < minimum || value > maximum) {
    console.out << errorText;
    value = readCount(console);
  }
  return value;
}

std::int64_t askNumber(Console& console, const char* prompt,
                       const char* errorText) {
  console.out << prompt;
  std::int64_t value = readNumber(console);
  while (value < 0) {
    console.out << errorText;
    value = readNumber(console);
  }
  return value;
}

char askYesNo(Console& console, const char* question) {
  console.out << question;
  return readYesNo(console);
}
