// The extraction run: selection, overwrite and freshen rules, passwords, safe writing, reports.
#include "unpacklib/Extractor.h"

#include <ctime>
#include <memory>
#include <optional>

#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/Wildcard.h"
#include "unpacklib/CentralDirectory.h"
#include "unpacklib/Destination.h"
#include "unpacklib/EntryDecoder.h"
#include "unpacklib/SafeName.h"
#include "unpacklib/ZipFormat.h"

namespace unpack {

namespace {

std::string normalised(std::string text) {
  for (char& c : text)
    if (c == '\\') c = '/';
  return text;
}

// The entry's time: the extended timestamp (UTC) when present, else the DOS fields (local).
std::optional<std::int64_t> modificationTime(const ZipEntry& entry) {
  if (entry.unixModified) return entry.unixModified;
  if (entry.dosDate == 0) return std::nullopt;
  std::tm tm{};
  tm.tm_year = 80 + (entry.dosDate >> 9);
  tm.tm_mon = ((entry.dosDate >> 5) & 15) - 1;
  tm.tm_mday = entry.dosDate & 31;
  tm.tm_hour = entry.dosTime >> 11;
  tm.tm_min = (entry.dosTime >> 5) & 63;
  tm.tm_sec = (entry.dosTime & 31) * 2;
  tm.tm_isdst = -1;
  std::time_t t = std::mktime(&tm);
  if (t == static_cast<std::time_t>(-1)) return std::nullopt;
  return static_cast<std::int64_t>(t);
}

std::optional<unsigned> permissions(const ZipEntry& entry) {
  std::uint32_t mode = entry.unixMode();
  if (mode != 0) return mode & 0777u;                     // never set-id bits
  if ((entry.externalAttributes & 1) != 0) return 0444u;  // DOS read-only
  return std::nullopt;
}

class Run {
 public:
  Run(const std::string& archivePath, const ExtractOptions& options, Reporter& reporter,
      const std::string& destination)
      : m_archivePath(archivePath),
        m_options(options),
        m_reporter(reporter),
        m_destinationPath(destination),
        m_password(options.password),
        m_retries(options.passwordRetries) {}

  std::int32_t execute() {
    try {
      platform::File archive = platform::File::openRead(m_archivePath);
      CentralDirectory directory(archive);
      Destination destination(m_destinationPath);
      std::vector<const ZipEntry*> selected = select(directory.entries());
      std::uint64_t files = 0, bytes = 0;
      for (const ZipEntry* entry : selected)
        if (!entry->isDirectory()) {
          ++files;
          bytes += entry->uncompressedSize;
        }
      check(m_reporter.totals(files, bytes));
      for (const ZipEntry* entry : selected) processEntry(archive, directory, destination, *entry);
      check(m_reporter.batchEnds());
    } catch (const ECancelled&) {
      m_reporter.message(ErrorCode::kCancel, "Extraction cancelled");
    } catch (const EBadArchive& e) {
      m_reporter.message(ErrorCode::kArchive, std::string(e.what()) + ": " + m_archivePath);
    } catch (const platform::EInOutError& e) {
      m_reporter.message(ErrorCode::kArchive, std::string(e.what()) + ": " + m_archivePath);
    } catch (const std::bad_alloc&) {
      m_reporter.message(ErrorCode::kArchive, "Out of memory");
    } catch (const std::exception& e) {
      m_reporter.message(ErrorCode::kArchive, e.what());
    }
    return m_count;
  }

 private:
  static void check(bool stop) {
    if (stop) throw ECancelled();
  }

  std::vector<const ZipEntry*> select(const std::vector<ZipEntry>& entries) const {
    std::vector<const ZipEntry*> selected;
    for (const ZipEntry& entry : entries) {
      if (entry.isDirectory() && (!m_options.keepFolders || m_options.test)) continue;
      bool wanted = m_options.specs.empty();
      for (const std::string& spec : m_options.specs)
        wanted = wanted || specMatches(spec, entry.name);
      if (wanted) selected.push_back(&entry);
    }
    return selected;
  }

  void skip(const ZipEntry& entry, SkipReason reason, ErrorCode code, const std::string& text) {
    if (!text.empty()) check(m_reporter.message(code, text + ": " + entry.name));
    check(m_reporter.skipped(entry.name, reason, code));
  }

  void processEntry(platform::File& archive, const CentralDirectory& directory,
                    const Destination& destination, const ZipEntry& entry) {
    if (entry.isSymlink())
      return skip(entry, SkipReason::kLink, ErrorCode::kName, "Symbolic link not extracted");
    SafeName name;
    NameVerdict verdict =
        makeSafeName(entry.rawName, entry.name, entry.isDirectory(), m_options.keepFolders, name);
    if (verdict != NameVerdict::kSafe)
      return skip(entry, SkipReason::kUnsafeName, ErrorCode::kName,
                  verdict == NameVerdict::kTraversal ? "Name leads out of the destination"
                                                     : "Name unusable");
    try {
      if (entry.isDirectory()) {
        destination.openFolder(name.folders, true);
        return;
      }
      if (!isSupportedMethod(entry.method) || (entry.flags & kFlagStrongEncryption) != 0)
        return skip(entry, SkipReason::kUnsupported, ErrorCode::kMethod,
                    "Compression method " + std::to_string(entry.method) + " not supported");
      writeEntry(archive, directory, destination, entry, name);
    } catch (const EBadArchive& e) {
      skip(entry, SkipReason::kDamaged, ErrorCode::kData, e.what());
    } catch (const platform::EInOutError& e) {
      skip(entry, SkipReason::kWriteFailed, ErrorCode::kWrite, e.what());
    }
  }

