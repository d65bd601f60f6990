// The native widgets of the Win32 back end: the system's own child windows (BUTTON, STATIC,
// EDIT, COMBOBOX), the menu bar, and
// painted windows, with the small widget protocol that the controls share with the FLTK back
// end (window coordinates, show/hide, activate, label, callback, draw). Windows' headers stay
// out: a window handle is kept as a plain pointer.
#pragma once

#include <string>
#include <utility>
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
  // The window's font ("MS Sans Serif", -11) unless a control asks for kNativeBoldFont or
  // another size.
  int labelfont() const { return m_font; }
  void labelfont(int font);
  int labelsize() const { return m_size; }
  void labelsize(int size);

  // Repaints the whole widget.
  void redraw();
  // What a painted widget must repaint: kDamageAll after redraw(), or its own bits.
  unsigned char damage() const { return m_damage; }
  void damage(unsigned char bits);
  // Repaints the part (x, y, w, h), in window coordinates, of this widget's area.
  void damage(unsigned char bits, int x, int y, int w, int h);
  void clear_damage() { m_damage = 0; }
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
  void do_callback(NativeWidget* widget, void* data) {
    if (m_callback) m_callback(widget, data);
  }

  // A notification of the system control (BN_CLICKED, EN_CHANGE, CBN_SELCHANGE, ...); the
  // default runs the callback.
  virtual void notified(int code);
  // Whether the control takes this key (a virtual-key code) itself rather than leaving it to
  // the dialog manager (Tab, Enter, Escape, the arrows).
  virtual bool wantsKey(unsigned virtualKey) const {
    (void)virtualKey;
    return false;
  }

  // Key events of system controls, seen before the control: kKeyChar for a typed character,
  // kKeyDown for a pressed key; typedKey() tells which. Returning 1 keeps it from the control.
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
    unsigned long exStyle = 0;
    // Added to the height of the native window (the list of a drop-down list).
    int extraHeight = 0;
    // No window at all (the menu bar, which belongs to its top-level window).
    bool windowless = false;
  };
  virtual NativeKind nativeKind() const { return {}; }
  // Brings the native window up to date after it was made or changed (the label's text).
  virtual void syncNative();
  void setNativeText(const std::string& text);

 private:
  friend class NativeGroup;
  friend class NativeWindow;
  void setActive(bool active);
  // Hands the label font to the native window.
  void applyFont();
  // Brings the native enabled and shown states in line with this widget's and its parents'.
  void applyStates();
  // Visible up to its top-level window, which shows its children with it.
  bool shownInWindow() const;
  // The native window's top in its top-level window's client area, below any menu bar.
  int nativeY() const;
  void createNative(NativeHandle host);
  // Makes the native window if there is none yet and puts it (and what it holds) in its place
  // in the tab order.
  void placeInZOrder(NativeHandle host);
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
  unsigned char m_damage = 0;
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
  // Sets the shown state without showing or hiding the window (no display in use).
  void setVisibleState(bool visible) { m_visible = visible; }
  // The border icons: the system menu (close box) and the minimise box.
  void setFrame(bool systemMenu, bool minimize);
  void setOwnerWindow(NativeWindow* owner);
  // The top `height` pixels of the window's area are the system's menu bar, outside the
  // native client area.
  void reserveMenuBar(int height);
  int menuBarHeight() const { return m_menuBarHeight; }
  // Puts an HMENU on the window (null takes it off); the window owns it from then on.
  void setMenuBar(NativeHandle menu, NativeWidget* bar);
  // A command chosen in the menu bar.
  void menuCommand(int id);
  // The windows that a modal loop disabled for this one: they are enabled again before it
  // hides, because the system activates the next enabled window in its place.
  void disableWhileShown(std::vector<NativeHandle> others) {
    m_disabledWhileShown = std::move(others);
  }
  void enableTheDisabled();
  // A control of this window took the focus.
  void focusTaken(NativeHandle control) { m_lastFocus = control; }
  // The window was activated: true when it gave the focus to one of its controls.
  bool focusOnActivation();

 private:
  int m_menuBarHeight = 0;
  NativeWidget* m_menuBar = nullptr;
  std::vector<NativeHandle> m_disabledWhileShown;
  NativeHandle m_lastFocus = nullptr;  // the control that took the focus last
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

class NativeRadioButton : public NativeWidget {
 public:
  using NativeWidget::NativeWidget;
  int value() const;
  // Only the checked button of a group is a tab stop.
  void value(int checked);
  // Checks this one and unchecks the other radio buttons of the same parent.
  void setonly();
  // A click checks an unchecked button and runs the callback; a checked one stays as it is.
  void notified(int code) override;
  bool wantsKey(unsigned virtualKey) const override;

 protected:
  NativeKind nativeKind() const override;
  void syncNative() override;

 private:
  bool m_checked = false;
};

// A single-line EDIT. The program's value() runs no callback; typing and replace() do.
class NativeInput : public NativeWidget {
 public:
  using NativeWidget::NativeWidget;
  using NativeWidget::size;
  const char* value() const;
  void value(const char* text);
  // The caret and the other end of the selection, in characters.
  int position() const;
  int mark() const;
  // Puts the caret at `at`, with nothing selected.
  void position(int at);
  // The number of characters.
  int size() const;
  void replace(int from, int to, const char* text, int length);
  void maximum_size(int characters);
  // Shows `mask` for every character (0: the text); the system's edit then refuses to copy.
  void setMask(char mask);
  // The edit's font is its label font here.
  int textfont() const { return labelfont(); }
  void textfont(int font) { labelfont(font); }
  int textsize() const { return labelsize(); }
  void textsize(int size) { labelsize(size); }
  void notified(int code) override;
  // Escape and Enter go to the edit's key hook rather than to the dialog manager.
  bool wantsKey(unsigned virtualKey) const override;

