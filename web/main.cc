// The calculator's entry for the web page: the binding's functions, callable
// from JavaScript with C strings.  Each answer stays valid until the next
// call.  These are the module's exports, every one of them called by the
// page (web/page/calc.js): the build exports them by their mark, and lists
// no other of its own.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "files/roster_reader.h"
#include "web/binding.h"

namespace {

const char* keep(std::string text) {
  static std::string answer;
  answer = std::move(text);
  return answer.c_str();
}

std::string_view text(const char* bytes, double length) {
  return std::string_view(bytes, static_cast<std::size_t>(length));
}

// The roster that the page keeps, read once when it changes: its presets
// fill a side and are compared with at every change of an answer.
Roster& keptRoster() {
  static Roster roster;
  return roster;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* zelvorn_fields() { return keep(fieldsJson()); }

// Texts of any length and any bytes: the page puts them in the module's
// memory itself, as a C string may be cut at a zero byte and a long one
// passed the other way would not fit the module's stack.  The prediction
// brings the chart of the field `chartField` (or of the page's own choice
// when it names none that the combat takes): one call a change.
EMSCRIPTEN_KEEPALIVE const char* zelvorn_predict(const char* bytes, double length,
                                                const char* chartField) {
  return keep(predictJson(text(bytes, length), chartField));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_read(const char* bytes, double length,
                                             const char* name) {
  return keep(readJson(text(bytes, length), name));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_too_long_file(const char* name) {
  return keep(tooLongFileJson(name));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_result_text(const char* bytes, double length) {
  return keep(resultTextJson(text(bytes, length)));
}

// A roster read; when `kept` is not 0 and the roster is valid, it becomes
// the roster that zelvorn_preset and zelvorn_compare take, until the next.
EMSCRIPTEN_KEEPALIVE const char* zelvorn_roster(const char* bytes, double length,
                                               const char* name, double kept) {
  RosterReading reading = parseRoster(text(bytes, length));
  std::string answer = rosterJson(reading, name);
  if (kept != 0 && reading.problems.told.empty()) keptRoster() = std::move(reading.roster);
  return keep(std::move(answer));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_preset(const char* name, const char* side) {
  return keep(presetJson(keptRoster(), name, side));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_compare(const char* bytes, double length,
                                                const char* side, const char* sort) {
  return keep(compareJson(text(bytes, length), keptRoster(), side, sort));
}

// What would help, with the presets of the kept roster.
EMSCRIPTEN_KEEPALIVE const char* zelvorn_advise(const char* bytes, double length) {
  return keep(adviceJson(text(bytes, length), keptRoster()));
}

}  // extern "C"
