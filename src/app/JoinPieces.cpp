// Joining from the main window: File, "Join pieces...", and a file given on the command line.
#include "PayloadSizes.h"
#include "app/JoinWindow.h"
#include "app/MainWindow.h"
#include "job/MergerSystem.h"
#include "merger/SetMembers.h"
#include "payloads/MainWindowDescription.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

namespace app {

namespace {

// The packed unarchiver library of the system this program runs on, for compressed sets whose
// merger was made for another system. The stores are loaded on the first such set only; their
// files stay until the program ends.
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
  return stores.UnpackLib.FileName();
}

// Both systems' mergers put the same record after their image; the image a merger file starts
// with tells its length.
merger::MergerLayout layoutOf(const std::string& mergerPath) {
  char start[4] = {};
  std::size_t got = 0;
  {
    platform::File file = platform::File::openRead(mergerPath);
    got = file.read(start, sizeof start);
  }
  if (job::mergerSystemOfImage({start, got}) != job::MergerSystem::Windows)
    return {payloads::LinuxMergerImageSize, payloads::LinuxUnzipLibrarySize};
  if (payloads::WindowsMergerImageSize <= 0)
    throw merger::EMergeError("\"" + platform::fileNameOf(mergerPath) +
                              "\" is a merger for Windows. " + job::kNoWindowsMergerText +
                              "; join the set on Windows with its merger");
  return {payloads::WindowsMergerImageSize, payloads::WindowsUnzipLibrarySize, ownUnpackLibrary()};
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

void TForm1::Joinpieces1Click() {
  if (!OpenDialog2.execute()) return;
  openJoinWindow(OpenDialog2.FileName());
}

void TForm1::openFile(const std::string& path) {
  if (app::isSetMember(path) &&
      ui::dialogs().confirm(ui::Application::instance().title(),
                            "\"" + platform::fileNameOf(path) +
                                "\" belongs to a set of pieces. Join the set instead of "
                                "splitting this file?")) {
    OpenDialog2.setFileName(path);
    openJoinWindow(path);
    return;
  }
  OpenDialog1.setFileName(path);
  chooseInputFile(path);
}

void TForm1::openJoinWindow(const std::string& member) {
  // A window that is merging stays until its merge is over.
  if (m_joinForm && !m_joinForm->enabled()) return;
  std::unique_ptr<merger::TForm1> form = app::makeJoinForm(member);
  m_joinForm = std::move(form);
  m_joinForm->setOwner(this);
  // Fennock goes on after a merge: only the merger's window goes.
  m_joinForm->onMerged = [this] { m_joinForm->hide(); };
  if (ui::Application::instance().onScreen()) m_joinForm->show();
}
