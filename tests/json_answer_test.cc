// Answers as files write them: whole numbers however JSON spells them, and
// names and words as messages show them.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/json_answer.h"
#include "files/json_reader.h"

namespace {

const JsonDocument kTest{"test", true, "a test of at most 16 MiB"};

// The tokens of a text as a line each: kind, offset, value and whether it
// fits, with a word in place of its value.
std::vector<std::string> tokenLines(const JsonText& json) {
  std::vector<std::string> lines;
  for (const JsonToken& token : json.tokens) {
    std::string line = std::to_string(static_cast<int>(token.kind)) + "@" +
                       std::to_string(token.offset) + " ";
    if (token.kind == JsonKind::name || token.kind == JsonKind::text) {
      line += std::string(wordOf(json, token));
    } else {
      line += std::to_string(token.value) + (token.fits ? "" : " beyond");
    }
    lines.push_back(line);
  }
  return lines;
}

// Plain JSON is read by the reader's own scan; a text with an escape by the
// JSON library.  Both must give the same tokens at the same places, and
// the scan must refuse all that the library refuses.
TEST(JsonReader, ReadsPlainTextAsTheLibraryDoes) {
  const char* const texts[] = {
      R"({"a": 1, "b": [true, false, null, -0, "x y"], "c": {}})",
      "{\n \"strength\":\t12,\r\n \"bars\": [0, 999999999]\n}",
      "[9223372036854775807, 9223372036854775808, -9223372036854775808]",
      "[-9223372036854775809, 18446744073709551616, 99999999999999999999]",
      R"([[], [[]], {"": ""}, 7])",
      "5",
      R"("just a text")",
  };
  for (const char* text : texts) {
    const std::string plain = "[" + std::string(text) + ", \"A\"]";
    const std::string escaped = "[" + std::string(text) + ", \"\\u0041\"]";
    const JsonText a = readJson(plain, kTest);
    const JsonText b = readJson(escaped, kTest);
    ASSERT_TRUE(a.complete && b.complete) << text;
    // All but the word that tells them apart and the list's end after it.
    std::vector<std::string> linesA = tokenLines(a);
    std::vector<std::string> linesB = tokenLines(b);
    linesA.resize(linesA.size() - 2);
    linesB.resize(linesB.size() - 2);
    EXPECT_EQ(linesA, linesB) << text;
  }
  const char* const refused[] = {
      "", "{", "[1,]", "{\"a\" 1}", "{\"a\": 1,}", "[01]", "[-]", "[1 2]",
      "{} {}", "[tru]", "[\"a\u0001\"]", "{1: 2}", "[1.]", "[.5]", "]",
      "[\"\xff\"]", "[nul]", "{\"a\": }",
  };
  for (const char* text : refused) {
    const JsonText json = readJson(text, kTest);
    EXPECT_FALSE(json.complete) << text;
    EXPECT_EQ(json.notJson.reason, Reason::notJson) << text;
    EXPECT_EQ(json.notJson.message.rfind("not valid JSON: ", 0), 0u) << text;
  }
  // A fraction, an exponent and a number beyond a double are the library's.
  const JsonText numbers = readJson("[1.5, 1E1, 2.0, 1e400, -1e400]", kTest);
  ASSERT_TRUE(numbers.complete);
  EXPECT_EQ(tokenLines(numbers),
            (std::vector<std::string>{"1@0 6", "6@3 0", "5@8 10", "5@13 2",
                                      "5@20 0 beyond", "5@28 0 beyond",
                                      "2@29 0"}));
}

TEST(JsonAnswer, TakesWholeNumbersHoweverWritten) {
  struct Case {
    double value;
    bool whole;
    bool fits;
    std::int64_t expected;
  };
  const Case cases[] = {
      {10.0, true, true, 10},
      {1e1, true, true, 10},
      {-0.0, true, true, 0},
      {-3.0, true, true, -3},
      {10.5, false, false, 0},
      {-2.25e-3, false, false, 0},
      {9007199254740992.0, true, true, 9007199254740992},  // 2 to the 53rd
      {1e19, true, false, 0},
      {-1e19, true, false, 0},
      {9223372036854775808.0, true, false, 0},  // 2 to the 63rd
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const std::optional<WholeNumber> number = wholeFromFloat(c.value);
    ASSERT_EQ(number.has_value(), c.whole);
    if (!number) continue;
    EXPECT_EQ(number->fits, c.fits);
    EXPECT_EQ(number->value, c.expected);
  }
  constexpr auto kMost = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(wholeFromUnsigned(static_cast<std::uint64_t>(kMost)).value, kMost);
  EXPECT_TRUE(wholeFromUnsigned(static_cast<std::uint64_t>(kMost)).fits);
  EXPECT_FALSE(wholeFromUnsigned(static_cast<std::uint64_t>(kMost) + 1).fits);
  EXPECT_EQ(outOfRangeText({-4, true}), "-4 is out of range");
  EXPECT_EQ(outOfRangeText(wholeFromUnsigned(~std::uint64_t{0})),
            "the number is out of range");
}

TEST(JsonAnswer, ShowsNamesOnOneLineAndWordsWhole) {
  EXPECT_EQ(shownText("strenght"), "strenght");
  EXPECT_EQ(shownText("a:b"), "a:b");
  EXPECT_EQ(shownText("a:b", ":"), "\"a:b\"");
  EXPECT_EQ(shownText(""), "\"\"");
  EXPECT_EQ(shownText("two words"), "\"two words\"");
  EXPECT_EQ(shownText("line\nbreak\t\"q\"\\"),
            "\"line\\nbreak\\t\\\"q\\\"\\\\\"");
  EXPECT_EQ(shownText(std::string(60, 'x')), std::string(60, 'x'));
  EXPECT_EQ(shownText(std::string(61, 'x')),
            '"' + std::string(60, 'x') + "\"...");
  EXPECT_EQ(shownText("\xff"), "\"\\ufffd\"");  // not UTF-8: replaced
  EXPECT_EQ(quotedWord("tank"), "\"tank\"");
  EXPECT_EQ(quotedWord("naval units"), "\"naval units\"");
  constexpr MenuEntry kMenu[] = {{"tank", "Tank"}, {"naval units", "Naval unit"}};
  EXPECT_EQ(menuWordList(kMenu), "\"tank\", \"naval units\"");
  EXPECT_EQ(menuWordList({}), "");
}

TEST(JsonAnswer, SaysWhatEachKindOfFieldTakes) {
  EXPECT_EQ(wrongKindText(FieldKind::whole, 1, 12),
            "must be a whole number (allowed: 1 to 12)");
  EXPECT_EQ(wrongKindText(FieldKind::yesNo, 0, 0),
            "must be true, false or null (allowed: true, false, null)");
  EXPECT_EQ(wrongKindText(FieldKind::bars, 0, 99),
            "must be a list of experience bars (allowed: a list of whole "
            "numbers from 0 to 99)");
  EXPECT_EQ(wrongKindText(FieldKind::units, 0, 0),
            "must be a list of supporting units (allowed: a list of objects)");
}

}  // namespace
