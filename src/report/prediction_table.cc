#include "report/prediction_table.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>

#include "report/prediction_json.h"

namespace {

// The columns of the CSV, after the label.
constexpr std::string_view kCsvColumns[kTableFigures] = {
    "attackerLosses",          "defenderLosses",
    "defenderSuppression",     "attackerLossesNoSupport",
    "defenderLossesNoSupport", "defenderSuppressionNoSupport",
    "ruggedChance",            "ruggedAttackerLosses",
    "ruggedDefenderLosses",    "ruggedDefenderSuppression"};

// The table's two-line heading: each column named under its group, a
// group's name over its first column.  The text table has no columns of its
// own for the odds without support: where support fire counted, each odds
// cell holds both figures, "2 (3)", under a heading that says so.
struct TableColumn {
  std::string_view group;
  std::string_view name;
  std::string_view shortName;  // beside the rugged outcome, to stay narrow
};
constexpr TableColumn kTableColumns[kTableFigures] = {
    {"odds", "attacker", "attacker"},
    {"", "defender", "defender"},
    {"", "suppression", "supp."},
    {"", "", ""},
    {"", "", ""},
    {"", "", ""},
    {"rugged defense", "chance", "chance"},
    {"", "attacker", "attacker"},
    {"", "defender", "defender"},
    {"", "suppression", "supp."}};
constexpr std::string_view kOddsWithSupportGroup = "odds (without support)";

constexpr std::size_t kFirstNoSupport = 3;
constexpr std::size_t kOddsFigures = 3;  // attacker, defender, suppression
constexpr std::size_t kFirstRuggedOutcome = 7;

// A rugged outcome's figure when no rugged defense is possible: blank.
bool blank(const TableRow& row, std::size_t column) {
  return column >= kFirstRuggedOutcome && !row.rugged;
}

// The width of a text as a terminal shows it: UTF-8 continuation bytes
// take no place of their own.
std::size_t widthOf(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
      }));
}

void appendCell(std::string* line, std::string_view text, std::size_t width,
                LabelAlign align = LabelAlign::right) {
  if (!line->empty()) *line += "  ";
  const std::size_t shown = widthOf(text);
  const std::size_t pad = shown < width ? width - shown : 0;
  if (align == LabelAlign::right) line->append(pad, ' ');
  *line += text;
  if (align == LabelAlign::left) line->append(pad, ' ');
}

// A CSV field, quoted when it holds a separator, a quote or a line break.
void appendCsvField(std::string* line, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    *line += text;
    return;
  }
  *line += '"';
  for (const char c : text) {
    if (c == '"') *line += '"';
    *line += c;
  }
  *line += '"';
}

// What the text table shows: whether the odds without support stand
// beside the odds, and whether the rugged outcome has columns.
struct TableLayout {
  bool withoutSupport = false;
  bool ruggedOutcome = false;
};

TableLayout layoutOf(const std::vector<TableRow>& rows) {
  TableLayout layout;
  for (const TableRow& row : rows) {
    if (!row.error.empty()) continue;
    layout.withoutSupport =
        layout.withoutSupport ||
        !std::equal(row.figures.begin(), row.figures.begin() + kOddsFigures,
                    row.figures.begin() + kFirstNoSupport);
    layout.ruggedOutcome = layout.ruggedOutcome || row.rugged;
  }
  return layout;
}

bool shownIn(const TableLayout& layout, std::size_t column) {
  if (column >= kFirstNoSupport && column < kFirstNoSupport + kOddsFigures) {
    return false;
  }
  return column < kFirstRuggedOutcome || layout.ruggedOutcome;
}

std::string_view nameIn(const TableLayout& layout, std::size_t column) {
  return layout.ruggedOutcome ? kTableColumns[column].shortName
                              : kTableColumns[column].name;
}

// The text of a figure's cell, kept in place: a table of many rows formats
// every cell twice (for the widths, then the line), and no cell is longer
// than two numbers and their brackets.
struct CellText {
  std::array<char, 48> text;
  std::size_t size = 0;
  std::string_view view() const { return {text.data(), size}; }
};

void appendNumber(CellText* cell, std::int64_t number) {
  const auto end = std::to_chars(cell->text.data() + cell->size,
                                 cell->text.data() + cell->text.size(), number);
  cell->size = static_cast<std::size_t>(end.ptr - cell->text.data());
}

