// Reading answers: one line per answer, after a prompt that has been written
// and flushed.  The readers work on any pair of streams so that whole
// dialogues can run in memory.
#ifndef ZELVORN_DIALOGUE_CONSOLE_H_
#define ZELVORN_DIALOGUE_CONSOLE_H_

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

// The streams of one dialogue.
struct Console {
  std::istream& in;
  std::ostream& out;
};

// Thrown when a number is asked for and the input has ended before the first
// character of the answer: no answer can come any more.
struct InputEnded {};

// Thrown when the output can no longer be written.
struct OutputFailed {};

// The longest line a read takes; the rest of a longer line is the next read.
constexpr std::size_t kLineCapacity = 99;

// The longest line a number reader accepts.
constexpr std::size_t kNumberLineLimit = 9;

// Flushes the output and throws OutputFailed when it could not be written.
void flushOutput(Console& console);

// Reads one line of at most kLineCapacity characters into `line`, consuming
// the line feed only when it ends a shorter line; the output is flushed first
// unless the answer is already waiting in the input.  Throws OutputFailed
// when the output can no longer be written.  Returns false when the input
// ended before the first character.
bool readLine(Console& console, std::string& line);

// Space, tab, line feed, vertical tab, form feed and carriage return.
bool isBlank(char c);

// Converts a line as a decimal number: leading blanks, an optional sign, then
// digits up to the first other character; no digits give 0.
std::int64_t convertDecimal(const std::string& line);

// Reads a number line, re-reading while it has more than nine characters, and
// returns its decimal conversion (0 for text that is not a number).
std::int64_t readCount(Console& console);

// As readCount, but a line starting with the digit 0 gives 0 and any other
// line that converts to 0 gives -1, so that a typed zero can be told from
// text that is not a number.
std::int64_t readNumber(Console& console);

// Reads a line and returns its first character; an empty line or the end of
// the input gives the zero character.
char readYesNo(Console& console);

// Prints `prompt` and reads with readCount until the value lies between
// `minimum` and `maximum`, printing `errorText` before each new read.
std::int64_t askCount(Console& console, const char* prompt,
                      const char* errorText, std::int64_t minimum,
                      std::int64_t maximum);

// Prints `prompt` and reads with readNumber until the value is zero or more,
// printing `errorText` before each new read.
std::int64_t askNumber(Console& console, const char* prompt,
                       const char* errorText);

// Prints a yes/no question and returns the first character of the answer.
char askYesNo(Console& console, const char* question);

#endif  // ZELVORN_DIALOGUE_CONSOLE_H_
