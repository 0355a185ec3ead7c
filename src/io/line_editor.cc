#include "io/line_editor.h"

#ifdef ZELVORN_HAVE_LIBEDIT

#include <histedit.h>

#include <cstdio>
#include <string>

struct LineEditor {
  EditLine* editLine = nullptr;
  History* history = nullptr;
  std::string prompt;
};

namespace {

constexpr int kHistorySize = 1000;

// The editor shows the text that the dialogue printed on the current line.
char* promptOf(EditLine* editLine) {
  void* data = nullptr;
  el_get(editLine, EL_CLIENTDATA, &data);
  return static_cast<LineEditor*>(data)->prompt.data();
}

}  // namespace

bool lineEditingAvailable() { return true; }

LineEditor* openLineEditor(const char* programName) {
  EditLine* editLine = el_init(programName, stdin, stdout, stderr);
  if (editLine == nullptr) return nullptr;
  auto* editor = new LineEditor;
  editor->editLine = editLine;
  editor->history = history_init();
  HistEvent event;
  history(editor->history, &event, H_SETSIZE, kHistorySize);
  el_set(editLine, EL_CLIENTDATA, static_cast<void*>(editor));
  el_set(editLine, EL_PROMPT, promptOf);
  el_set(editLine, EL_EDITOR, "emacs");
  el_set(editLine, EL_SIGNAL, 1);
  el_set(editLine, EL_HIST, history, editor->history);
  el_source(editLine, nullptr);
  return editor;
}

void closeLineEditor(LineEditor* editor) {
  if (editor == nullptr) return;
  el_end(editor->editLine);
  history_end(editor->history);
  delete editor;
}

bool readEditedLine(LineEditor* editor, std::string_view prompt, Input* input) {
  editor->prompt.assign(prompt);
  int count = 0;
  const char* line = el_gets(editor->editLine, &count);
  if (line == nullptr || count <= 0) return false;
  std::string_view text(line, static_cast<std::size_t>(count));
  addInput(input, text);
  if (text.back() == '\n') text.remove_suffix(1);
  if (!text.empty()) {
    HistEvent event;
    const std::string entry(text);
    history(editor->history, &event, H_ENTER, entry.c_str());
  }
  return true;
}

#else  // no line editing library

struct LineEditor {};

bool lineEditingAvailable() { return false; }

LineEditor* openLineEditor(const char*) { return nullptr; }

void closeLineEditor(LineEditor*) {}

bool readEditedLine(LineEditor*, std::string_view, Input*) {
  return false;
}

#endif
