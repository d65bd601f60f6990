// The check of a set against the checksum file beside it: every piece's own line, checked against
// the region of the joined data that the piece gave, before the joined data takes its real name.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "merger/MergePlan.h"
#include "platform/Sha256Hasher.h"

namespace merger {

class SetCheck {
 public:
  // The checksums of the file `path`; none when there is no such file, and then the merge goes
  // on as it always did.
  static std::optional<SetCheck> load(const std::string& path);

  // Throws EMergeError naming the first piece that has no line: the checksum file belongs to
  // another set. Needs no reading, so it comes before anything is written.
  void checkLines(const MergePlan& plan) const;
  // Throws EMergeError unless `digest` is the line of the piece `path` (the whole file, a merger
  // file's head included).
  void checkPiece(const std::string& path, const platform::Sha256Digest& digest) const;

 private:
  std::string m_fileName;
  std::map<std::string, std::string> m_sums;
};

// The joined data checked region by region, each region against the line of the piece that gave
// it, on a thread that follows the join: the regions are read back from the joined file (so that
// what is checked is what was written) and hashed two at a time, side by side, at about the cost
// of one.
//
// The checksum file's last line, the whole joined data's (the file that was split, or the archive
// of a compressed job), is not hashed again. The split computed it from the very bytes that it
// wrote into the pieces, and checkLines() has made sure that every piece has a line: joined data
// whose every region matches its piece's line is the data that the split cut, so it matches the
// last line too. A merger file's line covers its head as well: the head is hashed from the merger
// file, the rest from its region of the joined data. What such a check cannot see is a checksum
// file whose last line alone was changed: the data it would refuse is sound.
class RegionCheck {
 public:
  // Checks the join of `plan`'s pieces, one after the other, into the file `joinedPath`.
  // `check` and `plan` outlive it.
  RegionCheck(const SetCheck& check, const MergePlan& plan, std::string joinedPath);
  // Stops the check where it stands and joins its thread.
  ~RegionCheck();
  RegionCheck(const RegionCheck&) = delete;
  RegionCheck& operator=(const RegionCheck&) = delete;

  // The first `count` pieces are in the joined file, whole.
  void joined(std::size_t count);
  // Throws what the check has found so far in the first pieces (EMergeError naming a damaged
  // piece, or a read's failure), so that a damaged set ends its join early.
  void throwFound();
  // Once every piece is joined: checks the regions left, on this thread too, and throws for the
  // first piece whose region differs from its line.
  void finish();

 private:
  // One or two neighbouring regions, hashed side by side.
  struct Unit {
    std::size_t first = 0;
    std::size_t count = 0;
    bool done = false;
    std::exception_ptr problem;
  };
  bool ready(std::size_t unit) const;
  // Runs the next unit with the lock held by `lock` around it; false when none is ready.
  bool runNext(std::unique_lock<std::mutex>& lock);
  void check(const Unit& unit);
  void run();

  const SetCheck& m_check;
  const MergePlan& m_plan;
  const std::string m_joinedPath;
  std::vector<std::int64_t> m_starts;  // each region's first byte in the joined file
  std::vector<Unit> m_units;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::size_t m_joined = 0;    // pieces in the joined file
  std::size_t m_next = 0;      // the next unit to take
  std::size_t m_finished = 0;  // units done
  bool m_found = false;        // some unit had a problem: no more are taken
  std::atomic<bool> m_stop = false;
  std::thread m_thread;  // last: it starts once the rest is ready
};

}  // namespace merger
