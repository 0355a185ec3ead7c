#include "files/scenario_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "combat/combat.h"
#include "files/scenario_reader.h"
#include "io/input.h"
#include "report/prediction_json.h"
#include "report/report.h"

namespace {

// No scenario may be longer: a longer line is an error of its own, and
// memory stays bounded whatever the file holds.
constexpr std::size_t kLongestScenario = 16 * 1024 * 1024;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The file, read a line at a time.
struct LineSource {
  Input in;
  std::size_t lineNumber = 0;  // of the line last taken
  bool tooLong = false;        // the line last taken was cut short
};

// Takes the next line (without its line feed) into `*line`; false at the
// end of the file or when it cannot be read (then `in.error` is set).
bool nextLine(LineSource* source, std::string* line) {
  line->clear();
  source->tooLong = false;
  Input& in = source->in;
  bool any = false;
  for (;;) {
    const std::string_view rest = unread(in);
    const std::size_t lineFeed = rest.find('\n');
    const std::string_view piece = rest.substr(0, lineFeed);
    any = any || !rest.empty();
    if (line->size() + piece.size() <= kLongestScenario) {
      line->append(piece);
    } else {
      source->tooLong = true;
    }
    if (lineFeed != std::string_view::npos) {
      in.position += lineFeed + 1;
      ++source->lineNumber;
      return true;
    }
    in.position = in.end;
    if (!readMore(&in, "")) {
      if (any && in.error == 0) ++source->lineNumber;
      return any && in.error == 0;
    }
  }
}

bool isBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t\r\f\v") == std::string_view::npos;
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

struct Run {
  const ScenarioFileOptions& options;
  Output* out;
  Output* err;
  std::string name;  // the file as messages name it
  bool anyInvalid = false;
  std::size_t scenarios = 0;
  std::string text;  // a prediction's text, reused
};

void complain(Run* run, std::size_t line, const Problem& problem) {
  flushOutput(run->out);  // what came before it is printed before it
  put(run->err, run->name);
  put(run->err, ":");
  putNumber(run->err, static_cast<std::int64_t>(line));
  put(run->err, ": ");
  put(run->err, problem.field);
  put(run->err, ": ");
  put(run->err, problem.message);
  put(run->err, "\n");
  flushOutput(run->err);
}

// The line of the file on which a syntax error at `offset` of a scenario
// that begins on line `firstLine` stands.
std::size_t lineOf(std::string_view text, std::size_t offset,
                   std::size_t firstLine) {
  std::size_t line = firstLine;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') ++line;
  }
  return line;
}

// One scenario that begins on line `firstLine`: its figures, or its error.
void runOne(Run* run, std::string_view scenarioText, std::size_t firstLine) {
  const ScenarioReading reading = readScenario(scenarioText);
  const CheckedScenario& checked = reading.checked;
  if (checked.error) {
    run->anyInvalid = true;
    complain(run,
             reading.syntaxError
                 ? lineOf(scenarioText, reading.errorOffset, firstLine)
                 : firstLine,
             *checked.error);
    return;
  }
  for (const Problem& note : checked.notes) complain(run, firstLine, note);
  const CombatPrediction predicted = predictCombat(checked.scenario);
  run->text.clear();
  if (run->options.format == OutputFormat::json) {
    run->text = predictionJson(predicted.supportFire, predicted.prediction).dump();
    run->text += '\n';
  } else {
    renderPrediction(predicted.supportFire, predicted.prediction, &run->text);
  }
  put(run->out, run->text);
}

void runSweepOn(Run* run, std::string_view scenarioText, std::size_t firstLine) {
  const ScenarioText parsed = parseScenario(scenarioText);
  if (parsed.error) {
    run->anyInvalid = true;
    complain(run,
             parsed.syntaxError
                 ? lineOf(scenarioText, parsed.errorOffset, firstLine)
                 : firstLine,
             *parsed.error);
    return;
  }
  const CheckedScenario checked = checkScenario(parsed.scenario, parsed.given);
  if (checked.error) {
    run->anyInvalid = true;
    complain(run, firstLine, *checked.error);
    return;
  }
  for (const Problem& note : checked.notes) complain(run, firstLine, note);
  Problem error;
  if (!runSweep(parsed, *run->options.sweep, run->options.format, run->out,
                &error)) {
    run->anyInvalid = true;
    complain(run, firstLine, error);
  }
}

