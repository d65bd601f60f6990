// Chunked deflate on worker threads; the reading, writing and callbacks stay on the caller's
// thread.
#include "packlib/ParallelDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "packlib/Reporter.h"

namespace packlib {
namespace {

constexpr std::size_t kChunkSize = 1 << 20;
constexpr std::size_t kWindowSize = 32768;  // deflate's window: the dictionary of each chunk
constexpr std::size_t kCopyBlock = 1 << 20;

struct Chunk {
  std::vector<uint8_t> input;  // the dictionary followed by the chunk's data
  std::size_t dictionaryLength = 0;
  bool last = false;
  std::vector<uint8_t> output;
  uLong crc = 0;
  bool done = false;
  std::exception_ptr error;
};

// One z_stream per worker, reset for every chunk (level 9 state is costly to allocate).
class ChunkCompressor {
 public:
  explicit ChunkCompressor(int level) {
    std::memset(&m_stream, 0, sizeof m_stream);
    if (deflateInit2(&m_stream, level, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY) != Z_OK)
      throw PackError(kErrCompression, "The compressor could not be initialised");
  }
  ~ChunkCompressor() { deflateEnd(&m_stream); }
  ChunkCompressor(const ChunkCompressor&) = delete;
  ChunkCompressor& operator=(const ChunkCompressor&) = delete;

  void compress(Chunk& chunk) {
    const uint8_t* data = chunk.input.data() + chunk.dictionaryLength;
    std::size_t length = chunk.input.size() - chunk.dictionaryLength;
    chunk.crc = crc32(0L, data, uInt(length));
    if (deflateReset(&m_stream) != Z_OK) fail();
    if (chunk.dictionaryLength > 0 &&
        deflateSetDictionary(&m_stream, chunk.input.data(), uInt(chunk.dictionaryLength)) != Z_OK)
      fail();
    // A sync flush ends a non-final chunk on a byte boundary with no final block, so that the
    // chunks' outputs joined in order form one stream.
    chunk.output.resize(deflateBound(&m_stream, uLong(length)) + 64);
    m_stream.next_in = const_cast<Bytef*>(data);
    m_stream.avail_in = uInt(length);
    std::size_t produced = 0;
    int flush = chunk.last ? Z_FINISH : Z_SYNC_FLUSH;
    for (;;) {
      m_stream.next_out = chunk.output.data() + produced;
      m_stream.avail_out = uInt(chunk.output.size() - produced);
      int status = deflate(&m_stream, flush);
      produced = chunk.output.size() - m_stream.avail_out;
      if (status == Z_STREAM_ERROR) fail();
      bool finished =
          chunk.last ? status == Z_STREAM_END : (m_stream.avail_in == 0 && m_stream.avail_out > 0);
      if (finished) break;
      chunk.output.resize(chunk.output.size() * 2);
    }
    chunk.output.resize(produced);
  }

 private:
  [[noreturn]] static void fail() { throw PackError(kErrCompression, "Compression failed"); }
  z_stream m_stream;
};

// Worker threads taking chunks from a queue; results are collected in submission order.
class WorkerPool {
 public:
  WorkerPool(int level, unsigned threads) {
    for (unsigned i = 0; i < threads; ++i) m_threads.emplace_back([this, level] { run(level); });
  }
  ~WorkerPool() {
    {
      std::lock_guard lock(m_mutex);
      m_stopping = true;
    }
    m_wake.notify_all();
    for (auto& t : m_threads) t.join();
  }

  void submit(Chunk* chunk) {
    {
      std::lock_guard lock(m_mutex);
      m_queue.push_back(chunk);
    }
    m_wake.notify_one();
  }

  void waitFor(Chunk& chunk) {
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [&] { return chunk.done; });
  }

