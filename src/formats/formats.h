// The descriptions of the file formats that are written from the field
// catalogue rather than by hand: the JSON schemas of a scenario and of a
// roster, and the manual's lists of their fields.
#ifndef ZELVORN_FORMATS_FORMATS_H_
#define ZELVORN_FORMATS_FORMATS_H_

#include <optional>
#include <string>
#include <string_view>

// The JSON Schema of a scenario, as docs/scenario.schema.json holds it
// (indented by two, with a final line feed).
std::string scenarioSchema();

// The JSON Schema of a roster, as docs/roster.schema.json holds it.
std::string rosterSchema();

// The manual's list of a scenario's fields and that of a preset's, in
// roff: each field with its range or kind, its value when not asked, what
// it means and when the dialogue asks it.
std::string manualScenarioFields();
std::string manualPresetFields();

// `manual` with the lines between the marker line that opens the part
// named `part` and the one that closes it replaced by `text`; nothing when
// the manual lacks either marker.
std::optional<std::string> withManualPart(std::string_view manual,
                                          std::string_view part,
                                          std::string_view text);

#endif  // ZELVORN_FORMATS_FORMATS_H_
