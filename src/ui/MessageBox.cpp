// Message boxes: layout after the windows' own (icon left, text beside it, buttons centred
// below), icons drawn with FLTK's primitives, and the modal wait for an answer.
#include "ui/MessageBox.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "ui/Geometry.h"
#include "ui/WindowHints.h"

namespace ui {

namespace {

constexpr int kMargin = 11;
constexpr int kIconSize = 32;
constexpr int kIconTextGap = 12;
constexpr int kMaxTextWidth = 420;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kTextButtonGap = 16;
constexpr int kMinWidth = 160;
// Room in the title bar beside the caption for the frame's icon and buttons.
constexpr int kTitleBarExtra = 120;

struct Layout {
  int width, height;
  int textX, textY, textWidth, textHeight;
  int buttonsY;
};

Layout layoutFor(const std::string& caption, const std::string& text, int buttonCount) {
  Layout l{};
  // The caption is not cut short in the title bar.
  fl_font(FL_HELVETICA_BOLD, kFontSize + 3);
  const int captionWidth = int(fl_width(caption.c_str())) + kTitleBarExtra;
  fl_font(FL_HELVETICA, kFontSize);
  int tw = kMaxTextWidth, th = 0;
  fl_measure(text.c_str(), tw, th, 0);
  l.textX = kMargin + kIconSize + kIconTextGap;
  l.textWidth = tw;
  l.textHeight = th;
  // A short text stands beside the middle of the icon, a long one starts at its top.
  l.textY = kMargin + std::max(0, (kIconSize - th) / 2);
  int contentBottom = std::max(kMargin + kIconSize, l.textY + th);
  l.buttonsY = contentBottom + kTextButtonGap;
  int buttonsWidth = buttonCount * kButtonWidth + (buttonCount - 1) * kButtonGap;
  l.width = std::max({l.textX + tw + kMargin, buttonsWidth + 2 * kMargin, captionWidth, kMinWidth});
  l.height = l.buttonsY + kButtonHeight + kMargin;
  return l;
}

// Draws a filled circle with a darker rim.
void disc(int x, int y, int size, Fl_Color fill, Fl_Color rim) {
  fl_color(fill);
  fl_pie(x, y, size, size, 0, 360);
  fl_color(rim);
  fl_arc(x, y, size, size, 0, 360);
}

}  // namespace

// The icon, drawn rather than loaded so that it is sharp and needs no files.
class MessageBox::IconView : public Fl_Widget {
 public:
  IconView(int x, int y, Icon icon) : Fl_Widget(x, y, kIconSize, kIconSize), m_icon(icon) {}

  void draw() override {
    const int x0 = x(), y0 = y(), c = kIconSize / 2;
    switch (m_icon) {
      case Icon::Error:
        disc(x0, y0, kIconSize, fl_rgb_color(0xD8, 0x24, 0x24), fl_rgb_color(0x90, 0x10, 0x10));
        fl_color(FL_WHITE);
        fl_line_style(FL_SOLID | FL_CAP_ROUND, 4);
        fl_line(x0 + 10, y0 + 10, x0 + 21, y0 + 21);
        fl_line(x0 + 21, y0 + 10, x0 + 10, y0 + 21);
        fl_line_style(0);
        break;
      case Icon::Information:
        disc(x0, y0, kIconSize, fl_rgb_color(0x24, 0x5C, 0xD0), fl_rgb_color(0x14, 0x34, 0x80));
        fl_color(FL_WHITE);
        fl_pie(x0 + c - 3, y0 + 6, 6, 6, 0, 360);  // the dot
        fl_rectf(x0 + c - 3, y0 + 14, 6, 12);      // the stem
        break;
      case Icon::Question:
        disc(x0, y0, kIconSize, fl_rgb_color(0x24, 0x5C, 0xD0), fl_rgb_color(0x14, 0x34, 0x80));
        fl_color(FL_WHITE);
        fl_font(FL_HELVETICA_BOLD, 24);
        fl_draw("?", x0, y0, kIconSize, kIconSize, FL_ALIGN_CENTER, nullptr, 0);
        break;
      case Icon::Warning:
        fl_color(fl_rgb_color(0xF4, 0xC8, 0x10));
        fl_polygon(x0 + c, y0 + 1, x0 + kIconSize - 1, y0 + kIconSize - 3, x0, y0 + kIconSize - 3);
        fl_color(fl_rgb_color(0x70, 0x58, 0x00));
        fl_loop(x0 + c, y0 + 1, x0 + kIconSize - 1, y0 + kIconSize - 3, x0, y0 + kIconSize - 3);
        fl_color(FL_BLACK);
        fl_rectf(x0 + c - 2, y0 + 10, 4, 11);  // the stroke
        fl_rectf(x0 + c - 2, y0 + 23, 4, 4);   // the point
        break;
    }
  }

