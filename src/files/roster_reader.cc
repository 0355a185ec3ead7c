#include "files/roster_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <limits>

#include "files/json_answer.h"
#include "io/input.h"

namespace {

using Json = nlohmann::json;

// The text of the file, read character by character by the JSON library,
// counting the lines it passes, so that each name of the file is placed on
// its line.
struct LineCountingIterator {
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  const char* at = nullptr;
  std::size_t* lineFeeds = nullptr;

  reference operator*() const { return *at; }
  LineCountingIterator& operator++() {
    if (*at == '\n') ++*lineFeeds;
    ++at;
    return *this;
  }
  LineCountingIterator operator++(int) {
    LineCountingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const LineCountingIterator& other) const {
    return at == other.at;
  }
};

std::string listOfFields(bool attacker, bool defender) {
  std::string list;
  for (const PresetField& field : presetFields()) {
    if (!(attacker && field.attacker) && !(defender && field.defender)) continue;
    if (!list.empty()) list += ", ";
    list += field.name;
  }
  return list;
}

constexpr std::string_view kPresetNames = "name, sides, ";

std::string allowedPresetNames() {
  return std::string(kPresetNames) + listOfFields(true, true);
}

// A name or a text of the file as a message shows it; a colon, which
// stands between the parts of a message, quotes it too.
std::string shown(std::string_view text) { return shownText(text, ":"); }

// Which sides a preset serves, in words.
std::string sidesText(bool attacker, bool defender) {
  if (attacker && defender) return "the attacker and the defender";
  return attacker ? "the attacker only" : "the defender only";
}

// What a name of the scenario that is not a unit's own stands for, for the
// message that refuses it in a preset.
std::optional<std::string> situationNote(std::string_view name) {
  for (const std::string_view group : {"general", "attacker", "defender", "terrain"}) {
    if (name == group) return "a group of the scenario, not an answer of a unit";
  }
  for (const ScenarioField& info : scenarioFields()) {
    if (name != info.name) continue;
    if (const auto own = presetFieldOf(
            static_cast<Field>(&info - scenarioFields().data()))) {
      return "a preset writes it as " + std::string(presetFields()[*own].name);
    }
    return "part of the combat's situation, not of a unit";
  }
  for (const std::string_view unit : {"closeDefense", "groundDefense", "airDefense"}) {
    if (name == unit) return "part of the combat's situation, not of a unit";
  }
  return std::nullopt;
}

// One preset as it is read: its answers and where each stands, checked
// against its sides once the object ends (the sides may come last).
struct PresetDraft {
  Preset preset;
  bool named = false;
  bool sided = false;
  std::size_t nameLine = 0;
  std::array<std::size_t, kPresetFieldCount> lines{};
  std::bitset<kPresetFieldCount> tooLarge;  // a whole number beyond 64 bits
  // A menu's entry given by its words, read once the sides are known (the
  // attacker's and the defender's menus differ).
  std::array<std::string, kPresetFieldCount> words;
  std::vector<RosterProblem> problems;      // named once the name is known
};

// Where the parser stands.
enum class Frame { top, presets, preset, sides, bars, skipped };

struct RosterBuilder {
  RosterReading* result = nullptr;
  std::size_t lineFeeds = 0;
  std::vector<Frame> frames;
  PresetDraft draft;
  // The name whose value comes next in the top object or a preset: "" for
  // one that was refused (its value is skipped).
  std::string pending;
  std::optional<std::size_t> pendingField;
  std::size_t pendingLine = 0;
  bool sawPresets = false;
  std::size_t presetsSeen = 0;
  // The library refused a number too large for a double: the text is
  // valid JSON, and is read again with that number out of range.
  bool numberOverflow = false;

  std::size_t line() const { return lineFeeds + 1; }

  void fileProblem(std::size_t at, std::string field, std::string message) {
    result->problems.push_back({at, "", {std::move(field), std::move(message), {}}});
  }

  void presetProblem(std::size_t at, std::string field, std::string message) {
    draft.problems.push_back({at, "", {std::move(field), std::move(message), {}}});
  }

