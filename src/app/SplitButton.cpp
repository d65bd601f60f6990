// The split button: runs the split job with this window as its host.
#include <stdexcept>

#include "PayloadSizes.h"
#include "app/ArchiverBinding.h"
#include "app/MainWindow.h"
#include "job/CompressionStage.h"
#include "job/MergerHead.h"

void TForm1::Button3Click() {
  if (m_progressView == nullptr) throw std::logic_error("No progress view for the split job");
  job::runSplitJob(*this, *m_progressView);
}

std::string TForm1::inputPath() const { return FileLabel1->FileName(); }

std::string TForm1::destFolder() const { return FileLabel2->FileName(); }

bool TForm1::countMode() const { return RadioButton2->checked(); }

std::string TForm1::sizeText() const { return NumEdit1->text(); }

int TForm1::unitIndex() const { return ComboBox1->itemIndex(); }

std::string TForm1::countText() const { return NumEdit2->text(); }

bool TForm1::compress() const { return CheckBox1->checked(); }

bool TForm1::deleteInput() const { return CheckBox2->checked(); }

bool TForm1::openDestination() const { return CheckBox3->checked(); }

bool TForm1::exeMerger() const { return RadioButton4->checked(); }

void TForm1::disableSplitButton() { Button3->setEnabled(false); }

void TForm1::setMainWindowEnabled(bool enabled) { setEnabled(enabled); }

void TForm1::resetFileChoice() {
  FileLabel1->setFileName("None");
  FileLabel2->setFileName("???");
  Button2->setEnabled(false);
}

// The stores' temporary files, written when the window was loaded; the merger and its library
// are those of the system chosen in the Options menu.
std::string TForm1::mergerImageStorePath() const {
  return (mergerFor() == job::MergerSystem::Windows ? WindowsSFX : SFX).FileName();
}

std::string TForm1::unpackLibStorePath() const {
  return (mergerFor() == job::MergerSystem::Windows ? WindowsUnpackLib : UnpackLib).FileName();
}

std::string TForm1::packLibStorePath() const { return PackLib.FileName(); }

// The archiver and the compressor with the window's settings, made when a job first needs them.
job::CompressionStage& TForm1::compressionStage() {
  if (!m_compressionStage)
    m_compressionStage = std::make_unique<job::ZipCompressionStage>(app::makeArchiverHost());
  return *m_compressionStage;
}

// The .EXE merger for the chosen system: the head's lengths are those of the payloads that this
// build carries for it.
job::ExeMergerSupport& TForm1::exeMergerSupport() {
  const job::MergerSystem system = mergerFor();
  std::unique_ptr<job::ExeMergerSupport>& support = m_exeMergerSupport[int(system)];
  if (!support) {
    const std::array<std::int64_t, 2> imageSizes = {payloads::WindowsMergerImageSize,
                                                    payloads::LinuxMergerImageSize};
    if (system == job::MergerSystem::Windows)
      support = std::make_unique<job::PayloadExeMerger>(payloads::WindowsMergerImageSize,
                                                        payloads::WindowsUnzipLibrarySize,
                                                        imageSizes, job::kNoWindowsMergerText);
    else
      support = std::make_unique<job::PayloadExeMerger>(
          payloads::LinuxMergerImageSize, payloads::LinuxUnzipLibrarySize, imageSizes);
  }
  return *support;
}
