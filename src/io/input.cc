#include "io/input.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;

// Drops what has been taken, so that the buffer begins with unread input.
void compact(Input* in) {
  const std::size_t left = in->end - in->position;
  if (left > 0 && in->position > 0) {
    std::memmove(in->buffer.get(), in->buffer.get() + in->position, left);
  }
  in->position = 0;
  in->end = left;
}

// Makes room for `count` more characters after the unread ones.  The
// buffer is not filled in advance: only what is read into it is looked at.
void makeRoom(Input* in, std::size_t count) {
  if (in->capacity - in->end >= count) return;
  const std::size_t capacity = std::max(in->end + count, 2 * in->capacity);
  std::unique_ptr<char[]> larger(new char[capacity]);
  if (in->end > 0) std::memcpy(larger.get(), in->buffer.get(), in->end);
  in->buffer = std::move(larger);
  in->capacity = capacity;
}

bool readFromFd(Input* in) {
  makeRoom(in, kReadBlock);
  for (;;) {
    const ssize_t got = read(in->fd, in->buffer.get() + in->end, kReadBlock);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // A descriptor left non-blocking by the caller: wait for input.
      pollfd ready{in->fd, POLLIN, 0};
      poll(&ready, 1, -1);
      continue;
    }
    if (got < 0) {
      in->error = errno;
      return false;
    }
    in->end += static_cast<std::size_t>(got);
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
    makeRoom(in, 1);
    in->buffer[in->end++] = static_cast<char>(c);
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

Input inputFromText(std::string_view text) {
  Input in;
  addInput(&in, text);
  in.ended = true;
  return in;
}

void addInput(Input* in, std::string_view text) {
  // An empty text may have no data at all, and no buffer may be made yet:
  // memcpy must not be given either.
  if (text.empty()) return;
  makeRoom(in, text.size());
  std::memcpy(in->buffer.get() + in->end, text.data(), text.size());
  in->end += text.size();
}

bool mayWait(const Input& in) {
  if (in.position < in.end || in.ended || in.error != 0) return false;
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
    const EditedLine line = readEditedLine(in->editor, prompt);
    if (!line.ended) addInput(in, line.text);
    in->error = line.error;
    got = !line.ended;
  } else if (in->fd >= 0) {
    got = readFromFd(in);
  } else {
    in->error = EBADF;
  }
  if (!got && in->error == 0) in->ended = true;
  return got;
}
