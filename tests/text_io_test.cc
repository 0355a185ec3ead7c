// Texts held in memory as the program's input and output: read as a stream
// buffer of the same text is read, and written whole.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "files/scenario_source.h"
#include "io/input.h"
#include "io/output.h"

namespace {

struct Chunk {
  std::string text;
  std::size_t firstLine;
  bool tooLong;
  bool operator==(const Chunk&) const = default;
};

std::vector<Chunk> chunksOf(Input in) {
  ScenarioSource source = scenarioSource(std::move(in));
  std::vector<Chunk> chunks;
  while (const std::optional<ScenarioChunk> chunk = nextScenario(&source)) {
    chunks.push_back({chunk->text, chunk->firstLine, chunk->tooLong});
  }
  return chunks;
}

TEST(TextInput, ScenariosAsFromAStreamOfTheSameText) {
  const std::string longLine(kLongestScenario + 1, ' ');
  for (const std::string& text : std::vector<std::string>{
           "", "\n\n", "{\"a\": 1}", "{\"a\": 1}\n", "{\"a\": 1}\r\n{\"b\": 2}",
           "\xEF\xBB\xBF{\"a\": 1}\n\n{\"b\": 2}\n",
           "{\n  \"a\": 1,\n  \"b\": [1,\n 2]\n}\n", "{\n  \"a\": 1",
           std::string("{\"a\": \"\0\"}\n", 11), "x\n" + longLine + "\ny\n"}) {
    std::stringbuf stream(text);
    const std::vector<Chunk> fromStream = chunksOf(inputFromStream(&stream));
    EXPECT_EQ(chunksOf(inputFromText(text)), fromStream)
        << "for a text of " << text.size() << " bytes";
  }
}

TEST(TextInput, AllUnreadAndThenTheEnd) {
  Input in = inputFromText("ab\ncd");
  EXPECT_EQ(unread(in), "ab\ncd");
  EXPECT_FALSE(mayWait(in));
  take(&in, 3);
  EXPECT_EQ(unread(in), "cd");
  EXPECT_FALSE(readMore(&in, ""));
  EXPECT_EQ(in.error, 0);
}

TEST(TextOutput, EverythingWrittenArrivesOnceFlushed) {
  std::string text = "kept: ";
  Output out = outputToString(&text);
  put(&out, "one ");
  putNumber(&out, -42);
  EXPECT_EQ(text, "kept: ");  // not before it is handed on
  const std::string large(kOutputBufferSize + 10, 'x');
  put(&out, large);  // longer than the buffer: straight through
  put(&out, "\n");
  EXPECT_TRUE(flushOutput(&out));
  EXPECT_EQ(text, "kept: one -42" + large + "\n");
  EXPECT_EQ(lastWritten(out), '\n');
  put(&out, "more");
  EXPECT_TRUE(flushOutput(&out));
  EXPECT_EQ(text, "kept: one -42" + large + "\nmore");
}

}  // namespace
