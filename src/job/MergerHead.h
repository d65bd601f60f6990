// The head of an .EXE merger file: the merger program, its parameter record and, for compressed
// jobs, the packed unarchiver library; and the payload support that the split job asks for it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "job/ScriptRecord.h"
#include "job/SplitJob.h"
#include "platform/File.h"

namespace job {

// The .EXE merger of a build that carries the merger program: the constants are the lengths of
// that build's payloads (MergerImageSize, UnzipLibrarySize), the image is unpacked with TPacker.
// A size of 0 means the build has no such image; checkAvailable then refuses with
// `unavailableText`.
class PayloadExeMerger final : public ExeMergerSupport {
 public:
  // `imageSizeBySystem` (by MergerSystem) holds the image lengths of every system's merger
  // that the build carries; left empty, only this one's is known.
  PayloadExeMerger(std::int64_t mergerImageSize, std::int64_t unzipLibrarySize,
                   std::array<std::int64_t, 2> imageSizeBySystem = {},
                   std::string unavailableText =
                       "The .EXE merger is not available in this build; choose \"Create .BAT "
                       "file merger\"");

  void checkAvailable() const override;
  std::int64_t mergerImageSize() const override { return m_mergerImageSize; }
  std::int64_t unzipLibrarySize() const override { return m_unzipLibrarySize; }
  std::int64_t mergerImageSizeFor(MergerSystem system) const override;
  void unpackMergerImage(const std::string& packedPath, const std::string& outputPath) override;

 private:
  std::int64_t m_mergerImageSize;
  std::int64_t m_unzipLibrarySize;
  std::array<std::int64_t, 2> m_imageSizeBySystem;
  std::string m_unavailableText;
};

// Where the head's parts come from.
struct MergerHeadSources {
  std::string mergerImageStore;  // the SFX store's file: the merger program, packed
  std::string unpackLibStore;    // the UnpackLib store's file, copied still packed
};

// Gives the new merger file `merger` its execute bits and writes the head into it: the image
// unpacked through "Sfx.exe", the record through "scriptmp", the packed library
// when the record says compressed. The working files live in a private folder. The file stays
// open, positioned at its end, to receive the first piece's data.
void writeMergerHead(platform::File& merger, ExeMergerSupport& support,
                     const MergerHeadSources& sources, const ScriptRecord& record);

}  // namespace job
