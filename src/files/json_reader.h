// The one reader of the program's JSON files, scenarios and rosters alike:
// a text becomes a list of tokens, each at its place in the text, numbers
// read as whole numbers however JSON spells them and texts kept without a
// copy; and what every file does with them: placing them on their lines,
// the size limit, the file that cannot be read, numbers checked against a
// range, menu words and lists of experience bars.
#ifndef ZELVORN_FILES_JSON_READER_H_
#define ZELVORN_FILES_JSON_READER_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/json_answer.h"
#include "files/problem.h"

// No scenario or roster may be longer: a longer one is refused unread, and
// memory stays bounded whatever a file holds.
constexpr std::size_t kLongestJson = 16 * 1024 * 1024;

// What a token is: the opening of an object or a list, the end of either,
// a name of an object, a text, a whole number (of any spelling), a number
// with a fraction, or a literal.
enum class JsonKind : std::uint8_t {
  object,
  list,
  end,
  name,
  text,
  number,
  fraction,
  yes,
  no,
  null,
};

// One token.  `offset` is where it stands in the text: a name's opening
// quotation mark, else its last byte.  `value` is a number's value (`fits`
// false beyond 64 bits), the index of the end token of an object or a list
// (the number of tokens when the text ends first), or where a word is kept.
struct JsonToken {
  std::uint32_t offset = 0;
  JsonKind kind = JsonKind::null;
  bool fits = true;
  bool escaped = false;  // a word kept decoded in JsonText::escapedWords
  std::int64_t value = 0;
};

// A file's text as the reader took it: its tokens in order, up to the end
// or to the mistake that makes it no JSON (then `complete` is false and
// `notJson` says where and why).
struct JsonText {
  std::string_view text;
  std::vector<JsonToken> tokens;
  std::string escapedWords;
  bool complete = false;
  Problem notJson;
};

// What kind of file a text is, for its messages: its name ("scenario",
// "roster"), whether a syntax error shows its column, and what the size
// limit allows ("one JSON object of at most 16 MiB").
struct JsonDocument {
  std::string_view name;
  bool columns = false;
  std::string_view allowedLength;
};

// Reads `text` into tokens; a text longer than kLongestJson is refused
// unread (as not complete, with tooLongProblem()).
JsonText readJson(std::string_view text, const JsonDocument& document);

// The problem of a text longer than kLongestJson.
Problem tooLongProblem(const JsonDocument& document);

// The whole text of the file at `path`, or its problem: it cannot be read,
// or it is longer than kLongestJson.
OrProblems<std::string> readJsonFile(const std::string& path,
                                     const JsonDocument& document);

// The text of a name or a text token.
std::string_view wordOf(const JsonText& json, const JsonToken& token);

// The index of the token after the value that begins at `index`.
std::size_t afterValue(const JsonText& json, std::size_t index);

// Finds the lines of offsets in a text, going on from the last one found
// (offsets are asked for mostly in order).
struct LinePlacer {
  std::string_view text;
  std::size_t offset = 0;
  std::size_t line = 1;
  std::size_t lineStart = 0;
};

// The line and column of the byte at `offset`.
Place placeAt(LinePlacer* placer, std::size_t offset);

// The whole number of a token, or nothing for a token that is none (a
// number with a fraction is not whole).
bool isWhole(const JsonToken& token);
WholeNumber wholeOf(const JsonToken& token);

// Why a whole number is refused by a range: none, belowMinimum or
// aboveMaximum.
Reason rangeReason(WholeNumber number, std::int64_t minimum,
                   std::int64_t maximum);

// "5 is out of range (allowed: 1 to 15)", with `qualifier` (" for both
// sides") after "out of range".
std::string outOfRangeMessage(WholeNumber number, std::int64_t minimum,
                              std::int64_t maximum,
                              std::string_view qualifier = "");

// Whether a value token is of the kind a field of `kind` takes: a whole
// number (or, for a `menu`, a word), a yes/no answer, or a list of bars.
bool takesKind(const JsonToken& token, FieldKind kind, bool menu);

// The yes/no answer of a literal, as the dialogue keeps it.
char yesNoOf(const JsonToken& token);

// Why a value token of the wrong kind is refused: notWhole for a number
// with a fraction, else wrongType.
Reason wrongKindReason(const JsonToken& token);

// The experience bars of a list as read, and the problems of its entries.
struct BarsRead {
  std::vector<std::int64_t> bars;
  std::vector<Problem> problems;
};

// The experience bars of the list that begins at `index`, each entry a
// whole number from 0 to kLargestAnswer; a wrong entry keeps its place (as
// 0) and is a problem of `path`.N at its own line.
BarsRead readBars(const JsonText& json, std::size_t index, std::string_view path,
                  LinePlacer* placer);

// "unknown word "x" (allowed: "a", "b"...)": `word` names no entry of
// `options`; `beyond` follows the words (", or 1 to 11").
std::string unknownWordMessage(std::string_view word,
                               std::span<const MenuEntry> options,
                               std::string_view qualifier = "",
                               std::string_view beyond = "");

#endif  // ZELVORN_FILES_JSON_READER_H_
