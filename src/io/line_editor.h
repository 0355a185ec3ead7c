// Line editing at a terminal: the cursor keys, Home/End and deletion work
// in the answer being typed, the up arrow recalls earlier answers of the
// run, and Tab completes names where the dialogue offers them.  Without the
// editing library the editor cannot be opened.
#ifndef ZELVORN_IO_LINE_EDITOR_H_
#define ZELVORN_IO_LINE_EDITOR_H_

#include <string>
#include <string_view>
#include <vector>

struct LineEditor;

// One line as the editor read it: its text with the line feed, or nothing
// at the end of the input (Ctrl-D on an empty line) or when reading failed.
struct EditedLine {
  std::string_view text;  // the editor's own copy, valid until its next read
  bool ended = false;     // the end of the input, or a failed read
  int error = 0;          // errno of a failed read, if any
};

// True when the program was built with line editing.
bool lineEditingAvailable();

// Opens an editor on standard input and output, or gives nullptr when line
// editing is not available.
LineEditor* openLineEditor(const char* programName);

// Closes an editor opened by openLineEditor; nullptr is ignored.
void closeLineEditor(LineEditor* editor);

// Shows `prompt` and reads one edited line; a line that is not empty joins
// the history that the up arrow recalls.
EditedLine readEditedLine(LineEditor* editor, std::string_view prompt);

// From now on Tab completes the answer typed so far to one of `names` (or
// to as much as they share, listing them when that adds nothing); with an
// empty list Tab only beeps, as it does without completion.  Ignored for
// nullptr.
void offerCompletions(LineEditor* editor, std::vector<std::string> names);

#endif  // ZELVORN_IO_LINE_EDITOR_H_
