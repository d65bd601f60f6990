// The unarchiver library's C entry points: reads the command record, runs the extraction and
// reports through the caller's callback. Nothing thrown inside ever crosses this boundary.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/SignalCleanup.h"
#include "unpacklib/Extractor.h"
#include "zip/UnpackRecords.h"

#define UNPACKLIB_EXPORT extern "C" FENNOCK_LIBRARY_EXPORT

namespace {

std::int32_t clampToInt32(std::uint64_t value) {
  return static_cast<std::int32_t>(std::min<std::uint64_t>(value, INT32_MAX));
}

// Reports of a run as callback records.
class CallbackReporter : public unpack::Reporter {
 public:
  CallbackReporter(PackLibCallbackProc proc, void* caller, bool verbose)
      : m_proc(proc), m_caller(caller), m_verbose(verbose) {}

  bool totals(std::uint64_t fileCount, std::uint64_t byteCount) override {
    return call(kActionTotalFiles, 0, clampToInt32(fileCount), {}, fileCount) ||
           call(kActionTotalSize, 0, clampToInt32(byteCount), {}, byteCount);
  }
  bool fileBegins(const std::string& name, std::uint64_t size) override {
    if (m_verbose && call(kActionMessage, 0, 0, "Extracting: " + name, 0)) return true;
    return call(kActionNewFile, 0, clampToInt32(size), name, size);
  }
  bool progress(std::uint64_t bytes) override {
    return call(kActionProgress, 0, clampToInt32(bytes), {}, bytes);
  }
  bool batchEnds() override { return call(kActionEndOfBatch, 0, 0, {}, 0); }
  bool message(unpack::ErrorCode code, const std::string& text) override {
    return call(kActionMessage, static_cast<std::int32_t>(code), 0, text, 0);
  }
  bool skipped(const std::string& name, unpack::SkipReason reason,
               unpack::ErrorCode code) override {
    return call(kActionSkipped, static_cast<std::int32_t>(code), static_cast<std::int32_t>(reason),
                name, 0);
  }
  bool crcMismatch(const std::string& name, std::uint32_t found, std::uint32_t expected,
                   unpack::CrcAnswer& answer) override {
    bool stop = call(kActionCrcError, static_cast<std::int32_t>(found),
                     static_cast<std::int32_t>(expected), name, 0);
    // 1 asks to keep the file; 0, and 2 (no opinion), leave our default: discard it.
    answer = m_info.Arg1 == 1 ? unpack::CrcAnswer::kKeep : unpack::CrcAnswer::kDiscard;
    return stop;
  }
  bool askOverwrite(const std::string& name, bool existingIsOlder, bool& overwrite) override {
    bool stop = call(kActionOverwrite, existingIsOlder ? 1 : 0, 0, name, 0);
    overwrite = (m_info.Arg2 & 0xFF) != 0;
    return stop;
  }
  bool askPassword(const std::string& name, std::uint32_t& retries,
                   std::string& password) override {
    bool stop = call(kActionPassword, 0, static_cast<std::int32_t>(retries), name, 0);
    if (m_info.Arg1 == 1) {
      m_info.Text[kMaxPasswordLength] = '\0';
      password = m_info.Text;
    }
    retries = static_cast<std::uint32_t>(std::max<std::int32_t>(m_info.Arg2, 0));
    return stop;
  }

 private:
  bool call(std::int32_t action, std::int32_t arg1, std::int32_t arg2, const std::string& text,
            std::uint64_t size64) {
    if (m_proc == nullptr) return false;
    std::memset(&m_info, 0, sizeof m_info);
    m_info.RecordSize = sizeof m_info;
    m_info.Caller = m_caller;
    m_info.ActionCode = action;
    m_info.Arg1 = arg1;
    m_info.Arg2 = arg2;
    std::size_t length = std::min<std::size_t>(text.size(), kCallbackTextSize - 1);
    std::memcpy(m_info.Text, text.data(), length);
    m_info.Size64 = static_cast<std::int64_t>(std::min<std::uint64_t>(size64, INT64_MAX));
    return m_proc(&m_info) != 0;
  }

  PackLibCallbackProc m_proc;
  void* m_caller;
  bool m_verbose;
  PackLibCallbackInfo m_info{};
};

std::string textOf(const char* text) { return text ? std::string(text) : std::string(); }

// A password of this many "~" is what an unattended caller sends so that nothing is asked.
bool isNoPromptPassword(const std::string& password) {
  return password.size() == kUnpackLibNoPromptPasswordLength &&
         password.find_first_not_of('~') == std::string::npos;
}

std::int32_t execute(const UnpackLibCommand& command) {
  // The record's layout is told by where its 7 stands: the legacy record keeps it at the place
  // of FileSpecs, which lies inside the shorter record too.
  const bool modern = command.Seven == kCommandSeven;
  const auto& legacy = reinterpret_cast<const UnpackLibLegacyCommand&>(command);
  const bool isLegacy = !modern && legacy.Seven == kCommandSeven;
  CallbackReporter reporter(command.CallbackProc, command.Caller,
                            command.VerboseFlag != 0 || command.TraceFlag != 0);
  if (!modern && !isLegacy) {
    reporter.message(unpack::ErrorCode::kArchive, "Unknown command record");
    return 0;
  }
  if (command.ArchivePath == nullptr || *command.ArchivePath == '\0') {
    reporter.message(unpack::ErrorCode::kArchive, "No archive named");
    return 0;
  }
  unpack::ExtractOptions options;
  options.keepFolders = command.DirNamesFlag != 0;
  options.overwrite = command.OverwriteFlag != 0;
  options.update = command.UpdateFlag != 0;
  options.freshen = command.FreshenFlag != 0 && !options.update;
  options.test = command.TestFlag != 0;
  const std::int32_t count = std::max<std::int32_t>(command.SpecCount, 0);
  for (std::int32_t i = 0; i < count; ++i) {
    const char* spec = nullptr;
    if (modern && command.FileSpecs != nullptr) spec = command.FileSpecs[i].SpecText;
    if (isLegacy && i < kLegacySpecSlots) spec = legacy.SpecTexts[i];
    if (spec != nullptr && *spec != '\0') options.specs.emplace_back(spec);
  }
  options.password = textOf(command.PasswordText);
  options.passwordRetries =
      modern ? static_cast<std::uint32_t>(std::max(command.PasswordRetries, 0)) : 1;
  if (isNoPromptPassword(options.password)) {
    options.password.clear();
    options.passwordRetries = 0;
  }
  // The files land in the current folder; named by its full path, a failure tells the user
  // which folder is full or read-only.
  std::string destination = ".";
  try {
    destination = platform::currentFolder();
  } catch (const std::exception&) {
    // A folder that cannot name itself still takes the files.
  }
  return unpack::extractArchive(textOf(command.ArchivePath), options, reporter, destination);
}

}  // namespace

UNPACKLIB_EXPORT std::int32_t GetUnpackLibVersion(void) { return kUnpackLibVersion; }

UNPACKLIB_EXPORT std::int32_t UnpackLibExec(void* command) {
  if (command == nullptr) return 0;
  try {
    // This library carries its own table of files to remove on a signal; its handler passes the
    // signal on to the program's once the half-written files here are gone.
    platform::SignalCleanupHandlers cleanup;
    return execute(*static_cast<const UnpackLibCommand*>(command));
  } catch (...) {
    return 0;  // a C caller cannot receive an exception
  }
}
