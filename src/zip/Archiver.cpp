// TArchiver: properties, library binding, message reporting, the callback and the Add operation.
#include "zip/Archiver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>

#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/ScopeExit.h"
#include "zip/LibraryLoader.h"

namespace zip {
namespace {

using PackLibBinding = LibraryBinding<PackLibExecProc>;

// The archiver library's binding, shared by every instance of the component.
PackLibBinding& packLib() {
  static PackLibBinding binding(
      LibraryKind{PACKLIB_FILE_NAME, PACKLIB_EXEC_NAME, PACKLIB_VERSION_NAME, msg::kPackLibLoaded,
                  msg::kPackLibNotLoaded, msg::kNoPackLibExec, msg::kNoPackLibVersion});
  return binding;
}

ArchiverHost& defaultHost() {
  static ArchiverHost host;
  return host;
}

}  // namespace

void ArchiverHost::showMessage(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
}

std::string ArchiverHost::askPassword(const std::string&, const std::string&, const std::string&,
                                      const std::string&) {
  return {};
}

// Owns the command record of one operation and every text it points to.
struct TArchiver::CommandStorage {
  std::vector<uint8_t> record;  // zero-filled, either layout
  std::deque<std::string> texts;
  std::vector<PackLibFileSpec> specs;
  std::vector<char*> excludes;

