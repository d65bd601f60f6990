// The native widgets of the Win32 back end: the system's own child windows (BUTTON, STATIC) and
// painted windows, with the small widget protocol that the controls share with the FLTK back
// end (window coordinates, show/hide, activate, label, callback, draw). Windows' headers stay
// out: a window handle is kept as a plain pointer.
#pragma once

#include <string>
#include <vector>

namespace ui {

class NativeGroup;
class NativeWindow;

// An HWND.
using NativeHandle = void*;

class NativeWidget {
 public:
  using Callback = void (*)(NativeWidget*, void*);

  NativeWidget(int x, int y, int w, int h);
  virtual ~NativeWidget();
  NativeWidget(const NativeWidget&) = delete;
  NativeWidget& operator=(const NativeWidget&) = delete;

  // Geometry in the coordinates of the top-level window's client area.
  int x() const { return m_x; }
  int y() const { return m_y; }
  int w() const { return m_w; }
  int h() const { return m_h; }
  virtual void resize(int x, int y, int w, int h);
  void size(int w, int h) { resize(m_x, m_y, w, h); }
  void position(int x, int y) { resize(x, y, m_w, m_h); }

  virtual void show();
  virtual void hide();
  int visible() const { return m_visible; }
  int visible_r() const;
  int active() const { return m_active; }
  int active_r() const;
  void activate() { setActive(true); }
  void deactivate() { setActive(false); }

  const char* label() const { return m_hasLabel ? m_label.c_str() : nullptr; }
  void copy_label(const char* text);
  // The font is the window's one ("MS Sans Serif", -11); number and size are kept for measures.
  int labelfont() const { return m_font; }
  void labelfont(int font) { m_font = font; }
  int labelsize() const { return m_size; }
  void labelsize(int size) { m_size = size; }

  void redraw();
  NativeGroup* parent() const { return m_parent; }
  // The top-level window this widget is in, if any.
  NativeWindow* window() const;
  int take_focus();

  void callback(Callback handler, void* data = nullptr) {
    m_callback = handler;
    m_data = data;
  }
  void do_callback() {
    if (m_callback) m_callback(this, m_data);
  }

  // Events that the back end does not turn into callbacks; nothing handles them yet.
  virtual int handle(int event);
  // Paints a painted widget inside the window's paint cycle (see NativePaint.h).
  virtual void draw() {}

  NativeHandle hwnd() const { return m_hwnd; }

 protected:
  // What native window the widget is: a system class and its styles, or a painted window
  // (null class). Created once the widget sits in a top-level window.
  struct NativeKind {
    const wchar_t* className = nullptr;
    unsigned long style = 0;
  };
  virtual NativeKind nativeKind() const { return {}; }
  // Brings the native window up to date after it was made or changed (the label's text).
  virtual void syncNative();
  void setNativeText(const std::string& text);

 private:
  friend class NativeGroup;
  friend class NativeWindow;
  void setActive(bool active);
  void createNative(NativeHandle host);
  void destroyNative();

  int m_x, m_y, m_w, m_h;
  bool m_visible = true;
  bool m_active = true;
  bool m_hasLabel = false;
  std::string m_label;
  int m_font = 0;
  int m_size = 11;
  NativeGroup* m_parent = nullptr;
  NativeHandle m_hwnd = nullptr;
  Callback m_callback = nullptr;
  void* m_data = nullptr;
};

// A widget that holds others. Its children are native windows of the top-level window, so
// that their coordinates and the tab order (the windows' z-order) are the top level's.
class NativeGroup : public NativeWidget {
 public:
  using NativeWidget::NativeWidget;
  ~NativeGroup() override;

  int children() const { return int(m_children.size()); }
  NativeWidget* child(int i) const { return m_children[std::size_t(i)]; }
  int find(const NativeWidget& widget) const;
  void insert(NativeWidget& widget, int index);
  void add(NativeWidget& widget) { insert(widget, children()); }
  void remove(NativeWidget& widget);
  // Lets go of every child; the children belong to their controls, not to the group.
  void clear();

 private:
  std::vector<NativeWidget*> m_children;
};

// A top-level window; (x, y) is its outer top-left corner on the screen, w x h its client area.
class NativeWindow : public NativeGroup {
 public:
  NativeWindow(int x, int y, int w, int h);
  ~NativeWindow() override;

  void resize(int x, int y, int w, int h) override;
  void show() override;
  void hide() override;
  int shown() const { return visible(); }
  // The border icons: the system menu (close box) and the minimise box.
  void setFrame(bool systemMenu, bool minimize);
  void setOwnerWindow(NativeWindow* owner);
};

using NativeTopLevel = NativeWindow;

class NativeButton : public NativeWidget {
 public:
  using NativeWidget::NativeWidget;

 protected:
  NativeKind nativeKind() const override;
};

class NativeCheckButton : public NativeWidget {
 public:
  using NativeWidget::NativeWidget;
  int value() const;
  void value(int checked);

 protected:
  NativeKind nativeKind() const override;
  void syncNative() override;

 private:
  bool m_checked = false;
  bool m_applied = false;
};

// A one-line STATIC control whose text its owner sets in draw().
class NativeBox : public NativeWidget {
 public:
  using NativeWidget::NativeWidget;

 protected:
  NativeKind nativeKind() const override;
  void syncNative() override;
};

// A STATIC control paints its whole area itself.
inline void makeOpaque(NativeBox&) {}

inline constexpr int kNativeFont = 0;

// Widgets here never join a group by themselves.
inline void forgetCurrentGroup() {}

// Whether the keyboard focus is in `widget` (on FLTK also in a widget inside it).
bool holdsFocus(const NativeWidget& widget);

}  // namespace ui