  // What the value of the pending name must be.
  std::string expected() const {
    if (pendingField) return kindText();
    if (pending == "name") return "must be a text (allowed: a name)";
    return "must be a list of \"attacker\" and \"defender\" (allowed: "
           "attacker, defender)";
  }

  // A value of the wrong kind where it stands.
  bool wrongValue() {
    const Frame frame = frames.empty() ? Frame::top : frames.back();
    switch (frame) {
      case Frame::top:
        if (frames.empty()) {
          fileProblem(line(), "roster",
                      "must be a JSON object (allowed: presets)");
          return false;
        }
        if (pending == "presets") {
          fileProblem(pendingLine, "presets",
                      "must be a list of presets (allowed: a JSON array)");
          return false;
        }
        return true;
      case Frame::presets:
        fileProblem(line(), "presets",
                    "each preset must be an object (allowed: " +
                        allowedPresetNames() + ")");
        return true;
      case Frame::preset:
        if (!pending.empty()) presetProblem(pendingLine, pending, expected());
        return true;
      case Frame::sides:
        presetProblem(pendingLine, "sides", expected());
        return true;
      case Frame::bars:
        presetProblem(pendingLine, "combatSupport",
                      wrongKindText(FieldKind::bars, 0, kLargestAnswer));
        return true;
      case Frame::skipped:
        return true;
    }
    return true;
  }

  std::string kindText() const {
    const PresetField& field = presetFields()[*pendingField];
    const ScenarioField& info = fieldInfo(field.attacker ? *field.attacker : *field.defender);
    return wrongKindText(info.kind, info.minimum, info.maximum);
  }

  FieldKind pendingKind() const {
    const PresetField& field = presetFields()[*pendingField];
    return fieldInfo(field.attacker ? *field.attacker : *field.defender).kind;
  }

  bool whole(WholeNumber number) {
    if (frames.empty() || frames.back() == Frame::skipped) return wrongValue();
    if (frames.back() == Frame::bars) {
      if (!number.fits || number.value < 0 || number.value > kLargestAnswer) {
        presetProblem(pendingLine, "combatSupport",
                      outOfRangeText(number) + " (allowed: " +
                          rangeText(0, kLargestAnswer) + ")");
      } else {
        draft.preset.combatSupport.push_back(number.value);
      }
      return true;
    }
    if (frames.back() != Frame::preset || !pendingField) {
      return wrongValue();
    }
    if (pendingKind() != FieldKind::whole) return wrongValue();
    draft.preset.given.set(*pendingField);
    draft.preset.values[*pendingField] = number.value;
    draft.tooLarge.set(*pendingField, !number.fits);
    return true;
  }

  bool yesNo(char answer) {
    if (!frames.empty() && frames.back() == Frame::preset && pendingField &&
        pendingKind() == FieldKind::yesNo) {
      draft.preset.given.set(*pendingField);
      draft.preset.values[*pendingField] = answer;
      return true;
    }
    return wrongValue();
  }

  bool null() { return yesNo(answer::kNeither); }
  bool boolean(bool value) { return yesNo(value ? answer::kYes : answer::kNo); }
  bool number_integer(std::int64_t value) { return whole({value, true}); }
  bool number_unsigned(std::uint64_t value) {
    return whole(wholeFromUnsigned(value));
  }
  bool number_float(double value, const std::string&) {
    const std::optional<WholeNumber> number = wholeFromFloat(value);
    return number ? whole(*number) : wrongValue();
  }
  bool binary(Json::binary_t&) { return wrongValue(); }

