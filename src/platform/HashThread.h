// A SHA-256 engine on a thread of its own: the bytes that a copy moves are hashed on the other
// core while the copy goes on, instead of between its reads and writes.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/Sha256Hasher.h"

namespace platform {

class HashThread {
 public:
  // At most this many updates are queued or being hashed at a time; update() waits for room.
  // Deep enough that the thread keeps hashing while the copy that feeds it waits a scheduler's
  // time slice or two for a core (the copy and two hashing threads share two cores).
  static constexpr std::size_t kDepth = 15;

  explicit HashThread(Sha256Hasher& engine);
  // Lets the update being hashed end, drops the queued ones and joins the thread.
  ~HashThread();
  HashThread(const HashThread&) = delete;
  HashThread& operator=(const HashThread&) = delete;

  // Queues the bytes and returns. They are read until kDepth further updates have returned, or
  // drain() or settle() has: the caller keeps them unchanged that long. Throws what the engine
  // threw on an earlier update.
  void update(const void* data, std::size_t size);
  // Waits until everything queued is hashed; throws what the engine threw.
  void drain();
  // Waits until no queued bytes are read any more, without throwing (for a copy that unwinds).
  void settle() noexcept;
  // drain(), then the engine's digest of everything given since the last finish().
  Sha256Digest finish();

 private:
  struct Bytes {
    const void* data = nullptr;
    std::size_t size = 0;
  };
  void run();

  Sha256Hasher& m_engine;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::array<Bytes, kDepth> m_queue;
  std::size_t m_first = 0;
  std::size_t m_count = 0;  // queued, the one being hashed included
  bool m_stop = false;
  std::exception_ptr m_error;  // the engine's failure; later updates are dropped
  std::thread m_thread;        // last: it starts once the rest is ready
};

}  // namespace platform
