// The placeholder stamp inside the merger program's executable and its reading at run time.
// The marker appears in this file only once, so that the stamped executable holds exactly one.
#include <cstdint>

#include "store/ImageStamp.h"

extern "C" {
// Volatile keeps the compiler from folding the placeholders into the code that reads them;
// the build patches the bytes in the file, after linking.
extern const volatile std::uint8_t fennock_image_stamp[store::kImageStampSize];
__attribute__((used)) const volatile std::uint8_t fennock_image_stamp[store::kImageStampSize] = {
    0x7F, 'F', 'e', 'n', 'n', 'o', 'c', 'k', 'I', 'm', 'a', 'g', 'e', 'L', 'e', 'n'};
}

namespace store {

namespace {

std::uint32_t stampField(std::size_t offset) {
  const volatile std::uint8_t* p = fennock_image_stamp + kImageStampMarkerSize + offset;
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

}  // namespace

std::optional<ImageStamp> runningImageStamp() {
  std::uint32_t image = stampField(0);
  std::uint32_t library = stampField(4);
  if (image == 0 || stampField(8) != (image ^ library ^ kImageStampCheckKey)) return std::nullopt;
  return ImageStamp{std::int32_t(image), std::int32_t(library)};
}

}  // namespace store
