#include "files/roster_reader.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "files/json_reader.h"

namespace {

const JsonDocument kRosterDocument{"roster", false, "a roster of at most 16 MiB"};
constexpr std::size_t kNone = ~std::size_t{0};

std::string allowedNames() { return "name, sides, " + presetFieldList(true, true); }

// A name or a text of the file as a message shows it; a colon, which
// stands between the parts of a message, quotes it too.
std::string shown(std::string_view text) { return shownText(text, ":"); }

struct RosterRead {
  const JsonText& json;
  LinePlacer placer;
  std::vector<Problem> problems;       // all of them, put in the order of lines
  std::vector<std::size_t> nameLines;  // of each preset kept
};

// The sides of a preset, from the list at token `at`: each entry a side,
// named at its own line when it is not; returns the entries' problems.
std::vector<Problem> readSides(RosterRead* read, std::size_t at, Preset* preset) {
  const JsonText& json = read->json;
  std::vector<Problem> problems;
  const auto end = static_cast<std::size_t>(json.tokens[at].value);
  for (std::size_t i = at + 1, n = 0; i < end; i = afterValue(json, i), ++n) {
    const JsonToken& token = json.tokens[i];
    const std::string_view side = token.kind == JsonKind::text ? wordOf(json, token) : "";
    bool* served = side == "attacker"   ? &preset->attacker
                   : side == "defender" ? &preset->defender : nullptr;
    const Place place = placeAt(&read->placer, token.offset);
    const std::string entry = "sides." + std::to_string(n);
    if (token.kind != JsonKind::text) {
      addProblemAt(&problems, place, entry, "must be a text (allowed: attacker, defender)",
          wrongKindReason(token));
    } else if (served == nullptr) {
      addProblemAt(&problems, place, entry,
                   shown(side) + " is not a side (allowed: attacker, defender)",
          Reason::unknownWord);
    } else if (*served) {
      addProblemAt(&problems, place, entry,
                   std::string(side) + " given twice (allowed: each side once)",
          Reason::givenTwice);
    }
    if (served != nullptr) *served = true;
  }
  return problems;
}

// The preset whose object begins at token `at`, the `item`th of the list:
// its names first, then its answers checked against its sides (which may
// come last).  Its problems name it.
void readPreset(RosterRead* read, std::size_t at, std::size_t item, Roster* roster) {
  const JsonText& json = read->json;
  Preset preset;
  preset.line = placeAt(&read->placer, json.tokens[at].offset).line;
  std::vector<Problem> problems;
  std::array<std::size_t, kPresetFieldCount + 2> value;  // the fields, name, sides
  value.fill(kNone);
  std::array<Place, kPresetFieldCount + 2> places{};
  const std::size_t kName = kPresetFieldCount, kSides = kPresetFieldCount + 1;
  bool refused = false;  // a side refused: the sides are not empty
  const auto fields = presetFields();
  const auto end = static_cast<std::size_t>(json.tokens[at].value);
  for (std::size_t i = at + 1; i + 1 < end; i = afterValue(json, i + 1)) {
    const std::string_view name = wordOf(json, json.tokens[i]);
    const Place place = placeAt(&read->placer, json.tokens[i].offset);
    const JsonToken& token = json.tokens[i + 1];
    const auto field = std::find_if(fields.begin(), fields.end(),
                                    [&](const PresetField& f) { return f.name == name; });
    const std::size_t f = field != fields.end() ? static_cast<std::size_t>(field - fields.begin())
                          : name == "name"      ? kName
                          : name == "sides"     ? kSides : kNone;
    if (f == kNone) {
      addProblemAt(&problems, place, shown(name),
          notAUnitField(name) + " (allowed: " + allowedNames() + ")", Reason::unknownName);
      continue;
    }
    if (value[f] != kNone) {
      addProblemAt(&problems, place, std::string(name), "given twice (allowed: once)",
                   Reason::givenTwice);
      continue;
    }
    value[f] = i + 1;
    places[f] = place;
    const ScenarioField* info = f < kName ? &fieldInfo(field->attacker ? *field->attacker
                                                                       : *field->defender)
                                          : nullptr;
    if (f == kName ? token.kind != JsonKind::text
        : f == kSides ? token.kind != JsonKind::list
                      : !takesKind(token, info->kind, !info->options.empty())) {
      addProblemAt(&problems, place, std::string(name),
          f == kName    ? "must be a text (allowed: a name)"
          : f == kSides ? "must be a list of \"attacker\" and \"defender\" (allowed: "
                          "attacker, defender)"
                        : wrongKindText(info->kind, info->minimum, info->maximum),
          wrongKindReason(token));
      refused = refused || f == kSides;
      if (f < kName) value[f] = kNone - 1;
    } else if (f == kName) {
      preset.name = std::string(wordOf(json, token));
    } else if (f == kSides) {
      std::vector<Problem> sides = readSides(read, i + 1, &preset);
      const auto notASide = [](const Problem& p) { return p.reason != Reason::givenTwice; };
      refused = refused || std::any_of(sides.begin(), sides.end(), notASide);
      std::move(sides.begin(), sides.end(), std::back_inserter(problems));
      if (!preset.attacker && !preset.defender && !refused) {
        addProblemAt(&problems, placeAt(&read->placer, token.offset), "sides",
            "empty (allowed: attacker, defender)", Reason::missing);
      }
    } else if (info->kind == FieldKind::bars) {
      BarsRead bars = readBars(json, i + 1, name, &read->placer);
      preset.combatSupport = std::move(bars.bars);
      std::move(bars.problems.begin(), bars.problems.end(), std::back_inserter(problems));
    }
  }
  const bool named = value[kName] != kNone && json.tokens[value[kName]].kind == JsonKind::text;
  for (const std::size_t f : {kName, kSides}) {
    if (value[f] != kNone) continue;
    addProblemAt(&problems, {preset.line, 0}, f == kName ? "name" : "sides",
        f == kName ? "missing (allowed: a text)" : "missing (allowed: attacker, defender)",
        Reason::missing);
  }
  const auto control = [](unsigned char c) { return c < ' ' || c == 0x7f; };
  if (named && (preset.name.empty() || preset.name.size() > kLongestPresetName ||
                std::any_of(preset.name.begin(), preset.name.end(), control))) {
    addProblemAt(&problems, places[kName], "name",
        "must be 1 to " + std::to_string(kLongestPresetName) +
            " characters, none of them a control character (allowed: a short text)",
        Reason::outOfRange);
  }
  for (std::size_t i = 0; i < kPresetFieldCount; ++i) {
    if (value[i] >= kNone - 1 || (!preset.attacker && !preset.defender)) continue;
    preset.given.set(i);
    std::vector<Problem> wrong =
        settlePresetAnswer(json, json.tokens[value[i]], i, places[i], &preset);
    std::move(wrong.begin(), wrong.end(), std::back_inserter(problems));
  }
  // A preset without a name is known by its place in the list.
  for (Problem& problem : problems) {
    problem.preset = named ? shown(preset.name) : "#" + std::to_string(item + 1);
    read->problems.push_back(std::move(problem));
  }
  // Kept even when wrong, for its name to count: a wrong roster is refused whole.
  if (named) {
    roster->presets.push_back(std::move(preset));
    read->nameLines.push_back(places[kName].line);
  }
}

// The list of presets that begins at token `at`.
void readPresets(RosterRead* read, std::size_t at, Roster* roster) {
  const JsonText& json = read->json;
  const auto end = static_cast<std::size_t>(json.tokens[at].value);
  // Room for every preset at once: a roster may be large.
  std::size_t count = 0;
  for (std::size_t i = at + 1; i < end && count <= kMostPresets; i = afterValue(json, i)) ++count;
  roster->presets.reserve(count);
  read->nameLines.reserve(count);
  std::size_t item = 0;
  for (std::size_t i = at + 1; i < end; i = afterValue(json, i), ++item) {
    const JsonToken& token = json.tokens[i];
    const Place place = placeAt(&read->placer, token.offset);
    if (token.kind != JsonKind::object) {
      addProblemAt(&read->problems, place, "presets." + std::to_string(item),
          "must be an object (allowed: " + allowedNames() + ")", wrongKindReason(token));
    } else if (item >= kMostPresets) {
      const std::string most = std::to_string(kMostPresets);
      addProblemAt(&read->problems, place, "presets", "more than " + most +
                   " presets (allowed: at most " + most + ")", Reason::outOfRange);
      return;
    } else if (static_cast<std::size_t>(token.value) < json.tokens.size()) {
      readPreset(read, i, item, roster);
    }
  }
}

// Names given to more than one preset: each after the first is a problem,
// at its name.
void checkUniqueNames(RosterRead* read, Roster* roster) {
  const auto& presets = roster->presets;
  indexByName(roster);
  for (std::size_t i = 1; i < roster->byName.size(); ++i) {
    const std::uint32_t earlier = roster->byName[i - 1];
    const std::uint32_t later = roster->byName[i];
    if (presets[earlier].name != presets[later].name) continue;
    addProblemAt(&read->problems, {read->nameLines[later], 0}, "name",
        "given to another preset too, on line " + std::to_string(read->nameLines[earlier]) +
            " (allowed: a name of its own)",
        Reason::givenTwice);
    read->problems.back().preset = shown(presets[later].name);
  }
}

}  // namespace

