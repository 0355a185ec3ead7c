// zelvorn-formats: writes the JSON schemas of a scenario and of a roster
// and the manual's field lists from the field catalogue, so that the
// committed files never drift from what the reader takes.
//
//   zelvorn-formats SCENARIO_SCHEMA ROSTER_SCHEMA MANUAL_IN MANUAL_OUT
//
// MANUAL_OUT is MANUAL_IN with the parts between its markers written anew
// (it may be the same file).  Exit status 0, or 1 when a file cannot be
// read or written or the manual lacks a marker.
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "formats/formats.h"

namespace {

std::optional<std::string> readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool writeFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  return static_cast<bool>(file);
}

int fail(const std::string& message) {
  std::cerr << "zelvorn-formats: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    return fail("usage: zelvorn-formats SCENARIO_SCHEMA ROSTER_SCHEMA MANUAL_IN MANUAL_OUT");
  }
  const std::optional<std::string> manual = readFile(argv[3]);
  if (!manual) return fail(std::string("cannot read ") + argv[3]);
  std::optional<std::string> written =
      withManualPart(*manual, "scenario fields", manualScenarioFields());
  if (written) written = withManualPart(*written, "preset fields", manualPresetFields());
  if (!written) return fail(std::string(argv[3]) + ": a field list's markers are missing");
  if (!writeFile(argv[1], scenarioSchema())) return fail(std::string("cannot write ") + argv[1]);
  if (!writeFile(argv[2], rosterSchema())) return fail(std::string("cannot write ") + argv[2]);
  if (!writeFile(argv[4], *written)) return fail(std::string("cannot write ") + argv[4]);
  return 0;
}
