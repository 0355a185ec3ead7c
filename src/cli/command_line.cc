#include "cli/command_line.h"

#include <fcntl.h>
#include <getopt.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "dialogue/main_loop.h"
#include "files/json_answer.h"
#include "files/problem.h"
#include "files/scenario_file.h"
#include "io/line_editor.h"
#include "scenario/field_path.h"

namespace {

// The version is the build's own (CMake's project version).
constexpr std::string_view kVersion = "zelvorn-odds " ZELVORN_VERSION "\n";

constexpr std::string_view kUsage =
    "Usage: zelvorn-odds [OPTION]... [FILE]\n"
    "Predicts the losses and suppression of one combat in the wargame "
    "Zelvorn.\n"
    "Asks for the answers one by one; they come from FILE, or from standard "
    "input\n"
    "when there is no FILE or FILE is -.\n"
    "\n"
    "  -h, --help                print this help and exit\n"
    "  -V, --version             print the name and version and exit\n"
    "      --no-editing          read typed answers without line editing\n"
    "      --echo                print each answer after its question when the "
    "answers\n"
    "                            come from a file or a pipe\n"
    "      --save FILE           append each computed combat to FILE as a "
    "scenario\n"
    "                            (one JSON object per line)\n"
    "      --scenario FILE       compute the scenarios of FILE (- for "
    "standard input)\n"
    "                            instead of asking\n"
    "      --json                with --scenario: print each prediction as "
    "one line of JSON\n"
    "      --csv                 with --vary, --compare or --advise: print "
    "CSV\n"
    "      --vary FIELD=FROM..TO with --scenario: predict the scenario for "
    "every value\n"
    "                            of FIELD from FROM to TO\n"
    "      --roster FILE         the presets (units kept by name): each "
    "unit's preset\n"
    "                            is asked first; with --scenario, scenarios "
    "may\n"
    "                            name them as attacker or defender\n"
    "      --compare SIDE        with --scenario and --roster: predict the "
    "scenario with\n"
    "                            its SIDE (attacker or defender) replaced by "
    "each preset\n"
    "      --advise              with --scenario: predict each change that "
    "would help\n"
    "                            the attacker (with --roster, its three best "
    "presets\n"
    "                            too), best first\n"
    "      --sort FIGURE         with --compare or --advise: order the rows "
    "by\n"
    "                            FIGURE, best first\n"
    "      --print-fields        print the fields that --vary takes and "
    "exit\n"
    "      --print-figures       print the figures that --sort takes and "
    "exit\n"
    "\n"
    "Exit status: 0 when all went well; 1 when the answers ended while a "
    "number was\n"
    "asked, or a scenario was invalid; 2 for a wrong option, or when the "
    "answers,\n"
    "a file or the output could not be read or written.\n";

enum OptionCode {
  kNoEditing = 1000,
  kEcho,
  kSave,
  kScenario,
  kJson,
  kCsv,
  kVary,
  kRoster,
  kCompare,
  kSort,
  kPrintFields,
  kPrintFigures,
  kAdvise,
};

struct Options {
  bool help = false;
  bool version = false;
  bool printFields = false;
  bool printFigures = false;
  bool editing = true;
  bool echo = false;
  std::optional<std::string> save;
  std::optional<std::string> scenario;
  bool json = false;
  bool csv = false;
  std::optional<std::string> vary;
  std::optional<std::string> roster;
  std::optional<std::string> compare;
  std::optional<std::string> sort;
  bool advise = false;
  std::optional<std::string> answers;
};

struct Streams {
  Output out;
  Output err;
};

int usageError(Output* err, const Problem& problem) {
  put(err, usageProblemLine(problem));
  flushOutput(err);
  return 2;
}

int cannot(Output* err, std::string_view what, std::string_view path,
           int error) {
  put(err, programProblemLine(cannotProblem(what, path, error)));
  flushOutput(err);
  return 2;
}

Problems wrong(std::string message) { return {{{"", std::move(message), {}}}, 0}; }

Problems wrongOption(std::string option, std::string message) {
  return {{{std::move(option), std::move(message), {}}}, 0};
}

// The option as the command line gave it, without its value.
std::string optionName(const std::string& given) {
  return given.substr(0, given.find('='));
}

// --compare, --advise, --roster and --sort go together as they say; the problem
// when they do not.
Problems compareOptionsProblem(const Options& options) {
  if (options.compare) {
    if (*options.compare != "attacker" && *options.compare != "defender") {
      return wrongOption("--compare",
                         shownText(*options.compare) +
                             " is not a side (allowed: attacker, defender)");
    }
    if (!options.roster) return wrong("--compare needs --roster");
    if (options.vary) return wrong("--compare and --vary exclude each other");
  }
  if (options.advise) {
    if (options.compare) return wrong("--advise and --compare exclude each other");
    if (options.vary) return wrong("--advise and --vary exclude each other");
  }
  if (options.sort) {
    if (!options.compare && !options.advise) {
      return wrong("--sort needs --compare or --advise");
    }
    const auto names = options.advise ? adviceSortNames() : compareSortNames();
    if (std::find(names.begin(), names.end(), *options.sort) == names.end()) {
      std::string allowed;
      for (const std::string_view name : names) {
        allowed += allowed.empty() ? "" : ", ";
        allowed += name;
      }
      return wrongOption("--sort", shownText(*options.sort) +
                                       " is not a figure (allowed: " + allowed +
                                       ")");
    }
  }
  return {};
}

// Reads the options, or tells what is wrong with them.
OrProblems<Options> parseOptions(int argc, char** argv) {
  static const option kLong[] = {
      {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, 'V'},
      {"no-editing", no_argument, nullptr, kNoEditing},
      {"echo", no_argument, nullptr, kEcho},
      {"save", required_argument, nullptr, kSave},
      {"scenario", required_argument, nullptr, kScenario},
      {"json", no_argument, nullptr, kJson},
      {"csv", no_argument, nullptr, kCsv},
      {"vary", required_argument, nullptr, kVary},
      {"roster", required_argument, nullptr, kRoster},
      {"compare", required_argument, nullptr, kCompare},
      {"sort", required_argument, nullptr, kSort},
      {"print-fields", no_argument, nullptr, kPrintFields},
      {"print-figures", no_argument, nullptr, kPrintFigures},
      {"advise", no_argument, nullptr, kAdvise},
      {nullptr, 0, nullptr, 0},
  };
  Options options;
  std::set<int> seen;  // a second one would silently replace the first
  opterr = 0;  // the messages below say it in one line each
  optind = 1;
  for (;;) {
    const int previous = optind;
    const int code = getopt_long(argc, argv, ":hV", kLong, nullptr);
    if (code == -1) break;
    const std::string given = previous < argc ? argv[previous] : "";
    if (code != ':' && code != '?' && !seen.insert(code).second) {
      return wrong("option " + optionName(given) + " given twice");
    }
    switch (code) {
      case 'h':
        options.help = true;
        break;
      case 'V':
        options.version = true;
        break;
      case kNoEditing:
        options.editing = false;
        break;
      case kEcho:
        options.echo = true;
        break;
      case kSave:
        options.save = optarg;
        break;
      case kScenario:
        options.scenario = optarg;
        break;
      case kJson:
        options.json = true;
        break;
      case kCsv:
        options.csv = true;
        break;
      case kVary:
        options.vary = optarg;
        break;
      case kRoster:
        options.roster = optarg;
        break;
      case kCompare:
        options.compare = optarg;
        break;
      case kSort:
        options.sort = optarg;
        break;
      case kPrintFields:
        options.printFields = true;
        break;
      case kPrintFigures:
        options.printFigures = true;
        break;
      case kAdvise:
        options.advise = true;
        break;
      case ':':
        return wrong("option " + optionName(given) + " needs a value");
      default:
        if (optopt != 0 && given.rfind("--", 0) != 0) {
          return wrong(std::string("unknown option -") +
                       static_cast<char>(optopt));
        }
        return wrong("unknown option " + optionName(given));
    }
  }
  if (optind < argc) options.answers = argv[optind++];
  if (optind < argc) {
    return wrong(std::string("unexpected argument ") + argv[optind]);
  }
  if (options.help || options.version || options.printFields ||
      options.printFigures) {
    return options;
  }
  // An empty name ("--scenario=") names no file: said so, rather than as a
  // file that is not there.
  constexpr std::string_view kOrStandardInput = ", or - for standard input";
  const struct {
    std::string_view option;
    const std::optional<std::string>* name;
    std::string_view orElse;
  } files[] = {{"--scenario", &options.scenario, kOrStandardInput},
               {"--roster", &options.roster, ""},
               {"--save", &options.save, ""},
               {"FILE", &options.answers, kOrStandardInput}};
  for (const auto& file : files) {
    if (*file.name && (*file.name)->empty()) {
      return wrongOption(std::string(file.option),
                         "the file name is empty (allowed: a file name" +
                             std::string(file.orElse) + ")");
    }
  }
  // "--vary attacker.strength 1..15": the range became an answer file.
  if (options.vary && options.vary->find('=') == std::string::npos &&
      options.answers && options.answers->find("..") != std::string::npos) {
    return wrongOption("--vary",
                       "expected FIELD=FROM..TO, such as attacker.strength=1..20 "
                       "(the = is missing: write " +
                           *options.vary + "=" + *options.answers +
                           " as one argument)");
  }
  if (options.scenario) {
    if (options.answers) {
      return wrong("--scenario takes no answer file " + *options.answers);
    }
    if (options.save || options.echo) {
      return wrong(std::string(options.save ? "--save" : "--echo") +
                   " goes with the questions, not with --scenario");
    }
  } else {
    if (options.json || options.csv || options.vary || options.compare ||
        options.advise) {
      return wrong(std::string(options.json      ? "--json"
                               : options.csv     ? "--csv"
                               : options.vary    ? "--vary"
                               : options.compare ? "--compare"
                                                 : "--advise") +
                   " needs --scenario");
    }
  }
  if (Problems problems = compareOptionsProblem(options); !problems.told.empty()) {
    return problems;
  }
  if (options.csv && !options.vary && !options.compare && !options.advise) {
    return wrong("--csv needs --vary, --compare or --advise");
  }
  if (options.json && options.csv) {
    return wrong("--json and --csv exclude each other");
  }
  return options;
}

// Reads the roster at `path` into `*roster`; gives 0, or the exit status
// after telling why the roster is refused.
int readRoster(const std::string& path, RosterReading* roster,
               Streams* streams) {
  *roster = readRosterFile(path);
  const Problems& problems = roster->problems;
  if (problems.told.empty()) return 0;
  put(&streams->err, fileProblemLines(path, 1, problems));
  flushOutput(&streams->err);
  return problems.told.front().reason == Reason::cannotRead ? 2 : 1;
}

// Prints `lines`, one a line.
int printLines(const std::vector<std::string_view>& lines, Streams* streams) {
  for (const std::string_view line : lines) {
    put(&streams->out, line);
    put(&streams->out, "\n");
  }
  if (!flushOutput(&streams->out)) {
    put(&streams->err,
        programProblemLine({"", "the output could not be written", {}}));
    flushOutput(&streams->err);
    return 2;
  }
  return 0;
}

int runScenarios(const Options& options, Streams* streams) {
  ScenarioFileOptions file;
  file.path = *options.scenario;
  file.format = options.json  ? OutputFormat::json
                : options.csv ? OutputFormat::csv
                              : OutputFormat::text;
  if (options.vary) {
    OrProblems<SweepRequest> request = parseSweepRequest(*options.vary);
    if (const Problems* problems = std::get_if<Problems>(&request)) {
      // The option is at fault, and the field in it when one is named.
      return usageError(&streams->err,
                        {"--vary", problemText(problems->told.front()), {}});
    }
    file.sweep = std::get<SweepRequest>(std::move(request));
  }
  RosterReading roster;
  if (options.roster) {
    if (const int status = readRoster(*options.roster, &roster, streams)) {
      return status;
    }
    file.roster = &roster.roster;
    file.rosterPath = *options.roster;
  }
  if (options.compare) {
    file.compare = CompareRequest{
        *options.compare == "attacker" ? Side::attacker : Side::defender,
        options.sort.value_or("")};
  }
  if (options.advise) file.advise = options.sort.value_or("");
  return runScenarioFile(file, &streams->out, &streams->err);
}

int runQuestions(const Options& options, Streams* streams,
                 bool standardInputClosed) {
  // A roster that cannot be used ends the run before the first question.
  RosterReading roster;
  if (options.roster) {
    if (const int status = readRoster(*options.roster, &roster, streams)) {
      return status;
    }
  }
  Console console;
  console.out = std::move(streams->out);
  DialogueOptions dialogue;
  if (options.roster) dialogue.roster = &roster.roster;
  dialogue.outputIsTerminal = isatty(STDOUT_FILENO) == 1;

  int answers = standardInputClosed ? -1 : STDIN_FILENO;
  const bool fromFile = options.answers && *options.answers != "-";
  if (fromFile) {
    answers = open(options.answers->c_str(), O_RDONLY | O_CLOEXEC);
    if (answers < 0) {
      return cannot(&streams->err, "read", *options.answers, errno);
    }
  }
  Output save;
  if (options.save) {
    const int fd = open(options.save->c_str(),
                        O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return cannot(&streams->err, "write", *options.save, errno);
    save = outputToFd(fd);
    dialogue.save = &save;
    dialogue.savePath = *options.save;
  }

  // Typed answers are read through the line editor; answers from a file or
  // a pipe are read as they come, and shown when asked for.
  const bool typed = !fromFile && answers >= 0 && isatty(answers) == 1;
  LineEditor* editor = nullptr;
  if (typed && options.editing && dialogue.outputIsTerminal) {
    editor = openLineEditor("zelvorn-odds");
  }
  console.in = editor != nullptr ? inputFromEditor(editor) : inputFromFd(answers);
  console.echo = options.echo && !typed;

  const int status = runDialogue(console, streams->err, dialogue);
  closeLineEditor(editor);
  if (fromFile) close(answers);
  if (options.save) close(save.fd);
  return status;
}

// Which of standard input and output were closed when the program began.
struct ClosedStreams {
  bool input = false;
  bool output = false;
};

// Standard streams that are closed are opened on /dev/null, so that no file
// the program opens takes their place; a closed standard input or output
// still counts as one that cannot be read or written.
ClosedStreams reopenClosedStandardStreams() {
  ClosedStreams closed;
  for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    if (fd == STDIN_FILENO) closed.input = true;
    if (fd == STDOUT_FILENO) closed.output = true;
    const int opened = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != fd) close(opened);
  }
  return closed;
}

}  // namespace

int runCommandLine(int argc, char** argv) {
  const ClosedStreams closed = reopenClosedStandardStreams();
  Streams streams;
  streams.out = outputToFd(closed.output ? -1 : STDOUT_FILENO);
  streams.err = outputToFd(STDERR_FILENO);
  OrProblems<Options> parsed = parseOptions(argc, argv);
  if (const Problems* problems = std::get_if<Problems>(&parsed)) {
    return usageError(&streams.err, problems->told.front());
  }
  const Options& options = std::get<Options>(parsed);
  if (options.printFields) {
    const std::vector<std::string> fields = wholeFieldNames();
    return printLines({fields.begin(), fields.end()}, &streams);
  }
  if (options.printFigures) return printLines(compareSortNames(), &streams);
  if (options.help || options.version) {
    put(&streams.out, options.help ? kUsage : kVersion);
    if (!flushOutput(&streams.out)) {
      put(&streams.err,
          programProblemLine({"", "the output could not be written", {}}));
      flushOutput(&streams.err);
      return 2;
    }
    return 0;
  }
  if (options.scenario) return runScenarios(options, &streams);
  return runQuestions(options, &streams, closed.input);
}
