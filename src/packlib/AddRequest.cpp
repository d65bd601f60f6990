// Decoding the command record of the archiver library.
#include "packlib/AddRequest.h"

#include <algorithm>
#include <cctype>

#include "packlib/Reporter.h"

namespace packlib {
namespace {

std::string text(const char* p) { return p ? std::string(p) : std::string(); }

std::vector<std::string> splitSuffixes(const std::string& list) {
  std::vector<std::string> suffixes;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    std::string suffix = list.substr(start, end - start);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (!suffix.empty()) suffixes.push_back(suffix);
    start = end + 1;
  }
  return suffixes;
}

// Fields 0..127 mean the same in both layouts.
template <typename Command>
void decodeHead(const Command& c, AddRequest& request) {
  request.archivePath = text(c.ArchivePath);
  request.level = std::clamp(int(c.Level), 0, 9);
  request.stripPaths = c.StripPathsFlag != 0;
  request.hiddenFiles = c.HiddenFilesFlag != 0;
  request.move = c.MoveFlag != 0;
  request.update = c.UpdateFlag != 0;
  request.freshen = c.FreshenFlag != 0 && c.UpdateFlag == 0;
  request.verbose = c.VerboseFlag != 0 || c.TraceFlag != 0;
  request.encrypt = c.EncryptFlag != 0;
  request.storeSuffixes = splitSuffixes(text(c.StoreSuffixList));
}

}  // namespace

AddRequest decodeCommand(const void* command) {
  AddRequest request;
  const auto* modern = static_cast<const PackLibCommand*>(command);
  if (modern->Seven == kCommandSeven) {
    decodeHead(*modern, request);
    int32_t count = std::max<int32_t>(modern->SpecCount, 0);
    if (count > 0 && modern->FileSpecs == nullptr)
      throw PackError(kErrBadCommand, "The command names specs but carries none");
    for (int32_t i = 0; i < count; ++i) {
      const PackLibFileSpec& record = modern->FileSpecs[i];
      SpecRequest spec;
      spec.text = text(record.SpecText);
      spec.recurse = record.SpecRecurse != 0;
      spec.rootDir = text(record.SpecRootDir);
      spec.encrypt = record.SpecEncrypt != 0 && record.SpecPassword && *record.SpecPassword;
      request.specs.push_back(spec);
    }
    if (modern->ExcludeSpecs != nullptr) {
      for (int32_t i = 0; i < modern->ExcludeCount; ++i)
        request.excludes.push_back(text(modern->ExcludeSpecs[i]));
    }
    request.comment = text(modern->CommentText);
    return request;
  }
  const auto* legacy = static_cast<const PackLibLegacyCommand*>(command);
  if (legacy->Seven != kCommandSeven)
    throw PackError(kErrBadCommand, "The command record is not understood");
  decodeHead(*legacy, request);
  int32_t count = std::clamp<int32_t>(legacy->SpecCount, 0, kLegacySpecSlots);
  for (int32_t i = 0; i < count; ++i) {
    SpecRequest spec;
    spec.text = text(legacy->SpecTexts[i]);
    spec.recurse = legacy->RecurseFlag != 0;
    request.specs.push_back(spec);
  }
  return request;
}

}  // namespace packlib
