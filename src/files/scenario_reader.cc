#include "files/scenario_reader.h"

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
#include "files/json_reader.h"
#include "scenario/field_path.h"

const JsonDocument kScenarioDocument{"scenario", true,
                                     "one JSON object of at most 16 MiB"};

namespace {

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

// Where the reader stands: in the scenario's object, in a group, in a list
// of supporting units, or in one unit.
enum class Frame { top, group, unitList, unit };

struct Level {
  Frame frame = Frame::top;
  // The object whose names this object takes, and those names; for a list
  // of units, the object each unit is.
  Scope scope = Scope::scenario;
  std::span<const ScopedName> names;
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

// Builds the scenario from the tokens of its text, and notes every problem
// where it stands.
struct ScenarioBuilder {
  ScenarioText* result = nullptr;
  const JsonText* json = nullptr;
  LinePlacer placer;
  std::vector<Level> levels;
  bool presets = false;  // a roster holds the presets that may be named

  Place placeOf(const JsonToken& token) { return placeAt(&placer, token.offset); }

  void fail(std::string field, std::string message, Place place,
            Reason reason) {
    Problem problem{std::move(field), std::move(message), place};
    problem.reason = reason;
    addProblem(&result->errors, std::move(problem));
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

  // A value that cannot stand where it stands; its name (or its place in a
  // list) takes the problem.
  void wrongType(const JsonToken& token) {
    const Place place = placeOf(token);
    const Reason reason = wrongKindReason(token);
    if (levels.empty()) {
      fail("scenario", "must be a JSON object (allowed: " +
                           listOf(namesIn(Scope::scenario)) + ")",
           place, reason);
      return;
    }
    Level& level = levels.back();
    if (level.frame == Frame::unitList) {
      fail(join(path(), std::to_string(unitCount(level.scope))),
           "must be an object (allowed: " + listOf(namesIn(level.scope)) + ")",
           place, reason);
      addUnit(level.scope, place);
      return;
    }
    if (level.presetPending) {
      fail(pendingPath(),
           "must be the name of a preset (allowed: a text, with --roster)",
           level.pendingPlace, reason);
      return;
    }
    const ScopedName& name = *level.pending;
    fail(pendingPath(),
         name.nameKind == NameKind::group
             ? "must be an object (allowed: " + listOf(namesIn(name.inner)) + ")"
             : wrongTypeText(name),
         level.pendingPlace, reason);
  }

  // A value has been taken (or refused): the next one needs a name of its
  // own, except in a list.
  void done() {
    if (!levels.empty()) {
      levels.back().pending = nullptr;
      levels.back().presetPending = false;
    }
  }

  // The field of the combat or of a unit that takes the next value, or
  // nullptr where no such field does (a list, a group, a preset).
  const ScopedName* pendingField() const {
    if (levels.empty()) return nullptr;
    const Level& level = levels.back();
    if (level.frame == Frame::unitList || level.pending == nullptr ||
        level.pending->nameKind == NameKind::group) {
      return nullptr;
    }
    return level.pending;
  }

  // A single value: a number, a yes/no answer, a menu word or a preset's
  // name, taken by the pending field or refused.
  void value(const JsonToken& token) {
    if (!levels.empty() && levels.back().presetPending &&
        token.kind == JsonKind::text) {
      presetName(std::string(wordOf(*json, token)));
      return done();
    }
    const ScopedName* name = pendingField();
    if (name == nullptr) {
      wrongType(token);
      return done();
    }
    onRecord(levels.back().scope, name->field,
             [&](auto* record, const auto& info) { take(record, info, token); });
    done();
  }

  template <typename Record>
  void take(Record* record, const FieldInfo<Record>& info,
            const JsonToken& token) {
    const Place place = levels.back().pendingPlace;
    switch (token.kind) {
      case JsonKind::number:
        if (info.kind != FieldKind::whole) break;
        if (const Reason reason =
                rangeReason(wholeOf(token), info.minimum, info.maximum);
            reason != Reason::none) {
          fail(pendingPath(),
               outOfRangeMessage(wholeOf(token), info.minimum, info.maximum),
               place, reason);
          return;
        }
        record->*info.whole = token.value;
        return;
      case JsonKind::yes:
      case JsonKind::no:
      case JsonKind::null:
        if (info.kind != FieldKind::yesNo) break;
        record->*info.yesNo = yesNoOf(token);
        return;
      case JsonKind::text: {
        if (info.kind != FieldKind::whole || info.options.empty()) break;
        const std::string_view word = wordOf(*json, token);
        const std::int64_t number = menuEntry(info.options, word);
        if (number == 0) {
          fail(pendingPath(),
               unknownWordMessage(word, info.options, "",
                                  ", or " + rangeText(info.minimum, info.maximum)),
               place, Reason::unknownWord);
          return;
        }
        record->*info.whole = number;
        return;
      }
      default:
        break;
    }
    wrongType(token);
  }

  // The preset named for the attacker or the defender; without a roster
  // there is none to take it from.
  void presetName(std::string word) {
    Level& level = levels.back();
    if (!presets) {
      fail(pendingPath(),
           shownText(word) + " names a preset, but there is no roster "
                             "(allowed: with --roster FILE)",
           level.pendingPlace, Reason::unknownName);
      return;
    }
    const bool attacker = level.scope == Scope::attacker;
    (attacker ? result->attackerPreset : result->defenderPreset) =
        std::move(word);
    (attacker ? result->attackerPresetPlace : result->defenderPresetPlace) =
        level.pendingPlace;
  }

  // An object at `index`: the scenario, a group or a supporting unit; any
  // other is refused and passed over.  Gives the index of the next token.
  std::size_t startObject(std::size_t index) {
    const JsonToken& token = json->tokens[index];
    const Place place = placeOf(token);
    if (levels.empty()) {
      Level top;
      top.names = namesIn(Scope::scenario);
      top.place = place;
      levels.push_back(std::move(top));
      return index + 1;
    }
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
    } else if (level.pending != nullptr &&
               level.pending->nameKind == NameKind::group) {
      inner.frame = Frame::group;
      inner.scope = level.pending->inner;
      inner.names = namesIn(inner.scope);
      inner.label = level.pending->name;
      result->places.groups[groupIndex(inner.scope)] = level.pendingPlace;
    } else {
      wrongType(token);
      done();
      return afterValue(*json, index);
    }
    levels.push_back(std::move(inner));
    return index + 1;
  }

