// TFileSource: properties, the stored record and the store's temporary file.
#include "store/FileSource.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/SignalCleanup.h"
#include "store/CompressStream.h"
#include "store/StoreError.h"
#include "store/TemporaryFile.h"

namespace store {

TFileSource::TFileSource(std::string name) : m_name(std::move(name)) {}

TFileSource::~TFileSource() { deleteTemporary(); }

void TFileSource::setCompress(bool value) {
  m_compress = value;
  if (value) m_store = true;
}

std::string TFileSource::FileName() const {
  return platform::fileExists(m_fileName) ? m_fileName : std::string();
}

void TFileSource::setFileName(const std::string& path) {
  deleteTemporary();
  m_fileName = path;
  m_extension = extensionOf(path);
}

std::string TFileSource::extensionOf(const std::string& path) {
  const std::string name = platform::fileNameOf(path);
  auto dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  return name.substr(dot);
}

void TFileSource::deleteTemporary() {
  if (!m_temporary) return;
  // Someone else may have removed it already; that is no failure.
  platform::deleteFile(m_fileName);
  forgetAtExit(m_fileName);
  m_temporary = false;
}

void TFileSource::ReadFileData(TStream& stream) {
  deleteTemporary();
  std::optional<TemporaryFile> temporary;
  {
    platform::TemporaryCreation creating;
    temporary = createTemporaryFile(m_extension);
    // From here on the file is ours: a failure below leaves it half-written, still deleted later.
    m_fileName = temporary->path;
    m_temporary = true;
    keepUntilExit(m_fileName);
  }

  codec::TFileStream target(std::move(temporary->file));
  if (m_compress) {
    TCompressStream().Decode(stream, target);
  } else {
    auto n = static_cast<std::int32_t>(readLE32(stream));
    // A negative length can only come from a damaged record.
    if (n < 0) throw platform::EInOutError(platform::kIoReadBeyondEnd);
    copyBytes(stream, target, n);
  }
  target.file().close();
}

void TFileSource::WriteFileData(TStream& stream) const {
  auto cannotStore = [&](const char* reason) {
    return EFileSource(m_name + " cannot store file: " + m_fileName + " (" + reason + ")");
  };
  if (!platform::fileExists(m_fileName)) throw cannotStore("file is missing");
  codec::TFileStream source(platform::File::openRead(m_fileName));
  std::int64_t n = source.file().size();
  // The record's length field is a signed 32-bit number.
  if (n > std::numeric_limits<std::int32_t>::max()) throw cannotStore("file is too large");
  if (m_compress) {
    TCompressStream().Encode(source, stream, n);
  } else {
    writeLE32(stream, static_cast<std::uint32_t>(n));
    copyBytes(source, stream, n);
  }
  source.file().close();
}

}  // namespace store
