#include "files/sweep.h"

#include <array>
#include <bitset>
#include <charconv>
#include <vector>

#include "combat/combat.h"
#include "combat/questions.h"
#include "report/prediction_json.h"
#include "report/report.h"

namespace {

// Where the swept value goes: a field of the combat, a field of one
// supporting unit, or one entry of a list of Combat Support bars.
struct SweptField {
  std::string name;
  std::int64_t minimum = 0;
  std::int64_t maximum = 0;
  std::optional<Field> field;     // the combat's field, or the one that
                                  // holds the units or the bars
  bool artillery = true;          // for a unit's field
  std::optional<std::size_t> unit;
  std::int64_t ArtilleryPiece::*artilleryWhole = nullptr;
  std::int64_t AirDefenseUnit::*airDefenseWhole = nullptr;
  std::vector<std::int64_t> ArtilleryPiece::*artilleryBars = nullptr;
  std::vector<std::int64_t> AirDefenseUnit::*airDefenseBars = nullptr;
  std::optional<std::size_t> bar;  // the entry of a list of bars
};

std::vector<std::string_view> splitDots(std::string_view name) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = name.find('.', start);
    parts.push_back(name.substr(start, dot - start));
    if (dot == std::string_view::npos) return parts;
    start = dot + 1;
  }
}

std::optional<std::size_t> indexOf(std::string_view text) {
  std::size_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
      text.empty()) {
    return std::nullopt;
  }
  return value;
}

std::string allowedWholeFields() {
  return "a whole-number field such as attacker.strength, "
         "artillery.0.experience or attacker.combatSupport.0";
}

// Finds the field that a dotted name stands for in the scenario.
std::optional<SweptField> findField(const CombatScenario& s,
                                    std::string_view name, Problem* error) {
  SweptField swept;
  swept.name = std::string(name);
  const std::vector<std::string_view> parts = splitDots(name);
  const auto fields = scenarioFields();
  const auto notFound = [&](std::string message) {
    *error = Problem{std::string(name), std::move(message)};
    return std::nullopt;
  };
  // A field of the combat, or one entry of its Combat Support bars.
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const ScenarioField& info = fields[i];
    const std::string dotted = dottedName(info);
    if (dotted == name && info.kind == FieldKind::whole) {
      swept.field = static_cast<Field>(i);
      swept.minimum = info.minimum;
      swept.maximum = info.maximum;
      return swept;
    }
    if (info.kind == FieldKind::bars && name.size() > dotted.size() &&
        name.substr(0, dotted.size() + 1) == dotted + ".") {
      const auto bar = indexOf(name.substr(dotted.size() + 1));
      if (!bar || *bar >= (s.*info.bars).size()) {
        return notFound("no such Combat Support unit in the scenario (allowed: " +
                        std::to_string((s.*info.bars).size()) + " of them, from 0)");
      }
      swept.field = static_cast<Field>(i);
      swept.bar = *bar;
      swept.minimum = 0;
      swept.maximum = info.maximum;
      return swept;
    }
  }
  // A field of a supporting unit: artillery.N.name or airDefense.N.name,
  // or one of its Combat Support bars: artillery.N.combatSupport.M.
  if (parts.size() >= 3 && (parts[0] == "artillery" || parts[0] == "airDefense")) {
    swept.artillery = parts[0] == "artillery";
    swept.field = swept.artillery ? Field::artillery : Field::airDefense;
    const std::size_t count =
        swept.artillery ? s.artillery.size() : s.airDefense.size();
    const auto unit = indexOf(parts[1]);
    if (!unit || *unit >= count) {
      return notFound("no such supporting unit in the scenario (allowed: " +
                      std::to_string(count) + " of them, from 0)");
    }
    swept.unit = *unit;
    const auto matchUnitField = [&](const auto& unitFields, auto wholeMember,
                                    auto barsMember) -> bool {
      for (const auto& info : unitFields) {
        if (parts[2] != info.name) continue;
        if (info.kind == FieldKind::whole && parts.size() == 3) {
          swept.*wholeMember = info.whole;
          swept.minimum = info.minimum;
          swept.maximum = info.maximum;
          return true;
        }
        if (info.kind == FieldKind::bars && parts.size() == 4) {
          swept.*barsMember = info.bars;
          swept.minimum = 0;
          swept.maximum = info.maximum;
          return true;
        }
      }
      return false;
    };
    const bool found =
        swept.artillery
            ? matchUnitField(artilleryFields(), &SweptField::artilleryWhole,
                             &SweptField::artilleryBars)
            : matchUnitField(airDefenseFields(), &SweptField::airDefenseWhole,
                             &SweptField::airDefenseBars);
    if (found && parts.size() == 4) {
      const std::size_t bars =
          swept.artillery ? (s.artillery[*unit].*swept.artilleryBars).size()
                          : (s.airDefense[*unit].*swept.airDefenseBars).size();
      const auto bar = indexOf(parts[3]);
      if (!bar || *bar >= bars) {
        return notFound("no such Combat Support unit in the scenario (allowed: " +
                        std::to_string(bars) + " of them, from 0)");
      }
      swept.bar = *bar;
    }
    if (found) return swept;
  }
  return notFound("not a whole-number field of the scenario (allowed: " +
                  allowedWholeFields() + ")");
}

