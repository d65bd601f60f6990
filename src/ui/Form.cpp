// Forms: caption, enabled state and the windows' tab order, whatever draws them.
#include "ui/Form.h"

#include <algorithm>

#include "ui/Control.h"

namespace ui {

namespace {

void collectTabStops(Container& container, std::vector<Control*>& out) {
  for (Control* control : container.controls()) {
    if (!control->reachable()) continue;
    if (Container* inner = control->asContainer())
      collectTabStops(*inner, out);
    else if (control->tabStop())
      out.push_back(control);
  }
}

}  // namespace

std::string Form::caption() const { return label() ? label() : ""; }

void Form::setCaption(const std::string& caption) { copy_label(caption.c_str()); }

void Form::setEnabled(bool enabled) {
  if (enabled == this->enabled()) return;
  if (enabled)
    activate();
  else
    deactivate();
}

std::vector<Control*> Form::tabSequence() {
  std::vector<Control*> stops;
  collectTabStops(*this, stops);
  return stops;
}

Control* Form::nextTabStop(Control* from, bool backwards) {
  std::vector<Control*> stops = tabSequence();
  if (stops.empty()) return nullptr;
  auto at = std::find(stops.begin(), stops.end(), from);
  if (at == stops.end()) return backwards ? stops.back() : stops.front();
  const std::size_t index = std::size_t(at - stops.begin());
  const std::size_t n = stops.size();
  return stops[backwards ? (index + n - 1) % n : (index + 1) % n];
}

Control* Form::focusedControl() {
  // Any control, stop or not, may hold the focus after a click.
  std::vector<Container*> pending{this};
  while (!pending.empty()) {
    Container* c = pending.back();
    pending.pop_back();
    for (Control* control : c->controls()) {
      // A group box holds the focus only through one of its controls.
      if (Container* inner = control->asContainer()) {
        pending.push_back(inner);
        continue;
      }
      if (holdsFocus(control->widget())) return control;
    }
  }
  return nullptr;
}

void Form::setBorderIcons(BorderIcons icons) {
  m_hints.icons = icons;
  m_hasHints = true;
}

void Form::setOwner(NativeTopLevel* owner) {
  m_hints.owner = owner;
  m_hasHints = true;
}

}  // namespace ui
