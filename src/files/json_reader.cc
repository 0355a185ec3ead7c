#include "files/json_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <optional>

#include "io/input.h"
#include "scenario/combat_scenario.h"
#include "scenario/scenario_fields.h"

namespace {

using Json = nlohmann::json;

// Reads the text for the JSON library and keeps where the library stands,
// so that each token can be placed in the text.
struct TrackedChar {
  using iterator_category = std::forward_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  const char* at = nullptr;
  const char** reached = nullptr;

  reference operator*() const { return *at; }
  TrackedChar& operator++() {
    *reached = ++at;
    return *this;
  }
  TrackedChar operator++(int) {
    TrackedChar before = *this;
    ++*this;
    return before;
  }
  bool operator==(const TrackedChar& other) const { return at == other.at; }
};

// Takes the library's events as tokens.  The library calls these by name.
struct Tokenizer {
  JsonText* out = nullptr;
  std::string_view parsed;        // the text the library reads
  const char* reached = nullptr;  // the first byte it has not read
  std::vector<std::size_t> open;  // the objects and lists not yet ended
  const JsonDocument* document = nullptr;
  // The library refused a number too large for a double: the text is
  // valid JSON, and is read again with that number out of range.
  bool numberOverflow = false;

  std::size_t readSoFar() const {
    return static_cast<std::size_t>(reached - parsed.data());
  }

  // The last byte of the token just read: a number ends one byte before
  // (the library reads one past it to find its end, unless the text ends
  // with its last digit).
  std::uint32_t lastByte(bool number) const {
    std::size_t end = readSoFar();
    const bool atEnd = end == parsed.size() && end > 0 &&
                       parsed[end - 1] >= '0' && parsed[end - 1] <= '9';
    if (number && !atEnd) --end;
    return static_cast<std::uint32_t>(end > 0 ? end - 1 : 0);
  }

  bool add(JsonKind kind, std::uint32_t offset, std::int64_t value = 0,
           bool fits = true) {
    JsonToken& token = out->tokens.emplace_back();
    token.kind = kind;
    token.offset = offset;
    token.value = value;
    token.fits = fits;
    return true;
  }

  // Keeps a word where it stands in the text when it holds no escape, and
  // gives the offset of its opening quotation mark.
  std::size_t addWord(JsonKind kind, const std::string& word, bool atOpening) {
    const std::size_t closing = readSoFar() > 0 ? readSoFar() - 1 : 0;
    const std::size_t size = word.size();
    std::size_t opening = closing;
    bool plain = false;
    if (closing > size) {
      opening = closing - size - 1;
      // A word whose text stands as read between two quotation marks holds
      // no escape: an escaped quotation mark would have made it longer.
      plain = parsed[opening] == '"' &&
              std::memcmp(parsed.data() + opening + 1, word.data(), size) == 0;
    }
    if (!plain && atOpening) {
      opening = closing;
      while (opening > 0) {
        --opening;
        if (parsed[opening] != '"') continue;
        std::size_t backslashes = 0;
        while (opening > backslashes && parsed[opening - 1 - backslashes] == '\\') {
          ++backslashes;
        }
        if (backslashes % 2 == 0) break;
      }
    }
    std::size_t at = opening + 1;
    if (!plain) {
      at = out->escapedWords.size();
      out->escapedWords += word;
    }
    add(kind, static_cast<std::uint32_t>(atOpening ? opening : closing),
        static_cast<std::int64_t>(at | (static_cast<std::uint64_t>(size) << 32)));
    out->tokens.back().escaped = !plain;
    return opening;
  }

  bool null() { return add(JsonKind::null, lastByte(false)); }
  bool boolean(bool yes) {
    return add(yes ? JsonKind::yes : JsonKind::no, lastByte(false));
  }
  bool number_integer(std::int64_t value) {
    return add(JsonKind::number, lastByte(true), value);
  }
  bool number_unsigned(std::uint64_t value) {
    const WholeNumber number = wholeFromUnsigned(value);
    return add(JsonKind::number, lastByte(true), number.value, number.fits);
  }
  bool number_float(double value, const std::string&) {
    const std::optional<WholeNumber> number = wholeFromFloat(value);
    if (!number) return add(JsonKind::fraction, lastByte(true));
    return add(JsonKind::number, lastByte(true), number->value, number->fits);
  }
  bool string(std::string& word) {
    addWord(JsonKind::text, word, false);
    return true;
  }
  bool binary(Json::binary_t&) { return add(JsonKind::null, lastByte(false)); }
  bool key(std::string& name) {
    addWord(JsonKind::name, name, true);
    return true;
  }
  bool start_object(std::size_t) { return opening(JsonKind::object); }
  bool start_array(std::size_t) { return opening(JsonKind::list); }
  bool end_object() { return closing(); }
  bool end_array() { return closing(); }