CellText cellText(const TableLayout& layout, const TableRow& row,
                  std::size_t column) {
  CellText cell;
  if (blank(row, column)) {
    cell.text[0] = '-';
    cell.size = 1;
    return cell;
  }
  appendNumber(&cell, row.figures[column]);
  if (layout.withoutSupport && column < kOddsFigures) {
    cell.text[cell.size++] = ' ';
    cell.text[cell.size++] = '(';
    appendNumber(&cell, row.figures[column + kFirstNoSupport]);
    cell.text[cell.size++] = ')';
  }
  return cell;
}

}  // namespace

TableRow tableRow(std::string label, const Prediction& p) {
  const Odds& o = p.odds;
  return {std::move(label),
          {o.attackerLosses, o.defenderLosses, o.defenderSuppression,
           o.attackerLossesNoSupport, o.defenderLossesNoSupport,
           o.defenderSuppressionNoSupport, p.ruggedChance,
           p.rugged.attackerLosses, p.rugged.defenderLosses,
           p.rugged.defenderSuppression},
          p.ruggedChance > 0,
          {}};
}

std::string predictionTable(std::string_view labelHeading,
                            const std::vector<TableRow>& rows,
                            LabelAlign align) {
  const TableLayout layout = layoutOf(rows);
  std::size_t labelWidth = widthOf(labelHeading);
  std::array<std::size_t, kTableFigures> widths{};
  for (std::size_t i = 0; i < kTableFigures; ++i) {
    widths[i] = nameIn(layout, i).size();
  }
  for (const TableRow& row : rows) {
    labelWidth = std::max(labelWidth, widthOf(row.label));
    if (!row.error.empty()) continue;
    for (std::size_t i = 0; i < kTableFigures; ++i) {
      if (shownIn(layout, i)) {
        widths[i] = std::max(widths[i], cellText(layout, row, i).size);
      }
    }
  }
  std::string groups;
  std::string names;
  appendCell(&names, labelHeading, labelWidth, align);
  for (std::size_t i = 0; i < kTableFigures; ++i) {
    if (!shownIn(layout, i)) continue;
    appendCell(&names, nameIn(layout, i), widths[i]);
    std::string_view group = kTableColumns[i].group;
    if (i == 0 && layout.withoutSupport) group = kOddsWithSupportGroup;
    if (!group.empty()) {
      // A group's name stands over its first column, and apart from the
      // name before it.
      const std::size_t start = widthOf(names) - widths[i];
      groups.resize(std::max(start, groups.empty() ? 0 : groups.size() + 1),
                    ' ');
      groups += group;
    }
  }
  std::string table = groups + '\n' + names + '\n';
  std::string line;
  for (const TableRow& row : rows) {
    line.clear();
    appendCell(&line, row.label, labelWidth, align);
    if (!row.error.empty()) {
      table += line;
      table += "  ";
      table += row.error;
      table += '\n';
      continue;
    }
    for (std::size_t i = 0; i < kTableFigures; ++i) {
      if (shownIn(layout, i)) {
        appendCell(&line, cellText(layout, row, i).view(), widths[i]);
      }
    }
    if (align == LabelAlign::left) {
      // A name's padding stands before the figures, never after them.
      while (!line.empty() && line.back() == ' ') line.pop_back();
    }
    table += line;
    table += '\n';
  }
  return table;
}

std::string csvHeading(std::string_view labelHeading, bool withError) {
  std::string line(labelHeading);
  for (const std::string_view column : kCsvColumns) {
    line += ',';
    line += column;
  }
  if (withError) line += ",error";
  return line + '\n';
}

std::string csvLine(const TableRow& row, bool withError) {
  std::string line;
  appendCsvField(&line, row.label);
  for (std::size_t i = 0; i < kTableFigures; ++i) {
    line += ',';
    if (row.error.empty() && !blank(row, i)) {
      line += std::to_string(row.figures[i]);
    }
  }
  if (withError) {
    line += ',';
    appendCsvField(&line, row.error);
  }
  return line + '\n';
}

std::string sweepJsonLine(std::string_view field, std::int64_t value,
                          const SupportFire& supportFire,
                          const Prediction& prediction) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  json["field"] = field;
  json["value"] = value;
  json.update(predictionJson(supportFire, prediction));
  return json.dump() + '\n';
}
