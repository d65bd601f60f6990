// The system controls: buttons, check boxes, labels, radio buttons, edits, drop-down lists,
// group boxes, and the menu bar of a top-level window.
#include <windows.h>

#include <algorithm>

#include "NativeWidgets.h"
#include "platform/Utf16.h"

namespace ui {

namespace {

HWND asHwnd(NativeHandle handle) { return static_cast<HWND>(handle); }

std::string windowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(std::size_t(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, text.data(), length + 1);
  return platform::fromUtf16(text.c_str(), std::size_t(got));
}

void setTabStop(HWND hwnd, bool stop) {
  LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  style = stop ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP));
  SetWindowLongPtrW(hwnd, GWL_STYLE, style);
}

}  // namespace

NativeWidget::NativeKind NativeRadioButton::nativeKind() const {
  // The program checks and unchecks: the system's automatic radio buttons would clear only the
  // buttons of a dialog group, not those of one parent.
  return {L"BUTTON", DWORD(BS_RADIOBUTTON | (m_checked ? WS_TABSTOP : 0))};
}

int NativeRadioButton::value() const {
  if (hwnd()) return SendMessageW(asHwnd(hwnd()), BM_GETCHECK, 0, 0) == BST_CHECKED;
  return m_checked;
}

void NativeRadioButton::value(int checked) {
  m_checked = checked != 0;
  if (hwnd()) syncNative();
}

void NativeRadioButton::syncNative() {
  NativeWidget::syncNative();
  SendMessageW(asHwnd(hwnd()), BM_SETCHECK, m_checked ? BST_CHECKED : BST_UNCHECKED, 0);
  setTabStop(asHwnd(hwnd()), m_checked);
}

void NativeRadioButton::setonly() {
  if (NativeGroup* group = parent())
    for (int i = 0; i < group->children(); ++i)
      if (auto* radio = dynamic_cast<NativeRadioButton*>(group->child(i)); radio && radio != this)
        radio->value(0);
  value(1);
}

void NativeRadioButton::notified(int code) {
  // The system also reports a click when the keyboard focus comes to an unchecked button.
  if (code != BN_CLICKED || value()) return;
  setonly();
  do_callback();
}

bool NativeRadioButton::wantsKey(unsigned virtualKey) const {
  return virtualKey == VK_UP || virtualKey == VK_DOWN || virtualKey == VK_LEFT ||
         virtualKey == VK_RIGHT;
}

NativeWidget::NativeKind NativeInput::nativeKind() const {
  return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
}

const char* NativeInput::value() const {
  if (hwnd()) m_text = windowText(asHwnd(hwnd()));
  return m_text.c_str();
}

void NativeInput::value(const char* text) {
  m_text = text ? text : "";
  m_caret = -1;
  if (!hwnd()) return;
  m_settingText = true;
  SetWindowTextW(asHwnd(hwnd()), platform::toUtf16(m_text).c_str());
  m_settingText = false;
}

