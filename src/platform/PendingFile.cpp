// Temporary files renamed into place at success.
#include "platform/PendingFile.h"

#include <cstdlib>
#include <random>
#include <utility>

#include "platform/IoError.h"
#include "platform/Paths.h"

namespace platform {

namespace {

const std::string kPrefix = ".fennock-";
const std::string kSuffix = ".tmp";

std::string randomTag() {
  static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static thread_local std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<int> pick(0, int(sizeof kAlphabet) - 2);
  std::string tag(8, ' ');
  for (char& c : tag) c = kAlphabet[pick(generator)];
  return tag;
}

}  // namespace

PendingFile::PendingFile(const std::string& finalPath) : m_finalPath(finalPath) {
  const std::string folder = parentFolder(finalPath);
  for (;;) {
    std::string name = kPrefix + std::to_string(currentProcessId()) + "-" + randomTag() + kSuffix;
    std::string path = folder.empty() ? name : joinPath(folder, name);
    TemporaryCreation creating;
    if (auto file = File::createNew(path, 0666)) {
      m_file = std::move(*file);
      m_temporaryPath = std::move(path);
      m_cleanup = CleanupOnSignal::file(m_temporaryPath);
      return;
    }
  }
}

PendingFile::~PendingFile() { discard(); }

PendingFile::PendingFile(PendingFile&& other) noexcept
    : m_file(std::move(other.m_file)),
      m_finalPath(std::move(other.m_finalPath)),
      m_temporaryPath(std::exchange(other.m_temporaryPath, {})),
      m_committed(other.m_committed),
      m_cleanup(std::move(other.m_cleanup)) {}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
  if (this != &other) {
    discard();
    m_file = std::move(other.m_file);
    m_finalPath = std::move(other.m_finalPath);
    m_temporaryPath = std::exchange(other.m_temporaryPath, {});
    m_committed = other.m_committed;
    m_cleanup = std::move(other.m_cleanup);
  }
  return *this;
}

void PendingFile::commit() {
  m_file.close();
  renameFile(m_temporaryPath, m_finalPath);
  m_committed = true;
  m_cleanup.forget();
}

void PendingFile::discard() noexcept {
  if (m_committed || m_temporaryPath.empty()) return;
  m_file = File();
  removeTemporaryFile(m_temporaryPath);
  m_cleanup.forget();
  m_temporaryPath.clear();
}

bool isPendingFileName(const std::string& name, long* pid) {
  if (name.size() <= kPrefix.size() + kSuffix.size() || name.rfind(kPrefix, 0) != 0 ||
      name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
    return false;
  const char* digits = name.c_str() + kPrefix.size();
  char* end = nullptr;
  if (*digits < '1' || *digits > '9') return false;  // no sign, space or leading zero
  const long value = std::strtol(digits, &end, 10);
  if (end == digits || *end != '-' || value <= 0) return false;
  const std::size_t tagLength = name.size() - kSuffix.size() - std::size_t(end + 1 - name.c_str());
  if (tagLength != 8) return false;
  for (const char* c = end + 1; c != end + 1 + tagLength; ++c)
    if (!((*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9'))) return false;
  if (pid) *pid = value;
  return true;
}

}  // namespace platform
