#include "io/line_editor.h"

#ifdef ZELVORN_HAVE_LIBEDIT

#include <dlfcn.h>
#include <histedit.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

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
  const LineInfo* (*line)(EditLine*) = nullptr;
  int (*insert)(EditLine*, const char*) = nullptr;
  void (*erase)(EditLine*, int) = nullptr;
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
      !find(handle, "history_end", &library.historyEnd) ||
      !find(handle, "el_line", &library.line) ||
      !find(handle, "el_insertstr", &library.insert) ||
      !find(handle, "el_deletestr", &library.erase)) {
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
  std::vector<std::string> completions;  // what Tab completes to
  bool tabCompletes = false;             // Tab bound to complete()
};

namespace {

// libedit asks for the prompt through a plain function; the program has one
// terminal and so at most one editor open at a time.
LineEditor* openEditor = nullptr;

// The editor shows the text that the dialogue printed on the current line.
char* promptOf(EditLine*) { return openEditor->prompt.data(); }

char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

// Whether `name` starts with `typed`, the case of letters aside.
bool startsWith(std::string_view name, std::string_view typed) {
  if (name.size() < typed.size()) return false;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    if (lowerCase(name[i]) != lowerCase(typed[i])) return false;
  }
  return true;
}

// Tab: the answer typed before the cursor (a name may hold blanks) becomes
// as much as the names it starts share, in their spelling; when that adds
// nothing, the names are listed below and the answer shown again.
unsigned char complete(EditLine* editLine, int) {
  LineEditor& editor = *openEditor;
  const EditLibrary& library = editor.library;
  // Where no names are offered, Tab keeps its usual meaning: a beep.
  if (editor.completions.empty()) return CC_ERROR;
  const LineInfo* info = library.line(editLine);
  const std::string_view typed(
      info->buffer, static_cast<std::size_t>(info->cursor - info->buffer));
  std::vector<std::string_view> matches;
  for (const std::string& name : editor.completions) {
    if (startsWith(name, typed)) matches.push_back(name);
  }
  if (matches.empty()) return CC_ERROR;
  std::string_view shared = matches.front();
  for (const std::string_view name : matches) {
    std::size_t n = 0;
    while (n < shared.size() && n < name.size() && shared[n] == name[n]) ++n;
    shared = shared.substr(0, n);
  }
  if (matches.size() == 1 ||
      (shared.size() > typed.size() && startsWith(shared, typed))) {
    const std::string completed(matches.size() == 1 ? matches.front() : shared);
    if (completed != typed) {
      library.erase(editLine, static_cast<int>(typed.size()));
      library.insert(editLine, completed.c_str());
      return CC_REFRESH;
    }
    return CC_NORM;
  }
  std::string listing = "\n";
  for (const std::string_view name : matches) {
    listing.append(name);
    listing += "\n";
  }
  std::fputs(listing.c_str(), stdout);
  std::fflush(stdout);
  return CC_REDISPLAY;
}

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

void offerCompletions(LineEditor* editor, std::vector<std::string> names) {
  if (editor == nullptr) return;
  // Tab is bound only once names are offered: the library never frees the
  // name of a function added to it, and a run without names should not
  // leave that behind.
  if (!names.empty() && !editor->tabCompletes) {
    editor->library.set(editor->editLine, EL_ADDFN, "zelvorn-complete",
                        "complete the name typed", complete);
    editor->library.set(editor->editLine, EL_BIND, "^I", "zelvorn-complete",
                        nullptr);
    editor->tabCompletes = true;
  }
  editor->completions = std::move(names);
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

void offerCompletions(LineEditor*, std::vector<std::string>) {}

#endif
