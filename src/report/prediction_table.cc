#include "report/prediction_table.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "report/json_text.h"
#include "report/prediction_json.h"

namespace {

// The table's two-line heading: each column named under its group, a
// group's name over its first column.  The text table has no columns of its
// own for the odds without support: where support fire counted, each odds
// cell holds both figures, "2 (3)", under a heading that says so.  The
// defender's losses and suppression are better for the attacker the larger
// they are; the attacker's losses and the chance of a rugged defense, the
// smaller.
constexpr FigureColumn kFigureColumns[kTableFigures] = {
    {"attackerLosses", "odds", "attacker", "attacker", false, false},
    {"defenderLosses", "", "defender", "defender", true, false},
    {"defenderSuppression", "", "suppression", "supp.", true, false},
    {"attackerLossesNoSupport", "", "", "", false, false},
    {"defenderLossesNoSupport", "", "", "", true, false},
    {"defenderSuppressionNoSupport", "", "", "", true, false},
    {"ruggedChance", "rugged defense", "chance", "chance", false, false},
    {"ruggedAttackerLosses", "", "attacker", "attacker", false, true},
    {"ruggedDefenderLosses", "", "defender", "defender", true, true},
    {"ruggedDefenderSuppression", "", "suppression", "supp.", true, true}};
constexpr std::string_view kOddsWithSupportGroup = "odds (without support)";

constexpr std::size_t kFirstNoSupport = 3;
constexpr std::size_t kOddsFigures = 3;  // attacker, defender, suppression
constexpr std::size_t kRuggedChance = 6;

// The width of a text as a terminal shows it: UTF-8 continuation bytes
// take no place of their own.
std::size_t widthOf(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
      }));
}

// The first characters of `text` that take at most `width` places, whole
// UTF-8 sequences only.
std::string_view firstPlaces(std::string_view text, std::size_t width) {
  std::size_t places = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) continue;
    if (places == width) return text.substr(0, at);
    ++places;
  }
  return text;
}

// `text` as a column of `width` shows it: whole when it fits, else cut
// short, ending in the same mark as a long name in a message.
std::string fitted(std::string_view text, std::size_t width) {
  constexpr std::string_view kCut = "...";
  if (widthOf(text) <= width) return std::string(text);
  if (width <= kCut.size()) return std::string(firstPlaces(text, width));
  return std::string(firstPlaces(text, width - kCut.size())) +
         std::string(kCut);
}

void appendCell(std::string* line, std::string_view text, std::size_t width,
                LabelKind kind = LabelKind::number) {
  if (!line->empty()) *line += "  ";
  const std::size_t shown = widthOf(text);
  const std::size_t pad = shown < width ? width - shown : 0;
  if (kind == LabelKind::number) line->append(pad, ' ');
  *line += text;
  if (kind == LabelKind::name) line->append(pad, ' ');
}

// A CSV field, quoted when it holds a separator, a quote or a line break.
// A text that a spreadsheet would read as a formula is quoted with a ' in
// front, which the spreadsheet shows as text.
void appendCsvField(std::string* line, std::string_view text,
                    bool isText = true) {
  const bool formula = isText && !text.empty() &&
                       std::string_view("=+-@\t\r").find(text.front()) !=
                           std::string_view::npos;
  if (!formula && text.find_first_of(",\"\r\n") == std::string_view::npos) {
    *line += text;
    return;
  }
  *line += '"';
  if (formula) *line += '\'';
  for (const char c : text) {
    if (c == '"') *line += '"';
    *line += c;
  }
  *line += '"';
}

// What the text table shows: which odds columns have the odds without
// support beside them, whether the rugged chance and the rugged outcome
// have columns, and how wide the labels stand.
struct TableLayout {
  std::array<bool, kOddsFigures> withoutSupport{};
  bool ruggedChance = false;
  bool ruggedOutcome = false;
  std::size_t labelWidth = 0;

  bool anyWithoutSupport() const {
    return std::find(withoutSupport.begin(), withoutSupport.end(), true) !=
           withoutSupport.end();
  }
};

TableLayout layoutOf(const std::vector<TableRow>& rows) {
  TableLayout layout;
  for (const TableRow& row : rows) {
    if (!row.error.empty()) continue;
    for (std::size_t i = 0; i < kOddsFigures; ++i) {
      layout.withoutSupport[i] = layout.withoutSupport[i] ||
                                 row.figures[i] != row.figures[i + kFirstNoSupport];
    }
    layout.ruggedChance = layout.ruggedChance || row.figures[kRuggedChance] != 0;
    layout.ruggedOutcome = layout.ruggedOutcome || row.rugged;
  }
  layout.ruggedChance = layout.ruggedChance || layout.ruggedOutcome;
  return layout;
}

bool shownIn(const TableLayout& layout, std::size_t column) {
  if (column >= kFirstNoSupport && column < kFirstNoSupport + kOddsFigures) {
    return false;
  }
  if (column == kRuggedChance) return layout.ruggedChance;
  return !kFigureColumns[column].ruggedOutcome || layout.ruggedOutcome;
}

std::string_view nameIn(const TableLayout& layout, std::size_t column) {
  return layout.ruggedOutcome ? kFigureColumns[column].shortHeading
                              : kFigureColumns[column].heading;
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
  if (column < kOddsFigures && layout.withoutSupport[column]) {
    cell.text[cell.size++] = ' ';
    cell.text[cell.size++] = '(';
    appendNumber(&cell, row.figures[column + kFirstNoSupport]);
    cell.text[cell.size++] = ')';
  }
  return cell;
}

