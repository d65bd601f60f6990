// The parts of the destination's folders and pending files that do not depend on the system.
#include "unpacklib/Destination.h"

#include <cstdio>
#include <random>
#include <utility>

namespace unpack {

OpenFolder::~OpenFolder() {
  if (m_handle != kClosed) closeHandle(m_handle);
}

OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : m_handle(std::exchange(other.m_handle, kClosed)), m_path(std::move(other.m_path)) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
  if (this != &other) {
    if (m_handle != kClosed) closeHandle(m_handle);
    m_handle = std::exchange(other.m_handle, kClosed);
    m_path = std::move(other.m_path);
  }
  return *this;
}

std::string PendingFile::temporaryName() {
  static std::mt19937_64 random{std::random_device{}()};
  char name[40];
  std::snprintf(name, sizeof name, ".unpack-%016llx.tmp",
                static_cast<unsigned long long>(random()));
  return name;
}

}  // namespace unpack
