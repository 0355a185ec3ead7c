#include "scenario/field_path.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kScopes = static_cast<std::size_t>(Scope::airDefenseUnit) + 1;

// The groups of a scenario, in the order of Scope.
constexpr std::array<std::pair<std::string_view, Scope>, 4> kGroups = {{
    {"general", Scope::general},
    {"attacker", Scope::attacker},
    {"defender", Scope::defender},
    {"terrain", Scope::terrain},
}};

template <typename Record>
ScopedName scopedName(const FieldInfo<Record>& info, NameKind nameKind,
                      std::size_t field) {
  ScopedName name;
  name.name = info.name;
  name.nameKind = nameKind;
  name.field = field;
  name.kind = info.kind;
  name.minimum = info.minimum;
  name.maximum = info.maximum;
  name.required = isRequired(info);
  return name;
}

template <typename Record>
void addUnitNames(std::span<const FieldInfo<Record>> fields,
                  std::vector<ScopedName>* names) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    names->push_back(scopedName(fields[i], NameKind::unitField, i));
  }
}

using NameTables = std::array<std::vector<ScopedName>, kScopes>;

NameTables makeNameTables() {
  NameTables tables;
  std::vector<ScopedName>& top = tables[static_cast<std::size_t>(Scope::scenario)];
  for (const auto& [group, scope] : kGroups) {
    ScopedName name;
    name.name = group;
    name.nameKind = NameKind::group;
    name.inner = scope;
    top.push_back(name);
  }
  const auto fields = scenarioFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    ScopedName name = scopedName(fields[i], NameKind::field, i);
    if (static_cast<Field>(i) == Field::artillery) name.inner = Scope::artilleryUnit;
    if (static_cast<Field>(i) == Field::airDefense) name.inner = Scope::airDefenseUnit;
    Scope scope = Scope::scenario;
    for (const auto& [group, groupScope] : kGroups) {
      if (group == fields[i].group) scope = groupScope;
    }
    tables[static_cast<std::size_t>(scope)].push_back(name);
  }
  addUnitNames(artilleryFields(),
               &tables[static_cast<std::size_t>(Scope::artilleryUnit)]);
  addUnitNames(airDefenseFields(),
               &tables[static_cast<std::size_t>(Scope::airDefenseUnit)]);
  return tables;
}

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

// A place in a list, written in plain decimal digits.
std::optional<std::size_t> indexOf(std::string_view text) {
  std::size_t value = 0;
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() ||
      result.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

template <typename Record>
void describe(const FieldInfo<Record>& info, FieldPath* path) {
  path->kind = info.kind;
  path->minimum = info.minimum;
  path->maximum = info.maximum;
  path->errorText = info.errorText;
}

// The rest of a path after a field that holds bars: nothing, or one entry.
template <typename Record>
bool resolveBars(const FieldInfo<Record>& info,
                 std::span<const std::string_view> rest, FieldPath* path) {
  describe(info, path);
  if (rest.empty()) return true;
  if (info.kind != FieldKind::bars || rest.size() != 1) return false;
  path->bar = indexOf(rest[0]);
  path->kind = FieldKind::whole;
  path->minimum = 0;
  return path->bar.has_value();
}

template <typename Record>
std::int64_t* valueIn(Record* record, const FieldInfo<Record>& info,
                      const FieldPath& path) {
  if (path.bar) {
    if (info.kind != FieldKind::bars) return nullptr;
    std::vector<std::int64_t>& bars = record->*info.bars;
    return *path.bar < bars.size() ? &bars[*path.bar] : nullptr;
  }
  return info.kind == FieldKind::whole ? &(record->*info.whole) : nullptr;
}

template <typename Record>
std::int64_t* unitValueIn(std::vector<Record>* units,
                          std::span<const FieldInfo<Record>> fields,
                          const FieldPath& path) {
  if (*path.unit >= units->size()) return nullptr;
  return valueIn(&(*units)[*path.unit], fields[path.unitField], path);
}

// The candidate closest in spelling to `word` (its spelling given by
// `spelling`), or nullptr when none is within the edits of a slip; of
// candidates equally close, the first.
template <typename Candidate, typename Spelling>
const Candidate* nearest(std::string_view word,
                         std::span<const Candidate> candidates,
                         Spelling spelling) {
  constexpr std::size_t kFarthest = 3;  // edits still taken for a slip
  const Candidate* best = nullptr;
  std::size_t bestDistance = kFarthest + 1;
  for (const Candidate& candidate : candidates) {
    const std::size_t distance = spellingDistance(word, spelling(candidate));
    if (distance < bestDistance) {
      best = &candidate;
      bestDistance = distance;
    }
  }
  return best;
}

// The names of every whole-number field, with '#' for each place in a list
// (a unit's fields are grouped under its list).
template <typename Record>
void addNames(std::span<const FieldInfo<Record>> fields, bool ofUnits,
              std::vector<std::string>* names) {
  for (const auto& info : fields) {
    std::string name = info.group;
    if (ofUnits) name += ".#";
    if (!name.empty()) name += '.';
    name += info.name;
    if (info.kind == FieldKind::whole) names->push_back(name);
    if (info.kind == FieldKind::bars) names->push_back(name + ".#");
  }
}

const std::vector<std::string>& wholeFieldPatterns() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    addNames(scenarioFields(), false, &all);
    addNames(artilleryFields(), true, &all);
    addNames(airDefenseFields(), true, &all);
    return all;
  }();
  return names;
}

}  // namespace

