// Masked edits on FLTK: FLTK masks with bullets, these edits with their own password character.
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>

#include <algorithm>

#include "ui/Edit.h"

namespace ui {

void Edit::applyPasswordChar() {
  // FLTK's secret input also refuses to copy its text out.
  Fl_Input::type(m_passwordChar ? FL_SECRET_INPUT : FL_NORMAL_INPUT);
  redraw();
}

void Edit::draw() {
  if (!m_passwordChar) return Fl_Input::draw();
  const Fl_Boxtype frame = box();
  draw_box(frame, color());
  const int left = x() + Fl::box_dx(frame) + 2;
  const int top = y() + Fl::box_dy(frame);
  const int width = w() - Fl::box_dw(frame) - 4;
  const int height = h() - Fl::box_dh(frame);
  const char* shown = value();
  // One mask per character, however many bytes the character takes.
  const int count = fl_utf_nb_char(reinterpret_cast<const unsigned char*>(shown), size());
  const int caret = fl_utf_nb_char(reinterpret_cast<const unsigned char*>(shown), position());
  const int anchor = fl_utf_nb_char(reinterpret_cast<const unsigned char*>(shown), mark());
  const char mask[] = {m_passwordChar, 0};
  fl_font(textfont(), textsize());
  const int step = std::max(1, int(fl_width(mask)));
  // The caret stays in view: scroll by as much as it left the box.
  const int caretX = caret * step;
  if (caretX - m_maskScroll > width - 1) m_maskScroll = caretX - (width - 1);
  if (caretX < m_maskScroll) m_maskScroll = caretX;
  if (count * step - m_maskScroll < width - 1)
    m_maskScroll = std::max(0, count * step - (width - 1));

  fl_push_clip(left, top, width, height);
  const int baseline = top + (height + fl_height()) / 2 - fl_descent();
  const int from = std::min(caret, anchor), to = std::max(caret, anchor);
  const bool focused = Fl::focus() == this;
  if (from != to && focused) {
    fl_color(selection_color());
    fl_rectf(left + from * step - m_maskScroll, top + 2, (to - from) * step, height - 4);
  }
  for (int i = 0; i < count; ++i) {
    const bool selected = focused && i >= from && i < to;
    Fl_Color ink = selected ? fl_contrast(textcolor(), selection_color()) : textcolor();
    fl_color(active_r() ? ink : fl_inactive(ink));
    fl_draw(mask, left + i * step - m_maskScroll, baseline);
  }
  if (focused && from == to && active_r()) {
    fl_color(cursor_color());
    fl_rectf(left + caretX - m_maskScroll, top + 2, 2, height - 4);
  }
  fl_pop_clip();
}

}  // namespace ui
