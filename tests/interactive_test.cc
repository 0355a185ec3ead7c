// Drives the calculator through pipes one answer at a time, each only after
// its prompt has appeared, as a player at the keyboard would: every prompt
// must reach the screen before the program waits for its answer.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogue/main_loop.h"

namespace {

// A tank attacks a tank, then the same combat is recomputed for two other
// softening values and a second combat follows.
const std::vector<std::string> kAnswers = {
    "2", "2", "n", "8", "7", "6", "0", "2", "2", "10", "0", "n", "y", "n",
    "7", "8", "4", "8", "0", "1", "1", "10", "0", "n", "n", "n", "1", "n",
    "6", "1", "y", "n", "y", "0", "y", "5", "y", "1", "n", "y", "2", "2",
    "n", "10", "5", "7", "0", "0", "1", "10", "0", "n", "y", "n", "7", "8",
    "5", "6", "0", "0", "1", "10", "0", "n", "n", "n", "0", "n", "6", "y",
    "n", "n", "n"};

std::size_t countMarkers(const std::string& output) {
  std::size_t count = 0;
  for (std::size_t at = output.find(">> "); at != std::string::npos;
       at = output.find(">> ", at + 3)) {
    ++count;
  }
  return count;
}

// Reads what the program prints until `markers` input markers have appeared;
// false when they do not appear within the timeout.
bool awaitMarkers(int fd, std::string& output, std::size_t markers) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (countMarkers(output) < markers) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) return false;
    char chunk[4096];
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got <= 0) return false;
    output.append(chunk, static_cast<std::size_t>(got));
  }
  return true;
}

TEST(Interactive, EveryPromptAppearsBeforeItsAnswerIsTyped) {
  signal(SIGPIPE, SIG_IGN);
  int toProgram[2];
  int fromProgram[2];
  ASSERT_EQ(pipe(toProgram), 0);
  ASSERT_EQ(pipe(fromProgram), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(toProgram[0], 0);
    dup2(fromProgram[1], 1);
    close(toProgram[1]);
    close(fromProgram[0]);
    execl(ZELVORN_ODDS_BINARY, ZELVORN_ODDS_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(toProgram[0]);
  close(fromProgram[1]);

  std::string output;
  bool allPrompted = true;
  for (std::size_t i = 0; i < kAnswers.size(); ++i) {
    if (!awaitMarkers(fromProgram[0], output, i + 1)) {
      ADD_FAILURE() << "no prompt for answer " << i + 1 << "; output so far:\n"
                    << output;
      allPrompted = false;
      break;
    }
    const std::string line = kAnswers[i] + "\n";
    ASSERT_EQ(write(toProgram[1], line.data(), line.size()),
              static_cast<ssize_t>(line.size()));
  }
  close(toProgram[1]);
  char chunk[4096];
  ssize_t got;
  while ((got = read(fromProgram[0], chunk, sizeof chunk)) > 0) {
    output.append(chunk, static_cast<std::size_t>(got));
  }
  close(fromProgram[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!allPrompted) return;
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  // Typed one at a time or piped all at once, the dialogue is the same.
  std::string answers;
  for (const std::string& answer : kAnswers) answers += answer + "\n";
  std::istringstream in(answers);
  std::ostringstream piped;
  std::ostringstream err;
  EXPECT_EQ(runOdds(in, piped, err), 0);
  EXPECT_EQ(output, piped.str());
}

}  // namespace
