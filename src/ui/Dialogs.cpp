// The scripted (terminal, tests) answerer of the dialogs interface.
#include "ui/Dialogs.h"

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
  // fputs, not fprintf: the merger's image stays free of the C library's formatted printing.
  if (m_echo) std::fputs((caption + ": " + text + "\n").c_str(), stderr);
}

bool ScriptedDialogs::confirm(const std::string& caption, const std::string& text) {
  if (m_echo)
    std::fputs((caption + ": " + text + (m_confirmAnswer ? " Yes\n" : " No\n")).c_str(), stderr);
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

}  // namespace ui
