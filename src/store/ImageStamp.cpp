// Finding, reading and filling in the stamp of an executable's bytes (build time).
#include "store/ImageStamp.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/ByteOrder.h"
#include "store/StoreError.h"

namespace store {

namespace {

using platform::readLE32;
using platform::writeLE32;

// The lengths are kept as signed 32-bit numbers.
constexpr auto kMaxLength = std::uint32_t(std::numeric_limits<std::int32_t>::max());

std::span<const std::uint8_t>::iterator findMarker(std::span<const std::uint8_t>::iterator from,
                                                   std::span<const std::uint8_t>::iterator end) {
  return std::search(from, end, std::begin(kImageStampMarker), std::end(kImageStampMarker));
}

// The offset of the one stamp in the image.
std::size_t findStamp(std::span<const std::uint8_t> image) {
  auto first = findMarker(image.begin(), image.end());
  if (first == image.end() || std::size_t(image.end() - first) < kImageStampSize)
    throw EFileSource("The executable carries no image stamp");
  if (findMarker(first + 1, image.end()) != image.end())
    throw EFileSource("The executable carries more than one image stamp");
  return std::size_t(first - image.begin());
}

}  // namespace

std::optional<ImageStamp> readImageStamp(std::span<const std::uint8_t> image) {
  const std::uint8_t* fields = image.data() + findStamp(image) + kImageStampMarkerSize;
  std::uint32_t size = readLE32(fields);
  std::uint32_t library = readLE32(fields + 4);
  std::uint32_t check = readLE32(fields + 8);
  if (size == 0 && library == 0 && check == 0) return std::nullopt;
  if (check != (size ^ library ^ kImageStampCheckKey))
    throw EFileSource("The executable's image stamp is damaged");
  return ImageStamp{std::int32_t(size), std::int32_t(library)};
}

std::optional<ImageStamp> leadingImageStamp(std::span<const std::uint8_t> file) {
  auto first = findMarker(file.begin(), file.end());
  if (first == file.end() || std::size_t(file.end() - first) < kImageStampSize) return std::nullopt;
  const std::uint8_t* fields = &*first + kImageStampMarkerSize;
  const std::uint32_t size = readLE32(fields);
  const std::uint32_t library = readLE32(fields + 4);
  const std::size_t stampEnd = std::size_t(first - file.begin()) + kImageStampSize;
  if (readLE32(fields + 8) != (size ^ library ^ kImageStampCheckKey) || size < stampEnd ||
      size > kMaxLength || library > kMaxLength)
    return std::nullopt;
  return ImageStamp{std::int32_t(size), std::int32_t(library)};
}

void writeImageStamp(std::span<std::uint8_t> image, const ImageStamp& stamp) {
  if (stamp.mergerImageSize <= 0 || stamp.unzipLibrarySize < 0)
    throw EFileSource("Invalid image stamp");
  std::uint8_t* fields = image.data() + findStamp(image) + kImageStampMarkerSize;
  auto size = std::uint32_t(stamp.mergerImageSize);
  auto library = std::uint32_t(stamp.unzipLibrarySize);
  writeLE32(fields, size);
  writeLE32(fields + 4, library);
  writeLE32(fields + 8, size ^ library ^ kImageStampCheckKey);
}

}  // namespace store
