#include "files/scenario_reader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <span>
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

// A word from the file, always between quotation marks.
std::string quotedWord(std::string_view word) {
  const std::string shown = shownName(word);
  return shown.starts_with('"') ? shown : '"' + shown + '"';
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

template <typename Record>
std::string menuWords(const FieldInfo<Record>& info) {
  std::string words;
  for (const std::string_view option : info.options) {
    words += '"';
    words += option;
    words += "\", ";
  }
  return words + "or " + rangeText(info.minimum, info.maximum);
}

// Reads the text for the JSON library and keeps where the library stands,
// so that what it reports can be placed in the text.
struct TrackedChar {
  using iterator_category = std::forward_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  const char* at = nullptr;
  const char** reached = nullptr;

  reference operator*() const { return *at; }
  TrackedChar& operator++() {
    *reached = ++at;
    return *this;
  }
  TrackedChar operator++(int) {
    TrackedChar before = *this;
    ++*this;
    return before;
  }
  bool operator==(const TrackedChar& other) const { return at == other.at; }
};

// Where the parser stands: in the scenario's object, in a group, in a list
// of supporting units, in one unit, in a list of experience bars, or in a
// value that is skipped (after a name that is wrong, or where a value of
// another kind belongs).
enum class Frame { top, group, unitList, unit, bars, skip };

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
  std::uint64_t seen = 0;         // the names given so far, by their place
  const Name* pending = nullptr;  // the name whose value comes next, if any
  Place pendingPlace;             // where that name stands
  Place place;                    // where this object or list begins
};

// Builds the scenario as the parser reports what it reads, and notes every
// problem where it stands.  The parser calls these by name.
struct ScenarioBuilder {
  ScenarioText* result = nullptr;
  std::string_view text;
  const char* reached = nullptr;  // the first byte the parser has not read
  std::vector<Level> levels;
  // The line and the beginning of the line of the byte last placed, so
  // that placing goes on from there.
  std::size_t placedOffset = 0;
  std::size_t placedLine = 1;
  std::size_t placedLineStart = 0;
  bool presets = false;  // a roster holds the presets that may be named

  std::size_t readSoFar() const {
    return static_cast<std::size_t>(reached - text.data());
  }

  Place placeAt(std::size_t offset) {
    if (offset < placedOffset) {
      placedOffset = 0;
      placedLine = 1;
      placedLineStart = 0;
    }
    for (; placedOffset < offset && placedOffset < text.size(); ++placedOffset) {
      if (text[placedOffset] == '\n') {
        ++placedLine;
        placedLineStart = placedOffset + 1;
      }
    }
    return {placedLine, offset - placedLineStart + 1};
  }

  // The place of the token just read: a string or a literal ends at the
  // last byte read, a number one byte before (the parser reads one past it
  // to find its end).
  Place tokenPlace(bool number) {
    std::size_t end = readSoFar();
    if (number && end < text.size()) --end;
    return placeAt(end > 0 ? end - 1 : 0);
  }

  // The place of the name just read: its opening quotation mark.
  Place namePlace() {
    std::size_t at = readSoFar() > 0 ? readSoFar() - 1 : 0;  // its closing mark
    while (at > 0) {
      --at;
      if (text[at] != '"') continue;
      std::size_t backslashes = 0;
      while (at > backslashes && text[at - 1 - backslashes] == '\\') ++backslashes;
      if (backslashes % 2 == 0) break;
    }
    return placeAt(at);
  }