// The swept value's place in a copy of the scenario.
std::int64_t* placeOf(CombatScenario* s, const SweptField& swept) {
  if (swept.unit) {
    if (swept.artillery) {
      ArtilleryPiece& piece = s->artillery[*swept.unit];
      return swept.bar ? &(piece.*swept.artilleryBars)[*swept.bar]
                       : &(piece.*swept.artilleryWhole);
    }
    AirDefenseUnit& unit = s->airDefense[*swept.unit];
    return swept.bar ? &(unit.*swept.airDefenseBars)[*swept.bar]
                     : &(unit.*swept.airDefenseWhole);
  }
  const ScenarioField& info = fieldInfo(*swept.field);
  return swept.bar ? &(s->*info.bars)[*swept.bar] : &(s->*info.whole);
}

// Only the classes and the attacker's firing range decide whether a
// required field is asked; for every other field one check holds for all
// values.
bool mayChangeValidity(const SweptField& swept) {
  return !swept.unit && !swept.bar &&
         (*swept.field == Field::attackerClass ||
          *swept.field == Field::defenderClass ||
          *swept.field == Field::attackerFiringRange);
}

// Which of the combat's questions are asked.  The airplane's air defense is
// left aside: it follows from the supporting units that fire, and a sweep
// keeps every unit.
using AskedSet = std::bitset<static_cast<std::size_t>(Field::timesAttacked) + 1>;
AskedSet askedSet(const CombatScenario& s) {
  AskedSet asked;
  for (std::size_t i = 0; i < asked.size(); ++i) {
    const auto field = static_cast<Field>(i);
    if (field != Field::airplaneAirDefense) asked[i] = asks(field, s);
  }
  return asked;
}

struct Row {
  std::int64_t value;
  const SupportFire* supportFire;
  Prediction prediction;
};

void appendCell(std::string* line, std::string_view text, std::size_t width) {
  if (!line->empty()) *line += "  ";
  if (text.size() < width) line->append(width - text.size(), ' ');
  *line += text;
}

// A number's digits, in `digits`.
std::string_view digitsOf(std::int64_t value, char (&digits)[24]) {
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return {digits, static_cast<std::size_t>(result.ptr - digits)};
}

// A cell of the table: right-aligned in its column, after two blanks
// unless it is the first.
void putCell(Output* out, std::string_view text, std::size_t width,
             bool first) {
  constexpr std::string_view kBlanks = "                                ";
  if (!first) put(out, "  ");
  std::size_t pad = text.size() < width ? width - text.size() : 0;
  while (pad > 0) {
    const std::size_t now = pad < kBlanks.size() ? pad : kBlanks.size();
    put(out, kBlanks.substr(0, now));
    pad -= now;
  }
  put(out, text);
}

