// Message boxes and file/folder choosers behind one interface, answered by the screen,
// by the terminal front end, or by tests.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

enum class MessageKind { Information, Warning, Error };

// A folder browser with the shell's options; back ends without them use title and folder only.
struct FolderRequest {
  std::string title;
  std::string initialFolder;  // preselected when not empty
  unsigned flags = 0x0005;    // the shell's option bits: file-system folders, a status line
  int rootFolder = -1;        // a special folder's number as the root; -1 for the whole tree
  // The status line's text for a selected path, on every selection change; none when empty.
  std::function<std::string(const std::string&)> statusText;
  // For pickers that have a native window (Windows): called once when it exists, after the
  // preselection, and after every selection change with the shell's item and its path.
  std::function<void(void* dialog)> initialized;
  std::function<void(void* dialog, const void* item, const std::string& path)> selectionChanged;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A message box with an OK button.
  virtual void message(MessageKind kind, const std::string& caption, const std::string& text) = 0;
  // A yes/no question; true for yes.
  virtual bool confirm(const std::string& caption, const std::string& text) = 0;
  // The open-file dialog: all files, starting at `initialName` (the previous choice, may be
  // empty). Empty when the user cancels.
  virtual std::optional<std::string> openFile(const std::string& initialName) = 0;
  // The folder picker, `initialFolder` preselected when not empty. Empty when the user cancels.
  virtual std::optional<std::string> chooseFolder(const std::string& title,
                                                  const std::string& initialFolder) = 0;
  // The folder picker with every option of the request.
  virtual std::optional<std::string> browseFolder(const FolderRequest& request) {
    return chooseFolder(request.title, request.initialFolder);
  }
};

// The dialogs that the program uses now; a terminal answerer until one is installed.
Dialogs& dialogs();
// Installs `answerer` (not owned; nullptr restores the terminal answerer).
void setDialogs(Dialogs* answerer);

// RAII: installs dialogs for a scope and restores the previous ones.
class ScopedDialogs {
 public:
  explicit ScopedDialogs(Dialogs& answerer);
  ~ScopedDialogs();
  ScopedDialogs(const ScopedDialogs&) = delete;
  ScopedDialogs& operator=(const ScopedDialogs&) = delete;

 private:
  Dialogs* m_previous;
};

// Dialogs with no user in front of them: messages go to stderr as "caption: text", questions
// get their fixed answer, and the choosers return the answers queued beforehand (else cancel).
class ScriptedDialogs : public Dialogs {
 public:
  // `echo` false keeps messages off stderr (tests read them from messages()).
  explicit ScriptedDialogs(bool echo = true) : m_echo(echo) {}

  struct Shown {
    MessageKind kind;
    std::string caption;
    std::string text;
  };

  void queueOpenFile(std::optional<std::string> answer) { m_files.push_back(std::move(answer)); }
  void queueFolder(std::optional<std::string> answer) { m_folders.push_back(std::move(answer)); }
  void setConfirmAnswer(bool yes) { m_confirmAnswer = yes; }

  const std::vector<Shown>& messages() const { return m_messages; }
  int errorCount() const;
  // Initial names and folders the choosers were opened with, in order.
  const std::vector<std::string>& openedWith() const { return m_openedWith; }
  void clear() { m_messages.clear(); }

  void message(MessageKind kind, const std::string& caption, const std::string& text) override;
  bool confirm(const std::string& caption, const std::string& text) override;
  std::optional<std::string> openFile(const std::string& initialName) override;
  std::optional<std::string> chooseFolder(const std::string& title,
                                          const std::string& initialFolder) override;

 private:
  bool m_echo;
  bool m_confirmAnswer = false;
  std::deque<std::optional<std::string>> m_files;
  std::deque<std::optional<std::string>> m_folders;
  std::vector<Shown> m_messages;
  std::vector<std::string> m_openedWith;
};

// The back end's own message boxes and file and folder choosers; needs a display.
class ScreenDialogs : public Dialogs {
 public:
  void message(MessageKind kind, const std::string& caption, const std::string& text) override;
  bool confirm(const std::string& caption, const std::string& text) override;
  std::optional<std::string> openFile(const std::string& initialName) override;
  std::optional<std::string> chooseFolder(const std::string& title,
                                          const std::string& initialFolder) override;
#ifdef _WIN32
  std::optional<std::string> browseFolder(const FolderRequest& request) override;
#endif
};

}  // namespace ui
