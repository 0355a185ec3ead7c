// Reading answers: one line per answer, after a prompt that has been handed
// on to the screen.  The readers work on any input and output, so that
// whole dialogues can run in memory.
#ifndef ZELVORN_DIALOGUE_CONSOLE_H_
#define ZELVORN_DIALOGUE_CONSOLE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "io/input.h"
#include "io/output.h"

// The input and output of one dialogue.
struct Console {
  Input in;
  Output out;
  bool echo = false;  // print each answer after its prompt
  // The answer just read: a view into the input, or into `lineCopy` when it
  // had to be pieced together from more than one read.  Valid until the
  // next read.
  std::string_view line;
  std::string lineCopy;
  std::string text;  // result texts are rendered here before they are printed
};

// Thrown when a number is asked for and the input has ended before the first
// character of the answer: no answer can come any more.
struct InputEnded {};

// Thrown when the input cannot be read; `error` is the errno.
struct InputFailed {
  int error;
};

// Thrown when the output can no longer be written.
struct OutputFailed {};

// The longest line a read takes; the rest of a longer line is the next read.
constexpr std::size_t kLineCapacity = 99;

// The longest line a number reader accepts.
constexpr std::size_t kNumberLineLimit = 9;

// Prints `text`.
inline void say(Console& console, std::string_view text) {
  put(&console.out, text);
}

// Hands the output on; throws OutputFailed when it could not be written.
void flushOrFail(Console& console);

// Shows the answer just read after its prompt, as if it had been typed.
void echoAnswer(Console& console);

inline void echoLine(Console& console) {
  if (console.echo) echoAnswer(console);
}

// The slow way of readLine: the line goes on past what has been read, so it
// is pieced together in `lineCopy`, reading more as needed.
bool readLineAcrossReads(Console& console);

// Reads one line of at most kLineCapacity characters as `console.line`,
// consuming the line feed only when it ends a shorter line; the output is
// handed on first when the read may have to wait.  Returns false when the
// input ended before the first character.  Throws OutputFailed once the
// output has failed and InputFailed when the input cannot be read.
inline bool readLine(Console& console) {
  if (console.out.failed) throw OutputFailed{};
  Input& in = console.in;
  // Most lines stand whole in what has been read: they are taken in place.
  const char* const start = in.buffer.get() + in.position;
  const std::size_t available = in.end - in.position;
  const std::size_t window =
      available < kLineCapacity ? available : kLineCapacity;
  for (std::size_t i = 0; i < window; ++i) {
    if (start[i] == '\n') {
      console.line = std::string_view(start, i);
      in.position += i + 1;
      echoLine(console);
      return true;
    }
  }
  // A full line leaves the rest, line feed included, for the next read.
  if (window == kLineCapacity) {
    console.line = std::string_view(start, window);
    in.position += window;
    echoLine(console);
    return true;
  }
  return readLineAcrossReads(console);
}

// Space, tab, line feed, vertical tab, form feed and carriage return.
bool isBlank(char c);

// Converts a line as a decimal number: leading blanks, an optional sign, then
// digits up to the first other character; no digits give 0.
std::int64_t convertDecimal(std::string_view line);

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
std::int64_t askCount(Console& console, std::string_view prompt,
                      std::string_view errorText, std::int64_t minimum,
                      std::int64_t maximum);

// Prints `prompt` and reads with readNumber until the value is zero or more,
// printing `errorText` before each new read.
std::int64_t askNumber(Console& console, std::string_view prompt,
                       std::string_view errorText);

// Prints a yes/no question and returns the first character of the answer.
char askYesNo(Console& console, std::string_view question);

#endif  // ZELVORN_DIALOGUE_CONSOLE_H_
