// Reading the pieces against BaseName.sha256 with the merger's own SHA-256.
#include "merger/SetCheck.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "job/ChecksumFile.h"
#include "platform/File.h"
#include "platform/IoError.h"
#include "platform/OwnSha256.h"
#include "platform/Paths.h"

namespace merger {

namespace {

// A checksum file lists a set's few files: anything far longer is not one.
constexpr std::size_t kLongestChecksumFile = 1 << 20;
constexpr std::size_t kReadBlock = 1 << 20;
constexpr std::size_t kMostCheckThreads = 4;
constexpr std::chrono::milliseconds kProgressInterval{50};

}  // namespace

std::optional<SetCheck> SetCheck::load(const std::string& path) {
  if (!platform::fileExists(path)) return std::nullopt;
  platform::File file = platform::File::openRead(path);
  std::string text(kLongestChecksumFile, '\0');
  text.resize(file.read(text.data(), text.size()));
  SetCheck check;
  check.m_fileName = platform::fileNameOf(path);
  check.m_sums = job::parseChecksumFile(text);
  return check;
}

namespace {

enum class Verdict { Unread, Whole, NoLine, Damaged, Failed };

}  // namespace

// The pieces are read on a few threads at once, since the hash, not the reading, is the limit;
// the first piece in the set's order that is wrong is the one named, as if they were read in turn.
void SetCheck::checkPieces(const MergePlan& plan, MergeProgress& progress) const {
  const std::size_t count = plan.pieces.size();
  std::int64_t total = 0;
  for (const PieceSource& piece : plan.pieces) total += piece.offset + piece.size;
  std::vector<Verdict> verdicts(count, Verdict::Unread);
  std::vector<std::exception_ptr> errors(count);
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> firstWrong{count};  // no piece after it needs reading
  std::atomic<std::int64_t> done{0};
  std::mutex mutex;
  std::condition_variable finished;
  std::size_t running = 0;

  auto checkOne = [&](std::size_t i) {
    const PieceSource& piece = plan.pieces[i];
    const auto line = m_sums.find(platform::fileNameOf(piece.path));
    if (line == m_sums.end()) return Verdict::NoLine;
    std::vector<char> buffer(kReadBlock);
    platform::OwnSha256 hash;
    platform::File file = platform::File::openRead(piece.path);
    while (std::size_t n = file.read(buffer.data(), buffer.size())) {
      hash.update(buffer.data(), n);
      done += static_cast<std::int64_t>(n);
      if (i > firstWrong) return Verdict::Unread;
    }
    return platform::toHex(hash.finish()) == line->second ? Verdict::Whole : Verdict::Damaged;
  };
  auto work = [&] {
    for (std::size_t i; (i = next++) < count && i < firstWrong;) {
      try {
        verdicts[i] = checkOne(i);
      } catch (...) {
        verdicts[i] = Verdict::Failed;
        errors[i] = std::current_exception();
      }
      if (verdicts[i] != Verdict::Whole && verdicts[i] != Verdict::Unread)
        for (std::size_t wrong = firstWrong;
             i < wrong && !firstWrong.compare_exchange_weak(wrong, i);) {
        }
    }
    std::lock_guard lock(mutex);
    --running;
    finished.notify_all();
  };

  progress.setCheckPosition(0);
  {
    const std::size_t threads =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMostCheckThreads);
    std::vector<std::jthread> workers;
    std::unique_lock lock(mutex);
    for (std::size_t t = 0; t < std::min(threads, count); ++t) {
      workers.emplace_back(work);
      ++running;
    }
    // Only this thread shows the progress: the window's gauge bar is no other thread's.
    while (!finished.wait_for(lock, kProgressInterval, [&] { return running == 0; })) {
      lock.unlock();
      if (total > 0)
        progress.setCheckPosition(
            static_cast<int>(std::min<std::int64_t>(done * 100 / total, 100)));
      lock.lock();
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::string name = platform::fileNameOf(plan.pieces[i].path);
    switch (verdicts[i]) {
      case Verdict::Whole:
      case Verdict::Unread:
        break;
      case Verdict::NoLine:
        throw EMergeError("\"" + m_fileName + "\" holds no checksum for " + name +
                          "; it belongs to another set. Nothing was merged");
      case Verdict::Damaged:
        throw EMergeError(name +
                          " is damaged (its checksum differs): send it again. Nothing was merged");
      case Verdict::Failed:
        std::rethrow_exception(errors[i]);
    }
  }
  progress.setCheckPosition(100);
}

void SetCheck::checkJoined(const std::string& joinedName,
                           const platform::Sha256Digest& digest) const {
  const auto line = m_sums.find(joinedName);
  if (line == m_sums.end() || platform::toHex(digest) == line->second) return;
  throw EMergeError("The joined file " + joinedName + " differs from its checksum in " +
                    m_fileName + ": a piece changed while it was merged. Nothing was merged");
}

}  // namespace merger
