#include "io/output.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

namespace {

bool writeAll(Output* out, const char* data, std::size_t size) {
  if (out->stream != nullptr) {
    const auto wanted = static_cast<std::streamsize>(size);
    if (out->stream->sputn(data, wanted) != wanted || out->stream->pubsync() != 0) {
      return false;
    }
    return true;
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

}  // namespace

Output outputToFd(int fd) {
  Output out;
  out.fd = fd;
  out.text.reserve(kOutputBufferSize);
  return out;
}

Output outputToStream(std::streambuf* stream) {
  Output out;
  out.stream = stream;
  out.text.reserve(kOutputBufferSize);
  return out;
}

void put(Output* out, std::string_view text) {
  if (out->failed || text.empty()) return;
  out->text.append(text);
  out->anything = true;
  out->last = text.back();
  if (out->text.size() >= kOutputBufferSize) flushOutput(out);
}

void putNumber(Output* out, std::int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  put(out, std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

bool flushOutput(Output* out) {
  if (out->failed) return false;
  if (out->stream == nullptr && out->fd < 0) {
    out->failed = true;
    return false;
  }
  if (!out->text.empty() || out->stream != nullptr) {
    if (!writeAll(out, out->text.data(), out->text.size())) out->failed = true;
    out->text.clear();
  }
  return !out->failed;
}

std::string takePendingLine(Output* out) {
  const std::size_t lineFeed = out->text.rfind('\n');
  const std::size_t start = lineFeed == std::string::npos ? 0 : lineFeed + 1;
  std::string pending = out->text.substr(start);
  out->text.erase(start);
  return pending;
}
