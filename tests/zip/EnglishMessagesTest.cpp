// The programs' message catalogue: every ID the component reports reads as a sentence.
#include <gtest/gtest.h>

#include "zip/ArchiverTypes.h"
#include "zip/EnglishMessages.h"

namespace {

// The catalogue is process-wide; put the default (none) back for the other tests.
struct CatalogueGuard {
  CatalogueGuard() { zip::installEnglishMessages(); }
  ~CatalogueGuard() { zip::setMessageCatalogue(nullptr); }
};

}  // namespace

TEST(EnglishMessages, EveryReportedIdHasATextAndNoFallbackShows) {
  CatalogueGuard guard;
  const int32_t ids[] = {10101, 10102, 10103, 10104, 10150, 10151, 10152, 10153, 10154,
                         10155, 10156, 10201, 10202, 10203, 10204, 10301, 10302, 10303,
                         10304, 10501, 10502, 10601, 10602, 10603, 10604, 10701, 10702,
                         10703, 10704, 11001, 11002, 11003, 11004, 11008, 11011, 11013,
                         11015, 11017, 11022, 11036, 11037, 11038, 11041, 11045};
  for (int32_t id : ids) {
    std::string text = zip::messageText(id);
    EXPECT_EQ(text.find("ArcMsgXX"), std::string::npos) << id;
    EXPECT_FALSE(text.empty()) << id;
  }
}

TEST(EnglishMessages, DetailFollowsTheTextAndUnknownIdsKeepTheFallback) {
  CatalogueGuard guard;
  EXPECT_EQ(zip::messageText(11001, "/tmp/a.zip"), "The archive could not be opened: /tmp/a.zip");
  EXPECT_EQ(zip::messageText(10152), "OK");
  EXPECT_EQ(zip::messageText(10999), std::string(zip::kMissingMessageText) + "10999");
}
