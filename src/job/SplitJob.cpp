// Button3Click's job: reads the settings, cuts the source into pieces, writes the merger and
// hands the statistics to the progress view.
#include "job/SplitJob.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "job/BatScript.h"
#include "job/BlockCascade.h"
#include "job/ChecksumFile.h"
#include "job/Chrono.h"
#include "job/MergerHead.h"
#include "job/Names.h"
#include "job/PiecePlan.h"
#include "job/ScriptRecord.h"
#include "job/ShellMerger.h"
#include "platform/File.h"
#include "platform/HashThread.h"
#include "platform/IoError.h"
#include "platform/OwnSha256.h"
#include "platform/Paths.h"
#include "platform/PendingFile.h"
#include "platform/SignalCleanup.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

namespace job {

namespace {

// The name of the temporary archive of a compressed job, in a folder of its own.
const std::string kArchiveName = "input.zip";

// The user knows the files by their final names, not by the temporary ones they are written as.
platform::PendingFile createPending(const std::string& finalPath) {
  try {
    return platform::PendingFile(finalPath);
  } catch (const platform::EInOutError& error) {
    throw platform::EInOutError(error.code(), finalPath);
  }
}

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

class Job {
 public:
  Job(SplitJobHost& host, ProgressView& view) : m_host(host), m_view(view) {}
  void run();

 private:
  void checkOutputsSpareTheInput() const;
  void checkNamesFit(std::int64_t lastIndex) const;
  void checkOutputNames() const;
  void checkSetBelongsToThisInput() const;
  std::string mergerPath() const;
  std::string shellMergerPath() const;
  std::string piecePath(std::int64_t index) const;
  void writeExeHead(platform::File& merger);
  void writePieces(platform::File& source, platform::PendingFile* merger, BatScript* script);
  void writeShellMerger();
  std::string checksumPath() const;
  std::string joinedName() const;
  void hashExeHead(platform::File& merger);
  void removeStaleChecksums() const;
  void commitAll();
  [[noreturn]] void inputChanged() const;
  [[noreturn]] void rethrowWithFinalName(const platform::EInOutError& error) const;

