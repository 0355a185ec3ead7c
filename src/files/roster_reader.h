// Rosters: units kept by name.  A roster is a JSON file of presets, each a
// unit's own answers (see presetFields()) under a name, for the attacker,
// the defender or both; a scenario may name a preset in place of writing
// out its attacker or defender.
#ifndef ZELVORN_FILES_ROSTER_READER_H_
#define ZELVORN_FILES_ROSTER_READER_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "files/problem.h"
#include "files/preset_use.h"
#include "scenario/roster.h"

// No roster may hold more presets: beyond it is refused with one error,
// and memory stays bounded.
constexpr std::size_t kMostPresets = 100000;
// A preset's name is shown in tables and messages: it is kept short.
constexpr std::size_t kLongestPresetName = 60;

// A roster as read: valid only when it has no problem.  Problems are in
// the order of their lines, each of a preset naming it.
struct RosterReading {
  Roster roster;
  Problems problems;
};

// Reads a roster from JSON text, checking every preset against the sides
// it serves; a text longer than kLongestJson is refused unread.
RosterReading parseRoster(std::string_view text);

// Reads the roster file at `path` ("-" is not allowed: standard input
// holds the scenarios); a file that cannot be read is its problem.
RosterReading readRosterFile(const std::string& path);

#endif  // ZELVORN_FILES_ROSTER_READER_H_
