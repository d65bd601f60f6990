// Native widgets over the system's windows: creation, geometry, states and the window
// procedures that route clicks, closes and painting.
#include "NativeWidgets.h"

#include <windows.h>

#include <algorithm>

#include "NativePaint.h"
#include "platform/Utf16.h"

namespace ui {

namespace {

constexpr wchar_t kFormClass[] = L"FennockForm";
constexpr wchar_t kPaintedClass[] = L"FennockPainted";

HWND asHwnd(NativeHandle handle) { return static_cast<HWND>(handle); }

unsigned& currentKey() {
  static unsigned key = 0;
  return key;
}

}  // namespace

NativeHandle& shownCursor() {
  static NativeHandle cursor = nullptr;
  return cursor;
}

namespace {

// The pointer event being handled: its button and where it is in window coordinates.
struct PointerState {
  int button = 0;
  int x = 0;
  int y = 0;
  bool doubleClick = false;
  NativeWidget* hovered = nullptr;  // the painted widget the pointer entered last
};

PointerState& pointer() {
  static PointerState state;
  return state;
}

int pointerEvent(NativeWidget& widget, int event, LPARAM lParam, int button,
                 bool doubleClick = false) {
  PointerState& p = pointer();
  const int previousButton = p.button;
  if (button) p.button = button;
  p.doubleClick = doubleClick;
  // Client coordinates of the painted window; widgets speak window coordinates.
  p.x = widget.x() + short(LOWORD(lParam));
  p.y = widget.y() + short(HIWORD(lParam));
  const int used = widget.handle(event);
  if (!button) p.button = previousButton;
  return used;
}

NativeWidget* widgetOf(HWND hwnd) {
  return reinterpret_cast<NativeWidget*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

PaintTarget*& paintTarget() {
  static PaintTarget* current = nullptr;
  return current;
}

// Enter outside of the push buttons presses the form's default button, if it has one.
void pressDefaultButton(HWND form) {
  for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) && IsWindowVisible(child) &&
        IsWindowEnabled(child)) {
      SendMessageW(child, BM_CLICK, 0, 0);
      return;
    }
  }
}

LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  switch (message) {
    case WM_COMMAND: {
      // A control's notification carries its own id; the dialog manager's Enter and Escape
      // come as IDOK and IDCANCEL, which no control has.
      HWND from = reinterpret_cast<HWND>(lParam);
      if (from && LOWORD(wParam) == GetDlgCtrlID(from)) {
        if (NativeWidget* widget = widgetOf(from)) widget->notified(HIWORD(wParam));
      } else if (!from && HIWORD(wParam) == 0 && LOWORD(wParam) >= kFirstMenuId) {
        if (auto* window = dynamic_cast<NativeWindow*>(widgetOf(hwnd)))
          window->menuCommand(LOWORD(wParam));
      } else if (LOWORD(wParam) == IDOK) {
        // The forms have no default button: Enter presses the push button that has the focus.
        // Escape does nothing.
        HWND focus = GetFocus();
        if (focus && GetParent(focus) == hwnd &&
            (SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
             (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON)))
          SendMessageW(focus, BM_CLICK, 0, 0);
        else
          pressDefaultButton(hwnd);
      } else if (LOWORD(wParam) == IDCANCEL) {
        // Escape: the form decides (a dialog cancels).
        if (NativeWidget* widget = widgetOf(hwnd)) widget->handle(kEventEscape);
      }
      return 0;
    }
    case WM_ACTIVATE: {
      // A minimised window has no control to give the focus to.
      auto* window = dynamic_cast<NativeWindow*>(widgetOf(hwnd));
      if (window && LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam) && window->focusOnActivation())
        return 0;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    case WM_CLOSE:
      // The close box and the system menu: the form decides.
      if (NativeWidget* widget = widgetOf(hwnd)) widget->do_callback();
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK paintedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  NativeWidget* widget = widgetOf(hwnd);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted in WM_PAINT, without flicker
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (widget) {
        // What draw() leaves out (transparent pixels) shows the window's face, as under FLTK
        // the parent's box does; a blink step paints over what is there.
        if (widget->damage() != kDamageUser)
          FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
        PaintTarget target{dc, widget->x(), widget->y()};
        PaintTarget* previous = paintTarget();
        paintTarget() = &target;
        widget->draw();
        paintTarget() = previous;
        widget->clear_damage();
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      if (!widget) break;
      SetCapture(hwnd);
      // The class asks for double clicks: the second press comes as its own message.
      const bool second =
          message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
      const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
      const bool middle = message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK;
      pointerEvent(*widget, kEventPush, lParam, left ? kLeftButton : middle ? 2 : 3, second);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (!widget) break;
      if (GetCapture() == hwnd) ReleaseCapture();
      pointerEvent(*widget, kEventRelease, lParam,
                   message == WM_LBUTTONUP   ? kLeftButton
                   : message == WM_MBUTTONUP ? 2
                                             : 3);
      return 0;
    case WM_MOUSEMOVE:
      if (!widget) break;
      if (pointer().hovered != widget) {
        pointer().hovered = widget;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        pointerEvent(*widget, kEventEnter, lParam, 0);
      }
      pointerEvent(*widget, GetCapture() == hwnd ? kEventDrag : kEventMove, lParam, 0);
      return 0;
    case WM_MOUSELEAVE:
      if (!widget) break;
      if (pointer().hovered == widget) pointer().hovered = nullptr;
      widget->handle(kEventLeave);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && shownCursor()) {
        SetCursor(static_cast<HCURSOR>(shownCursor()));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The system's group box draws only its frame and caption, and the window clips its children:
// the face inside is painted here, around the group's controls (windows of their own).
void fillGroupFace(HWND hwnd, const NativeGroup& group) {
  RECT update{};
  if (!GetUpdateRect(hwnd, &update, FALSE)) return;
  HDC dc = GetDC(hwnd);
  for (int i = 0; i < group.children(); ++i) {
    HWND child = asHwnd(group.child(i)->hwnd());
    if (!child || !IsWindowVisible(child)) continue;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  FillRect(dc, &update, GetSysColorBrush(COLOR_BTNFACE));
  ReleaseDC(hwnd, dc);
}

// Every system control runs through this first: its widget sees the keys before the control,
// and says which keys it takes from the dialog manager.
LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  NativeWidget* widget = widgetOf(hwnd);
  const auto base = reinterpret_cast<WNDPROC>(GetPropW(hwnd, L"FennockBase"));
  if (!base) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (widget) {
    switch (message) {
      case WM_GETDLGCODE: {
        LRESULT code = CallWindowProcW(base, hwnd, message, wParam, lParam);
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && widget->wantsKey(unsigned(msg->wParam)))
          code |= DLGC_WANTMESSAGE;
        return code;
      }
      case WM_PAINT:
        if (auto* group = dynamic_cast<NativeGroup*>(widget)) fillGroupFace(hwnd, *group);
        break;
      case WM_SETFOCUS:
        if (NativeWindow* top = widget->window()) top->focusTaken(hwnd);
        break;
      case WM_SYSKEYDOWN:
        // F10 opens the form's menu bar whichever control has the focus; Wine's drop-down list
        // keeps its system keys to itself, so the bar is opened here for every control.
        if (wParam == VK_F10 && !(GetKeyState(VK_SHIFT) & 0x8000)) {
          SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, 0);
          return 0;
        }
        break;
      case WM_CHAR:
      case WM_KEYDOWN: {
        const unsigned previous = currentKey();
        currentKey() = unsigned(wParam);
        const int used = widget->handle(message == WM_CHAR ? kKeyChar : kKeyDown);
        currentKey() = previous;
        if (used) return 0;
        break;
      }
      default:
        break;
    }
  }
  return CallWindowProcW(base, hwnd, message, wParam, lParam);
}

void registerClasses() {
  static const bool registered = [] {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = formProc;
    form.hInstance = GetModuleHandleW(nullptr);
    form.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    form.lpszClassName = kFormClass;
    RegisterClassExW(&form);
    WNDCLASSEXW painted = form;
    painted.lpfnWndProc = paintedProc;
    painted.hbrBackground = nullptr;
    painted.hIcon = nullptr;
    painted.style = CS_DBLCLKS;
    painted.lpszClassName = kPaintedClass;
    RegisterClassExW(&painted);
    return true;
  }();
  (void)registered;
}

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;

DWORD formStyle(HWND hwnd) { return DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE)); }

