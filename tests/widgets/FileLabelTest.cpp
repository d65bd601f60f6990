// The path label: splitting, shortening and the widget, measured with a fixed width per character.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/Form.h"
#include "ui/TextMeasure.h"
#include "widgets/FileLabel.h"

using namespace widgets;

namespace {

// One pixel per byte keeps every expected width countable by eye.
const TextWidth kOnePerChar = [](const std::string& text) { return int(text.size()); };

std::string fit(const std::string& path, int width, TDirection direction = drFromLeft,
                const std::string& separator = "/") {
  return fitPath(path, splitPath(path, separator), separator, direction, width, kOnePerChar);
}

}  // namespace

TEST(FileLabelSplit, CutsAtEverySeparatorAndKeepsEmptyParts) {
  EXPECT_EQ(splitPath("/home/a//b/", "/").parts,
            (std::vector<std::string>{"", "home", "a", "", "b", ""}));
  EXPECT_EQ(splitPath("name", "/").parts, std::vector<std::string>{"name"});
  EXPECT_EQ(splitPath("a::b:c", "::").parts, (std::vector<std::string>{"a", "b:c"}));
  EXPECT_EQ(splitPath("", "/").parts, std::vector<std::string>{""});
  // An empty separator must not loop; the path stays whole.
  EXPECT_EQ(splitPath("a/b", "").parts, std::vector<std::string>{"a/b"});
}

TEST(FileLabelSplit, DriveFlagForRootAndDriveLetterOnly) {
  EXPECT_TRUE(splitPath("/home/f", "/").drive);
  EXPECT_TRUE(splitPath("C:\\a\\f", "\\").drive);
  EXPECT_FALSE(splitPath("home/f", "/").drive);
  EXPECT_FALSE(splitPath(":\\a", "\\").drive);  // a lone colon is no drive
  EXPECT_FALSE(splitPath("name", "/").drive);
}

TEST(FileLabelFit, PathThatFitsIsShownWholeIncludingExactWidth) {
  EXPECT_EQ(fit("/aa/bb/f.txt", 20), "/aa/bb/f.txt");
  EXPECT_EQ(fit("/aa/bb/f.txt", 12), "/aa/bb/f.txt");
  EXPECT_EQ(fit("", 0), "");
}

TEST(FileLabelFit, LastPartAloneWhenItAndTheDotsFillTheWidth) {
  // last "file.txt" (8) + ".../" (4) = 12: equal to the width does not fit.
  EXPECT_EQ(fit("/aa/bb/file.txt", 12), "file.txt");
  EXPECT_EQ(fit("/aa/bb/file.txt", 5), "file.txt");
  // Without any separator the path is its own last part.
  EXPECT_EQ(fit("averyverylongname", 10), "averyverylongname");
  EXPECT_EQ(fit("short", 10), "short");
}

TEST(FileLabelFit, DotsAndLastWhenTheHeadDoesNotFitToo) {
  // head "/" (1) + last (8) + dots (4) = 13: equal does not fit, so no head.
  EXPECT_EQ(fit("/aa/bb/file.txt", 13), ".../file.txt");
  EXPECT_EQ(fit("/aa/bb/file.txt", 14), "/.../file.txt");
}

TEST(FileLabelFit, KeepsTheFoldersNearestTheFileFromLeft) {
  const std::string path = "/aa/bb/cc/f.txt";  // 15 wide
  // used = "/" + ".../" + "f.txt" = 10; "cc/" adds 3, an exact fit counts.
  EXPECT_EQ(fit(path, 13), "/.../cc/f.txt");
  EXPECT_EQ(fit(path, 12), "/.../f.txt");
  EXPECT_EQ(fit(path, 14), "/.../cc/f.txt");
}

TEST(FileLabelFit, KeepsTheFoldersNearestTheRootFromRight) {
  const std::string path = "/aa/bb/cc/f.txt";
  EXPECT_EQ(fit(path, 13, drFromRight), "/aa/.../f.txt");
  EXPECT_EQ(fit(path, 12, drFromRight), "/.../f.txt");
}

