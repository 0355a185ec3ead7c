#include "report/json_text.h"

std::string jsonString(std::string_view text) {
  std::string json;
  json.reserve(text.size() + 2);
  json += '"';
  std::size_t plain = 0;  // the first character not yet taken over
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    json.append(text, plain, i - plain);
    plain = i + 1;
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\b':
        json += "\\b";
        break;
      case '\f':
        json += "\\f";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default: {
        constexpr std::string_view kHex = "0123456789abcdef";
        json += "\\u00";
        json += kHex[c >> 4];
        json += kHex[c & 0xF];
      }
    }
  }
  json.append(text, plain, text.size() - plain);
  json += '"';
  return json;
}