// The columns of the table and the CSV, after the swept value.
constexpr std::string_view kColumns[] = {
    "attackerLosses",          "defenderLosses",
    "defenderSuppression",     "attackerLossesNoSupport",
    "defenderLossesNoSupport", "defenderSuppressionNoSupport",
    "ruggedChance",            "ruggedAttackerLosses",
    "ruggedDefenderLosses",    "ruggedDefenderSuppression"};

// The table's two-line heading: each column named under its group, a
// group's name over its first column.
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

// The figures of a row, in the order of the columns.
constexpr std::size_t kFigures = std::size(kColumns);
std::array<std::int64_t, kFigures> figuresOf(const Prediction& p) {
  const Odds& o = p.odds;
  return {o.attackerLosses,
          o.defenderLosses,
          o.defenderSuppression,
          o.attackerLossesNoSupport,
          o.defenderLossesNoSupport,
          o.defenderSuppressionNoSupport,
          p.ruggedChance,
          p.rugged.attackerLosses,
          p.rugged.defenderLosses,
          p.rugged.defenderSuppression};
}

// The rugged outcome's columns are left blank when no rugged defense is
// possible.
bool blank(const Prediction& p, std::size_t column) {
  constexpr std::size_t kFirstRuggedOutcome = 7;
  return column >= kFirstRuggedOutcome && p.ruggedChance <= 0;
}

void writeHeading(const std::string& name, OutputFormat format, Output* out) {
  if (format == OutputFormat::json) return;
  std::string line;
  if (format == OutputFormat::csv) {
    line = name;
    for (const std::string_view column : kColumns) {
      line += ',';
      line += column;
    }
  } else {
    std::string groups;
    appendCell(&line, name, name.size());
    for (const TableColumn& column : kTableColumns) {
      appendCell(&line, column.name, column.name.size());
      if (!column.group.empty()) {
        groups.resize(line.size() - column.name.size(), ' ');
        groups += column.group;
      }
    }
    put(out, groups);
    put(out, "\n");
  }
  put(out, line);
  put(out, "\n");
}

void writeRow(const SweptField& swept, const Row& row, OutputFormat format,
              Output* out) {
  if (format == OutputFormat::json) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    json["field"] = swept.name;
    json["value"] = row.value;
    json.update(predictionJson(*row.supportFire, row.prediction));
    put(out, json.dump());
    put(out, "\n");
    return;
  }
  char digits[24];
  const auto figures = figuresOf(row.prediction);
  const bool csv = format == OutputFormat::csv;
  if (csv) {
    put(out, digitsOf(row.value, digits));
  } else {
    putCell(out, digitsOf(row.value, digits), swept.name.size(), true);
  }
  for (std::size_t i = 0; i < kFigures; ++i) {
    const std::string_view text =
        blank(row.prediction, i) ? (csv ? "" : "-")
                                 : digitsOf(figures[i], digits);
    if (csv) {
      put(out, ",");
      put(out, text);
    } else {
      putCell(out, text, kTableColumns[i].name.size(), false);
    }
  }
  put(out, "\n");
}

}  // namespace

std::optional<SweepRequest> parseSweepRequest(std::string_view text,
                                              std::string* error) {
  const std::size_t equals = text.find('=');
  const std::size_t dots = text.find("..", equals == std::string_view::npos ? 0 : equals);
  if (equals == std::string_view::npos || equals == 0 ||
      dots == std::string_view::npos) {
    *error = "expected FIELD=FROM..TO, such as attacker.strength=1..20";
    return std::nullopt;
  }
  SweepRequest request;
  request.field = std::string(text.substr(0, equals));
  const std::string_view from = text.substr(equals + 1, dots - equals - 1);
  const std::string_view to = text.substr(dots + 2);
  const auto number = [](std::string_view digits, std::int64_t* value) {
    const auto result =
        std::from_chars(digits.data(), digits.data() + digits.size(), *value);
    return !digits.empty() && result.ec == std::errc() &&
           result.ptr == digits.data() + digits.size();
  };
  if (!number(from, &request.from) || !number(to, &request.to)) {
    *error = "FROM and TO must be whole numbers, as in attacker.strength=1..20";
    return std::nullopt;
  }
  return request;
}