  char* keep(const std::string& text) {
    texts.push_back(text);
    return texts.back().data();
  }
  PackLibCommand& modern() { return *reinterpret_cast<PackLibCommand*>(record.data()); }
  PackLibLegacyCommand& legacy() { return *reinterpret_cast<PackLibLegacyCommand*>(record.data()); }
};

TArchiver::TArchiver() = default;
TArchiver::~TArchiver() = default;

ArchiverHost* TArchiver::host() { return m_host ? m_host : &defaultHost(); }
void TArchiver::setHost(ArchiverHost* value) { m_host = value; }

void TArchiver::setPassword(const std::string& value) { m_password = value.substr(0, 255); }

void TArchiver::setDLLDirectory(const std::string& value) {
  m_dllDirectory = value;
  if (m_dllDirectory.size() > 1 && platform::isPathSeparator(m_dllDirectory.back()))
    m_dllDirectory.pop_back();
}

void TArchiver::setPasswordReqCount(uint32_t value) { m_passwordReqCount = std::min(value, 15u); }

void TArchiver::setRootDir(const std::string& value) {
  m_rootDir = value;
  if (!m_rootDir.empty() && !platform::isPathSeparator(m_rootDir.back()))
    m_rootDir += platform::kPathSeparator;
}

std::string TArchiver::storeSuffixList(AddStoreExts suffixes) {
  std::string list;
  for (int i = 0; i < kStoreSuffixCount; ++i) {
    if (suffixes.contains(AddStoreSuffixEnum(i))) {
      list += '.';
      list += kStoreSuffixTexts[i];
      list += ':';
    }
  }
  if (!list.empty()) list.pop_back();
  return list;
}

// --- Messages ---------------------------------------------------------------------------------

void TArchiver::reportMessage(int32_t id, const std::string& detail) {
  std::string text = messageText(id) + detail;
  m_lastMessage = text;
  m_lastErrorCode = id;
  if (!m_unattended) host()->showMessage(text);
  if (OnMessage) OnMessage(*this, 0, text);
}

LibraryReport TArchiver::reporter() {
  return [this](int32_t id) { reportMessage(id); };
}

void TArchiver::showException(const EArchiver& error) {
  if (error.displayFlag() == 1 && !m_unattended) host()->showMessage(error.what());
  m_lastErrorCode = error.messageId();
  m_lastMessage = error.what();
  if (OnMessage) OnMessage(*this, 0, m_lastMessage);
}

// --- Library binding --------------------------------------------------------------------------

std::string TArchiver::packLibPath() const { return packLib().path(m_dllDirectory); }

bool TArchiver::loadPackLib() { return packLib().load(m_dllDirectory, m_trace, reporter()); }

void TArchiver::unloadPackLib() { packLib().unload(); }

int32_t TArchiver::PackLibVersion() {
  return packLib().queryVersion(m_dllDirectory, m_trace, reporter());
}

// --- Command record ---------------------------------------------------------------------------

void TArchiver::fillSpecRecord(const std::string& spec, const PackLibCommand& command,
                               PackLibFileSpec& record, CommandStorage& storage) {
  std::size_t start = 0;
  std::size_t end = spec.size();
  record.SpecRecurse = command.RecurseFlag;
  record.SpecEncrypt = command.EncryptFlag;
  if (command.PasswordText != nullptr) record.SpecPassword = storage.keep(command.PasswordText);
  if (!m_literalSpecs) {
    if (!spec.empty() && spec.front() == '>') {
      record.SpecRecurse = kRecurseFromSpec;
      start = 1;
    } else if (!spec.empty() && spec.front() == '|') {
      record.SpecRecurse = 0;
      start = 1;
    }
    std::size_t lt = spec.find('<');
    if (lt != std::string::npos) {
      record.SpecEncrypt = kEncryptFromSpec;
      record.SpecPassword = nullptr;
      if (lt + 1 >= spec.size()) {
        // Nothing after "<": no password, and the file spec keeps its "<" as documented.
        record.SpecEncrypt = 0;
      } else {
        record.SpecPassword = storage.keep(spec.substr(lt + 1));
        end = lt;
      }
    }
  }
  if (!m_rootDir.empty()) record.SpecRootDir = storage.keep(m_rootDir);
  record.SpecText = storage.keep(spec.substr(start, end > start ? end - start : 0));
}

std::unique_ptr<TArchiver::CommandStorage> TArchiver::buildAddCommand(
    int32_t version, const std::string& archivePath) {
  auto storage = std::make_unique<CommandStorage>();
  bool modern = version >= kPackLibFirstModernVersion;
  storage->record.assign(modern ? sizeof(PackLibCommand) : sizeof(PackLibLegacyCommand), 0);
  // The head (offsets 0..127) is the same in both layouts.
  PackLibCommand& c = storage->modern();
  if (version >= kPackLibFirstV160Version) {
    if (!m_archiveComment.empty()) c.CommentText = storage->keep(m_archiveComment);
    c.ArchiveOnlyFlag = m_addOptions.contains(AddOpt::AddArchiveOnly);
    c.ResetArchiveFlag = m_addOptions.contains(AddOpt::AddResetArchive);
    c.ExcludeCount = int32_t(m_excludeSpecList.size());
    for (const auto& spec : m_excludeSpecList) storage->excludes.push_back(storage->keep(spec));
    if (!storage->excludes.empty()) c.ExcludeSpecs = storage->excludes.data();
  }
  if (modern && !m_tempDir.empty()) c.TempDirText = storage->keep(m_tempDir);
  c.InterfaceVersion = kArchiverInterfaceVersion;
  c.Caller = this;
  c.QuietFlag = 1;
  c.CallbackProc = &TArchiver::callback;
  std::string suffixes = storeSuffixList(m_addStoreSuffixes);
  if (!suffixes.empty()) c.StoreSuffixList = storage->keep(suffixes);
  c.OwnerWindow = m_unattended ? nullptr : host()->ownerWindow();
  c.TraceFlag = m_trace;
  c.EncryptFlag = m_addOptions.contains(AddOpt::AddEncrypt);
  c.HiddenFilesFlag = m_addOptions.contains(AddOpt::AddHiddenFiles);
  c.VolumeLabelFlag = m_addOptions.contains(AddOpt::AddVolume);
  c.OmitDirEntriesFlag = !m_addOptions.contains(AddOpt::AddSeparateDirs);
  c.VerboseFlag = m_verbose;
  if (c.TraceFlag) c.VerboseFlag = 1;
  c.Level = m_addCompLevel;
  c.StripPathsFlag = !m_addOptions.contains(AddOpt::AddDirNames);
  c.RecurseFlag = m_addOptions.contains(AddOpt::AddRecurseDirs);
  c.ConstantOne = 1;
  c.ForceDosFlag = m_addOptions.contains(AddOpt::AddForceDOS);
  c.MoveFlag = m_addOptions.contains(AddOpt::AddMove);
  c.UpdateFlag = m_addOptions.contains(AddOpt::AddUpdate);
  c.FreshenFlag = m_addOptions.contains(AddOpt::AddFreshen);
  if (c.FreshenFlag && c.UpdateFlag) c.FreshenFlag = 0;
  c.ZipTimeFlag = m_addOptions.contains(AddOpt::AddZipTime);
  c.ArchivePath = storage->keep(archivePath);
  if (!m_password.empty()) c.PasswordText = storage->keep(m_password.substr(0, kMaxCopiedPassword));

  c.SpecCount = int32_t(m_specList.size());
  if (modern) {
    storage->specs.assign(m_specList.size(), PackLibFileSpec{});
    for (std::size_t i = 0; i < m_specList.size(); ++i)
      fillSpecRecord(m_specList[i], c, storage->specs[i], *storage);
    c.FileSpecs = storage->specs.empty() ? nullptr : storage->specs.data();
    c.Seven = kCommandSeven;
  } else {
    PackLibLegacyCommand& legacy = storage->legacy();
    legacy.Seven = kCommandSeven;
    std::size_t count = std::min<std::size_t>(m_specList.size(), kLegacySpecSlots);
    for (std::size_t i = 0; i < count; ++i) legacy.SpecTexts[i] = storage->keep(m_specList[i]);
  }
  return storage;
}

// --- Callback ---------------------------------------------------------------------------------

int32_t TArchiver::callback(PackLibCallbackInfo* info) {
  if (info == nullptr || info->Caller == nullptr) return 0;
  auto* self = static_cast<TArchiver*>(info->Caller);
  try {
    return self->handleCallback(*info);
  } catch (...) {
    // Nothing may cross the library's C frames: keep the failure, ask the library to stop, and
    // report it once the library has returned.
    if (!self->m_callbackError) self->m_callbackError = std::current_exception();
    return 1;
  }
}

namespace {

std::string callbackText(const PackLibCallbackInfo& info) {
  std::size_t length = strnlen(info.Text, kCallbackTextSize);
  std::string text(info.Text, length);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
  // Libraries may send either separator; handlers always see this platform's.
  return platform::withNativeSeparators(std::move(text));
}

void writeText(PackLibCallbackInfo& info, const std::string& text, std::size_t maxLength) {
  std::size_t length = std::min(text.size(), maxLength);
  std::memcpy(info.Text, text.data(), length);
  info.Text[length] = '\0';
}

int64_t wideArg2(const PackLibCallbackInfo& info) {
  return info.RecordSize >= sizeof(PackLibCallbackInfo) ? info.Size64 : info.Arg2;
}

}  // namespace

int32_t TArchiver::handleCallback(PackLibCallbackInfo& info) {
  std::string text = callbackText(info);
  switch (info.ActionCode) {
    case kActionNewFile:
      if (OnProgress) OnProgress(*this, ProgressType::NewFile, text, wideArg2(info));
      break;
    case kActionProgress:
      if (OnProgress) OnProgress(*this, ProgressType::ProgressUpdate, {}, wideArg2(info));
      break;
    case kActionEndOfBatch:
      if (OnProgress) OnProgress(*this, ProgressType::EndOfBatch, {}, 0);
      break;
    case kActionMessage:
      m_lastMessage = text;
      if (info.Arg1 != 0) {
        m_lastErrorCode = info.Arg1 & 255;
        m_lastFullErrorCode = info.Arg1;
      }
      if (OnMessage) OnMessage(*this, info.Arg1, text);
      break;
    case kActionTotalFiles:
      if (OnProgress) OnProgress(*this, ProgressType::TotalFiles2Process, {}, info.Arg2);
      break;
    case kActionTotalSize:
      m_totalBytes = wideArg2(info);
      if (OnProgress) OnProgress(*this, ProgressType::TotalSize2Process, {}, m_totalBytes);
      break;
    case kActionNewName:
      if (OnSetNewName) {
        std::string name = text;
        bool changed = false;
        OnSetNewName(*this, name, changed);
        if (changed) writeText(info, name, kCallbackTextSize - 1);
        info.Arg1 = changed ? 1 : 0;
      }
      break;
    case kActionPassword:
      handlePasswordRequest(info, text);
      break;
    case kActionCrcError:
      if (OnCRC32Error) {
        bool doExtract = true;
        OnCRC32Error(*this, text, uint32_t(info.Arg1), uint32_t(info.Arg2), doExtract);
        info.Arg1 = doExtract ? 1 : 0;
      } else {
        info.Arg1 = 2;
      }
      break;
    case kActionOverwrite:
      if (OnExtractOverwrite) {
        bool doOverwrite = (info.Arg2 & 0xFF) != 0;
        OnExtractOverwrite(*this, text, (info.Arg1 & 1) != 0, doOverwrite);
        info.Arg2 = doOverwrite ? 1 : 0;
      }
      break;
    case kActionSkipped:
      if (info.Arg1 != 0) {
        m_lastErrorCode = info.Arg1 & 255;
        m_lastFullErrorCode = info.Arg1;
      }
      if (OnExtractSkipped)
        OnExtractSkipped(*this, text, UnpackSkipTypes(info.Arg2 & 0xFF), info.Arg1);
      break;
    case kActionFileComment:
      if (OnFileComment) {
        std::string comment;
        bool changed = false;
        OnFileComment(*this, text, comment, changed);
        if (changed && !comment.empty()) {
          writeText(info, comment, kCallbackTextSize - 1);
        } else {
          info.Text[0] = '\0';
        }
        info.Arg1 = changed ? 1 : 0;
        info.Arg2 = int32_t(std::min<std::size_t>(comment.size(), kCallbackTextSize - 1));
      }
      break;
    default:
      break;
  }
  // Taken before the messages are processed: a cancel set while they run reaches the library
  // at the next callback.
  int32_t answer = m_cancelRequested;
  host()->processMessages();
  return answer;
}

void TArchiver::handlePasswordRequest(PackLibCallbackInfo& info, const std::string& text) {
  std::string password;
  uint32_t repeatCount = uint32_t(info.Arg2);
  if (OnPasswordError) {
    OnPasswordError(*this, password, text, repeatCount);
  } else {
    bool twice = (info.Arg1 & 1) != 0;
    if (m_unattended) {
      reportMessage(twice ? msg::kPasswordTwiceUnattended : msg::kPasswordOnceUnattended);
    } else {
      ArchiverHost& h = *host();
      std::string ok = messageText(msg::kPasswordOk);
      std::string cancel = messageText(msg::kPasswordCancel);
      // Without a catalogue text the title is the fallback text alone, without the ID.
      std::string title =
          catalogueText(msg::kPasswordTitle)
              .value_or(std::string(kMissingMessageText)
                            .substr(0, std::string(kMissingMessageText).find('\n')));
      password = h.askPassword(title, messageText(msg::kPasswordPrompt), ok, cancel);
      if (twice && !password.empty()) {
        std::string confirmation =
            h.askPassword(title, messageText(msg::kPasswordConfirm), ok, cancel);
        if (confirmation != password) {
          reportMessage(msg::kPasswordsDiffer);
          password.clear();
        }
      }
    }
  }
  if (!password.empty()) {
    writeText(info, password, kMaxPasswordLength);
    info.Arg1 = 1;
  } else {
    info.Arg1 = 0;
    repeatCount = 0;
  }
  info.Arg2 = int32_t(std::min(repeatCount, 15u));
}

// --- Add --------------------------------------------------------------------------------------

namespace {

bool hasExeExtension(const std::string& path) {
  std::string name = platform::fileNameOf(path);
  auto dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string ext = name.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::toupper(c); });
  return ext == ".EXE";
}

