#include "io/input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "io/line_editor.h"

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;

// Drops what has been taken, so that the buffer holds only unread input.
void compact(Input* in) {
  in->buffer.erase(0, in->position);
  in->position = 0;
}

bool readFromFd(Input* in) {
  const std::size_t old = in->buffer.size();
  in->buffer.resize(old + kReadBlock);
  for (;;) {
    const ssize_t got = read(in->fd, in->buffer.data() + old, kReadBlock);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // A descriptor left non-blocking by the caller: wait for input.
      pollfd ready{in->fd, POLLIN, 0};
      poll(&ready, 1, -1);
      continue;
    }
    if (got < 0) {
      in->buffer.resize(old);
      in->error = errno;
      return false;
    }
    in->buffer.resize(old + static_cast<std::size_t>(got));
    return got > 0;
  }
}

// A stream buffer is read one line at a time, so that nothing is taken from
// it before the dialogue needs it.
bool readFromStream(Input* in) {
  bool any = false;
  for (;;) {
    const int c = in->stream->sbumpc();
    if (c == std::char_traits<char>::eof()) return any;
    in->buffer.push_back(static_cast<char>(c));
    any = true;
    if (c == '\n') return true;
  }
}

}  // namespace

Input inputFromFd(int fd) {
  Input in;
  in.fd = fd;
  return in;
}

Input inputFromStream(std::streambuf* stream) {
  Input in;
  in.stream = stream;
  return in;
}

Input inputFromEditor(LineEditor* editor) {
  Input in;
  in.editor = editor;
  return in;
}

bool mayWait(const Input& in) {
  if (in.position < in.buffer.size() || in.ended || in.error != 0) return false;
  if (in.stream != nullptr) return in.stream->in_avail() <= 0;
  if (in.editor != nullptr) return true;
  pollfd ready{in.fd, POLLIN, 0};
  return poll(&ready, 1, 0) <= 0;
}

bool readMore(Input* in, std::string_view prompt) {
  if (in->ended || in->error != 0) return false;
  compact(in);
  bool got = false;
  if (in->stream != nullptr) {
    got = readFromStream(in);
  } else if (in->editor != nullptr) {
    got = readEditedLine(in->editor, prompt, &in->buffer);
  } else if (in->fd >= 0) {
    got = readFromFd(in);
  } else {
    in->error = EBADF;
  }
  if (!got && in->error == 0) in->ended = true;
  return got;
}
