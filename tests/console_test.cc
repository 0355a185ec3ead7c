#include "dialogue/console.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kTooMany =
    "\nYou entered too many characters. Please reenter:\n>> ";

// A console over fixed input and an in-memory output.
struct Memory {
  explicit Memory(const std::string& input) : in(input) {
    console.in = inputFromStream(in.rdbuf());
    console.out = outputToStream(out.rdbuf());
  }
  // Everything printed so far.
  std::string printed() {
    flushOutput(&console.out);
    return out.str();
  }
  std::istringstream in;
  std::ostringstream out;
  Console console;
};

Console consoleOn(std::istream& in, std::ostream& out) {
  Console console;
  console.in = inputFromStream(in.rdbuf());
  console.out = outputToStream(out.rdbuf());
  return console;
}

std::string nul(const std::string& rest) { return std::string(1, '\0') + rest; }

struct NumberCase {
  std::string line;
  std::int64_t count;   // readCount
  std::int64_t number;  // readNumber
};

TEST(Console, NumberReadersConvertOneLine) {
  const std::vector<NumberCase> cases = {
      {"42", 42, 42},         {"   42", 42, 42},      {"42abc", 42, 42},
      {"+42", 42, 42},        {"\t\v\f42", 42, 42},   {"42\r", 42, 42},
      {"-5", -5, -5},         {"0", 0, 0},            {"05", 5, 0},
      {"0abc", 0, 0},         {" 0", 0, -1},          {"-0", 0, -1},
      {"+0", 0, -1},          {"abc", 0, -1},         {"", 0, -1},
      {"+-5", 0, -1},         {"- 5", 0, -1},         {"\x80" "5", 0, -1},
      {"123456789", 123456789, 123456789},            {"-12345678", -12345678, -12345678},
      {nul("12345678"), 0, -1},  // the zero byte is neither a blank nor a digit
  };
  for (const NumberCase& c : cases) {
    SCOPED_TRACE("line \"" + c.line + "\"");
    Memory count(c.line + "\n");
    EXPECT_EQ(readCount(count.console), c.count);
    Memory number(c.line + "\n");
    EXPECT_EQ(readNumber(number.console), c.number);
    EXPECT_EQ(count.printed(), "");
    EXPECT_EQ(number.printed(), "");
  }
}

struct LongCase {
  const char* name;
  std::string input;
  std::int64_t count;
  std::int64_t number;
  int messages;       // too-many-characters messages printed
  std::string after;  // what a following yes/no read gets as its first byte
};

TEST(Console, OverlongNumberLinesAreReread) {
  const std::string digits99(99, '7');
  const std::vector<LongCase> cases = {
      {"ten characters", "1234567890\n6\nq\n", 6, 6, 1, "q"},
      {"two blanks and eight digits", "  12345678\n6\nq\n", 6, 6, 1, "q"},
      {"zero byte counted", nul("123456789") + "\n6\nq\n", 6, 6, 1, "q"},
      // 99 characters leave the line feed: the next read is an empty line.
      {"exactly 99", digits99 + "\n8\n", 0, -1, 1, "8"},
      // 105 characters: the last six are the answer.
      {"105 characters", std::string(99, 'x') + "    12\nq\n", 12, 12, 1, "q"},
      {"two long lines", "1234567890\n12345678901\n5\nq\n", 5, 5, 2, "q"},
  };
  for (const LongCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string expectedOut;
    for (int i = 0; i < c.messages; ++i) expectedOut += kTooMany;
    Memory count(c.input);
    EXPECT_EQ(readCount(count.console), c.count);
    EXPECT_EQ(count.printed(), expectedOut);
    EXPECT_EQ(readYesNo(count.console), c.after[0]);
    Memory number(c.input);
    EXPECT_EQ(readNumber(number.console), c.number);
    EXPECT_EQ(number.printed(), expectedOut);
  }
}

TEST(Console, YesNoTakesTheFirstCharacter) {
  // 120 characters: the last 21 are the next read, whatever it is.
  const std::string line = "Y" + std::string(98, '-') + "N" + std::string(20, 'z');
  ASSERT_EQ(line.size(), 120u);
  Memory m("\n yes\n" + line + "\nq");
  EXPECT_EQ(readYesNo(m.console), '\0');
  EXPECT_EQ(readYesNo(m.console), ' ');
  EXPECT_EQ(readYesNo(m.console), 'Y');
  EXPECT_EQ(readYesNo(m.console), 'N');
  EXPECT_EQ(readYesNo(m.console), 'q');  // last line without a line feed
  EXPECT_EQ(readYesNo(m.console), '\0');  // end of input
  EXPECT_EQ(readYesNo(m.console), '\0');
}

