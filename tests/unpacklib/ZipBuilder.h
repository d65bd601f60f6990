// Builds ZIP archives byte by byte so that tests can make every field lie on purpose.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

inline std::string deflateRaw(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, data.size()) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

inline std::uint32_t crcOf(const std::string& data) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

struct TestEntry {
  std::string name{};
  std::string content{};  // what the entry decodes to
  bool deflated = true;
  std::uint16_t madeBy = 0x0314;  // Unix, 2.0
  std::uint32_t externalAttributes = 0100644u << 16;
  std::uint16_t flags = 0;
  std::uint16_t dosTime = 0x6000;  // 12:00:00
  std::uint16_t dosDate = 0x5A21;  // 2025-01-01
  // Overrides that make the directory lie; unset means the true value.
  std::optional<std::uint32_t> crc{};
  std::optional<std::uint64_t> compressedSize{};
  std::optional<std::uint64_t> uncompressedSize{};
  std::optional<std::string> storedData{};     // the bytes after the local header, as they are
  bool zip64 = false;                          // sizes and offset through the ZIP64 extra field
  std::optional<std::uint16_t> method{};       // a method other than the data's
  std::optional<std::uint32_t> localOffset{};  // where the directory says the local header is
};

inline void le16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
inline void le32(std::string& out, std::uint32_t v) {
  le16(out, v & 0xFFFF);
  le16(out, v >> 16);
}
inline void le64(std::string& out, std::uint64_t v) {
  le32(out, static_cast<std::uint32_t>(v));
  le32(out, static_cast<std::uint32_t>(v >> 32));
}

struct ArchiveOptions {
  std::optional<std::uint64_t> entryCount{};  // a lying count in the end record
  bool zip64End = false;                      // ZIP64 end record and locator
  std::string stub{};                         // bytes before the archive
};

// Local headers and data, then the central directory, then the end record(s).
inline std::string buildZip(const std::vector<TestEntry>& entries, const ArchiveOptions& opt = {}) {
  std::string out = opt.stub;
  std::string directory{};
  for (const TestEntry& e : entries) {
    const std::string data =
        e.storedData ? *e.storedData : (e.deflated ? deflateRaw(e.content) : e.content);
    const std::uint32_t crc = e.crc.value_or(crcOf(e.content));
    const std::uint64_t csize = e.compressedSize.value_or(data.size());
    const std::uint64_t usize = e.uncompressedSize.value_or(e.content.size());
    const std::uint64_t offset = out.size() - opt.stub.size();
    const std::uint32_t marker = 0xFFFFFFFF;
    std::string zip64Extra;
    if (e.zip64) {
      le16(zip64Extra, 0x0001);
      le16(zip64Extra, 24);
      le64(zip64Extra, usize);
      le64(zip64Extra, csize);
      le64(zip64Extra, offset);
    }
    // Local header: signature, version 4.5/2.0, flags, method, time, date, crc, sizes,
    // name length, extra length (the local copy carries only sizes when ZIP64).
    le32(out, 0x04034b50);
    le16(out, e.zip64 ? 45 : 20);
    le16(out, e.flags);
    le16(out, e.method.value_or(e.deflated ? 8 : 0));
    le16(out, e.dosTime);
    le16(out, e.dosDate);
    le32(out, crc);
    le32(out, e.zip64 ? marker : static_cast<std::uint32_t>(csize));
    le32(out, e.zip64 ? marker : static_cast<std::uint32_t>(usize));
    le16(out, static_cast<std::uint32_t>(e.name.size()));
    le16(out, e.zip64 ? 20 : 0);
    out += e.name;
    if (e.zip64) {
      le16(out, 0x0001);
      le16(out, 16);
      le64(out, usize);
      le64(out, csize);
    }
    out += data;
    // Central header: signature, made by, needed, flags, method, time, date, crc, sizes,
    // name/extra/comment lengths, disk, internal and external attributes, local offset.
    le32(directory, 0x02014b50);
    le16(directory, e.madeBy);
    le16(directory, e.zip64 ? 45 : 20);
    le16(directory, e.flags);
    le16(directory, e.method.value_or(e.deflated ? 8 : 0));
    le16(directory, e.dosTime);
    le16(directory, e.dosDate);
    le32(directory, crc);
    le32(directory, e.zip64 ? marker : static_cast<std::uint32_t>(csize));
    le32(directory, e.zip64 ? marker : static_cast<std::uint32_t>(usize));
    le16(directory, static_cast<std::uint32_t>(e.name.size()));
    le16(directory, static_cast<std::uint32_t>(zip64Extra.size()));
    le16(directory, 0);
    le16(directory, 0);
    le16(directory, 0);
    le32(directory, e.externalAttributes);
    le32(directory, e.zip64 ? marker : e.localOffset.value_or(static_cast<std::uint32_t>(offset)));
    directory += e.name;
    directory += zip64Extra;
  }
  const std::uint64_t directoryOffset = out.size() - opt.stub.size();
  const std::uint64_t count = opt.entryCount.value_or(entries.size());
  out += directory;
  if (opt.zip64End) {
    const std::uint64_t recordOffset = out.size() - opt.stub.size();
    // ZIP64 end record: signature, size of the rest (44), versions, disks, counts, size, offset.
    le32(out, 0x06064b50);
    le64(out, 44);
    le16(out, 45);
    le16(out, 45);
    le32(out, 0);
    le32(out, 0);
    le64(out, count);
    le64(out, count);
    le64(out, directory.size());
    le64(out, directoryOffset);
    // Locator: signature, disk of the record, its offset, total disks.
    le32(out, 0x07064b50);
    le32(out, 0);
    le64(out, recordOffset);
    le32(out, 1);
  }
  // End record: signature, disks, counts, directory size and offset, comment length.
  le32(out, 0x06054b50);
  le16(out, 0);
  le16(out, 0);
  le16(out, opt.zip64End ? 0xFFFF : static_cast<std::uint32_t>(count));
  le16(out, opt.zip64End ? 0xFFFF : static_cast<std::uint32_t>(count));
  le32(out, static_cast<std::uint32_t>(directory.size()));
  le32(out, opt.zip64End ? 0xFFFFFFFF : static_cast<std::uint32_t>(directoryOffset));
  le16(out, 0);
  return out;
}

}  // namespace testing_support
