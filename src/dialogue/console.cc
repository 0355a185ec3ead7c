#include "dialogue/console.h"

#include <limits>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a number line, re-reading while it is too long.
void readNumberLine(Console& console) {
  if (!readLine(console)) throw InputEnded{};
  while (console.line.size() > kNumberLineLimit) {
    say(console, "\nYou entered too many characters. Please reenter:\n>> ");
    if (!readLine(console)) throw InputEnded{};
  }
}

}  // namespace

void echoAnswer(Console& console) {
  put(&console.out, console.line);
  put(&console.out, "\n");
}

void flushOrFail(Console& console) {
  if (!flushOutput(&console.out)) throw OutputFailed{};
}

bool readLineAcrossReads(Console& console) {
  Input& in = console.in;
  std::string& line = console.lineCopy;
  line.assign(unread(in));
  in.position = in.end;
  for (;;) {
    // Everything printed so far must be out before the program may have to
    // wait for input; while the answer is already waiting (a piped answer
    // file) the output is left to go out in large blocks.  A line editor
    // shows the unfinished last line itself, as its prompt.
    std::string prompt;
    if (in.editor != nullptr) prompt = takePendingLine(&console.out);
    if (mayWait(in)) flushOrFail(console);
    // What the editor shows stands last on the screen.
    if (!prompt.empty()) console.out.lastHandedOn = prompt.back();
    if (!readMore(&in, prompt)) {
      if (in.error != 0) throw InputFailed{in.error};
      console.line = line;
      if (!line.empty()) echoLine(console);
      return !line.empty();
    }
    const std::string_view more = unread(in).substr(0, kLineCapacity - line.size());
    const std::size_t end = more.find('\n');
    line.append(more.substr(0, end));
    in.position += end != std::string_view::npos ? end + 1 : more.size();
    if (end != std::string_view::npos || line.size() == kLineCapacity) {
      console.line = line;
      echoLine(console);
      return true;
    }
  }
}

bool isBlank(char c) {
  // Tab, line feed, vertical tab, form feed and carriage return are 9 to 13.
  return c == ' ' || (c >= '\t' && c <= '\r');
}

std::int64_t convertDecimal(std::string_view line) {
  // The usual answer: nothing but a few digits.
  constexpr std::size_t kSafeDigits = 18;
  if (!line.empty() && line.size() <= kSafeDigits && isDigit(line[0])) {
    std::int64_t value = 0;
    for (const char c : line) {
      if (!isDigit(c)) break;
      value = value * 10 + (c - '0');
    }
    return value;
  }
  std::size_t i = 0;
  while (i < line.size() && isBlank(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '-' || line[i] == '+')) {
    negative = line[i] == '-';
    ++i;
  }
  // Accepted lines have at most nine characters; the bound only keeps a
  // longer line given to this function from running past 64 bits.
  constexpr std::int64_t kBound =
      std::numeric_limits<std::int64_t>::max() / 10 - 9;
  std::int64_t value = 0;
  while (i < line.size() && isDigit(line[i]) && value < kBound) {
    value = value * 10 + (line[i] - '0');
    ++i;
  }
  return negative ? -value : value;
}

namespace {

// The usual answer, nothing but a few digits, converted on the spot.
inline std::int64_t convertLine(std::string_view line) {
  if (line.size() == 1 && isDigit(line[0])) return line[0] - '0';
  if (line.size() == 2 && isDigit(line[0]) && isDigit(line[1])) {
    return (line[0] - '0') * 10 + (line[1] - '0');
  }
  return convertDecimal(line);
}

}  // namespace

std::int64_t readCount(Console& console) {
  readNumberLine(console);
  return convertLine(console.line);
}

std::int64_t readNumber(Console& console) {
  readNumberLine(console);
  const std::string_view line = console.line;
  if (!line.empty() && line[0] == '0') return 0;
  const std::int64_t value = convertLine(line);
  return value == 0 ? -1 : value;
}

char readYesNo(Console& console) {
  if (!readLine(console) || console.line.empty()) return '\0';
  return console.line[0];
}

std::int64_t askCount(Console& console, std::string_view prompt,
                      std::string_view errorText, std::int64_t minimum,
                      std::int64_t maximum) {
  say(console, prompt);
  std::int64_t value = readCount(console);
  while (value < minimum || value > maximum) {
    say(console, errorText);
    value = readCount(console);
  }
  return value;
}

std::int64_t askNumber(Console& console, std::string_view prompt,
                       std::string_view errorText) {
  say(console, prompt);
  std::int64_t value = readNumber(console);
  while (value < 0) {
    say(console, errorText);
    value = readNumber(console);
  }
  return value;
}

char askYesNo(Console& console, std::string_view question) {
  say(console, question);
  return readYesNo(console);
}