std::span<const ScopedName> namesIn(Scope scope) {
  static const NameTables tables = makeNameTables();
  return tables[static_cast<std::size_t>(scope)];
}

const ScopedName* findName(Scope scope, std::string_view name) {
  return findName(namesIn(scope), name);
}

namespace {

// A field of a supporting unit: N.name, or N.combatSupport.M.
template <typename Record>
bool resolveUnit(std::span<const FieldInfo<Record>> fields, Scope unit,
                 std::span<const std::string_view> rest, FieldPath* path) {
  if (rest.size() < 2) return false;
  path->unit = indexOf(rest[0]);
  const ScopedName* name = findName(unit, rest[1]);
  if (!path->unit || name == nullptr) return false;
  path->unitField = name->field;
  return resolveBars(fields[name->field], rest.subspan(2), path);
}

}  // namespace

std::optional<FieldPath> resolveFieldPath(std::string_view name) {
  const std::vector<std::string_view> parts = splitDots(name);
  std::span<const std::string_view> rest(parts);
  const ScopedName* found = findName(Scope::scenario, rest[0]);
  rest = rest.subspan(1);
  if (found != nullptr && found->nameKind == NameKind::group) {
    if (rest.empty()) return std::nullopt;
    found = findName(found->inner, rest[0]);
    rest = rest.subspan(1);
  }
  if (found == nullptr) return std::nullopt;
  FieldPath path;
  path.field = static_cast<Field>(found->field);
  const ScenarioField& info = scenarioFields()[found->field];
  bool resolved = false;
  if (info.kind != FieldKind::units || rest.empty()) {
    resolved = resolveBars(info, rest, &path);
  } else if (path.field == Field::artillery) {
    resolved = resolveUnit(artilleryFields(), found->inner, rest, &path);
  } else {
    resolved = resolveUnit(airDefenseFields(), found->inner, rest, &path);
  }
  return resolved ? std::optional<FieldPath>(path) : std::nullopt;
}

std::int64_t* wholeValueAt(CombatScenario* s, const FieldPath& path) {
  if (path.kind != FieldKind::whole) return nullptr;
  if (!path.unit) return valueIn(s, fieldInfo(path.field), path);
  if (path.field == Field::artillery) {
    return unitValueIn(&s->artillery, artilleryFields(), path);
  }
  return unitValueIn(&s->airDefense, airDefenseFields(), path);
}

std::size_t spellingDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                         diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::vector<std::string> wholeFieldNames() {
  std::vector<std::string> names;
  for (std::string name : wholeFieldPatterns()) {
    for (char& c : name) {
      if (c == '#') c = '0';
    }
    names.push_back(std::move(name));
  }
  return names;
}

std::string closestWholeField(std::string_view name) {
  // The numbers of the name stand aside; the words are compared.
  std::vector<std::string_view> numbers;
  std::string pattern;
  for (const std::string_view part : splitDots(name)) {
    if (!pattern.empty()) pattern += '.';
    if (indexOf(part)) {
      numbers.push_back(part);
      pattern += '#';
    } else {
      pattern += part;
    }
  }
  const std::string* best =
      nearest(pattern, std::span<const std::string>(wholeFieldPatterns()),
              [](const std::string& candidate) -> std::string_view {
                return candidate;
              });
  if (best == nullptr) return "";
  std::string closest;
  std::size_t number = 0;
  for (const char c : *best) {
    if (c != '#') {
      closest += c;
    } else {
      closest += number < numbers.size() ? std::string(numbers[number++]) : "0";
    }
  }
  return closest;
}

const ScopedName* closestName(std::span<const ScopedName> names,
                              std::string_view name) {
  return nearest(name, names,
                 [](const ScopedName& candidate) { return candidate.name; });
}
