// The password prompt: built from its description in code, run in a modal loop of its own.
#include "app/PasswordDialog.h"

#include "ui/Application.h"

namespace app {

namespace {

constexpr int kClientWidth = kPasswordDialogOuterWidth - 2 * kDialogFrameWidth;
constexpr int kClientHeight =
    kPasswordDialogOuterHeight - 2 * kDialogFrameWidth - kDialogCaptionHeight;

// "Arial" at height -12, bold.
constexpr int kDialogFont = ui::kNativeBoldFont;
constexpr int kDialogFontSize = 12;

// An edit one line of the dialog's font high, as the edit sizes itself to its font.
constexpr int kEditHeight = 22;

void useDialogFont(ui::NativeWidget& widget) {
  widget.labelfont(kDialogFont);
  widget.labelsize(kDialogFontSize);
}

}  // namespace

TPasswordDlg::PasswordEdit::PasswordEdit(ui::Container& parent, const ui::Rect& bounds)
    : ui::Edit(parent, bounds, "", 0) {
  // A masked input that also refuses to copy its text out.
  setPasswordChar('*');
  textfont(kDialogFont);
  textsize(kDialogFontSize);
  setMaxLength(kPasswordMaxLength);
}

void TPasswordDlg::PasswordEdit::keyPress(char& key) {
  // Each key is used up here, so that the default button is not pressed a second time.
  if (key == ui::kEnterChar && onEnter) {
    onEnter();
    key = ui::kRejectedChar;
  }
  if (key == ui::kEscapeChar && onEscape) onEscape();
}

TPasswordDlg::KindButton::KindButton(ui::Container& parent, const ui::Rect& bounds,
                                     const std::string& caption, int tabOrder, Kind kind)
    : ui::Button(parent, bounds, caption, tabOrder), m_kind(kind) {
  setGlyph(kind == Kind::OK ? Glyph::Check : Glyph::Cross);
}

TPasswordDlg::TPasswordDlg(const std::string& title, const std::string& prompt,
                           const std::string& okCaption, const std::string& cancelCaption)
    : ui::Form(title, 0, 0, kClientWidth, kClientHeight, false),
      Label1(*this, {20, 8, 297, 18}, prompt, false),
      Edit1(*this, {20, 40, 297, kEditHeight}),
      OKBtn(*this, {44, 72, 90, 28}, okCaption, 1, KindButton::Kind::OK),
      CancelBtn(*this, {205, 72, 90, 28}, cancelCaption, 2, KindButton::Kind::Cancel) {
  useDialogFont(Label1);
  useDialogFont(OKBtn);
  useDialogFont(CancelBtn);

  // OK is the default button: Enter presses it wherever the focus is, but on a button,
  // which presses itself.
  OKBtn.setDefault();
  OKBtn.onClick = [this] { OKBtnClick(); };
  CancelBtn.onClick = [this] { CancelBtnClick(); };
  Edit1.onEnter = [this] { OKBtn.click(); };
  Edit1.onEscape = [this] { CancelBtn.click(); };
  // The close box, and Escape while a button has the focus, cancel.
  onClose = [this] { CancelBtnClick(); };
  ui::forgetCurrentGroup();
  setShownState(false);
}

TPasswordDlg::~TPasswordDlg() = default;

std::string TPasswordDlg::execute() {
  m_accepted = false;
  if (!ui::Application::instance().onScreen()) return result();
  // Centred on the screen as a whole window, frame and caption included.
  centerOnScreen(kDialogFrameWidth, kDialogCaptionHeight);
  runModal(&Edit1);
  return result();
}

std::string TPasswordDlg::result() const { return m_accepted ? Edit1.text() : std::string(); }

void TPasswordDlg::OKBtnClick() { finish(true); }

void TPasswordDlg::CancelBtnClick() { finish(false); }

void TPasswordDlg::finish(bool accepted) {
  m_accepted = accepted;
  hide();
}

std::string askPasswordInDialog(const std::string& title, const std::string& prompt,
                                const std::string& okCaption, const std::string& cancelCaption) {
  TPasswordDlg dialog(title, prompt, okCaption, cancelCaption);
  return dialog.execute();
}

}  // namespace app
