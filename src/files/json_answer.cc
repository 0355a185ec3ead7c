#include "files/json_answer.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// The longest name or text that a message shows whole.
constexpr std::size_t kLongestShown = 60;

}  // namespace

WholeNumber wholeFromUnsigned(std::uint64_t value) {
  constexpr auto kMost =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (value > kMost) return {0, false};
  return {static_cast<std::int64_t>(value), true};
}

std::optional<WholeNumber> wholeFromFloat(double value) {
  if (value != std::floor(value)) return std::nullopt;
  constexpr double kBeyond = 9223372036854775808.0;  // 2 to the 63rd
  if (value <= -kBeyond || value >= kBeyond) return WholeNumber{0, false};
  return WholeNumber{static_cast<std::int64_t>(value), true};
}

std::optional<std::string> withFiniteNumbers(std::string_view text) {
  // The shortest number beyond a double is as long as these ("2e308").
  constexpr std::string_view kFinite = "1e300";
  constexpr std::string_view kFiniteBelow = "-1e300";
  std::optional<std::string> finite;
  bool inString = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (inString) {
      if (c == '\\') {
        ++at;
      } else if (c == '"') {
        inString = false;
      }
      continue;
    }
    if (c == '"') {
      inString = true;
      continue;
    }
    if (c != '-' && (c < '0' || c > '9')) continue;
    std::size_t end = at;
    while (end < text.size() && text[end] != '\0' &&
           std::strchr("0123456789+-.eE", text[end]) != nullptr) {
      ++end;
    }
    const std::string number(text.substr(at, end - at));
    const std::string_view instead = c == '-' ? kFiniteBelow : kFinite;
    if (std::isinf(std::strtod(number.c_str(), nullptr)) &&
        number.size() >= instead.size()) {
      if (!finite) finite.emplace(text);
      finite->replace(at, number.size(), number.size(), ' ');
      finite->replace(at, instead.size(), instead);
    }
    at = end - 1;
  }
  return finite;
}

std::string rangeText(std::int64_t minimum, std::int64_t maximum) {
  return std::to_string(minimum) + " to " + std::to_string(maximum);
}

std::string allowedText(FieldKind kind, std::int64_t minimum,
                        std::int64_t maximum) {
  switch (kind) {
    case FieldKind::whole:
      return rangeText(minimum, maximum);
    case FieldKind::yesNo:
      return "true, false, null";
    case FieldKind::bars:
      return "a list of whole numbers from 0 to " + std::to_string(maximum);
    case FieldKind::units:
      return "a list of objects";
  }
  return "";
}

std::string wrongKindText(FieldKind kind, std::int64_t minimum,
                          std::int64_t maximum) {
  const std::string allowed =
      " (allowed: " + allowedText(kind, minimum, maximum) + ")";
  switch (kind) {
    case FieldKind::whole:
      return "must be a whole number" + allowed;
    case FieldKind::yesNo:
      return "must be true, false or null" + allowed;
    case FieldKind::bars:
      return "must be a list of experience bars" + allowed;
    case FieldKind::units:
      return "must be a list of supporting units" + allowed;
  }
  return "";
}

std::string outOfRangeText(WholeNumber number) {
  return (number.fits ? std::to_string(number.value) : std::string("the number")) +
         " is out of range";
}

std::string shownText(std::string_view text, std::string_view alsoQuoted) {
  const bool plain =
      !text.empty() && text.size() <= kLongestShown &&
      std::all_of(text.begin(), text.end(), [alsoQuoted](char c) {
        return c > ' ' && c < 127 && c != '"' && c != '\\' &&
               alsoQuoted.find(c) == std::string_view::npos;
      });
  if (plain) return std::string(text);
  using Json = nlohmann::json;
  std::string quoted = Json(std::string(text.substr(0, kLongestShown)))
                           .dump(-1, ' ', true, Json::error_handler_t::replace);
  if (text.size() > kLongestShown) quoted += "...";
  return quoted;
}

std::string quotedWord(std::string_view word) {
  const std::string shown = shownText(word);
  return shown.starts_with('"') ? shown : '"' + shown + '"';
}

std::string menuWordList(std::span<const MenuEntry> options) {
  std::string words;
  for (const std::string_view option : options) {
    if (!words.empty()) words += ", ";
    words += '"';
    words += option;
    words += '"';
  }
  return words;
}

std::string parseErrorText(const char* what) {
  std::string message = what;
  const std::size_t colon = message.find(": ");
  if (colon != std::string::npos) {
    message.erase(0, colon + 2);
  } else if (message.starts_with('[')) {
    message.erase(0, message.find("] ") + 2);
  }
  return message;
}
