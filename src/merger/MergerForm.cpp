// The merger's window, built from its description, and its handlers.
#include "merger/MergerForm.h"

#include "platform/Paths.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "zip/Archiver.h"

namespace merger {

namespace {

constexpr int kLeft = 286;
constexpr int kTop = 206;
constexpr int kClientWidth = 268;
constexpr int kClientHeight = 100;
// The window grows to 160 pixels with its frame while it merges, which leaves room for the bar.
constexpr int kMergingClientHeight = 133;

std::string withTrailingSeparator(const std::string& folder) {
  if (!folder.empty() && folder.back() == platform::kPathSeparator) return folder;
  return folder + platform::kPathSeparator;
}

}  // namespace

class TForm1::ArchiverHost final : public zip::ArchiverHost {
 public:
  void showMessage(const std::string& text) override {
    ui::Application& application = ui::Application::instance();
    if (application.onScreen())
      ui::dialogs().message(ui::MessageKind::Information, application.title(), text);
    else
      zip::ArchiverHost::showMessage(text);
  }
  void processMessages() override {
    if (ui::Application::instance().onScreen()) ui::Application::instance().processMessages();
  }
};

TForm1::TForm1(std::string ownPath, const MergerLayout& layout, MergePlanner planner)
    : ui::Form("Fennock!SFX", kLeft, kTop, kClientWidth, kClientHeight, false),
      FileLabel1(*this, {8, 8, 177, 17}),
      Button1(*this, {192, 0, 75, 25}, "Destination", 0),
      CheckBox1(*this, {16, 32, 177, 17}, "Delete partial files when merged", false, 1),
      Button2(*this, {192, 32, 75, 25}, "Merge", 2),
      CheckBox2(*this, {16, 48, 97, 17}, "Unzip", true, 4),
      GaugeBar1(0, 88, 265, 20),
      m_archiverHost(std::make_unique<ArchiverHost>()),
      m_ownPath(std::move(ownPath)),
      m_layout(layout),
      m_planner(std::move(planner)) {
  setBorderIcons(ui::BorderIcons::SystemMenu);
  FileLabel1.setSeparator(std::string(1, platform::kPathSeparator));
  add(GaugeBar1);
  GaugeBar1.setPercentage(true);
  GaugeBar1.setBackgroundColor(widgets::clBtnFace);
  GaugeBar1.hide();
  BrowseFolder1.setFlags(widgets::bfFileSysDirsOnly | widgets::bfStatusText);
  BrowseFolder1.setShowPathInStatusArea(false);
  Button1.onClick = [this] { Button1Click(); };
  Button2.onClick = [this] { Button2Click(); };
  ui::forgetCurrentGroup();
  FormCreate();
}

TForm1::~TForm1() {
  // The bar is a member: take it out before the form deletes its children.
  remove(GaugeBar1);
}

// The destination starts as the merger's own folder, written as it is: lower-casing it would
// name another folder on a case-sensitive file system.
void TForm1::FormCreate() {
  FileLabel1.setFileName(withTrailingSeparator(platform::parentFolder(m_ownPath)));
}

// A cancelled picker keeps the destination, as the splitter's window does.
void TForm1::Button1Click() {
  BrowseFolder1.setDirectory(FileLabel1.FileName());
  if (BrowseFolder1.Execute())
    FileLabel1.setFileName(withTrailingSeparator(BrowseFolder1.Directory()));
}

void TForm1::Button2Click() {
  merge();
  ui::Application& application = ui::Application::instance();
  ui::dialogs().message(ui::MessageKind::Information, application.title(), kFilesMerged);
  if (onMerged)
    onMerged();
  else
    application.terminate(0);
}

std::string TForm1::merge(MergeProgress* extraProgress) {
  setEnabled(false);
  setClientHeight(kMergingClientHeight);
  GaugeBar1.setPosition(0);
  GaugeBar1.show();
  m_extraProgress = extraProgress;
  MergeSettings settings;
  settings.ownPath = m_ownPath;
  settings.destFolder = FileLabel1.FileName();
  settings.deletePieces = CheckBox1.checked();
  settings.unzip = CheckBox2.checked();
  settings.archiverHost = m_archiverHost.get();
  try {
    std::string result = runMerge(settings, m_layout, *this, m_planner);
    m_extraProgress = nullptr;
    return result;
  } catch (...) {
    m_extraProgress = nullptr;
    GaugeBar1.hide();
    setClientHeight(kClientHeight);
    setEnabled(true);
    throw;
  }
}

void TForm1::setPosition(int position) {
  GaugeBar1.setPosition(position);
  if (m_extraProgress) m_extraProgress->setPosition(position);
}

}  // namespace merger
