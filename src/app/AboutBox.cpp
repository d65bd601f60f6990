// The About box: built from its window description; shown without a modal loop while the main
// window is disabled.
#include "app/AboutBox.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/MainWindow.h"
#include "ui/Application.h"
#include "widgets/ScreenCanvas.h"

TForm3* Form3 = nullptr;

namespace {

constexpr int kClientWidth = 186;
constexpr int kClientHeight = 114;
constexpr int kScreenLeft = 321;
constexpr int kScreenTop = 223;
constexpr int kPictureSize = 33;

// What the box says below the product's name and version.
constexpr char kAboutLine[] = "Splits big files and joins them anywhere";

// The picture, one pixel row per line: '#' outline, '.' paper, '-' lines of text, '=' the
// folded corner's back, 'o' the cuts, ' ' clear (the form shows through).
// clang-format off
constexpr std::array<std::string_view, kPictureSize> kPictureRows = {
    "                                 ",
    "   ##############                ",
    "   #............##               ",
    "   #............#=#              ",
    "   #..-------...#==#             ",
    "   #............#===#            ",
    "   #..-------...######           ",
    "   #.................#           ",
    "   #..-------------..#           ",
    "   #.................#           ",
    "   #oo.oo.oo.oo.oo.oo#           ",
    "                                 ",
    "       #oo.oo.oo.oo.oo.oo#       ",
    "       #.................#       ",
    "       #.................#       ",
    "       #..-------------..#       ",
    "       #.................#       ",
    "       #..-------------..#       ",
    "       #.................#       ",
    "       #.................#       ",
    "       #oo.oo.oo.oo.oo.oo#       ",
    "                                 ",
    "           #oo.oo.oo.oo.oo.oo#   ",
    "           #.................#   ",
    "           #.................#   ",
    "           #..-------------..#   ",
    "           #.................#   ",
    "           #..-------------..#   ",
    "           #.................#   ",
    "           #..-------------..#   ",
    "           #.................#   ",
    "           ###################   ",
    "                                 ",
};
// clang-format on
static_assert(std::ranges::all_of(kPictureRows,
                                  [](std::string_view row) { return row.size() == kPictureSize; }),
              "every row of the picture is one pixel row");

widgets::TColor pictureColor(char c) {
  switch (c) {
    case '#':
      return widgets::rgbColor(0x20, 0x30, 0x60);
    case '.':
      return widgets::clWhite;
    case '-':
      return widgets::rgbColor(0x96, 0xA0, 0xB4);
    case '=':
      return widgets::rgbColor(0xC8, 0xD0, 0xE0);
    default:
      return widgets::rgbColor(0xE8, 0x80, 0x20);  // 'o'
  }
}

bool onScreen() { return ui::Application::instance().onScreen(); }

}  // namespace

widgets::RgbaImage aboutPicture() {
  widgets::RgbaImage picture(kPictureSize, kPictureSize);
  for (int y = 0; y < kPictureSize; ++y) {
    for (int x = 0; x < kPictureSize; ++x) {
      const char c = kPictureRows[std::size_t(y)][std::size_t(x)];
      if (c == ' ')
        picture.setTransparent(x, y);
      else
        picture.setPixel(x, y, pictureColor(c));
    }
  }
  return picture;
}

TForm3::WrappedLabel::WrappedLabel(ui::Container& parent, const ui::Rect& bounds,
                                   const std::string& caption)
    : ui::Label(parent, bounds, caption, false) {
  setTextLayout(Alignment::Center, true);
}

TForm3::TForm3(ui::Form& mainWindow)
    : ui::Form("About Fennock!", kScreenLeft, kScreenTop, kClientWidth, kClientHeight, false),
      Label1(*this, {16, 8, 101, 49}, std::string(kApplicationTitle) + "\n" + kAboutLine),
      FxUrlImage1(136, 24, kPictureSize, kPictureSize),
      FxUrlLabel1(16, 64, 104, 13, kProductWebCaption),
      Button1(*this, {56, 88, 75, 17}, "OK", 0),
      m_mainWindow(mainWindow) {
  // The box has no close box of its own; where the desktop's frame gives it one anyway, and
  // for Escape, closing it is the same as OK, so the main window is never left disabled.
  onClose = [this] { Button1Click(); };
  setBorderIcons(ui::BorderIcons::NoIcons);
  setOwner(&mainWindow);

  add(FxUrlImage1);
  FxUrlImage1.setPicture(aboutPicture());
  FxUrlImage1.setURL(kProductWebAddress);

  add(FxUrlLabel1);
  FxUrlLabel1.setURL(kProductWebAddress);
  // The form's own face, so that the link's box does not stand out from it.
  FxUrlLabel1.setColor(widgets::formFaceColor());

  Button1.onClick = [this] { Button1Click(); };
  Button1.setDefault();

  ui::forgetCurrentGroup();
  setShownState(false);  // hidden until the Help menu shows it
  Form3 = this;
}

TForm3::~TForm3() {
  if (Form3 == this) Form3 = nullptr;
  // The picture and the link are members: take them out before the form deletes its children.
  remove(FxUrlImage1);
  remove(FxUrlLabel1);
}

void TForm3::showAbout() {
  if (!onScreen()) {
    setShownState(true);  // no display: the state is kept, nothing is drawn
    return;
  }
  // It stays above the main window, which it disables, until OK.
  if (!shown()) position(kScreenLeft, kScreenTop);
  showNonModal();
  Button1.take_focus();
}

void TForm3::Button1Click() {
  // The main window first: a desktop activates the next enabled window in the box's place.
  m_mainWindow.setEnabled(true);
  if (onScreen())
    hide();
  else
    setShownState(false);
}