 private:
  void run(int level) {
    std::unique_ptr<ChunkCompressor> compressor;
    std::exception_ptr initError;
    try {
      compressor = std::make_unique<ChunkCompressor>(level);
    } catch (...) {
      initError = std::current_exception();
    }
    for (;;) {
      Chunk* chunk = nullptr;
      {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [&] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty()) return;
        chunk = m_queue.front();
        m_queue.pop_front();
      }
      std::exception_ptr error = initError;
      if (!error) {
        try {
          compressor->compress(*chunk);
        } catch (...) {
          error = std::current_exception();
        }
      }
      {
        std::lock_guard lock(m_mutex);
        chunk->error = error;
        chunk->done = true;
      }
      m_finished.notify_all();
    }
  }

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::condition_variable m_finished;
  std::deque<Chunk*> m_queue;
  bool m_stopping = false;
  std::vector<std::thread> m_threads;
};

unsigned workerCount() {
  unsigned cores = std::thread::hardware_concurrency();
  return std::clamp(cores, 1u, 8u);
}

void readChunk(platform::File& input, uint8_t* target, std::size_t length) {
  if (input.read(target, length) != length)
    throw PackError(kErrRead, "The file became shorter while it was read");
}

}  // namespace

DeflateResult deflateFile(platform::File& input, uint64_t size, platform::File& output, int level,
                          const std::function<void(uint64_t)>& progress) {
  unsigned threads = workerCount();
  // A deep queue keeps the workers busy while this thread waits for the CPU on a busy machine.
  std::size_t inFlightLimit = threads * 8;
  // Declared before the pool so that the workers are joined before the chunks go away.
  std::deque<std::unique_ptr<Chunk>> inFlight;
  WorkerPool pool(level, threads);
  DeflateResult result;
  std::vector<uint8_t> previousTail;
  uint64_t remaining = size;
  bool submittedLast = false;

  auto collectFront = [&] {
    Chunk& chunk = *inFlight.front();
    pool.waitFor(chunk);
    if (chunk.error) std::rethrow_exception(chunk.error);
    output.write(chunk.output.data(), chunk.output.size());
    uLong length = uLong(chunk.input.size() - chunk.dictionaryLength);
    result.crc = uint32_t(crc32_combine(result.crc, chunk.crc, z_off_t(length)));
    result.compressedSize += chunk.output.size();
    inFlight.pop_front();
    progress(length);
  };

  try {
    while (!submittedLast) {
      auto chunk = std::make_unique<Chunk>();
      std::size_t length = std::size_t(std::min<uint64_t>(remaining, kChunkSize));
      chunk->dictionaryLength = previousTail.size();
      chunk->input.resize(previousTail.size() + length);
      if (!previousTail.empty())
        std::memcpy(chunk->input.data(), previousTail.data(), previousTail.size());
      readChunk(input, chunk->input.data() + previousTail.size(), length);
      remaining -= length;
      chunk->last = remaining == 0;
      submittedLast = chunk->last;
      std::size_t tail = std::min(kWindowSize, chunk->input.size());
      previousTail.assign(chunk->input.end() - std::ptrdiff_t(tail), chunk->input.end());
      pool.submit(chunk.get());
      inFlight.push_back(std::move(chunk));
      if (inFlight.size() >= inFlightLimit) collectFront();
    }
    while (!inFlight.empty()) collectFront();
  } catch (...) {
    // Let the workers finish the chunks they hold before those are freed.
    for (auto& chunk : inFlight) pool.waitFor(*chunk);
    throw;
  }
  return result;
}

DeflateResult storeFile(platform::File& input, uint64_t size, platform::File& output,
                        const std::function<void(uint64_t)>& progress) {
  std::vector<uint8_t> buffer(std::size_t(std::min<uint64_t>(size, kCopyBlock)));
  DeflateResult result;
  uint64_t remaining = size;
  while (remaining > 0) {
    std::size_t length = std::size_t(std::min<uint64_t>(remaining, buffer.size()));
    readChunk(input, buffer.data(), length);
    output.write(buffer.data(), length);
    result.crc = uint32_t(crc32(result.crc, buffer.data(), uInt(length)));
    remaining -= length;
    progress(length);
  }
  result.compressedSize = size;
  return result;
}

}  // namespace packlib
