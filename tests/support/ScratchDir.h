// A scratch folder per test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

#include "platform/Paths.h"

namespace testing_support {

class ScratchDir {
 public:
  ScratchDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
      std::string path = platform::tempFolder() + "fennock-test-" + std::to_string(random());
      if (std::filesystem::create_directory(path)) m_path = path;
    }
    if (m_path.empty()) throw std::runtime_error("no scratch folder");
  }
  ~ScratchDir() {
    std::error_code ignored;
    // Pieces made read-only by a test must not stop the clean-up.
    for (auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return m_path; }
  std::string file(const std::string& name) const { return platform::joinPath(m_path, name); }

  std::string write(const std::string& name, const std::string& bytes) const {
    std::string full = file(name);
    std::ofstream(full, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return full;
  }
  static std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::string m_path;
};

}  // namespace testing_support
