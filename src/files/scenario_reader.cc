#include "files/scenario_reader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <tuple>

#include "combat/questions.h"
#include "files/json_answer.h"
#include "scenario/field_path.h"

namespace {

using Json = nlohmann::json;

std::string listOf(std::span<const ScopedName> names) {
  std::string list;
  for (const ScopedName& name : names) {
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

template <typename Description>
std::string allowedText(const Description& info) {
  return allowedText(info.kind, info.minimum, info.maximum);
}

std::string wrongTypeText(const ScopedName& name) {
  return wrongKindText(name.kind, name.minimum, name.maximum);
}

std::string outOfRange(WholeNumber number, std::int64_t minimum,
                       std::int64_t maximum) {
  return outOfRangeText(number) + " (allowed: " + rangeText(minimum, maximum) +
         ")";
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
  // The object whose names this object takes, and those names; for a list
  // of units, the object each unit is.
  Scope scope = Scope::scenario;
  std::span<const ScopedName> names;
  std::vector<std::int64_t>* bars = nullptr;
  // How this object or list is reached from the one around it: by a name,
  // or by its place in a list.
  std::string_view label;
  std::size_t item = 0;
  bool inList = false;
  std::uint64_t seen = 0;  // the names given so far, by their place
  std::size_t next = 0;    // the place after the name last given
  // The name whose value comes next, if any: a name of the scope, or the
  // preset that stands for the attacker or the defender.
  const ScopedName* pending = nullptr;
  bool presetPending = false;
  Place pendingPlace;  // where that name stands
  Place place;         // where this object or list begins
};

constexpr std::string_view kPresetName = "preset";

// The place of a group among FieldPlaces::groups, which follows Scope.
static_assert(std::tuple_size_v<decltype(FieldPlaces::groups)> ==
                  static_cast<std::size_t>(Scope::terrain) -
                      static_cast<std::size_t>(Scope::general) + 1,
              "a place for each group, in the order of Scope");
std::size_t groupIndex(Scope group) {
  return static_cast<std::size_t>(group) -
         static_cast<std::size_t>(Scope::general);
}

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
  // The library refused a number too large for a double: the text is
  // valid JSON, and is read again with that number out of range.
  bool numberOverflow = false;

  std::size_t readSoFar() const {
    return static_cast<std::size_t>(reached - text.data());
  }

  Place placeAt(std::size_t offset) {
    if (offset < placedOffset) {
      placedOffset = 0;
      placedLine = 1;
      placedLineStart = 0;
    }
    // Line breaks are few (a scenario is mostly one line): memchr passes
    // over the text between them.
    const std::size_t end = std::min(offset, text.size());
    while (placedOffset < end) {
      const void* found =
          std::memchr(text.data() + placedOffset, '\n', end - placedOffset);
      if (found == nullptr) {
        placedOffset = end;
        break;
      }
      placedOffset = static_cast<std::size_t>(static_cast<const char*>(found) -
                                              text.data()) + 1;
      ++placedLine;
      placedLineStart = placedOffset;
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

  // The place of the name `name` just read: its opening quotation mark.
  Place namePlace(std::string_view name) {
    std::size_t at = readSoFar() > 0 ? readSoFar() - 1 : 0;  // its closing mark
    // Written without escapes, the name stands as read before its closing
    // mark.  A quotation mark inside a name follows a backslash, and the
    // opening one never does, so this cannot take an inner mark for it.
    if (at > name.size()) {
      const std::size_t opening = at - name.size() - 1;
      if (text[opening] == '"' && (opening == 0 || text[opening - 1] != '\\')) {
        return placeAt(opening);
      }
    }
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

  // The record that a name of `scope` belongs to, with the name's field:
  // the combat, or the last unit read of its list.  The one place where the
  // two lists of supporting units are told apart.
  template <typename Act>
  auto onRecord(Scope scope, std::size_t field, Act act) {
    CombatScenario& s = result->scenario;
    switch (scope) {
      case Scope::artilleryUnit:
        return act(&s.artillery.back(), artilleryFields()[field]);
      case Scope::airDefenseUnit:
        return act(&s.airDefense.back(), airDefenseFields()[field]);
      default:
        return act(&s, scenarioFields()[field]);
    }
  }

  std::size_t unitCount(Scope unit) const {
    return unit == Scope::artilleryUnit ? result->scenario.artillery.size()
                                        : result->scenario.airDefense.size();
  }

  // A new supporting unit of the list whose units are `unit`, beginning at
  // `place`.
  void addUnit(Scope unit, Place place) {
    if (unit == Scope::artilleryUnit) {
      result->scenario.artillery.emplace_back();
      result->places.artillery.push_back(place);
    } else {
      result->scenario.airDefense.emplace_back();
      result->places.airDefense.push_back(place);
    }
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

  std::string pendingPath() const {
    const Level& level = levels.back();
    return join(path(), level.presetPending ? kPresetName : level.pending->name);
  }

  bool skipping() const {
    if (levels.empty()) return false;
    const Level& level = levels.back();
    return level.frame == Frame::skip ||
           (level.frame != Frame::bars && level.frame != Frame::unitList &&
            level.pending == nullptr && !level.presetPending);
  }

  // A value that cannot stand where it stands, beginning at `place`; its
  // name (or its place in a list) takes the problem.
  void wrongType(Place place) {
    if (levels.empty()) {
      fail("scenario", "must be a JSON object (allowed: " +
                           listOf(namesIn(Scope::scenario)) + ")",
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
        fail(join(path(), std::to_string(unitCount(level.scope))),
             "must be an object (allowed: " + listOf(namesIn(level.scope)) + ")",
             place);
        addUnit(level.scope, place);
        return;
      case Frame::top:
      case Frame::group:
      case Frame::unit:
      case Frame::skip:
        break;
    }
    if (level.presetPending) {
      fail(pendingPath(),
           "must be the name of a preset (allowed: a text, with --roster)",
           level.pendingPlace);
      return;
    }
    const ScopedName& name = *level.pending;
    fail(pendingPath(),
         name.nameKind == NameKind::group
             ? "must be an object (allowed: " + listOf(namesIn(name.inner)) + ")"
             : wrongTypeText(name),
         level.pendingPlace);
  }

  // A value has been taken (or refused): the next one needs a name of its
  // own, except in a list.
  bool done() {
    if (!levels.empty()) {
      levels.back().pending = nullptr;
      levels.back().presetPending = false;
    }
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

  // The field of the combat or of a unit that takes the next value, or
  // nullptr where no such field does (a list, a group, a preset).
  const ScopedName* pendingField() const {
    if (levels.empty()) return nullptr;
    const Level& level = levels.back();
    if (level.frame == Frame::unitList || level.frame == Frame::bars ||
        level.pending == nullptr || level.pending->nameKind == NameKind::group) {
      return nullptr;
    }
    return level.pending;
  }

  template <typename Record>
  bool setWhole(Record* record, const FieldInfo<Record>& info,
                WholeNumber number) {
    if (info.kind != FieldKind::whole) return wrongValue(true);
    if (!number.fits || number.value < info.minimum ||
        number.value > info.maximum) {
      fail(pendingPath(), outOfRange(number, info.minimum, info.maximum),
           levels.back().pendingPlace);
      return done();
    }
    record->*info.whole = number.value;
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
               menuWordList(info.options) + ", or " +
               rangeText(info.minimum, info.maximum) + ")",
           levels.back().pendingPlace);
      return done();
    }
    record->*info.whole = number;
    return done();
  }

  bool whole(WholeNumber number) {
    if (skipping()) return done();
    if (!levels.empty() && levels.back().frame == Frame::bars) {
      Level& level = levels.back();
      if (!number.fits || number.value < 0 || number.value > kLargestAnswer) {
        fail(join(path(), std::to_string(level.bars->size())),
             outOfRange(number, 0, kLargestAnswer), tokenPlace(true));
      }
      // A wrong entry keeps its place, so that the next is named rightly.
      level.bars->push_back(number.fits && number.value >= 0 ? number.value : 0);
      return true;
    }
    const ScopedName* name = pendingField();
    if (name == nullptr) return wrongValue(true);
    return onRecord(levels.back().scope, name->field,
                    [&](auto* record, const auto& info) {
                      return setWhole(record, info, number);
                    });
  }

  bool yesNo(char answer) {
    if (skipping()) return done();
    const ScopedName* name = pendingField();
    if (name == nullptr) return wrongValue(false);
    return onRecord(levels.back().scope, name->field,
                    [&](auto* record, const auto& info) {
                      return setYesNo(record, info, answer);
                    });
  }

  bool null() { return yesNo(answer::kNeither); }
  bool boolean(bool value) { return yesNo(value ? answer::kYes : answer::kNo); }
  bool number_integer(std::int64_t value) { return whole({value, true}); }
  bool number_unsigned(std::uint64_t value) {
    return whole(wholeFromUnsigned(value));
  }
  bool number_float(double value, const std::string&) {
    const std::optional<WholeNumber> number = wholeFromFloat(value);
    return number ? whole(*number) : wrongValue(true);
  }
  bool string(std::string& word) {
    if (skipping()) return done();
    if (!levels.empty() && levels.back().presetPending) {
      return presetName(std::move(word));
    }
    const ScopedName* name = pendingField();
    if (name == nullptr) return wrongValue(false);
    return onRecord(levels.back().scope, name->field,
                    [&](auto* record, const auto& info) {
                      return setWord(record, info, word);
                    });
  }
  bool binary(Json::binary_t&) { return wrongValue(false); }

  // The preset named for the attacker or the defender; without a roster
  // there is none to take it from.
  bool presetName(std::string word) {
    Level& level = levels.back();
    if (!presets) {
      fail(pendingPath(),
           shownText(word) + " names a preset, but there is no roster "
                             "(allowed: with --roster FILE)",
           level.pendingPlace);
      return done();
    }
    const bool attacker = level.scope == Scope::attacker;
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
      top.names = namesIn(Scope::scenario);
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
      inner.scope = level.scope;
      inner.names = namesIn(level.scope);
      inner.item = unitCount(level.scope);
      inner.inList = true;
      addUnit(level.scope, place);
    } else if (level.frame != Frame::bars && level.pending != nullptr &&
               level.pending->nameKind == NameKind::group) {
      inner.frame = Frame::group;
      inner.scope = level.pending->inner;
      inner.names = namesIn(inner.scope);
      inner.label = level.pending->name;
      result->places.groups[groupIndex(inner.scope)] = level.pendingPlace;
    } else {
      wrongType(place);
      done();
      return skip();
    }
    levels.push_back(std::move(inner));
    return true;
  }

  bool end_object() {
    const Level& level = levels.back();
    if (level.frame == Frame::unit) {
      // Each supporting unit needs its strength.
      const auto names = level.names;
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].required && (level.seen & (std::uint64_t{1} << i)) == 0) {
          fail(join(path(), names[i].name),
               "missing (allowed: " + allowedText(names[i]) + ")", level.place);
        }
      }
    }
    levels.pop_back();
    return done();
  }

  bool start_array(std::size_t) {
    const Place place = tokenPlace(false);
    if (levels.empty()) {
      wrongType(place);
      return skip();
    }
    if (skipping()) return skip();
    Level& level = levels.back();
    const ScopedName* name = pendingField();
    if (name == nullptr || (name->kind != FieldKind::bars &&
                            name->kind != FieldKind::units)) {
      wrongType(place);
      done();
      return skip();
    }
    Level list;
    list.label = name->name;
    list.place = place;
    if (name->kind == FieldKind::units) {
      list.frame = Frame::unitList;
      list.scope = name->inner;
    } else {
      list.frame = Frame::bars;
      list.bars = onRecord(level.scope, name->field,
                           [](auto* record, const auto& info) {
                             return &(record->*info.bars);
                           });
    }
    levels.push_back(std::move(list));
    return true;
  }

  bool end_array() {
    levels.pop_back();
    return done();
  }

  bool key(std::string& name) {
    Level& level = levels.back();
    if (level.frame == Frame::skip) return true;
    const Place place = namePlace(name);
    level.pending = nullptr;
    level.presetPending = false;
    // The attacker or the defender may be a preset of the roster, named
    // beside the answers that differ from it.
    if (name == kPresetName &&
        (level.scope == Scope::attacker || level.scope == Scope::defender)) {
      const bool twice = level.scope == Scope::attacker
                             ? result->attackerPreset.has_value()
                             : result->defenderPreset.has_value();
      if (twice) {
        fail(join(path(), kPresetName), "given twice (allowed: once)", place);
        return true;
      }
      level.presetPending = true;
      level.pendingPlace = place;
      return true;
    }
    // Files written by the program give the names in their order: the name
    // after the last one found is tried first.
    const ScopedName* found =
        level.next < level.names.size() && level.names[level.next].name == name
            ? &level.names[level.next]
            : findName(level.names, name);
    if (found == nullptr) {
      const ScopedName* closest = closestName(level.names, name);
      fail(join(path(), shownText(name)),
           closest != nullptr
               ? "unknown name (did you mean " + join(path(), closest->name) +
                     "?)"
               : "unknown name (allowed: " + listOf(level.names) + ")",
           place);
      return true;
    }
    const std::uint64_t mask = std::uint64_t{1}
                               << (found - level.names.data());
    if ((level.seen & mask) != 0) {
      fail(join(path(), found->name), "given twice (allowed: once)", place);
      return true;
    }
    level.seen |= mask;
    level.next = static_cast<std::size_t>(found - level.names.data()) + 1;
    level.pending = found;
    level.pendingPlace = place;
    if (found->nameKind == NameKind::field) {
      result->given[found->field] = true;
      result->places.fields[found->field] = place;
    }
    return true;
  }

  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::detail::exception& error) {
    numberOverflow = error.id == kJsonNumberOverflow;
    // The caller says where the scenario stands in its file.  What was
    // found before it stands aside: it may be the start of the very token
    // that is wrong (the 0 of 010).
    const std::string message = parseErrorText(error.what());
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

// Where the group that holds a field of the combat begins; nowhere for a
// field at the top, or a group not given.
Place groupPlace(const FieldPlaces& places, const ScenarioField& info) {
  const ScopedName* group = findName(Scope::scenario, info.group);
  if (group == nullptr || group->nameKind != NameKind::group) return {};
  return places.groups[groupIndex(group->inner)];
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
  if (builder.numberOverflow) {
    if (const std::optional<std::string> finite = withFiniteNumbers(text)) {
      return parseScenario(*finite, presets);
    }
  }
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
        checked.errors.push_back(
            {dottedName(fields[i]),
             "missing (allowed: " + allowedText(fields[i]) + ")",
             groupPlace(places, fields[i])});
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
