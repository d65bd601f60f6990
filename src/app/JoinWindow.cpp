// The merger's window for a set chosen by any one of its files, with the merger's own code.
#include "app/JoinWindow.h"

#include "PayloadSizes.h"
#include "job/MergerSystem.h"
#include "merger/SetMembers.h"
#include "payloads/MainWindowDescription.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "store/ImageStamp.h"

namespace app {

namespace {

// The packed unarchiver library of the system this program runs on, for compressed sets whose
// merger was made for another system. The stores are loaded on the first such set only; their
// files stay until the program ends. The stores are named by the system they serve.
std::string ownUnpackLibrary() {
  struct Stores {
    store::TFileSource PackLib{"PackLib"}, UnpackLib{"UnpackLib"}, SFX{"SFX"};
    store::TFileSource WindowsUnpackLib{"WindowsUnpackLib"}, WindowsSFX{"WindowsSFX"};
    Stores() {
      store::TFileSource* all[] = {&PackLib, &UnpackLib, &SFX, &WindowsUnpackLib, &WindowsSFX};
      payloads::loadMainWindowStores(all);
    }
  };
  static Stores stores;
  return (job::kHostMergerSystem == job::MergerSystem::Windows ? stores.WindowsUnpackLib
                                                               : stores.UnpackLib)
      .FileName();
}

// The longest merger image looked for: a sanitizer build's Linux merger is about 7 MB.
constexpr std::size_t kLongestMergerImage = 16 << 20;

// Both systems' mergers put the same record after their image; the image a merger file starts
// with tells its length by the stamp its build filled in, so a set made by another build (or
// for another system) joins too. Without a readable stamp this build's own lengths are the
// best guess.
merger::MergerLayout layoutOf(const std::string& mergerPath) {
  const std::string head = platform::readFileStart(mergerPath, kLongestMergerImage);
  const job::MergerSystem system = job::mergerSystemOfImage(head) == job::MergerSystem::Windows
                                       ? job::MergerSystem::Windows
                                       : job::MergerSystem::Linux;
  const bool windows = system == job::MergerSystem::Windows;
  merger::MergerLayout layout{
      windows ? payloads::WindowsMergerImageSize : payloads::LinuxMergerImageSize,
      windows ? payloads::WindowsUnzipLibrarySize : payloads::LinuxUnzipLibrarySize};
  if (auto stamp = store::leadingImageStamp(
          {reinterpret_cast<const std::uint8_t*>(head.data()), head.size()}))
    layout = {stamp->mergerImageSize, stamp->unzipLibrarySize};
  if (layout.imageSize <= 0)
    throw merger::EMergeError("\"" + platform::fileNameOf(mergerPath) +
                              "\" is a merger for Windows. " + job::kNoWindowsMergerText +
                              "; join the set on Windows with its merger");
  // The library that the set carries is for its own system: another system's cannot be loaded.
  if (system == job::kHostMergerSystem) return layout;
  return {layout.imageSize, layout.unzipLibrarySize, ownUnpackLibrary()};
}

}  // namespace

std::unique_ptr<merger::TForm1> makeJoinForm(const std::string& member) {
  const std::optional<merger::SetLocation> set = merger::findSet(member);
  if (!set)
    throw merger::EMergeError("\"" + platform::fileNameOf(member) +
                              "\" is no file of a Fennock set; choose its .exe merger, one of "
                              "its .frg pieces, its .bat or .sh script or its .sha256 file");
  if (set->exeMerger)
    return std::make_unique<merger::TForm1>(set->mergerPath, layoutOf(set->mergerPath));
  // A script's set has no image: the layout is never read.
  const merger::MergerLayout layout{payloads::MergerImageSize, payloads::UnzipLibrarySize};
  return std::make_unique<merger::TForm1>(member, layout,
                                          [set = *set] { return merger::planScriptSet(set); });
}

bool isSetMember(const std::string& member) { return merger::findSet(member).has_value(); }

}  // namespace app
