// Finding, reading and filling in the stamp of an executable's bytes (build time).
#include "store/ImageStamp.h"

#include <algorithm>
#include <cstring>

#include "store/StoreError.h"

namespace store {

namespace {

std::uint32_t loadLE32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

void storeLE32(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(value >> (8 * i));
}

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
  std::uint32_t size = loadLE32(fields);
  std::uint32_t library = loadLE32(fields + 4);
  std::uint32_t check = loadLE32(fields + 8);
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
  storeLE32(fields, size);
  storeLE32(fields + 4, library);
  storeLE32(fields + 8, size ^ library ^ kImageStampCheckKey);
}

}  // namespace store