// The width of the labels' column: as wide as its widest label or heading,
// but no wider than leaves the figures room in kTableWidth.  Numbers are
// never cut; a name keeps at least its first few characters.
std::size_t labelWidthOf(std::string_view heading,
                         const std::vector<TableRow>& rows, LabelKind kind,
                         std::size_t figuresWidth) {
  constexpr std::size_t kNarrowestName = 12;
  std::size_t widest = widthOf(heading);
  std::size_t widestNumber = 0;
  for (const TableRow& row : rows) {
    widest = std::max(widest, widthOf(row.label));
    if (kind == LabelKind::number) {
      widestNumber = std::max(widestNumber, widthOf(row.label));
    }
  }
  const std::size_t room =
      figuresWidth < kTableWidth ? kTableWidth - figuresWidth : 0;
  if (widest <= room) return widest;
  return std::max({room, widestNumber, std::min(widest, kNarrowestName)});
}

// A row's error after its label, its words carried over to lines of their
// own (under the figures' place) where one line would be too wide.
void appendError(std::string* table, std::string line, std::string_view error,
                 std::size_t indent) {
  const std::size_t room = kTableWidth > indent ? kTableWidth - indent : 0;
  std::size_t used = 0;
  bool first = true;
  while (!error.empty()) {
    const std::size_t end = error.find(' ');
    const std::string_view word = error.substr(0, end);
    if (!first && used + 1 + widthOf(word) > room) {
      *table += line;
      *table += '\n';
      line.assign(indent, ' ');
      used = 0;
      first = true;
    }
    if (!first) {
      line += ' ';
      ++used;
    }
    line += word;
    used += widthOf(word);
    first = false;
    error = end == std::string_view::npos ? std::string_view()
                                          : error.substr(end + 1);
  }
  *table += line;
  *table += '\n';
}

}  // namespace

std::span<const FigureColumn, kTableFigures> figureColumns() {
  return kFigureColumns;
}

bool blank(const TableRow& row, std::size_t column) {
  return kFigureColumns[column].ruggedOutcome && !row.rugged;
}

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
                            LabelKind labels) {
  TableLayout layout = layoutOf(rows);
  std::array<std::size_t, kTableFigures> widths{};
  for (std::size_t i = 0; i < kTableFigures; ++i) {
    widths[i] = nameIn(layout, i).size();
  }
  for (const TableRow& row : rows) {
    if (!row.error.empty()) continue;
    for (std::size_t i = 0; i < kTableFigures; ++i) {
      if (shownIn(layout, i)) {
        widths[i] = std::max(widths[i], cellText(layout, row, i).size);
      }
    }
  }
  std::size_t figuresWidth = 0;
  for (std::size_t i = 0; i < kTableFigures; ++i) {
    if (shownIn(layout, i)) figuresWidth += 2 + widths[i];
  }
  layout.labelWidth = labelWidthOf(labelHeading, rows, labels, figuresWidth);
  std::string groups;
  std::string names;
  appendCell(&names, fitted(labelHeading, layout.labelWidth), layout.labelWidth,
             labels);
  for (std::size_t i = 0; i < kTableFigures; ++i) {
    if (!shownIn(layout, i)) continue;
    appendCell(&names, nameIn(layout, i), widths[i]);
    std::string_view group = kFigureColumns[i].group;
    if (i == 0 && layout.anyWithoutSupport()) group = kOddsWithSupportGroup;
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
    appendCell(&line, fitted(row.label, layout.labelWidth), layout.labelWidth,
               labels);
    if (!row.error.empty()) {
      line += "  ";
      appendError(&table, line, row.error, layout.labelWidth + 2);
      continue;
    }
    for (std::size_t i = 0; i < kTableFigures; ++i) {
      if (shownIn(layout, i)) {
        appendCell(&line, cellText(layout, row, i).view(), widths[i]);
      }
    }
    if (labels == LabelKind::name) {
      // A name's padding stands before the figures, never after them.
      while (!line.empty() && line.back() == ' ') line.pop_back();
    }
    table += line;
    table += '\n';
  }
  return table;
}

std::string csvHeading(std::string_view labelHeading, bool withError) {
  std::string line;
  appendCsvField(&line, labelHeading);
  for (const FigureColumn& column : kFigureColumns) {
    line += ',';
    line += column.name;
  }
  if (withError) line += ",error";
  return line + '\n';
}

std::string csvLine(const TableRow& row, LabelKind labels, bool withError) {
  std::string line;
  appendCsvField(&line, row.label, labels == LabelKind::name);
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
  std::string json = "{\"field\":";
  json += jsonString(field);
  json += ",\"value\":";
  json += std::to_string(value);
  // The prediction's members follow in the same object.
  const std::string figures = predictionJsonText(supportFire, prediction);
  json += ',';
  json.append(figures, 1);
  json += '\n';
  return json;
}

std::size_t displayWidth(std::string_view text) { return widthOf(text); }

std::string fittedToWidth(std::string_view text, std::size_t width) {
  return fitted(text, width);
}

std::string csvField(std::string_view text) {
  std::string field;
  appendCsvField(&field, text);
  return field;
}
