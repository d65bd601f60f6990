// The scripted (terminal, tests) and on-screen answerers of the dialogs interface.
#include "ui/Dialogs.h"

#include <FL/Fl_Native_File_Chooser.H>
#include <FL/fl_ask.H>

#include <algorithm>
#include <cstdio>

namespace ui {

namespace {

Dialogs*& installed() {
  static Dialogs* current = nullptr;
  return current;
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
  fl_message_title(caption.c_str());
  if (kind == MessageKind::Information)
    fl_message("%s", text.c_str());
  else
    fl_alert("%s", text.c_str());
}

bool ScreenDialogs::confirm(const std::string& caption, const std::string& text) {
  fl_message_title(caption.c_str());
  return fl_choice("%s", "No", "Yes", nullptr, text.c_str()) == 1;
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