  bool opening(JsonKind kind) {
    open.push_back(out->tokens.size());
    return add(kind, lastByte(false));
  }
  bool closing() {
    out->tokens[open.back()].value = static_cast<std::int64_t>(out->tokens.size());
    open.pop_back();
    return add(JsonKind::end, lastByte(false));
  }

  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception& error) {
    numberOverflow = error.id == kJsonNumberOverflow;
    LinePlacer placer{parsed};
    Problem& problem = out->notJson;
    problem.field = std::string(document->name);
    problem.message = "not valid JSON: " + parseErrorText(error.what()) +
                      " (allowed: one JSON object)";
    problem.place = placeAt(&placer, position > 0 ? position - 1 : 0);
    problem.showColumn = document->columns;
    problem.reason = Reason::notJson;
    return false;
  }
};

bool isBlank(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

// Reads a text that is plain JSON: texts of printable ASCII without
// escapes, and whole numbers without a fraction or an exponent, as files
// mostly are; false at anything else, which the JSON library then reads
// (and words, where it is a mistake).  Scanning the text once, without the
// library's copy of each token, makes reading a roster as cheap as the
// library's parse alone.
bool plainTokens(std::string_view text, JsonText* json) {
  enum class Next { value, valueOrEnd, nameOrEnd, name, colon, commaOrEnd, nothing };
  std::vector<std::size_t> open;
  std::vector<JsonToken>& tokens = json->tokens;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const auto offset = [begin](const char* at) {
    return static_cast<std::uint32_t>(at - begin);
  };
  const auto add = [&](JsonKind kind, const char* at, std::int64_t value = 0) {
    JsonToken& token = tokens.emplace_back();
    token.kind = kind;
    token.offset = offset(at);
    token.value = value;
    return &token;
  };
  Next next = Next::value;
  for (const char* at = begin; at < end; ++at) {
    const char c = *at;
    if (isBlank(c)) continue;
    const bool closing =
        (c == ']' && (next == Next::valueOrEnd ||
                      (next == Next::commaOrEnd && tokens[open.back()].kind == JsonKind::list))) ||
        (c == '}' && (next == Next::nameOrEnd ||
                      (next == Next::commaOrEnd && tokens[open.back()].kind == JsonKind::object)));
    if (closing) {
      tokens[open.back()].value = static_cast<std::int64_t>(tokens.size());
      open.pop_back();
      add(JsonKind::end, at);
    } else if (next == Next::colon || next == Next::commaOrEnd) {
      if (c != (next == Next::colon ? ':' : ',')) return false;
      next = next == Next::colon ? Next::value
             : tokens[open.back()].kind == JsonKind::object ? Next::name : Next::value;
      continue;
    } else if (next == Next::nothing) {
      return false;
    } else if (c == '"') {
      const char* last = at + 1;
      while (last < end && *last != '"') {
        const auto byte = static_cast<unsigned char>(*last);
        if (byte < 0x20 || byte >= 0x7f || byte == '\\') return false;
        ++last;
      }
      if (last == end) return false;
      const bool name = next == Next::nameOrEnd || next == Next::name;
      const auto size = static_cast<std::uint64_t>(last - at - 1);
      add(name ? JsonKind::name : JsonKind::text, name ? at : last,
          static_cast<std::int64_t>(offset(at + 1) | (size << 32)));
      at = last;
      if (name) {
        next = Next::colon;
        continue;
      }
    } else if (next == Next::nameOrEnd || next == Next::name) {
      return false;
    } else if (c == '{' || c == '[') {
      open.push_back(tokens.size());
      add(c == '{' ? JsonKind::object : JsonKind::list, at);
      next = c == '{' ? Next::nameOrEnd : Next::valueOrEnd;
      continue;
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      const bool negative = c == '-';
      const char* digit = negative ? at + 1 : at;
      if (digit == end || *digit < '0' || *digit > '9') return false;
      std::uint64_t magnitude = 0;
      bool fits = true;
      const char* first = digit;
      for (; digit < end && *digit >= '0' && *digit <= '9'; ++digit) {
        const auto d = static_cast<std::uint64_t>(*digit - '0');
        if (magnitude > (std::uint64_t{1} << 63) / 10) fits = false;
        magnitude = magnitude * 10 + d;
      }
      if (*first == '0' && digit - first > 1) return false;
      if (digit < end && (*digit == '.' || *digit == 'e' || *digit == 'E')) return false;
      const std::uint64_t most = (std::uint64_t{1} << 63) - (negative ? 0 : 1);
      fits = fits && digit - first <= 19 && magnitude <= most;
      JsonToken* token = add(JsonKind::number, digit - 1);
      token->fits = fits;
      if (fits) {
        token->value = negative ? static_cast<std::int64_t>(0 - magnitude)
                                : static_cast<std::int64_t>(magnitude);
      }
      at = digit - 1;
    } else {
      static constexpr std::string_view kLiterals[] = {"true", "false", "null"};
      static constexpr JsonKind kKinds[] = {JsonKind::yes, JsonKind::no, JsonKind::null};
      std::size_t literal = 0;
      while (literal < 3 && !text.substr(offset(at)).starts_with(kLiterals[literal])) {
        ++literal;
      }
      if (literal == 3) return false;
      at += kLiterals[literal].size() - 1;
      add(kKinds[literal], at);
    }
    next = open.empty() ? Next::nothing : Next::commaOrEnd;
  }
  return next == Next::nothing;
}

JsonText tokens(std::string_view text, std::string_view parsed,
                const JsonDocument& document) {
  JsonText json;
  json.text = text;
  // A token takes ten bytes of a roster or more: room for most texts at
  // once.
  json.tokens.reserve(text.size() / 10 + 8);
  if (plainTokens(text, &json)) {
    json.complete = true;
    return json;
  }
  json.tokens.clear();
  Tokenizer tokenizer;
  tokenizer.out = &json;
  tokenizer.parsed = parsed;
  tokenizer.reached = parsed.data();
  tokenizer.document = &document;
  const TrackedChar first{parsed.data(), &tokenizer.reached};
  const TrackedChar last{parsed.data() + parsed.size(), &tokenizer.reached};
  json.complete =
      Json::sax_parse(first, last, &tokenizer, Json::input_format_t::json, true);
  if (tokenizer.numberOverflow && parsed.data() == text.data()) {
    if (const std::optional<std::string> finite = withFiniteNumbers(text)) {
      // The same text but for the numbers, so that every word and place
      // stays as it was.
      JsonText again = tokens(text, *finite, document);
      return again;
    }
  }
  // What is left open ends with the text.
  for (const std::size_t opened : tokenizer.open) {
    json.tokens[opened].value = static_cast<std::int64_t>(json.tokens.size());
  }
  if (!json.complete && json.notJson.message.empty()) {
    json.notJson = {std::string(document.name),
                    "not valid JSON (allowed: one JSON object)", {}};
    json.notJson.reason = Reason::notJson;
  }
  return json;
}

}  // namespace

