// The on-screen answerer of the dialogs interface: FLTK's message boxes and file chooser.
#include <FL/Fl.H>
#include <FL/Fl_Native_File_Chooser.H>

#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/MessageBox.h"

namespace ui {

namespace {

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
