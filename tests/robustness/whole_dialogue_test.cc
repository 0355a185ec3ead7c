// Whole dialogues in memory over every transcript's answers: the input cut
// short after each line, and the output failing at every prompt.  The
// transcripts are found when the test runs, so new ones are covered at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "dialogue/main_loop.h"

namespace {

namespace fs = std::filesystem;

// Above these numbers a transcript is cut, or its output made to fail, at
// evenly spread points only, to keep the tests quick however many
// transcripts there are.
constexpr std::size_t kMaxCutsPerTranscript = 400;
constexpr std::size_t kMaxFailuresPerTranscript = 120;

std::vector<fs::path> answerFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(TRANSCRIPT_DIR)) {
    if (entry.path().extension() == ".in") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// Offsets at which each line of `answers` begins.
std::vector<std::size_t> lineStarts(const std::string& answers) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < answers.size(); ++i) {
    if (i == 0 || answers[i - 1] == '\n') starts.push_back(i);
  }
  return starts;
}

// Hands out the answers one character at a time and notes, for every line,
// how much output had been written when its first character was taken.
class RecordingInput : public std::streambuf {
 public:
  RecordingInput(const std::string& answers, std::ostringstream& out)
      : answers_(answers), starts_(lineStarts(answers)), out_(out) {}

  // Output length when line i began to be read, for the lines that were.
  const std::vector<std::size_t>& marks() const { return marks_; }

 protected:
  int_type underflow() override {
    if (position_ >= answers_.size()) return traits_type::eof();
    return traits_type::to_int_type(answers_[position_]);
  }
  int_type uflow() override {
    const int_type c = underflow();
    if (c == traits_type::eof()) return c;
    if (marks_.size() < starts_.size() && starts_[marks_.size()] == position_) {
      marks_.push_back(static_cast<std::size_t>(out_.tellp()));
    }
    ++position_;
    return c;
  }

 private:
  const std::string& answers_;
  std::vector<std::size_t> starts_;
  std::ostringstream& out_;
  std::vector<std::size_t> marks_;
  std::size_t position_ = 0;
};

struct DialogueRun {
  int status = -1;
  std::string out;
  std::string err;
  std::vector<std::size_t> marks;
};

DialogueRun runOn(const std::string& answers) {
  std::ostringstream out;
  std::ostringstream err;
  RecordingInput input(answers, out);
  std::istream in(&input);
  DialogueRun run;
  run.status = runOdds(in, out, err);
  run.out = out.str();
  run.err = err.str();
  run.marks = input.marks();
  return run;
}

bool isOneLine(const std::string& text) {
  return !text.empty() && text.find('\n') == text.size() - 1;
}

// All of `points`, or an even spread of `most` of them that keeps the first
// and the last.
std::vector<std::size_t> spread(const std::vector<std::size_t>& points,
                                std::size_t most) {
  if (points.size() <= most) return points;
  std::vector<std::size_t> chosen;
  for (std::size_t i = 0; i < most; ++i) {
    chosen.push_back(points[i * (points.size() - 1) / (most - 1)]);
  }
  return chosen;
}

TEST(EndOfInput, EveryTranscriptCutAfterEveryLine) {
  const std::vector<fs::path> files = answerFiles();
  ASSERT_FALSE(files.empty()) << "no answer files in " << TRANSCRIPT_DIR;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    const std::string answers = readFile(file);
    const std::vector<std::size_t> starts = lineStarts(answers);
    const DialogueRun full = runOn(answers);
    std::vector<std::size_t> lines(starts.size());
    for (std::size_t k = 0; k < lines.size(); ++k) lines[k] = k;
    for (const std::size_t kept : spread(lines, kMaxCutsPerTranscript)) {
      // Keep the first `kept` lines; line `kept` is the first one removed.
      SCOPED_TRACE("kept " + std::to_string(kept) + " lines");
      const DialogueRun cut = runOn(answers.substr(0, starts[kept]));
      ASSERT_TRUE(cut.status == 0 || cut.status == 1) << cut.status;
      if (cut.status == 1) {
        EXPECT_TRUE(isOneLine(cut.err)) << cut.err;
      } else {
        EXPECT_EQ(cut.err, "");
      }
      if (kept < full.marks.size()) {
        // Everything the full run wrote before it took the removed line.
        const std::string before = full.out.substr(0, full.marks[kept]);
        EXPECT_EQ(cut.out.substr(0, before.size()), before);
      } else {
        // The full run never read the removed lines: nothing may change.
        EXPECT_EQ(cut.out, full.out);
        EXPECT_EQ(cut.status, full.status);
      }
    }
  }
}