int cannotRead(Run* run, int error) {
  flushOutput(run->out);
  put(run->err, "zelvorn-odds: cannot read ");
  put(run->err, run->name);
  put(run->err, ": ");
  put(run->err, std::strerror(error));
  put(run->err, "\n");
  flushOutput(run->err);
  return 2;
}

void tooLong(Run* run, std::size_t line) {
  run->anyInvalid = true;
  complain(run, line, {"scenario", "longer than 16 MiB (allowed: one JSON "
                                   "object of at most 16 MiB)"});
}

// One scenario of the file, with or without a sweep; a sweep takes one
// scenario only.
void runScenario(Run* run, std::string_view text, std::size_t firstLine) {
  ++run->scenarios;
  if (!run->options.sweep) {
    runOne(run, text, firstLine);
  } else if (run->scenarios == 1) {
    runSweepOn(run, text, firstLine);
  } else {
    run->anyInvalid = true;
    complain(run, firstLine,
             {"scenario", "a second scenario (allowed: one scenario with "
                          "--vary)"});
  }
}

// The next line that is not blank; false at the end of the file.  The
// blank lines before it are added to `*skipped`, when given.
bool nextScenarioLine(LineSource* source, std::string* line,
                      std::string* skipped) {
  while (nextLine(source, line)) {
    if (!isBlankLine(*line) || source->tooLong) return true;
    if (skipped != nullptr) *skipped += *line + '\n';
  }
  return false;
}

// JSON Lines: every line that is not blank is one scenario.
void runLines(Run* run, LineSource* source, std::string line) {
  do {
    if (source->tooLong) {
      ++run->scenarios;
      tooLong(run, source->lineNumber);
    } else {
      runScenario(run, line, source->lineNumber);
    }
  } while (!run->out->failed && nextScenarioLine(source, &line, nullptr));
}

// One object over several lines: the rest of the file.
void runObject(Run* run, LineSource* source, std::string text,
               std::size_t firstLine) {
  bool cut = false;
  std::string line;
  while (nextLine(source, &line)) {
    if (source->tooLong || text.size() + line.size() + 1 > kLongestScenario) {
      cut = true;
      continue;
    }
    text += '\n';
    text += line;
  }
  if (cut) {
    ++run->scenarios;
    tooLong(run, firstLine);
    return;
  }
  runScenario(run, text, firstLine);
}

}  // namespace

int runScenarioFile(const ScenarioFileOptions& options, Output* out,
                    Output* err) {
  Run run{options, out, err, options.path, false, 0, {}};
  int fd = STDIN_FILENO;
  if (options.path != "-") {
    fd = open(options.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return cannotRead(&run, errno);
  }
  LineSource source{inputFromFd(fd)};

  std::string first;
  if (nextScenarioLine(&source, &first, nullptr)) {
    const std::size_t firstLine = source.lineNumber;
    if (firstLine == 1 && first.starts_with(kByteOrderMark)) {
      first.erase(0, kByteOrderMark.size());
    }
    std::string gap;
    std::string second;
    if (source.tooLong || closesAll(first)) {
      runLines(&run, &source, std::move(first));
    } else if (!nextScenarioLine(&source, &second, &gap)) {
      // A first line cut short, and nothing after it.
      runScenario(&run, first, firstLine);
    } else if (second.starts_with("{")) {
      // JSON Lines whose first line is cut short.
      runScenario(&run, first, firstLine);
      runLines(&run, &source, std::move(second));
    } else {
      runObject(&run, &source, first + '\n' + gap + second, firstLine);
    }
  }
  const int readError = source.in.error;
  if (fd != STDIN_FILENO) close(fd);
  if (readError != 0) return cannotRead(&run, readError);
  if (run.scenarios == 0) {
    run.anyInvalid = true;
    complain(&run, 1, {"scenario", "the file holds no scenario (allowed: JSON "
                                   "Lines, or one JSON object)"});
  }
  if (!flushOutput(out)) {
    put(err, "zelvorn-odds: the output could not be written\n");
    flushOutput(err);
    return 2;
  }
  return run.anyInvalid ? 1 : 0;
}
