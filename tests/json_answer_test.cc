// Answers as files write them: whole numbers however JSON spells them, and
// names and words as messages show them.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "files/json_answer.h"

namespace {

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