// An output that takes `limit` characters and then fails, as a full disk
// or a closed pipe does.  With a buffer the failure shows only when the
// buffer is handed on (when it is full, or flushed); without one, at once.
class FailingOutput : public std::streambuf {
 public:
  FailingOutput(std::size_t limit, std::size_t bufferSize)
      : limit_(limit), buffer_(bufferSize) {
    if (!buffer_.empty()) setp(buffer_.data(), buffer_.data() + buffer_.size());
  }

 protected:
  int_type overflow(int_type c) override {
    if (!handOn()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return 0;
    if (!buffer_.empty()) return sputc(traits_type::to_char_type(c));
    if (written_ >= limit_) return traits_type::eof();
    ++written_;
    return c;
  }
  int sync() override { return handOn() ? 0 : -1; }

 private:
  bool handOn() {
    written_ += static_cast<std::size_t>(pptr() - pbase());
    if (!buffer_.empty()) setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written_ <= limit_;
  }

  std::size_t limit_;
  std::vector<char> buffer_;
  std::size_t written_ = 0;
};

// Answers that come only as they are read, as typed ones do: nothing is
// ever waiting, so the dialogue hands its output on before every read.
class TypedInput : public std::streambuf {
 public:
  explicit TypedInput(const std::string& answers) : answers_(answers) {}
  std::size_t consumed() const { return position_; }

 protected:
  int_type underflow() override {
    if (position_ >= answers_.size()) return traits_type::eof();
    return traits_type::to_int_type(answers_[position_]);
  }
  int_type uflow() override {
    const int_type c = underflow();
    if (c != traits_type::eof()) ++position_;
    return c;
  }

 private:
  const std::string& answers_;
  std::size_t position_ = 0;
};

TEST(OutputFailure, EveryTranscriptEndsWithStatusTwo) {
  for (const fs::path& file : answerFiles()) {
    SCOPED_TRACE(file.filename().string());
    const std::string answers = readFile(file);
    const std::vector<std::size_t> starts = lineStarts(answers);
    const DialogueRun full = runOn(answers);
    ASSERT_FALSE(full.out.empty());
    // Fail inside every stretch of output that comes before a line is read,
    // and at the very end.
    std::vector<std::size_t> limits;
    std::size_t previous = 0;
    for (const std::size_t mark : full.marks) {
      if (mark > previous) limits.push_back(mark - 1);
      previous = mark;
    }
    limits.push_back(full.out.size() - 1);
    for (const std::size_t limit : spread(limits, kMaxFailuresPerTranscript)) {
      SCOPED_TRACE("output fails after " + std::to_string(limit) + " characters");
      // Unbuffered, with answers typed one at a time: the output goes out
      // before every read, so no answer may be read once it has failed;
      // only the lines that the full run began before writing more than
      // `limit` characters.
      {
        FailingOutput sink(limit, 0);
        std::ostream out(&sink);
        std::ostringstream err;
        TypedInput typed(answers);
        std::istream in(&typed);
        EXPECT_EQ(runOdds(in, out, err), 2);
        EXPECT_TRUE(isOneLine(err.str())) << err.str();
        const auto allowed = static_cast<std::size_t>(std::count_if(
            full.marks.begin(), full.marks.end(),
            [limit](std::size_t m) { return m <= limit; }));
        EXPECT_LE(typed.consumed(), allowed < starts.size() ? starts[allowed]
                                                            : answers.size());
      }
      // Buffered beyond the whole output: the failure shows only when the
      // output is flushed, at the latest just before the program ends.
      {
        FailingOutput sink(limit, full.out.size() + 1);
        std::ostream out(&sink);
        std::ostringstream err;
        std::istringstream in(answers);
        EXPECT_EQ(runOdds(in, out, err), 2);
        EXPECT_TRUE(isOneLine(err.str())) << err.str();
      }
    }
  }
}

}  // namespace
