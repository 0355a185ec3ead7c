// The program's text output: one buffer of 64 KiB, handed on when it is
// full and whenever the caller flushes (before any wait for input and
// before anything goes to standard error).  Writes to a file descriptor, to
// a stream buffer, or to a string where a whole run is kept in memory.
#ifndef ZELVORN_IO_OUTPUT_H_
#define ZELVORN_IO_OUTPUT_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <streambuf>
#include <string>
#include <string_view>

constexpr std::size_t kOutputBufferSize = 64 * 1024;

struct Output {
  int fd = -1;                       // a file descriptor to write to,
  std::streambuf* stream = nullptr;  // or else a stream buffer,
  std::string* text = nullptr;       // or else a string that it is added to
  std::unique_ptr<char[]> buffer;    // kOutputBufferSize characters
  std::size_t used = 0;              // written but not yet handed on
  bool failed = false;               // a write failed: nothing more goes out
  int error = 0;                     // errno of the failed write, if any
  char lastHandedOn = '\0';          // the last character handed on, if any
};

// An output to the file descriptor `fd`, or to `stream`.
Output outputToFd(int fd);
Output outputToStream(std::streambuf* stream);

// An output that adds to `text`.  It needs no stream buffer, so that a
// program that only keeps its output in memory carries no stream code.
Output outputToString(std::string* text);

// Hands everything written so far on.  False when this or any earlier write
// failed.
bool flushOutput(Output* out);

// Appends text that does not fit in what is left of the buffer.
void putLong(Output* out, std::string_view text);

// Appends text; a full buffer is handed on first.  Once a write has failed,
// text is dropped.
inline void put(Output* out, std::string_view text) {
  if (text.size() <= kOutputBufferSize - out->used) {
    std::memcpy(out->buffer.get() + out->used, text.data(), text.size());
    out->used += text.size();
    return;
  }
  putLong(out, text);
}

void putNumber(Output* out, std::int64_t value);

// The last character written, or the zero character when nothing was.
inline char lastWritten(const Output& out) {
  return out.used == 0 ? out.lastHandedOn : out.buffer[out.used - 1];
}

// The text written after the last line feed and not yet handed on: taken
// out of the buffer (a line editor shows it as its prompt).
std::string takePendingLine(Output* out);

#endif  // ZELVORN_IO_OUTPUT_H_