 private:
  Icon m_icon;
};

// The text, drawn as it is: "@" and "&" in paths are not FLTK's symbols or shortcut marks.
class MessageBox::TextView : public Fl_Widget {
 public:
  TextView(int x, int y, int w, int h, std::string text)
      : Fl_Widget(x, y, w, h), m_text(std::move(text)) {}

  void draw() override {
    fl_font(FL_HELVETICA, kFontSize);
    fl_color(FL_FOREGROUND_COLOR);
    fl_draw(m_text.c_str(), x(), y(), w(), h(), FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP,
            nullptr, 0);
  }

 private:
  std::string m_text;
};

MessageBox::MessageBox(const std::string& caption, const std::string& text, Icon icon,
                       Buttons buttons)
    : Fl_Double_Window(0, 0, kMinWidth, kMinWidth), m_icon(icon), m_kind(buttons) {
  const std::vector<const char*> captions = buttons == Buttons::Ok
                                                ? std::vector<const char*>{"OK"}
                                                : std::vector<const char*>{"Yes", "No"};
  const Layout l = layoutFor(caption, text, int(captions.size()));
  size(l.width, l.height);
  size_range(l.width, l.height, l.width, l.height);
  copy_label(caption.c_str());

  begin();
  new IconView(kMargin, kMargin, icon);
  new TextView(l.textX, l.textY, l.textWidth, l.textHeight, text);
  const int count = int(captions.size());
  int bx = (l.width - (count * kButtonWidth + (count - 1) * kButtonGap)) / 2;
  for (int index = 0; index < count; ++index) {
    auto* button = new Fl_Button(bx, l.buttonsY, kButtonWidth, kButtonHeight, captions[index]);
    button->labelfont(FL_HELVETICA);
    button->labelsize(kFontSize);
    // The first button answers yes: it carries a non-null pointer.
    button->callback(
        [](Fl_Widget* w, void* yes) {
          static_cast<MessageBox*>(w->window())->answer(yes != nullptr);
        },
        index == 0 ? this : nullptr);
    m_buttons.push_back(button);
    bx += kButtonWidth + kButtonGap;
  }
  end();
  Fl_Group::current(nullptr);

  // The close box and Escape answer an OK box; a question must be answered with a button.
  callback([](Fl_Widget* w, void*) {
    auto* box = static_cast<MessageBox*>(w);
    if (box->m_kind == Buttons::Ok) box->answer(true);
  });
}

MessageBox::~MessageBox() = default;

std::vector<std::string> MessageBox::buttonCaptions() const {
  std::vector<std::string> out;
  for (const Fl_Button* b : m_buttons) out.emplace_back(b->label());
  return out;
}

void MessageBox::centreOn(Fl_Window* owner) {
  int sx = 0, sy = 0, sw = 0, sh = 0;
  if (owner != nullptr)
    Fl::screen_work_area(sx, sy, sw, sh, owner->x() + owner->w() / 2, owner->y() + owner->h() / 2);
  else
    Fl::screen_work_area(sx, sy, sw, sh, 0);
  int cx = owner != nullptr ? owner->x() + owner->w() / 2 : sx + sw / 2;
  int cy = owner != nullptr ? owner->y() + owner->h() / 2 : sy + sh / 2;
  int left = std::clamp(cx - w() / 2, sx, std::max(sx, sx + sw - w()));
  int top = std::clamp(cy - h() / 2, sy, std::max(sy, sy + sh - h()));
  position(left, top);
}

bool MessageBox::run(Fl_Window* owner) {
  centreOn(owner);
  set_modal();
  show();
  applyWindowHints(*this,
                   {m_kind == Buttons::Ok ? BorderIcons::SystemMenu : BorderIcons::NoIcons, owner});
  m_buttons.front()->take_focus();
  while (shown()) Fl::wait();
  return m_result;
}

void MessageBox::answer(bool yes) {
  m_result = yes;
  hide();
}

int MessageBox::handle(int event) {
  // Enter presses the button that has the focus, as on the windows.
  if (event == FL_KEYBOARD && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
    for (Fl_Button* b : m_buttons) {
      if (Fl::focus() == b) {
        b->do_callback();
        return 1;
      }
    }
    m_buttons.front()->do_callback();
    return 1;
  }
  return Fl_Double_Window::handle(event);
}

}  // namespace ui
