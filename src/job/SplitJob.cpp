// Button3Click's job: reads the settings, cuts the source into pieces, writes the merger and
// hands the statistics to the progress view.
#include "job/SplitJob.h"

#include <sys/stat.h>

#include <optional>

#include "job/BatScript.h"
#include "job/BlockCascade.h"
#include "job/Chrono.h"
#include "job/MergerHead.h"
#include "job/Names.h"
#include "job/PiecePlan.h"
#include "job/ScriptRecord.h"
#include "platform/File.h"
#include "platform/Paths.h"

namespace job {

namespace {

// The temporary archive of a compressed job lies beside the input.
const std::string kArchiveSuffix = "ztmp";

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

class Job {
 public:
  Job(SplitJobHost& host, ProgressView& view) : m_host(host), m_view(view) {}
  void run();

 private:
  void checkOutputsSpareTheInput() const;
  platform::File writeExeHead();
  void writePieces(platform::File& source, std::optional<platform::File> mergerFile,
                   BatScript* script);

  SplitJobHost& m_host;
  ProgressView& m_view;
  std::string m_inputPath;
  std::string m_destFolder;
  bool m_compressed = false;
  bool m_exeMerger = false;
  std::int64_t m_inputSize = 0;
  std::int64_t m_compressedSize = 0;
  PiecePlan m_plan;
  JobNames m_names;
};

void Job::run() {
  m_host.chrono().Start();
  m_view.show();
  m_host.setMainWindowEnabled(false);
  m_view.setProgressPosition(0);
  m_view.setOkEnabled(false);

  m_inputPath = m_host.inputPath();
  {
    // Only read: an input on read-only media splits too.
    platform::File input = platform::File::openRead(m_inputPath);
    m_inputSize = input.size();
    input.close();
  }
  const bool countMode = m_host.countMode();
  std::int64_t pieceSize = 0;
  std::int64_t pieceCount = 0;
  if (countMode)
    pieceCount = pieceCountFromText(m_host.countText());  // checked before anything is written
  else
    pieceSize = pieceSizeFromText(m_host.sizeText(), m_host.unitIndex());

  m_compressed = m_host.compress();
  m_exeMerger = m_host.exeMerger();
  if (m_compressed) m_host.compressionStage().checkAvailable();
  if (m_exeMerger) m_host.exeMergerSupport().checkAvailable();
  m_destFolder = m_host.destFolder();
  m_names = deriveNames(m_inputPath);
  checkOutputsSpareTheInput();

  platform::File source;
  std::int64_t totalSize = 0;
  const std::string archivePath = m_inputPath + kArchiveSuffix;
  if (m_compressed) {
    // An archive left by an earlier failed job would add its stale entries to this one.
    platform::deleteFile(archivePath);
    m_host.compressionStage().compress(m_host, m_view, m_inputPath, archivePath);
    source = platform::File::openRead(archivePath);
    m_compressedSize = source.size();
    totalSize = m_compressedSize;
  } else {
    m_view.showProgressBar();
    source = platform::File::openRead(m_inputPath);
    totalSize = m_inputSize;
  }
  ExeMergerSupport& exe = m_host.exeMergerSupport();
  if (m_exeMerger)
    totalSize += exe.mergerImageSize() + std::int64_t(kScriptRecordSize) +
                 (m_compressed ? exe.unzipLibrarySize() : 0);

  try {
    m_plan = countMode ? planByCount(totalSize, pieceCount) : planBySize(totalSize, pieceSize);
  } catch (const EJobRefused&) {
    if (m_compressed) platform::deleteFile(archivePath);  // nothing of the job may stay behind
    throw;
  }

  std::optional<BatScript> script;
  std::optional<platform::File> mergerFile;
  if (m_exeMerger)
    mergerFile = writeExeHead();
  else
    script.emplace(platform::joinPath(m_destFolder, mergerFileName(m_names, false)));

  writePieces(source, std::move(mergerFile), script ? &*script : nullptr);
  source.close();
  if (script) script->finish(m_names.spacelessName, m_names.fileExtension);

  m_host.disableSplitButton();
  m_host.chrono().Stop();
  if (m_compressed) platform::deleteFile(archivePath);
  if (m_host.deleteInput()) platform::deleteFile(m_inputPath);

  JobStatistics stats;
  stats.pieceCount = m_plan.pieceCount;
  stats.pieceSize = m_plan.pieceSize;
  stats.inputSize = m_inputSize;
  stats.compressedSize = m_compressedSize;
  stats.compressed = m_compressed;
  stats.elapsedMs = m_host.chrono().ElapsedMs();
  m_view.setStatistics(stats);
  m_view.setOkEnabled(true);
}

// Created files replace existing ones; the one file that must never be replaced is the input.
void Job::checkOutputsSpareTheInput() const {
  const std::string merger = platform::joinPath(m_destFolder, mergerFileName(m_names, m_exeMerger));
  if (sameFile(merger, m_inputPath))
    throw EJobRefused("The merger \"" + platform::fileNameOf(merger) +
                      "\" would replace the input file; choose another destination folder");
}

platform::File Job::writeExeHead() {
  ScriptRecord record;
  record.baseName = m_names.baseName;
  record.fileExtension = m_names.fileExtension;
  record.pieceSize = static_cast<std::int32_t>(m_plan.pieceSize);
  record.pieceCount = static_cast<std::int32_t>(m_plan.pieceCount);
  record.compressed = m_compressed;
  return writeMergerHead(platform::joinPath(m_destFolder, mergerFileName(m_names, true)),
                         m_host.exeMergerSupport(),
                         {m_host.mergerImageStorePath(), m_host.unpackLibStorePath()}, record);
}

void Job::writePieces(platform::File& source, std::optional<platform::File> mergerFile,
                      BatScript* script) {
  BlockCascade& cascade = BlockCascade::shared();
  const std::int64_t count = m_plan.pieceCount;
  int position = 0;
  for (std::int64_t i = 1; i <= count; ++i) {
    platform::File piece;
    if (i == 1 && mergerFile)
      piece = std::move(*mergerFile);
    else
      piece = platform::File::create(
          platform::joinPath(m_destFolder, pieceFileName(m_names, m_exeMerger, i)));
    if (script) script->addPiece(m_names.spacelessName, i);
    const bool last = i == count;
    cascade.copyPiece(source, piece, m_plan.pieceSize, last);
    position += static_cast<int>(100 / count);
    if (last) {
      position = 100;
      m_view.setProgressPosition(position);
      m_view.showStatisticsGroup();
    } else {
      m_view.setProgressPosition(position);
    }
    piece.close();
  }
  // Without pieces the merger file is only its head.
  if (mergerFile && mergerFile->isOpen()) mergerFile->close();
}

}  // namespace

void runSplitJob(SplitJobHost& host, ProgressView& view) {
  try {
    Job(host, view).run();
  } catch (...) {
    // The job ended early: stop the clock so that the next job times itself, and give the
    // user the main window back; the caller shows the error.
    host.chrono().Stop();
    view.jobFailed();
    host.setMainWindowEnabled(true);
    throw;
  }
}

}  // namespace job