  SplitJobHost& m_host;
  ProgressView& m_view;
  std::string m_inputPath;
  std::string m_destFolder;
  bool m_compressed = false;
  bool m_exeMerger = false;
  std::int64_t m_inputSize = 0;
  std::int64_t m_compressedSize = 0;
  std::int64_t m_sourceSize = 0;  // the bytes to cut: the input's or its archive's
  platform::FileStamp m_inputState;
  PiecePlan m_plan;
  JobNames m_names;
  // Every file of the set, written under temporary names until the whole job has succeeded.
  std::vector<platform::PendingFile> m_pieces;
  std::optional<platform::PendingFile> m_merger;
  std::optional<platform::PendingFile> m_shellMerger;
  std::int64_t m_headSize = 0;             // the .EXE merger's bytes before the first data
  std::vector<std::int64_t> m_pieceSizes;  // every piece's, the merger file's first
  // With checksums: the digests of the piece being written and of all the data cut, side by side
  // on a thread of their own (hashing is the limit of the job's speed, and the copy overlaps it),
  // and the lines of BaseName.sha256 so far.
  std::optional<platform::Sha256Pair> m_digests;
  std::optional<platform::HashThread> m_hash;
  std::string m_checksumLines;
  std::optional<platform::PendingFile> m_checksumFile;
};

void Job::run() {
  m_host.chrono().Start();
  m_view.show();
  m_host.setMainWindowEnabled(false);
  m_view.setProgressPosition(0);
  m_view.setOkEnabled(false);

  m_inputPath = m_host.inputPath();
  checkSplittableInput(m_inputPath);
  m_inputState = platform::fileStamp(m_inputPath);
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
  if (m_host.checksums()) m_hash.emplace(m_digests.emplace());
  if (m_compressed) m_host.compressionStage().checkAvailable();
  if (m_exeMerger) m_host.exeMergerSupport().checkAvailable();
  m_destFolder = m_host.destFolder();
  m_names = deriveNames(m_inputPath);
  checkOutputsSpareTheInput();
  checkNamesFit(countMode ? std::max<std::int64_t>(pieceCount, 1) : 1);

  platform::FolderLock lock(m_destFolder);
  // What a job killed outright (SIGKILL, a power cut) left here is of no use to anyone.
  platform::removeLeftovers({{false, platform::isPendingFileName}}, m_destFolder);
  checkSetBelongsToThisInput();

  platform::File source;
  // The archive is made where no other program and no user's file can be: a read-only input
  // folder compresses too, and the archive never meets a file of the same name.
  std::optional<platform::PrivateTempDir> archiveFolder;
  if (m_compressed) {
    archiveFolder.emplace("fennock-zip");
    const std::string archivePath = archiveFolder->file(kArchiveName);
    m_host.compressionStage().compress(m_host, m_view, m_inputPath, archivePath);
    if (platform::fileStamp(m_inputPath) != m_inputState) inputChanged();
    source = platform::File::openRead(archivePath);
    m_compressedSize = source.size();
    m_sourceSize = m_compressedSize;
  } else {
    m_view.showProgressBar();
    source = platform::File::openRead(m_inputPath);
    m_sourceSize = m_inputSize;
  }
  std::int64_t totalSize = m_sourceSize;
  ExeMergerSupport& exe = m_host.exeMergerSupport();
  if (m_exeMerger)
    totalSize += exe.mergerImageSize() + std::int64_t(kScriptRecordSize) +
                 (m_compressed ? exe.unzipLibrarySize() : 0);

  m_plan = countMode ? planByCount(totalSize, pieceCount) : planBySize(totalSize, pieceSize);
  checkNamesFit(m_plan.pieceCount);
  checkOutputNames();

  try {
    m_merger.emplace(createPending(mergerPath()));
    std::optional<BatScript> script;
    if (m_exeMerger) {
      writeExeHead(m_merger->file());
      m_headSize = m_merger->file().size();
      if (m_hash) hashExeHead(m_merger->file());
    } else
      script.emplace(m_merger->file());

    writePieces(source, m_exeMerger ? &*m_merger : nullptr, script ? &*script : nullptr);
    source.close();
    if (script) script->finish(m_names.spacelessName, m_names.fileExtension);
    if (m_host.shMerger()) writeShellMerger();
    if (m_hash) {
      m_checksumLines += checksumLine(m_hash->finish(), joinedName());
      m_checksumFile.emplace(createPending(checksumPath()));
      m_checksumFile->file().write(m_checksumLines.data(), m_checksumLines.size());
    }
    commitAll();
  } catch (const platform::EInOutError& error) {
    rethrowWithFinalName(error);
  }

  m_host.disableSplitButton();
  m_host.chrono().Stop();
  archiveFolder.reset();
  if (m_host.deleteInput()) platform::deleteFile(m_inputPath);

  JobStatistics stats;
  stats.pieceCount = m_plan.pieceCount;
  stats.extraFiles = (m_checksumFile ? 1 : 0) + (m_shellMerger ? 1 : 0);
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
  std::vector<std::string> mergers{mergerPath()};
  if (m_host.shMerger()) mergers.push_back(shellMergerPath());
  for (const std::string& merger : mergers)
    if (platform::sameFile(merger, m_inputPath))
      throw EJobRefused("The merger \"" + platform::fileNameOf(merger) +
                        "\" would replace the input file; choose another destination folder");
}

// A name the folder cannot hold would fail only when its piece is reached, halfway through.
void Job::checkNamesFit(std::int64_t lastIndex) const {
  const long limit = platform::longestNameIn(m_destFolder);
  if (limit <= 0) return;
  for (const std::string& name :
       {mergerFileName(m_names, m_exeMerger), pieceFileName(m_names, m_exeMerger, lastIndex)}) {
    if (name.size() > static_cast<std::size_t>(limit))
      platform::throwIoError(ENAMETOOLONG, platform::joinPath(m_destFolder, name));
  }
}

// A link at an output's name may have been planted to make the job write elsewhere. Renaming
// would replace the link rather than follow it, but a link there is never what the user meant.
void Job::checkOutputNames() const {
  auto check = [](const std::string& path) {
    if (platform::isSymbolicLink(path))
      throw EJobRefused(quoted(path) +
                        " is a symbolic link; remove it or choose another destination folder");
  };
  check(mergerPath());
  if (m_host.shMerger()) check(shellMergerPath());
  if (m_hash) check(checksumPath());
  for (std::int64_t i = m_exeMerger ? 2 : 1; i <= m_plan.pieceCount; ++i) check(piecePath(i));
}

// Two inputs with one base name (report.doc, report.pdf) make the same set; replacing the set of
// the other one silently would lose it once its input is gone.
void Job::checkSetBelongsToThisInput() const {
  const std::string path = mergerPath();
  std::string madeFor;
  try {
    platform::File merger = platform::File::openRead(path);
    if (m_exeMerger) {
      // A set made for the other system has its record after that system's image.
      const ExeMergerSupport& exe = m_host.exeMergerSupport();
      std::int64_t imageSize = exe.mergerImageSize();
      char start[4] = {};
      const std::size_t got = merger.read(start, sizeof start);
      if (const auto system = mergerSystemOfImage({start, got}))
        if (const std::int64_t size = exe.mergerImageSizeFor(*system); size > 0) imageSize = size;
      ScriptRecord::Bytes bytes{};
      merger.seek(imageSize);
      if (merger.read(bytes.data(), bytes.size()) != bytes.size()) return;
      const ScriptRecord record = ScriptRecord::fromBytes(bytes);
      if (record.baseName != m_names.baseName || record.fileExtension == m_names.fileExtension)
        return;
      madeFor = record.baseName + record.fileExtension;
    } else {
      std::string text(4096, '\0');
      text.resize(merger.read(text.data(), text.size()));
      if (text.rfind("copy /b ", 0) != 0 || text.size() < 2 || text.back() != ' ') return;
      text.pop_back();
      madeFor = text.substr(text.rfind(' ') + 1);
      if (madeFor == batTargetName(m_names.spacelessName, m_names.fileExtension)) return;
    }
  } catch (const platform::EInOutError&) {
    return;  // no merger there, or none that can be read: nothing of another file to lose
  }
  const std::string question = "The destination folder holds " + quoted(path) +
                               ", the merger of another file (" + madeFor +
                               "). Replace it and its pieces?";
  if (!ui::dialogs().confirm(ui::Application::instance().title(), question))
    throw EJobRefused(quoted(path) + " is the merger of another file (" + madeFor +
                      ") and was not replaced");
}

std::string Job::mergerPath() const {
  return platform::joinPath(m_destFolder, mergerFileName(m_names, m_exeMerger));
}

std::string Job::shellMergerPath() const {
  return platform::joinPath(m_destFolder, m_names.baseName + ".sh");
}

std::string Job::piecePath(std::int64_t index) const {
  return platform::joinPath(m_destFolder, pieceFileName(m_names, m_exeMerger, index));
}

std::string Job::checksumPath() const {
  return platform::joinPath(m_destFolder, m_names.baseName + kChecksumExtension);
}

// The name under which the merger leaves the joined data, so that the last line checks the
// result after a merge: the file that was split, or the archive of a compressed job.
std::string Job::joinedName() const {
  if (!m_exeMerger) return batTargetName(m_names.spacelessName, m_names.fileExtension);
  const std::string base = trimTrailingControls(m_names.baseName);
  return base + (m_compressed ? ".zip" : trimTrailingControls(m_names.fileExtension));
}

// The merger file's digest covers its head as it will be at the end, when the record counts the
// pieces: the head is read back once (it is small), with that count in place.
void Job::hashExeHead(platform::File& merger) {
  const std::int64_t headSize = merger.size();
  const std::int64_t countAt =
      m_host.exeMergerSupport().mergerImageSize() + std::int64_t(kRecordPieceCountOffset);
  ScriptRecord count;
  count.pieceCount = static_cast<std::int32_t>(m_plan.pieceCount);
  const ScriptRecord::Bytes bytes = count.toBytes();
  std::vector<char> head(static_cast<std::size_t>(headSize));
  merger.seek(0);
  merger.readExact(head.data(), head.size());
  std::copy_n(&bytes[kRecordPieceCountOffset], 4, head.begin() + countAt);
  // No piece is being copied: the thread is idle and the engines are ours.
  m_digests->piece.update(head.data(), head.size());
  merger.seek(headSize);
}

// A set written without checksums replaces one that had them: the old file would refuse it.
void Job::removeStaleChecksums() const {
  const std::string path = checksumPath();
  std::string text(64 * 1024, '\0');
  try {
    platform::File old = platform::File::openRead(path);
    text.resize(old.read(text.data(), text.size()));
  } catch (const platform::EInOutError&) {
    return;
  }
  const std::string first =
      m_exeMerger ? mergerFileName(m_names, true) : pieceFileName(m_names, false, 1);
  if (parseChecksumFile(text).count(first)) platform::deleteFileIfPresent(path);
}

// The record says no pieces until the last one is complete: a merger that survives a job
// killed halfway refuses its set instead of joining part of it.
void Job::writeExeHead(platform::File& merger) {
  ScriptRecord record;
  record.baseName = m_names.baseName;
  record.fileExtension = m_names.fileExtension;
  record.pieceSize = static_cast<std::int32_t>(m_plan.pieceSize);
  record.pieceCount = 0;
  record.compressed = m_compressed;
  writeMergerHead(merger, m_host.exeMergerSupport(),
                  {m_host.mergerImageStorePath(), m_host.unpackLibStorePath()}, record);
}

void Job::writePieces(platform::File& source, platform::PendingFile* merger, BatScript* script) {
  BlockCascade& cascade = BlockCascade::shared();
  const std::int64_t count = m_plan.pieceCount;
  int position = 0;
  for (std::int64_t i = 1; i <= count; ++i) {
    platform::PendingFile* pending = merger;
    if (i > 1 || !merger) pending = &m_pieces.emplace_back(createPending(piecePath(i)));
    platform::File& piece = pending->file();
    if (script) script->addPiece(m_names.spacelessName, i);
    const bool last = i == count;
    // Exactly the planned bytes: a source that grew meanwhile gives the last piece no more, and
    // one that shrank leaves a piece short. (A merger's head may itself exceed the piece size.)
    const std::int64_t start = piece.size();
    const std::int64_t remaining = m_sourceSize - source.position();
    const std::int64_t planned =
        last ? remaining : std::clamp<std::int64_t>(m_plan.pieceSize - start, 0, remaining);
    // Both digests take the bytes from the buffer that is written: each byte is read once.
    cascade.copyPiece(source, piece, start + planned, false,
                      {m_hash ? &*m_hash : nullptr, nullptr, nullptr});
    if (piece.size() - start != planned) inputChanged();
    m_pieceSizes.push_back(piece.size());
    position += static_cast<int>(100 / count);
    if (last) {
      position = 100;
      m_view.setProgressPosition(position);
      m_view.showStatisticsGroup();
    } else {
      m_view.setProgressPosition(position);
    }
    if (pending != merger) piece.close();
    if (m_hash) {
      m_hash->drain();
      m_checksumLines +=
          checksumLine(m_digests->piece.finish(), platform::fileNameOf(pending->finalPath()));
    }
  }
  if (source.position() != m_sourceSize || source.size() != m_sourceSize) inputChanged();
  if (!m_compressed && platform::fileStamp(m_inputPath) != m_inputState) inputChanged();
}

// The script is made for this very set: it knows each piece's size and where the data starts.
void Job::writeShellMerger() {
  ShellMergerSet set;
  set.outputName = m_names.baseName + m_names.fileExtension;
  set.sumsName = m_names.baseName + ".sha256";
  if (m_compressed) set.archiveName = m_names.baseName + ".zip";
  set.headSize = m_headSize;
  for (std::int64_t i = 1; i <= m_plan.pieceCount; ++i) {
    const std::string name = i == 1 && m_exeMerger ? mergerFileName(m_names, true)
                                                   : pieceFileName(m_names, m_exeMerger, i);
    set.pieces.push_back({name, m_pieceSizes.at(static_cast<std::size_t>(i - 1))});
  }
  const std::string text = shellMergerScript(set);
  m_shellMerger.emplace(createPending(shellMergerPath()));
  m_shellMerger->file().write(text.data(), text.size());
  // Execute bits rarely survive mail and downloads ("sh NAME.sh" works without), but where they
  // do, the script runs by its name too. A file system without them is no error.
  platform::makeExecutable(m_shellMerger->temporaryPath());
}

// The pieces take their names first and the merger last, once its record counts them; the old
// merger goes first, so that no moment shows it beside pieces that are not its own. A failure on
// the way removes what the job had already put in place: a set without its merger is no set.
void Job::commitAll() {
  std::vector<std::string> placed;
  try {
    platform::deleteFileIfPresent(m_merger->finalPath());
    for (platform::PendingFile& piece : m_pieces) {
      piece.commit();
      placed.push_back(piece.finalPath());
    }
    if (m_shellMerger) {
      m_shellMerger->commit();
      placed.push_back(m_shellMerger->finalPath());
    }
    if (m_checksumFile) {
      m_checksumFile->commit();
      placed.push_back(m_checksumFile->finalPath());
    } else {
      removeStaleChecksums();
    }
    if (m_exeMerger) {
      platform::File& merger = m_merger->file();
      ScriptRecord count;
      count.pieceCount = static_cast<std::int32_t>(m_plan.pieceCount);
      const ScriptRecord::Bytes bytes = count.toBytes();
      merger.seek(m_host.exeMergerSupport().mergerImageSize() +
                  std::int64_t(kRecordPieceCountOffset));
      merger.write(&bytes[kRecordPieceCountOffset], 4);
    }
    m_merger->commit();
  } catch (...) {
    for (const std::string& path : placed) platform::removeTemporaryFile(path);
    throw;
  }
}

void Job::inputChanged() const {
  throw EJobRefused(quoted(m_inputPath) +
                    " changed while it was split; the files of this job were removed");
}

void Job::rethrowWithFinalName(const platform::EInOutError& error) const {
  auto final = [&](const platform::PendingFile& pending) {
    return pending.temporaryPath() == error.path() && !error.path().empty();
  };
  if (m_merger && final(*m_merger))
    throw platform::EInOutError(error.code(), m_merger->finalPath());
  if (m_shellMerger && final(*m_shellMerger))
    throw platform::EInOutError(error.code(), m_shellMerger->finalPath());
  if (m_checksumFile && final(*m_checksumFile))
    throw platform::EInOutError(error.code(), m_checksumFile->finalPath());
  for (const platform::PendingFile& piece : m_pieces)
    if (final(piece)) throw platform::EInOutError(error.code(), piece.finalPath());
  throw error;
}

}  // namespace

// A device never ends and a pipe may never deliver: only a file (or a link to one) has the
// length that the pieces are planned from.
void checkSplittableInput(const std::string& path) {
  if (!platform::isRegularFile(path))
    throw EJobRefused(quoted(path) + " is not a regular file; only files can be split");
}

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
