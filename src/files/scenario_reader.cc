#include "files/scenario_reader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "combat/questions.h"

namespace {

using Json = nlohmann::json;

constexpr std::string_view kGroups[] = {"general", "attacker", "defender",
                                        "terrain"};

// What a name of the scenario stands for: one of the groups, a field of the
// combat, a field of a supporting unit, or the preset that stands for the
// attacker or the defender; `index` is its place in kGroups, in
// scenarioFields() or in the unit's fields.
enum class Target { group, field, unitField, preset };

struct Name {
  std::string_view name;
  Target target;
  std::size_t index;
};

// The names that each object of a scenario takes.
struct NameTables {
  std::vector<Name> top;
  std::vector<Name> groups[std::size(kGroups)];
  std::vector<Name> artillery;
  std::vector<Name> airDefense;
};

const NameTables& nameTables() {
  static const NameTables tables = [] {
    NameTables t;
    for (std::size_t g = 0; g < std::size(kGroups); ++g) {
      t.top.push_back({kGroups[g], Target::group, g});
    }
    const auto fields = scenarioFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::string_view group = fields[i].group;
      if (group.empty()) {
        t.top.push_back({fields[i].name, Target::field, i});
        continue;
      }
      for (std::size_t g = 0; g < std::size(kGroups); ++g) {
        if (kGroups[g] == group) t.groups[g].push_back({fields[i].name, Target::field, i});
      }
    }
    for (std::size_t i = 0; i < artilleryFields().size(); ++i) {
      t.artillery.push_back({artilleryFields()[i].name, Target::unitField, i});
    }
    for (std::size_t i = 0; i < airDefenseFields().size(); ++i) {
      t.airDefense.push_back({airDefenseFields()[i].name, Target::unitField, i});
    }
    return t;
  }();
  return tables;
}

std::string listOf(const std::vector<Name>& names) {
  std::string list;
  for (const Name& name : names) {
    if (!list.empty()) list += ", ";
    list += name.name;
  }
  return list;
}

std::string join(std::string_view path, std::string_view name) {
  std::string joined(path);
  if (!joined.empty()) joined += '.';
  joined += name;
  return joined;
}

// A name from the file as a message may show it: as it stands when it is
// plain, else quoted with its control characters escaped (so that a message
// stays on one line), and cut short when it is long.
std::string shownName(std::string_view name) {
  constexpr std::size_t kLongest = 60;
  const bool plain =
      !name.empty() && name.size() <= kLongest &&
      std::all_of(name.begin(), name.end(), [](char c) {
        return c > ' ' && c < 127 && c != '"' && c != '\\';
      });
  if (plain) return std::string(name);
  std::string cut(name.substr(0, kLongest));
  std::string quoted =
      Json(cut).dump(-1, ' ', true, Json::error_handler_t::replace);
  if (name.size() > kLongest) quoted += "...";
  return quoted;
}

std::string rangeText(std::int64_t minimum, std::int64_t maximum) {
  return std::to_string(minimum) + " to " + std::to_string(maximum);
}

template <typename Record>
std::string allowedText(const FieldInfo<Record>& info) {
  switch (info.kind) {
    case FieldKind::whole:
      return rangeText(info.minimum, info.maximum);
    case FieldKind::yesNo:
      return "true, false, null";
    case FieldKind::bars:
      return "a list of whole numbers from 0 to " + std::to_string(info.maximum);
    case FieldKind::units:
      return "a list of objects";
  }
  return "";
}

template <typename Record>
std::string wrongTypeText(const FieldInfo<Record>& info) {
  switch (info.kind) {
    case FieldKind::whole:
      return "must be a whole number (allowed: " + allowedText(info) + ")";
    case FieldKind::yesNo:
      return "must be true, false or null (allowed: " + allowedText(info) + ")";
    case FieldKind::bars:
      return "must be a list of experience bars (allowed: " + allowedText(info) +
             ")";
    case FieldKind::units:
      return "must be a list of supporting units (allowed: " +
             allowedText(info) + ")";
  }
  return "";
}