  bool string(std::string& text) {
    if (frames.empty()) return wrongValue();
    if (frames.back() == Frame::sides) {
      bool* side = text == "attacker"   ? &draft.preset.attacker
                   : text == "defender" ? &draft.preset.defender
                                        : nullptr;
      if (side == nullptr) {
        presetProblem(pendingLine, "sides",
                      shown(text) + " is not a side (allowed: attacker, defender)");
      } else if (*side) {
        presetProblem(pendingLine, "sides",
                      text + " given twice (allowed: each side once)");
      }
      if (side != nullptr) *side = true;
      return true;
    }
    if (frames.back() == Frame::preset && pending == "name") {
      draft.named = true;
      draft.nameLine = pendingLine;
      draft.preset.name = text;
      return true;
    }
    if (frames.back() == Frame::preset && pendingField &&
        pendingKind() == FieldKind::whole && hasMenu(*pendingField)) {
      draft.preset.given.set(*pendingField);
      draft.words[*pendingField] = std::move(text);
      return true;
    }
    return wrongValue();
  }

  static bool hasMenu(std::size_t field) {
    const PresetField& own = presetFields()[field];
    for (const std::optional<Field> f : {own.attacker, own.defender}) {
      if (f && !fieldInfo(*f).options.empty()) return true;
    }
    return false;
  }

  // The entry that a menu word names for the sides the preset serves, or a
  // problem: a word that a side's menu lacks, or one that means different
  // entries for the two sides.
  void settleWord(std::size_t i, bool forAttacker, bool forDefender) {
    const PresetField& field = presetFields()[i];
    const std::string& word = draft.words[i];
    std::int64_t entry = 0;
    for (const bool attacker : {true, false}) {
      if (!(attacker ? forAttacker : forDefender)) continue;
      const auto options = fieldInfo(attacker ? *field.attacker : *field.defender).options;
      const std::int64_t number = menuEntry(options, word);
      if (number == 0) {
        presetProblem(draft.lines[i], std::string(field.name),
                      "unknown word " + quotedWord(word) + " for the " +
                          (attacker ? "attacker" : "defender") + " (allowed: " +
                          menuWordList(options) + ")");
        draft.words[i].clear();
        return;
      }
      if (entry != 0 && number != entry) {
        presetProblem(draft.lines[i], std::string(field.name),
                      quotedWord(word) + " is entry " + std::to_string(entry) +
                          " for the attacker but " + std::to_string(number) +
                          " for the defender (allowed: a preset for one side)");
        draft.words[i].clear();
        return;
      }
      entry = number;
    }
    draft.preset.values[i] = entry;
    draft.words[i].clear();
  }

  bool start_object(std::size_t) {
    if (frames.empty()) {
      frames.push_back(Frame::top);
      return true;
    }
    if (frames.back() == Frame::presets) {
      if (presetsSeen >= kMostPresets) {
        fileProblem(line(), "presets",
                    "more than " + std::to_string(kMostPresets) +
                        " presets (allowed: at most " +
                        std::to_string(kMostPresets) + ")");
        return false;
      }
      draft = PresetDraft{};
      draft.preset.line = line();
      frames.push_back(Frame::preset);
      pending.clear();
      pendingField.reset();
      return true;
    }
    if (!wrongValue()) {
      return false;
    }
    frames.push_back(Frame::skipped);
    return true;
  }

  bool start_array(std::size_t) {
    if (frames.empty()) return wrongValue();
    const Frame frame = frames.back();
    if (frame == Frame::top && pending == "presets") {
      frames.push_back(Frame::presets);
      return true;
    }
    if (frame == Frame::preset && pending == "sides") {
      frames.push_back(Frame::sides);
      return true;
    }
    if (frame == Frame::preset && pendingField &&
        pendingKind() == FieldKind::bars) {
      draft.preset.given.set(*pendingField);
      frames.push_back(Frame::bars);
      return true;
    }
    if (!wrongValue()) {
      return false;
    }
    frames.push_back(Frame::skipped);
    return true;
  }

  bool end_array() {
    frames.pop_back();
    return true;
  }

  bool end_object() {
    const Frame frame = frames.back();
    frames.pop_back();
    if (frame == Frame::preset) finishPreset();
    return true;
  }

