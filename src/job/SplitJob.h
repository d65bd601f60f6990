// The split job: from the main window's controls to the finished pieces and merger, plus the
// interfaces through which it reads those controls and shows its progress.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "job/MergerSystem.h"
#include "job/Statistics.h"

namespace job {

class TChrono;
class ExeMergerSupport;
class CompressionStage;

// A job that cannot run with the settings given; raised before anything is written.
class EJobRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the job needs from the main window. Every setting is read from its control at the moment
// the job needs it; the job keeps no copy.
class SplitJobHost {
 public:
  virtual ~SplitJobHost() = default;

  virtual std::string inputPath() const = 0;   // FileLabel1 FileName
  virtual std::string destFolder() const = 0;  // FileLabel2 FileName
  virtual bool countMode() const = 0;          // RadioButton2 checked
  virtual std::string sizeText() const = 0;    // NumEdit1 text
  virtual int unitIndex() const = 0;           // ComboBox1 item index, -1 = none
  virtual std::string countText() const = 0;   // NumEdit2 text
  virtual bool compress() const = 0;           // CheckBox1 checked
  virtual bool deleteInput() const = 0;        // CheckBox2 checked
  virtual bool openDestination() const = 0;    // CheckBox3 checked
  virtual bool exeMerger() const = 0;          // RadioButton4 checked
  // Also write BaseName.sh, the shell merger; off unless asked for, so the set stays as it was.
  virtual bool shMerger() const { return false; }
  // Write BaseName.sha256 beside the set. Off unless the host says otherwise, so that the
  // window's output stays that of the window as it was.
  virtual bool checksums() const { return false; }

  virtual void disableSplitButton() = 0;  // Button3
  virtual void setMainWindowEnabled(bool enabled) = 0;
  // FileLabel1 FileName <- "None", FileLabel2 FileName <- "???", Button2 disabled.
  virtual void resetFileChoice() = 0;

  virtual TChrono& chrono() = 0;  // Chrono1

  // The stores' temporary files (still packed): merger image (SFX), unarchiver library
  // (UnpackLib), archiver library (PackLib).
  virtual std::string mergerImageStorePath() const = 0;
  virtual std::string unpackLibStorePath() const = 0;
  virtual std::string packLibStorePath() const = 0;

  // The parts of the job that later modules provide. Until a host overrides them, they are
  // stand-ins that refuse the job with a clear message before anything is written.
  virtual ExeMergerSupport& exeMergerSupport();
  virtual CompressionStage& compressionStage();
};

// What the progress dialog shows (Form2 on screen, progress lines in the terminal). The job
// calls these in the order of its steps.
class ProgressView {
 public:
  virtual ~ProgressView() = default;

  virtual void show() = 0;  // not modal
  virtual void setOkEnabled(bool enabled) = 0;
  virtual void setProgressPosition(int position) = 0;  // 0 to 100, painted at once
  virtual void showProgressBar() = 0;
  // The compression indicator: LED blinking and "Compressing data" from start to finish; at
  // the finish the dialog is hidden and shown again with its progress bar.
  virtual void compressionStarted() = 0;
  virtual void compressionFinished() = 0;
  virtual void showStatisticsGroup() = 0;  // by the last piece only
  virtual void setStatistics(const JobStatistics& stats) = 0;
  // The job ended with an error (which the caller shows next): give the user control back.
  virtual void jobFailed() = 0;
};

// The .EXE merger's payloads, provided by the build that carries the merger program.
class ExeMergerSupport {
 public:
  virtual ~ExeMergerSupport() = default;
  // Throws EJobRefused when this build cannot write .EXE mergers.
  virtual void checkAvailable() const = 0;
  // Length of the unpacked merger program (MergerImageSize).
  virtual std::int64_t mergerImageSize() const = 0;
  // Length of this build's merger program for `system` (0: none), where a merger file already at
  // the destination may come from a run that chose the other system.
  virtual std::int64_t mergerImageSizeFor(MergerSystem) const { return mergerImageSize(); }
  // Length of the packed unarchiver library that compressed mergers carry (UnzipLibrarySize).
  virtual std::int64_t unzipLibrarySize() const = 0;
  // Unpacks the stored merger program (packed file at `packedPath`) into `outputPath`.
  virtual void unpackMergerImage(const std::string& packedPath, const std::string& outputPath) = 0;
};

// Packs the input into a temporary ZIP archive before it is cut.
class CompressionStage {
 public:
  virtual ~CompressionStage() = default;
  // Throws EJobRefused when this build cannot compress.
  virtual void checkAvailable() const = 0;
  // Writes the archive holding `inputPath` to `archivePath`, showing the view's compression
  // indicator meanwhile (compressionStarted/compressionFinished). The job opens the archive.
  virtual void compress(SplitJobHost& host, ProgressView& view, const std::string& inputPath,
                        const std::string& archivePath) = 0;
};

// Throws EJobRefused unless `path` names a regular file or a link to one.
void checkSplittableInput(const std::string& path);

// Button3Click: runs one whole job. Failures propagate with the system's texts after the view
// and the main window have been given back to the user.
void runSplitJob(SplitJobHost& host, ProgressView& view);

}  // namespace job
