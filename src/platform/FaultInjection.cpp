// The fault seam's counter, read from the environment once.
#include "platform/FaultInjection.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace platform {

namespace {

struct FaultSettings {
  long failAt = 0;
  long writeDelayMs = 0;
};

long environmentNumber(const char* name) {
  const char* text = std::getenv(name);
  return text ? std::strtol(text, nullptr, 10) : 0;
}

const FaultSettings& settings() {
  static const FaultSettings kSettings{environmentNumber("FENNOCK_TEST_FAIL_AT"),
                                       environmentNumber("FENNOCK_TEST_WRITE_DELAY_MS")};
  return kSettings;
}

std::atomic<long> g_operations{0};

}  // namespace

bool injectedFault(FileOperation operation) {
  const FaultSettings& s = settings();
  const bool slowed = operation == FileOperation::Write || operation == FileOperation::Create;
  if (slowed && s.writeDelayMs > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(s.writeDelayMs));
  if (s.failAt <= 0 || ++g_operations != s.failAt) return false;
  const bool diskFull = operation == FileOperation::Create || operation == FileOperation::Write ||
                        operation == FileOperation::Close;
  errno = diskFull ? ENOSPC : EIO;
  return true;
}

}  // namespace platform
