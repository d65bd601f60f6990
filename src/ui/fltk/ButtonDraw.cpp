// Buttons with a glyph on FLTK: the glyph, then the caption beside it.
#include <FL/fl_draw.H>

#include <string>

#include "ui/Button.h"

namespace ui {

void Button::setDefault() { shortcut(FL_Enter); }

void Button::draw() {
  if (m_glyph == Glyph::Plain) return Fl_Button::draw();
  const bool down = value() != 0;
  draw_box(down ? fl_down(box()) : box(), color());
  const int shift = down ? 1 : 0;
  constexpr int kGlyph = 11;
  const int gx = x() + 8 + shift;
  const int gy = y() + (h() - kGlyph) / 2 + shift;
  const bool active = active_r() != 0;
  fl_line_style(FL_SOLID, 2);
  if (m_glyph == Glyph::Check) {
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

}  // namespace ui
