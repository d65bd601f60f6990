// The guard around every user event.
#include "ui/Events.h"

#include "ui/Application.h"

namespace ui {

void runEvent(const std::function<void()>& handler) {
  if (!handler) return;
  try {
    handler();
  } catch (...) {
    Application::instance().handleException(std::current_exception());
  }
}

}  // namespace ui