std::string outOfRange(std::int64_t value, bool fits, std::int64_t minimum,
                       std::int64_t maximum) {
  return (fits ? std::to_string(value) : std::string("the number")) +
         " is out of range (allowed: " + rangeText(minimum, maximum) + ")";
}

// Where the parser stands: in the scenario's object, in a group, in a list
// of supporting units, in one unit, or in a list of experience bars.
enum class Frame { top, group, unitList, unit, bars };

struct Level {
  Frame frame = Frame::top;
  const std::vector<Name>* names = nullptr;  // the names this object takes
  bool artillery = true;                     // which kind of unit
  std::vector<std::int64_t>* bars = nullptr;
  // How this object or list is reached from the one around it: by a name,
  // or by its place in a list.
  std::string_view label;
  std::size_t item = 0;
  bool inList = false;
  std::uint64_t seen = 0;    // the names given so far, by their place
  const Name* pending = nullptr;  // the name whose value comes next
};

// Builds the scenario as the parser reports what it reads, and stops at the
// first thing that is wrong.  The parser calls these by name.
struct ScenarioBuilder {
  ScenarioText* result;
  std::vector<Level> levels;
  bool keepGoing = false;  // read on past a wrong value
  bool presets = false;    // a roster holds the presets that may be named

  bool fail(std::string field, std::string message) {
    if (!result->error) {
      result->error = Problem{std::move(field), std::move(message)};
    }
    return false;
  }

  // A wrong value that stands alone: the rest can still be read.
  bool failValue(std::string field, std::string message) {
    fail(std::move(field), std::move(message));
    return keepGoing;
  }

  std::size_t unitCount(bool artillery) const {
    return artillery ? result->scenario.artillery.size()
                     : result->scenario.airDefense.size();
  }

  // The dotted name of the innermost object or list; made only for a
  // message, as reading needs no names.
  std::string path() const {
    std::string dotted;
    for (const Level& level : levels) {
      if (level.inList) {
        dotted = join(dotted, std::to_string(level.item));
      } else if (!level.label.empty()) {
        dotted = join(dotted, level.label);
      }
    }
    return dotted;
  }

  std::string pendingPath() const { return pendingPathOf(*levels.back().pending); }
  std::string pendingPathOf(const Name& name) const {
    return join(path(), name.name);
  }

  // A value that cannot stand where it stands.
  bool wrongType() {
    if (levels.empty()) {
      return fail("scenario", "must be a JSON object (allowed: " +
                                  listOf(nameTables().top) + ")");
    }
    const Level& level = levels.back();
    switch (level.frame) {
      case Frame::bars:
        return fail(join(path(), std::to_string(level.bars->size())),
                    "must be a whole number (allowed: " +
                        rangeText(0, kLargestAnswer) + ")");
      case Frame::unitList:
        return fail(join(path(), std::to_string(unitCount(level.artillery))),
                    "must be an object (allowed: " +
                        listOf(level.artillery ? nameTables().artillery
                                               : nameTables().airDefense) +
                        ")");
      case Frame::top:
      case Frame::group:
      case Frame::unit:
        break;
    }
    const Name& name = *level.pending;
    switch (name.target) {
      case Target::group:
        return fail(pendingPath(), "must be an object (allowed: " +
                                       listOf(nameTables().groups[name.index]) +
                                       ")");
      case Target::field:
        return fail(pendingPath(), wrongTypeText(scenarioFields()[name.index]));
      case Target::unitField:
        return fail(pendingPath(), level.artillery
                              ? wrongTypeText(artilleryFields()[name.index])
                              : wrongTypeText(airDefenseFields()[name.index]));
      case Target::preset:
        return fail(pendingPath(), "must be the name of a preset (allowed: a "
                                   "text, with --roster)");
    }
    return false;
  }

