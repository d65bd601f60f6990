// Callback record filling for the archiver library.
#include "packlib/Reporter.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace packlib {

void Reporter::call(int32_t action, int32_t arg1, int64_t arg2, const std::string& text) {
  if (m_proc == nullptr) return;
  PackLibCallbackInfo info;
  std::memset(&info, 0, sizeof info);
  info.RecordSize = sizeof info;
  info.Caller = m_caller;
  info.ActionCode = action;
  info.Arg1 = arg1;
  // Arg2 is 32-bit; the full value travels in Size64.
  info.Arg2 = int32_t(std::clamp<int64_t>(arg2, std::numeric_limits<int32_t>::min(),
                                          std::numeric_limits<int32_t>::max()));
  info.Size64 = arg2;
  std::size_t length = std::min(text.size(), sizeof info.Text - 1);
  std::memcpy(info.Text, text.data(), length);
  if (m_proc(&info) != 0) throw Cancelled{};
}

}  // namespace packlib