// The outer rectangle of a window whose client area is w x h at the outer corner (x, y).
RECT outerRect(HWND hwnd, int x, int y, int w, int h) {
  RECT r{0, 0, w, h};
  AdjustWindowRectEx(&r, formStyle(hwnd), GetMenu(hwnd) != nullptr,
                     DWORD(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
  return {x, y, x + (r.right - r.left), y + (r.bottom - r.top)};
}

}  // namespace

const PaintTarget* currentPaintTarget() { return paintTarget(); }

unsigned typedKey() { return currentKey(); }

int eventButton() { return pointer().button; }
int eventClicks() { return pointer().doubleClick ? 1 : 0; }
int eventX() { return pointer().x; }
int eventY() { return pointer().y; }

bool eventInside(const NativeWidget& widget) {
  const PointerState& p = pointer();
  return p.x >= widget.x() && p.x < widget.x() + widget.w() && p.y >= widget.y() &&
         p.y < widget.y() + widget.h();
}

void* windowFont() { return windowFont(kNativeFont, 11); }

void* windowFont(int face, int size) {
  // The few fonts in use live as long as the program (a plain table: the merger, which links
  // this, must stay small); the system maps a missing face to its nearest one.
  struct Made {
    int face, size;
    HFONT font;
  };
  static Made made[8];
  static int count = 0;
  for (int i = 0; i < count; ++i)
    if (made[i].face == face && made[i].size == size) return made[i].font;
  const bool bold = face == kNativeBoldFont;
  HFONT font =
      CreateFontW(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                  DEFAULT_PITCH | FF_SWISS, bold ? L"Arial" : L"MS Sans Serif");
  if (!font) return GetStockObject(DEFAULT_GUI_FONT);
  if (count < 8) made[count++] = {face, size, font};
  return font;
}

void NativeWidget::labelfont(int font) {
  if (font == m_font) return;
  m_font = font;
  applyFont();
}

void NativeWidget::labelsize(int size) {
  if (size == m_size) return;
  m_size = size;
  applyFont();
}

void NativeWidget::applyFont() {
  if (m_hwnd)
    SendMessageW(asHwnd(m_hwnd), WM_SETFONT, reinterpret_cast<WPARAM>(windowFont(m_font, m_size)),
                 TRUE);
}

NativeWidget::NativeWidget(int x, int y, int w, int h) : m_x(x), m_y(y), m_w(w), m_h(h) {}

NativeWidget::~NativeWidget() {
  if (m_parent) m_parent->remove(*this);
  destroyNative();
}

int NativeWidget::nativeY() const {
  const NativeWindow* top = window();
  return m_y - (top ? top->menuBarHeight() : 0);
}

void NativeWidget::resize(int x, int y, int w, int h) {
  m_x = x;
  m_y = y;
  m_w = w;
  m_h = h;
  if (m_hwnd) MoveWindow(asHwnd(m_hwnd), x, nativeY(), w, h + nativeKind().extraHeight, TRUE);
}

void NativeWidget::show() {
  m_visible = true;
  applyStates();
}

void NativeWidget::hide() {
  m_visible = false;
  applyStates();
}

void NativeWidget::applyStates() {
  // The system does not pass a group box's state on to its controls, which are windows of
  // the top-level window: each takes the state of its whole parent chain.
  if (m_hwnd) {
    EnableWindow(asHwnd(m_hwnd), active_r() ? TRUE : FALSE);
    ShowWindow(asHwnd(m_hwnd), shownInWindow() ? SW_SHOWNA : SW_HIDE);
  }
  if (auto* group = dynamic_cast<NativeGroup*>(this); group && !dynamic_cast<NativeWindow*>(this))
    for (int i = 0; i < group->children(); ++i) group->child(i)->applyStates();
}

int NativeWidget::visible_r() const {
  for (const NativeWidget* w = this; w; w = w->m_parent)
    if (!w->m_visible) return 0;
  return 1;
}

bool NativeWidget::shownInWindow() const {
  // The top-level window shows or hides its children with it.
  for (const NativeWidget* w = this; w && !dynamic_cast<const NativeWindow*>(w); w = w->m_parent)
    if (!w->m_visible) return false;
  return true;
}

int NativeWidget::active_r() const {
  for (const NativeWidget* w = this; w; w = w->m_parent)
    if (!w->m_active) return 0;
  return 1;
}

void NativeWidget::setActive(bool active) {
  m_active = active;
  if (auto* top = dynamic_cast<NativeWindow*>(this)) {
    // A disabled window takes no input at all; its controls show it greyed.
    if (m_hwnd) EnableWindow(asHwnd(m_hwnd), active ? TRUE : FALSE);
    for (int i = 0; i < top->children(); ++i) top->child(i)->applyStates();
    return;
  }
  applyStates();
}

void NativeWidget::copy_label(const char* text) {
  m_hasLabel = text != nullptr;
  m_label = text ? text : "";
  if (m_hwnd) syncNative();
}

void NativeWidget::redraw() {
  m_damage = kDamageAll;
  if (!m_hwnd) return;
  syncNative();
  InvalidateRect(asHwnd(m_hwnd), nullptr, TRUE);
}

void NativeWidget::damage(unsigned char bits) {
  m_damage |= bits;
  if (m_hwnd) InvalidateRect(asHwnd(m_hwnd), nullptr, FALSE);
}

void NativeWidget::damage(unsigned char bits, int x, int y, int w, int h) {
  m_damage |= bits;
  if (!m_hwnd) return;
  // Into the native window's client coordinates; a top level's area starts below its menu bar
  // and holds its children's windows, which repaint too.
  auto* top = dynamic_cast<NativeWindow*>(this);
  const int left = x - (top ? 0 : m_x), upper = y - (top ? top->menuBarHeight() : m_y);
  RECT r{left, upper, left + w, upper + h};
  RedrawWindow(asHwnd(m_hwnd), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

NativeWindow* NativeWidget::window() const {
  NativeGroup* top = m_parent;
  while (top && top->m_parent) top = top->m_parent;
  return dynamic_cast<NativeWindow*>(top);
}

int NativeWidget::take_focus() {
  if (!m_hwnd || !visible_r() || !active_r()) return 0;
  SetFocus(asHwnd(m_hwnd));
  return 1;
}

int NativeWidget::handle(int) { return 0; }

void NativeWidget::notified(int code) {
  if (code == BN_CLICKED) do_callback();
}

void NativeWidget::syncNative() {
  if (m_hasLabel) setNativeText(m_label);
}

void NativeWidget::setNativeText(const std::string& text) {
  SetWindowTextW(asHwnd(m_hwnd), platform::toUtf16(text).c_str());
}

void NativeWidget::createNative(NativeHandle host) {
  if (m_hwnd || !host) return;
  registerClasses();
  const NativeKind kind = nativeKind();
  if (kind.windowless) return;
  DWORD style = WS_CHILD | kind.style;
  if (shownInWindow()) style |= WS_VISIBLE;
  if (!active_r()) style |= WS_DISABLED;
  // Ids from 1000 up, clear of IDOK, IDCANCEL and the menu commands.
  static int nextId = 1000;
  HWND hwnd = CreateWindowExW(kind.exStyle, kind.className ? kind.className : kPaintedClass, L"",
                              style, m_x, nativeY(), m_w, m_h + kind.extraHeight, asHwnd(host),
                              reinterpret_cast<HMENU>(INT_PTR(nextId++)), GetModuleHandleW(nullptr),
                              nullptr);
  if (!hwnd) return;
  m_hwnd = hwnd;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (kind.className) {
    SetPropW(hwnd, L"FennockBase", reinterpret_cast<HANDLE>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)));
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc));
  }
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont(m_font, m_size)), FALSE);
  syncNative();
}