  void fail(std::string field, std::string message, Place place) {
    if (result->errors.size() >= kMostProblemsTold) {
      ++result->untold;
      return;
    }
    result->errors.push_back({std::move(field), std::move(message), place});
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

  bool skipping() const {
    return !levels.empty() && (levels.back().frame == Frame::skip ||
                               (levels.back().frame != Frame::bars &&
                                levels.back().frame != Frame::unitList &&
                                levels.back().pending == nullptr));
  }

  // A value that cannot stand where it stands, beginning at `place`; its
  // name (or its place in a list) takes the problem.
  void wrongType(Place place) {
    if (levels.empty()) {
      fail("scenario", "must be a JSON object (allowed: " +
                           listOf(nameTables().top) + ")",
           place);
      return;
    }
    Level& level = levels.back();
    switch (level.frame) {
      case Frame::bars:
        fail(join(path(), std::to_string(level.bars->size())),
             "must be a whole number (allowed: " +
                 rangeText(0, kLargestAnswer) + ")",
             place);
        // A wrong entry keeps its place, so that the next is named rightly.
        level.bars->push_back(0);
        return;
      case Frame::unitList:
        fail(join(path(), std::to_string(unitCount(level.artillery))),
             "must be an object (allowed: " +
                 listOf(level.artillery ? nameTables().artillery
                                        : nameTables().airDefense) +
                 ")",
             place);
        if (level.artillery) {
          result->scenario.artillery.emplace_back();
          result->places.artillery.push_back(place);
        } else {
          result->scenario.airDefense.emplace_back();
          result->places.airDefense.push_back(place);
        }
        return;
      case Frame::top:
      case Frame::group:
      case Frame::unit:
      case Frame::skip:
        break;
    }
    const Name& name = *level.pending;
    const Place at = level.pendingPlace;
    switch (name.target) {
      case Target::group:
        fail(pendingPath(),
             "must be an object (allowed: " +
                 listOf(nameTables().groups[name.index]) + ")",
             at);
        return;
      case Target::field:
        fail(pendingPath(), wrongTypeText(scenarioFields()[name.index]), at);
        return;
      case Target::unitField:
        fail(pendingPath(),
             level.artillery ? wrongTypeText(artilleryFields()[name.index])
                             : wrongTypeText(airDefenseFields()[name.index]),
             at);
        return;
      case Target::preset:
        fail(pendingPath(),
             "must be the name of a preset (allowed: a text, with --roster)",
             at);
        return;
    }
  }

  // A value has been taken (or refused): the next one needs a name of its
  // own, except in a list.
  bool done() {
    if (!levels.empty()) levels.back().pending = nullptr;
    return true;
  }

  // A single value of the wrong kind: noted, and the rest is read.
  bool wrongValue(bool number) {
    // The value of an unknown name is passed over: that name has its
    // problem already, and there is no field to blame.
    if (skipping()) return done();
    wrongType(tokenPlace(number));
    return done();
  }

  template <typename Record>
  bool setWhole(Record* record, const FieldInfo<Record>& info,
                std::int64_t value, bool fits) {
    if (info.kind != FieldKind::whole) return wrongValue(true);
    if (!fits || value < info.minimum || value > info.maximum) {
      fail(pendingPath(), outOfRange(value, fits, info.minimum, info.maximum),
           levels.back().pendingPlace);
      return done();
    }
    record->*info.whole = value;
    return done();
  }

  template <typename Record>
  bool setYesNo(Record* record, const FieldInfo<Record>& info, char answer) {
    if (info.kind != FieldKind::yesNo) return wrongValue(false);
    record->*info.yesNo = answer;
    return done();
  }

  template <typename Record>
  bool setWord(Record* record, const FieldInfo<Record>& info,
               std::string_view word) {
    if (info.kind != FieldKind::whole || info.options.empty()) {
      return wrongValue(false);
    }
    const std::int64_t number = menuEntry(info.options, word);
    if (number == 0) {
      fail(pendingPath(),
           "unknown word " + quotedWord(word) + " (allowed: " +
               menuWords(info) + ")",
           levels.back().pendingPlace);
      return done();
    }
    record->*info.whole = number;
    return done();
  }

  bool whole(std::int64_t value, bool fits) {
    if (skipping()) return done();
    if (levels.empty() || levels.back().frame == Frame::unitList) {
      return wrongValue(true);
    }
    Level& level = levels.back();
    if (level.frame == Frame::bars) {
      if (!fits || value < 0 || value > kLargestAnswer) {
        fail(join(path(), std::to_string(level.bars->size())),
             outOfRange(value, fits, 0, kLargestAnswer), tokenPlace(true));
      }
      // A wrong entry keeps its place, so that the next is named rightly.
      level.bars->push_back(fits && value >= 0 ? value : 0);
      return true;
    }
    const Name& name = *level.pending;
    switch (name.target) {
      case Target::group:
      case Target::preset:
        return wrongValue(true);
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
    return done();
  }

  bool yesNo(char answer) {
    if (skipping()) return done();
    if (levels.empty() || levels.back().frame == Frame::unitList ||
        levels.back().frame == Frame::bars) {
      return wrongValue(false);
    }
    const Level& level = levels.back();
    const Name& name = *level.pending;
    switch (name.target) {
      case Target::group:
      case Target::preset:
        return wrongValue(false);
      case Target::field:
        return setYesNo(&result->scenario, scenarioFields()[name.index], answer);
      case Target::unitField:
        return level.artillery
                   ? setYesNo(&result->scenario.artillery.back(),
                              artilleryFields()[name.index], answer)
                   : setYesNo(&result->scenario.airDefense.back(),
                              airDefenseFields()[name.index], answer);
    }
    return done();
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
  bool number_float(double value, const std::string&) {
    // A number whose value is whole is a whole number however it is
    // written (10.0, 1e1), as JSON Schema counts an integer; one beyond
    // 64 bits is out of every range.
    if (value != std::floor(value)) return wrongValue(true);
    constexpr double kBeyond = 9223372036854775808.0;  // 2 to the 63rd
    const bool fits = value > -kBeyond && value < kBeyond;
    return whole(fits ? static_cast<std::int64_t>(value) : 0, fits);
  }
  bool string(std::string& word) {
    if (skipping()) return done();
    if (levels.empty() || levels.back().frame == Frame::unitList ||
        levels.back().frame == Frame::bars) {
      return wrongValue(false);
    }
    if (levels.back().frame == Frame::group &&
        levels.back().pending->target == Target::preset) {
      return presetName(std::move(word));
    }
    const Level& level = levels.back();
    const Name& name = *level.pending;
    switch (name.target) {
      case Target::group:
      case Target::preset:
        return wrongValue(false);
      case Target::field:
        return setWord(&result->scenario, scenarioFields()[name.index], word);
      case Target::unitField:
        return level.artillery
                   ? setWord(&result->scenario.artillery.back(),
                             artilleryFields()[name.index], word)
                   : setWord(&result->scenario.airDefense.back(),
                             airDefenseFields()[name.index], word);
    }
    return done();
  }
  bool binary(Json::binary_t&) { return wrongValue(false); }

  // The preset named for the attacker or the defender; without a roster
  // there is none to take it from.
  bool presetName(std::string word) {
    Level& level = levels.back();
    if (!presets) {
      fail(pendingPath(),
           shownName(word) + " names a preset, but there is no roster "
                             "(allowed: with --roster FILE)",
           level.pendingPlace);
      return done();
    }
    const bool attacker = level.label == "attacker";
    (attacker ? result->attackerPreset : result->defenderPreset) =
        std::move(word);
    (attacker ? result->attackerPresetPlace : result->defenderPresetPlace) =
        level.pendingPlace;
    return done();
  }

  // An object or a list that is not read: what it holds is passed over.
  bool skip() {
    Level skipped;
    skipped.frame = Frame::skip;
    levels.push_back(std::move(skipped));
    return true;
  }

  bool start_object(std::size_t) {
    const Place place = tokenPlace(false);
    if (levels.empty()) {
      Level top;
      top.names = &nameTables().top;
      top.place = place;
      levels.push_back(std::move(top));
      return true;
    }
    if (skipping()) return skip();
    Level& level = levels.back();
    Level inner;
    inner.place = place;
    if (level.frame == Frame::unitList) {
      inner.frame = Frame::unit;
      inner.artillery = level.artillery;
      inner.names = level.artillery ? &nameTables().artillery
                                    : &nameTables().airDefense;
      inner.item = unitCount(level.artillery);
      inner.inList = true;
      if (level.artillery) {
        result->scenario.artillery.emplace_back();
        result->places.artillery.push_back(place);
      } else {
        result->scenario.airDefense.emplace_back();
        result->places.airDefense.push_back(place);
      }
    } else if (level.frame != Frame::bars &&
               level.pending->target == Target::group) {
      inner.frame = Frame::group;
      inner.names = &nameTables().groups[level.pending->index];
      inner.label = level.pending->name;
      result->places.groups[level.pending->index] = level.pendingPlace;
    } else {
      wrongType(place);
      done();
      return skip();
    }
    levels.push_back(std::move(inner));
    return true;
  }

  bool end_object() {
    if (levels.back().frame == Frame::unit) {
      if (levels.back().artillery) {
        unitComplete(artilleryFields());
      } else {
        unitComplete(airDefenseFields());
      }
    }
    levels.pop_back();
    return done();
  }

  // Each supporting unit needs its strength.
  template <typename Fields>
  void unitComplete(const Fields& fields) {
    const Level& level = levels.back();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (isRequired(fields[i]) && (level.seen & (std::uint64_t{1} << i)) == 0) {
        fail(join(path(), fields[i].name),
             "missing (allowed: " + allowedText(fields[i]) + ")", level.place);
      }
    }
  }

  bool start_array(std::size_t) {
    const Place place = tokenPlace(false);
    if (levels.empty()) {
      wrongType(place);
      return skip();
    }
    if (skipping()) return skip();
    Level& level = levels.back();
    if (level.frame == Frame::bars || level.frame == Frame::unitList) {
      wrongType(place);
      return skip();
    }
    const Name& name = *level.pending;
    Level list;
    list.label = name.name;
    list.place = place;
    if (name.target == Target::unitField) {
      const bool artillery = level.artillery;
      list.bars = artillery ? barsOf(&result->scenario.artillery.back(),
                                     artilleryFields()[name.index])
                            : barsOf(&result->scenario.airDefense.back(),
                                     airDefenseFields()[name.index]);
      list.frame = Frame::bars;
    } else if (name.target == Target::field) {
      const ScenarioField& info = scenarioFields()[name.index];
      if (info.kind == FieldKind::bars) {
        list.frame = Frame::bars;
        list.bars = &(result->scenario.*info.bars);
      } else if (info.kind == FieldKind::units) {
        list.frame = Frame::unitList;
        list.artillery = static_cast<Field>(name.index) == Field::artillery;
      }
    }
    if (list.frame == Frame::top || (list.frame == Frame::bars && list.bars == nullptr)) {
      wrongType(place);
      done();
      return skip();
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
    return done();
  }

  bool key(std::string& name) {
    Level& level = levels.back();
    if (level.frame == Frame::skip) return true;
    const Place place = namePlace();
    level.pending = nullptr;
    // The attacker or the defender may be a preset of the roster, named
    // beside the answers that differ from it.
    static const Name kPreset{"preset", Target::preset, 0};
    if (name == kPreset.name && level.frame == Frame::group &&
        (level.label == "attacker" || level.label == "defender")) {
      const bool twice = level.label == "attacker"
                             ? result->attackerPreset.has_value()
                             : result->defenderPreset.has_value();
      if (twice) {
        fail(pendingPathOf(kPreset), "given twice (allowed: once)", place);
        return true;
      }
      level.pending = &kPreset;
      level.pendingPlace = place;
      return true;
    }
    const std::vector<Name>& names = *level.names;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i].name != name) continue;
      const std::uint64_t mask = std::uint64_t{1} << i;
      if ((level.seen & mask) != 0) {
        fail(join(path(), names[i].name), "given twice (allowed: once)", place);
        return true;
      }
      level.seen |= mask;
      level.pending = &names[i];
      level.pendingPlace = place;
      if (names[i].target == Target::field) {
        result->given[names[i].index] = true;
        result->places.fields[names[i].index] = place;
      }
      return true;
    }
    fail(join(path(), shownName(name)),
         "unknown name (allowed: " + listOf(names) + ")", place);
    return true;
  }

  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception& error) {
    // The library's message begins with its own name and position; the
    // caller says where the scenario stands in its file.  What was found
    // before it stands aside: it may be the start of the very token that
    // is wrong (the 0 of 010).
    std::string message = error.what();
    const std::size_t colon = message.find(": ");
    if (colon != std::string::npos) {
      message.erase(0, colon + 2);
    } else if (message.starts_with('[')) {
      message.erase(0, message.find("] ") + 2);
    }
    result->errors.clear();
    result->untold = 0;
    Problem problem{"scenario",
                    "not valid JSON: " + message + " (allowed: one JSON object)",
                    placeAt(position > 0 ? position - 1 : 0)};
    problem.showColumn = true;
    result->errors.push_back(std::move(problem));
    return false;
  }
};

