// JSON written straight as text, byte for byte as the JSON library writes it
// compactly, for output written a row at a time by the thousand, where
// building the library's values would cost more than the figures.
#ifndef ZELVORN_REPORT_JSON_TEXT_H_
#define ZELVORN_REPORT_JSON_TEXT_H_

#include <string>
#include <string_view>

// `text` (valid UTF-8) as a JSON string: quoted, with quotes, backslashes
// and control characters escaped as the JSON library escapes them ("\n",
// "\u001f"), every other character as it stands.
std::string jsonString(std::string_view text);

#endif  // ZELVORN_REPORT_JSON_TEXT_H_
