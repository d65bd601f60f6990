// A stand-in unarchiver library that records the command record it receives, so that the
// extract operation's records can be checked field by field in either layout.
#include "ExtractRecording.h"
#include "platform/Paths.h"
#include "zip/UnpackRecords.h"

namespace {
ExtractRecording g_state;
std::string text(const char* p) { return p ? p : ""; }
}  // namespace

extern "C" {

FENNOCK_LIBRARY_EXPORT ExtractRecording* ExtractRecordingState() { return &g_state; }

FENNOCK_LIBRARY_EXPORT int32_t GetUnpackLibVersion(void) { return g_state.version; }

FENNOCK_LIBRARY_EXPORT int32_t UnpackLibExec(void* record) {
  ExtractRecording& s = g_state;
  ++s.calls;
  const auto* c = static_cast<const UnpackLibCommand*>(record);
  s.legacy = s.version < kUnpackLibFirstModernVersion;
  s.owner = c->OwnerWindow;
  s.interfaceVersion = c->InterfaceVersion;
  s.constantOne = c->ConstantOne;
  s.test = c->TestFlag;
  s.update = c->UpdateFlag;
  s.freshen = c->FreshenFlag;
  s.dirNames = c->DirNamesFlag;
  s.overwrite = c->OverwriteFlag;
  s.verbose = c->VerboseFlag;
  s.passwordNull = c->PasswordText == nullptr;
  s.password = text(c->PasswordText);
  s.archivePath = text(c->ArchivePath);
  s.currentFolder = platform::currentFolder();
  s.specs.clear();
  if (s.legacy) {
    const auto* l = static_cast<const UnpackLibLegacyCommand*>(record);
    s.seven = l->Seven;
    for (int i = 0; i < l->SpecCount; ++i) s.specs.push_back(text(l->SpecTexts[i]));
  } else {
    s.seven = c->Seven;
    s.retries = c->PasswordRetries;
    for (int i = 0; i < c->SpecCount; ++i) s.specs.push_back(text(c->FileSpecs[i].SpecText));
  }
  if (s.sendNewFile) {
    PackLibCallbackInfo info{};
    info.RecordSize = sizeof info;
    info.Caller = c->Caller;
    info.ActionCode = kActionNewFile;
    s.callbackAnswer = c->CallbackProc(&info);
  }
  return s.result;
}

}  // extern "C"
