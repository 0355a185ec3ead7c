// The calculator's entry for the web page: the binding's functions, callable
// from JavaScript with C strings.  Each answer stays valid until the next
// call.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <string>
#include <string_view>

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

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* zelvorn_fields() { return keep(fieldsJson()); }

EMSCRIPTEN_KEEPALIVE const char* zelvorn_predict(const char* scenario) {
  return keep(predictJson(scenario));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_sweep(const char* scenario,
                                              const char* field, double from,
                                              double to) {
  return keep(sweepJson(scenario, field, static_cast<std::int64_t>(from),
                        static_cast<std::int64_t>(to)));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_import(const char* text,
                                               const char* name) {
  return keep(importJson(text, name));
}

// Texts of any length and any bytes: the page puts them in the module's
// memory itself, as a C string may be cut at a zero byte and a long one
// passed the other way would not fit the module's stack.
EMSCRIPTEN_KEEPALIVE const char* zelvorn_read(const char* bytes, double length,
                                             const char* name) {
  return keep(readJson(std::string_view(bytes, static_cast<std::size_t>(length)),
                       name));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_predict_bytes(const char* bytes,
                                                      double length) {
  return keep(predictJson(
      std::string_view(bytes, static_cast<std::size_t>(length))));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_too_long_file(const char* name) {
  return keep(tooLongFileJson(name));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_result_text(const char* scenario) {
  return keep(resultTextJson(scenario));
}

// A roster may be long: its bytes come as zelvorn_read's do, and so do the
// scenario's beside it.
EMSCRIPTEN_KEEPALIVE const char* zelvorn_roster(const char* bytes, double length,
                                               const char* name) {
  return keep(rosterJson(text(bytes, length), name));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_preset(const char* bytes, double length,
                                               const char* name,
                                               const char* side) {
  return keep(presetJson(text(bytes, length), name, side));
}

EMSCRIPTEN_KEEPALIVE const char* zelvorn_compare(const char* roster,
                                                double rosterLength,
                                                const char* scenario,
                                                double scenarioLength,
                                                const char* side,
                                                const char* sort) {
  return keep(compareJson(text(scenario, scenarioLength),
                          text(roster, rosterLength), side, sort));
}

// What would help: the scenario's bytes and the kept roster's, as for a
// comparison.
EMSCRIPTEN_KEEPALIVE const char* zelvorn_advise(const char* scenario,
                                               double scenarioLength,
                                               const char* roster,
                                               double rosterLength) {
  return keep(adviceJson(text(scenario, scenarioLength), text(roster, rosterLength)));
}

}  // extern "C"
