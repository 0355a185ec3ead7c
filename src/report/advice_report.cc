#include "report/advice_report.h"

#include <algorithm>

#include "report/prediction_json.h"
#include "report/prediction_table.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t kAdviceColumns[kAdviceFigures] = {
    figure_column::kAttackerLosses, figure_column::kDefenderLosses,
    figure_column::kDefenderSuppression, figure_column::kRuggedChance};

// The table's heading over each figure, and the groups over the first of
// theirs, no wider than the columns under them.
constexpr std::string_view kHeadings[kAdviceFigures] = {"attacker", "defender",
                                                        "suppression", "chance"};
constexpr std::string_view kGroups[kAdviceFigures] = {"odds", "", "",
                                                      "rugged"};
constexpr std::string_view kLabelHeading = "change";
// A long preset name keeps at least this much of itself.
constexpr std::size_t kNarrowestLabel = 12;

std::string differenceText(std::int64_t difference) {
  return difference > 0 ? "+" + std::to_string(difference)
                        : std::to_string(difference);
}

void padTo(std::string* line, std::size_t width) {
  const std::size_t shown = displayWidth(*line);
  if (shown < width) line->append(width - shown, ' ');
}

void appendRight(std::string* line, std::string_view text, std::size_t width) {
  const std::size_t shown = displayWidth(text);
  if (shown < width) line->append(width - shown, ' ');
  *line += text;
}

void trimEnd(std::string* line) {
  while (!line->empty() && line->back() == ' ') line->pop_back();
}

// Each advised figure of `mine` less the same of `given`.
std::array<std::int64_t, kAdviceFigures> differencesOf(const TableRow& mine,
                                                       const TableRow& given) {
  std::array<std::int64_t, kAdviceFigures> differences{};
  for (std::size_t i = 0; i < kAdviceFigures; ++i) {
    differences[i] = mine.figures[kAdviceColumns[i]] - given.figures[kAdviceColumns[i]];
  }
  return differences;
}

TableRow figuresOf(const AdviceRow& row) {
  TableRow table = tableRow(changeWords(row.change, row.presetName), row.prediction);
  if (row.failed) table.error = row.errorText;
  return table;
}

}  // namespace

std::string changeWords(const Change& change, std::string_view presetName) {
  const std::string amount = std::to_string(change.amount);
  switch (change.kind) {
    case ChangeKind::asGiven:
      return "As given";
    case ChangeKind::soften:
      return "Attack it " + amount +
             (change.amount == 1 ? " more time first" : " more times first");
    case ChangeKind::silenceArtillery:
      return change.amount == 0 ? "Silence all the artillery first"
                                : "Silence artillery piece " + amount + " first";
    case ChangeKind::silenceAirDefense:
      return change.amount == 0 ? "Silence all the air defense first"
                                : "Silence air-defense unit " + amount + " first";
    case ChangeKind::leaveRiver:
      return "Leave the river first";
    case ChangeKind::refuel:
      return "Refuel first";
    case ChangeKind::clearWeather:
      return "Wait for dry weather";
    case ChangeKind::range:
      return "Attack from range " + amount;
    case ChangeKind::preset:
      return "Attack with " + std::string(presetName) + " instead";
  }
  return {};
}

std::array<std::size_t, kAdviceFigures> adviceFigureColumns() {
  std::array<std::size_t, kAdviceFigures> columns{};
  std::copy(std::begin(kAdviceColumns), std::end(kAdviceColumns), columns.begin());
  return columns;
}

std::array<std::int64_t, kAdviceFigures> adviceDifferences(
    const AdviceRow& row, const AdviceRow& asGiven) {
  return differencesOf(tableRow({}, row.prediction), tableRow({}, asGiven.prediction));
}

