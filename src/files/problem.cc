#include "files/problem.h"

#include <cstring>

#include "io/output.h"

namespace {

constexpr std::string_view kHelpHint = " (try 'zelvorn-odds --help')";

std::string fileLine(std::string_view file, std::size_t firstLine,
                     const Place& place, bool column) {
  std::string text(file);
  text += ':';
  text += std::to_string(place.line == 0 ? firstLine
                                         : firstLine + place.line - 1);
  if (column && place.column > 0) {
    text += ':';
    text += std::to_string(place.column);
  }
  return text + ": ";
}

}  // namespace

void addProblemAt(std::vector<Problem>* problems, Place place, std::string field,
                  std::string message, Reason reason) {
  problems->push_back({std::move(field), std::move(message), {place.line, 0}});
  problems->back().reason = reason;
}

Problem cannotProblem(std::string_view what, std::string_view path, int error) {
  Problem problem{"",
                  "cannot " + std::string(what) + " " + std::string(path) +
                      ": " + std::strerror(error),
                  {}};
  problem.reason = Reason::cannotRead;
  return problem;
}

void addProblem(Problems* problems, Problem problem) {
  if (problems->told.size() >= kMostProblemsTold) {
    ++problems->untold;
    return;
  }
  problems->told.push_back(std::move(problem));
}

std::string problemText(const Problem& problem) {
  std::string text;
  if (!problem.preset.empty()) text = "preset " + problem.preset + ": ";
  if (!problem.field.empty()) text += problem.field + ": ";
  return text + problem.message;
}

std::string fileProblemLine(std::string_view file, std::size_t firstLine,
                            const Problem& problem) {
  if (problem.reason == Reason::cannotRead) return programProblemLine(problem);
  return fileLine(file, firstLine, problem.place, problem.showColumn) +
         problemText(problem) + '\n';
}

std::string moreProblemsLine(std::string_view file, std::size_t firstLine,
                             std::size_t more) {
  return fileLine(file, firstLine, {}, false) + "and " + std::to_string(more) +
         " more\n";
}

std::string fileProblemLines(std::string_view file, std::size_t firstLine,
                             const Problems& problems) {
  std::string lines;
  for (const Problem& problem : problems.told) {
    lines += fileProblemLine(file, firstLine, problem);
  }
  if (problems.untold > 0) {
    lines += moreProblemsLine(file, firstLine, problems.untold);
  }
  return lines;
}

std::string programProblemLine(const Problem& problem) {
  return std::string(kMessagePrefix) + problemText(problem) + '\n';
}

std::string usageProblemLine(const Problem& problem) {
  return std::string(kMessagePrefix) + problemText(problem) +
         std::string(kHelpHint) + '\n';
}
