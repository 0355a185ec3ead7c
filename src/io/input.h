// The program's text input: answers come from a file descriptor, read in
// large blocks, or from a stream buffer, read a line at a time, or from a
// line editor at a terminal, or from a text held whole in memory.  Whoever reads decides when to flush the
// output before a read may wait.
#ifndef ZELVORN_IO_INPUT_H_
#define ZELVORN_IO_INPUT_H_

#include <cstddef>
#include <memory>
#include <streambuf>
#include <string_view>

#include "io/line_editor.h"

struct Input {
  int fd = -1;                       // a file descriptor to read from,
  std::streambuf* stream = nullptr;  // or else a stream buffer,
  LineEditor* editor = nullptr;      // or else a line editor
  std::unique_ptr<char[]> buffer;    // read: [position, end) is not yet taken
  std::size_t capacity = 0;          // of the buffer
  std::size_t position = 0;          // the next character to take
  std::size_t end = 0;
  bool ended = false;                // the end of the input was reached
  int error = 0;                     // errno of a failed read, if any
};

// An input from the file descriptor `fd`, from `stream`, or from a line
// editor.
Input inputFromFd(int fd);
Input inputFromStream(std::streambuf* stream);
Input inputFromEditor(LineEditor* editor);

// An input of `text`, all of it unread at once and followed by the end.  It
// needs no stream buffer, so that a program that reads only texts in memory
// carries no stream code.
Input inputFromText(std::string_view text);

// The characters read and not yet taken.
inline std::string_view unread(const Input& in) {
  return std::string_view(in.buffer.get() + in.position, in.end - in.position);
}

// Takes `count` characters of what is unread.
inline void take(Input* in, std::size_t count) { in->position += count; }

// Adds text to what is unread.
void addInput(Input* in, std::string_view text);

// Whether reading more could have to wait: nothing is left in the buffer and
// no more input is ready at once.
bool mayWait(const Input& in);

// Reads more input into the buffer, waiting for it when none is ready;
// `prompt` is what a line editor shows.  False at the end of the input or
// when reading failed (then `error` is set).
bool readMore(Input* in, std::string_view prompt);

#endif  // ZELVORN_IO_INPUT_H_