  bool key(std::string& text) {
    pending = text;
    pendingField.reset();
    pendingLine = line();
    const Frame frame = frames.back();
    if (frame == Frame::skipped) return true;
    if (frame == Frame::top) {
      if (text == "presets") {
        if (sawPresets) {
          fileProblem(pendingLine, "presets", "given twice (allowed: once)");
          return false;
        }
        sawPresets = true;
        return true;
      }
      fileProblem(pendingLine, shown(text), "unknown name (allowed: presets)");
      pending.clear();
      return true;
    }
    // A name of a preset.
    const auto fields = presetFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (fields[i].name != text) continue;
      if (draft.lines[i] != 0) {
        presetProblem(pendingLine, text, "given twice (allowed: once)");
        pending.clear();
        return true;
      }
      pendingField = i;
      draft.lines[i] = pendingLine;
      return true;
    }
    if ((text == "name" && draft.named) || (text == "sides" && draft.sided)) {
      presetProblem(pendingLine, text, "given twice (allowed: once)");
      pending.clear();
      return true;
    }
    if (text == "sides") draft.sided = true;
    if (text == "name" || text == "sides") return true;
    const std::optional<std::string> note = situationNote(text);
    presetProblem(pendingLine, shown(text),
                  (note ? *note : std::string("unknown name")) +
                      " (allowed: " + allowedPresetNames() + ")");
    pending.clear();
    return true;
  }

  // Checks the answers against the sides, now that both are known, and
  // keeps the preset when all is well.
  void finishPreset() {
    Preset& preset = draft.preset;
    const std::size_t at = preset.line;
    const bool nameRefused = std::any_of(
        draft.problems.begin(), draft.problems.end(),
        [](const RosterProblem& p) { return p.problem.field == "name"; });
    if (!draft.named && !nameRefused) {
      presetProblem(at, "name", "missing (allowed: a text)");
    } else if (draft.named &&
               (preset.name.empty() || preset.name.size() > kLongestPresetName ||
               std::any_of(preset.name.begin(), preset.name.end(),
                           [](char c) {
                             return static_cast<unsigned char>(c) < ' ' ||
                                    c == '\x7f';
                           }))) {
      presetProblem(draft.nameLine, "name",
                    "must be 1 to " + std::to_string(kLongestPresetName) +
                        " characters, none of them a control character "
                        "(allowed: a short text)");
    }
    const bool sidesRefused = std::any_of(
        draft.problems.begin(), draft.problems.end(),
        [](const RosterProblem& p) { return p.problem.field == "sides"; });
    if (!draft.sided) {
      presetProblem(at, "sides", "missing (allowed: attacker, defender)");
    } else if (!preset.attacker && !preset.defender && !sidesRefused) {
      presetProblem(at, "sides", "empty (allowed: attacker, defender)");
    }
    const auto fields = presetFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (!preset.given.test(i) || (!preset.attacker && !preset.defender)) continue;
      const PresetField& field = fields[i];
      const bool forAttacker = preset.attacker && field.attacker;
      const bool forDefender = preset.defender && field.defender;
      if (!forAttacker && !forDefender) {
        presetProblem(draft.lines[i], std::string(field.name),
                      "not asked of " +
                          std::string(field.attacker ? "a defender" : "an attacker") +
                          ", and this preset is for " +
                          sidesText(preset.attacker, preset.defender) +
                          " (allowed: " +
                          listOfFields(preset.attacker, preset.defender) + ")");
        continue;
      }
      const ScenarioField& info =
          fieldInfo(field.attacker ? *field.attacker : *field.defender);
      if (info.kind != FieldKind::whole) continue;
      if (!draft.words[i].empty()) {
        // A word that names an entry is in range by itself.
        settleWord(i, forAttacker, forDefender);
        continue;
      }
      const WholeRange range = presetRange(field, forAttacker, forDefender);
      const std::int64_t value = preset.values[i];
      if (draft.tooLarge.test(i) || value < range.minimum || value > range.maximum) {
        std::string message = outOfRangeText({value, !draft.tooLarge.test(i)});
        if (forAttacker && forDefender) message += " for both sides";
        presetProblem(draft.lines[i], std::string(field.name),
                      message + " (allowed: " + rangeText(range.minimum, range.maximum) + ")");
      }
    }
    // A preset without a name is known by its place in the list.
    const std::string name =
        draft.named ? shown(preset.name) : "#" + std::to_string(presetsSeen + 1);
    ++presetsSeen;
    for (RosterProblem& problem : draft.problems) {
      problem.preset = name;
      result->problems.push_back(std::move(problem));
    }
    // Kept even when it is wrong, so that its name counts among those
    // given; a roster with any problem is refused as a whole.
    if (draft.named) result->roster.presets.push_back(std::move(preset));
  }

  bool parse_error(std::size_t, const std::string&,
                   const nlohmann::detail::exception& error) {
    numberOverflow = error.id == kJsonNumberOverflow;
    fileProblem(line(), "roster",
                "not valid JSON: " + parseErrorText(error.what()) +
                    " (allowed: one JSON object)");
    return false;
  }
};

