#include "scenario/field_path.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace {

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

// A field of a supporting unit: N.name, or N.combatSupport.M.
template <typename Record>
bool resolveUnit(std::span<const FieldInfo<Record>> fields,
                 std::span<const std::string_view> rest, FieldPath* path) {
  if (rest.size() < 2) return false;
  path->unit = indexOf(rest[0]);
  if (!path->unit) return false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (rest[1] != fields[i].name) continue;
    path->unitField = i;
    return resolveBars(fields[i], rest.subspan(2), path);
  }
  return false;
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

std::size_t editDistance(std::string_view a, std::string_view b) {
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

std::optional<FieldPath> resolveFieldPath(std::string_view name) {
  const std::vector<std::string_view> parts = splitDots(name);
  const std::span<const std::string_view> all(parts);
  FieldPath path;
  const auto fields = scenarioFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const ScenarioField& info = fields[i];
    const bool grouped = info.group[0] != '\0';
    const std::size_t length = grouped ? 2 : 1;
    if (parts.size() < length || parts[length - 1] != info.name ||
        (grouped && parts[0] != info.group)) {
      continue;
    }
    path.field = static_cast<Field>(i);
    const auto rest = all.subspan(length);
    bool found = false;
    if (path.field == Field::artillery) {
      found = rest.empty() ? (describe(info, &path), true)
                           : resolveUnit(artilleryFields(), rest, &path);
    } else if (path.field == Field::airDefense) {
      found = rest.empty() ? (describe(info, &path), true)
                           : resolveUnit(airDefenseFields(), rest, &path);
    } else {
      found = resolveBars(info, rest, &path);
    }
    return found ? std::optional<FieldPath>(path) : std::nullopt;
  }
  return std::nullopt;
}

std::int64_t* wholeValueAt(CombatScenario* s, const FieldPath& path) {
  if (path.kind != FieldKind::whole) return nullptr;
  if (!path.unit) return valueIn(s, fieldInfo(path.field), path);
  if (path.field == Field::artillery) {
    return unitValueIn(&s->artillery, artilleryFields(), path);
  }
  return unitValueIn(&s->airDefense, airDefenseFields(), path);
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
  constexpr std::size_t kFarthest = 3;  // edits still taken for a slip
  const std::string* best = nullptr;
  std::size_t bestDistance = kFarthest + 1;
  for (const std::string& candidate : wholeFieldPatterns()) {
    const std::size_t distance = editDistance(pattern, candidate);
    if (distance < bestDistance) {
      best = &candidate;
      bestDistance = distance;
    }
  }
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