// Drops the units that the dialogue would not have asked for, naming them
// in one note at the first of them.
template <typename Unit>
void dropUnitsAfter(std::vector<Unit>* units, std::size_t firing,
                    const char* name, const std::vector<Place>& places,
                    std::vector<Problem>* notes) {
  if (units->size() <= firing) return;
  std::string names = join(name, std::to_string(firing));
  if (units->size() > firing + 1) {
    names += " to " + join(name, std::to_string(units->size() - 1));
  }
  notes->push_back({names,
                    "ignored: the support fire had already reached the "
                    "attacker's strength",
                    firing < places.size() ? places[firing] : Place{}});
  units->resize(firing);
}

// The group that holds a field of the combat, by its place among the
// groups; none for a field at the top.
std::optional<std::size_t> groupOf(const ScenarioField& info) {
  for (std::size_t g = 0; g < std::size(kGroups); ++g) {
    if (kGroups[g] == info.group) return g;
  }
  return std::nullopt;
}

}  // namespace

ScenarioText parseScenario(std::string_view text, bool presets) {
  ScenarioText result;
  ScenarioBuilder builder;
  builder.result = &result;
  builder.text = text;
  builder.presets = presets;
  builder.reached = text.data();
  const TrackedChar first{text.data(), &builder.reached};
  const TrackedChar last{text.data() + text.size(), &builder.reached};
  result.complete =
      Json::sax_parse(first, last, &builder, Json::input_format_t::json, true);
  if (!result.complete && result.errors.empty()) {
    result.errors.push_back(
        {"scenario", "not valid JSON (allowed: one JSON object)", {}});
  }
  return result;
}

