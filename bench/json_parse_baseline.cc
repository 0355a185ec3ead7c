// What reading scenario files costs the JSON library alone: every line of
// the file given is parsed with a handler that keeps nothing, so that the
// benchmark can tell the calculator's own work per scenario from the
// library's lexing and parsing of the same text.
//
// Usage: zelvorn-json-baseline [--whole | --read] FILE
// Prints the number of lines that parsed as JSON and of those that did not;
// with --whole, the file is parsed as one text (a roster), not line by line;
// with --read, each line is read into a combat by the calculator's own
// reader instead, every value against its range (what a scenario costs
// before the questions of its combat are settled and it is predicted).
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "files/scenario_reader.h"

namespace {

using Json = nlohmann::json;

// Accepts every event and keeps nothing.
struct NullHandler {
  bool null() { return true; }
  bool boolean(bool) { return true; }
  bool number_integer(Json::number_integer_t) { return true; }
  bool number_unsigned(Json::number_unsigned_t) { return true; }
  bool number_float(Json::number_float_t, const Json::string_t&) { return true; }
  bool string(Json::string_t&) { return true; }
  bool binary(Json::binary_t&) { return true; }
  bool start_object(std::size_t) { return true; }
  bool key(Json::string_t&) { return true; }
  bool end_object() { return true; }
  bool start_array(std::size_t) { return true; }
  bool end_array() { return true; }
  bool parse_error(std::size_t, const std::string&,
                   const nlohmann::detail::exception&) {
    return false;
  }
};

bool readWhole(const char* path, std::string* text) {
  const int fd = open(path, O_RDONLY);
  if (fd < 0) return false;
  char block[1 << 16];
  for (;;) {
    const ssize_t got = read(fd, block, sizeof block);
    if (got < 0) {
      close(fd);
      return false;
    }
    if (got == 0) break;
    text->append(block, static_cast<std::size_t>(got));
  }
  close(fd);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool whole = argc == 3 && std::string_view(argv[1]) == "--whole";
  const bool ours = argc == 3 && std::string_view(argv[1]) == "--read";
  if (argc != 2 && !whole && !ours) {
    std::fputs("usage: zelvorn-json-baseline [--whole | --read] FILE\n", stderr);
    return 2;
  }
  const char* path = argv[argc - 1];
  std::string text;
  if (!readWhole(path, &text)) {
    std::perror(path);
    return 2;
  }
  long parsed = 0;
  long failed = 0;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = whole ? std::string_view::npos : rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (line.empty()) continue;
    NullHandler handler;
    if (ours ? parseScenario(line).errors.told.empty()
                : Json::sax_parse(line.data(), line.data() + line.size(), &handler)) {
      ++parsed;
    } else {
      ++failed;
    }
  }
  std::printf("%ld parsed, %ld failed\n", parsed, failed);
  return failed == 0 ? 0 : 1;
}
