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

}  // extern "C"
