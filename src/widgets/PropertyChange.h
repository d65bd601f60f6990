// A property setter's first step: store the new value and tell whether it differs, so that the
// widget repaints (or re-measures) only when something changed.
#pragma once

#include <utility>

namespace widgets {

template <class Member, class Value>
bool changeProperty(Member& member, Value&& value) {
  if (member == value) return false;
  member = std::forward<Value>(value);
  return true;
}

}  // namespace widgets