void NativeWidget::destroyNative() {
  if (!m_hwnd) return;
  HWND hwnd = asHwnd(m_hwnd);
  m_hwnd = nullptr;
  if (IsWindow(hwnd)) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (HANDLE base = GetPropW(hwnd, L"FennockBase")) {
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(base));
      RemovePropW(hwnd, L"FennockBase");
    }
    DestroyWindow(hwnd);
  }
}

NativeWindow::NativeWindow(int x, int y, int w, int h) : NativeGroup(x, y, w, h) {
  registerClasses();
  NativeWidget::hide();  // a window shows on show()
  HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, L"", kFormStyle | WS_SYSMENU, x, y,
                              w, h, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  m_hwnd = hwnd;
  if (!hwnd) return;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont()), FALSE);
  resize(x, y, w, h);
}

NativeWindow::~NativeWindow() { clear(); }

void NativeWindow::resize(int x, int y, int w, int h) {
  m_x = x;
  m_y = y;
  m_w = w;
  m_h = h;
  if (!m_hwnd) return;
  const RECT r = outerRect(asHwnd(m_hwnd), x, y, w, h - m_menuBarHeight);
  SetWindowPos(asHwnd(m_hwnd), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeWindow::show() {
  m_visible = true;
  if (!m_hwnd) return;
  ShowWindow(asHwnd(m_hwnd), SW_SHOW);
  SetForegroundWindow(asHwnd(m_hwnd));
  // The first tab stop takes the focus, as in a dialog.
  if (HWND first = GetNextDlgTabItem(asHwnd(m_hwnd), nullptr, FALSE)) SetFocus(first);
}

void NativeWindow::hide() {
  m_visible = false;
  enableTheDisabled();
  if (m_hwnd) ShowWindow(asHwnd(m_hwnd), SW_HIDE);
}

void NativeWindow::enableTheDisabled() {
  for (NativeHandle other : m_disabledWhileShown) EnableWindow(asHwnd(other), TRUE);
  m_disabledWhileShown.clear();
}

void NativeWindow::setFrame(bool systemMenu, bool minimize) {
  if (!m_hwnd) return;
  DWORD style = kFormStyle | (formStyle(asHwnd(m_hwnd)) & WS_VISIBLE);
  if (systemMenu) style |= WS_SYSMENU;
  if (systemMenu && minimize) style |= WS_MINIMIZEBOX;
  SetWindowLongPtrW(asHwnd(m_hwnd), GWL_STYLE, LONG_PTR(style));
  // The client area keeps its size inside the new frame.
  resize(m_x, m_y, m_w, m_h);
  SetWindowPos(asHwnd(m_hwnd), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void NativeWindow::setOwnerWindow(NativeWindow* owner) {
  if (m_hwnd)
    SetWindowLongPtrW(asHwnd(m_hwnd), GWLP_HWNDPARENT,
                      reinterpret_cast<LONG_PTR>(owner ? owner->hwnd() : nullptr));
}

}  // namespace ui
