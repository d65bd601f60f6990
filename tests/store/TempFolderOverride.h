// Points the temporary folder ($TMPDIR; %TMP% on Windows) somewhere else for the life of a test.
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

namespace testing_support {

class TempFolderOverride {
 public:
  explicit TempFolderOverride(const std::string& folder) {
    if (const char* old = ::getenv(kVariable)) m_old = old;
    set(folder.c_str());
  }
  ~TempFolderOverride() { set(m_old ? m_old->c_str() : nullptr); }
  TempFolderOverride(const TempFolderOverride&) = delete;
  TempFolderOverride& operator=(const TempFolderOverride&) = delete;

 private:
#ifdef _WIN32
  // The system's temporary path comes from TMP first.
  static constexpr const char* kVariable = "TMP";
  static void set(const char* value) { ::_putenv_s(kVariable, value ? value : ""); }
#else
  static constexpr const char* kVariable = "TMPDIR";
  static void set(const char* value) {
    if (value)
      ::setenv(kVariable, value, 1);
    else
      ::unsetenv(kVariable);
  }
#endif
  std::optional<std::string> m_old;
};

}  // namespace testing_support