// The selection's ends; without a window nothing is selected and the caret stands where it was
// put, else at the end of the text.
std::pair<int, int> NativeInput::selection() const {
  if (!hwnd()) {
    const int at = m_caret < 0 ? int(m_text.size()) : std::min(m_caret, int(m_text.size()));
    return {at, at};
  }
  DWORD start = 0, end = 0;
  SendMessageW(asHwnd(hwnd()), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return {int(start), int(end)};
}

int NativeInput::position() const { return selection().first; }

int NativeInput::mark() const { return selection().second; }

void NativeInput::position(int at) {
  m_caret = std::max(at, 0);
  if (hwnd()) SendMessageW(asHwnd(hwnd()), EM_SETSEL, WPARAM(m_caret), LPARAM(m_caret));
}

int NativeInput::size() const {
  if (!hwnd()) return int(m_text.size());
  return GetWindowTextLengthW(asHwnd(hwnd()));
}

void NativeInput::replace(int from, int to, const char* text, int length) {
  const std::wstring wide = platform::toUtf16(std::string(text ? text : "", std::size_t(length)));
  if (!hwnd()) {
    // Without a window the edit is plain text in bytes; the change still calls back.
    const auto [a, b] = std::minmax(std::size_t(from), std::size_t(to));
    m_text.replace(a, b - a, std::string(text ? text : "", std::size_t(length)));
    m_caret = int(a) + length;
    do_callback();
    return;
  }
  SendMessageW(asHwnd(hwnd()), EM_SETSEL, WPARAM(from), LPARAM(to));
  SendMessageW(asHwnd(hwnd()), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

void NativeInput::maximum_size(int characters) {
  m_limit = characters;
  if (hwnd()) SendMessageW(asHwnd(hwnd()), EM_LIMITTEXT, WPARAM(characters), 0);
}

void NativeInput::notified(int code) {
  if (code == EN_CHANGE && !m_settingText) do_callback();
}

bool NativeInput::wantsKey(unsigned virtualKey) const {
  return virtualKey == VK_ESCAPE || virtualKey == VK_RETURN;
}

void NativeInput::setMask(char mask) {
  m_mask = mask;
  if (!hwnd()) return;
  SendMessageW(asHwnd(hwnd()), EM_SETPASSWORDCHAR, WPARAM(static_cast<unsigned char>(mask)), 0);
  InvalidateRect(asHwnd(hwnd()), nullptr, TRUE);
}

void NativeInput::syncNative() {
  value(m_text.c_str());
  if (m_limit > 0) maximum_size(m_limit);
  if (m_mask) setMask(m_mask);
}

NativeWidget::NativeKind NativeChoice::nativeKind() const {
  // The height given is the field's; the window holds the list below it too.
  return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 160};
}

void NativeChoice::setItems(const std::vector<std::string>& items) {
  m_items = items;
  m_selected = -1;
  if (!hwnd()) return;
  SendMessageW(asHwnd(hwnd()), CB_RESETCONTENT, 0, 0);
  for (const std::string& item : m_items)
    SendMessageW(asHwnd(hwnd()), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(platform::toUtf16(item).c_str()));
}

int NativeChoice::selected() const {
  if (!hwnd()) return m_selected;
  const LRESULT index = SendMessageW(asHwnd(hwnd()), CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : int(index);
}

void NativeChoice::select(int index) {
  m_selected = index < 0 || index >= int(m_items.size()) ? -1 : index;
  if (hwnd()) SendMessageW(asHwnd(hwnd()), CB_SETCURSEL, WPARAM(m_selected), 0);
}

void NativeChoice::notified(int code) {
  if (code == CBN_SELCHANGE) do_callback();
}

void NativeChoice::syncNative() {
  if (m_applied) return;
  m_applied = true;
  const int chosen = m_selected;
  setItems(m_items);
  select(chosen);
}

NativeWidget::NativeKind NativeGroupBox::nativeKind() const { return {L"BUTTON", BS_GROUPBOX}; }

NativeWidget::NativeKind NativeMenuBar::nativeKind() const {
  NativeKind kind;
  kind.windowless = true;
  return kind;
}

NativeMenuBar::~NativeMenuBar() {
  if (m_building) DestroyMenu(static_cast<HMENU>(m_building));
  if (NativeWindow* top = window()) top->setMenuBar(nullptr, nullptr);
}

NativeHandle NativeMenuBar::beginMenu() {
  if (m_building) DestroyMenu(static_cast<HMENU>(m_building));
  m_building = CreateMenu();
  m_pendingCommands.clear();
  return m_building;
}

NativeHandle NativeMenuBar::addSubmenu(NativeHandle menu, const std::string& text, bool enabled) {
  HMENU sub = CreatePopupMenu();
  AppendMenuW(static_cast<HMENU>(menu), MF_POPUP | (enabled ? MF_ENABLED : MF_GRAYED),
              reinterpret_cast<UINT_PTR>(sub), platform::toUtf16(text).c_str());
  return sub;
}

void NativeMenuBar::addCommand(NativeHandle menu, const std::string& text, void* data,
                               EntryState state) {
  const UINT id = UINT(kFirstMenuId + m_pendingCommands.size());
  m_pendingCommands.push_back(data);
  const std::wstring wide = platform::toUtf16(text);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
  info.fType = MFT_STRING | (state.radio ? MFT_RADIOCHECK : 0);
  info.fState = (state.enabled ? MFS_ENABLED : MFS_GRAYED) | (state.checked ? MFS_CHECKED : 0);
  info.wID = id;
  info.dwTypeData = const_cast<wchar_t*>(wide.c_str());
  HMENU target = static_cast<HMENU>(menu);
  InsertMenuItemW(target, UINT(GetMenuItemCount(target)), TRUE, &info);
  if (state.dividerAfter) addDivider(menu);
}

void NativeMenuBar::addDivider(NativeHandle menu) {
  AppendMenuW(static_cast<HMENU>(menu), MF_SEPARATOR, 0, nullptr);
}

void NativeMenuBar::install() {
  NativeWindow* top = window();
  if (!top || !m_building) return;
  m_commands = std::move(m_pendingCommands);
  m_pendingCommands.clear();
  top->setMenuBar(m_building, this);
  m_building = nullptr;
}

void NativeMenuBar::chosen(int id) {
  const int index = id - kFirstMenuId;
  if (index < 0 || index >= int(m_commands.size()) || !active_r()) return;
  do_callback(this, m_commands[std::size_t(index)]);
}

void NativeWindow::reserveMenuBar(int height) {
  m_menuBarHeight = height;
  resize(m_x, m_y, m_w, m_h);
}

void NativeWindow::setMenuBar(NativeHandle menu, NativeWidget* bar) {
  m_menuBar = bar;
  if (!m_hwnd) {
    if (menu) DestroyMenu(static_cast<HMENU>(menu));
    return;
  }
  HMENU old = GetMenu(asHwnd(m_hwnd));
  SetMenu(asHwnd(m_hwnd), static_cast<HMENU>(menu));
  if (old) DestroyMenu(old);
  DrawMenuBar(asHwnd(m_hwnd));
  // The frame grew or shrank by the bar: the client area keeps its size.
  resize(m_x, m_y, m_w, m_h);
}

void NativeWindow::menuCommand(int id) {
  if (auto* bar = dynamic_cast<NativeMenuBar*>(m_menuBar)) bar->chosen(id);
}

NativeWidget::NativeKind NativeButton::nativeKind() const {
  return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON};
}

NativeWidget::NativeKind NativeCheckButton::nativeKind() const {
  return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX};
}

int NativeCheckButton::value() const {
  if (hwnd()) return SendMessageW(asHwnd(hwnd()), BM_GETCHECK, 0, 0) == BST_CHECKED;
  return m_checked;
}

void NativeCheckButton::value(int checked) {
  m_checked = checked != 0;
  if (hwnd()) SendMessageW(asHwnd(hwnd()), BM_SETCHECK, m_checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void NativeCheckButton::syncNative() {
  NativeWidget::syncNative();
  // Once, when the window is made: later the window holds the state, clicks included.
  if (m_applied) return;
  m_applied = true;
  SendMessageW(asHwnd(hwnd()), BM_SETCHECK, m_checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

NativeWidget::NativeKind NativeBox::nativeKind() const {
  return {L"STATIC", m_textStyle | SS_NOPREFIX};
}

void NativeBox::setTextStyle(unsigned long style) {
  m_textStyle = style;
  if (!hwnd()) return;
  HWND self = asHwnd(hwnd());
  const LONG_PTR old = GetWindowLongPtrW(self, GWL_STYLE);
  SetWindowLongPtrW(self, GWL_STYLE, (old & ~LONG_PTR(SS_TYPEMASK)) | LONG_PTR(style));
  InvalidateRect(self, nullptr, TRUE);
}

// The label's owner decides the text in draw().
void NativeBox::syncNative() { draw(); }

}  // namespace ui