  template <typename Record>
  bool setWhole(Record* record, const FieldInfo<Record>& info,
                std::int64_t value, bool fits) {
    if (info.kind != FieldKind::whole) return wrongValue();
    if (!fits || value < info.minimum || value > info.maximum) {
      return failValue(pendingPath(),
                       outOfRange(value, fits, info.minimum, info.maximum));
    }
    record->*info.whole = value;
    return true;
  }

  template <typename Record>
  bool setYesNo(Record* record, const FieldInfo<Record>& info, char answer) {
    if (info.kind != FieldKind::yesNo) return wrongValue();
    record->*info.yesNo = answer;
    return true;
  }

  bool whole(std::int64_t value, bool fits) {
    if (levels.empty()) return wrongType();
    Level& level = levels.back();
    if (level.frame == Frame::unitList) return wrongType();
    if (level.frame == Frame::bars) {
      if (!fits || value < 0 || value > kLargestAnswer) {
        return failValue(join(path(), std::to_string(level.bars->size())),
                         outOfRange(value, fits, 0, kLargestAnswer));
      }
      level.bars->push_back(value);
      return true;
    }
    const Name& name = *level.pending;
    switch (name.target) {
      case Target::group:
      case Target::preset:
        return wrongValue();
      case Target::field:
        return setWhole(&result->scenario, scenarioFields()[name.index], value,
                        fits);
      case Target::unitField:
        return level.artillery
                   ? setWhole(&result->scenario.artillery.back(),
                              artilleryFields()[name.index], value, fits)
                   : setWhole(&result->scenario.airDefense.back(),
                              airDefenseFields()[name.index], value, fits);
    }
    return false;
  }

  bool yesNo(char answer) {
    if (levels.empty() || levels.back().frame == Frame::unitList) {
      return wrongType();
    }
    const Level& level = levels.back();
    if (level.frame == Frame::bars) return wrongValue();
    const Name& name = *level.pending;
    switch (name.target) {
      case Target::group:
      case Target::preset:
        return wrongValue();
      case Target::field:
        return setYesNo(&result->scenario, scenarioFields()[name.index], answer);
      case Target::unitField:
        return level.artillery
                   ? setYesNo(&result->scenario.artillery.back(),
                              artilleryFields()[name.index], answer)
                   : setYesNo(&result->scenario.airDefense.back(),
                              airDefenseFields()[name.index], answer);
    }
    return false;
  }

  bool null() { return yesNo(answer::kNeither); }
  bool boolean(bool value) { return yesNo(value ? answer::kYes : answer::kNo); }
  bool number_integer(std::int64_t value) { return whole(value, true); }
  bool number_unsigned(std::uint64_t value) {
    constexpr auto kMost =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    return whole(static_cast<std::int64_t>(value > kMost ? 0 : value),
                 value <= kMost);
  }
  bool number_float(double, const std::string& text) {
    // A whole number beyond 64 bits comes as a float: its digits tell it
    // from a fraction.
    if (text.find_first_of(".eE") == std::string::npos) return whole(0, false);
    return wrongValue();
  }
  bool string(std::string& text) {
    if (levels.empty() || levels.back().frame != Frame::group ||
        levels.back().pending->target != Target::preset) {
      return wrongValue();
    }
    if (!presets) {
      return fail(pendingPath(), shownName(text) + " names a preset, but there "
                                                   "is no roster (allowed: "
                                                   "with --roster FILE)");
    }
    std::optional<std::string>& preset = levels.back().label == "attacker"
                                             ? result->attackerPreset
                                             : result->defenderPreset;
    preset = std::move(text);
    return true;
  }
  bool binary(Json::binary_t&) { return wrongValue(); }

  // A single value of the wrong kind where it stands: where it stands inside
  // an object or a list, the rest can still be read.
  bool wrongValue() {
    if (levels.empty() || levels.back().frame == Frame::unitList) {
      return wrongType();
    }
    wrongType();
    return keepGoing;
  }

