// Comparing a set's pieces, and the regions of the joined data that they gave, with the lines of
// BaseName.sha256.
#include "merger/SetCheck.h"

#include <algorithm>
#include <array>

#include "job/ChecksumFile.h"
#include "platform/File.h"
#include "platform/OwnSha256.h"
#include "platform/Paths.h"

namespace merger {

namespace {

// A checksum file lists a set's few files: anything far longer is not one.
constexpr std::size_t kLongestChecksumFile = 1 << 20;
// Each region is read back by blocks of this size, and a block is hashed while it is still in
// the processor's cache: 1 MiB blocks cost here about half as much system time again, and the
// hashing after them reads from memory.
constexpr std::size_t kBlock = 64u << 10;
constexpr std::size_t kLanes = 2;

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

void SetCheck::checkLines(const MergePlan& plan) const {
  for (const PieceSource& piece : plan.pieces) {
    const std::string name = platform::fileNameOf(piece.path);
    if (!m_sums.contains(name))
      throw EMergeError("\"" + m_fileName + "\" holds no checksum for " + name +
                        "; it belongs to another set. Nothing was merged");
  }
}

void SetCheck::checkPiece(const std::string& path, const platform::Sha256Digest& digest) const {
  const std::string name = platform::fileNameOf(path);
  const auto line = m_sums.find(name);
  if (line != m_sums.end() && platform::toHex(digest) == line->second) return;
  throw EMergeError(name + " is damaged (its checksum differs): send it again. Nothing was merged");
}

RegionCheck::RegionCheck(const SetCheck& check, const MergePlan& plan, std::string joinedPath)
    : m_check(check), m_plan(plan), m_joinedPath(std::move(joinedPath)) {
  std::int64_t start = 0;
  for (const PieceSource& piece : plan.pieces) {
    m_starts.push_back(start);
    start += piece.size;
  }
  // Neighbours go together: the first unit is ready as soon as its second piece is joined.
  for (std::size_t first = 0; first < plan.pieces.size(); first += kLanes)
    m_units.push_back({first, std::min(kLanes, plan.pieces.size() - first), false, nullptr});
  m_thread = std::thread([this] { run(); });
}

RegionCheck::~RegionCheck() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
  m_thread.join();
}

void RegionCheck::joined(std::size_t count) {
  {
    std::lock_guard lock(m_mutex);
    m_joined = count;
  }
  m_changed.notify_all();
}

bool RegionCheck::ready(std::size_t unit) const {
  return !m_found && unit < m_units.size() && m_joined >= m_units[unit].first + m_units[unit].count;
}

bool RegionCheck::runNext(std::unique_lock<std::mutex>& lock) {
  if (!ready(m_next)) return false;
  Unit& unit = m_units[m_next++];
  lock.unlock();
  std::exception_ptr problem;
  try {
    check(unit);
  } catch (...) {
    problem = std::current_exception();
  }
  lock.lock();
  unit.problem = problem;
  unit.done = true;
  m_found = m_found || problem;
  ++m_finished;
  m_changed.notify_all();
  return true;
}

void RegionCheck::run() {
  std::unique_lock lock(m_mutex);
  while (!m_stop)
    if (!runNext(lock)) m_changed.wait(lock);
}

void RegionCheck::throwFound() {
  std::lock_guard lock(m_mutex);
  // Units are taken in order: the first problem of those done before any that is not is the
  // first piece's that differs.
  for (const Unit& unit : m_units) {
    if (!unit.done) return;
    if (unit.problem) std::rethrow_exception(unit.problem);
  }
}

void RegionCheck::finish() {
  {
    std::unique_lock lock(m_mutex);
    while (runNext(lock)) {
    }
    m_changed.wait(lock, [this] { return m_finished == m_next; });
  }
  throwFound();
}

void RegionCheck::check(const Unit& unit) {
  std::array<platform::OwnSha256, kLanes> engines;
  std::array<platform::File, kLanes> regions;
  std::array<std::int64_t, kLanes> left{};
  std::vector<char> buffer(kLanes * kBlock);
  for (std::size_t lane = 0; lane < unit.count; ++lane) {
    const PieceSource& piece = m_plan.pieces[unit.first + lane];
    // A merger file's line covers its head too, which only the merger file holds.
    if (piece.offset > 0) {
      platform::File source = platform::File::openRead(piece.path);
      for (std::int64_t head = piece.offset; head > 0;) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(head, kBlock));
        source.readExact(buffer.data(), n);
        engines[lane].update(buffer.data(), n);
        head -= static_cast<std::int64_t>(n);
      }
    }
    regions[lane] = platform::File::openRead(m_joinedPath);
    regions[lane].seek(m_starts[unit.first + lane]);
    left[lane] = piece.size;
  }
  while (std::any_of(left.begin(), left.end(), [](std::int64_t n) { return n > 0; })) {
    if (m_stop) return;
    std::array<std::size_t, kLanes> got{};
    for (std::size_t lane = 0; lane < unit.count; ++lane) {
      got[lane] = static_cast<std::size_t>(std::min<std::int64_t>(left[lane], kBlock));
      regions[lane].readExact(buffer.data() + lane * kBlock, got[lane]);
      left[lane] -= static_cast<std::int64_t>(got[lane]);
    }
    // Side by side as far as both lanes go, then the longer one alone.
    const std::size_t both = unit.count == kLanes ? std::min(got[0], got[1]) : 0;
    if (both > 0)
      platform::OwnSha256::updatePair(engines[0], buffer.data(), engines[1], buffer.data() + kBlock,
                                      both);
    for (std::size_t lane = 0; lane < unit.count; ++lane)
      engines[lane].update(buffer.data() + lane * kBlock + both, got[lane] - both);
  }
  for (std::size_t lane = 0; lane < unit.count; ++lane)
    m_check.checkPiece(m_plan.pieces[unit.first + lane].path, engines[lane].finish());
}

}  // namespace merger
