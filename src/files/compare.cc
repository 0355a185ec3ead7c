#include "files/compare.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "combat/combat.h"
#include "report/prediction_json.h"

namespace {

// The figures of a row, in the order of the CSV's columns after the name.
constexpr std::string_view kColumns[] = {
    "attackerLosses",          "defenderLosses",
    "defenderSuppression",     "attackerLossesNoSupport",
    "defenderLossesNoSupport", "defenderSuppressionNoSupport",
    "ruggedChance",            "ruggedAttackerLosses",
    "ruggedDefenderLosses",    "ruggedDefenderSuppression"};
constexpr std::size_t kFigures = std::size(kColumns);
constexpr std::string_view kNameColumn = "preset";

// Where the figures stand that the usual order and the rugged outcome use.
constexpr std::size_t kAttackerLosses = 0;
constexpr std::size_t kDefenderLosses = 1;
constexpr std::size_t kFirstRuggedOutcome = 7;

// The table's heading: each column named under its group.
struct TableColumn {
  std::string_view group;
  std::string_view name;
};
constexpr TableColumn kTableColumns[] = {
    {"odds", "attacker"},          {"", "defender"},
    {"", "suppression"},           {"odds without support", "attacker"},
    {"", "defender"},              {"", "suppression"},
    {"rugged defense", "chance"},  {"", "attacker"},
    {"", "defender"},              {"", "suppression"}};

std::int64_t notBelowZero(std::int64_t value) { return value < 0 ? 0 : value; }

std::array<std::int64_t, kFigures> figuresOf(const Prediction& p) {
  const Odds& o = p.odds;
  return {o.attackerLosses,
          o.defenderLosses,
          notBelowZero(o.defenderSuppression),
          o.attackerLossesNoSupport,
          o.defenderLossesNoSupport,
          notBelowZero(o.defenderSuppressionNoSupport),
          p.ruggedChance,
          p.rugged.attackerLosses,
          p.rugged.defenderLosses,
          notBelowZero(p.rugged.defenderSuppression)};
}

// The rugged outcome is blank when no rugged defense is possible.
bool blank(const Prediction& p, std::size_t column) {
  return column >= kFirstRuggedOutcome && p.ruggedChance <= 0;
}

// Whether a larger figure is better for the attacker, column by column:
// the defender's losses and suppression are, the attacker's losses and the
// chance of a rugged defense are not.
constexpr bool kMoreIsBetter[kFigures] = {false, true,  true,  false, true,
                                          true,  false, false, true,  true};
bool moreIsBetter(std::size_t column) { return kMoreIsBetter[column]; }

std::string_view digitsOf(std::int64_t value, char (&digits)[24]) {
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return {digits, static_cast<std::size_t>(result.ptr - digits)};
}

// The width of a name as a terminal shows it: UTF-8 continuation bytes
// take no place of their own.
std::size_t widthOf(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

void putBlanks(Output* out, std::size_t count) {
  constexpr std::string_view kBlanks = "                                ";
  while (count > 0) {
    const std::size_t now = std::min(count, kBlanks.size());
    put(out, kBlanks.substr(0, now));
    count -= now;
  }
}

// A cell of the table: right-aligned in its column after two blanks.
void putCell(Output* out, std::string_view text, std::size_t width) {
  put(out, "  ");
  putBlanks(out, text.size() < width ? width - text.size() : 0);
  put(out, text);
}

// A CSV field, quoted when it holds a separator, a quote or a line break.
void putCsvField(Output* out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    put(out, text);
    return;
  }
  put(out, "\"");
  for (const char c : text) put(out, c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1));
  put(out, "\"");
}

void writeTable(const std::vector<CompareRow>& rows, Output* out) {
  std::size_t nameWidth = kNameColumn.size();
  for (const CompareRow& row : rows) {
    nameWidth = std::max(nameWidth, widthOf(row.preset->name));
  }
  std::string groups(nameWidth, ' ');
  std::string names(kNameColumn);
  names.append(nameWidth - kNameColumn.size(), ' ');
  for (const TableColumn& column : kTableColumns) {
    names += "  ";
    if (!column.group.empty()) {
      groups.resize(names.size(), ' ');
      groups += column.group;
    }
    names += column.name;
  }
  put(out, groups);
  put(out, "\n");
  put(out, names);
  put(out, "\n");
  char digits[24];
  for (const CompareRow& row : rows) {
    put(out, row.preset->name);
    putBlanks(out, nameWidth - widthOf(row.preset->name));
    if (row.error) {
      put(out, "  ");
      put(out, row.error->field);
      put(out, ": ");
      put(out, row.error->message);
      put(out, "\n");
      continue;
    }
    const auto figures = figuresOf(row.prediction);
    for (std::size_t i = 0; i < kFigures; ++i) {
      putCell(out, blank(row.prediction, i) ? "-" : digitsOf(figures[i], digits),
              kTableColumns[i].name.size());
    }
    put(out, "\n");
  }
}

