// Line editing at a terminal: the cursor keys, Home/End and deletion work
// in the answer being typed, and the up arrow recalls earlier answers of the
// run.  Without the editing library the editor cannot be opened.
#ifndef ZELVORN_IO_LINE_EDITOR_H_
#define ZELVORN_IO_LINE_EDITOR_H_

#include <string_view>

#include "io/input.h"

struct LineEditor;

// True when the program was built with line editing.
bool lineEditingAvailable();

// Opens an editor on standard input and output, or gives nullptr when line
// editing is not available.
LineEditor* openLineEditor(const char* programName);

// Closes an editor opened by openLineEditor; nullptr is ignored.
void closeLineEditor(LineEditor* editor);

// Shows `prompt`, reads one edited line and adds it to the unread input,
// with its line feed.  False at the end of the input (Ctrl-D on an empty
// line).
bool readEditedLine(LineEditor* editor, std::string_view prompt, Input* input);

#endif  // ZELVORN_IO_LINE_EDITOR_H_