void copyFile(const std::string& from, const std::string& to) {
  platform::File in = platform::File::openRead(from);
  platform::File out = platform::File::create(to);
  std::vector<uint8_t> buffer(1 << 20);
  const std::int64_t size = platform::fileSize(from);
  for (std::int64_t done = 0; done < size;) {
    const std::size_t n = out.appendFrom(in, std::size_t(size - done), buffer.data());
    if (n == 0) throw platform::EInOutError(platform::kIoReadBeyondEnd, from);
    done += std::int64_t(n);
  }
  out.close();
}

}  // namespace

void TArchiver::Add() {
  m_addedCount = 0;
  if (m_specList.empty()) return reportMessage(msg::kNoFileSpec);
  if (m_archiveFileName.empty()) return reportMessage(msg::kNoArchiveName);
  if (m_unattended && m_addOptions.contains(AddOpt::AddEncrypt) && m_password.empty())
    return reportMessage(msg::kEncryptWithoutPassword);
  bool spanning =
      m_addOptions.contains(AddOpt::AddDiskSpan) || m_addOptions.contains(AddOpt::AddDiskSpanErase);
  if (spanning) {
    if (m_addOptions.contains(AddOpt::AddFreshen) || m_addOptions.contains(AddOpt::AddUpdate))
      return reportMessage(msg::kSpanWithFreshen);
    if (hasExeExtension(m_archiveFileName)) return reportMessage(msg::kSpanToExe);
  }
  if (m_busy) return;
  if (hasExeExtension(m_archiveFileName) && m_stubSize == 0 &&
      !platform::fileExists(m_archiveFileName)) {
    // FIXME: no self-extractor stub exists for this platform; an ".exe" archive is refused.
    throw EArchiver(msg::kStubFailed, int32_t(2));
  }
  PackLibBinding& binding = packLib();
  bool loadedHere = false;
  if (!binding.isLoaded()) {
    loadPackLib();
    loadedHere = true;
    if (!binding.isLoaded()) return;
  }
  {
    m_busy = 1;
    m_cancelRequested = 0;
    m_callbackError = nullptr;
    // Also when a message handler throws out of the failure report below.
    const platform::ScopeExit restore([&] {
      m_specList.clear();
      m_excludeSpecList.clear();
      if (loadedHere) unloadPackLib();
      m_cancelRequested = 0;
      m_busy = 0;
    });
    // A library without both entry points is never called.
    if (binding.exec() != nullptr && binding.version() != nullptr) runAdd(spanning);
  }
  if (m_addedCount > 0) list();
}

