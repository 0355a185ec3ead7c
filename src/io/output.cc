#include "io/output.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

namespace {

bool writeAll(Output* out, const char* data, std::size_t size) {
  if (out->text != nullptr) {
    out->text->append(data, size);
    return true;
  }
  if (out->stream != nullptr) {
    const auto wanted = static_cast<std::streamsize>(size);
    return out->stream->sputn(data, wanted) == wanted &&
           out->stream->pubsync() == 0;
  }
  while (size > 0) {
    const ssize_t written = write(out->fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        // A descriptor left non-blocking by the caller: wait until it takes
        // more.
        pollfd ready{out->fd, POLLOUT, 0};
        poll(&ready, 1, -1);
        continue;
      }
      out->error = errno;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

Output outputWithBuffer() {
  Output out;
  // Left uninitialized: nothing is read from it before it is written.
  out.buffer.reset(new char[kOutputBufferSize]);
  return out;
}

}  // namespace

Output outputToFd(int fd) {
  Output out = outputWithBuffer();
  out.fd = fd;
  return out;
}

Output outputToStream(std::streambuf* stream) {
  Output out = outputWithBuffer();
  out.stream = stream;
  return out;
}

Output outputToString(std::string* text) {
  Output out = outputWithBuffer();
  out.text = text;
  return out;
}

void putLong(Output* out, std::string_view text) {
  flushOutput(out);
  if (text.size() <= kOutputBufferSize) {
    std::memcpy(out->buffer.get(), text.data(), text.size());
    out->used = text.size();
    return;
  }
  // Longer than the whole buffer: straight through.
  if (!out->failed) {
    out->lastHandedOn = text.back();
    if (!writeAll(out, text.data(), text.size())) out->failed = true;
  }
}

void putNumber(Output* out, std::int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  put(out, std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

bool flushOutput(Output* out) {
  if (!out->failed && out->stream == nullptr && out->text == nullptr && out->fd < 0) {
    out->failed = true;
  }
  if (out->failed) {
    out->used = 0;
    return false;
  }
  if (out->used > 0) out->lastHandedOn = out->buffer[out->used - 1];
  if (out->used > 0 || out->stream != nullptr) {
    if (!writeAll(out, out->buffer.get(), out->used)) out->failed = true;
    out->used = 0;
  }
  return !out->failed;
}

std::string takePendingLine(Output* out) {
  const std::string_view written(out->buffer.get(), out->used);
  const std::size_t lineFeed = written.rfind('\n');
  const std::size_t start = lineFeed == std::string_view::npos ? 0 : lineFeed + 1;
  std::string pending(written.substr(start));
  out->used = start;
  return pending;
}
