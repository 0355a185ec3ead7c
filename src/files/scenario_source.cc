#include "files/scenario_source.h"

#include <string_view>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Takes the next line (without its line feed) into `*line`; false at the
// end of the file or when it cannot be read.
bool nextLine(ScenarioSource* source, std::string* line) {
  line->clear();
  source->lineTooLong = false;
  Input& in = source->in;
  bool any = false;
  for (;;) {
    const std::string_view rest = unread(in);
    const std::size_t lineFeed = rest.find('\n');
    const std::string_view piece = rest.substr(0, lineFeed);
    any = any || !rest.empty();
    if (line->size() + piece.size() > kLongestScenario) {
      // Refused at once: the line may never end.
      source->lineTooLong = true;
      line->clear();
      ++source->lineNumber;
      return true;
    }
    line->append(piece);
    if (lineFeed != std::string_view::npos) {
      take(&in, lineFeed + 1);
      ++source->lineNumber;
      return true;
    }
    take(&in, rest.size());
    if (!readMore(&in, "")) {
      if (any && in.error == 0) ++source->lineNumber;
      return any && in.error == 0;
    }
  }
}

bool isBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t\r\f\v") == std::string_view::npos;
}

// The next line that is not blank, as a scenario of its own; the blank
// lines before it are added to `*skipped`, when given.
std::optional<ScenarioChunk> nextScenarioLine(ScenarioSource* source,
                                              std::string* skipped) {
  ScenarioChunk chunk;
  while (nextLine(source, &chunk.text)) {
    if (source->lineTooLong) {
      return ScenarioChunk{{}, source->lineNumber, true};
    }
    if (!isBlankLine(chunk.text)) {
      chunk.firstLine = source->lineNumber;
      return chunk;
    }
    if (skipped != nullptr) *skipped += chunk.text + '\n';
  }
  return std::nullopt;
}

// True when the text closes every object and list that it opens, as one
// line of JSON Lines does.
bool closesAll(std::string_view text) {
  int depth = 0;
  bool inString = false;
  bool escaped = false;
  for (const char c : text) {
    if (inString) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        inString = false;
      }
      continue;
    }
    if (c == '"') inString = true;
    if (c == '{' || c == '[') ++depth;
    if (c == '}' || c == ']') --depth;
  }
  return depth <= 0;
}

// One object over several lines: `first`, the lines after it, and the rest
// of the file.
ScenarioChunk wholeObject(ScenarioSource* source, ScenarioChunk first) {
  std::string line;
  while (nextLine(source, &line)) {
    if (source->lineTooLong ||
        first.text.size() + line.size() + 1 > kLongestScenario) {
      first.tooLong = true;
      first.text.clear();
      break;
    }
    first.text += '\n';
    first.text += line;
  }
  return first;
}

// The first scenario tells how the file holds its scenarios.
std::optional<ScenarioChunk> firstScenario(ScenarioSource* source) {
  std::optional<ScenarioChunk> first = nextScenarioLine(source, nullptr);
  if (!first) return std::nullopt;
  if (first->firstLine == 1 && first->text.starts_with(kByteOrderMark)) {
    first->text.erase(0, kByteOrderMark.size());
  }
  source->mode = ScenarioSource::Mode::lines;
  if (first->tooLong || closesAll(first->text)) return first;
  // A first line that leaves an object open begins one object over several
  // lines, unless the next line begins a scenario of its own: then it is a
  // line of JSON Lines that was cut short.
  std::string gap;
  std::optional<ScenarioChunk> second = nextScenarioLine(source, &gap);
  if (!second) return first;
  if (second->tooLong || second->text.starts_with("{")) {
    source->ahead = std::move(second);
    return first;
  }
  source->mode = ScenarioSource::Mode::done;
  first->text += '\n' + gap + second->text;
  return wholeObject(source, std::move(*first));
}

std::optional<ScenarioChunk> nextChunk(ScenarioSource* source) {
  switch (source->mode) {
    case ScenarioSource::Mode::first:
      return firstScenario(source);
    case ScenarioSource::Mode::lines:
      if (source->ahead) {
        std::optional<ScenarioChunk> ahead = std::move(source->ahead);
        source->ahead.reset();
        return ahead;
      }
      return nextScenarioLine(source, nullptr);
    case ScenarioSource::Mode::done:
      break;
  }
  return std::nullopt;
}

}  // namespace

ScenarioSource scenarioSource(Input in) {
  ScenarioSource source;
  source.in = std::move(in);
  return source;
}

std::optional<ScenarioChunk> nextScenario(ScenarioSource* source) {
  std::optional<ScenarioChunk> chunk = nextChunk(source);
  // Nothing after a scenario that is too long is read: its end may never
  // come.
  if (chunk && chunk->tooLong) {
    source->mode = ScenarioSource::Mode::done;
    source->ahead.reset();
  }
  return chunk;
}
