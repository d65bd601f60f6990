// Stored and deflated entry data through zlib, bounded by the directory's sizes.
#include "unpacklib/EntryDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "unpacklib/ZipFormat.h"

namespace unpack {

namespace {

constexpr std::size_t kChunkSize = 1 << 20;
const char kDamagedData[] = "The entry's data is damaged";
const char kTooLong[] = "The entry's data is longer than its stated size";
const char kTooShort[] = "The entry's data ends before its stated size";

// The traditional PKWARE stream cipher.
class ZipCrypto {
 public:
  explicit ZipCrypto(const std::string& password) {
    for (char c : password) update(static_cast<std::uint8_t>(c));
  }
  void decrypt(std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      // Unsigned 32-bit: a 16-bit product would be promoted to int and overflow.
      const std::uint32_t t = (m_keys[2] | 2) & 0xFFFF;
      data[i] ^= static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
      update(data[i]);
    }
  }

 private:
  static std::uint32_t crcByte(std::uint32_t crc, std::uint8_t byte) {
    // One step of CRC-32 through zlib's table, as the cipher defines its key schedule.
    static const z_crc_t* table = get_crc_table();
    return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  }
  void update(std::uint8_t byte) {
    m_keys[0] = crcByte(m_keys[0], byte);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813 + 1;
    m_keys[2] = crcByte(m_keys[2], static_cast<std::uint8_t>(m_keys[1] >> 24));
  }
  std::uint32_t m_keys[3] = {305419896, 591751049, 878082192};
};

// The byte that the encryption header's last byte must match.
std::uint8_t checkByte(const ZipEntry& entry) {
  return (entry.flags & kFlagDataDescriptor) != 0 ? static_cast<std::uint8_t>(entry.dosTime >> 8)
                                                  : static_cast<std::uint8_t>(entry.crc >> 24);
}

// Reads the entry's compressed bytes in chunks, decrypting when a cipher is given.
class CompressedSource {
 public:
  CompressedSource(platform::File& file, std::uint64_t offset, std::uint64_t size,
                   ZipCrypto* cipher)
      : m_file(file), m_remaining(size), m_cipher(cipher) {
    m_file.seek(static_cast<std::int64_t>(offset));
  }
  std::uint64_t remaining() const { return m_remaining; }
  std::size_t next(std::uint8_t* buffer, std::size_t capacity) {
    std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(capacity, m_remaining));
    m_file.readExact(buffer, size);
    if (m_cipher) m_cipher->decrypt(buffer, size);
    m_remaining -= size;
    return size;
  }

 private:
  platform::File& m_file;
  std::uint64_t m_remaining;
  ZipCrypto* m_cipher;
};

struct InflateStream {
  z_stream z{};
  InflateStream() {
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw std::bad_alloc();
  }
  ~InflateStream() { inflateEnd(&z); }
};

std::uint64_t payloadSize(const ZipEntry& entry) {
  if (!entry.isEncrypted()) return entry.compressedSize;
  if (entry.compressedSize < kEncryptionHeaderSize) throw EBadArchive(kDamagedData);
  return entry.compressedSize - kEncryptionHeaderSize;
}

}  // namespace

bool passwordFits(platform::File& archive, std::uint64_t dataOffset, const ZipEntry& entry,
                  const std::string& password) {
  if (entry.compressedSize < kEncryptionHeaderSize) throw EBadArchive(kDamagedData);
  std::uint8_t header[kEncryptionHeaderSize];
  archive.seek(static_cast<std::int64_t>(dataOffset));
  archive.readExact(header, sizeof header);
  ZipCrypto cipher(password);
  cipher.decrypt(header, sizeof header);
  return header[kEncryptionHeaderSize - 1] == checkByte(entry);
}

std::uint32_t decodeEntry(platform::File& archive, std::uint64_t dataOffset, const ZipEntry& entry,
                          const std::string& password, const ByteSink& sink) {
  std::unique_ptr<ZipCrypto> cipher;
  std::uint64_t offset = dataOffset;
  const std::uint64_t size = payloadSize(entry);
  if (entry.isEncrypted()) {
    if (!passwordFits(archive, dataOffset, entry, password)) throw EWrongPassword();
    // The header is decrypted again so that the cipher's state is right for the data.
    cipher = std::make_unique<ZipCrypto>(password);
    std::uint8_t header[kEncryptionHeaderSize];
    archive.seek(static_cast<std::int64_t>(dataOffset));
    archive.readExact(header, sizeof header);
    cipher->decrypt(header, sizeof header);
    offset += kEncryptionHeaderSize;
  }
  CompressedSource source(archive, offset, size, cipher.get());
  std::uint32_t crc = crc32(0, nullptr, 0);
  std::uint64_t produced = 0;
  auto emit = [&](const std::uint8_t* data, std::size_t count) {
    if (count > entry.uncompressedSize - produced) throw EBadArchive(kTooLong);
    produced += count;
    crc = static_cast<std::uint32_t>(crc32_z(crc, data, count));
    if (!sink(data, count)) throw ECancelled();
  };

  std::vector<std::uint8_t> input(kChunkSize);
  if (entry.method == kMethodStored) {
    if (size != entry.uncompressedSize) throw EBadArchive(kDamagedData);
    while (source.remaining() > 0) {
      std::size_t got = source.next(input.data(), input.size());
      emit(input.data(), got);
    }
    return crc;
  }

  std::vector<std::uint8_t> output(kChunkSize);
  InflateStream stream;
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    if (stream.z.avail_in == 0) {
      if (source.remaining() == 0) throw EBadArchive(kTooShort);
      stream.z.avail_in = static_cast<uInt>(source.next(input.data(), input.size()));
      stream.z.next_in = input.data();
    }
    stream.z.next_out = output.data();
    stream.z.avail_out = static_cast<uInt>(output.size());
    status = inflate(&stream.z, Z_NO_FLUSH);
    if (status == Z_MEM_ERROR) throw std::bad_alloc();
    if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
      throw EBadArchive(kDamagedData);
    std::size_t count = output.size() - stream.z.avail_out;
    if (count > 0) emit(output.data(), count);
  }
  if (produced != entry.uncompressedSize) throw EBadArchive(kTooShort);
  return crc;
}

}  // namespace unpack
