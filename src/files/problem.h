// What is wrong with a scenario, a roster, a sweep or the command line, the
// list that keeps them, and the one way every such message is written.
#ifndef ZELVORN_FILES_PROBLEM_H_
#define ZELVORN_FILES_PROBLEM_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Where in a file's text something stands: its line, counted from 1 at the
// text's first line, and its column, counted from 1 in bytes.  A line of 0
// is the text as a whole (a field that is missing).
struct Place {
  std::size_t line = 0;
  std::size_t column = 0;
};

// Why a value was refused, as a reader decides it, for a front end that
// words it in its own way.
enum class Reason : std::uint8_t {
  none,          // no value is at fault (a note, an option, a sweep)
  notJson,       // the text is not JSON
  tooLong,       // the text is longer than a reader takes
  cannotRead,    // the file cannot be read at all
  wrongType,     // a value of another kind
  notWhole,      // a number with a fraction
  belowMinimum,  // a whole number below the field's range
  aboveMaximum,  // a whole number above it, or beyond 64 bits
  outOfRange,    // a text too long, or a list too long
  unknownWord,   // a word that no entry of the menu is
  unknownName,   // a name that the object does not take
  givenTwice,    // a name given twice
  missing,       // a field that must be given
  conflict,      // a value that does not agree with another
};

// What is wrong with a field, or what became of it: the field's dotted name
// (or the option, on the command line), the message, such as "0 is out of
// range (allowed: 1 to 999999999)", the place of the field, why its value
// was refused, and for a roster the preset it belongs to (as messages show
// its name; empty for the file as a whole).
struct Problem {
  std::string field;
  std::string message;
  Place place;
  // The column is shown only where the field's name cannot find the
  // mistake: in text that is not JSON.
  bool showColumn = false;
  Reason reason = Reason::none;
  std::string preset{};
};

// The most problems told for one scenario or roster; the rest are counted
// in one line.
constexpr std::size_t kMostProblemsTold = 20;

// The problems of one reading: the first kMostProblemsTold, and how many
// more there were (kept only as a count, so that memory stays bounded).
struct Problems {
  std::vector<Problem> told;
  std::size_t untold = 0;
};

// Adds to `*problems` the problem of `field` said at the line of `place`
// (a file's line, where its column does not help).
void addProblemAt(std::vector<Problem>* problems, Place place, std::string field,
                  std::string message, Reason reason);

// "cannot read PATH: No such file or directory", of the program as a
// whole: `what` ("read", "write") could not be done to the file at `path`
// for the reason of errno `error`.
Problem cannotProblem(std::string_view what, std::string_view path, int error);

// Keeps `problem` in `*problems`, or counts it when kMostProblemsTold are
// kept already.
void addProblem(Problems* problems, Problem problem);

// What a function that can fail gives: its result, or the problems that
// refuse it.
template <typename Result>
using OrProblems = std::variant<Result, Problems>;

// The problems of one field as a message says them: "field: message", with
// "preset NAME: " before it for a preset's, or the message alone when no
// field is named.
std::string problemText(const Problem& problem);

// "FILE:LINE: field: message\n" (with ":COLUMN" after LINE when the problem
// shows it), for a problem of the text that begins on `firstLine` of the
// file named `file`; "zelvorn-odds: message\n" for a file that cannot be
// read.
std::string fileProblemLine(std::string_view file, std::size_t firstLine,
                            const Problem& problem);

// "FILE:LINE: and N more\n", after the first kMostProblemsTold.
std::string moreProblemsLine(std::string_view file, std::size_t firstLine,
                             std::size_t more);

// Every problem of `problems`, a line each, and the count of the untold
// ones after them, said of the text's first line.
std::string fileProblemLines(std::string_view file, std::size_t firstLine,
                             const Problems& problems);

// "zelvorn-odds: field: message\n", or "zelvorn-odds: message\n" when no
// field is named: an error of the program as a whole.
std::string programProblemLine(const Problem& problem);

// The same, with the hint to the options' help, for a wrong command line.
std::string usageProblemLine(const Problem& problem);

#endif  // ZELVORN_FILES_PROBLEM_H_
