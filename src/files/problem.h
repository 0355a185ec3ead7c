// What is wrong with a scenario, a sweep or the command line, and the one
// way every such message is written.
#ifndef ZELVORN_FILES_PROBLEM_H_
#define ZELVORN_FILES_PROBLEM_H_

#include <cstddef>
#include <string>
#include <string_view>

// Where in a scenario's text something stands: its line, counted from 1 at
// the scenario's first line, and its column, counted from 1 in bytes.  A
// line of 0 is the scenario as a whole (a field that is missing).
struct Place {
  std::size_t line = 0;
  std::size_t column = 0;
};

// What is wrong with a field, or what became of it: the field's dotted name
// (or the option, on the command line), the message, such as "0 is out of
// range (allowed: 1 to 999999999)", and the place of the field.
struct Problem {
  std::string field;
  std::string message;
  Place place;
  // The column is shown only where the field's name cannot find the
  // mistake: in text that is not JSON.
  bool showColumn = false;
};

// The most problems told for one scenario; the rest are counted in one
// line.
constexpr std::size_t kMostProblemsTold = 20;

// "field: message", or the message alone when no field is named: the words
// that every line of a problem ends with, and what the page shows of one.
std::string problemText(const Problem& problem);

// "FILE:LINE: field: message\n" (with ":COLUMN" after LINE when the problem
// shows it), for a problem of the scenario that begins on `firstLine` of
// the file named `file`.
std::string fileProblemLine(std::string_view file, std::size_t firstLine,
                            const Problem& problem);

// "FILE:LINE: and N more problems\n", after the first kMostProblemsTold.
std::string moreProblemsLine(std::string_view file, std::size_t firstLine,
                             std::size_t more);

// "zelvorn-odds: field: message\n", or "zelvorn-odds: message\n" when no
// field is named: an error of the program as a whole.
std::string programProblemLine(const Problem& problem);

// The same, with the hint to the options' help, for a wrong command line.
std::string usageProblemLine(const Problem& problem);

#endif  // ZELVORN_FILES_PROBLEM_H_
