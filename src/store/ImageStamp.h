// The lengths that the build stamps into the merger program's executable after it is linked.
//
// The merger program must know the length of its own image (its parameter record sits at
// that offset of every merger file), but that length is only known once the executable exists.
// So the executable carries a stamp: a marker followed by placeholder fields. After linking
// (and stripping) the build finds the one marker in the file and fills in the file's own
// final length and the length of the packed unarchiver library; the splitter's constants are
// generated from the very same numbers. Filling in fixed-width fields never changes the length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace store {

// Stamp layout: 16 marker bytes, then little-endian 32-bit image length, library length and
// a check word (image ^ library ^ kImageStampCheckKey), then 4 zero bytes.
inline constexpr std::size_t kImageStampMarkerSize = 16;
inline constexpr std::size_t kImageStampSize = 32;
inline constexpr std::uint32_t kImageStampCheckKey = 0x5EA1ED00;
inline constexpr std::uint8_t kImageStampMarker[kImageStampMarkerSize] = {
    0x7F, 'F', 'e', 'n', 'n', 'o', 'c', 'k', 'I', 'm', 'a', 'g', 'e', 'L', 'e', 'n'};

struct ImageStamp {
  std::int32_t mergerImageSize = 0;
  std::int32_t unzipLibrarySize = 0;
  bool operator==(const ImageStamp&) const = default;
};

// The stamp of the running executable; nullopt when the build never stamped it. The
// executable that calls this (the merger program) is the one that carries the stamp.
std::optional<ImageStamp> runningImageStamp();

// The stamp found in an executable's bytes; nullopt while unstamped. Throws EFileSource when
// the image holds no marker, more than one, or a stamp whose check word is wrong.
std::optional<ImageStamp> readImageStamp(std::span<const std::uint8_t> image);
// The stamp of the merger image that a merger file starts with: the first marker counts, as
// the data after the image may hold anything, a merger split as data included. nullopt when
// the file holds no stamp, an unfilled one, or one whose fields do not describe an image that
// holds its own stamp. Never throws: a merger file from anywhere is input, not our build.
std::optional<ImageStamp> leadingImageStamp(std::span<const std::uint8_t> file);
// Fills in the one stamp of an executable's bytes; throws EFileSource like readImageStamp.
void writeImageStamp(std::span<std::uint8_t> image, const ImageStamp& stamp);

}  // namespace store