void TArchiver::runAdd(bool spanning) {
  PackLibBinding& binding = packLib();
  try {
    std::optional<platform::PrivateTempDir> spanFolder;
    std::string writePath = m_archiveFileName;
    if (spanning) {
      // FIXME: no removable-disk sets here; the archive is written as one volume, in a folder
      // of our own first, and copied into place once the library has finished it.
      spanFolder.emplace("fennock-span", m_tempDir);
      writePath = spanFolder->file("archive.zip");
      if (m_verbose && OnMessage) OnMessage(*this, 0, "Temporary zipfile: " + writePath);
    }
    m_libraryVersion = binding.version()();
    // Destroyed before the library can be unloaded.
    std::unique_ptr<CommandStorage> command = buildAddCommand(m_libraryVersion, writePath);
    m_addedCount = binding.exec()(command->record.data());
    if (m_callbackError) std::rethrow_exception(m_callbackError);
    if (spanning && m_addedCount > 0) {
      try {
        copyFile(writePath, m_archiveFileName);
      } catch (...) {
        m_addedCount = 0;
        throw;
      }
    }
  } catch (const platform::EInOutError& e) {
    m_callbackError = nullptr;
    reportMessage(msg::kAddException, std::string(": ") + e.what());
  } catch (...) {
    m_callbackError = nullptr;
    reportMessage(msg::kAddException);
  }
}

void TArchiver::setArchiveFileName(const std::string& value) {
  m_archiveFileName = value;
  list();
}

}  // namespace zip