std::string adviceTable(const std::vector<AdviceRow>& rows) {
  if (rows.empty()) return {};
  // Each cell is the figure, and after the first row its difference, each
  // part as wide as its widest.
  std::array<std::size_t, kAdviceFigures> valueWidth{};
  std::array<std::size_t, kAdviceFigures> differenceWidth{};
  std::vector<std::string> labels;
  std::vector<TableRow> figures;  // each row's, made once
  labels.reserve(rows.size());
  figures.reserve(rows.size());
  std::size_t widestLabel = kLabelHeading.size();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const AdviceRow& row = rows[r];
    labels.push_back(changeWords(row.change, row.presetName));
    widestLabel = std::max(widestLabel, displayWidth(labels.back()));
    figures.push_back(tableRow({}, row.prediction));
    if (row.failed) continue;
    const auto differences = differencesOf(figures[r], figures.front());
    for (std::size_t i = 0; i < kAdviceFigures; ++i) {
      valueWidth[i] = std::max(
          valueWidth[i], std::to_string(figures[r].figures[kAdviceColumns[i]]).size());
      if (r > 0) {
        differenceWidth[i] =
            std::max(differenceWidth[i], differenceText(differences[i]).size());
      }
    }
  }
  std::array<std::size_t, kAdviceFigures> columnWidth{};
  std::size_t figuresWidth = 0;
  for (std::size_t i = 0; i < kAdviceFigures; ++i) {
    const std::size_t cell =
        valueWidth[i] + (differenceWidth[i] > 0 ? 1 + differenceWidth[i] : 0);
    columnWidth[i] = std::max(kHeadings[i].size(), cell);
    figuresWidth += 2 + columnWidth[i];
  }
  const std::size_t room =
      figuresWidth < kTableWidth ? kTableWidth - figuresWidth : 0;
  const std::size_t labelWidth =
      std::min(widestLabel, std::max(room, kNarrowestLabel));

  std::string groups;
  std::string names = std::string(kLabelHeading);
  padTo(&names, labelWidth);
  for (std::size_t i = 0; i < kAdviceFigures; ++i) {
    names += "  ";
    if (!kGroups[i].empty()) {
      padTo(&groups, displayWidth(names));
      groups += kGroups[i];
    }
    appendRight(&names, kHeadings[i], columnWidth[i]);
  }
  std::string table = groups + '\n' + names + '\n';
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const AdviceRow& row = rows[r];
    std::string line = fittedToWidth(labels[r], labelWidth);
    padTo(&line, labelWidth);
    if (row.failed) {
      line += "  ";
      line += fittedToWidth(row.errorText, kTableWidth - std::min(
                                                kTableWidth, displayWidth(line)));
    } else {
      const auto differences = differencesOf(figures[r], figures.front());
      for (std::size_t i = 0; i < kAdviceFigures; ++i) {
        std::string cell;
        appendRight(&cell, std::to_string(figures[r].figures[kAdviceColumns[i]]),
                    valueWidth[i]);
        if (differenceWidth[i] > 0) {
          cell += ' ';
          appendRight(&cell, r == 0 ? "" : differenceText(differences[i]),
                      differenceWidth[i]);
        }
        line += "  ";
        appendRight(&line, cell, columnWidth[i]);
      }
    }
    trimEnd(&line);
    table += line;
    table += '\n';
  }
  return table;
}

std::string adviceCsv(const std::vector<AdviceRow>& rows) {
  std::string csv = csvHeading(kLabelHeading, true);
  csv.pop_back();
  for (const std::size_t column : kAdviceColumns) {
    csv += ',';
    csv += figureColumns()[column].name;
    csv += "Difference";
  }
  csv += ",changed\n";
  for (const AdviceRow& row : rows) {
    std::string line = csvLine(figuresOf(row), LabelKind::name, true);
    line.pop_back();
    for (const std::int64_t difference : adviceDifferences(row, rows.front())) {
      line += ',';
      if (!row.failed) line += std::to_string(difference);
    }
    line += ',';
    line += csvField(row.changed.dump());
    csv += line;
    csv += '\n';
  }
  return csv;
}

Json adviceRowJson(const AdviceRow& row, const AdviceRow& asGiven) {
  Json json = Json::object();
  json["change"] = changeWords(row.change, row.presetName);
  json["changed"] = row.changed;
  if (row.failed) {
    json["error"] = {{"field", row.errorField}, {"message", row.errorMessage}};
    return json;
  }
  json.update(predictionJson(row.supportFire, row.prediction));
  Json differences = Json::object();
  const auto figures = adviceDifferences(row, asGiven);
  for (std::size_t i = 0; i < kAdviceFigures; ++i) {
    differences[std::string(figureColumns()[kAdviceColumns[i]].name)] = figures[i];
  }
  json["differences"] = std::move(differences);
  return json;
}

std::string adviceJsonLines(const std::vector<AdviceRow>& rows) {
  std::string lines;
  for (const AdviceRow& row : rows) {
    lines += adviceRowJson(row, rows.front()).dump();
    lines += '\n';
  }
  return lines;
}
