// One-shot timers on the message loop: system timers that end at their first tick.
#include <windows.h>

#include <map>
#include <utility>

#include "NativeWidgets.h"

namespace ui {

namespace {

using Key = std::pair<TimeoutHandler, void*>;

std::map<UINT_PTR, Key>& timers() {
  static std::map<UINT_PTR, Key> running;
  return running;
}

void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto found = timers().find(id);
  if (found == timers().end()) return;
  const Key key = found->second;
  timers().erase(found);
  key.first(key.second);
}

}  // namespace

void addTimeout(double seconds, TimeoutHandler handler, void* data) {
  const UINT ms = seconds <= 0 ? USER_TIMER_MINIMUM : UINT(seconds * 1000.0 + 0.5);
  if (UINT_PTR id = SetTimer(nullptr, 0, ms, tick)) timers()[id] = {handler, data};
}

// The tick has ended the timer already; a new one starts from now.
void repeatTimeout(double seconds, TimeoutHandler handler, void* data) {
  addTimeout(seconds, handler, data);
}

void removeTimeout(TimeoutHandler handler, void* data) {
  for (auto at = timers().begin(); at != timers().end();) {
    if (at->second == Key{handler, data}) {
      KillTimer(nullptr, at->first);
      at = timers().erase(at);
    } else {
      ++at;
    }
  }
}

}  // namespace ui
