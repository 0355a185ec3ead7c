// Answers as scenario files and rosters write them in JSON: whole numbers
// however JSON spells them, menu entries by number or by word, and the
// words that messages about them use.
#ifndef ZELVORN_FILES_JSON_ANSWER_H_
#define ZELVORN_FILES_JSON_ANSWER_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "scenario/scenario_fields.h"

// A whole number of a file; one beyond 64 bits does not fit (and is out of
// every range).
struct WholeNumber {
  std::int64_t value = 0;
  bool fits = true;
};

// The whole number of a JSON number that the library read as unsigned.
WholeNumber wholeFromUnsigned(std::uint64_t value);

// The whole number of a JSON number with a fraction part or an exponent:
// 10.0 and 1e1 are whole, as JSON Schema counts an integer; nothing when
// its value has a fraction.
std::optional<WholeNumber> wholeFromFloat(double value);

// The JSON library's error for a number too large for a double.
constexpr int kJsonNumberOverflow = 406;

// The text with every number too large for a double (1e400) written as one
// that is finite but beyond 64 bits, in the same room (1e300 and blanks),
// so that a reader finds it out of range at its place, as it finds
// 99999999999999999999; nothing when the text holds no such number.  For a
// text that the JSON library refused for such a number.
std::optional<std::string> withFiniteNumbers(std::string_view text);

// The JSON library's text for a parse error, without the library's own
// name and position that begin it (the reader says where it stands).
std::string parseErrorText(const char* what);

// "MINIMUM to MAXIMUM".
std::string rangeText(std::int64_t minimum, std::int64_t maximum);

// What a field of `kind` takes, for a message: "1 to 15", "true, false,
// null", ...
std::string allowedText(FieldKind kind, std::int64_t minimum,
                        std::int64_t maximum);

// "must be a whole number (allowed: 1 to 15)", and the like for the other
// kinds: a value of another kind where a field of `kind` stands.
std::string wrongKindText(FieldKind kind, std::int64_t minimum,
                          std::int64_t maximum);

// "5 is out of range", or "the number is out of range" beyond 64 bits; the
// caller adds what is allowed.
std::string outOfRangeText(WholeNumber number);

// A name or a text of a file as a message shows it: as it stands when it
// is plain, else quoted with its control characters escaped (so that a
// message stays on one line), cut short when it is long.  Characters of
// `alsoQuoted` make a text not plain.
std::string shownText(std::string_view text, std::string_view alsoQuoted = "");

// A menu word of a file, always between quotation marks, so that a word
// of several is seen whole.
std::string quotedWord(std::string_view word);

// The words of a menu, each between quotation marks, separated by commas.
std::string menuWordList(std::span<const MenuEntry> options);

#endif  // ZELVORN_FILES_JSON_ANSWER_H_
