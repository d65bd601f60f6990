// A stand-in archiver library that records the command record it receives and runs a script of
// callbacks, so that the component's records and callback handling can be checked field by field.
#include "RecordingLib.h"

#include <cstring>

namespace {

RecordingLibState g_state;

std::string text(const char* p) { return p ? p : ""; }

}  // namespace

extern "C" {

FENNOCK_LIBRARY_EXPORT RecordingLibState* RecordingLibGetState() { return &g_state; }

FENNOCK_LIBRARY_EXPORT int32_t GetPackLibVersion(void) { return g_state.version; }

FENNOCK_LIBRARY_EXPORT int32_t PackLibExec(void* record) {
  RecordingLibState& s = g_state;
  ++s.calls;
  s.legacy = s.version < kPackLibFirstModernVersion;
  std::size_t size = s.legacy ? sizeof(PackLibLegacyCommand) : sizeof(PackLibCommand);
  s.rawRecord.assign(static_cast<uint8_t*>(record), static_cast<uint8_t*>(record) + size);
  const auto* c = static_cast<const PackLibCommand*>(record);
  s.archivePath = text(c->ArchivePath);
  s.hasPassword = c->PasswordText != nullptr;
  s.password = text(c->PasswordText);
  s.hasSuffixes = c->StoreSuffixList != nullptr;
  s.suffixes = text(c->StoreSuffixList);
  s.specs.clear();
  s.excludes.clear();
  if (s.legacy) {
    const auto* l = static_cast<const PackLibLegacyCommand*>(record);
    for (int i = 0; i < l->SpecCount; ++i) {
      RecordedSpec r;
      r.text = text(l->SpecTexts[i]);
      s.specs.push_back(r);
    }
  } else {
    s.hasTempDir = c->TempDirText != nullptr;
    s.tempDir = text(c->TempDirText);
    s.hasComment = c->CommentText != nullptr;
    s.comment = text(c->CommentText);
    for (int i = 0; i < c->SpecCount; ++i) {
      const PackLibFileSpec& f = c->FileSpecs[i];
      RecordedSpec r;
      r.text = text(f.SpecText);
      r.hasPassword = f.SpecPassword != nullptr;
      r.password = text(f.SpecPassword);
      r.hasRootDir = f.SpecRootDir != nullptr;
      r.rootDir = text(f.SpecRootDir);
      r.encrypt = f.SpecEncrypt;
      r.recurse = f.SpecRecurse;
      s.specs.push_back(r);
    }
    s.excludesNull = c->ExcludeSpecs == nullptr;
    for (int i = 0; i < c->ExcludeCount && c->ExcludeSpecs; ++i)
      s.excludes.push_back(text(c->ExcludeSpecs[i]));
  }
  for (auto& step : s.script) {
    PackLibCallbackInfo info;
    std::memset(&info, 0, sizeof info);
    info.RecordSize = sizeof info;
    info.Caller = c->Caller;
    info.ActionCode = step.action;
    info.Arg1 = step.arg1;
    info.Arg2 = step.arg2;
    info.Size64 = step.arg2;
    std::memcpy(info.Text, step.text.data(), std::min<std::size_t>(step.text.size(), 511));
    step.answer = c->CallbackProc(&info);
    step.arg1After = info.Arg1;
    step.arg2After = info.Arg2;
    step.textAfter = info.Text;
  }
  return s.result;
}

}  // extern "C"