  bool start_object(std::size_t) {
    if (levels.empty()) {
      Level top;
      top.names = &nameTables().top;
      levels.push_back(std::move(top));
      return true;
    }
    Level& level = levels.back();
    Level inner;
    if (level.frame == Frame::unitList) {
      inner.frame = Frame::unit;
      inner.artillery = level.artillery;
      inner.names = level.artillery ? &nameTables().artillery
                                    : &nameTables().airDefense;
      inner.item = unitCount(level.artillery);
      inner.inList = true;
      if (level.artillery) {
        result->scenario.artillery.emplace_back();
      } else {
        result->scenario.airDefense.emplace_back();
      }
    } else if (level.frame != Frame::bars && level.pending->target == Target::group) {
      inner.frame = Frame::group;
      inner.names = &nameTables().groups[level.pending->index];
      inner.label = level.pending->name;
    } else {
      return wrongType();
    }
    levels.push_back(std::move(inner));
    return true;
  }

  bool end_object() {
    const Level& level = levels.back();
    // Each supporting unit needs its strength; the rest can still be read.
    const bool complete = level.frame != Frame::unit ||
                          (level.artillery ? unitComplete(artilleryFields())
                                           : unitComplete(airDefenseFields()));
    levels.pop_back();
    return complete || keepGoing;
  }

  template <typename Fields>
  bool unitComplete(const Fields& fields) {
    const Level& level = levels.back();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (isRequired(fields[i]) && (level.seen & (std::uint64_t{1} << i)) == 0) {
        return fail(join(path(), fields[i].name),
                    "missing (allowed: " + allowedText(fields[i]) + ")");
      }
    }
    return true;
  }

  bool start_array(std::size_t) {
    if (levels.empty()) return wrongType();
    Level& level = levels.back();
    if (level.frame == Frame::bars || level.frame == Frame::unitList) {
      return wrongType();
    }
    const Name& name = *level.pending;
    Level list;
    list.label = name.name;
    if (name.target == Target::unitField) {
      const bool artillery = level.artillery;
      list.bars = artillery ? barsOf(&result->scenario.artillery.back(),
                                     artilleryFields()[name.index])
                            : barsOf(&result->scenario.airDefense.back(),
                                     airDefenseFields()[name.index]);
      if (list.bars == nullptr) return wrongType();
      list.frame = Frame::bars;
    } else if (name.target == Target::field) {
      const ScenarioField& info = scenarioFields()[name.index];
      if (info.kind == FieldKind::bars) {
        list.frame = Frame::bars;
        list.bars = &(result->scenario.*info.bars);
      } else if (info.kind == FieldKind::units) {
        list.frame = Frame::unitList;
        list.artillery = static_cast<Field>(name.index) == Field::artillery;
      } else {
        return wrongType();
      }
    } else {
      return wrongType();
    }
    levels.push_back(std::move(list));
    return true;
  }

  template <typename Record>
  static std::vector<std::int64_t>* barsOf(Record* record,
                                           const FieldInfo<Record>& info) {
    return info.kind == FieldKind::bars ? &(record->*info.bars) : nullptr;
  }

  bool end_array() {
    levels.pop_back();
    return true;
  }

  bool key(std::string& text) {
    Level& level = levels.back();
    // The attacker or the defender may be a preset of the roster, named
    // beside the answers that differ from it.
    static const Name kPreset{"preset", Target::preset, 0};
    if (text == kPreset.name && level.frame == Frame::group &&
        (level.label == "attacker" || level.label == "defender")) {
      const bool twice = level.label == "attacker" ? result->attackerPreset.has_value()
                                                   : result->defenderPreset.has_value();
      if (twice) return fail(pendingPathOf(kPreset), "given twice (allowed: once)");
      level.pending = &kPreset;
      return true;
    }
    const std::vector<Name>& names = *level.names;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i].name != text) continue;
      const std::uint64_t mask = std::uint64_t{1} << i;
      if ((level.seen & mask) != 0) {
        return fail(join(path(), names[i].name), "given twice (allowed: once)");
      }
      level.seen |= mask;
      level.pending = &names[i];
      if (names[i].target == Target::field) result->given[names[i].index] = true;
      return true;
    }
    return fail(join(path(), shownName(text)),
                "unknown name (allowed: " + listOf(names) + ")");
  }

  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception& error) {
    // The library's message begins with its own name and position; the
    // caller says where the scenario stands in its file.
    std::string message = error.what();
    const std::size_t colon = message.find(": ");
    if (colon != std::string::npos) message.erase(0, colon + 2);
    result->syntaxError = true;
    result->errorOffset = position > 0 ? position - 1 : 0;
    return fail("scenario", "not valid JSON: " + message +
                                " (allowed: one JSON object)");
  }
};

