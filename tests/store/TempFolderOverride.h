// Points the temporary folder ($TMPDIR) somewhere else for the life of a test.
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

namespace testing_support {

class TempFolderOverride {
 public:
  explicit TempFolderOverride(const std::string& folder) {
    if (const char* old = ::getenv("TMPDIR")) m_old = old;
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TempFolderOverride() {
    if (m_old)
      ::setenv("TMPDIR", m_old->c_str(), 1);
    else
      ::unsetenv("TMPDIR");
  }
  TempFolderOverride(const TempFolderOverride&) = delete;
  TempFolderOverride& operator=(const TempFolderOverride&) = delete;

 private:
  std::optional<std::string> m_old;
};

}  // namespace testing_support
