// The scripted (terminal, tests) and on-screen answerers of the dialogs interface.
#include "ui/Dialogs.h"

#include <FL/Fl.H>
#include <FL/Fl_Native_File_Chooser.H>

#include <algorithm>
#include <cstdio>

#include "ui/Application.h"
#include "ui/MessageBox.h"

namespace ui {

namespace {

Dialogs*& installed() {
  static Dialogs* current = nullptr;
  return current;
}

bool showing(Fl_Window* w) { return w != nullptr && w->shown() && w->visible(); }

// The window a message belongs to: the one the user works in (a modal dialog, else the one
// holding the focus), else the main form, else any window that is shown.
Fl_Window* messageOwner() {
  if (showing(Fl::modal())) return Fl::modal();
  if (Fl_Widget* focus = Fl::focus())
    if (Fl_Window* w = focus->top_window(); showing(w)) return w;
  if (Form* main = Application::instance().mainForm(); showing(main)) return main;
  for (Fl_Window* w = Fl::first_window(); w != nullptr; w = Fl::next_window(w))
    if (showing(w) && w->parent() == nullptr) return w;
  return nullptr;
}

MessageBox::Icon iconFor(MessageKind kind) {
  switch (kind) {
    case MessageKind::Information:
      return MessageBox::Icon::Information;
    case MessageKind::Warning:
      return MessageBox::Icon::Warning;
    case MessageKind::Error:
      break;
  }
  return MessageBox::Icon::Error;
}

}  // namespace

Dialogs& dialogs() {
  static ScriptedDialogs terminal;
  Dialogs* current = installed();
  return current ? *current : terminal;
}

void setDialogs(Dialogs* answerer) { installed() = answerer; }

ScopedDialogs::ScopedDialogs(Dialogs& answerer) : m_previous(installed()) {
  installed() = &answerer;
}

ScopedDialogs::~ScopedDialogs() { installed() = m_previous; }

int ScriptedDialogs::errorCount() const {
  return int(std::count_if(m_messages.begin(), m_messages.end(),
                           [](const Shown& s) { return s.kind == MessageKind::Error; }));
}

void ScriptedDialogs::message(MessageKind kind, const std::string& caption,
                              const std::string& text) {
  m_messages.push_back({kind, caption, text});
  if (m_echo) std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

bool ScriptedDialogs::confirm(const std::string& caption, const std::string& text) {
  if (m_echo)
    std::fprintf(stderr, "%s: %s %s\n", caption.c_str(), text.c_str(),
                 m_confirmAnswer ? "Yes" : "No");
  return m_confirmAnswer;
}

std::optional<std::string> ScriptedDialogs::openFile(const std::string& initialName) {
  m_openedWith.push_back(initialName);
  if (m_files.empty()) return std::nullopt;
  auto answer = std::move(m_files.front());
  m_files.pop_front();
  return answer;
}

std::optional<std::string> ScriptedDialogs::chooseFolder(const std::string&,
                                                         const std::string& initialFolder) {
  m_openedWith.push_back(initialFolder);
  if (m_folders.empty()) return std::nullopt;
  auto answer = std::move(m_folders.front());
  m_folders.pop_front();
  return answer;
}

void ScreenDialogs::message(MessageKind kind, const std::string& caption, const std::string& text) {
  MessageBox box(caption, text, iconFor(kind), MessageBox::Buttons::Ok);
  box.run(messageOwner());
}

bool ScreenDialogs::confirm(const std::string& caption, const std::string& text) {
  MessageBox box(caption, text, MessageBox::Icon::Question, MessageBox::Buttons::YesNo);
  return box.run(messageOwner());
}

std::optional<std::string> ScreenDialogs::openFile(const std::string& initialName) {
  Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_FILE);
  if (!initialName.empty()) chooser.preset_file(initialName.c_str());
  if (chooser.show() != 0 || chooser.filename() == nullptr) return std::nullopt;
  return std::string(chooser.filename());
}

std::optional<std::string> ScreenDialogs::chooseFolder(const std::string& title,
                                                       const std::string& initialFolder) {
  Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_DIRECTORY);
  if (!title.empty()) chooser.title(title.c_str());
  if (!initialFolder.empty()) chooser.directory(initialFolder.c_str());
  if (chooser.show() != 0 || chooser.filename() == nullptr) return std::nullopt;
  return std::string(chooser.filename());
}

}  // namespace ui