 protected:
  NativeKind nativeKind() const override;
  void syncNative() override;

 private:
  std::pair<int, int> selection() const;

  mutable std::string m_text;
  // Without a window: where the caret stands, -1 for the end of the text.
  int m_caret = -1;
  int m_limit = 0;
  char m_mask = 0;
  bool m_settingText = false;
};

// A drop-down list (COMBOBOX with CBS_DROPDOWNLIST). Selecting by program runs nothing.
class NativeChoice : public NativeWidget {
 public:
  using NativeWidget::NativeWidget;
  void setItems(const std::vector<std::string>& items);
  // The selected index, -1 for none.
  int selected() const;
  void select(int index);
  void notified(int code) override;

 protected:
  NativeKind nativeKind() const override;
  void syncNative() override;

 private:
  std::vector<std::string> m_items;
  int m_selected = -1;
  bool m_applied = false;
};

// A group box: a captioned frame (BUTTON with BS_GROUPBOX) whose children are windows of the
// top-level window, placed after it in the tab order.
class NativeGroupBox : public NativeGroup {
 public:
  using NativeGroup::NativeGroup;

 protected:
  NativeKind nativeKind() const override;
};

// The menu bar of a top-level window: an HMENU tree, rebuilt whole on every change.
class NativeMenuBar : public NativeWidget {
 public:
  using NativeWidget::NativeWidget;
  ~NativeMenuBar() override;

  // Starts a new tree; the one on screen stays until install().
  NativeHandle beginMenu();
  NativeHandle addSubmenu(NativeHandle menu, const std::string& text, bool enabled);
  struct EntryState {
    bool enabled = true;
    bool checked = false;
    bool radio = false;
    bool dividerAfter = false;
  };
  // The callback runs with `data` when the entry is chosen.
  void addCommand(NativeHandle menu, const std::string& text, void* data, EntryState state);
  void addDivider(NativeHandle menu);
  // Puts the new tree on the window.
  void install();
  void chosen(int id);

 protected:
  NativeKind nativeKind() const override;

 private:
  NativeHandle m_building = nullptr;
  std::vector<void*> m_commands;
  std::vector<void*> m_pendingCommands;
};

// Menu commands are numbered from here, below the controls' ids (1000 up) and above IDOK and
// IDCANCEL.
inline constexpr int kFirstMenuId = 100;

// The HMENU being built.
using NativeMenuArray = NativeHandle;

// A one-line STATIC control whose text its owner sets in draw().
class NativeBox : public NativeWidget {
 public:
  using NativeWidget::NativeWidget;
  // The STATIC style of the text: SS_LEFTNOWORDWRAP, SS_LEFT (word-wrapped) or SS_CENTER.
  void setTextStyle(unsigned long style);

 protected:
  NativeKind nativeKind() const override;
  void syncNative() override;

 private:
  unsigned long m_textStyle = 0x0C;  // SS_LEFTNOWORDWRAP
};

// A STATIC control paints its whole area itself.
inline void makeOpaque(NativeBox&) {}

inline constexpr int kNativeFont = 0;
// "Arial", bold: the face of the dialogs that do not use the window's font.
inline constexpr int kNativeBoldFont = 1;

inline constexpr int kKeyChar = 1;
inline constexpr int kKeyDown = 2;
// The character (UTF-16 unit) or virtual-key code of the key event being handled.
unsigned typedKey();

// Painted widgets get their parent's face painted under them.
inline void paintsItself(NativeWidget&) {}

// The pointer events of painted widgets and the state of the event being handled.
inline constexpr int kEventPush = 10;
inline constexpr int kEventRelease = 11;
inline constexpr int kEventDrag = 12;
inline constexpr int kEventMove = 13;
inline constexpr int kEventEnter = 14;
inline constexpr int kEventLeave = 15;
// Escape in a top-level window, handed to the window's handle().
inline constexpr int kEventEscape = 16;
inline constexpr int kLeftButton = 1;
inline constexpr unsigned char kDamageUser = 0x10;
inline constexpr unsigned char kDamageAll = 0x80;
// A cursor (an HCURSOR behind an opaque type).
struct NativeCursorImage;
int eventButton();
// Non-zero when the push being handled is the second of a double click.
int eventClicks();
// In window coordinates.
int eventX();
int eventY();
bool eventInside(const NativeWidget& widget);

// One-shot timers on the message loop; repeatTimeout inside the handler keeps the rhythm.
using TimeoutHandler = void (*)(void*);
void addTimeout(double seconds, TimeoutHandler handler, void* data);
void repeatTimeout(double seconds, TimeoutHandler handler, void* data);
void removeTimeout(TimeoutHandler handler, void* data);

// Edits take the window font as every control does.
inline void setupNativeInput(NativeInput&, int) {}
// A group box lays out nothing after its children moved.
inline void childrenMoved(NativeGroup&) {}

// Widgets here never join a group by themselves.
inline void forgetCurrentGroup() {}

// Whether the keyboard focus is in `widget` (on FLTK also in a widget inside it).
bool holdsFocus(const NativeWidget& widget);

}  // namespace ui
