// Runs a clean-up when a scope ends, however it ends: state that must be restored after a call
// into a library or a callback that may throw.
#pragma once

#include <utility>

namespace platform {

template <class Cleanup>
class ScopeExit {
 public:
  explicit ScopeExit(Cleanup cleanup) : m_cleanup(std::move(cleanup)) {}
  ~ScopeExit() { m_cleanup(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Cleanup m_cleanup;
};

}  // namespace platform
