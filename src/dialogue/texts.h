// Prompts and error texts that more than one question of the dialogue
// prints, kept in one place so that every question prints them byte for
// byte alike.
#ifndef ZELVORN_DIALOGUE_TEXTS_H_
#define ZELVORN_DIALOGUE_TEXTS_H_

#include <string_view>

namespace text {

// The Combat Support loop, asked for both units and every supporting unit.
constexpr std::string_view kCombatSupportFirst =
    "\nIs there at least one Combat Support unit adjacent to this unit? "
    "(Y/N):\n>> ";
constexpr std::string_view kCombatSupportBars =
    "\nPlease enter the experience bars of the Combat Support unit:\n>> ";
constexpr std::string_view kCombatSupportAnother =
    "\nIs there another Combat Support unit adjacent to this unit? "
    "(Y/N):\n>> ";

// Error texts shared by several number questions.
constexpr std::string_view kExperienceError =
    "\nThe experience bars must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr std::string_view kAttackValueZeroError =
    "\nThe attack value must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr std::string_view kStrengthError =
    "\nThe strength must be a number, and it must be greater than zero.  "
    "Please\nreenter:\n>> ";
constexpr std::string_view kDefenseValueZeroError =
    "\nThe defense value must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr std::string_view kTimesAttackedPrompt =
    "\nPlease enter the number of times the defending unit has already been "
    "attacked:\n>> ";
constexpr std::string_view kTimesAttackedError =
    "\nThe number of times attacked must be zero or greater.  Please "
    "reenter:\n>> ";

// The choice menu of a supporting unit (an artillery piece or an air-defense
// unit).
constexpr std::string_view kSupportChoiceMenu =
    "\nPlease enter a choice for the support unit: \n\n******************"
    "\n1 for Aggressive Attack, \n2 for Overwhelming Attack,"
    "\n3 for None of the above\n******************\n\n>> ";
constexpr std::string_view kSupportChoiceError =
    "\nThis choice must be a number between one and three.  Please "
    "reenter:\n>> ";

constexpr std::string_view kSupportFireHeading = "\n\nSupport Fire:\n\n";

}  // namespace text

#endif  // ZELVORN_DIALOGUE_TEXTS_H_