// Names given to more than one preset: each after the first is a problem.
void checkUniqueNames(RosterReading* reading) {
  Roster& roster = reading->roster;
  roster.byName.resize(roster.presets.size());
  for (std::size_t i = 0; i < roster.presets.size(); ++i) {
    roster.byName[i] = static_cast<std::uint32_t>(i);
  }
  const auto& presets = roster.presets;
  std::sort(roster.byName.begin(), roster.byName.end(),
            [&](std::uint32_t a, std::uint32_t b) {
              const int order = presets[a].name.compare(presets[b].name);
              return order != 0 ? order < 0 : a < b;
            });
  for (std::size_t i = 1; i < roster.byName.size(); ++i) {
    const Preset& earlier = presets[roster.byName[i - 1]];
    const Preset& later = presets[roster.byName[i]];
    if (earlier.name != later.name) continue;
    reading->problems.push_back(
        {later.line, shown(later.name),
         {"name", "given to another preset too, on line " +
                      std::to_string(earlier.line) +
                      " (allowed: a name of its own)", {}}});
  }
}

// A roster over kLongestRoster, refused before it is read.
RosterReading tooLongRoster() {
  RosterReading reading;
  reading.problems.push_back(
      {1, "", {"roster", "longer than 16 MiB (allowed: a roster of at most "
                         "16 MiB)", {}}});
  return reading;
}

// Only the first problems are kept; the rest are counted.
void limitProblems(RosterReading* reading) {
  std::stable_sort(reading->problems.begin(), reading->problems.end(),
                   [](const RosterProblem& a, const RosterProblem& b) {
                     return a.line < b.line;
                   });
  if (reading->problems.size() > kMostRosterProblems) {
    reading->moreProblems = reading->problems.size() - kMostRosterProblems;
    reading->problems.resize(kMostRosterProblems);
  }
}

}  // namespace

RosterReading parseRoster(std::string_view text) {
  if (text.size() > kLongestRoster) return tooLongRoster();
  RosterReading reading;
  RosterBuilder builder;
  builder.result = &reading;
  const LineCountingIterator first{text.data(), &builder.lineFeeds};
  const LineCountingIterator last{text.data() + text.size(), &builder.lineFeeds};
  const bool parsed = Json::sax_parse(first, last, &builder,
                                      Json::input_format_t::json, true);
  if (builder.numberOverflow) {
    if (const std::optional<std::string> finite = withFiniteNumbers(text)) {
      return parseRoster(*finite);
    }
  }
  if (parsed && !builder.sawPresets) {
    reading.problems.push_back(
        {1, "", {"presets", "missing (allowed: a list of presets)", {}}});
  }
  if (!parsed && reading.problems.empty()) {
    reading.problems.push_back(
        {builder.line(), "", {"roster", "not valid JSON (allowed: one JSON object)", {}}});
  }
  checkUniqueNames(&reading);
  if (!reading.problems.empty()) reading.roster = Roster{};
  limitProblems(&reading);
  return reading;
}

RosterReading readRosterFile(const std::string& path, int* error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = errno;
    return {};
  }
  Input in = inputFromFd(fd);
  std::string text;
  bool tooLong = false;
  while (readMore(&in, "")) {
    const std::string_view piece = unread(in);
    if (text.size() + piece.size() > kLongestRoster) {
      tooLong = true;
      break;
    }
    text.append(piece);
    take(&in, piece.size());
  }
  close(fd);
  if (in.error != 0) {
    *error = in.error;
    return {};
  }
  *error = 0;
  if (tooLong) return tooLongRoster();
  return parseRoster(text);
}

