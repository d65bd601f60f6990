// Writing the .EXE merger's head in the merger builder's order.
#include "job/MergerHead.h"

#include <utility>
#include <vector>

#include "codec/Packer.h"
#include "platform/Paths.h"

namespace job {

namespace {

// Appends up to `size` bytes of `path`, read with one read, to `target`.
void appendFileHead(platform::File& target, const std::string& path, std::int64_t size) {
  platform::File file = platform::File::openRead(path);
  std::vector<char> buffer(static_cast<std::size_t>(size));
  const std::size_t n = file.read(buffer.data(), buffer.size());
  target.write(buffer.data(), n);
  file.close();
}

void writeRecordFile(const std::string& path, const ScriptRecord& record) {
  const ScriptRecord::Bytes bytes = record.toBytes();
  platform::File file = platform::File::create(path);
  file.write(bytes.data(), bytes.size());
  file.close();
}

// The record reaches the merger through its hand-over file, whole: copied a byte at a time, each
// byte would be one more system call (and one more moment to fail) for the same 524 bytes.
void appendRecordFile(platform::File& target, const std::string& path) {
  platform::File file = platform::File::openRead(path);
  ScriptRecord::Bytes bytes{};
  file.readExact(bytes.data(), bytes.size());
  target.write(bytes.data(), bytes.size());
  file.close();
}

}  // namespace

PayloadExeMerger::PayloadExeMerger(std::int64_t mergerImageSize, std::int64_t unzipLibrarySize,
                                   std::array<std::int64_t, 2> imageSizeBySystem,
                                   std::string unavailableText)
    : m_mergerImageSize(mergerImageSize),
      m_unzipLibrarySize(unzipLibrarySize),
      m_imageSizeBySystem(imageSizeBySystem),
      m_unavailableText(std::move(unavailableText)) {}

std::int64_t PayloadExeMerger::mergerImageSizeFor(MergerSystem system) const {
  if (m_imageSizeBySystem == std::array<std::int64_t, 2>{}) return m_mergerImageSize;
  return m_imageSizeBySystem[std::size_t(system)];
}

void PayloadExeMerger::checkAvailable() const {
  if (m_mergerImageSize <= 0) throw EJobRefused(m_unavailableText);
}

void PayloadExeMerger::unpackMergerImage(const std::string& packedPath,
                                         const std::string& outputPath) {
  codec::TPacker packer;
  packer.InputFile = packedPath;
  packer.OutputFile = outputPath;
  packer.Decompress();
}

void writeMergerHead(platform::File& merger, ExeMergerSupport& support,
                     const MergerHeadSources& sources, const ScriptRecord& record) {
  platform::makeExecutable(merger.path());
  // The working files never lie beside the user's files, where they could replace one.
  platform::PrivateTempDir work("fennock-head");
  const std::string recordPath = work.file("scriptmp");
  writeRecordFile(recordPath, record);

  const std::string imagePath = work.file("Sfx.exe");
  support.unpackMergerImage(sources.mergerImageStore, imagePath);
  appendFileHead(merger, imagePath, support.mergerImageSize());
  platform::deleteFile(imagePath);

  appendRecordFile(merger, recordPath);
  platform::deleteFile(recordPath);

  // The store's file stays: it belongs to the store.
  if (record.compressed) appendFileHead(merger, sources.unpackLibStore, support.unzipLibrarySize());
}

}  // namespace job
