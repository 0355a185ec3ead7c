// What would help: one scenario predicted with each change that the
// attacker can still make (see combat/advice.h) and, with a roster, with
// the best presets for its attacker, a row each, best first.
#ifndef ZELVORN_FILES_ADVISE_H_
#define ZELVORN_FILES_ADVISE_H_

#include <cstddef>
#include <string_view>
#include <vector>

#include "files/scenario_reader.h"
#include "io/output.h"
#include "report/advice_report.h"
#include "report/prediction_table.h"
#include "scenario/roster.h"

// How many presets for the attacker the rows suggest.
constexpr std::size_t kAdvisedPresets = 3;

// The figures that --sort takes with --advise: those of --compare but the
// preset's name.
std::vector<std::string_view> adviceSortNames();

// The rows for the scenario `text` (as read, with the presets it names put
// in), whose check `checked` found no error: the combat as given first,
// then every change that applies, each checked and predicted as the
// scenario with that change written out would be, and with `roster` the
// best kAdvisedPresets presets for the attacker (other than the one it
// names) as --compare attacker orders them.  The changes are ordered best
// first for the attacker by `sort` as --compare orders its rows (empty: the
// usual order); a change whose scenario cannot be computed comes last, with
// its error.
std::vector<AdviceRow> adviceRows(const ScenarioText& text,
                                  const CheckedScenario& checked,
                                  const Roster* roster, std::string_view sort);

// Writes the rows as a table, CSV or JSON Lines.
void writeAdvice(const std::vector<AdviceRow>& rows, OutputFormat format,
                 Output* out);

#endif  // ZELVORN_FILES_ADVISE_H_