JsonText readJson(std::string_view text, const JsonDocument& document) {
  if (text.size() > kLongestJson) {
    JsonText json;
    json.text = text;
    json.notJson = tooLongProblem(document);
    return json;
  }
  return tokens(text, text, document);
}

Problem tooLongProblem(const JsonDocument& document) {
  Problem problem{std::string(document.name),
                  "longer than 16 MiB (allowed: " +
                      std::string(document.allowedLength) + ")",
                  {}};
  problem.reason = Reason::tooLong;
  return problem;
}

OrProblems<std::string> readJsonFile(const std::string& path,
                                     const JsonDocument& document) {
  const auto cannotRead = [&path](int error) {
    return Problems{{cannotProblem("read", path, error)}, 0};
  };
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return cannotRead(errno);
  Input in = inputFromFd(fd);
  std::string text;
  bool tooLong = false;
  while (readMore(&in, "")) {
    const std::string_view piece = unread(in);
    if (text.size() + piece.size() > kLongestJson) {
      tooLong = true;
      break;
    }
    text.append(piece);
    take(&in, piece.size());
  }
  close(fd);
  if (in.error != 0) return cannotRead(in.error);
  if (tooLong) {
    Problem problem = tooLongProblem(document);
    problem.place.line = 1;
    return Problems{{std::move(problem)}, 0};
  }
  return text;
}

