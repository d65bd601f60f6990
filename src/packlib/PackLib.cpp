// The archiver library's entry points: one Add per call, every failure a callback message.
#include <cstdlib>
#include <exception>
#include <new>
#include <optional>
#include <set>

#include "packlib/AddRequest.h"
#include "packlib/ArchiveWriter.h"
#include "packlib/FileCollector.h"
#include "packlib/Reporter.h"
#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/PendingFile.h"
#include "platform/SignalCleanup.h"

namespace packlib {
namespace {

int32_t runAdd(const AddRequest& request, Reporter& reporter) {
  if (request.archivePath.empty()) throw PackError(kErrBadCommand, "No archive name was given");
  if (request.encrypt || std::any_of(request.specs.begin(), request.specs.end(),
                                     [](const SpecRequest& s) { return s.encrypt; }))
    throw PackError(kErrEncryption, "Encryption is not offered by this archiver library");

  std::vector<SourceFile> files = collectFiles(request, [&](const std::string& spec) {
    reporter.message(kWarnSkipped, spec + ": no such file");
  });
  const std::optional<platform::FileStatus> archiveStatus =
      platform::fileStatus(request.archivePath);
  const bool archiveExists = archiveStatus.has_value();
  // Never add the archive to itself.
  std::erase_if(
      files, [&](const SourceFile& f) { return platform::sameFile(request.archivePath, f.path); });

  ExistingArchive existing;
  platform::File old;
  if (archiveExists) {
    old = platform::File::openRead(request.archivePath);
    existing = readExistingArchive(old);
  }
  // Update adds new files and newer ones; freshen only replaces older entries.
  if (request.update || request.freshen) {
    std::erase_if(files, [&](const SourceFile& f) {
      uint16_t date = 0, time = 0;
      zipformat::toDosDateTime(f.modified, date, time);
      uint32_t stamp = (uint32_t(date) << 16) | time;
      for (const auto& e : existing.entries) {
        if (e.name == f.archiveName)
          return stamp <= ((uint32_t(e.header.date) << 16) | e.header.time);
      }
      return request.freshen;
    });
  }
  if (files.empty()) throw PackError(kErrNoFiles, "Nothing to do: no file matched");

  uint64_t totalSize = 0;
  for (const auto& f : files) totalSize += f.size;
  reporter.totalFiles(int64_t(files.size()));
  reporter.totalSize(int64_t(totalSize));

  std::set<std::string> replaced;
  for (const auto& f : files) replaced.insert(f.archiveName);
  // The new archive grows beside the old one and takes its name only once it is complete.
  platform::PendingFile temporary(request.archivePath);
  ArchiveWriter writer(temporary.file());
  for (const auto& entry : existing.entries) {
    if (!replaced.count(entry.name)) writer.copyEntry(old, entry);
  }
  int32_t added = 0;
  for (const auto& file : files) {
    reporter.newFile(file.path, int64_t(file.size));
    bool deflate = request.level > 0 && !hasStoreSuffix(file.archiveName, request.storeSuffixes);
    try {
      writer.addFile(file, request.level, deflate,
                     [&](uint64_t n) { reporter.progress(int64_t(n)); });
    } catch (const platform::EInOutError& e) {
      throw PackError(kErrRead, file.path + ": " + e.what());
    }
    ++added;
    if (request.verbose) {
      const EntryWritten& w = writer.last();
      int percent =
          w.uncompressedSize ? int(100 - (w.compressedSize * 100 / w.uncompressedSize)) : 0;
      reporter.message(0, "adding: " + w.name + (w.method ? " (deflated " : " (stored ") +
                              std::to_string(percent) + "%)");
    }
  }
  writer.finish(request.comment.empty() ? existing.comment : request.comment);
  old = platform::File();
  platform::setPermissions(temporary.temporaryPath(), archiveExists ? archiveStatus->mode : 0644);
  temporary.commit();
  if (request.move) {
    for (const auto& f : files) platform::deleteFile(f.path);
  }
  reporter.endOfBatch();
  return added;
}

int32_t execute(void* command) {
  if (command == nullptr) return 0;
  Reporter reporter(commandCallback(command), commandCaller(command));
  try {
    try {
      AddRequest request = decodeCommand(command);
      return runAdd(request, reporter);
    } catch (const Cancelled&) {
      reporter.message(0, "The operation was cancelled; the archive is unchanged");
    } catch (const PackError& e) {
      reporter.message(e.code(), e.what());
    } catch (const platform::EInOutError& e) {
      reporter.message(kErrWrite, e.what());
    } catch (const std::bad_alloc&) {
      reporter.message(kErrInternal, "Out of memory");
    } catch (const std::exception& e) {
      reporter.message(kErrInternal, e.what());
    }
  } catch (...) {
    // A cancel answer to the failure message itself: nothing more to say.
  }
  return 0;
}

}  // namespace
}  // namespace packlib

extern "C" {

FENNOCK_LIBRARY_EXPORT int32_t GetPackLibVersion(void) { return kPackLibVersion; }

FENNOCK_LIBRARY_EXPORT int32_t PackLibExec(void* command) {
  try {
    // This library carries its own table of files to remove on a signal; its handler passes the
    // signal on to the program's once the temporary archive is gone.
    platform::SignalCleanupHandlers cleanup;
    return packlib::execute(command);
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