void writeCsv(const std::vector<CompareRow>& rows, Output* out) {
  put(out, kNameColumn);
  for (const std::string_view column : kColumns) {
    put(out, ",");
    put(out, column);
  }
  put(out, ",error\n");
  char digits[24];
  for (const CompareRow& row : rows) {
    putCsvField(out, row.preset->name);
    const auto figures = figuresOf(row.prediction);
    for (std::size_t i = 0; i < kFigures; ++i) {
      put(out, ",");
      if (!row.error && !blank(row.prediction, i)) put(out, digitsOf(figures[i], digits));
    }
    put(out, ",");
    if (row.error) putCsvField(out, row.error->field + ": " + row.error->message);
    put(out, "\n");
  }
}

// The figures as --scenario --json gives them, but no suppression below 0.
nlohmann::ordered_json rowJson(const CompareRow& row) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  json["preset"] = row.preset->name;
  if (row.error) {
    json["error"] = {{"field", row.error->field}, {"message", row.error->message}};
    return json;
  }
  json.update(predictionJson(row.supportFire, row.prediction));
  for (const char* losses : {"odds", "oddsNoSupport", "rugged"}) {
    nlohmann::ordered_json& figures = json[losses];
    if (figures.is_null()) continue;
    for (const char* suppression : {"defenderSuppression", "defenderSuppressionNoSupport"}) {
      if (figures.contains(suppression)) {
        figures[suppression] = notBelowZero(figures[suppression].get<std::int64_t>());
      }
    }
  }
  return json;
}

}  // namespace

std::vector<std::string_view> compareSortNames() {
  std::vector<std::string_view> names{kNameColumn};
  names.insert(names.end(), std::begin(kColumns), std::end(kColumns));
  return names;
}

std::vector<CompareRow> compareRows(const ScenarioText& text,
                                    const Roster& roster, Side side) {
  std::vector<CompareRow> rows;
  // The scenario without the side's unit, made once; each preset is put
  // into a copy of it (whose vectors keep their room from row to row).
  CombatScenario without = text.scenario;
  GivenFields withoutGiven = text.given;
  clearUnit(side, &without, &withoutGiven);
  CombatScenario scenario;
  GivenFields given;
  for (const Preset& preset : roster.presets) {
    if (!serves(preset, side)) continue;
    scenario = without;
    given = withoutGiven;
    applyPreset(preset, side, &scenario, &given);
    // The notes of a row are not shown: only its figures or its error.
    CheckedScenario checked = checkScenario(scenario, given, false, false);
    CompareRow& row = rows.emplace_back();
    row.preset = &preset;
    if (checked.error) {
      row.error = std::move(checked.error);
      continue;
    }
    CombatPrediction predicted = predictCombat(checked.scenario);
    row.supportFire = std::move(predicted.supportFire);
    row.prediction = predicted.prediction;
  }
  return rows;
}

void sortRows(std::vector<CompareRow>* rows, std::string_view sort) {
  const auto names = compareSortNames();
  const auto named = std::find(names.begin(), names.end(), sort);
  // The figure's column, or none for the name or the usual order.
  std::optional<std::size_t> column;
  if (named != names.end() && named != names.begin()) {
    column = static_cast<std::size_t>(named - names.begin()) - 1;
  }
  const bool byName = sort == kNameColumn;
  // Each row's figures once, rather than at every comparison.
  std::vector<std::array<std::int64_t, kFigures>> figures;
  figures.reserve(rows->size());
  for (CompareRow& row : *rows) figures.push_back(figuresOf(row.prediction));
  std::vector<std::size_t> order(rows->size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  // Negative: a before b; positive: b before a.
  const auto compareBy = [&](std::size_t a, std::size_t b, std::size_t c) {
    const std::int64_t x = figures[a][c];
    const std::int64_t y = figures[b][c];
    if (x == y) return 0;
    return (x > y) == moreIsBetter(c) ? -1 : 1;
  };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const CompareRow& ra = (*rows)[a];
    const CompareRow& rb = (*rows)[b];
    if (ra.error || rb.error) return !ra.error && rb.error;
    if (byName && ra.preset->name != rb.preset->name) {
      return ra.preset->name < rb.preset->name;
    }
    if (column) {
      const bool blankA = blank(ra.prediction, *column);
      const bool blankB = blank(rb.prediction, *column);
      if (blankA || blankB) {
        if (blankA != blankB) return blankB;
      } else if (const int order = compareBy(a, b, *column); order != 0) {
        return order < 0;
      }
    }
    for (const std::size_t usual : {kDefenderLosses, kAttackerLosses}) {
      if (const int order = compareBy(a, b, usual); order != 0) return order < 0;
    }
    return false;
  });
  std::vector<CompareRow> sorted;
  sorted.reserve(rows->size());
  for (const std::size_t i : order) sorted.push_back(std::move((*rows)[i]));
  *rows = std::move(sorted);
}

void writeCompare(const std::vector<CompareRow>& rows, OutputFormat format,
                  Output* out) {
  switch (format) {
    case OutputFormat::text:
      writeTable(rows, out);
      return;
    case OutputFormat::csv:
      writeCsv(rows, out);
      return;
    case OutputFormat::json:
      for (const CompareRow& row : rows) {
        put(out, rowJson(row).dump());
        put(out, "\n");
      }
      return;
  }
}
