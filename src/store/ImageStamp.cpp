// Finding, reading and filling in the stamp of an executable's bytes (build time).
#include "store/ImageStamp.h"

#include <algorithm>
#include <cstring>

#include "platform/ByteOrder.h"
#include "store/StoreError.h"

namespace store {

namespace {

using platform::readLE32;
using platform::writeLE32;

// The offset of the one stamp in the image.
std::size_t findStamp(std::span<const std::uint8_t> image) {
  auto marker = std::begin(kImageStampMarker);
  auto markerEnd = std::end(kImageStampMarker);
  auto first = std::search(image.begin(), image.end(), marker, markerEnd);
  if (first == image.end() || std::size_t(image.end() - first) < kImageStampSize)
    throw EFileSource("The executable carries no image stamp");
  if (std::search(first + 1, image.end(), marker, markerEnd) != image.end())
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
