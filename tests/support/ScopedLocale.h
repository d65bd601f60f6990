// Switches the whole locale for one test and back to "C" afterwards.
#pragma once

#include <clocale>

namespace testing_support {

class ScopedLocale {
 public:
  explicit ScopedLocale(const char* name) : m_ok(std::setlocale(LC_ALL, name) != nullptr) {}
  ~ScopedLocale() { std::setlocale(LC_ALL, "C"); }
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

  // False when the locale is not installed (scripts/setup generates de_DE.UTF-8).
  bool ok() const { return m_ok; }

 private:
  bool m_ok;
};

}  // namespace testing_support
