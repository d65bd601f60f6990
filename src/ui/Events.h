// How user events reach handlers: each event is one unit that the default error handler guards.
#pragma once

#include <exception>
#include <functional>

namespace ui {

// Runs the handlers of one user event (a click, a typed key, a menu choice). An exception that
// the handlers raise ends the event and is shown by the application's default error handler;
// the window stays as the handlers left it. Handlers called by program (a setter that runs a
// change or click handler) are plain calls: their exceptions reach the caller.
void runEvent(const std::function<void()>& handler);

}  // namespace ui