TEST(FileLabelFit, DriveLetterPathWithBackslashes) {
  const std::string path = "C:\\aa\\bb\\cc\\f";
  // head "C:\" 3 + dots 4 + one folder 3 + last 1 = 11.
  EXPECT_EQ(fit(path, 11, drFromLeft, "\\"), "C:\\...\\cc\\f");
  EXPECT_EQ(fit(path, 11, drFromRight, "\\"), "C:\\aa\\...\\f");
}

TEST(FileLabelFit, TrailingSeparatorEndsTheShortTextWithIt) {
  EXPECT_EQ(fit("/home/user/projects/", 16), "/.../projects/");
  EXPECT_EQ(fit("/home/user/projects/", 8), "/.../");
}

TEST(FileLabelFit, RelativePathHasNothingBeforeTheDots) {
  EXPECT_EQ(fit("aa/bb/cc/f.txt", 12), ".../cc/f.txt");
  EXPECT_EQ(fit("aa/bb/cc/f.txt", 12, drFromRight), "aa/.../f.txt");
}

TEST(FileLabelFit, WiderShowsMoreFoldersNarrowerFewer) {
  const std::string path = "/one/two/three/four/five/file.bin";
  auto folders = [](const std::string& shown) {
    return std::count(shown.begin(), shown.end(), '/');
  };
  long previous = 0;
  for (int width = 15; width <= int(path.size()); ++width) {
    std::string shown = fit(path, width);
    EXPECT_LE(int(shown.size()), width) << shown;
    EXPECT_GE(folders(shown), previous) << "width " << width;
    previous = folders(shown);
  }
  EXPECT_EQ(fit(path, 24), "/.../four/five/file.bin");
  EXPECT_EQ(fit(path, 22), "/.../five/file.bin");
}

TEST(FileLabelFit, MultiCharacterSeparator) {
  // dots are "..." + separator.
  EXPECT_EQ(fit("aa=>bb=>cc=>ff", 11, drFromLeft, "=>"), "...=>cc=>ff");
}

namespace {

// Installs a measure of one pixel per byte before the controls that use it are built.
struct OnePixelMeasure {
  OnePixelMeasure() { ui::setTextMeasure(&measure); }
  ~OnePixelMeasure() { ui::setTextMeasure(nullptr); }
  ui::FixedTextMeasure measure{1};
};

struct FileLabelWidget : ::testing::Test {
  // The paths here use "/", which is not the default separator on Windows.
  FileLabelWidget() { label.setSeparator("/"); }
  OnePixelMeasure onePixel;
  ui::Form form{"Test", 0, 0, 300, 100, false};
  TFileLabel label{form, {10, 10, 13, 17}, "/aa/bb/cc/f.txt"};
};

}  // namespace

TEST_F(FileLabelWidget, KeepsTheFullPathAndShowsTheFittedOne) {
  EXPECT_EQ(label.FileName(), "/aa/bb/cc/f.txt");
  EXPECT_EQ(label.caption(), "/.../cc/f.txt");
  EXPECT_EQ(label.w(), 13);  // no auto-size
  label.setFileName("/x/short");
  EXPECT_EQ(label.caption(), "/x/short");
  label.setFileName("");
  EXPECT_EQ(label.caption(), "");
}

TEST_F(FileLabelWidget, ResizeAndDirectionRecomputeTheShownText) {
  label.setBounds({10, 10, 12, 17});
  EXPECT_EQ(label.caption(), "/.../f.txt");
  label.setBounds({10, 10, 40, 17});
  EXPECT_EQ(label.caption(), "/aa/bb/cc/f.txt");
  label.setBounds({10, 10, 13, 17});
  label.setDirection(drFromRight);
  EXPECT_EQ(label.caption(), "/aa/.../f.txt");
  // Moving alone recomputes too: the width is read again.
  label.setBounds({50, 20, 13, 17});
  EXPECT_EQ(label.caption(), "/aa/.../f.txt");
}

TEST_F(FileLabelWidget, SeparatorChangeSplitsThePathAgain) {
  label.setFileName("C:\\aa\\bb\\cc\\f");
  EXPECT_EQ(label.caption(), "C:\\aa\\bb\\cc\\f");  // fits whole, one part with "/"
  label.setBounds({10, 10, 11, 17});
  EXPECT_EQ(label.caption(), "C:\\aa\\bb\\cc\\f");  // one part: shown alone and clipped
  label.setSeparator("\\");
  EXPECT_EQ(label.caption(), "C:\\...\\cc\\f");
}
