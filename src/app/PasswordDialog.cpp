// The password prompt: built from its description in code, run in a modal loop of its own.
#include "app/PasswordDialog.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>

#include <algorithm>

#include "ui/Application.h"

namespace app {

namespace {

constexpr int kClientWidth = kPasswordDialogOuterWidth - 2 * kDialogFrameWidth;
constexpr int kClientHeight =
    kPasswordDialogOuterHeight - 2 * kDialogFrameWidth - kDialogCaptionHeight;

// "Arial" at height -12, bold.
constexpr Fl_Font kDialogFont = FL_HELVETICA_BOLD;
constexpr int kDialogFontSize = 12;

// An edit one line of the dialog's font high, as the edit sizes itself to its font.
constexpr int kEditHeight = 22;

void useDialogFont(Fl_Widget& widget) {
  widget.labelfont(kDialogFont);
  widget.labelsize(kDialogFontSize);
}

}  // namespace

TPasswordDlg::PasswordEdit::PasswordEdit(ui::Container& parent, const ui::Rect& bounds)
    : ui::Edit(parent, bounds, "", 0) {
  // A masked input that also refuses to copy its text out.
  Fl_Input::type(FL_SECRET_INPUT);
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

void TPasswordDlg::PasswordEdit::draw() {
  const Fl_Boxtype frame = box();
  draw_box(frame, color());
  const int left = x() + Fl::box_dx(frame) + 2;
  const int top = y() + Fl::box_dy(frame);
  const int width = w() - Fl::box_dw(frame) - 4;
  const int height = h() - Fl::box_dh(frame);
  const char* text = value();
  // One star per character, however many bytes the character takes.
  const int count = fl_utf_nb_char(reinterpret_cast<const unsigned char*>(text), size());
  const int caret = fl_utf_nb_char(reinterpret_cast<const unsigned char*>(text), position());
  const int anchor = fl_utf_nb_char(reinterpret_cast<const unsigned char*>(text), mark());
  fl_font(textfont(), textsize());
  const int star = std::max(1, int(fl_width("*")));
  // The caret stays in view: scroll by as much as it left the box.
  const int caretX = caret * star;
  if (caretX - m_scroll > width - 1) m_scroll = caretX - (width - 1);
  if (caretX < m_scroll) m_scroll = caretX;
  if (count * star - m_scroll < width - 1) m_scroll = std::max(0, count * star - (width - 1));

  fl_push_clip(left, top, width, height);
  const int baseline = top + (height + fl_height()) / 2 - fl_descent();
  const int from = std::min(caret, anchor), to = std::max(caret, anchor);
  const bool focused = Fl::focus() == this;
  if (from != to && focused) {
    fl_color(selection_color());
    fl_rectf(left + from * star - m_scroll, top + 2, (to - from) * star, height - 4);
  }
  for (int i = 0; i < count; ++i) {
    const bool selected = focused && i >= from && i < to;
    Fl_Color ink = selected ? fl_contrast(textcolor(), selection_color()) : textcolor();
    fl_color(active_r() ? ink : fl_inactive(ink));
    fl_draw("*", left + i * star - m_scroll, baseline);
  }
  if (focused && from == to && active_r()) {
    fl_color(cursor_color());
    fl_rectf(left + caretX - m_scroll, top + 2, 2, height - 4);
  }
  fl_pop_clip();
}

TPasswordDlg::KindButton::KindButton(ui::Container& parent, const ui::Rect& bounds,
                                     const std::string& caption, int tabOrder, Kind kind)
    : ui::Button(parent, bounds, caption, tabOrder), m_kind(kind) {}

void TPasswordDlg::KindButton::draw() {
  const bool down = value() != 0;
  draw_box(down ? fl_down(box()) : box(), color());
  const int shift = down ? 1 : 0;
  constexpr int kGlyph = 11;
  const int gx = x() + 8 + shift;
  const int gy = y() + (h() - kGlyph) / 2 + shift;
  const bool active = active_r() != 0;
  fl_line_style(FL_SOLID, 2);
  if (m_kind == Kind::OK) {
    const Fl_Color green = fl_rgb_color(0x00, 0x80, 0x00);
    fl_color(active ? green : fl_inactive(green));
    fl_line(gx, gy + kGlyph / 2, gx + kGlyph / 3, gy + kGlyph - 1, gx + kGlyph - 1, gy + 1);
  } else {
    const Fl_Color red = fl_rgb_color(0xC0, 0x00, 0x00);
    fl_color(active ? red : fl_inactive(red));
    fl_line(gx + 1, gy + 1, gx + kGlyph - 2, gy + kGlyph - 2);
    fl_line(gx + kGlyph - 2, gy + 1, gx + 1, gy + kGlyph - 2);
  }
  fl_line_style(0);

  // The caption beside the glyph; a caption too long for the button shows its beginning.
  const int tx = gx + kGlyph + 4;
  const int tw = x() + w() - 4 - tx;
  const std::string text = caption();
  fl_font(labelfont(), labelsize());
  int textWidth = tw, textHeight = 0;
  fl_measure(text.c_str(), textWidth, textHeight, 0);
  Fl_Align align = FL_ALIGN_INSIDE | FL_ALIGN_WRAP | FL_ALIGN_CLIP;
  if (textHeight > h() - 4) align |= FL_ALIGN_TOP;
  if (textWidth > tw) align |= FL_ALIGN_LEFT;
  fl_color(active ? labelcolor() : fl_inactive(labelcolor()));
  fl_push_clip(tx, y() + 2, tw, h() - 4);
  fl_draw(text.c_str(), tx, y() + 2 + shift, tw, h() - 4, align, nullptr, 0);
  fl_pop_clip();
  if (Fl::focus() == this) draw_focus();
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
  OKBtn.shortcut(FL_Enter);
  OKBtn.onClick = [this] { OKBtnClick(); };
  CancelBtn.onClick = [this] { CancelBtnClick(); };
  Edit1.onEnter = [this] { OKBtn.click(); };
  Edit1.onEscape = [this] { CancelBtn.click(); };
  // The close box, and Escape while a button has the focus, cancel.
  callback([](Fl_Widget* form, void*) { static_cast<TPasswordDlg*>(form)->CancelBtnClick(); });
  Fl_Group::current(nullptr);
  clear_visible();
}

TPasswordDlg::~TPasswordDlg() = default;

std::string TPasswordDlg::execute() {
  m_accepted = false;
  if (!ui::Application::instance().onScreen()) return result();
  // Centred on the screen as a whole window, frame and caption included.
  int sx = 0, sy = 0, sw = 0, sh = 0;
  Fl::screen_xywh(sx, sy, sw, sh, 0);
  position(sx + (sw - kPasswordDialogOuterWidth) / 2 + kDialogFrameWidth,
           sy + (sh - kPasswordDialogOuterHeight) / 2 + kDialogFrameWidth + kDialogCaptionHeight);
  set_modal();
  show();
  Edit1.take_focus();
  while (shown()) Fl::wait();
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
