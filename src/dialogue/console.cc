#include "dialogue/console.h"

#include <limits>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Shows the answer after its prompt, as if it had been typed.
void echoLine(Console& console) {
  if (!console.echo) return;
  put(&console.out, console.line);
  put(&console.out, "\n");
}

// Reads a number line, re-reading while it is too long.
void readNumberLine(Console& console) {
  if (!readLine(console)) throw InputEnded{};
  while (console.line.size() > kNumberLineLimit) {
    say(console, "\nYou entered too many characters. Please reenter:\n>> ");
    if (!readLine(console)) throw InputEnded{};
  }
}

}  // namespace

void flushOrFail(Console& console) {
  if (!flushOutput(&console.out)) throw OutputFailed{};
}

bool readLine(Console& console) {
  if (console.out.failed) throw OutputFailed{};
  std::string& line = console.line;
  line.clear();
  Input& in = console.in;
  for (;;) {
    const std::string_view rest = unread(in);
    const std::size_t room = kLineCapacity - line.size();
    const std::string_view taken = rest.substr(0, room);
    const std::size_t lineFeed = taken.find('\n');
    if (lineFeed != std::string_view::npos) {
      line.append(taken.substr(0, lineFeed));
      in.position += lineFeed + 1;
      echoLine(console);
      return true;
    }
    line.append(taken);
    in.position += taken.size();
    // A full line leaves the rest, line feed included, for the next read.
    if (line.size() == kLineCapacity) {
      echoLine(console);
      return true;
    }
    // Everything printed so far must be out before the program may have to
    // wait for input; while the answer is already waiting (a piped answer
    // file) the output is left to go out in large blocks.  A line editor
    // shows the unfinished last line itself, as its prompt.
    std::string prompt;
    if (in.editor != nullptr) prompt = takePendingLine(&console.out);
    if (mayWait(in)) flushOrFail(console);
    if (!readMore(&in, prompt)) {
      if (in.error != 0) throw InputFailed{in.error};
      if (!line.empty()) echoLine(console);
      return !line.empty();
    }
  }
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

std::int64_t convertDecimal(std::string_view line) {
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

std::int64_t readCount(Console& console) {
  readNumberLine(console);
  return convertDecimal(console.line);
}

std::int64_t readNumber(Console& console) {
  readNumberLine(console);
  const std::string& line = console.line;
  if (!line.empty() && line[0] == '0') return 0;
  const std::int64_t value = convertDecimal(line);
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
