// The units of a combat taken by name from a roster: the two questions
// that choose a preset for each unit, and the answers that a chosen preset
// gives in place of its unit's questions.
#ifndef ZELVORN_DIALOGUE_PRESET_CHOICE_H_
#define ZELVORN_DIALOGUE_PRESET_CHOICE_H_

#include <cstdint>
#include <optional>

#include "dialogue/console.h"
#include "scenario/roster.h"
#include "scenario/scenario_fields.h"

// The presets chosen for the two units of a combat; null for a unit whose
// questions are asked.
struct ChosenPresets {
  const Preset* attacker = nullptr;
  const Preset* defender = nullptr;
};

// The most names that the message for a name not in the roster shows.
constexpr std::size_t kClosestNamesShown = 5;

// Asks for the preset of `side`'s unit until a name of the roster for that
// side, or nothing, is answered; gives the preset, or null for nothing.  At
// a terminal with line editing, Tab completes the names meanwhile.  Throws
// InputEnded when the input ends before the answer.
const Preset* askPreset(Console& console, const Roster& roster, Side side);

// Asks for the attacker's preset and then the defender's; none are asked
// without a roster.
ChosenPresets askPresets(Console& console, const Roster* roster);

// The answer that the preset chosen for the unit that `field` describes
// holds for it, if one was chosen and holds it.
std::optional<std::int64_t> presetAnswer(const ChosenPresets& presets,
                                         Field field);

// The preset chosen for the unit that `field` describes, if `field` is a
// unit's own answer and a preset was chosen for that unit; else null.
const Preset* presetFor(const ChosenPresets& presets, Field field);

#endif  // ZELVORN_DIALOGUE_PRESET_CHOICE_H_
