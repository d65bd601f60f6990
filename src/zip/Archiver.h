// TArchiver: the archiver component that drives the archiver libraries through their records.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "zip/ArchiverTypes.h"
#include "zip/LibraryRecords.h"

namespace zip {

// What the component needs from the application: message boxes, the password prompt, the owner
// window, the busy cursor and the processing of pending window messages. The app binds these
// to FLTK (processMessages to Fl::check()); the default host shows messages on stderr, refuses
// passwords and processes nothing.
class ArchiverHost {
 public:
  virtual ~ArchiverHost() = default;
  virtual void showMessage(const std::string& text);
  // The modal password dialog (344x137, "*" echo, at most 80 characters). Returns the entered
  // text when OK was pressed, an empty text otherwise.
  virtual std::string askPassword(const std::string& title, const std::string& prompt,
                                  const std::string& okCaption, const std::string& cancelCaption);
  virtual void processMessages() {}
  virtual void setBusyCursor(bool) {}
  virtual void* ownerWindow() { return nullptr; }
};

class TArchiver {
 public:
  TArchiver();
  ~TArchiver();
  TArchiver(const TArchiver&) = delete;
  TArchiver& operator=(const TArchiver&) = delete;

  // The application's host (dialogs, message pumping); null restores the default host.
  void setHost(ArchiverHost* host);

  // --- Published properties -----------------------------------------------------------------
  bool Verbose() const { return m_verbose; }
  void setVerbose(bool value) { m_verbose = value; }
  bool Trace() const { return m_trace; }
  void setTrace(bool value) { m_trace = value; }
  int32_t AddCompLevel() const { return m_addCompLevel; }
  void setAddCompLevel(int32_t value) { m_addCompLevel = value; }
  AddOpts AddOptions() const { return m_addOptions; }
  void setAddOptions(AddOpts value) { m_addOptions = value; }
  const std::string& ExtrBaseDir() const { return m_extrBaseDir; }
  void setExtrBaseDir(const std::string& value) { m_extrBaseDir = value; }
  ExtrOpts ExtrOptions() const { return m_extrOptions; }
  void setExtrOptions(ExtrOpts value) { m_extrOptions = value; }
  SFXOpts SFXOptions() const { return m_sfxOptions; }
  void setSFXOptions(SFXOpts value) { m_sfxOptions = value; }
  // The list itself: appending to it is how callers name the files of the next operation.
  std::vector<std::string>& SpecList() { return m_specList; }
  void setSpecList(const std::vector<std::string>& value) { m_specList = value; }
  // Whether the leading ">" and "|" and a "<" before a password are read in SpecList entries,
  // or every character is part of the file spec (a caller that names one file by its own name).
  bool LiteralSpecs() const { return m_literalSpecs; }
  void setLiteralSpecs(bool value) { m_literalSpecs = value; }
  std::vector<std::string>& ExcludeSpecList() { return m_excludeSpecList; }
  void setExcludeSpecList(const std::vector<std::string>& value) { m_excludeSpecList = value; }
  bool Unattended() const { return m_unattended; }
  void setUnattended(bool value) { m_unattended = value; }
  const std::string& ArchiveFileName() const { return m_archiveFileName; }
  // Stores the name and lists the archive (entries, comment, stub size).
  void setArchiveFileName(const std::string& value);
  const std::string& Password() const { return m_password; }
  void setPassword(const std::string& value);  // at most 255 characters kept
  const std::string& SFXPath() const { return m_sfxPath; }
  void setSFXPath(const std::string& value) { m_sfxPath = value; }
  // The folder that holds the library file; one trailing separator is removed on assignment.
  const std::string& DLLDirectory() const { return m_dllDirectory; }
  void setDLLDirectory(const std::string& value);
  OvrOpts SFXOverWriteMode() const { return m_sfxOverWriteMode; }
  void setSFXOverWriteMode(OvrOpts value) { m_sfxOverWriteMode = value; }
  const std::string& SFXCaption() const { return m_sfxCaption; }
  void setSFXCaption(const std::string& value) { m_sfxCaption = value; }
  const std::string& SFXDefaultDir() const { return m_sfxDefaultDir; }
  void setSFXDefaultDir(const std::string& value) { m_sfxDefaultDir = value; }
  const std::string& SFXCommandLine() const { return m_sfxCommandLine; }
  void setSFXCommandLine(const std::string& value) { m_sfxCommandLine = value; }
  const std::string& SFXMessage() const { return m_sfxMessage; }
  void setSFXMessage(const std::string& value) { m_sfxMessage = value; }
  const std::string& TempDir() const { return m_tempDir; }
  void setTempDir(const std::string& value) { m_tempDir = value; }
  int32_t KeepFreeOnDisk1() const { return m_keepFreeOnDisk1; }
  void setKeepFreeOnDisk1(int32_t value) { m_keepFreeOnDisk1 = value; }
  int32_t MaxVolumeSize() const { return m_maxVolumeSize; }
  void setMaxVolumeSize(int32_t value) { m_maxVolumeSize = value; }
  int32_t MinFreeVolumeSize() const { return m_minFreeVolumeSize; }
  void setMinFreeVolumeSize(int32_t value) { m_minFreeVolumeSize = value; }
  bool ConfirmErase() const { return m_confirmErase; }
  void setConfirmErase(bool value) { m_confirmErase = value; }
  CodePageOpts CodePage() const { return m_codePage; }
  void setCodePage(CodePageOpts value) { m_codePage = value; }
  DeleteOpts HowToDelete() const { return m_howToDelete; }
  void setHowToDelete(DeleteOpts value) { m_howToDelete = value; }
  const std::string& VersionInfo() const { return m_versionInfo; }
  void setVersionInfo(const std::string&) {}  // read-only in effect
  const std::vector<uint8_t>& SFXIcon() const { return m_sfxIcon; }
  void setSFXIcon(const std::vector<uint8_t>& value) { m_sfxIcon = value; }
  AddStoreExts AddStoreSuffixes() const { return m_addStoreSuffixes; }
  void setAddStoreSuffixes(AddStoreExts value) { m_addStoreSuffixes = value; }
  uint32_t PasswordReqCount() const { return m_passwordReqCount; }
  void setPasswordReqCount(uint32_t value);  // 16 and more store 15
  bool UseDirOnlyEntries() const { return m_useDirOnlyEntries; }
  void setUseDirOnlyEntries(bool value) { m_useDirOnlyEntries = value; }
  // Base folder of relative specs; a trailing separator is appended when missing.
  const std::string& RootDir() const { return m_rootDir; }
  void setRootDir(const std::string& value);

