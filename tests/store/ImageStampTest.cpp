// The image stamp: found once in an executable, filled in, read back, and refused when damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "store/ImageStamp.h"
#include "store/StoreError.h"

using Bytes = std::vector<std::uint8_t>;

TEST(ImageStamp, OneMarkerIsFilledInAndReadBack) {
  Bytes image(1000, 0x90);
  std::copy(std::begin(store::kImageStampMarker), std::end(store::kImageStampMarker),
            image.begin() + 300);
  std::fill_n(image.begin() + 316, 16, 0);  // the placeholders
  EXPECT_EQ(store::readImageStamp(image), std::nullopt);
  store::writeImageStamp(image, {1000, 66'229});
  auto stamp = store::readImageStamp(image);
  ASSERT_TRUE(stamp.has_value());
  EXPECT_EQ(stamp->mergerImageSize, 1000);
  EXPECT_EQ(stamp->unzipLibrarySize, 66'229);
  EXPECT_EQ(image.size(), 1000u);

  Bytes damaged = image;
  damaged[316] ^= 1;  // first byte of the image length
  EXPECT_THROW(store::readImageStamp(damaged), store::EFileSource);
  Bytes twice = image;
  std::copy(std::begin(store::kImageStampMarker), std::end(store::kImageStampMarker),
            twice.begin() + 600);
  EXPECT_THROW(store::writeImageStamp(twice, {1000, 1}), store::EFileSource);
  EXPECT_THROW(store::readImageStamp(Bytes(1000, 0)), store::EFileSource);
  Bytes atEnd(20, 0);  // a marker too close to the end for its fields
  std::copy(std::begin(store::kImageStampMarker), std::end(store::kImageStampMarker),
            atEnd.begin() + 4);
  EXPECT_THROW(store::readImageStamp(atEnd), store::EFileSource);
}

TEST(ImageStamp, UnstampedExecutableKnowsItIsUnstamped) {
  // This test program links the placeholder but the build never stamps it.
  EXPECT_EQ(store::runningImageStamp(), std::nullopt);
}
