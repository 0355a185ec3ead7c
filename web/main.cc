// The calculator's entry for the web page: the binding's functions, callable
// from JavaScript with C strings.  Each answer stays valid until the next
// call.
#include <emscripten/emscripten.h>

#include <string>

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

}  // extern "C"
