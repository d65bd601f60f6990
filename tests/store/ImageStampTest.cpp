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

// A merger file: the image's stamp comes first; whatever follows may carry markers of its own.
TEST(ImageStamp, MergerFileIsReadByItsLeadingStamp) {
  Bytes file(3000, 0x90);
  auto mark = [&](Bytes& bytes, std::size_t at, std::size_t imageSize) {
    std::copy(std::begin(store::kImageStampMarker), std::end(store::kImageStampMarker),
              bytes.begin() + at);
    store::writeImageStamp({bytes.data() + at, store::kImageStampSize},
                           {std::int32_t(imageSize), 7});
  };
  mark(file, 100, 1000);
  mark(file, 1500, 2000);  // a merger split as data
  EXPECT_EQ(store::leadingImageStamp(file), (store::ImageStamp{1000, 7}));
  Bytes damaged = file;
  damaged[116] ^= 1;
  EXPECT_EQ(store::leadingImageStamp(damaged), std::nullopt);
  Bytes tooShort(200, 0x90);  // an image length that ends before its own stamp
  mark(tooShort, 100, 120);
  EXPECT_EQ(store::leadingImageStamp(tooShort), std::nullopt);
  EXPECT_EQ(store::leadingImageStamp(Bytes(100, 0)), std::nullopt);
}

TEST(ImageStamp, UnstampedExecutableKnowsItIsUnstamped) {
  // This test program links the placeholder but the build never stamps it.
  EXPECT_EQ(store::runningImageStamp(), std::nullopt);
}