std::string_view wordOf(const JsonText& json, const JsonToken& token) {
  const auto value = static_cast<std::uint64_t>(token.value);
  const std::size_t at = value & 0xffffffffu;
  const std::size_t size = value >> 32;
  return (token.escaped ? std::string_view(json.escapedWords) : json.text)
      .substr(at, size);
}

std::size_t afterValue(const JsonText& json, std::size_t index) {
  const JsonToken& token = json.tokens[index];
  if (token.kind == JsonKind::object || token.kind == JsonKind::list) {
    return static_cast<std::size_t>(token.value) + 1;
  }
  return index + 1;
}

Place placeAt(LinePlacer* placer, std::size_t offset) {
  if (offset < placer->offset) *placer = LinePlacer{placer->text};
  // Line breaks are few (a scenario is mostly one line): memchr passes
  // over the text between them.
  const std::string_view text = placer->text;
  const std::size_t end = std::min(offset, text.size());
  while (placer->offset < end) {
    const void* found =
        std::memchr(text.data() + placer->offset, '\n', end - placer->offset);
    if (found == nullptr) {
      placer->offset = end;
      break;
    }
    placer->offset =
        static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) + 1;
    ++placer->line;
    placer->lineStart = placer->offset;
  }
  return {placer->line, offset - placer->lineStart + 1};
}

bool isWhole(const JsonToken& token) { return token.kind == JsonKind::number; }

WholeNumber wholeOf(const JsonToken& token) { return {token.value, token.fits}; }

Reason rangeReason(WholeNumber number, std::int64_t minimum,
                   std::int64_t maximum) {
  if (!number.fits) return Reason::aboveMaximum;
  if (number.value < minimum) return Reason::belowMinimum;
  if (number.value > maximum) return Reason::aboveMaximum;
  return Reason::none;
}

std::string outOfRangeMessage(WholeNumber number, std::int64_t minimum,
                              std::int64_t maximum, std::string_view qualifier) {
  return outOfRangeText(number) + std::string(qualifier) + " (allowed: " +
         rangeText(minimum, maximum) + ")";
}

bool takesKind(const JsonToken& token, FieldKind kind, bool menu) {
  switch (kind) {
    case FieldKind::whole:
      return token.kind == JsonKind::number || (menu && token.kind == JsonKind::text);
    case FieldKind::yesNo:
      return token.kind == JsonKind::yes || token.kind == JsonKind::no ||
             token.kind == JsonKind::null;
    case FieldKind::bars:
    case FieldKind::units:
      return token.kind == JsonKind::list;
  }
  return false;
}

char yesNoOf(const JsonToken& token) {
  return token.kind == JsonKind::yes  ? answer::kYes
         : token.kind == JsonKind::no ? answer::kNo
                                      : answer::kNeither;
}

Reason wrongKindReason(const JsonToken& token) {
  return token.kind == JsonKind::fraction ? Reason::notWhole : Reason::wrongType;
}

BarsRead readBars(const JsonText& json, std::size_t index, std::string_view path,
                  LinePlacer* placer) {
  BarsRead read;
  const std::size_t end = static_cast<std::size_t>(json.tokens[index].value);
  for (std::size_t i = index + 1; i < end; i = afterValue(json, i)) {
    const JsonToken& entry = json.tokens[i];
    const std::string field = std::string(path) + '.' + std::to_string(read.bars.size());
    if (!isWhole(entry)) {
      Problem problem{field, wrongKindText(FieldKind::whole, 0, kLargestAnswer),
                      placeAt(placer, entry.offset)};
      problem.reason = wrongKindReason(entry);
      read.problems.push_back(std::move(problem));
      read.bars.push_back(0);
      continue;
    }
    const WholeNumber number = wholeOf(entry);
    const Reason reason = rangeReason(number, 0, kLargestAnswer);
    if (reason != Reason::none) {
      Problem problem{field, outOfRangeMessage(number, 0, kLargestAnswer),
                      placeAt(placer, entry.offset)};
      problem.reason = reason;
      read.problems.push_back(std::move(problem));
    }
    // A wrong entry keeps its place, so that the next is named rightly.
    read.bars.push_back(number.fits && number.value >= 0 ? number.value : 0);
  }
  return read;
}

std::string unknownWordMessage(std::string_view word,
                               std::span<const MenuEntry> options,
                               std::string_view qualifier,
                               std::string_view beyond) {
  return "unknown word " + quotedWord(word) + std::string(qualifier) +
         " (allowed: " + menuWordList(options) + std::string(beyond) + ")";
}
