// The scenarios of a file, one after the other, read as a stream: JSON
// Lines (a scenario on every line that is not blank), or one object over
// several lines.
#ifndef ZELVORN_FILES_SCENARIO_SOURCE_H_
#define ZELVORN_FILES_SCENARIO_SOURCE_H_

#include <cstddef>
#include <optional>
#include <string>

#include "files/json_reader.h"
#include "io/input.h"

// No scenario may be longer: a longer one is an error of its own, and
// memory stays bounded whatever the file holds.
constexpr std::size_t kLongestScenario = kLongestJson;

// One scenario's text and the line of the file on which it begins.
struct ScenarioChunk {
  std::string text;
  std::size_t firstLine = 0;
  bool tooLong = false;  // longer than kLongestScenario; the text is left
                        // out, and nothing after it is read
};

struct ScenarioSource {
  Input in;
  std::size_t lineNumber = 0;  // of the line last read
  bool lineTooLong = false;    // the line last read was cut short
  enum class Mode { first, lines, done } mode = Mode::first;
  std::optional<ScenarioChunk> ahead;  // a line read ahead of its turn
};

// A source of scenarios reading from `in`.
ScenarioSource scenarioSource(Input in);

// The next scenario of the file, or nothing at its end or when it cannot
// be read any more (then `in.error` is set).  A byte-order mark before the
// first one is dropped.
std::optional<ScenarioChunk> nextScenario(ScenarioSource* source);

#endif  // ZELVORN_FILES_SCENARIO_SOURCE_H_
