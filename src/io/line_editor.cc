#include "io/line_editor.h"

#ifdef ZELVORN_HAVE_LIBEDIT

#include <dlfcn.h>
#include <histedit.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

// libedit's functions.  The library is loaded only when a typed dialogue
// needs it, so that a run on a file or a pipe starts as fast as without it.
struct EditLibrary {
  void* handle = nullptr;
  EditLine* (*init)(const char*, FILE*, FILE*, FILE*) = nullptr;
  int (*set)(EditLine*, int, ...) = nullptr;
  const char* (*gets)(EditLine*, int*) = nullptr;
  void (*end)(EditLine*) = nullptr;
  int (*source)(EditLine*, const char*) = nullptr;
  History* (*historyInit)() = nullptr;
  int (*history)(History*, HistEvent*, int, ...) = nullptr;
  void (*historyEnd)(History*) = nullptr;
};

template <typename Function>
bool find(void* handle, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(dlsym(handle, name));
  return *function != nullptr;
}

EditLibrary loadEditLibrary() {
  EditLibrary library;
  library.handle = dlopen("libedit.so.2", RTLD_NOW | RTLD_LOCAL);
  if (library.handle == nullptr) return library;
  void* handle = library.handle;
  if (!find(handle, "el_init", &library.init) ||
      !find(handle, "el_set", &library.set) ||
      !find(handle, "el_gets", &library.gets) ||
      !find(handle, "el_end", &library.end) ||
      !find(handle, "el_source", &library.source) ||
      !find(handle, "history_init", &library.historyInit) ||
      !find(handle, "history", &library.history) ||
      !find(handle, "history_end", &library.historyEnd)) {
    dlclose(handle);
    library.handle = nullptr;
  }
  return library;
}

constexpr int kHistorySize = 1000;

}  // namespace

struct LineEditor {
  EditLibrary library;
  EditLine* editLine = nullptr;
  History* history = nullptr;
  std::string prompt;
};

namespace {

// libedit asks for the prompt through a plain function; the program has one
// terminal and so at most one editor open at a time.
LineEditor* openEditor = nullptr;

// The editor shows the text that the dialogue printed on the current line.
char* promptOf(EditLine*) { return openEditor->prompt.data(); }

}  // namespace

bool lineEditingAvailable() { return true; }

LineEditor* openLineEditor(const char* programName) {
  EditLibrary library = loadEditLibrary();
  if (library.handle == nullptr) return nullptr;
  EditLine* editLine = library.init(programName, stdin, stdout, stderr);
  if (editLine == nullptr) {
    dlclose(library.handle);
    return nullptr;
  }
  auto* editor = new LineEditor;
  editor->library = library;
  editor->editLine = editLine;
  editor->history = library.historyInit();
  HistEvent event;
  library.history(editor->history, &event, H_SETSIZE, kHistorySize);
  openEditor = editor;
  library.set(editLine, EL_PROMPT, promptOf);
  library.set(editLine, EL_EDITOR, "emacs");
  library.set(editLine, EL_SIGNAL, 1);
  library.set(editLine, EL_HIST, library.history, editor->history);
  library.source(editLine, nullptr);
  return editor;
}

void closeLineEditor(LineEditor* editor) {
  if (editor == nullptr) return;
  editor->library.end(editor->editLine);
  editor->library.historyEnd(editor->history);
  // The library stays loaded: what it keeps in its own globals stays
  // reachable until the program ends.
  if (openEditor == editor) openEditor = nullptr;
  delete editor;
}

EditedLine readEditedLine(LineEditor* editor, std::string_view prompt) {
  editor->prompt.assign(prompt);
  int count = 0;
  const char* line = editor->library.gets(editor->editLine, &count);
  EditedLine read;
  if (line == nullptr || count <= 0) {
    // A count of -1 is a read error; 0 is the end of the input.
    read.ended = true;
    if (count < 0) read.error = errno != 0 ? errno : EIO;
    return read;
  }
  read.text = std::string_view(line, static_cast<std::size_t>(count));
  std::string_view entered = read.text;
  if (entered.back() == '\n') entered.remove_suffix(1);
  if (!entered.empty()) {
    HistEvent event;
    const std::string entry(entered);
    editor->library.history(editor->history, &event, H_ENTER, entry.c_str());
  }
  return read;
}

#else  // built without the line editing library's header

struct LineEditor {};

bool lineEditingAvailable() { return false; }

LineEditor* openLineEditor(const char*) { return nullptr; }

void closeLineEditor(LineEditor*) {}

EditedLine readEditedLine(LineEditor*, std::string_view) {
  EditedLine read;
  read.ended = true;
  return read;
}

#endif
