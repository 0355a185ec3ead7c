// Texts that more than one phase of the dialogue prints, kept in one place so
// that every phase prints them byte for byte alike.
#ifndef ZELVORN_SCENARIO_SHARED_TEXTS_H_
#define ZELVORN_SCENARIO_SHARED_TEXTS_H_

namespace text {

// The line of 79 asterisks that opens the rugged-defense lines and the odds.
constexpr const char* kSeparator =
    "\n\n*************************************************************"
    "******************";

// The Combat Support loop, asked for both units and every supporting unit.
constexpr const char* kCombatSupportFirst =
    "\nIs there at least one Combat Support unit adjacent to this unit? "
    "(Y/N):\n>> ";
constexpr const char* kCombatSupportBars =
    "\nPlease enter the experience bars of the Combat Support unit:\n>> ";
constexpr const char* kCombatSupportAnother =
    "\nIs there another Combat Support unit adjacent to this unit? "
    "(Y/N):\n>> ";

// Error texts shared by several number questions.
constexpr const char* kExperienceError =
    "\nThe experience bars must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr const char* kAttackValueZeroError =
    "\nThe attack value must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr const char* kStrengthError =
    "\nThe strength must be a number, and it must be greater than zero.  "
    "Please\nreenter:\n>> ";
constexpr const char* kDefenseValueZeroError =
    "\nThe defense value must be a number, and it must be zero or greater.  "
    "Please\nreenter:\n>> ";
constexpr const char* kTimesAttackedPrompt =
    "\nPlease enter the number of times the defending unit has already been "
    "attacked:\n>> ";
constexpr const char* kTimesAttackedError =
    "\nThe number of times attacked must be zero or greater.  Please "
    "reenter:\n>> ";

// The choice menu of a supporting unit (an artillery piece or an air-defense
// unit).
constexpr const char* kSupportChoiceMenu =
    "\nPlease enter a choice for the support unit: \n\n******************"
    "\n1 for Aggressive Attack, \n2 for Overwhelming Attack,"
    "\n3 for None of the above\n******************\n\n>> ";
constexpr const char* kSupportChoiceError =
    "\nThis choice must be a number between one and three.  Please "
    "reenter:\n>> ";

// Leads the odds as they would have been without defensive artillery.
constexpr const char* kArtilleryLead =
    "\n\nIf not for artillery support, the odds would have been ";

constexpr const char* kSupportFireHeading = "\n\nSupport Fire:\n\n";

}  // namespace text

#endif  // ZELVORN_SCENARIO_SHARED_TEXTS_H_