TEST(Console, EndOfInput) {
  Memory last("7\n42");  // a last line without a line feed reads normally
  EXPECT_EQ(readCount(last.console), 7);
  EXPECT_EQ(readNumber(last.console), 42);
  EXPECT_THROW(readCount(last.console), InputEnded);
  EXPECT_THROW(readNumber(last.console), InputEnded);

  Memory empty("");
  EXPECT_THROW(readNumber(empty.console), InputEnded);

  // The end comes right after the too-many-characters message.
  Memory cut("1234567890\n");
  EXPECT_THROW(readCount(cut.console), InputEnded);
  EXPECT_EQ(cut.printed(), kTooMany);
  Memory cut99(std::string(150, '1'));  // 99, then 51, then the end
  EXPECT_THROW(readNumber(cut99.console), InputEnded);
  EXPECT_EQ(cut99.printed(), kTooMany + kTooMany);

  Memory asked("abc\n");
  EXPECT_THROW(askCount(asked.console, "P", "E", 1, 9), InputEnded);
  EXPECT_EQ(asked.printed(), "PE");
}

TEST(Console, ValidatedPromptsPrintThePromptOnceAndAnErrorPerRejection) {
  Memory count("abc\n0\n11\n\n-3\n5\n");
  EXPECT_EQ(askCount(count.console, "P", "E", 1, 10), 5);
  EXPECT_EQ(count.printed(), "PEEEEE");

  // A long line gives only its own message; the next line meets both tests.
  Memory mixed("12345678901\n99\n3\n");
  EXPECT_EQ(askCount(mixed.console, "P", "E", 1, 10), 3);
  EXPECT_EQ(mixed.printed(), "P" + kTooMany + "E");

  Memory number("x\n-3\n \n00\n");
  EXPECT_EQ(askNumber(number.console, "P", "E"), 0);
  EXPECT_EQ(number.printed(), "PEEE");

  Memory yesNo("nope\n");
  EXPECT_EQ(askYesNo(yesNo.console, "Q"), 'n');
  EXPECT_EQ(yesNo.printed(), "Q");
}

// Output that counts as written only once it is flushed.
class FlushRecorder : public std::streambuf {
 public:
  std::string flushed;

 protected:
  int overflow(int c) override {
    if (c != traits_type::eof()) pending_.push_back(static_cast<char>(c));
    return traits_type::not_eof(c);
  }
  int sync() override {
    flushed += pending_;
    pending_.clear();
    return 0;
  }

 private:
  std::string pending_;
};

// Input typed at a keyboard: nothing is ever waiting ahead of the read, so
// the output must be flushed before each line is taken.
class KeyboardInput : public std::streambuf {
 public:
  explicit KeyboardInput(std::string data) : data_(std::move(data)) {}

 protected:
  virtual void lineStarts() {}
  int underflow() override {
    return pos_ < data_.size() ? traits_type::to_int_type(data_[pos_])
                               : traits_type::eof();
  }
  int uflow() override {
    if (pos_ >= data_.size()) return traits_type::eof();
    if (pos_ == 0 || data_[pos_ - 1] == '\n') lineStarts();
    return traits_type::to_int_type(data_[pos_++]);
  }

 private:
  std::string data_;
  std::size_t pos_ = 0;
};

// Notes what had been flushed when each line began to be read.
class WatchingInput : public KeyboardInput {
 public:
  WatchingInput(std::string data, const FlushRecorder& out)
      : KeyboardInput(std::move(data)), out_(out) {}
  std::vector<std::string> seenAtLineStart;

 protected:
  void lineStarts() override { seenAtLineStart.push_back(out_.flushed); }

 private:
  const FlushRecorder& out_;
};

TEST(Console, OutputIsFlushedBeforeEveryRead) {
  FlushRecorder outBuf;
  WatchingInput inBuf("0\n1234567890\n4\ny\n", outBuf);
  std::istream in(&inBuf);
  std::ostream out(&outBuf);
  Console console = consoleOn(in, out);
  EXPECT_EQ(askCount(console, "P", "E", 1, 9), 4);
  EXPECT_EQ(askYesNo(console, "Q"), 'y');
  const std::vector<std::string> expected = {"P", "PE", "PE" + kTooMany,
                                             "PE" + kTooMany + "Q"};
  EXPECT_EQ(inBuf.seenAtLineStart, expected);
}

// Output whose flush always fails, as on a closed pipe.
class FailingOutput : public std::streambuf {
 protected:
  int overflow(int c) override { return traits_type::not_eof(c); }
  int sync() override { return -1; }
};

TEST(Console, FailingOutputThrowsOutputFailed) {
  FailingOutput outBuf;
  std::ostream out(&outBuf);
  KeyboardInput inBuf("5\n");
  std::istream in(&inBuf);
  Console console = consoleOn(in, out);
  EXPECT_THROW(askCount(console, "P", "E", 1, 9), OutputFailed);

  // Output that has already failed stops the dialogue at the next read even
  // when the answer is waiting.
  std::istringstream piped("5\n");
  console.in = inputFromStream(piped.rdbuf());
  EXPECT_THROW(readYesNo(console), OutputFailed);
}

}  // namespace
