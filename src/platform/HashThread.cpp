// The queue between a copy and its hashing thread.
#include "platform/HashThread.h"

namespace platform {

HashThread::HashThread(Sha256Hasher& engine) : m_engine(engine), m_thread([this] { run(); }) {}

HashThread::~HashThread() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_changed.notify_all();
  m_thread.join();
}

void HashThread::update(const void* data, std::size_t size) {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return m_count < kDepth || m_error; });
  if (m_error) std::rethrow_exception(m_error);
  m_queue[(m_first + m_count) % kDepth] = {data, size};
  ++m_count;
  lock.unlock();
  m_changed.notify_all();
}

void HashThread::drain() {
  settle();
  std::lock_guard lock(m_mutex);
  if (m_error) std::rethrow_exception(m_error);
}

void HashThread::settle() noexcept {
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return m_count == 0; });
}

Sha256Digest HashThread::finish() {
  drain();
  // The thread is idle until the next update: the engine is ours meanwhile.
  return m_engine.finish();
}

void HashThread::run() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_count > 0 || m_stop; });
    if (m_stop) return;
    const Bytes bytes = m_queue[m_first];
    if (!m_error) {
      lock.unlock();
      try {
        m_engine.update(bytes.data, bytes.size);
      } catch (...) {
        lock.lock();
        m_error = std::current_exception();
        lock.unlock();
      }
      lock.lock();
    }
    m_first = (m_first + 1) % kDepth;
    --m_count;
    m_changed.notify_all();
  }
}

}  // namespace platform