bool runSweep(const ScenarioText& text, const SweepRequest& request,
              OutputFormat format, Output* out, Problem* error) {
  const CheckedScenario base = checkScenario(text.scenario, text.given);
  const auto swept = findField(base.scenario, request.field, error);
  if (!swept) return false;
  const std::string range = std::to_string(swept->minimum) + " to " +
                            std::to_string(swept->maximum);
  if (!swept->unit && !swept->bar && !asks(*swept->field, base.scenario)) {
    *error = {swept->name, "not asked for this combat, so it changes nothing "
                           "(allowed: the fields that the combat asks)"};
    return false;
  }
  if (request.from > request.to) {
    *error = {swept->name, "FROM is above TO (allowed: FROM..TO with FROM at "
                           "most TO)"};
    return false;
  }
  if (request.from < swept->minimum || request.to > swept->maximum) {
    *error = {swept->name, std::to_string(request.from) + ".." +
                               std::to_string(request.to) +
                               " leaves the range (allowed: " + range + ")"};
    return false;
  }
  if (request.to - request.from >= kMostSweepValues) {
    *error = {swept->name, std::to_string(request.to - request.from + 1) +
                               " values are too many (allowed: at most " +
                               std::to_string(kMostSweepValues) + ")"};
    return false;
  }
  // A field given for a unit or a list of bars is among the given fields
  // already; a field of the combat is given now.
  GivenFields given = text.given;
  given[static_cast<std::size_t>(*swept->field)] = true;

  const auto scenarioFor = [&](std::int64_t value) {
    CombatScenario s = text.scenario;
    *placeOf(&s, *swept) = value;
    return checkScenario(s, given);
  };
  if (mayChangeValidity(*swept)) {
    for (std::int64_t value = request.from; value <= request.to; ++value) {
      const CheckedScenario checked = scenarioFor(value);
      if (checked.error) {
        *error = {swept->name + "=" + std::to_string(value),
                  checked.error->field + ": " + checked.error->message};
        return false;
      }
    }
  }

  writeHeading(swept->name, format, out);
  // The number of times attacked is the softening recomputation: the
  // combat is prepared once and each value is one more pass.
  if (*swept->field == Field::timesAttacked) {
    const PreparedCombat prepared = prepareCombat(base.scenario);
    for (std::int64_t value = request.from; value <= request.to; ++value) {
      writeRow(*swept,
               {value, &prepared.supportFire,
                predictSoftening(base.scenario, prepared, value)},
               format, out);
    }
    return true;
  }
  // Where a value leaves the same questions asked as the scenario itself
  // (and the scenario lost no supporting unit to a damage cap), the scenario
  // as checked, with the value put in, is the scenario of that value: no
  // new check is needed.
  const bool unitsKept = base.scenario.artillery.size() ==
                             text.scenario.artillery.size() &&
                         base.scenario.airDefense.size() ==
                             text.scenario.airDefense.size();
  const AskedSet baseAsked = askedSet(base.scenario);
  CombatScenario work = base.scenario;
  for (std::int64_t value = request.from; value <= request.to; ++value) {
    *placeOf(&work, *swept) = value;
    settleUnitClasses(&work);  // the classes decide every later question
    const CombatPrediction predicted =
        unitsKept && askedSet(work) == baseAsked
            ? predictCombat(work)
            : predictCombat(scenarioFor(value).scenario);
    writeRow(*swept, {value, &predicted.supportFire, predicted.prediction},
             format, out);
  }
  return true;
}