// Drops the units that the dialogue would not have asked for, naming them
// in one note.
template <typename Unit>
void dropUnitsAfter(std::vector<Unit>* units, std::size_t firing,
                    const char* name, std::vector<Problem>* notes) {
  if (units->size() <= firing) return;
  std::string names = join(name, std::to_string(firing));
  if (units->size() > firing + 1) {
    names += " to " + join(name, std::to_string(units->size() - 1));
  }
  notes->push_back({names, "ignored: the support fire had already reached "
                           "the attacker's strength"});
  units->resize(firing);
}

}  // namespace

ScenarioText parseScenario(std::string_view text, bool keepGoing,
                           bool presets) {
  ScenarioText result;
  ScenarioBuilder builder{&result, {}, keepGoing, presets};
  const bool parsed = Json::sax_parse(text.data(), text.data() + text.size(),
                                      &builder, Json::input_format_t::json, true);
  result.complete = parsed;
  if (!parsed && !result.error) {
    result.error = Problem{"scenario", "not valid JSON (allowed: one JSON object)"};
  }
  return result;
}

CheckedScenario checkScenario(const CombatScenario& given,
                              const GivenFields& givenFields, bool listAsked,
                              bool withNotes) {
  CheckedScenario checked;
  CombatScenario& s = checked.scenario;
  s = given;
  settleUnitClasses(&s);
  const auto fields = scenarioFields();
  // In the order of the dialogue, so that each condition sees the answers
  // before it as the dialogue would have taken them.
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto field = static_cast<Field>(i);
    if (asks(field, s)) {
      if (listAsked) checked.asked.push_back(dottedName(fields[i]));
      if (!givenFields[i] && isRequired(fields[i]) && !checked.error) {
        checked.error = Problem{dottedName(fields[i]),
                                "missing (allowed: " + allowedText(fields[i]) + ")"};
        if (!listAsked) return checked;
      }
      continue;
    }
    const bool hasUnits = (field == Field::artillery && !s.artillery.empty()) ||
                          (field == Field::airDefense && !s.airDefense.empty());
    if (withNotes && givenFields[i] &&
        (fields[i].kind != FieldKind::units || hasUnits)) {
      checked.notes.push_back(
          {dottedName(fields[i]), "ignored: not asked for this combat"});
    }
    resetAnswer(&s, field);
    // The classes decide every later question.
    if (field == Field::defenderClass || field == Field::defenderIsInfantry) {
      settleUnitClasses(&s);
    }
  }
  const std::size_t firing = supportUnitsFiring(s);
  std::vector<Problem> unshown;
  std::vector<Problem>* notes = withNotes ? &checked.notes : &unshown;
  dropUnitsAfter(&s.artillery, firing, "artillery", notes);
  dropUnitsAfter(&s.airDefense, firing, "airDefense", notes);
  return checked;
}

ScenarioReading readScenario(std::string_view text, bool listAsked) {
  ScenarioReading reading;
  ScenarioText parsed = parseScenario(text);
  if (parsed.error) {
    reading.checked.error = std::move(parsed.error);
    reading.syntaxError = parsed.syntaxError;
    reading.errorOffset = parsed.errorOffset;
    return reading;
  }
  reading.checked = checkScenario(parsed.scenario, parsed.given, listAsked);
  return reading;
}