  // A list at `index`: of supporting units, or of experience bars (read
  // whole); any other is refused and passed over.
  std::size_t startList(std::size_t index) {
    const JsonToken& token = json->tokens[index];
    const ScopedName* name = pendingField();
    if (name == nullptr || (name->kind != FieldKind::bars &&
                            name->kind != FieldKind::units)) {
      wrongType(token);
      done();
      return afterValue(*json, index);
    }
    if (name->kind == FieldKind::bars) {
      BarsRead read = readBars(*json, index, pendingPath(), &placer);
      onRecord(levels.back().scope, name->field,
               [&](auto* record, const auto& info) {
                 record->*info.bars = std::move(read.bars);
               });
      for (Problem& problem : read.problems) addProblem(&result->errors, std::move(problem));
      done();
      return afterValue(*json, index);
    }
    Level list;
    list.label = name->name;
    list.place = placeOf(token);
    list.frame = Frame::unitList;
    list.scope = name->inner;
    levels.push_back(std::move(list));
    return index + 1;
  }

  void end() {
    const Level& level = levels.back();
    if (level.frame == Frame::unit) {
      // Each supporting unit needs its strength.
      const auto names = level.names;
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].required && (level.seen & (std::uint64_t{1} << i)) == 0) {
          fail(join(path(), names[i].name),
               "missing (allowed: " + allowedText(names[i]) + ")", level.place,
               Reason::missing);
        }
      }
    }
    levels.pop_back();
    done();
  }

  // A name at `index`; a refused name's value is passed over.  Gives the
  // index of the next token.
  std::size_t key(std::size_t index) {
    Level& level = levels.back();
    const JsonToken& token = json->tokens[index];
    const std::string_view name = wordOf(*json, token);
    const Place place = placeOf(token);
    level.pending = nullptr;
    level.presetPending = false;
    const std::size_t skipped =
        index + 1 < json->tokens.size() ? afterValue(*json, index + 1) : index + 1;
    // The attacker or the defender may be a preset of the roster, named
    // beside the answers that differ from it.
    if (name == kPresetName &&
        (level.scope == Scope::attacker || level.scope == Scope::defender)) {
      const bool twice = level.scope == Scope::attacker
                             ? result->attackerPreset.has_value()
                             : result->defenderPreset.has_value();
      if (twice) {
        fail(join(path(), kPresetName), "given twice (allowed: once)", place,
             Reason::givenTwice);
        return skipped;
      }
      level.presetPending = true;
      level.pendingPlace = place;
      return index + 1;
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
           place, Reason::unknownName);
      return skipped;
    }
    const std::uint64_t mask = std::uint64_t{1}
                               << (found - level.names.data());
    if ((level.seen & mask) != 0) {
      fail(join(path(), found->name), "given twice (allowed: once)", place,
           Reason::givenTwice);
      return skipped;
    }
    level.seen |= mask;
    level.next = static_cast<std::size_t>(found - level.names.data()) + 1;
    level.pending = found;
    level.pendingPlace = place;
    if (found->nameKind == NameKind::field) {
      result->given[found->field] = true;
      result->places.fields[found->field] = place;
    }
    return index + 1;
  }

  void read() {
    const std::size_t count = json->tokens.size();
    for (std::size_t i = 0; i < count;) {
      const JsonToken& token = json->tokens[i];
      switch (token.kind) {
        case JsonKind::object:
          i = startObject(i);
          break;
        case JsonKind::list:
          i = levels.empty() ? (wrongType(token), afterValue(*json, i))
                             : startList(i);
          break;
        case JsonKind::end:
          end();
          ++i;
          break;
        case JsonKind::name:
          i = key(i);
          break;
        default:
          value(token);
          ++i;
          break;
      }
    }
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
  const JsonText json = readJson(text, kScenarioDocument);
  ScenarioBuilder builder;
  builder.result = &result;
  builder.json = &json;
  builder.placer.text = text;
  builder.presets = presets;
  builder.read();
  result.complete = json.complete;
  if (!json.complete) {
    // What was found before the mistake stands aside: it may be the start
    // of the very token that is wrong (the 0 of 010).
    result.errors = Problems{{json.notJson}, 0};
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
        Problem missing{dottedName(fields[i]),
                        "missing (allowed: " + allowedText(fields[i]) + ")",
                        groupPlace(places, fields[i])};
        missing.reason = Reason::missing;
        addProblem(&checked.errors, std::move(missing));
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
  if (!parsed.errors.told.empty() || !checked.errors.told.empty()) {
    // Checked with wrong values left out, the combat may ask other
    // questions than it will: only its errors count then, and not those
    // inside a group or a list already found wrong.  A preset that could
    // not be put in leaves its unit unknown, and every answer it would have
    // given missing: nothing missing counts then.
    const std::vector<Problem> wrongs = parsed.errors.told;
    for (Problem& error : checked.errors.told) {
      const bool inWrong = std::any_of(
          wrongs.begin(), wrongs.end(),
          [&error](const Problem& wrong) {
            return wrong.field == "scenario" ||
                   wrong.field.ends_with(".preset") ||
                   error.field.starts_with(wrong.field + ".");
          });
      if (!inWrong) addProblem(&parsed.errors, std::move(error));
    }
    parsed.errors.untold += checked.errors.untold;
    checked.errors = std::move(parsed.errors);
    checked.notes.clear();
  }
  return checked;
}