RosterReading parseRoster(std::string_view text) {
  const JsonText json = readJson(text, kRosterDocument);
  RosterReading reading;
  RosterRead read{json, LinePlacer{text}, {}, {}};
  const std::vector<JsonToken>& tokens = json.tokens;
  bool listed = !tokens.empty() && tokens[0].kind != JsonKind::object;
  if (listed) {
    addProblemAt(&read.problems, placeAt(&read.placer, tokens[0].offset), "roster",
        "must be a JSON object (allowed: presets)", wrongKindReason(tokens[0]));
  }
  const std::size_t end = tokens.empty() || listed ? 0 : static_cast<std::size_t>(tokens[0].value);
  for (std::size_t i = 1; i + 1 < end; i = afterValue(json, i + 1)) {
    const std::string_view name = wordOf(json, tokens[i]);
    const Place place = placeAt(&read.placer, tokens[i].offset);
    if (name != "presets") {
      addProblemAt(&read.problems, place, shown(name), "unknown name (allowed: presets)",
          Reason::unknownName);
      continue;
    }
    const bool twice = listed;
    listed = true;
    if (twice || tokens[i + 1].kind != JsonKind::list) {
      addProblemAt(&read.problems, place, "presets",
          twice ? "given twice (allowed: once)" : "must be a list of presets (allowed: a JSON array)",
          twice ? Reason::givenTwice : wrongKindReason(tokens[i + 1]));
      break;
    }
    readPresets(&read, i + 1, &reading.roster);
  }
  if (json.complete && !listed) {
    addProblemAt(&read.problems, {1, 0}, "presets", "missing (allowed: a list of presets)",
        Reason::missing);
  }
  if (!json.complete) read.problems.push_back(json.notJson);
  checkUniqueNames(&read, &reading.roster);
  std::stable_sort(read.problems.begin(), read.problems.end(),
                   [](const Problem& a, const Problem& b) { return a.place.line < b.place.line; });
  for (Problem& problem : read.problems) addProblem(&reading.problems, std::move(problem));
  if (!reading.problems.told.empty()) reading.roster = Roster{};
  return reading;
}

RosterReading readRosterFile(const std::string& path) {
  OrProblems<std::string> text = readJsonFile(path, kRosterDocument);
  if (Problems* problems = std::get_if<Problems>(&text)) return {{}, std::move(*problems)};
  return parseRoster(std::get<std::string>(text));
}