  // --- Events (Sender is the component) -----------------------------------------------------
  std::function<void(TArchiver&)> OnDirUpdate;
  std::function<void(TArchiver&, ProgressType, const std::string& fileName, int64_t fileSize)>
      OnProgress;
  std::function<void(TArchiver&, int32_t errCode, const std::string& message)> OnMessage;
  std::function<void(TArchiver&, std::string& oldFileName, bool& isChanged)> OnSetNewName;
  std::function<void(TArchiver&, int32_t seqNo, const ArchiveDirEntry& entry)> OnNewName;
  std::function<void(TArchiver&, const std::string& forFile, uint32_t foundCrc,
                     uint32_t expectedCrc, bool& doExtract)>
      OnCRC32Error;
  std::function<void(TArchiver&, std::string& newPassword, const std::string& forFile,
                     uint32_t& repeatCount)>
      OnPasswordError;
  std::function<void(TArchiver&, const std::string& forFile, bool isOlder, bool& doOverwrite)>
      OnExtractOverwrite;
  std::function<void(TArchiver&, const std::string& forFile, UnpackSkipTypes skipType,
                     int32_t extError)>
      OnExtractSkipped;
  std::function<void(TArchiver&, const std::string& forFile, bool& doOverwrite)>
      OnCopyArchiveOverwrite;
  std::function<void(TArchiver&, int32_t diskSeqNo, int32_t diskTotal, const std::string& drive,
                     bool& abortAction)>
      OnGetNextDisk;
  std::function<void(TArchiver&, const std::string& forFile, std::string& fileComment,
                     bool& isChanged)>
      OnFileComment;

  // --- Run-time state -----------------------------------------------------------------------
  int32_t LastErrorCode() const { return m_lastErrorCode; }
  int32_t LastFullErrorCode() const { return m_lastFullErrorCode; }
  const std::string& LastMessage() const { return m_lastMessage; }
  int32_t AddedCount() const { return m_addedCount; }
  bool CancelRequested() const { return m_cancelRequested != 0; }
  void setCancelRequested(bool value) { m_cancelRequested = value ? 1 : 0; }
  bool Busy() const { return m_busy != 0; }
  // The total size that the library last announced; 64-bit (libraries of this family send it).
  int64_t TotalBytes() const { return m_totalBytes; }

  // The listing of ArchiveFileName.
  const std::vector<ArchiveDirEntry>& Entries() const { return m_entries; }
  int32_t DirOnlyCount() const { return m_dirOnlyCount; }
  const std::string& ArchiveComment() const { return m_archiveComment; }
  int64_t StubSize() const { return m_stubSize; }
  int32_t DiskNumber() const { return m_diskNumber; }
  bool IsSpanned() const { return m_isSpanned; }

  // --- Operations ---------------------------------------------------------------------------
  // Puts the files of SpecList into ArchiveFileName through the archiver library.
  void Add();
  // The archiver library's version; 0 when it cannot be loaded.
  int32_t PackLibVersion();