  // Decides from the file on disk whether the entry is written; false to leave it alone.
  bool mayWrite(const OpenFolder& folder, const ZipEntry& entry, const SafeName& name) {
    std::optional<EntryInfo> existing = folder.entry(name.file);
    if (!existing) {
      if (m_options.freshen && !m_options.update) {
        skip(entry, SkipReason::kNotNewer, ErrorCode::kNone, "");
        return false;
      }
      return true;
    }
    if (existing->isFolder) {
      skip(entry, SkipReason::kWriteFailed, ErrorCode::kWrite, "A folder stands in the way");
      return false;
    }
    std::optional<std::int64_t> entryTime = modificationTime(entry);
    const bool older = entryTime && existing->modified < *entryTime;
    if (m_options.freshen || m_options.update) {
      if (older) return true;
      skip(entry, SkipReason::kNotNewer, ErrorCode::kNone, "");
      return false;
    }
    if (m_options.overwrite) return true;
    bool overwrite = false;
    check(m_reporter.askOverwrite(entry.name, older, overwrite));
    if (!overwrite)
      skip(entry, SkipReason::kExists, ErrorCode::kExists, "File exists, not replaced");
    return overwrite;
  }

  // A password that fits the entry, asking while retries remain; empty when none.
  std::optional<std::string> passwordFor(platform::File& archive, std::uint64_t data,
                                         const ZipEntry& entry) {
    std::string candidate = m_password;
    while (candidate.empty() || !passwordFits(archive, data, entry, candidate)) {
      if (m_retries == 0) return std::nullopt;
      std::uint32_t retries = m_retries;
      candidate.clear();
      check(m_reporter.askPassword(entry.name, retries, candidate));
      m_retries = retries > 0 ? std::min(retries, m_retries) - 1 : 0;
      if (candidate.empty()) {
        m_retries = 0;
        return std::nullopt;
      }
    }
    m_password = candidate;
    return candidate;
  }

  void writeEntry(platform::File& archive, const CentralDirectory& directory,
                  const Destination& destination, const ZipEntry& entry, const SafeName& name) {
    OpenFolder folder;
    if (!m_options.test) {
      folder = destination.openFolder(name.folders, true);
      if (!mayWrite(folder, entry, name)) return;
    }
    const std::uint64_t data = directory.dataOffset(entry);
    std::string password;
    if (entry.isEncrypted()) {
      std::optional<std::string> fitting = passwordFor(archive, data, entry);
      if (!fitting)
        return skip(entry, SkipReason::kNoPassword, ErrorCode::kPassword,
                    "No fitting password for the encrypted file");
      password = *fitting;
    }
    check(m_reporter.fileBegins(entry.name, entry.uncompressedSize));

    std::unique_ptr<PendingFile> pending;
    if (!m_options.test)
      pending = std::make_unique<PendingFile>(folder, name.file, shownPath(name));
    const std::uint32_t crc =
        decodeEntry(archive, data, entry, password, [&](const std::uint8_t* bytes, std::size_t n) {
          if (pending) pending->write(bytes, n);
          return !m_reporter.progress(n);
        });
    if (crc != entry.crc) {
      CrcAnswer answer = CrcAnswer::kDiscard;
      check(m_reporter.crcMismatch(entry.name, crc, entry.crc, answer));
      if (answer == CrcAnswer::kKeep && pending)
        pending->commit(modificationTime(entry), permissions(entry));
      return skip(entry, SkipReason::kDamaged, ErrorCode::kCrc, "CRC error");
    }
    if (pending) pending->commit(modificationTime(entry), permissions(entry));
    ++m_count;
  }

  // The path that failures name: the destination as it was given, then the entry's folders.
  std::string shownPath(const SafeName& name) const {
    std::string path = m_destinationPath;
    for (const std::string& folder : name.folders) path = platform::joinPath(path, folder);
    return platform::joinPath(path, name.file);
  }

  const std::string& m_archivePath;
  const ExtractOptions& m_options;
  Reporter& m_reporter;
  const std::string& m_destinationPath;
  std::string m_password;
  std::uint32_t m_retries;
  std::int32_t m_count = 0;
};

}  // namespace

bool specMatches(const std::string& spec, const std::string& entryName) {
  const std::string pattern = normalised(spec);
  std::string name = normalised(entryName);
  if (pattern.find('/') == std::string::npos) {
    while (!name.empty() && name.back() == '/') name.pop_back();
    name =
        name.substr(name.find_last_of('/') == std::string::npos ? 0 : name.find_last_of('/') + 1);
  }
  return platform::wildcardMatch(pattern, name);
}

std::int32_t extractArchive(const std::string& archivePath, const ExtractOptions& options,
                            Reporter& reporter, const std::string& destination) {
  try {
    return Run(archivePath, options, reporter, destination).execute();
  } catch (...) {
    return 0;  // nothing may leave the library; a failing report has nowhere else to go
  }
}

}  // namespace unpack
