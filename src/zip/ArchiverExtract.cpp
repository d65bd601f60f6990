// TArchiver's extract operation: the unarchiver library's binding, its command records and the
// steps around the library call.
#include <algorithm>
#include <deque>

#include "platform/Paths.h"
#include "platform/ScopeExit.h"
#include "zip/Archiver.h"
#include "zip/LibraryLoader.h"
#include "zip/UnpackRecords.h"

namespace zip {
namespace {

using UnpackLibBinding = LibraryBinding<UnpackLibExecProc>;

// The unarchiver library's binding, process-wide like the archiver library's.
UnpackLibBinding& unpackLib() {
  static UnpackLibBinding binding(LibraryKind{
      UNPACKLIB_FILE_NAME, UNPACKLIB_EXEC_NAME, UNPACKLIB_VERSION_NAME, msg::kUnpackLibLoaded,
      msg::kUnpackLibNotLoaded, msg::kNoUnpackLibExec, msg::kNoUnpackLibVersion});
  return binding;
}

}  // namespace

// Owns the command record of one extraction and every text it points to.
struct TArchiver::UnpackCommandStorage {
  std::vector<uint8_t> record;  // zero-filled, either layout
  std::deque<std::string> texts;
  std::vector<UnpackLibFileSpec> specs;

  char* keep(const std::string& text) {
    texts.push_back(text);
    return texts.back().data();
  }
  UnpackLibCommand& modern() { return *reinterpret_cast<UnpackLibCommand*>(record.data()); }
  UnpackLibLegacyCommand& legacy() {
    return *reinterpret_cast<UnpackLibLegacyCommand*>(record.data());
  }
};

// As for the archiver library: only DLLDirectory, by absolute path, never a search order.
std::string TArchiver::unpackLibPath() const { return unpackLib().path(m_dllDirectory); }

bool TArchiver::loadUnpackLib() { return unpackLib().load(m_dllDirectory, m_trace, reporter()); }

void TArchiver::unloadUnpackLib() { unpackLib().unload(); }

int32_t TArchiver::UnpackLibVersion() {
  return unpackLib().queryVersion(m_dllDirectory, m_trace, reporter());
}

std::unique_ptr<TArchiver::UnpackCommandStorage> TArchiver::buildExtractCommand(
    int32_t version, const std::string& archivePath) {
  auto storage = std::make_unique<UnpackCommandStorage>();
  const bool modern = version >= kUnpackLibFirstModernVersion;
  storage->record.assign(modern ? sizeof(UnpackLibCommand) : sizeof(UnpackLibLegacyCommand), 0);
  // The head (offsets 0..71) is the same in both layouts.
  UnpackLibCommand& c = storage->modern();
  c.OwnerWindow = m_unattended ? nullptr : host()->ownerWindow();
  c.Caller = this;
  c.InterfaceVersion = kArchiverInterfaceVersion;
  c.CallbackProc = &TArchiver::callback;
  c.TraceFlag = m_trace;
  // An old library would stop to ask for a password that an unattended caller cannot give.
  const bool noPrompt = version < kUnpackLibFirstV160Version && m_unattended &&
                        m_addOptions.contains(AddOpt::AddEncrypt) && m_password.empty();
  c.PasswordText =
      storage->keep(noPrompt ? std::string(kUnpackLibNoPromptPasswordLength, '~') : m_password);
  c.TestFlag = m_extrOptions.contains(ExtrOpt::ExtrTest);
  c.ConstantOne = 1;
  c.VerboseFlag = m_verbose || m_trace;
  c.UpdateFlag = m_extrOptions.contains(ExtrOpt::ExtrUpdate);
  c.FreshenFlag = m_extrOptions.contains(ExtrOpt::ExtrFreshen) && !c.UpdateFlag;
  c.DirNamesFlag = m_extrOptions.contains(ExtrOpt::ExtrDirNames);
  c.OverwriteFlag = m_extrOptions.contains(ExtrOpt::ExtrOverWrite);
  c.SpecCount = int32_t(m_specList.size());
  c.ArchivePath = storage->keep(archivePath);
  if (modern) {
    storage->specs.assign(m_specList.size(), UnpackLibFileSpec{});
    for (std::size_t i = 0; i < m_specList.size(); ++i)
      storage->specs[i].SpecText = storage->keep(m_specList[i]);
    c.FileSpecs = storage->specs.empty() ? nullptr : storage->specs.data();
    if (version >= kUnpackLibFirstV160Version) c.PasswordRetries = int32_t(m_passwordReqCount);
    c.Seven = kCommandSeven;
  } else {
    UnpackLibLegacyCommand& legacy = storage->legacy();
    legacy.Seven = kCommandSeven;
    // The record has room for this many; the caller keeps within it.
    const std::size_t count = std::min<std::size_t>(m_specList.size(), kLegacySpecSlots);
    legacy.SpecCount = int32_t(count);
    for (std::size_t i = 0; i < count; ++i) legacy.SpecTexts[i] = storage->keep(m_specList[i]);
  }
  return storage;
}

void TArchiver::Extract() {
  m_extractedCount = 0;
  const uint32_t passwordReqCount = m_passwordReqCount;
  if (!platform::fileExists(m_archiveFileName)) return reportMessage(msg::kNoArchiveName);
  if (m_busy) return;
  bool passwordCountChanged = false;
  if (m_unattended && m_password.empty() && !OnPasswordError) {
    m_passwordReqCount = 0;
    passwordCountChanged = true;
    reportMessage(msg::kNoPasswordUnattended);
  }
  m_busy = 1;
  m_cancelRequested = 0;
  m_callbackError = nullptr;
  UnpackLibBinding& binding = unpackLib();
  bool loadedHere = false;
  if (!binding.isLoaded()) {
    loadUnpackLib();
    loadedHere = true;
  }
  // Also when a message handler throws out of a failure report below.
  const platform::ScopeExit restore([&] {
    if (passwordCountChanged) m_passwordReqCount = passwordReqCount;
    if (!binding.isLoaded()) {
      m_busy = 0;
      return;
    }
    m_specList.clear();
    if (loadedHere) unloadUnpackLib();
    m_cancelRequested = 0;
    m_busy = 0;
  });
  if (!binding.isLoaded()) return;
  if (m_isSpanned) {
    // FIXME: no removable-disk sets on this platform, so a spanned archive cannot be assembled.
    return reportMessage(msg::kExtractException);
  }
  // Taken before the directory changes, so that a relative name still finds the archive.
  const std::string archivePath = platform::absolutePath(m_archiveFileName);
  // The library writes relative to the current folder, so that is where the files land.
  if (platform::folderExists(m_extrBaseDir)) {
    try {
      platform::setCurrentFolder(m_extrBaseDir);
    } catch (...) {
      // An unreachable folder leaves the current one, as a missing folder does.
    }
  }
  // A library without both entry points is never called.
  if (binding.exec() != nullptr && binding.version() != nullptr) {
    std::unique_ptr<UnpackCommandStorage> command;
    try {
      m_libraryVersion = binding.version()();
      command = buildExtractCommand(m_libraryVersion, archivePath);
      m_extractedCount = binding.exec()(command->record.data());
      if (m_callbackError) std::rethrow_exception(m_callbackError);
    } catch (...) {
      m_callbackError = nullptr;
      reportMessage(msg::kExtractException);
    }
  }
}

}  // namespace zip