  // The store-suffix list text for a set (".gif:.png:..."), empty for the empty set.
  static std::string storeSuffixList(AddStoreExts suffixes);
  // The path the library is loaded from, or empty when none qualifies.
  std::string packLibPath() const;

  // Extracts the entries named by SpecList (all when empty) from ArchiveFileName into
  // ExtrBaseDir through the unarchiver library; the outcome is ExtractedCount.
  void Extract();
  int32_t ExtractedCount() const { return m_extractedCount; }
  // The unarchiver library's version; 0 when it cannot be loaded.
  int32_t UnpackLibVersion();
  // DLLDirectory + the unarchiver library's file name when that file exists, else empty.
  std::string unpackLibPath() const;

 private:
  friend struct ArchiverAccess;  // the record tests and the extract operation's helpers
  struct CommandStorage;

  // Message reporting (by ID, optional detail) and showing an EArchiver.
  void reportMessage(int32_t id, const std::string& detail = {});
  // reportMessage for the library loader.
  std::function<void(int32_t)> reporter();
  void showException(const EArchiver& error);

  // Library binding (process-wide).
  bool loadPackLib();
  void unloadPackLib();
  bool loadUnpackLib();
  void unloadUnpackLib();
  struct UnpackCommandStorage;
  std::unique_ptr<UnpackCommandStorage> buildExtractCommand(int32_t version,
                                                            const std::string& archivePath);

  // Runs the loaded library's Add; failures are reported, not thrown.
  void runAdd(bool spanning);
  // The command record of one Add, owning every text it points to.
  std::unique_ptr<CommandStorage> buildAddCommand(int32_t version, const std::string& archivePath);
  void fillSpecRecord(const std::string& spec, const PackLibCommand& command,
                      PackLibFileSpec& record, CommandStorage& storage);

  // The callback that the libraries call; Caller is the component.
  static int32_t callback(PackLibCallbackInfo* info);
  int32_t handleCallback(PackLibCallbackInfo& info);
  void handlePasswordRequest(PackLibCallbackInfo& info, const std::string& text);

  // Listing of ArchiveFileName.
  void list();
  void clearListing();

  ArchiverHost* host();

  bool m_verbose = false;
  bool m_trace = false;
  int32_t m_addCompLevel = 9;
  AddOpts m_addOptions;
  std::string m_extrBaseDir;
  ExtrOpts m_extrOptions;
  SFXOpts m_sfxOptions{SFXOpt::SFXCheckSize};
  std::vector<std::string> m_specList;
  bool m_literalSpecs = false;
  std::vector<std::string> m_excludeSpecList;
  bool m_unattended = false;
  std::string m_archiveFileName;
  std::string m_password;
  std::string m_sfxPath = "ArcSFX.bin";
  std::string m_dllDirectory;
  OvrOpts m_sfxOverWriteMode = OvrOpts::OvrConfirm;
  std::string m_sfxCaption = "Self-extracting Archive";
  std::string m_sfxDefaultDir;
  std::string m_sfxCommandLine;
  std::string m_sfxMessage;
  std::string m_tempDir;
  int32_t m_keepFreeOnDisk1 = 0;
  int32_t m_maxVolumeSize = 0;
  int32_t m_minFreeVolumeSize = 65536;
  bool m_confirmErase = true;
  CodePageOpts m_codePage = CodePageOpts::cpAuto;
  DeleteOpts m_howToDelete = DeleteOpts::htdAllowUndo;
  std::string m_versionInfo = "1.60";
  std::vector<uint8_t> m_sfxIcon;
  AddStoreExts m_addStoreSuffixes = AddStoreExts::allBut(AddStoreSuffixEnum::assEXE);
  uint32_t m_passwordReqCount = 1;
  bool m_useDirOnlyEntries = false;
  std::string m_rootDir;

  int32_t m_lastErrorCode = 0;
  int32_t m_lastFullErrorCode = 0;
  std::string m_lastMessage;
  int32_t m_addedCount = 0;
  int32_t m_extractedCount = 0;
  uint8_t m_cancelRequested = 0;
  uint8_t m_busy = 0;
  int64_t m_totalBytes = 0;
  int32_t m_libraryVersion = 0;        // of the library driving the running operation
  std::exception_ptr m_callbackError;  // a handler's exception, rethrown after the library returns

  std::vector<ArchiveDirEntry> m_entries;
  int32_t m_dirOnlyCount = 0;
  std::string m_archiveComment;
  int64_t m_stubSize = 0;
  int32_t m_diskNumber = 0;
  bool m_isSpanned = false;

  ArchiverHost* m_host = nullptr;
};

}  // namespace zip