CheckedScenario checkScenario(const CombatScenario& given,
                              const GivenFields& givenFields,
                              const FieldPlaces& places, bool listAsked,
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
      if (!givenFields[i] && isRequired(fields[i])) {
        // A missing field is placed at its group, when the group is there.
        const std::optional<std::size_t> group = groupOf(fields[i]);
        checked.errors.push_back(
            {dottedName(fields[i]),
             "missing (allowed: " + allowedText(fields[i]) + ")",
             group ? places.groups[*group] : Place{}});
      }
      continue;
    }
    const bool hasUnits = (field == Field::artillery && !s.artillery.empty()) ||
                          (field == Field::airDefense && !s.airDefense.empty());
    if (withNotes && givenFields[i] &&
        (fields[i].kind != FieldKind::units || hasUnits)) {
      checked.notes.push_back({dottedName(fields[i]),
                               "ignored: not asked for this combat",
                               places.fields[i]});
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
  dropUnitsAfter(&s.artillery, firing, "artillery", places.artillery, notes);
  dropUnitsAfter(&s.airDefense, firing, "airDefense", places.airDefense, notes);
  return checked;
}

CheckedScenario readScenario(std::string_view text, bool listAsked) {
  return checkText(parseScenario(text), listAsked);
}

CheckedScenario checkText(ScenarioText parsed, bool listAsked) {
  if (!parsed.complete) {
    CheckedScenario failed;
    failed.errors = std::move(parsed.errors);
    return failed;
  }
  CheckedScenario checked =
      checkScenario(parsed.scenario, parsed.given, parsed.places, listAsked);
  if (!parsed.errors.empty() || !checked.errors.empty()) {
    // Checked with wrong values left out, the combat may ask other
    // questions than it will: only its errors count then, and not those
    // inside a group or a list already found wrong.  A preset that could
    // not be put in leaves its unit unknown, and every answer it would have
    // given missing: nothing missing counts then.
    const std::size_t read = parsed.errors.size();
    for (Problem& error : checked.errors) {
      const bool inWrong = std::any_of(
          parsed.errors.begin(), parsed.errors.begin() + read,
          [&error](const Problem& wrong) {
            return wrong.field == "scenario" ||
                   wrong.field.ends_with(".preset") ||
                   error.field.starts_with(wrong.field + ".");
          });
      if (inWrong) continue;
      if (parsed.errors.size() < kMostProblemsTold) {
        parsed.errors.push_back(std::move(error));
      } else {
        ++parsed.untold;
      }
    }
    checked.errors = std::move(parsed.errors);
    checked.untold = parsed.untold;
    checked.notes.clear();
  }
  return checked;
}
