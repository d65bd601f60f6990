// TPasswordDlg: the archiver's password prompt, a modal dialog with a masked edit, OK and Cancel.
#pragma once

#include <functional>
#include <string>

#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"

namespace app {

// The dialog's outer size; the window manager draws the frame and the title bar around the
// client area, so the form itself is the outer size less the dialog frame and caption.
inline constexpr int kPasswordDialogOuterWidth = 344;
inline constexpr int kPasswordDialogOuterHeight = 137;
inline constexpr int kDialogFrameWidth = 3;
inline constexpr int kDialogCaptionHeight = 19;
// The most characters a password may have.
inline constexpr int kPasswordMaxLength = 80;

class TPasswordDlg : public ui::Form {
 public:
  // The password edit: "*" for every character; Enter presses the default button (OK) and
  // Escape the cancel button, as they do in any dialog.
  class PasswordEdit : public ui::Edit {
   public:
    PasswordEdit(ui::Container& parent, const ui::Rect& bounds);
    std::function<void()> onEnter;
    std::function<void()> onEscape;

   protected:
    void keyPress(char& key) override;
  };

  // A button of a standard kind: its glyph (a check for OK, a cross for Cancel) beside the
  // caption, so the two stay told apart whatever their captions say.
  class KindButton : public ui::Button {
   public:
    enum class Kind { OK, Cancel };
    KindButton(ui::Container& parent, const ui::Rect& bounds, const std::string& caption,
               int tabOrder, Kind kind);
    Kind kind() const { return m_kind; }

   private:
    Kind m_kind;
  };

  // The caller gives the title, the prompt and the buttons' captions.
  TPasswordDlg(const std::string& title, const std::string& prompt, const std::string& okCaption,
               const std::string& cancelCaption);
  ~TPasswordDlg() override;

  // Shows the dialog modally, centred on the screen, until OK, Cancel or its close box ends it;
  // then result(). Without a display nothing is shown and the result is returned at once.
  std::string execute();

  // The edit's text when OK was pressed, else an empty text.
  std::string result() const;
  bool accepted() const { return m_accepted; }

  void OKBtnClick();
  void CancelBtnClick();

  ui::Label Label1;
  PasswordEdit Edit1;
  KindButton OKBtn;
  KindButton CancelBtn;

 private:
  void finish(bool accepted);

  bool m_accepted = false;
};

// Asks for a password in a TPasswordDlg on screen: the entered text on OK, empty otherwise.
std::string askPasswordInDialog(const std::string& title, const std::string& prompt,
                                const std::string& okCaption, const std::string& cancelCaption);

}  // namespace app
