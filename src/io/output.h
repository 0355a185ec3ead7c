// The program's text output: one buffer of 64 KiB, handed on when it is
// full and whenever the caller flushes (before any wait for input and
// before anything goes to standard error).  Writes to a file descriptor, or
// to a stream buffer where a whole run is kept in memory.
#ifndef ZELVORN_IO_OUTPUT_H_
#define ZELVORN_IO_OUTPUT_H_

#include <cstddef>
#include <cstdint>
#include <streambuf>
#include <string>
#include <string_view>

constexpr std::size_t kOutputBufferSize = 64 * 1024;

struct Output {
  int fd = -1;                       // a file descriptor to write to,
  std::streambuf* stream = nullptr;  // or else a stream buffer
  std::string text;                  // written but not yet handed on
  bool failed = false;               // a write failed: nothing more goes out
  int error = 0;                     // errno of the failed write, if any
  bool anything = false;             // something has been written at all
  char last = '\0';                  // the last character written
};

// An output to the file descriptor `fd`, or to `stream`.
Output outputToFd(int fd);
Output outputToStream(std::streambuf* stream);

// Appends text; a full buffer is handed on.  Once a write has failed, text
// is dropped.
void put(Output* out, std::string_view text);
void putNumber(Output* out, std::int64_t value);

// Hands everything written so far on.  False when this or any earlier write
// failed.
bool flushOutput(Output* out);

// The text written after the last line feed and not yet handed on: taken
// out of the buffer (a line editor shows it as its prompt).
std::string takePendingLine(Output* out);

#endif  // ZELVORN_IO_OUTPUT_H_