std::string rosterProblemLine(const std::string& path,
                              const RosterProblem& problem) {
  // The file's one way of writing a problem, with the preset before the
  // field it belongs to.
  Problem shown = problem.problem;
  shown.place = {problem.line, 0};
  shown.showColumn = false;
  if (!problem.preset.empty()) {
    shown.field = "preset " + problem.preset + ": " + shown.field;
  }
  return fileProblemLine(path, 1, shown);
}

GivenFields applyPreset(const Preset& preset, Side side,
                        CombatScenario* scenario, GivenFields* given) {
  GivenFields gave{};
  const auto fields = presetFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!preset.given.test(i)) continue;
    const std::optional<Field> field = fieldFor(fields[i], side);
    if (!field) continue;
    const auto place = static_cast<std::size_t>(*field);
    if ((*given)[place]) continue;
    const ScenarioField& info = fieldInfo(*field);
    switch (info.kind) {
      case FieldKind::whole:
        scenario->*info.whole = preset.values[i];
        break;
      case FieldKind::yesNo:
        scenario->*info.yesNo = static_cast<char>(preset.values[i]);
        break;
      case FieldKind::bars:
        scenario->*info.bars = preset.combatSupport;
        break;
      case FieldKind::units:
        break;
    }
    (*given)[place] = true;
    gave[place] = true;
  }
  return gave;
}

void clearUnit(Side side, CombatScenario* scenario, GivenFields* given) {
  for (const PresetField& own : presetFields()) {
    if (const std::optional<Field> field = fieldFor(own, side)) {
      resetAnswer(scenario, *field);
      (*given)[static_cast<std::size_t>(*field)] = false;
    }
  }
}

std::optional<RosterProblem> noPresetProblem(const Roster& roster,
                                             Side side) {
  const auto& presets = roster.presets;
  if (std::any_of(presets.begin(), presets.end(),
                  [side](const Preset& preset) { return serves(preset, side); })) {
    return std::nullopt;
  }
  const std::string sideText(sideName(side));
  // None serves `side`, so every preset serves the other side only.
  const std::string held =
      presets.empty() ? "it holds no preset"
                      : "its presets are for " +
                            sidesText(side == Side::defender,
                                      side == Side::attacker);
  return RosterProblem{1, "",
                       {"roster",
                        "no preset for the " + sideText + "; " + held +
                            " (allowed: presets whose sides include the " +
                            sideText + ")",
                        {}}};
}

std::optional<Problem> applyNamedPresets(const Roster& roster,
                                         ScenarioText* scenario) {
  for (const Side side : {Side::attacker, Side::defender}) {
    const std::optional<std::string>& name = side == Side::attacker
                                                 ? scenario->attackerPreset
                                                 : scenario->defenderPreset;
    if (!name) continue;
    const std::string field = std::string(sideName(side)) + ".preset";
    const Place place = side == Side::attacker ? scenario->attackerPresetPlace
                                               : scenario->defenderPresetPlace;
    const Preset* preset = findPreset(roster, *name);
    if (preset == nullptr) {
      return Problem{field, "no preset named " + shown(*name) +
                                " in the roster (allowed: a preset of the "
                                "roster for the " +
                                std::string(sideName(side)) + ")",
                     place};
    }
    if (!serves(*preset, side)) {
      return Problem{field, shown(*name) + " is a preset for " +
                                sidesText(preset->attacker, preset->defender) +
                                " (allowed: a preset for the " +
                                std::string(sideName(side)) + ")",
                     place};
    }
    const GivenFields gave =
        applyPreset(*preset, side, &scenario->scenario, &scenario->given);
    for (std::size_t i = 0; i < gave.size(); ++i) {
      if (gave[i]) scenario->fromPresets[i] = true;
    }
  }
  return std::nullopt;
}
